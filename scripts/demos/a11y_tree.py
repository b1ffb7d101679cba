"""What the accessibility checks of the demos share: the program started with Qt's accessibility
bridge on, the AT-SPI tree walked, the pointer moved."""
import os
import subprocess
import time

import gi

gi.require_version("Atspi", "2.0")
from gi.repository import Atspi  # noqa: E402,F401  (the checks use its constants)


def start(program_folder, switch):
    env = dict(os.environ, QT_LINUX_ACCESSIBILITY_ALWAYS_ON="1")
    return subprocess.Popen([os.path.join(os.path.abspath(program_folder), "tervano-hra"), switch],
                            env=env, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)


def nodes(node, out, composites=(), inside=False, depth=0):
    """Appends (node, role, inside a composite) for the node and everything below it. The parts
    of a composite widget (the field of a spin box, the items of a list) are marked as inside."""
    try:
        role = node.get_role_name()
    except Exception:
        return out
    out.append((node, role, inside))
    if depth > 30:
        return out
    for i in range(node.get_child_count()):
        child = node.get_child_at_index(i)
        if child:
            nodes(child, out, composites, inside or role in composites, depth + 1)
    return out


def everything(composites=()):
    desk = Atspi.get_desktop(0)
    found = []
    for i in range(desk.get_child_count()):
        nodes(desk.get_child_at_index(i), found, composites)
    return found


def wait_for(name, composites=()):
    """The whole tree once a node of that name is in it (or after 10 s)."""
    found = []
    for _ in range(50):
        found = everything(composites)
        if any(n.get_name() == name for n, _, _ in found):
            break
        time.sleep(0.2)
    return found


def labels(node):
    names = []
    for rel in node.get_relation_set():
        if rel.get_relation_type() == Atspi.RelationType.LABELLED_BY:
            names += [rel.get_target(i).get_name() for i in range(rel.get_n_targets())]
    return names


def pointer(x, y, click=False):
    subprocess.run(["xdotool", "mousemove", str(x), str(y)], check=True)
    time.sleep(0.3)
    if click:
        subprocess.run(["xdotool", "click", "1"], check=True)
        time.sleep(0.8)


def verdict(failures, passed):
    if failures:
        print("MISSING: %s" % failures)
        return 1
    print(passed)
    return 0
