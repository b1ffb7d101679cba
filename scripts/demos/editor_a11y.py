#!/usr/bin/python3
"""Checks, through the accessibility tree (AT-SPI), that the crossword editor's controls carry
the names a screen reader reads: the caption each stands under.

    scripts/demos/editor_a11y.py PROGRAM_FOLDER

Needs an X server (DISPLAY) and a D-Bus session with the accessibility bus running; starts
PROGRAM_FOLDER/tervano-hra -EDITOR with QT_LINUX_ACCESSIBILITY_ALWAYS_ON=1. Prints every input of
the editor's screens with its role and name; exits 1 when an expected name is missing or an input
has neither a name nor a label.
"""
import sys

from a11y_tree import labels, nodes, pointer, start, verdict, wait_for

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
    ("push button", "Načíst iPuz ..."),
    ("push button", "Tisk a export ..."),
    ("label", "Data: ?"),
    ("text", "Tajenka:"),
    ("text", "Slova a nápovědy:"),
    ("push button", "Sestavit"),
]
INPUTS = {"push button", "spin button", "check box", "text", "combo box"}


COMPOSITES = ("combo box", "spin button")


def holding(found, role, name):
    """The parent of the first node with the role and name."""
    for n, r, _ in found:
        if r == role and n.get_name() == name:
            return n.get_parent()
    return None


# The data panel over "Křížovka ...": its rows from the top, the panel ending on the editor bar.
DATA_ROWS = ["Nová ...", "Načíst", "Uložit", "Návrat k editaci", "Ukončit režim editace",
             "Sestavit ze slov ...", "Načíst iPuz ...", "Tisk a export ..."]


def open_word_list():
    """Opens the word-list window: the data panel over "Křížovka ...", "Sestavit ze slov ..."."""
    pointer(77, 521)
    pointer(77, 500)
    top = 507 - (4 + len(DATA_ROWS) * 28 + 2 + 24)
    pointer(77, top + 4 + 28 * DATA_ROWS.index("Sestavit ze slov ...") + 13, click=True)


def main():
    proc = start(sys.argv[1], "-EDITOR")
    try:
        wait_for("Sestavit ze slov ...", COMPOSITES)
        open_word_list()
        found = wait_for("Sestavit", COMPOSITES)
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
                nodes(root, screens, COMPOSITES)
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
        return verdict(failures, "all %d expected names found" % len(EXPECTED))
    finally:
        proc.terminate()
        proc.wait(5)


if __name__ == "__main__":
    sys.exit(main())
