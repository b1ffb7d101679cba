#!/usr/bin/python3
"""Checks, through the accessibility tree (AT-SPI), that the controls of the window "Tisk a
export křížovek" carry their captions as names.

    scripts/demos/print_a11y.py PROGRAM_FOLDER

Needs an X server (DISPLAY) and a D-Bus session with the accessibility bus running; starts
PROGRAM_FOLDER/tervano-hra -EDITOR with QT_LINUX_ACCESSIBILITY_ALWAYS_ON=1 and opens the window
from the data panel. Prints its inputs with their roles and names; exits 1 when one is missing.
"""
import sys

from a11y_tree import nodes, pointer, start, verdict, wait_for

EXPECTED = [
    ("push button", "Tisk a export ..."),
    ("radio button", "Tato křížovka"),
    ("radio button", "Celý ročník"),
    ("radio button", "Celá sada"),
    ("check box", "S řešením"),
    ("text", "Upozornění:"),
    ("push button", "Tisknout ..."),
    ("push button", "Náhled ..."),
    ("push button", "Uložit PDF ..."),
    ("push button", "Uložit iPuz ..."),
    ("push button", "Zpět"),
]
INPUTS = {"push button", "radio button", "check box", "text"}
DATA_ROWS = 8  # the data panel's rows; "Tisk a export ..." is the last


def main():
    proc = start(sys.argv[1], "-EDITOR")
    try:
        wait_for("Tisk a export ...")
        pointer(77, 521)
        pointer(77, 500)
        top = 507 - (4 + DATA_ROWS * 28 + 2 + 24)
        pointer(77, top + 4 + 28 * (DATA_ROWS - 1) + 13, click=True)
        found = wait_for("Uložit PDF ...")
        named = {(role, n.get_name()) for n, role, _ in found}
        failures = [e for e in EXPECTED if e not in named]
        window = [n for n, role, _ in found if n.get_name() == "Tisk a export křížovek"]
        if not window:
            failures.append(("window", "Tisk a export křížovek"))
        else:
            inside = []
            nodes(window[0], inside)
            for n, role, _ in inside:
                if role in INPUTS:
                    print("%-12s %s" % (role, n.get_name()))
                    if not n.get_name().strip():
                        failures.append((role, "<no name>"))
        return verdict(failures, "all %d expected names found" % len(EXPECTED))
    finally:
        proc.terminate()
        proc.wait(5)


if __name__ == "__main__":
    sys.exit(main())
