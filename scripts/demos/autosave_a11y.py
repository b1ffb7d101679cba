#!/usr/bin/python3
"""Checks, through the accessibility tree (AT-SPI), that the autosave manager's list, its
entries, its buttons and the record count carry the names a screen reader reads.

    scripts/demos/autosave_a11y.py PROGRAM_FOLDER

Needs an X server (DISPLAY), a D-Bus session with the accessibility bus running, and a log with
records in PROGRAM_FOLDER; starts PROGRAM_FOLDER/tervano-hra -SPAUTOSAVE with
QT_LINUX_ACCESSIBILITY_ALWAYS_ON=1. Prints every control of the screen with its role and name;
exits 1 when an expected name is missing or a control has no name.
"""
import re
import sys

from a11y_tree import nodes, start, verdict, wait_for

EXPECTED = [
    ("push button", "Smazat"),
    ("push button", "Nahlédnout do obsahu"),
    ("push button", "Načíst"),
    ("push button", "Konec"),
    ("push button", "Smazat veškeré záznamy"),
    ("push button", "Hlavní aplikace"),
    # The three display-style buttons stay pressed while their style is in use.
    ("check box", "Velké ikony"),
    ("check box", "Seznam"),
    ("check box", "Podrobnosti"),
]
LISTS = {"list", "table", "tree table", "tree"}
CONTROLS = {"push button", "toggle button", "check box"} | LISTS


def main():
    proc = start(sys.argv[1], "-SPAUTOSAVE")
    try:
        found = wait_for("Smazat veškeré záznamy")
        # Only the manager's screen: the panel holding "Smazat veškeré záznamy".
        screen = [n.get_parent() for n, role, _ in found
                  if role == "push button" and n.get_name() == "Smazat veškeré záznamy"]
        if not screen:
            print("MISSING: the manager's screen")
            return 1
        found = []
        nodes(screen[0], found)
        named = {(role, n.get_name()) for n, role, _ in found}
        failures = [e for e in EXPECTED if e not in named]
        for n, role, _ in found:
            if role in CONTROLS:
                print("%-14s %s" % (role, n.get_name()))
                if not n.get_name().strip():
                    failures.append((role, "<no name>"))
        lists = [n for n, role, _ in found if role in LISTS and n.get_name() == "Obsah souboru"]
        if not lists:
            failures.append(("list", "Obsah souboru"))
        else:
            entries = []
            nodes(lists[0], entries)
            names = [n.get_name() for n, role, _ in entries[1:] if role in ("list item", "table cell")]
            print("entries:       %d, the first %s" % (len(names), ", ".join(names[:3])))
            if not names or not all(re.fullmatch(r"\d+/\d+/\d+", x) for x in names):
                failures.append(("entries", names[:5]))
        counts = [n.get_name() for n, role, _ in found
                  if role == "label" and n.get_name().startswith("Počet záznamů: ")]
        print("label          %s" % (counts[0] if counts else "<none>"))
        if not counts or not re.fullmatch(r"Počet záznamů: \d+ / \d+ povolených", counts[0]):
            failures.append(("label", "Počet záznamů: ..."))
        return verdict(failures, "all names found")
    finally:
        proc.terminate()
        proc.wait(5)


if __name__ == "__main__":
    sys.exit(main())
