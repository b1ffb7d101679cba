#!/usr/bin/python3
"""Checks, through the accessibility tree (AT-SPI), that the script editor's controls and the set's
music panel carry the names a screen reader reads: their captions.

    scripts/demos/script_a11y.py PROGRAM_FOLDER

Needs an X server (DISPLAY) and a D-Bus session with the accessibility bus running; starts
PROGRAM_FOLDER/tervano-hra -SCRIPTEDITOR with QT_LINUX_ACCESSIBILITY_ALWAYS_ON=1. Prints every
input of the script panel, the data panel and the music panel with its role and name; exits 1 when
an expected name is missing or an input has no name.
"""
import os
import subprocess
import sys
import time

import gi

gi.require_version("Atspi", "2.0")
from gi.repository import Atspi  # noqa: E402

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


def nodes(node, out, inside=False):
    try:
        role = node.get_role_name()
    except Exception:
        return
    out.append((node, role, inside))
    for i in range(node.get_child_count()):
        child = node.get_child_at_index(i)
        if child:
            nodes(child, out, inside or role in ("combo box", "list"))


def everything():
    desk = Atspi.get_desktop(0)
    found = []
    for i in range(desk.get_child_count()):
        nodes(desk.get_child_at_index(i), found)
    return found


def pointer(x, y, click=False):
    subprocess.run(["xdotool", "mousemove", str(x), str(y)], check=True)
    time.sleep(0.3)
    if click:
        subprocess.run(["xdotool", "click", "1"], check=True)
        time.sleep(0.8)


def main():
    prog = os.path.abspath(sys.argv[1])
    env = dict(os.environ, QT_LINUX_ACCESSIBILITY_ALWAYS_ON="1")
    proc = subprocess.Popen([os.path.join(prog, "tervano-hra"), "-SCRIPTEDITOR"], env=env,
                            stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    try:
        time.sleep(2.0)
        subprocess.run(["xdotool", "key", "Return"])  # the creation warning
        time.sleep(1.0)
        # The music panel over the menu: "Sada ...", then "Ozvučení".
        pointer(375, 521)
        pointer(375, 495, click=True)
        found = []
        for _ in range(50):
            found = everything()
            if any(n.get_name() == "Potvrdit" for n, _, _ in found):
                break
            time.sleep(0.2)
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
        if failures:
            print("MISSING: %s" % failures)
            return 1
        print("all %d expected names found" % len(EXPECTED))
        return 0
    finally:
        proc.terminate()
        proc.wait(5)


if __name__ == "__main__":
    sys.exit(main())
