#!/usr/bin/python3
"""What a screen reader reads of the running menu, through AT-SPI, compared with the disc.

    read_accessibility.py tree DISC STEPS-DIR SECTION:ENTRY...
        for each choice in turn: prints the menu's accessibility tree, then checks the window's name,
        the section names (the chosen one selected), the chosen section's entry names (the chosen entry
        selected) and the detail panel's title against the disc's index.xml and the entry's info.xml.
        After each choice but the last it writes STEPS-DIR/read-N and waits for STEPS-DIR/chosen-N+1
        (N from 1), so that one reader, with what it holds of the tree, follows the menu's changes;
    read_accessibility.py focus NAME READY-FILE SECONDS
        listens for focus events, writes READY-FILE once listening, and succeeds when the object that
        took the focus is named NAME within SECONDS.

Exit status 0 when everything read matches, 1 with a "FAIL:" line when not.
"""
import os
import re
import sys
import time

import pyatspi
from gi.repository import GLib

WINDOW_NAME = "Kelvox Cover menu"


def fail(message):
    print(f"FAIL: {message}")
    sys.exit(1)


def disc_text(path):
    data = open(path, "rb").read()
    try:
        return data.decode("utf-8")
    except UnicodeDecodeError:
        return data.decode("cp1250")


def disc_catalogue(disc):
    """[(section name, [(entry name, entry directory)])] in the order of the disc's index.xml."""
    sections = []
    for tag, text in re.findall(r"<(nazwa|nazwa_e|sciezka)>(.*?)</\1>", disc_text(f"{disc}/menu/index.xml"), re.S):
        if tag == "nazwa":
            sections.append((text, []))
        elif tag == "nazwa_e":
            sections[-1][1].append([text, ""])
        else:
            sections[-1][1][-1][1] = text
    return sections


def entry_title(disc, directory):
    found = re.search(r"<_nazwa>(.*?)</_nazwa>", disc_text(f"{disc}/{directory.replace(chr(92), '/')}/info.xml"), re.S)
    return found.group(1) if found else ""


def menu_window(seconds=20):
    end = time.time() + seconds
    while time.time() < end:
        desktop = pyatspi.Registry.getDesktop(0)
        for app in desktop:
            if app is None:
                continue
            for window in app:
                if window is not None and window.name == WINDOW_NAME:
                    return window
        time.sleep(0.2)
    fail(f'no window named "{WINDOW_NAME}" on the accessibility bus')


def states_of(node):
    states = node.getState()
    return [name for name, state in (("selected", pyatspi.STATE_SELECTED), ("checked", pyatspi.STATE_CHECKED),
                                     ("focused", pyatspi.STATE_FOCUSED)) if states.contains(state)]


def dump(node, depth=0):
    marks = " ".join(f"[{s}]" for s in states_of(node))
    print(f"{'  ' * depth}{node.getRoleName()} \"{node.name}\" {marks}".rstrip())
    for child in node:
        dump(child, depth + 1)


class Mismatch(Exception):
    pass


def child_by_role(node, role):
    for child in node:
        if child.getRole() == role:
            return child
    raise Mismatch(f"no {role} under {node.name!r}")


def expect(what, read, held, heard):
    if read != held:
        raise Mismatch(f"{what}: the reader hears {read!r}, the disc holds {held!r}")
    heard.append(f"ok: {what}: {read!r}")


def compare(window, disc, section, entry):
    """What the reader hears, line by line; raises Mismatch at the first thing the disc does not hold."""
    heard = []
    catalogue = disc_catalogue(disc)
    expect("window name", window.name, WINDOW_NAME, heard)
    tabs = child_by_role(window, pyatspi.ROLE_PAGE_TAB_LIST)
    expect("section names", [tab.name for tab in tabs], [name for name, _ in catalogue], heard)
    expect("section selected", [tab.name for tab in tabs if "selected" in states_of(tab)],
           [catalogue[section][0]], heard)
    entries = catalogue[section][1]
    items = child_by_role(window, pyatspi.ROLE_LIST)
    expect("entry names", [item.name for item in items], [name for name, _ in entries], heard)
    expect("entry selected", [item.name for item in items if "selected" in states_of(item)],
           [entries[entry][0]], heard)
    panel = child_by_role(window, pyatspi.ROLE_PANEL)
    texts = [child.name for child in panel if child.getRole() in (pyatspi.ROLE_LABEL, pyatspi.ROLE_STATIC)]
    expect("shown entry's title", texts[0] if texts else "", entry_title(disc, entries[entry][1]), heard)
    return heard


# The menu may still be animating the choice: the reader reads again until the disc's texts stand, for
# a while.
def read_choice(disc, section, entry, seconds=15):
    window = menu_window()
    end = time.time() + seconds
    while True:
        try:
            heard = compare(window, disc, section, entry)
            break
        except Mismatch as mismatch:
            if time.time() > end:
                dump(window)
                fail(str(mismatch))
            time.sleep(0.3)
    print(f"--- what a screen reader finds (section {section}, entry {entry}) ---")
    dump(window)
    print("---")
    print("\n".join(heard))


def wait_for_file(path, seconds):
    end = time.time() + seconds
    while not os.path.exists(path):
        if time.time() > end:
            fail(f"{path} did not come")
        time.sleep(0.1)


def read_tree(disc, steps, choices):
    for number, choice in enumerate(choices, 1):
        if number > 1:
            wait_for_file(f"{steps}/chosen-{number}", 60)
        section, entry = (int(part) for part in choice.split(":"))
        read_choice(disc, section, entry)
        if number < len(choices):
            open(f"{steps}/read-{number}", "w").write("read\n")


def await_focus(name, ready_file, seconds):
    heard = []

    def on_event(event):
        source = event.source.name if event.source is not None else ""
        heard.append(f"{event.type} {source!r}")
        if source == name and (event.type.startswith("focus") or event.detail1 == 1):
            pyatspi.Registry.stop()

    def ready():
        open(ready_file, "w").write("listening\n")
        return False

    pyatspi.Registry.registerEventListener(on_event, "focus:", "object:state-changed:focused")
    # The menu learns of a new listener over the bus; it is given a moment before the key comes.
    GLib.timeout_add(1000, ready)
    GLib.timeout_add_seconds(seconds, lambda: pyatspi.Registry.stop() or False)
    pyatspi.Registry.start()
    for line in heard:
        print(f"heard: {line}")
    if not any(line.endswith(repr(name)) for line in heard):
        fail(f'no focus event for "{name}"')
    print(f'ok: the focus event names "{name}"')


if __name__ == "__main__":
    if len(sys.argv) >= 5 and sys.argv[1] == "tree":
        read_tree(sys.argv[2], sys.argv[3], sys.argv[4:])
    elif len(sys.argv) == 5 and sys.argv[1] == "focus":
        await_focus(sys.argv[2], sys.argv[3], int(sys.argv[4]))
    else:
        print(__doc__)
        sys.exit(2)
