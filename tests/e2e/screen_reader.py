#!/usr/bin/python3
"""Reads and drives a running heliora through the accessibility bus (AT-SPI), as a screen reader does.

1. Every window's tree: each element shown and with an area, every control, text and picture named, no container
   empty and nameless, no control whose description repeats its name; closed menus aside.
2. The orrery: one element named "Solar system" whose children are the Sun and the planets, in ring order, each a
   button that can be pressed. From the keyboard (xdotool): Tab puts the focus on the Sun, Right on Mercury, Left
   back on the Sun, and Tab again on the orrery itself; assistive technologies are told each time. Return opens
   the focused body's fact window.
3. Pressing "Mars" opens a window named "Mars", with its picture named "Mars" and the source line a link whose
   press hands the Mars fact sheet's address to the desktop (the fake xdg-open writes it to OPENED).
4. The File menu's Settings… command opens a window named "Settings"; each of its tabs, pressed, shows a page
   that passes the checks of 1; the bodies list names each button after its body; a link of the information tab
   opens its address.
5. Pressing Pause shows "Pause" where the speed was, and the button becomes Play; pressing Play brings the speed
   back.

Every wait is bounded. Exits 0 when all is well, 1 with the first fault found (and the tree at that moment).

usage: screen_reader.py OPENED SCREENSHOT_DIR
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
# Roles that only hold others: nameless is fine while they hold something.
CONTAINERS = {pyatspi.ROLE_FILLER, pyatspi.ROLE_PANEL, pyatspi.ROLE_LAYERED_PANE, pyatspi.ROLE_TOOL_BAR,
              pyatspi.ROLE_MENU_BAR, pyatspi.ROLE_PAGE_TAB_LIST, pyatspi.ROLE_SCROLL_PANE, pyatspi.ROLE_VIEWPORT}
# Named by what they are, in every toolkit.
NAMELESS = {pyatspi.ROLE_SEPARATOR, pyatspi.ROLE_SCROLL_BAR}
CONTROLS = {pyatspi.ROLE_PUSH_BUTTON, pyatspi.ROLE_CHECK_BOX, pyatspi.ROLE_RADIO_BUTTON, pyatspi.ROLE_LINK,
            pyatspi.ROLE_PAGE_TAB, pyatspi.ROLE_MENU_ITEM, pyatspi.ROLE_TOGGLE_BUTTON}
MENUS = {pyatspi.ROLE_MENU, pyatspi.ROLE_POPUP_MENU}


class Fault(Exception):
    pass


def pump(seconds):
    """Lets the bus deliver events for a while."""
    context = GLib.MainContext.default()
    end = time.monotonic() + seconds
    while time.monotonic() < end:
        while context.iteration(False):
            pass
        time.sleep(0.02)


def wait_for(what, find, seconds=STEP_SECONDS):
    deadline = time.monotonic() + seconds
    while True:
        try:
            found = find()
        except GLib.Error:
            found = None  # an element that went away while it was read: ask again
        if found:
            return found
        if time.monotonic() > deadline:
            raise Fault(f"no {what} after {seconds} s")
        pump(0.05)


def describe(node):
    return f"{node.getRoleName()} '{node.name}'"


def children(node):
    for i in range(node.childCount):
        child = node.getChildAtIndex(i)
        if child is None:
            raise Fault(f"{describe(node)} lists a child {i} that does not exist")
        yield child


def walk(node, depth=0, menus=False):
    """The element and everything below it; closed menus too only when `menus`."""
    yield node
    if depth > 40:
        raise Fault(f"the tree is deeper than 40 at {describe(node)}")
    for child in children(node):
        if not menus and child.getRole() in MENUS and not child.getState().contains(pyatspi.STATE_SHOWING):
            continue
        yield from walk(child, depth + 1, menus)


def find(root, role, name=None):
    for node in walk(root):
        if node.getRole() == role and (name is None or node.name == name):
            return node
    return None


def find_all(root, role):
    return [node for node in walk(root) if node.getRole() == role]


def faults(root):
    found = []
    for node in walk(root):
        what = describe(node)
        state = node.getState()
        if not (state.contains(pyatspi.STATE_VISIBLE) and state.contains(pyatspi.STATE_SHOWING)):
            found.append(f"{what} is exposed but not shown")
        extents = node.queryComponent().getExtents(pyatspi.DESKTOP_COORDS)
        if extents.width <= 0 or extents.height <= 0:
            found.append(f"{what} is {extents.width} x {extents.height}")
        role = node.getRole()
        if role in (pyatspi.ROLE_UNKNOWN, pyatspi.ROLE_INVALID):
            found.append(f"{what} has no role")
        structure = role in NAMELESS or (role in CONTAINERS and node.childCount > 0)
        if not node.name and not structure:
            found.append(f"{what} has no name")
        if role in CONTROLS and node.name and node.name in (node.description or ""):
            found.append(f"{what}'s description '{node.description}' repeats its name")
    return found


def check_tree(root, where):
    found = faults(root)
    if found:
        raise Fault(f"{where}: " + "; ".join(found))


def press(node, action="Press"):
    actions = node.queryAction()
    names = [actions.getName(i) for i in range(actions.nActions)]
    if action not in names:
        raise Fault(f"{describe(node)} has no action {action} (it has {names})")
    actions.doAction(names.index(action))


def frame(app, name):
    return next((child for child in children(app) if child.getRole() == pyatspi.ROLE_FRAME and child.name == name),
                None)


def frames(app, name):
    return [child for child in children(app) if child.getRole() == pyatspi.ROLE_FRAME and child.name == name]


def dump(node, depth=0, out=sys.stderr):
    try:
        print("  " * depth + describe(node), file=out)
        for child in children(node):
            dump(child, depth + 1, out)
    except (Fault, GLib.Error) as error:
        print("  " * depth + f"<{error}>", file=out)


def xdotool(*args):
    subprocess.run(["timeout", str(STEP_SECONDS), "xdotool", *args], check=True, stdout=subprocess.DEVNULL)


def read_opened(path):
    try:
        with open(path, encoding="utf-8") as file:
            return [line.strip() for line in file if line.strip()]
    except FileNotFoundError:
        return []


def main(opened_path, shots):
    app = wait_for("heliora on the accessibility bus", lambda: next(
        (a for a in children(pyatspi.Registry.getDesktop(0)) if a.name == "heliora" and frame(a, "Heliora")), None))
    main_window = frame(app, "Heliora")

    # 1, 2: the main window and its orrery.
    check_tree(main_window, "main window")
    orrery = find(main_window, pyatspi.ROLE_PANEL, "Solar system")
    if not orrery:
        raise Fault("no element named 'Solar system'")
    bodies = list(children(orrery))
    if [body.name for body in bodies] != BODIES or any(b.getRole() != pyatspi.ROLE_PUSH_BUTTON for b in bodies):
        raise Fault("the orrery holds " + ", ".join(describe(body) for body in bodies))

    focused = []

    def on_focus(event):
        if event.detail1 == 1:
            focused.append(event.source.name)

    pyatspi.Registry.registerEventListener(on_focus, "object:state-changed:focused")
    window = subprocess.run(["xdotool", "search", "--onlyvisible", "--name", "^Heliora$"], check=True,
                            capture_output=True, text=True).stdout.split()[0]
    xdotool("windowfocus", "--sync", window)
    for key, expected in (("Tab", "Sun"), ("Right", "Mercury"), ("Left", "Sun"), ("Tab", "Solar system"),
                          ("Tab", "Sun")):
        before = len(focused)
        xdotool("key", key)
        wait_for(f"focus on '{expected}' after {key} (focus went to {focused[before:]})",
                 lambda: expected in focused[before:])
        if expected != "Solar system":
            node = next(body for body in children(orrery) if body.name == expected)
            if not node.getState().contains(pyatspi.STATE_FOCUSED):
                raise Fault(f"{expected} was announced but is not focused")
        if key == "Right":
            subprocess.run(["import", "-window", "root", f"{shots}/screen-reader-focus.png"], check=False)
    xdotool("key", "Return")
    wait_for("a window named 'Sun' after Return", lambda: frame(app, "Sun"))
    pyatspi.Registry.deregisterEventListener(on_focus, "object:state-changed:focused")

    # 3: Mars through the action interface.
    mars = next(body for body in children(orrery) if body.name == "Mars")
    press(mars)
    fact = wait_for("window named 'Mars'", lambda: frame(app, "Mars"))
    check_tree(fact, "Mars's fact window")
    if not find(fact, pyatspi.ROLE_IMAGE, "Mars"):
        raise Fault("Mars's fact window has no picture named 'Mars'")
    source = find(fact, pyatspi.ROLE_LINK, "Source: NSSDCA")
    if not source:
        raise Fault("Mars's fact window has no link 'Source: NSSDCA'")
    press(source)
    address = wait_for("the fact sheet's address at the desktop", lambda: read_opened(opened_path))[-1]
    if not (address.startswith("https://nssdc.gsfc.nasa.gov/") and "mars" in address):
        raise Fault(f"the source link opened {address}")

    # 4: the settings window, tab by tab.
    command = next((item for item in walk(main_window, menus=True)
                    if item.getRole() == pyatspi.ROLE_MENU_ITEM and item.name.startswith("Settings")), None)
    if not command:
        raise Fault("no Settings… command in the main window's menus")
    press(command)
    settings = wait_for("window named 'Settings'", lambda: frame(app, "Settings"))
    tabs = find_all(settings, pyatspi.ROLE_PAGE_TAB)
    if len(tabs) != 4:
        raise Fault("the settings window has " + ", ".join(describe(tab) for tab in tabs))
    for tab in tabs:
        press(tab)
        wait_for(f"tab {tab.name} selected", lambda: tab.getState().contains(pyatspi.STATE_SELECTED))
        check_tree(settings, f"settings window, tab {tab.name}")
        buttons = [b.name for b in find_all(settings, pyatspi.ROLE_PUSH_BUTTON) if b.name.startswith("Open fact")]
        if buttons and buttons != [f"Open fact sheet: {body}" for body in BODIES + ["Pluto"]]:
            raise Fault(f"the bodies list's buttons are {buttons}")
        links = find_all(settings, pyatspi.ROLE_LINK)
        email = next((link for link in links if link.name.startswith("Email: ")), None)
        if email:
            press(email)
            wait_for("the feedback address at the desktop",
                     lambda: any(line.startswith("mailto:") for line in read_opened(opened_path)))

    # 5: play and pause, and the speed label.
    def label(name_or_pattern):
        return next((node for node in find_all(main_window, pyatspi.ROLE_LABEL)
                     if (SPEED.match(node.name) if name_or_pattern is SPEED else node.name == name_or_pattern)),
                    None)

    speed = label(SPEED)
    if not speed:
        raise Fault("no speed label in the main window")
    press(wait_for("button 'Pause'", lambda: find(main_window, pyatspi.ROLE_PUSH_BUTTON, "Pause")))
    wait_for("label 'Pause' in place of the speed", lambda: label("Pause") and not label(SPEED))
    press(wait_for("button 'Play'", lambda: find(main_window, pyatspi.ROLE_PUSH_BUTTON, "Play")))
    wait_for(f"the speed '{speed.name}' back", lambda: label(speed.name))

    if len(frames(app, "Mars")) != 1:
        raise Fault(f"pressing Mars once gave {len(frames(app, 'Mars'))} windows named Mars")


if __name__ == "__main__":
    if len(sys.argv) != 3:
        print(__doc__.strip().splitlines()[-1], file=sys.stderr)
        sys.exit(2)
    try:
        main(sys.argv[1], sys.argv[2])
    except Fault as fault:
        print(f"FAIL: {fault}", file=sys.stderr)
        for application in children(pyatspi.Registry.getDesktop(0)):
            if application.name == "heliora":
                dump(application)
        sys.exit(1)
    print("screen reader: all checks passed")
