#!/usr/bin/env python3
"""Plays a whole crossword set in the real program, under the X server named by DISPLAY.

    scripts/demos/play_set.py PROGRAM_FOLDER [--shots OUT] [--crosswords N]

Starts PROGRAM_FOLDER/tervano-hra, loads a new game, and for every crossword of the active set
types its solution into the answer area, presses "Kontrola" and answers the boxes, until the
whole set is completed (or N crosswords are checked). Prints the points shown at the end. The
program folder is changed (a saved game "hra-pres-sadu.kr1" is written); use a copy.
"""
import argparse
import os
import pathlib
import subprocess
import sys
import time


def xdo(*args, check=True):
    r = subprocess.run(["xdotool", *map(str, args)], capture_output=True, text=True)
    if check and r.returncode != 0:
        raise RuntimeError("xdotool %s: %s" % (" ".join(map(str, args)), r.stderr))
    return r.stdout.strip()


def find(name, timeout=20.0):
    end = time.time() + timeout
    while time.time() < end:
        out = xdo("search", "--onlyvisible", "--name", name, check=False)
        if out:
            return out.splitlines()[0]
        time.sleep(0.1)
    return None


def ci(root, rel):
    """The path below root, letter case ignored, as the program resolves it."""
    p = pathlib.Path(root)
    for part in rel.split("/"):
        match = [c for c in p.iterdir() if c.name.lower() == part.lower()] if p.is_dir() else []
        p = match[0] if match else p / part
    return p


def lines(path):
    return path.read_bytes().decode("cp1250").replace("\r\n", "\n").replace("\r", "\n").split("\n")


BOXES = "^(Informace|Varování|Chyba|Potvrzení)$"


def shot(window, out, name):
    os.makedirs(out, exist_ok=True)
    path = "%s/%s.png" % (out, name)
    subprocess.run(["import", "-window", window, path], check=True)
    print("  " + path)


def at(x, y, click=False, double=False):
    """Moves the pointer (screen coordinates) and clicks there when asked."""
    xdo("mousemove", x, y)
    time.sleep(0.25)
    if click:
        xdo("click", "--repeat", 2 if double else 1, "1")
        time.sleep(0.3)


def data_panel(rows, row):
    """Opens the editors' data panel (over the first button of the editor bar, its rows from the
    top, the panel ending on the bar) and clicks one of its rows."""
    at(77, 521)
    at(77, 500)
    top = 507 - (4 + len(rows) * 28 + 2 + 24)
    at(77, top + 4 + 28 * rows.index(row) + 13, click=True)


def save_from_menu(window, out, rows):
    """From an editor with unsaved data: "Hlavní nabídka", the data panel shown, then "Uložit"."""
    at(44, 533, click=True)  # "Hlavní nabídka"
    at(77, 521)
    at(77, 500)
    shot(window, out, "data-panel-unsaved")
    data_panel(rows, "Uložit")


def write_save(prog, name, version, grade="1", crossword="1"):
    """A saved game at the grade and crossword, music and cues off; returns its path."""
    save = ci(prog, "Data/kriz") / name
    record = ["N", "0", grade, crossword, "0", "0", "N", "N", version, "N", "N", "N", ""]
    save.write_bytes("\r\n".join(record).encode("cp1250"))
    return save


def start_game(prog, save):
    """Starts the main application and answers its load dialog with the saved game; returns the
    process and its main window (None when it did not come)."""
    proc = subprocess.Popen([str(prog / "tervano-hra")],
                            stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    try:
        dialog = find("hru hry k")
        xdo("windowfocus", "--sync", dialog, check=False)
        time.sleep(0.5)
        xdo("type", "--delay", "5", str(save))
        xdo("key", "Return")
        return proc, find("^Tervano$")
    except BaseException:
        stop(proc)
        raise


def stop(proc):
    if proc.poll() is not None:
        return
    proc.terminate()
    try:
        proc.wait(5)
    except subprocess.TimeoutExpired:
        proc.kill()


def answer_boxes(shots, n):
    """Answers every box that comes: OK to messages, Cancel to questions."""
    quiet_since = time.time()
    while time.time() - quiet_since < 0.8:
        box = xdo("search", "--onlyvisible", "--name", BOXES, check=False)
        if not box:
            time.sleep(0.1)
            continue
        wid = box.splitlines()[0]
        title = xdo("getwindowname", wid)
        if shots and n is not None:
            subprocess.run(["import", "-window", wid, "%s/box-%02d.png" % (shots, n)])
        xdo("windowfocus", "--sync", wid, check=False)
        xdo("key", "Escape" if title == "Potvrzení" else "Return", check=False)
        time.sleep(0.3)
        quiet_since = time.time()


def main():
    ap = argparse.ArgumentParser()
    ap.add_argument("program")
    ap.add_argument("--shots")
    ap.add_argument("--crosswords", type=int, default=10**6)
    a = ap.parse_args()
    prog = pathlib.Path(a.program).resolve()
    desc = lines(ci(prog, "tervano/Tervano.ini"))
    counts = [int(desc[g]) for g in range(1, 5)]
    version = desc[6]
    save = write_save(prog, "hra-pres-sadu.kr1", version)
    proc, main = start_game(prog, save)
    try:
        geo = dict(l.split("=") for l in xdo("getwindowgeometry", "--shell", main).splitlines())
        mx, my = int(geo["X"]), int(geo["Y"])
        checked = 0
        for g in range(1, 5):
            for n in range(1, counts[g - 1] + 1):
                if checked >= a.crosswords:
                    break
                solution = lines(ci(prog, "tervano/r%d/k%d/k.vk" % (g, n)))
                while solution and solution[-1] == "":
                    solution.pop()
                xdo("mousemove", mx + 100, my + 280, "click", "1")
                xdo("key", "ctrl+a", "BackSpace")
                for i, line in enumerate(solution):
                    if i:
                        xdo("key", "Return")
                    if line:
                        xdo("type", "--delay", "2", line)
                if a.shots and checked == 0:
                    subprocess.run(["import", "-window", main, "%s/first-crossword.png" % a.shots])
                xdo("mousemove", mx + 437, my + 372, "click", "1")
                time.sleep(0.2)
                answer_boxes(a.shots, None)
                checked += 1
        time.sleep(0.5)
        if a.shots:
            subprocess.run(["import", "-window", main, "%s/end.png" % a.shots])
        print("checked %d crosswords" % checked)
    finally:
        stop(proc)


if __name__ == "__main__":
    sys.exit(main())
