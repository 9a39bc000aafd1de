#!/usr/bin/python3
# What a screen reader finds, through the real AT-SPI stack: the program runs
# with accessibility on, on a private session bus (dbus-run-session), and this
# script reads it as Orca would. Keys go through xdotool, as a user's would.
#   test_screen_reader.py PROGRAM
import os
import shutil
import subprocess
import sys
import tempfile
import time

import pyatspi
from gi.repository import GLib

BAR = ["User-defined File1", "User-defined File2", "User-defined File3", "Addess File", "ToDo File", "Date",
       "Time", "DateTime", "Glossary1", "Glossary2", "Glossary3", "Signature", "Calculator", "Elapsed Time",
       "Auto Dialer"]
# The keys that open each dialog, and the fields a screen reader must name in it.
DIALOGS = [
    (["alt+o", "s"], ["Auto Save Minutes"]),
    (["alt+o", "p"], ["Beep Seconds"]),
    (["alt+o", "g"], ["Glossary 1", "Glossary 2", "Glossary 3", "Signature"]),
    (["alt+o", "q"], ["F1 File", "F2 File", "F3 File", "Browse For F1 File", "Browse For F2 File",
                      "Browse For F3 File"]),
    (["ctrl+f"], ["Find What"]),
]
failures = []


def check(condition, what):
    if not condition:
        failures.append(what)
        print("FAIL: " + what, file=sys.stderr)


def wait_for(find, what, seconds=20):
    deadline = time.monotonic() + seconds
    while time.monotonic() < deadline:
        found = find()
        if found:
            return found
        time.sleep(0.1)
    sys.exit("FAIL: no " + what)


def named(root, name, roles=None):
    return pyatspi.findDescendant(
        root, lambda node: node is not None and node.name == name and (roles is None or node.getRole() in roles))


def keys(*sequence):
    for key in sequence:
        subprocess.run(["xdotool", "key", "--clearmodifiers", key], check=True)


def selected_text(node):
    text = node.queryText()
    return text.getText(*text.getSelection(0)) if text.getNSelections() else None


def events_while(seconds, *kinds, keys_then=()):
    """The events of these kinds the program sends in the given time, the keys
    pressed once it listens: (kind, role, name, the text selected in the source)."""
    seen = []

    def heard(event):
        if event.host_application is not None and event.host_application.get_process_id() == program.pid:
            selected = selected_text(event.source) if event.type.startswith("object:text-") else None
            seen.append((event.type, event.source.getRole(), event.source.name, selected))

    pyatspi.Registry.registerEventListener(heard, *kinds)
    # The program learns of a new listener a moment later.
    GLib.timeout_add(500, lambda: keys(*keys_then))
    GLib.timeout_add(int(seconds * 1000), pyatspi.Registry.stop)
    pyatspi.Registry.start()
    pyatspi.Registry.deregisterEventListener(heard, *kinds)
    return seen


home = tempfile.mkdtemp(prefix="scriblet-reader-")
# Auto save every minute: an idle minute after an edit holds a save, which changes nothing anyone sees.
os.makedirs(home + "/config/scriblet")
with open(home + "/config/scriblet/SCRIBLET.INI", "w") as ini:
    ini.write("[SCRIBLET]\nAutoSave=1\nAutoSaveTime=1\n")
note = home + "/data/scriblet/SCRBLT20.SCB"
environment = dict(os.environ, HOME=home, XDG_CONFIG_HOME=home + "/config", XDG_DATA_HOME=home + "/data",
                   XDG_STATE_HOME=home + "/state", QT_LINUX_ACCESSIBILITY_ALWAYS_ON="1")
program = subprocess.Popen([sys.argv[1]], env=environment)
try:
    app = wait_for(lambda: next((a for a in pyatspi.Registry.getDesktop(0)
                                 if a is not None and a.get_process_id() == program.pid), None), "program on the bus")
    window = wait_for(lambda: next((w for w in app if w.getRole() == pyatspi.ROLE_FRAME), None), "main window")
    for name in BAR:
        # Qt's AT-SPI bridge has no toggle button: a toggle is a check box, checked while it is on.
        role = pyatspi.ROLE_CHECK_BOX if name == "Elapsed Time" else pyatspi.ROLE_PUSH_BUTTON
        check(named(window, name, {role}) is not None, "bar button " + name)
    editor = named(window, "SCRBLT20.SCB")
    check(editor is not None and "Welcome to Scriblet!" in editor.queryText().getText(0, -1), "the note's editor")
    keys("x")  # a note without changes is not saved
    time.sleep(3)  # the edit is heard, and its text kept against a crash, before the idle minute
    saved_before = os.path.getmtime(note) if os.path.exists(note) else None
    idle = events_while(62, "object", "window", "focus")
    check(os.path.exists(note) and os.path.getmtime(note) != saved_before, "an automatic save in the idle minute")
    check(not idle, "events in an idle minute: %s" % idle[:5])

    for opening, fields in DIALOGS:
        keys(*opening)
        dialog = wait_for(lambda: next((w for w in app if w.getRole() == pyatspi.ROLE_DIALOG), None),
                          "dialog after " + " ".join(opening))
        for field in fields:
            check(named(dialog, field) is not None, dialog.name + ": field " + field)
        keys("Escape")
        wait_for(lambda: all(w.getRole() != pyatspi.ROLE_DIALOG for w in app), "dialog closed")

    wait_for(lambda: window.getState().contains(pyatspi.STATE_ACTIVE), "the main window active again")
    keys("F1")
    helper = wait_for(lambda: next((w for w in app if w.name.startswith("Scriblet Help")), None), "help window")
    page = wait_for(lambda: named(helper, "Help Page", {pyatspi.ROLE_DOCUMENT_FRAME}), "help page as a document")
    check("Scriblet is a small note taker." in page.queryText().getText(0, -1), "the help page's text")
    text_events = ("object:text-caret-moved", "object:text-selection-changed")
    heard = events_while(2, *text_events, keys_then=["Tab"])
    check(any(e[2] == "Help Page" and e[3] == "Notes And Quick Files" for e in heard), "Tab to a link: %s" % heard)
    focus_events = ("focus", "object:state-changed:focused", *text_events)
    # Search holds a word, which Ctrl+F selects once the move there is heard.
    events_while(2, *focus_events, keys_then=["ctrl+f", "k", "shift+Tab"])
    heard = [e[0] for e in events_while(2, *focus_events, keys_then=["ctrl+f"]) if e[2] == "Search"]
    check(heard[:1] in (["focus:"], ["object:state-changed:focused"]), "Ctrl+F to Search: %s" % heard)
    keys("Escape")
    wait_for(lambda: not helper.getState().contains(pyatspi.STATE_VISIBLE), "help closed")

    elapsed = named(window, "Elapsed Time", {pyatspi.ROLE_CHECK_BOX})
    heard = events_while(4, "object:property-change:accessible-name", "object:state-changed:checked", keys_then=["ctrl+e"])
    check(("object:state-changed:checked", pyatspi.ROLE_CHECK_BOX, "Elapsed Time", None) in heard, "ET's change told")
    check(elapsed.getState().contains(pyatspi.STATE_CHECKED), "ET checked while the stopwatch runs")
    changes = [(role, name) for kind, role, name, _ in heard if kind.startswith("object:property-change")]
    # The stopwatch's digits change every second and are heard; the button's blinking is not.
    check(len([c for c in changes if c[0] == pyatspi.ROLE_LABEL]) >= 2, "the digits' changes: %s" % changes)
    check(all(c[0] not in (pyatspi.ROLE_PUSH_BUTTON, pyatspi.ROLE_CHECK_BOX) for c in changes),
          "a bar button's name changed: %s" % changes)
    keys("ctrl+e")
    wait_for(lambda: not elapsed.getState().contains(pyatspi.STATE_CHECKED), "ET unchecked once stopped", 5)
finally:
    program.terminate()
    program.wait(10)
    shutil.rmtree(home, ignore_errors=True)
sys.exit(1 if failures else 0)
