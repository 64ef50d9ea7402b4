#!/usr/bin/python3
"""Reads and drives a running heliora over AT-SPI, as a screen reader does. Checks every window's tree (each element
shown and with an area; every control, text and picture named; no nameless empty container; no control whose
description repeats its name; closed menus aside); the orrery, "Solar system", holding the bodies as buttons, and
its keys (Tab, Right, Left, Tab, Return) with the focus announced at each; pressing Mars, its window, picture and
source link; the Settings… command, each tab of its window and a link there; Pause and Play with the speed label.
Every wait is bounded; exits 1 with the first fault and the tree.

usage: screen_reader.py OPENED SCREENSHOT_DIR   (OPENED: where the fake xdg-open writes what it is given)
"""

import re
import subprocess
import sys
import time

import pyatspi
from gi.repository import GLib

STEP_SECONDS = 20
BODIES = ["Sun", "Mercury", "Venus", "Earth", "Mars", "Jupiter", "Saturn", "Uranus", "Neptune"]
SPEED = re.compile(r"^-?[\d,]+×$")
R = pyatspi  # roles and states
# Nameless is fine for these while they hold something, and for separators and scroll bars.
CONTAINERS = {R.ROLE_FILLER, R.ROLE_PANEL, R.ROLE_LAYERED_PANE, R.ROLE_TOOL_BAR, R.ROLE_MENU_BAR,
              R.ROLE_PAGE_TAB_LIST, R.ROLE_SCROLL_PANE, R.ROLE_VIEWPORT}
CONTROLS = {R.ROLE_PUSH_BUTTON, R.ROLE_CHECK_BOX, R.ROLE_LINK, R.ROLE_PAGE_TAB, R.ROLE_MENU_ITEM}


class Fault(Exception):
    pass


def wait_for(what, find, seconds=STEP_SECONDS):
    deadline = time.monotonic() + seconds
    while True:
        try:
            found = find()
        except GLib.Error:
            found = None  # an element went away while it was read: ask again
        if found:
            return found
        if time.monotonic() > deadline:
            raise Fault(f"no {what} after {seconds} s")
        end = time.monotonic() + 0.05
        while time.monotonic() < end:  # lets the bus deliver events meanwhile
            GLib.MainContext.default().iteration(False) or time.sleep(0.01)


def describe(node):
    return f"{node.getRoleName()} '{node.name}'"


def children(node):
    for i in range(node.childCount):
        child = node.getChildAtIndex(i)
        if child is None:
            raise Fault(f"{describe(node)} lists a child {i} that does not exist")
        yield child


def walk(node, menus=False, depth=0):
    """The element and all below it; closed menus only when `menus`."""
    yield node
    for child in children(node) if depth < 40 else ():
        closed_menu = child.getRole() in (R.ROLE_MENU, R.ROLE_POPUP_MENU) and not child.getState().contains(
            R.STATE_SHOWING)
        if menus or not closed_menu:
            yield from walk(child, menus, depth + 1)


def find(root, role, name=None, menus=False):
    """The first element of the role whose name is `name` (or passes it, a function); None if there is none."""
    def matches(node):
        if node.getRole() != role:
            return False
        return name is None or (name(node.name) if callable(name) else node.name == name)
    return next((node for node in walk(root, menus) if matches(node)), None)


def need(node, what):
    if node is None:
        raise Fault(f"no {what}")
    return node


def find_all(root, role):
    return [node for node in walk(root) if node.getRole() == role]


def check_tree(root, where):
    faults = []
    for node in walk(root):
        state, role, what = node.getState(), node.getRole(), describe(node)
        extents = node.queryComponent().getExtents(R.DESKTOP_COORDS)
        if not (state.contains(R.STATE_VISIBLE) and state.contains(R.STATE_SHOWING)) or extents.width <= 0 \
                or extents.height <= 0:
            faults.append(f"{what} is exposed but not shown ({extents.width} x {extents.height})")
        if role in (R.ROLE_UNKNOWN, R.ROLE_INVALID):
            faults.append(f"{what} has no role")
        if not node.name and role not in (R.ROLE_SEPARATOR, R.ROLE_SCROLL_BAR) and not (
                role in CONTAINERS and node.childCount > 0):
            faults.append(f"{what} has no name")
        if role in CONTROLS and node.name and node.name in (node.description or ""):
            faults.append(f"{what}'s description '{node.description}' repeats its name")
    if faults:
        raise Fault(f"{where}: " + "; ".join(faults))


def press(node, action="Press"):
    actions = node.queryAction()
    names = [actions.getName(i) for i in range(actions.nActions)]
    if action not in names:
        raise Fault(f"{describe(node)} has no action {action} (it has {names})")
    actions.doAction(names.index(action))


def frames(app, name):
    return [child for child in children(app) if child.getRole() == R.ROLE_FRAME and child.name == name]


def opened(path):
    try:
        with open(path, encoding="utf-8") as file:
            return file.read().split()
    except FileNotFoundError:
        return []


def dump(node, depth=0):
    try:
        print("  " * depth + describe(node), file=sys.stderr)
        for child in children(node):
            dump(child, depth + 1)
    except (Fault, GLib.Error) as error:
        print("  " * depth + f"<{error}>", file=sys.stderr)


def xdotool(*args):
    return subprocess.run(["timeout", str(STEP_SECONDS), "xdotool", *args], check=True, capture_output=True,
                          text=True).stdout


def main(opened_path, shots):
    app = wait_for("heliora on the bus", lambda: next((a for a in children(R.Registry.getDesktop(0))
                                                      if a.name == "heliora" and frames(a, "Heliora")), None))
    window = frames(app, "Heliora")[0]
    check_tree(window, "main window")
    orrery = find(window, R.ROLE_PANEL, "Solar system")
    bodies = list(children(orrery)) if orrery else []
    if [b.name for b in bodies] != BODIES or any(b.getRole() != R.ROLE_PUSH_BUTTON for b in bodies):
        raise Fault("the orrery, 'Solar system', holds " + ", ".join(map(describe, bodies)))

    # The keyboard, with the focus announced as it moves.
    focused = []
    listener = lambda event: event.detail1 == 1 and focused.append(event.source.name)  # noqa: E731
    R.Registry.registerEventListener(listener, "object:state-changed:focused")
    xdotool("windowfocus", "--sync", xdotool("search", "--onlyvisible", "--name", "^Heliora$").split()[0])
    for key, expected in (("Tab", "Sun"), ("Right", "Mercury"), ("Left", "Sun"), ("Tab", "Solar system"),
                          ("Tab", "Sun")):
        before = len(focused)
        xdotool("key", key)
        wait_for(f"focus on '{expected}' after {key} (it went to {focused[before:]})",
                 lambda: expected in focused[before:])
        body = next((b for b in bodies if b.name == expected), None)
        if body and not body.getState().contains(R.STATE_FOCUSED):
            raise Fault(f"{expected} was announced but is not focused")
        if key == "Right":
            subprocess.run(["import", "-window", "root", f"{shots}/screen-reader-focus.png"], check=False)
    R.Registry.deregisterEventListener(listener, "object:state-changed:focused")
    xdotool("key", "Return")
    wait_for("window named 'Sun' after Return", lambda: frames(app, "Sun"))

    # Mars, pressed through the action interface.
    press(bodies[BODIES.index("Mars")])
    fact = wait_for("window named 'Mars'", lambda: frames(app, "Mars"))[0]
    check_tree(fact, "Mars's fact window")
    if not find(fact, R.ROLE_IMAGE, "Mars"):
        raise Fault("Mars's fact window has no picture named 'Mars'")
    press(need(find(fact, R.ROLE_LINK, "Source: NSSDCA"), "link 'Source: NSSDCA' in Mars's window"))
    address = wait_for("fact sheet's address at the desktop", lambda: opened(opened_path))[-1]
    if not re.match(r"^https://nssdc\.gsfc\.nasa\.gov/.*mars", address):
        raise Fault(f"the source link opened {address}")

    # The settings window, tab by tab.
    press(need(find(window, R.ROLE_MENU_ITEM, lambda name: name.startswith("Settings"), menus=True),
               "Settings… command in the main window's menus"))
    settings = wait_for("window named 'Settings'", lambda: frames(app, "Settings"))[0]
    tabs = find_all(settings, R.ROLE_PAGE_TAB)
    if [tab.name for tab in tabs] != ["General", "Viewing", "Solar System", "About"]:
        raise Fault("the settings window's tabs are " + ", ".join(map(describe, tabs)))
    for tab in tabs:
        press(tab)
        wait_for(f"tab {tab.name} selected", lambda: tab.getState().contains(R.STATE_SELECTED))
        check_tree(settings, f"settings window, tab {tab.name}")
        buttons = [b.name for b in find_all(settings, R.ROLE_PUSH_BUTTON) if b.name.startswith("Open fact")]
        if buttons and buttons != [f"Open fact sheet: {body}" for body in BODIES + ["Pluto"]]:
            raise Fault(f"the bodies list's buttons are {buttons}")
        email = find(settings, R.ROLE_LINK, lambda name: name.startswith("Email: "))
        if email:
            press(email)
            wait_for("feedback address at the desktop", lambda: any(a.startswith("mailto:") for a in opened(
                opened_path)))

    # Pause and play, read off the speed label.
    def label(name):
        return find(window, R.ROLE_LABEL, name)

    speed = need(label(lambda name: bool(SPEED.match(name))), "speed label in the main window").name
    press(need(find(window, R.ROLE_PUSH_BUTTON, "Pause"), "button 'Pause'"))
    wait_for("label 'Pause' in place of the speed", lambda: label("Pause") and not label(speed))
    press(wait_for("button 'Play'", lambda: find(window, R.ROLE_PUSH_BUTTON, "Play")))
    wait_for(f"the speed '{speed}' back", lambda: label(speed))
    if len(frames(app, "Mars")) != 1:
        raise Fault("one press on Mars gave more than one window named Mars")


if __name__ == "__main__":
    if len(sys.argv) != 3:
        sys.exit(__doc__)
    try:
        main(sys.argv[1], sys.argv[2])
    except Fault as fault:
        print(f"FAIL: {fault}", file=sys.stderr)
        for application in children(R.Registry.getDesktop(0)):
            if application.name == "heliora":
                dump(application)
        sys.exit(1)
    print("screen reader: all checks passed")
