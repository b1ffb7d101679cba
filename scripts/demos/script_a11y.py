#!/usr/bin/python3
"""Checks, through the accessibility tree (AT-SPI), that the script editor's controls and the set's
music panel carry the names a screen reader reads: their captions.

    scripts/demos/script_a11y.py PROGRAM_FOLDER

Needs an X server (DISPLAY) and a D-Bus session with the accessibility bus running; starts
PROGRAM_FOLDER/tervano-hra -SCRIPTEDITOR with QT_LINUX_ACCESSIBILITY_ALWAYS_ON=1. Prints every
input of the script panel, the data panel and the music panel with its role and name; exits 1 when
an expected name is missing or an input has no name.
"""
import subprocess
import sys
import time

from a11y_tree import Atspi, pointer, start, verdict, wait_for

EXPECTED = [
    ("combo box", "Událost:"),
    ("text", "Příkazy:"),
    ("list", "Obsah příkazů:"),
    ("push button", "Smazání skriptu"),
    ("push button", "Nový ..."),
    ("push button", "Načíst"),
    ("push button", "Uložit"),
    ("push button", "Návrat k editaci"),
    ("push button", "Ukončit režim editace"),
    ("label", "Data: ?"),
    ("push button", "Skript ..."),
    ("push button", "Editor ..."),
    ("push button", "Sada ..."),
    ("push button", "Ozvučení"),
    ("push button", "I. ročník: Vybrat ..."),
    ("push button", "II. ročník: Vybrat ..."),
    ("push button", "III. ročník: Vybrat ..."),
    ("push button", "IV. ročník: Vybrat ..."),
    ("push button", "Konečná skladba: Vybrat ..."),
    ("push button", "Potvrdit"),
]
INPUTS = {"push button", "check box", "text", "combo box", "list"}


COMPOSITES = ("combo box", "list")


def main():
    proc = start(sys.argv[1], "-SCRIPTEDITOR")
    try:
        time.sleep(2.0)
        subprocess.run(["xdotool", "key", "Return"])  # the creation warning
        time.sleep(1.0)
        # The music panel over the menu: "Sada ...", then "Ozvučení".
        pointer(375, 521)
        pointer(375, 495, click=True)
        found = wait_for("Potvrdit", COMPOSITES)
        named = {(role, n.get_name()) for n, role, _ in found}
        failures = [e for e in EXPECTED if e not in named]
        for n, role, inner in found:
            if role not in INPUTS or inner:
                continue
            try:
                if not n.get_state_set().contains(Atspi.StateType.SHOWING):
                    continue
            except Exception:
                continue
            name = n.get_name()
            print("%-12s %s" % (role, name))
            if not name.strip():
                failures.append((role, "<no name>"))
        return verdict(failures, "all %d expected names found" % len(EXPECTED))
    finally:
        proc.terminate()
        proc.wait(5)


if __name__ == "__main__":
    sys.exit(main())
