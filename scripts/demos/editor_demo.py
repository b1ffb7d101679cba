#!/usr/bin/env python3
"""Writes a crossword in the real crossword editor and plays it in the real game, under the X
server named by DISPLAY.

    scripts/demos/editor_demo.py PROGRAM_FOLDER --shots OUT [--kvtml FILE]

1. Starts PROGRAM_FOLDER/tervano-hra -EDITOR, opens "Sestavit ze slov ..." and types a word list
   with the tajenka "London" (or, with --kvtml, loads it through "Načíst ze souboru ...",
   answering the questions with the columns offered and closing the report); sets the four
   scoring values by pointing at their captions.
2. Saves it through "Uložit" and the chooser as the next crossword of grade 1, loads it back
   with "Načíst" and leaves the editor with "Konec".
3. Starts the game on a saved game at that crossword, types the solution from the files the
   editor wrote, presses "Kontrola" and reports the box that answers.

Screenshots go to OUT. The program folder is changed (a crossword and a saved game are added):
use a copy.
"""
import argparse
import pathlib
import subprocess
import sys
import time

from play_set import (
    at, ci, data_panel, find, lines, save_from_menu, shot, start_game, stop, write_save, xdo)

TAJENKA = "London"
PAIRS = ["lion - lev", "orange - oranžová barva", "window - okno", "bread - chléb",
         "boat - plavidlo", "green - zelená"]
SCORES = [5, 2, 20, 10]


# The data panel over "Křížovka ...": rows from the top, the panel ending on the editor bar.
DATA_ROWS = ["Nová ...", "Načíst", "Uložit", "Návrat k editaci", "Ukončit režim editace",
             "Sestavit ze slov ...", "Načíst iPuz ...", "Tisk a export ..."]


def choose(grade, crossword):
    """Types grade and crossword into the chooser and presses "Potvrď"."""
    chooser = find("^Nastavení hry$")
    geo = dict(l.split("=") for l in xdo("getwindowgeometry", "--shell", chooser).splitlines())
    cx, cy = int(geo["X"]), int(geo["Y"])
    for y, text in ((66, grade), (98, crossword)):
        at(cx + 160, cy + y, click=True)
        xdo("key", "ctrl+a", "BackSpace")
        xdo("type", "--delay", "20", text)
    time.sleep(0.3)
    return chooser, (cx + 88, cy + 138)


def load_vocabulary(wx, wy, path, shots):
    """"Načíst ze souboru ...", the file typed into the dialog, every question answered with the
    option offered, the report closed; screenshots of each."""
    at(wx + 351, wy + 86, click=True)
    dialog = find("^Načíst slova ze souboru$")
    xdo("windowfocus", "--sync", dialog, check=False)
    time.sleep(0.5)
    shot(dialog, shots, "vocabulary-dialog")
    xdo("type", "--delay", "5", path)
    xdo("key", "Return")
    n = 0
    while True:
        box = find("^(Otázka|Informace|Varování|Chyba)$", 3)
        if not box:
            break
        title = xdo("getwindowname", box)
        n += 1
        shot(box, shots, "vocabulary-%d-%s" % (n, "question" if title == "Otázka" else "report"))
        print("  %s" % title)
        xdo("windowfocus", "--sync", box, check=False)
        xdo("key", "Return")
        time.sleep(0.5)


def main(argv=None):
    ap = argparse.ArgumentParser()
    ap.add_argument("program")
    ap.add_argument("--shots", required=True)
    ap.add_argument("--kvtml")
    a = ap.parse_args(argv)
    prog = pathlib.Path(a.program).resolve()
    desc = lines(ci(prog, "tervano/Tervano.ini"))
    number = str(int(desc[1]) + 1)
    version = desc[6]

    print("editor: crossword 1/%s" % number)
    proc = subprocess.Popen([str(prog / "tervano-hra"), "-EDITOR"],
                            stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    try:
        editor = find("^Editor křížovek$")
        data_panel(DATA_ROWS, "Sestavit ze slov ...")
        words = find("^Sestavit křížovku ze slov$")
        geo = dict(l.split("=") for l in xdo("getwindowgeometry", "--shell", words).splitlines())
        wx, wy = int(geo["X"]), int(geo["Y"])
        at(wx + 250, wy + 60, click=True)
        xdo("type", "--delay", "20", TAJENKA)
        if a.kvtml:
            load_vocabulary(wx, wy, a.kvtml, a.shots)
        else:
            at(wx + 200, wy + 200, click=True)
            for line in PAIRS:
                xdo("type", "--delay", "10", line)
                xdo("key", "Return")
        shot(words, a.shots, "word-list")
        at(wx + 114, wy + 374, click=True)

        # Each caption opens its spin box over the value beside it.
        for i, value in enumerate(SCORES):
            at(400, 41 + 22 * i)
            at(553, 41 + 22 * i, click=True, double=True)
            xdo("key", "ctrl+a")
            xdo("type", str(value))
        at(450, 142)  # the scoring group outside its rows closes the spin boxes
        time.sleep(0.4)
        shot(editor, a.shots, "editor-written")

        save_from_menu(editor, a.shots, DATA_ROWS)
        chooser, confirm = choose("1", number)
        shot(chooser, a.shots, "chooser-save")
        at(*confirm, click=True)

        data_panel(DATA_ROWS, "Načíst")
        chooser, confirm = choose("1", number)
        at(*confirm, click=True)
        at(450, 142)
        time.sleep(0.4)
        shot(editor, a.shots, "editor-crossword")
        at(44, 533, click=True)
        at(225, 521)
        at(225, 490, click=True)  # "Konec" of the tool panel
        proc.wait(10)
    finally:
        stop(proc)

    folder = ci(prog, "tervano/r1/k%s" % number)
    print("written: %s" % " ".join(sorted(p.name for p in folder.iterdir())))
    print("k.nk: %s" % lines(folder / "k.nk")[:6])
    solution = lines(folder / "k.vk")
    while solution and solution[-1] == "":
        solution.pop()

    save = write_save(prog, "hra-z-editoru.kr1", version, crossword=number)
    print("game: crossword 1/%s" % number)
    proc, game = start_game(prog, save)
    try:
        time.sleep(1.0)
        at(100, 280, click=True)
        xdo("key", "ctrl+a", "BackSpace")
        for i, line in enumerate(solution):
            if i:
                xdo("key", "Return")
            if line:
                xdo("type", "--delay", "5", line)
        time.sleep(0.3)
        shot(game, a.shots, "game-typed")
        at(437, 372, click=True)  # "Kontrola"
        box = find("^(Informace|Varování|Chyba|Potvrzení)$", 10)
        title = xdo("getwindowname", box)
        shot(box, a.shots, "kontrola-box")
        print("Kontrola answered with a box titled %s" % title)
        xdo("windowfocus", "--sync", box, check=False)
        xdo("key", "Return")
        time.sleep(1.0)
        # Further boxes (none expected) are only closed.
        while find("^(Informace|Varování|Chyba|Potvrzení)$", 1):
            xdo("key", "Return")
            time.sleep(0.5)
        shot(game, a.shots, "game-after-check")
        return 0 if title == "Informace" else 1
    finally:
        stop(proc)


if __name__ == "__main__":
    sys.exit(main())
