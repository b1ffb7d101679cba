#!/usr/bin/env python3
"""Crosswords out and in as iPuz in the real crossword editor, under the X server named by DISPLAY.

    scripts/demos/ipuz_demo.py PROGRAM_FOLDER --shots OUT

1. Starts PROGRAM_FOLDER/tervano-hra -EDITOR, loads crossword 6 of grade 4 (a tajenka with
   blanks), opens "Tisk a export ..." and saves "Tato křížovka" through "Uložit iPuz ..." and the
   save dialog; prints the file's dimensions, clues and explanation.
2. Chooses "Celá sada" and saves it through "Uložit iPuz ..." into a new folder chosen in the
   folder dialog; counts the files written.
3. Back in the editor, "Načíst iPuz ..." loads a crossword as another program writes it (cells as
   objects, clues down as well): the information box says how many clues were dropped, and the
   crossword stands in the editor, unsaved.
4. "Načíst iPuz ..." of a sudoku (the unsaved crossword not saved first): the error box; the
   editor keeps the crossword.

Screenshots go to OUT. The program folder is changed (iPuz files are written into it): use a
copy.
"""
import argparse
import json
import pathlib
import subprocess
import sys
import time

from play_set import BOXES, at, data_panel, find, shot, stop, xdo
from print_demo import BUTTON_Y, DATA_ROWS, IPUZ, BACK, SCOPE_SET, load, origin

WILD = {
    "version": "http://ipuz.org/v2",
    "kind": ["http://ipuz.org/crossword#1"],
    "title": "Slovíčka – věci kolem nás",
    "author": "Jiný program",
    "dimensions": {"width": 7, "height": 3},
    "puzzle": [
        [None, 1, 0, {"cell": 4, "style": {"shapebg": "circle"}}, None, None, None],
        [None, 2, 0, {"cell": 0, "style": {"shapebg": "circle"}}, 0, None, None],
        [None, None, None, {"cell": 3, "style": {"shapebg": "circle"}}, 0, 0, 0],
    ],
    "saved": [[None, "B", "", "", None, None, None], [None] * 7, [None] * 7],
    "solution": [
        [None, "B", "U", "S", None, None, None],
        [None, "B", "L", "U", "E", None, None],
        [None, None, None, "N", "O", "S", "E"],
    ],
    "clues": {
        "Across:Vodorovně": [[1, "Autobus"], {"number": 2, "clue": "Modrá <i>(barva)</i>"},
                             {"number": 3, "clue": "Nos", "enumeration": "4"}],
        "Down:Svisle": [[4, "Slunce (tajenka)"], [1, "Dvě bé"], {"number": 2, "clue": "Blb"}],
    },
}
SUDOKU = {"version": "http://ipuz.org/v2", "kind": ["http://ipuz.org/sudoku#1"],
          "dimensions": {"width": 9, "height": 9}}


def dialog_path(title, path):
    """Types a path into the file dialog of that title and accepts it."""
    dialog = find(title, 10)
    if not dialog:
        raise RuntimeError("no dialog " + title)
    time.sleep(0.5)
    xdo("windowfocus", "--sync", dialog, check=False)
    xdo("key", "ctrl+a")
    xdo("type", "--delay", "10", str(path))
    xdo("key", "Return")
    time.sleep(1.0)
    return dialog


def box(out, name):
    """Screenshots the message box that is open and closes it with OK."""
    found = find(BOXES, 10)
    if not found:
        print("  no message box for " + name)
        return False
    time.sleep(0.4)
    shot(found, out, name)
    xdo("windowfocus", "--sync", found, check=False)
    xdo("key", "Return")
    time.sleep(0.6)
    return True


def main():
    ap = argparse.ArgumentParser()
    ap.add_argument("program")
    ap.add_argument("--shots", required=True)
    a = ap.parse_args()
    prog = pathlib.Path(a.program).resolve()
    one = prog / "r4k6-z-editoru.ipuz"
    folder = prog / "ipuz-sada"
    folder.mkdir()
    wild = prog / "z-jineho-programu.ipuz"
    wild.write_text(json.dumps(WILD, ensure_ascii=False, indent=1), encoding="utf-8")
    sudoku = prog / "sudoku.ipuz"
    sudoku.write_text(json.dumps(SUDOKU), encoding="utf-8")

    proc = subprocess.Popen([str(prog / "tervano-hra"), "-EDITOR"],
                            stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    ok = True
    try:
        editor = find("^Editor křížovek$")
        load("4", "6")
        time.sleep(0.5)
        at(44, 533, click=True)  # "Hlavní nabídka"
        data_panel(DATA_ROWS, "Tisk a export ...")
        window = find("^Tisk a export křížovek$")
        wx, wy = origin(window)
        time.sleep(0.5)
        shot(window, a.shots, "ipuz-print-window")

        at(wx + IPUZ, wy + BUTTON_Y, click=True)
        save = dialog_path("^Uložit iPuz$", one)
        time.sleep(0.5)
        shot(window, a.shots, "ipuz-saved-one")
        if one.exists():
            doc = json.loads(one.read_text(encoding="utf-8"))
            print("%s: %d x %d, %d clues across, down %s, explanation %r" % (
                one.name, doc["dimensions"]["width"], doc["dimensions"]["height"],
                len(doc["clues"]["Across"]), doc["clues"].get("Down"), doc.get("explanation")))
        else:
            print("no file was written")
            ok = False

        at(wx + SCOPE_SET[0], wy + SCOPE_SET[1], click=True)
        time.sleep(0.5)
        at(wx + IPUZ, wy + BUTTON_Y, click=True)
        dialog_path("^Uložit iPuz do složky$", folder)
        time.sleep(0.5)
        shot(window, a.shots, "ipuz-saved-set")
        written = sorted(p.name for p in folder.glob("*.ipuz"))
        print("the set: %d files (%s ... %s)" % (len(written), written[0] if written else "-",
                                                written[-1] if written else "-"))
        ok = ok and len(written) == 28
        at(wx + BACK, wy + BUTTON_Y, click=True)
        time.sleep(0.5)

        at(44, 533, click=True)
        data_panel(DATA_ROWS, "Načíst iPuz ...")
        dialog_path("^Načíst iPuz$", wild)
        ok = box(a.shots, "ipuz-import-message") and ok
        at(450, 142)
        time.sleep(0.5)
        shot(editor, a.shots, "ipuz-imported-in-editor")
        at(44, 533, click=True)  # the data panel: "Data: Neuložená"
        at(77, 521)
        at(77, 500)
        time.sleep(0.4)
        shot(editor, a.shots, "ipuz-imported-data-panel")


        data_panel(DATA_ROWS, "Načíst iPuz ...")
        # The imported crossword is unsaved: "do not save" and go on.
        question = find(BOXES, 10)
        if question:
            time.sleep(0.4)
            shot(question, a.shots, "ipuz-import-question")
            xdo("windowfocus", "--sync", question, check=False)
            xdo("key", "Escape")
            time.sleep(0.6)
        dialog_path("^Načíst iPuz$", sudoku)
        ok = box(a.shots, "ipuz-import-refused") and ok
        data_panel(DATA_ROWS, "Návrat k editaci")
        at(450, 142)
        time.sleep(0.5)
        shot(editor, a.shots, "ipuz-editor-after-refusal")
        return 0 if ok else 1
    finally:
        stop(proc)


if __name__ == "__main__":
    sys.exit(main())
