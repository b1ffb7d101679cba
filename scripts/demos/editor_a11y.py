#!/usr/bin/python3
"""Checks, through the accessibility tree (AT-SPI), that the crossword editor's controls carry
the names a screen reader reads: the caption each stands under.

    scripts/demos/editor_a11y.py PROGRAM_FOLDER

Needs an X server (DISPLAY) and a D-Bus session with the accessibility bus running; starts
PROGRAM_FOLDER/tervano-hra -EDITOR with QT_LINUX_ACCESSIBILITY_ALWAYS_ON=1. Prints every input of
the editor's screens with its role and name; exits 1 when an expected name is missing or an input
has neither a name nor a label.
"""
import os
import subprocess
import sys
import time

import gi

gi.require_version("Atspi", "2.0")
from gi.repository import Atspi  # noqa: E402

EXPECTED = [
    ("text", "Sem pište znění křížovky:"),
    ("text", "Mapa křížovky:"),
    ("text", "Legenda:"),
    ("spin button", "Body za dobře zodpovězená slova:"),
    ("spin button", "Body za špatně zodpovězená slova:"),
    ("spin button", "Body za dobře zodpovězenou tajenku:"),
    ("spin button", "Body za špatně zodpovězenou tajenku:"),
    ("label", "Body za dobře zodpovězená slova:"),
    ("label", "Body za špatně zodpovězenou tajenku:"),
    ("spin button", "Ročník:"),
    ("check box", "Bod uložení"),
    ("push button", "Předchozí křížovka"),
    ("push button", "Další křížovka"),
    ("push button", "Nová ..."),
    ("push button", "Načíst"),
    ("push button", "Uložit"),
    ("push button", "Návrat k editaci"),
    ("push button", "Ukončit režim editace"),
    ("push button", "Sestavit ze slov ..."),
    ("label", "Data: ?"),
    ("text", "Tajenka:"),
    ("text", "Slova a nápovědy:"),
    ("push button", "Sestavit"),
]
INPUTS = {"push button", "spin button", "check box", "text", "combo box"}


def nodes(node, out, inside_input=False):
    try:
        role = node.get_role_name()
    except Exception:
        return
    out.append((node, role, inside_input))
    for i in range(node.get_child_count()):
        child = node.get_child_at_index(i)
        if child:
            nodes(child, out, inside_input or role in ("combo box", "spin button"))


def labels(node):
    names = []
    for rel in node.get_relation_set():
        if rel.get_relation_type() == Atspi.RelationType.LABELLED_BY:
            names += [rel.get_target(i).get_name() for i in range(rel.get_n_targets())]
    return names


def subtree(node, out):
    nodes(node, out)
    return out


def holding(found, role, name):
    """The parent of the first node with the role and name."""
    for n, r, _ in found:
        if r == role and n.get_name() == name:
            return n.get_parent()
    return None


def open_word_list():
    """Opens the word-list window: the data panel over "Křížovka ...", "Sestavit ze slov ..."."""
    for x, y, click in ((77, 521, False), (77, 500, False), (77, 466, True)):
        subprocess.run(["xdotool", "mousemove", str(x), str(y)], check=True)
        time.sleep(0.3)
        if click:
            subprocess.run(["xdotool", "click", "1"], check=True)
            time.sleep(0.8)


def main():
    prog = os.path.abspath(sys.argv[1])
    env = dict(os.environ, QT_LINUX_ACCESSIBILITY_ALWAYS_ON="1")
    proc = subprocess.Popen([os.path.join(prog, "tervano-hra"), "-EDITOR"], env=env,
                            stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    try:
        found = []
        for _ in range(50):
            time.sleep(0.2)
            desk = Atspi.get_desktop(0)
            apps = [desk.get_child_at_index(i) for i in range(desk.get_child_count())]
            found = []
            for app in apps:
                nodes(app, found)
            if any(n.get_name() == "Sestavit ze slov ..." for n, _, _ in found):
                break
        open_word_list()
        found = []
        for i in range(desk.get_child_count()):
            nodes(desk.get_child_at_index(i), found)
        named = {(role, n.get_name()) for n, role, _ in found}
        failures = [e for e in EXPECTED if e not in named]
        # The editor's screens: the play screen it writes on, the data panel, the word list.
        screens = []
        for role, name in (("panel", "Bodování za tuto křížovku"), ("push button", "Nová ..."),
                           ("push button", "Sestavit")):
            root = holding(found, role, name)
            if root is None:
                failures.append(("screen of", name))
            else:
                subtree(root, screens)
        for n, role, inner in screens:
            if role not in INPUTS or inner:
                continue
            name = n.get_name()
            label = labels(n)
            shown = name + ("  (label: %s)" % ", ".join(label) if label else "")
            print("%-12s %s" % (role, shown))
            if not name.strip() and not label and role != "text":
                failures.append((role, "<no name>"))
        combo = [n for n, role, _ in found if role == "combo box"]
        if not combo or "Jazyk:" not in labels(combo[0]):
            failures.append(("combo box", "labelled by Jazyk:"))
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
