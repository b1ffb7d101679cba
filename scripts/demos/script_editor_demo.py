#!/usr/bin/env python3
"""Writes an event script in the real script editor and lets the real game run it, under the X
server named by DISPLAY.

    scripts/demos/script_editor_demo.py PROGRAM_FOLDER --shots OUT

1. Starts PROGRAM_FOLDER/tervano-hra -SCRIPTEDITOR, answers the creation warning, presses
   "Nový ...", picks the event "nazacatkuhry", types a message script and inserts the command
   "zprava.info(%1%)" from the command list with the keyboard; saves it with "Uložit".
2. Opens "Ozvučení sady" from "Sada ..." and the dialog of "Smazání skriptu" (cancelled), for
   their pictures; leaves the editor with "Konec".
3. Starts the game on a saved game, ends it, presses "Nová hra" and reports the boxes the script
   shows.

Screenshots go to OUT. The program folder is changed (a script and a saved game are added): use
a copy.
"""
import argparse
import pathlib
import subprocess
import sys
import time

from play_set import (
    BOXES, at, ci, data_panel, find, lines, save_from_menu, shot, start_game, stop, write_save,
    xdo)

MESSAGE = "Dobrý den! Tento skript napsal editor skriptů."


# The data panel over "Skript ...": rows from the top, the panel ending on the editor bar.
DATA_ROWS = ["Nový ...", "Načíst", "Uložit", "Návrat k editaci", "Ukončit režim editace"]


def close_box(expected_title=None):
    box = find(BOXES, 10)
    if not box:
        raise RuntimeError("no box")
    title = xdo("getwindowname", box)
    if expected_title and title != expected_title:
        raise RuntimeError("box %s, expected %s" % (title, expected_title))
    xdo("windowfocus", "--sync", box, check=False)
    xdo("key", "Return")
    time.sleep(0.5)
    return title


def main():
    ap = argparse.ArgumentParser()
    ap.add_argument("program")
    ap.add_argument("--shots", required=True)
    a = ap.parse_args()
    prog = pathlib.Path(a.program).resolve()
    version = lines(ci(prog, "tervano/Tervano.ini"))[6]
    script = ci(prog, "tervano/script") / "nazacatkuhry.lsc"
    if script.exists():
        script.unlink()

    print("script editor: nazacatkuhry")
    proc = subprocess.Popen([str(prog / "tervano-hra"), "-SCRIPTEDITOR"],
                            stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    try:
        warning = find(BOXES)
        shot(warning, a.shots, "creation-warning")
        close_box("Varování")
        editor = find("^Editor skriptů ke křížovkám$")
        data_panel(DATA_ROWS, "Nový ...")
        # The event box: its list opens, the first event is taken with the keyboard.
        at(298, 20, click=True)
        time.sleep(0.5)
        xdo("key", "Home", "Return")
        time.sleep(0.4)
        # The script text, then a command from the list: its first item, down to the one wanted.
        at(170, 200, click=True)
        xdo("type", "--delay", "15", "zprava.info")
        xdo("key", "Return")
        xdo("type", "--delay", "15", MESSAGE)
        at(460, 66, click=True)
        for _ in range(40):  # "zprava.info(%1%)" is the 41st item
            xdo("key", "Down")
        xdo("key", "Return")
        time.sleep(0.4)
        shot(editor, a.shots, "script-written")
        save_from_menu(editor, a.shots, DATA_ROWS)
        at(300, 300)
        shot(editor, a.shots, "script-saved")

        # The set's music behind "Sada ...".
        at(375, 521)
        at(375, 495, click=True)
        time.sleep(0.4)
        shot(editor, a.shots, "music-panel")
        at(379, 395, click=True)  # "Potvrdit"

        # "Smazání skriptu" shows the script folder; cancelled.
        data_panel(DATA_ROWS, "Návrat k editaci")
        at(512, 20, click=True)
        dialog = find("^Smaž skript$", 10)
        time.sleep(1.0)
        if dialog:
            shot(dialog, a.shots, "delete-dialog")
            xdo("windowfocus", "--sync", dialog, check=False)
            xdo("key", "Escape")
            time.sleep(0.5)
        at(44, 533, click=True)
        at(225, 521)
        at(225, 490, click=True)  # "Konec" of the tool panel
        proc.wait(10)
    finally:
        stop(proc)

    print("written: %s" % lines(script)[:-1])

    save = write_save(prog, "hra-ze-skriptu.kr1", version)
    print("game: Nová hra")
    proc, game = start_game(prog, save)
    titles = []
    try:
        time.sleep(1.0)
        # Scripts of the program start, if the set has one, are answered first.
        while find(BOXES, 1):
            close_box()
        at(44, 533, click=True)  # "Hlavní nabídka"
        # The saved game is ended first ("Ukončit hru", not saved), then "Nová hra".
        game_rows = 507 - (4 + 6 * 28 + 2) + 4 + 13
        at(77, 521)
        at(77, 500)
        at(77, game_rows + 5 * 28, click=True)
        close_box("Potvrzení")
        box = find(BOXES, 10)
        xdo("windowfocus", "--sync", box, check=False)
        xdo("key", "Escape")
        time.sleep(0.5)
        at(77, 521)
        at(77, 500)
        shot(game, a.shots, "game-menu")
        at(77, game_rows, click=True)  # "Nová hra"
        for n in range(2):
            box = find(BOXES, 10)
            if not box:
                break
            shot(box, a.shots, "game-script-box-%d" % (n + 1))
            titles.append(close_box())
        time.sleep(0.5)
        shot(game, a.shots, "game-after-script")
    finally:
        stop(proc)
    print("the game showed: %s" % titles)
    return 0 if titles[:2] == ["Informace", "Informace"] else 1


if __name__ == "__main__":
    sys.exit(main())
