"""What a screen reader and a user's hands have of the program: its AT-SPI tree, its focus and window
events, keys and clicks through XTest, screenshots."""
import ctypes
import os
import subprocess
import sys
import time
from pathlib import Path

import pyatspi
from gi.repository import Atspi, Gio, GLib

# Item roles: Qt leaves the current item of an unfocused view "focused", so they never say where
# the keyboard focus is.
ITEM_ROLES = {"table cell", "list item", "tree item", "menu item"}


class Failure(Exception):
    """A step that cannot go on."""


def states(obj):
    try:
        return {pyatspi.stateToString(s) for s in obj.getState().getStates()}
    except Exception:
        return set()


def role(obj):
    try:
        return obj.getRoleName()
    except Exception:
        return "?"


def name(obj):
    try:
        return obj.name or ""
    except Exception:
        return ""


def children(obj):
    try:
        return [c for c in obj if c is not None]
    except Exception:
        return []


def showing(obj):
    return "showing" in states(obj)


def walk(obj, prune_hidden=False):
    """Every object under obj, depth first (obj first); hidden branches left out on request."""
    stack = [obj]
    while stack:
        o = stack.pop()
        yield o
        if prune_hidden and o is not obj and not showing(o):
            continue
        stack.extend(reversed(children(o)))


def find(obj, pred, prune_hidden=False):
    for o in walk(obj, prune_hidden):
        if pred(o):
            return o
    return None


def find_all(obj, pred, prune_hidden=False):
    return [o for o in walk(obj, prune_hidden) if pred(o)]


def ancestors(obj):
    out = []
    o = obj
    for _ in range(60):
        try:
            o = o.parent
        except Exception:
            break
        if o is None or role(o) == "application":
            break
        out.append(o)
    return out


def describe(obj):
    return f"[{role(obj)}] {name(obj)!r}" if obj is not None else "nothing"


def extents(obj):
    return obj.queryComponent().getExtents(pyatspi.DESKTOP_COORDS)


def centre(obj):
    e = extents(obj)
    return e.x + e.width // 2, e.y + e.height // 2


def action_names(obj):
    try:
        a = obj.queryAction()
        return [a.getName(i) for i in range(a.nActions)]
    except Exception:
        return []


def do_action(obj, wanted=("press", "click")):
    """Runs the press action as a screen reader does. Only for actions that open no modal window:
    the program answers the call once the action has run."""
    a = obj.queryAction()
    for i in range(a.nActions):
        if a.getName(i).lower() in wanted:
            a.doAction(i)
            return
    raise Failure(f"{describe(obj)} offers no {wanted} action (only {action_names(obj)})")


def text_of(obj):
    try:
        t = obj.queryText()
        return t.getText(0, t.characterCount)
    except Exception:
        return name(obj)


def value_of(obj):
    try:
        return obj.queryValue().currentValue
    except Exception:
        return None


class Hands:
    """Keys and clicks through the XTest extension, a few milliseconds apart as a person's are: sent
    all at once, a key's release can reach the main window before the menu it opened has grabbed
    the keyboard, and the menu closes at once."""

    MODIFIERS = {"ctrl": "Control_L", "shift": "Shift_L", "alt": "Alt_L"}
    GAP = 0.02

    def __init__(self):
        self.x11 = ctypes.CDLL("libX11.so.6")
        self.xtst = ctypes.CDLL("libXtst.so.6")
        x11, xtst = self.x11, self.xtst
        x11.XOpenDisplay.restype = ctypes.c_void_p
        x11.XOpenDisplay.argtypes = [ctypes.c_char_p]
        x11.XStringToKeysym.restype = ctypes.c_ulong
        x11.XStringToKeysym.argtypes = [ctypes.c_char_p]
        x11.XKeysymToKeycode.restype = ctypes.c_ubyte
        x11.XKeysymToKeycode.argtypes = [ctypes.c_void_p, ctypes.c_ulong]
        x11.XFlush.argtypes = [ctypes.c_void_p]
        xtst.XTestFakeKeyEvent.argtypes = [ctypes.c_void_p, ctypes.c_uint, ctypes.c_int, ctypes.c_ulong]
        xtst.XTestFakeMotionEvent.argtypes = [ctypes.c_void_p, ctypes.c_int, ctypes.c_int, ctypes.c_int,
                                              ctypes.c_ulong]
        xtst.XTestFakeButtonEvent.argtypes = [ctypes.c_void_p, ctypes.c_uint, ctypes.c_int, ctypes.c_ulong]
        x11.XSetInputFocus.argtypes = [ctypes.c_void_p, ctypes.c_ulong, ctypes.c_int, ctypes.c_ulong]
        self.dpy = x11.XOpenDisplay(None)
        if not self.dpy:
            raise Failure("cannot open the X display")

    def _send(self, fake):
        fake()
        self.x11.XFlush(self.dpy)
        time.sleep(self.GAP)

    def key(self, keys):
        """One key with its modifiers, as "F5", "alt+f", "ctrl+Tab", "space"."""
        codes = []
        for n in keys.split("+"):
            sym = self.x11.XStringToKeysym(self.MODIFIERS.get(n, n).encode())
            code = self.x11.XKeysymToKeycode(self.dpy, sym) if sym else 0
            if not code:
                raise Failure(f"no key {n!r} on this keyboard")
            codes.append(code)
        for code in codes:
            self._send(lambda c=code: self.xtst.XTestFakeKeyEvent(self.dpy, c, 1, 0))
        for code in reversed(codes):
            self._send(lambda c=code: self.xtst.XTestFakeKeyEvent(self.dpy, c, 0, 0))

    def focus_elsewhere(self):
        """What another program taking the keyboard does: no window of ours has it any more."""
        self._send(lambda: self.x11.XSetInputFocus(self.dpy, 0, 0, 0))  # None, RevertToNone, CurrentTime

    def click(self, x, y, button=1):
        self._send(lambda: self.xtst.XTestFakeMotionEvent(self.dpy, -1, x, y, 0))
        self._send(lambda: self.xtst.XTestFakeButtonEvent(self.dpy, button, 1, 0))
        self._send(lambda: self.xtst.XTestFakeButtonEvent(self.dpy, button, 0, 0))


class Desktop:
    """The program under test, seen through AT-SPI, with its events kept as they come."""

    def __init__(self, proc, shots_dir):
        self.proc = proc
        self.shots_dir = Path(shots_dir)
        self.app = None
        self.focus_events = []  # (role, name, object) of each object that took the focus
        self.window_titles = []  # the title of each window activated
        self.popups_shown = 0  # menus popped up (they are no windows of the application)
        self.hands = Hands()
        self._ctx = GLib.MainContext.default()
        pyatspi.Registry.registerEventListener(self._on_focus, "object:state-changed:focused")
        pyatspi.Registry.registerEventListener(self._on_window, "window:activate")
        pyatspi.Registry.registerEventListener(self._on_showing, "object:state-changed:showing")

    # --- events -------------------------------------------------------------------------------
    def _mine(self, event):
        # The private session bus holds this program alone; the check guards against a stray one.
        try:
            return event.sender.get_process_id() == self.proc.pid
        except Exception:
            return True

    def _on_focus(self, event):
        if event.detail1 != 1 or not self._mine(event):
            return
        src = event.source
        self.focus_events.append((role(src), name(src), src))

    def _on_window(self, event):
        if self._mine(event):
            # Qt sends the window's title with the event: still known when the window is gone.
            self.window_titles.append(str(event.any_data))

    def _on_showing(self, event):
        if event.detail1 == 1 and self._mine(event) and role(event.source) == "popup menu":
            self.popups_shown += 1

    def pump(self, seconds=0.0):
        """Lets queued AT-SPI events arrive, for at least the given time."""
        end = time.monotonic() + seconds
        while True:
            while self._ctx.iteration(False):
                pass
            if time.monotonic() >= end:
                return
            time.sleep(0.01)

    # --- the program ----------------------------------------------------------------------------
    def alive(self):
        return self.proc.poll() is None

    def wait_for(self, what, pred, timeout, state=None):
        """Polls pred until it gives something true; the program must stay alive meanwhile. On a
        timeout, state() (when given) says what was there instead."""
        end = time.monotonic() + timeout
        while True:
            self.pump()
            try:
                got = pred()
            except Exception:  # objects vanish while windows close
                got = None
            if got:
                return got
            if not self.alive():
                raise Failure(f"the program ended (status {self.proc.returncode}) while waiting for {what}")
            if time.monotonic() >= end:
                seen = ""
                if state is not None:
                    try:
                        seen = f" ({state()})"
                    except Exception as e:
                        seen = f" (state unknown: {e})"
                raise Failure(f"timed out after {timeout:.0f} s waiting for {what}{seen}")
            time.sleep(0.03)

    def attach(self, timeout):
        def look():
            desktop = pyatspi.Registry.getDesktop(0)
            for a in children(desktop):
                try:
                    if a.get_process_id() == self.proc.pid and a.childCount > 0:
                        return a
                except Exception:
                    continue
            return None

        self.app = self.wait_for("the program on the accessibility bus", look, timeout)
        # No cache: every read asks the program, so polls see changes without waiting for events.
        Atspi.Accessible.set_cache_mask(self.app, Atspi.Cache.NONE)
        Atspi.Accessible.clear_cache(self.app)
        return self.app

    def windows(self):
        return children(self.app)

    def main_frame(self):
        for w in self.windows():
            if role(w) == "frame" and name(w) == "Lumavista":
                return w
        raise Failure("no main window named Lumavista")

    def dialogs(self):
        return [w for w in self.windows() if role(w) in ("dialog", "alert", "file chooser") and showing(w)]

    # --- hands ----------------------------------------------------------------------------------
    def key(self, keys):
        self.hands.key(keys)
        self.pump()

    def click(self, x, y, right=False):
        self.hands.click(x, y, 3 if right else 1)
        self.pump()

    def focus_elsewhere(self):
        self.hands.focus_elsewhere()
        self.pump()

    def click_on(self, obj, right=False):
        x, y = centre(obj)
        self.click(x, y, right)

    def screenshot(self, label):
        self.shots_dir.mkdir(parents=True, exist_ok=True)
        safe = "".join(c if c.isalnum() or c in "-_" else "_" for c in label)[:60]
        path = self.shots_dir / f"{len(list(self.shots_dir.iterdir())):02d}-{safe}.png"
        try:
            subprocess.run(["import", "-window", "root", str(path)], check=True, timeout=20,
                           stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
            return path
        except Exception as e:  # a screenshot is a help, never the verdict
            print(f"    (no screenshot: {e})", file=sys.stderr)
            return None


def screen_reader_on():
    """Says on the session bus that a screen reader runs, as a screen reader does: Qt turns its
    accessibility on for that, with no variable of its own."""
    bus = Gio.bus_get_sync(Gio.BusType.SESSION, None)
    bus.call_sync("org.a11y.Bus", "/org/a11y/bus", "org.freedesktop.DBus.Properties", "Set",
                  GLib.Variant("(ssv)", ("org.a11y.Status", "ScreenReaderEnabled", GLib.Variant("b", True))),
                  None, Gio.DBusCallFlags.NONE, 10000, None)


def session_env():
    """Checks that the X display and the session bus are there."""
    for var in ("DISPLAY", "DBUS_SESSION_BUS_ADDRESS"):
        if not os.environ.get(var):
            raise Failure(f"{var} is not set: run under dbus-run-session and xvfb-run")
