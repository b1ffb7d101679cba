#!/usr/bin/python3
"""Checks, through the accessibility tree (AT-SPI), that the crossword editor's controls carry
the names a screen reader reads: the caption each stands under.

    scripts/demos/editor_a11y.py PROGRAM_FOLDER

Needs an X server (DISPLAY) and a D-Bus session with the accessibility bus running; starts
PROGRAM_FOLDER/tervano-hra -EDITOR with QT_LINUX_ACCESSIBILITY_ALWAYS_ON=1. Opens the chooser
("Načíst") and prints its inputs, then the word-list window, and prints every input of the
editor's screens with its role and name; exits 1 when an expected name is missing or an input has
neither a name nor a label.
"""
import sys
import time

from a11y_tree import labels, nodes, pointer, start, verdict, wait_for

EXPECTED = [
    ("combo box", "Jazyk:"),
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
    ("push button", "Načíst ze souboru ..."),
    ("label", "Data: ?"),
    ("text", "Tajenka:"),
    ("text", "Slova a nápovědy:"),
    ("push button", "Sestavit"),
]
INPUTS = {"push button", "spin button", "check box", "text", "combo box"}
# The chooser's boxes are named after their captions, not by the grade or number they hold.
CHOOSER = [
    ("combo box", "Ročník:"),
    ("combo box", "Křížovka:"),
    ("push button", "Potvrď"),
    ("push button", "Zpět na hlavní nabídku"),
    ("push button", "Vymazat křížovku"),
]


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


def data_panel_row(name):
    """Opens the data panel over "Křížovka ..." and clicks its row of that name."""
    pointer(77, 521)
    pointer(77, 500)
    top = 507 - (4 + len(DATA_ROWS) * 28 + 2 + 24)
    pointer(77, top + 4 + 28 * DATA_ROWS.index(name) + 13, click=True)


def open_word_list():
    """Opens the word-list window: the data panel's "Sestavit ze slov ..."."""
    data_panel_row("Sestavit ze slov ...")


def press(found, name):
    """Presses a button through its accessible action, as a screen reader's user does."""
    for n, role, _ in found:
        if role == "push button" and n.get_name() == name:
            n.get_action_iface().do_action(0)
            time.sleep(0.8)
            return True
    return False


def print_inputs(screens):
    """Prints the inputs of the nodes; returns those without a name or a label."""
    unnamed = []
    for n, role, inner in screens:
        if role not in INPUTS or inner:
            continue
        name = n.get_name()
        label = labels(n)
        shown = name + ("  (label: %s)" % ", ".join(label) if label else "")
        if role == "combo box":
            shown += "  [holds: %s]" % combo_text(n)
        print("%-12s %s" % (role, shown))
        if not name.strip() and not label and role != "text":
            unnamed.append((role, "<no name>"))
    return unnamed


def combo_text(node):
    """The text in a list box's field."""
    for i in range(node.get_child_count()):
        child = node.get_child_at_index(i)
        if child and child.get_role_name() == "text":
            t = child.get_text_iface()
            return t.get_text(0, t.get_character_count()) if t else ""
    return ""


def check_chooser(failures):
    """Opens the chooser with the data panel's "Načíst", checks and prints its
    inputs and closes it again with "Zpět na hlavní nabídku"."""
    data_panel_row("Načíst")
    found = wait_for("Křížovka:", COMPOSITES)
    named = {(role, n.get_name()) for n, role, _ in found}
    failures += [("chooser",) + e for e in CHOOSER if e not in named]
    root = holding(found, "push button", "Potvrď")
    if root is None:
        failures.append(("screen of", "Potvrď"))
        return
    print("Chooser (\"Načíst křížovku\"):")
    failures += print_inputs(nodes(root, [], COMPOSITES))
    if not press(found, "Zpět na hlavní nabídku"):
        failures.append(("push button", "Zpět na hlavní nabídku"))


def main():
    proc = start(sys.argv[1], "-EDITOR")
    try:
        wait_for("Sestavit ze slov ...", COMPOSITES)
        failures = []
        check_chooser(failures)
        open_word_list()
        found = wait_for("Sestavit", COMPOSITES)
        named = {(role, n.get_name()) for n, role, _ in found}
        failures += [e for e in EXPECTED if e not in named]
        # The editor's screens: the play screen it writes on, the data panel, the word list.
        screens = []
        for role, name in (("panel", "Bodování za tuto křížovku"), ("push button", "Nová ..."),
                           ("push button", "Sestavit")):
            root = holding(found, role, name)
            if root is None:
                failures.append(("screen of", name))
            else:
                nodes(root, screens, COMPOSITES)
        print("Editor and word list:")
        failures += print_inputs(screens)
        combo = [n for n, role, _ in found if role == "combo box" and n.get_name() == "Jazyk:"]
        if not combo or "Jazyk:" not in labels(combo[0]):
            failures.append(("combo box", "Jazyk: labelled by Jazyk:"))
        return verdict(failures, "all %d expected names found" % (len(EXPECTED) + len(CHOOSER)))
    finally:
        proc.terminate()
        proc.wait(5)


if __name__ == "__main__":
    sys.exit(main())
