#!/usr/bin/python3
"""A user's session with the program, run inside the private X server and session bus that
run_e2e.py sets up:  scenario.py BINARY WORK_FOLDER.

Each check prints ok or FAIL; a failure takes a screenshot into WORK_FOLDER/shots and the run goes
on where it can, so one run reports every problem it meets."""
import configparser
import hashlib
import os
import re
import signal
import subprocess
import sys
import time
import traceback
import unicodedata
from pathlib import Path

HERE = Path(__file__).resolve().parent
sys.path.insert(0, str(HERE))

import later  # noqa: E402
import media  # noqa: E402
import run_e2e  # noqa: E402
from desktop import (ITEM_ROLES, Desktop, Failure, ancestors, children, describe, do_action,  # noqa: E402
                     extents, find, name, role, screen_reader_on, session_env, showing, states, text_of, value_of, walk)

# Lines the program may write on stderr, each with the reason it is harmless.
ACCEPTED_STDERR = [
    (r"^This plugin does not support propagateSizeHints\(\)$",
     "Qt's X11 plugin without a window manager (Xvfb) cannot pass size hints"),
    (r"^QAccessibleTable::child: Invalid index at: \d+ \d+$",
     "the screen reader asked for a cell by a row of a list refilled since (a folder or a search changed it); "
     "Qt answers with no cell"),
]

SCAN_BUTTON = "Explorer le(s) disque(s) / Le dossier"
PLAY_BUTTON = "Jouer le fichier/Rafraîchir l'image"
STOP_BUTTON = "Arrêter la lecture"
LOOP_BUTTON = "Boucle"
VIEWER_PAGES = ["VIDE", "ANI", "AVI_WIN", "AVI_VIDEO", "BMP", "JPG", "MID", "WAV", "GIF", "PCX", "TIF",
                "WMF", "EMF", "ICO"]
TAB_CODES = ["ANI", "AVI", "BMP", "EMF", "GIF", "ICO", "JPG", "MID", "PCX", "TIF", "WAV", "WMF", "PNG", "WEBP", "MP3",
             "OGG", "FLAC", "MP4", "MKV"]
# Settings a session writes (the start, the scan mode, the window on closing).
SESSION_KEYS = ["First_Time", "Scan_Type", "Icon_Style", "TreeView_Width", "WindowLeft", "Window_Top",
                "Window_Width", "Window_Height", "Window_State"]
# "Size:" has no French caption: it keeps its design caption in both languages.
FILE_LABELS = ["Type:", "Emplacement:", "Size:", "Nom MS-DOS:", "Créé le:", "Attributs:"]
# The buttons of the main tool bar, all pictures without a caption: a screen reader has their hint.
MAIN_BAR = [SCAN_BUTTON, "Réduire l'arborescence", "Développer l'arborescence",
            "Remonter d'un niveau dans l'arborescence", "Grandes icônes", "Petites icônes", "Liste", "Détails"]
BUTTON_ROLES = {"push button", "check box", "toggle button", "radio button"}


class Run:
    def __init__(self, binary, work):
        self.binary = binary
        self.work = Path(work)
        self.failures = []
        self.passed = 0
        self.desk = None
        self.proc = None
        self.stderr_path = self.work / "stderr.txt"
        self._named = {}  # (name, roles) -> the object last found in the main window
        self.window_geometry = None  # the main window's place and size when it was closed

    # --- reporting ------------------------------------------------------------------------------
    def check(self, ok, what, detail=""):
        if ok:
            self.passed += 1
            print(f"  ok    {what}", flush=True)
            return True
        shot = self.desk.screenshot(what) if self.desk and self.desk.alive() else None
        self.failures.append((what, detail))
        print(f"  FAIL  {what}" + (f"\n        {detail}" if detail else ""), flush=True)
        if shot:
            print(f"        screenshot: {shot}", flush=True)
        return False

    def step(self, title, fn, critical=False):
        print(f"\n== {title}", flush=True)
        started = time.monotonic()
        try:
            fn()
        except Failure as e:
            self.check(False, f"{title}: cannot go on", str(e))
            if critical:
                raise
        except Exception as e:  # a broken step must not hide the others
            self.check(False, f"{title}: error in the test", "".join(traceback.format_exception(e)).strip())
            if critical:
                raise Failure(str(e)) from e
        finally:
            print(f"   ({time.monotonic() - started:.1f} s)", flush=True)
            self.close_stray_dialogs()

    # --- the program ----------------------------------------------------------------------------
    def start(self):
        c = self.work / "c"
        screen_reader_on()
        env = dict(os.environ,
                   QT_QPA_PLATFORM="xcb",
                   LUMAVISTA_DRIVES=f"C={c}",
                   XDG_RUNTIME_DIR=str(self.work / "runtime"),
                   SDL_AUDIODRIVER="dummy",
                   LANG="C.UTF-8", LC_ALL="C.UTF-8")
        self.proc = subprocess.Popen([self.binary], env=env, stdout=subprocess.DEVNULL,
                                     stderr=open(self.stderr_path, "wb"), start_new_session=True)
        self.desk = Desktop(self.proc, self.work / "shots")

    def stop(self):
        if self.proc and self.proc.poll() is None:
            os.killpg(self.proc.pid, signal.SIGKILL)
            self.proc.wait()

    def close_stray_dialogs(self):
        """A window left open by a failed step would block the next steps."""
        if not self.desk or not self.desk.app or not self.desk.alive():
            return
        for _ in range(3):
            stray = self.desk.dialogs()
            if not stray:
                return
            for d in stray:
                print(f"        closing a window left open: {describe(d)} {self.texts_of(d)}")
                buttons = [b for b in walk(d) if role(b) == "push button" and showing(b)
                           and name(b) in ("OK", "Annuler", "Fermer", "Non", "Cancel")]
                try:
                    if buttons:
                        do_action(buttons[0])
                    else:
                        self.activate_window(d)
                        self.desk.key("Escape")
                except Exception:
                    pass
            self.desk.pump(0.5)

    # --- the window -------------------------------------------------------------------------------
    def frame(self):
        return self.desk.main_frame()

    def activate_window(self, window, timeout=15):
        """Without a window manager a window becomes active when clicked."""
        if "active" in states(window):
            return
        self.desk.wait_for(f"{describe(window)} on show", lambda: showing(window), timeout)
        # A label: a click there runs nothing.
        target = find(window, lambda o: role(o) == "label" and showing(o), prune_hidden=True) or window
        if role(window) == "frame":
            # The status bar: a click there runs no command.
            bar = find(window, lambda o: role(o) == "status bar")
            labels = [c for c in children(bar) if role(c) == "label" and showing(c)] if bar else []
            target = labels[-1] if labels else (bar or window)
        self.desk.click_on(target)
        self.desk.wait_for(f"{describe(window)} to become active", lambda: "active" in states(window), timeout)

    def activate(self):
        self.activate_window(self.frame())

    def named(self, text, roles=None, root=None):
        """The first object with that name (and one of those roles) under root, the main window by
        default. Objects of the main window are remembered: a walk of the whole window takes a while."""
        wanted = lambda o: name(o) == text and (roles is None or role(o) in roles)  # noqa: E731
        if root is not None:
            return find(root, wanted)
        key = (text, tuple(sorted(roles)) if roles else None)
        known = self._named.get(key)
        if known is not None and wanted(known):
            return known
        found = find(self.frame(), wanted)
        if found is not None:
            self._named[key] = found
        return found

    def tree(self, tab="TOUS"):
        return self.named("Arborescence " + tab, roles={"tree", "tree table", "table"})

    def list_pane(self, tab="TOUS"):
        return self.named("Liste " + tab)

    def list_items(self, tab="TOUS"):
        """The items of the list's view on show (the list holds one view per style), in row order."""
        pane = self.list_pane(tab)
        views = [v for v in children(pane) if showing(v)] if pane else []
        # Qt reports an item per row and column; the columns the icon styles leave out are not showing.
        return [o for o in children(views[0]) if role(o) == "list item" and showing(o)] if len(views) == 1 else []

    def selected_item(self, tab="TOUS"):
        for o in self.list_items(tab):
            if "selected" in states(o):
                return name(o)
        return None

    def tree_cells(self, tab="TOUS"):
        t = self.tree(tab)
        return [o for o in children(t) if role(o) in ("table cell", "tree item")] if t else []

    def selected_node(self, tab="TOUS"):
        for c in self.tree_cells(tab):
            if "selected" in states(c):
                return name(c)
        return None

    def viewer_stack(self):
        vide = self.named("VIDE", roles={"filler", "panel"})
        if vide is None:
            raise Failure("no viewer page named VIDE")
        return vide.parent

    def viewer_page(self):
        shown = [name(c) for c in children(self.viewer_stack()) if showing(c)]
        return shown[0] if len(shown) == 1 else None

    def viewer_toolbar(self):
        button = self.named("Mode aperçu", roles={"push button"})
        if button is None:
            button = find(self.frame(), lambda o: role(o) == "push button" and "aperçu" in name(o).casefold())
        if button is None:
            raise Failure("no viewer button whose name says Aperçu")
        return button.parent

    def drive_buttons(self):
        """The buttons of the drive bar: named by their letter, alone or followed by ':'."""
        return [o for o in walk(self.frame())
                if role(o) in ("check box", "toggle button", "push button")
                and re.fullmatch(r"[A-Z](:.*)?", name(o))]

    def status_text(self):
        bar = find(self.frame(), lambda o: role(o) == "status bar")
        return " | ".join(text_of(c) for c in children(bar) if role(c) == "label") if bar else ""

    def texts_of(self, window):
        return [name(o) for o in walk(window, prune_hidden=True) if role(o) in ("label", "text") and name(o)][:12]

    def wait_dialog(self, what, pred, timeout=20):
        return self.desk.wait_for(what, lambda: next((d for d in self.desk.dialogs() if pred(name(d))), None),
                                  timeout)

    def wait_no_dialog(self, what, timeout=20):
        self.desk.wait_for(what, lambda: not self.desk.dialogs(), timeout)

    def last_focus(self):
        """The object of the last focus event that is not an item of a view (what Tab moved to)."""
        for r, n, obj in reversed(self.desk.focus_events):
            if r not in ITEM_ROLES:
                return obj
        return None

    # --- keyboard in the list -----------------------------------------------------------------------
    def focus_list(self, tab="TOUS"):
        """Gives the keyboard focus to the file list, with Tab as a user does."""
        self.activate()
        pane = self.list_pane(tab)
        for _ in range(6):
            if "focused" in states(pane):
                return
            self.tab_key()
        if "focused" not in states(pane):
            raise Failure(f"Tab never gave the focus to {describe(pane)}")

    def tab_key(self, timeout=15):
        """Presses Tab and waits for the focus to move (to more than an item of a view)."""
        before = len(self.desk.focus_events)
        self.desk.key("Tab")
        self.desk.wait_for("Tab to move the focus",
                           lambda: any(r not in ITEM_ROLES for r, _, _ in self.desk.focus_events[before:]), timeout)

    def select_file(self, file_name, tab="TOUS"):
        """Moves the selection with the arrows to a file of the list (the list has the focus): down
        from the file selected now, or from the first one."""
        names = [name(i) for i in self.list_items(tab)]
        if file_name not in names:
            raise Failure(f"{file_name} is not in the list: {names}")
        current = self.selected_item(tab)
        if current is None:
            # The focused item of a list without a selection is not selected by Home when it is the
            # first one already: Space selects it.
            self.desk.key("space")
            current = self.desk.wait_for("Space to select the focused file", lambda: self.selected_item(tab), 15)
        if names.index(current) > names.index(file_name):
            self.desk.key("Home")
        for _ in range(len(names) + 1):
            current = self.desk.wait_for("a selected file", lambda: self.selected_item(tab), 15)
            if current == file_name:
                return
            self.desk.key("Down")
            self.desk.wait_for("the selection to move", lambda: self.selected_item(tab) != current, 15)
        raise Failure(f"{file_name} never got selected with the arrows")

    # --- the steps ------------------------------------------------------------------------------------
    def attach(self):
        self.start()
        self.desk.attach(timeout=60)
        self.desk.wait_for("the main window on show", lambda: showing(self.frame()), 30)
        print(f"  the program is on the accessibility bus (pid {self.proc.pid})")

    def names_for_screen_readers(self):
        f = self.frame()
        on_show = [(o, role(o), name(o)) for o in walk(f, prune_hidden=True) if showing(o)]
        buttons = [(o, n) for o, r, n in on_show if r in BUTTON_ROLES]
        unnamed = [f"{describe(b)} in {describe(b.parent)} of {describe(b.parent.parent)}"
                   for b, n in buttons if not n.strip()]
        self.check(not unnamed, f"each of the {len(buttons)} buttons on show has a name", "; ".join(unnamed))
        bars = [o for o, r, _ in on_show if r == "tool bar"]
        main_bar = next((b for b in bars if any(name(c) == SCAN_BUTTON for c in children(b))), None)
        in_bar = [name(c) for c in children(main_bar) if role(c) in BUTTON_ROLES and showing(c)] if main_bar else []
        self.check(in_bar == MAIN_BAR, "the main tool bar's picture buttons are named by their hints, in order",
                   f"heard: {in_bar}")
        print("  the main tool bar: " + " | ".join(in_bar))
        toolbar = self.viewer_toolbar()
        for n in ["Premier fichier", "Fichier précédent", "Fichier suivant", "Dernier fichier", PLAY_BUTTON,
                  STOP_BUTTON, "Mode aperçu", LOOP_BUTTON, "Etirer l'image", "Mosaïque"]:
            self.check(self.named(n, root=toolbar) is not None, f"the viewer tool bar has a button named {n!r}")
        everything = [(o, role(o), name(o)) for o in walk(f)]
        for tab in ["TOUS"] + TAB_CODES:
            t = [r for o, r, n in everything if n == "Arborescence " + tab]
            # The list, and the views inside it once shown (the one on show takes the focus).
            l = [r for o, r, n in everything if n == "Liste " + tab]
            self.check(t in (["tree"], ["tree table"]) and l.count("layered pane") == 1
                       and set(l) <= {"layered pane", "list", "tree", "table", "tree table"},
                       f"the {tab} tab has one tree named 'Arborescence {tab}' and one list named 'Liste {tab}'",
                       f"trees: {t}, lists: {l}")
        self.check(showing(self.tree()) and showing(self.list_pane()), "the TOUS tree and list are on show")
        pages = [name(c) for c in children(self.viewer_stack())]
        missing = [p for p in VIEWER_PAGES if p not in pages]
        self.check(not missing, "the viewer's pages are named after their type", f"missing: {missing}; found {pages}")
        self.check(self.viewer_page() == "VIDE", "the viewer shows its empty page at the start",
                   f"on show: {self.viewer_page()}")

    def drive_bar(self):
        drives = self.drive_buttons()
        c = [b for b in drives if name(b) == "C" or name(b).startswith("C:")]
        if not self.check(len(c) == 1, "the drive bar has one button for drive C:",
                          f"drive buttons: {[name(b) for b in drives]}"):
            return
        c = c[0]
        self.check(showing(c), "the C: button is on show")
        others = [name(b) for b in drives if b is not c and showing(b)]
        self.check(not others, "no button is on show for a letter that is no drive", f"on show: {others}")
        pressed = lambda: bool({"checked", "pressed"} & states(c))  # noqa: E731
        self.check(pressed(), "the C: button reports itself pressed (the drive will be scanned)",
                   f"states: {sorted(states(c))}")
        self.desk.click_on(c)
        try:
            self.desk.wait_for("C: to report itself not pressed", lambda: not pressed(), 15)
            self.check(True, "a click on C: is reported as the button released")
        except Failure as e:
            self.check(False, "a click on C: is reported as the button released", str(e))
        self.desk.click_on(c)
        self.desk.wait_for("C: to report itself pressed again", pressed, 15)
        self.check(True, "a second click on C: is reported as the button pressed")

    def scan(self):
        self.activate()
        before = len(self.desk.window_titles)
        self.desk.key("F5")
        self.desk.wait_for("the tree TOUS to show the folder " + media.FOLDER,
                           lambda: any(name(c) == media.FOLDER for c in self.tree_cells()), 60)
        self.check(True, f"F5 scans drive C: and the tree TOUS shows {media.FOLDER}")
        try:
            self.wait_no_dialog("the scan window to close by itself", 30)
            self.check(True, "the scan window closes by itself")
        except Failure as e:
            self.check(False, "the scan window closes by itself",
                       f"{e}; open: {[describe(d) for d in self.desk.dialogs()]}")
        self.desk.pump(0.2)
        titles = self.desk.window_titles[before:]
        scan_windows = [t for t in titles if t and t != "Lumavista"]
        self.check(bool(scan_windows), "a scan window showed during the scan", f"windows activated: {titles}")
        print(f"  windows activated during the scan: {titles}")
        cells = [name(c) for c in self.tree_cells()]
        self.check(media.OTHER_FOLDER in cells, f"the tree TOUS also shows {media.OTHER_FOLDER}", f"cells: {cells}")

    def page_tabs(self):
        return {name(t): t for t in walk(self.frame()) if role(t) == "page tab"}

    def tabs_before_scan(self):
        # Nothing found yet: every type tab is hidden, and a screen reader must not hear it.
        tabs = self.page_tabs()
        heard = [n for n, t in tabs.items() if showing(t)]
        self.check(heard == ["TOUS"], "before a scan only the TOUS tab is reported (the hidden type tabs are not)",
                   f"page tabs reported showing: {heard}")
        self.check("TOUS" in tabs and "selected" in states(tabs["TOUS"]), "the TOUS tab is reported selected")

    def type_tabs(self):
        tabs = self.page_tabs()
        # The pane's order: TOUS first, the twelve types alphabetically, then the later seven.
        order = [n for n in tabs if showing(tabs[n])]
        expected = media.TABS_AFTER_SCAN
        self.check(order == expected, "after the scan every type found has its tab on show, in order",
                   f"on show: {order}, expected {expected}")
        self.check("selected" in states(tabs.get("TOUS")), "the TOUS tab is reported selected")
        off_screen = [n for n in order if not self.on_screen(tabs[n])]
        self.check(not off_screen, "every tab on show lies inside the window (tabs wrap into rows)",
                   f"outside: {off_screen}")
        # A screen reader's press on a tab shows its page.
        do_action(tabs["BMP"])
        try:
            self.desk.wait_for("the BMP page", lambda: showing(self.list_pane("BMP")), 15)
        except Failure:
            pass
        self.check(showing(self.tree("BMP")) and showing(self.list_pane("BMP")),
                   "pressing the BMP tab shows 'Arborescence BMP' and 'Liste BMP'")
        self.check(not showing(self.tree("TOUS")), "the TOUS tree is no longer reported showing")
        self.check("selected" in states(tabs["BMP"]) and "selected" not in states(tabs["TOUS"]),
                   "the BMP tab is now the selected one")
        cells = [name(c) for c in self.tree_cells("BMP")]
        self.check(media.FOLDER in cells and media.OTHER_FOLDER in cells,
                   "the BMP tree holds both folders with a bitmap", f"cells: {cells}")
        do_action(tabs["TOUS"])
        self.desk.wait_for("the TOUS page", lambda: showing(self.list_pane("TOUS")), 15)

    def on_screen(self, obj):
        e, w = extents(obj), extents(self.frame())
        return (e.width > 0 and e.height > 0 and e.x >= w.x and e.y >= w.y and e.x + e.width <= w.x + w.width
                and e.y + e.height <= w.y + w.height)

    def browse_folder(self):
        self.activate()
        tree = self.tree()
        self.desk.wait_for("the tree TOUS to have the focus", lambda: "focused" in states(tree), 15)
        self.check(True, "the tree TOUS has the focus once the window is active")
        cells = self.tree_cells()
        for _ in range(len(cells) + 1):
            current = self.selected_node()
            if current == media.FOLDER:
                break
            self.desk.key("Down")
            self.desk.wait_for("the tree's selection to move", lambda: self.selected_node() != current, 15)
        self.check(self.selected_node() == media.FOLDER, f"the arrows select {media.FOLDER} in the tree",
                   f"selected: {self.selected_node()}")
        self.desk.wait_for("the list to fill", lambda: len(self.list_items()) >= len(media.FILES), 20)
        items = sorted(name(i) for i in self.list_items())
        self.check(items == sorted(media.FILES), "the list shows the media files of the folder, no other file",
                   f"list: {items}")
        accented = [i for i in items if unicodedata.normalize("NFC", i) == "Été.jpg"]
        self.check(accented == ["Été.jpg"], "the accented name reads 'Été.jpg' (composed)", f"{accented!r}")
        status = self.status_text()
        self.check("C:\\" + media.FOLDER in status, "the status bar names the folder", status)

    def each_type(self):
        self.focus_list()
        self.check(True, "Tab from the tree gives the focus to the list")
        # In the list's order: one Down from each file to the next.
        for file_name in [name(i) for i in self.list_items()]:
            self.select_file(file_name)
            if not self.expect_page(file_name, media.FILES[file_name]):
                self.focus_list()

    def expect_page(self, file_name, page):
        """Checks that the file just selected shows its viewer page, and no window; false otherwise."""
        try:
            got = self.desk.wait_for(f"the viewer page {page}",
                                     lambda: (self.viewer_page() or "").startswith(page) and self.viewer_page(), 20)
        except Failure:
            got = self.viewer_page()
        errors = self.desk.dialogs()
        shown = str(got).startswith(page) and not errors
        self.check(shown, f"selecting {file_name} shows the viewer page {page}",
                   f"page on show: {got}; windows: {[(describe(d), self.texts_of(d)) for d in errors]}")
        if errors:
            self.close_stray_dialogs()
        return shown

    def wav_page(self):
        page = self.named("WAV", roles={"filler", "panel"}, root=self.viewer_stack())
        bar = find(page, lambda o: role(o) == "progress bar")
        box = find(page, lambda o: role(o) == "panel")
        labels = [c for c in children(box) if role(c) == "label"]
        if bar is None or len(labels) != 4:
            raise Failure(f"the WAV page has no bar and four time labels: {[describe(c) for c in children(box)]}")
        return bar, labels[3]  # the played time, empty when nothing plays

    def play_wav(self):
        self.focus_list()
        self.select_file("bip.wav")
        self.desk.wait_for("the WAV page", lambda: self.viewer_page() == "WAV", 20)
        bar, played = self.wav_page()

        def playing():
            # The played time reads "0 sec", "1 sec" while playing; once cleared, the empty label is
            # heard by its box's title.
            return (value_of(bar) or 0) > 0 or re.search(r"\d", name(played)) is not None

        # The selection plays the file once; the test's own play starts when that one is over.
        self.desk.wait_for("the first play to end", lambda: not playing(), 30)
        toolbar = self.viewer_toolbar()
        loop = self.named(LOOP_BUTTON, root=toolbar)
        play = self.named(PLAY_BUTTON, root=toolbar)
        stop = self.named(STOP_BUTTON, root=toolbar)
        # Looping, the sound plays until stopped: a slow poll cannot miss it.
        self.desk.click_on(loop)
        self.desk.wait_for("Boucle reported pressed", lambda: "checked" in states(loop) or "pressed" in states(loop), 15)
        self.check("sensitive" in states(play), "the play button is enabled on a sound")
        self.desk.click_on(play)
        try:
            self.desk.wait_for("the played time or the bar to move", playing, 20)
            self.check(True, "the play button plays the WAV (played time and bar move)")
        except Failure as e:
            self.check(False, "the play button plays the WAV (played time and bar move)", str(e))
        self.check("sensitive" in states(stop), "the stop button is enabled while the sound plays")
        self.desk.click_on(stop)
        try:
            self.desk.wait_for("the play to stop", lambda: not playing(), 20)
            self.desk.pump(1.5)  # looping: a stop that did not hold would have started again by now
            self.check(not playing(), "the stop button stops the looping sound")
        except Failure as e:
            self.check(False, "the stop button stops the looping sound", str(e))
        self.desk.click_on(loop)
        self.desk.wait_for("Boucle reported released", lambda: not ({"checked", "pressed"} & states(loop)), 15)

    def preview(self):
        for file_name, title in (("photo.bmp", "photo.bmp (64 x 48)"), ("Été.jpg", "Été.jpg (80 x 60)")):
            self.focus_list()
            self.select_file(file_name)
            kind = media.FILES[file_name]
            self.desk.wait_for(f"the {kind} page", lambda: self.viewer_page() == kind, 20)
            toolbar = self.viewer_toolbar()
            buttons = [b for b in children(toolbar) if "aperçu" in name(b).casefold()]
            if not self.check(len(buttons) == 1, "the viewer tool bar has one preview button",
                              f"{[name(b) for b in buttons]}"):
                return
            button = buttons[0]
            print(f"  the preview button is named {name(button)!r}")
            self.check("sensitive" in states(button), f"the preview button is enabled on {file_name}")
            self.desk.click_on(button)
            try:
                window = self.wait_dialog(f"a preview window for {file_name}",
                                          lambda n: n.startswith(file_name), 20)
            except Failure as e:
                self.check(False, f"the preview button opens a preview of {file_name}",
                           f"{e}; windows: {[describe(w) for w in self.desk.windows()]}")
                continue
            self.check(name(window) == title, f"the preview window of {file_name} is titled {title!r}",
                       f"title: {name(window)!r}")
            self.activate_window(window)
            self.desk.key("Escape")
            try:
                self.wait_no_dialog("the preview to close", 15)
                self.check(True, f"Escape closes the preview of {file_name}")
            except Failure as e:
                self.check(False, f"Escape closes the preview of {file_name}", str(e))

    def open_menu_and_press(self, letter, opener):
        """Opens a menu (opener), waits for it on screen, then presses an item's mnemonic."""
        before = self.desk.popups_shown
        opener()
        self.desk.wait_for("the menu on show", lambda: self.desk.popups_shown > before, 15)
        self.desk.key(letter)

    def file_menu_item(self, caption):
        menu = self.named("Fichier", roles={"menu item", "menu"})
        return find(menu, lambda o: role(o) == "menu item" and name(o) == caption) if menu else None

    def properties(self):
        # File > Propriétés with a file selected in the list.
        self.focus_list()
        self.select_file("Été.jpg")
        self.open_menu_and_press("p", lambda: self.desk.key("alt+f"))
        window = self.wait_dialog("a property window", lambda n: n.startswith("Propriétés"), 20)
        self.check(name(window) == "Propriétés de Été.jpg",
                   "File > Propriétés opens the property window of the selected file",
                   f"title: {name(window)!r}")
        self.activate_window(window)
        labels = [name(o) for o in walk(window, prune_hidden=True)
                  if role(o) == "label" and showing(o) and name(o).endswith(":")]
        missing = [l for l in FILE_LABELS if l not in labels]
        self.check(not missing, "the property window's captions are French",
                   f"missing: {missing}; captions on show: {labels}")
        self.desk.key("Escape")
        try:
            self.wait_no_dialog("the property window to close", 15)
            self.check(True, "Escape closes the property window")
        except Failure as e:
            self.check(False, "Escape closes the property window", str(e))

        # The list's popup menu, closed with its OK button as a screen reader would.
        self.focus_list()
        item = next(i for i in self.list_items() if "selected" in states(i))
        self.open_menu_and_press("p", lambda: self.desk.click_on(item, right=True))
        window = self.wait_dialog("a property window from the popup", lambda n: n.startswith("Propriétés"), 20)
        self.check(name(window) == "Propriétés de " + name(item),
                   "the list's popup menu opens the property window of the file", f"title: {name(window)!r}")
        ok = self.named("OK", roles={"push button"}, root=window)
        if self.check(ok is not None, "the property window has an OK button"):
            do_action(ok)
            try:
                self.wait_no_dialog("the property window to close", 15)
                self.check(True, "pressing OK closes the property window")
            except Failure as e:
                self.check(False, "pressing OK closes the property window", str(e))

        # The tree's popup menu on the folder, closed with Return.
        self.activate()
        cell = next(c for c in self.tree_cells() if name(c) == media.FOLDER)
        self.open_menu_and_press("p", lambda: self.desk.click_on(cell, right=True))
        window = self.wait_dialog("a property window from the tree", lambda n: n.startswith("Propriétés"), 20)
        self.check(name(window) == "Propriétés de " + media.FOLDER,
                   "the tree's popup menu opens the folder's property window", f"title: {name(window)!r}")
        self.activate_window(window)
        self.desk.key("Return")
        try:
            self.wait_no_dialog("the property window to close", 15)
            self.check(True, "Return closes the property window")
        except Failure as e:
            self.check(False, "Return closes the property window", str(e))

    def click_list_item(self, file_name, tab="TOUS"):
        """A mouse click on a file of the list (without a window manager it also activates the window)."""
        item = self.desk.wait_for(f"{file_name} in the list",
                                  lambda: next((i for i in self.list_items(tab) if name(i) == file_name), None), 20)
        self.desk.click_on(item)
        self.desk.wait_for(f"{file_name} selected", lambda: self.selected_item(tab) == file_name, 15)

    def click_folder(self, folder):
        cell = next((c for c in self.tree_cells() if name(c) == folder), None)
        if cell is None:
            raise Failure(f"no node {folder} in the tree: {[name(c) for c in self.tree_cells()]}")
        self.desk.click_on(cell)
        self.desk.wait_for(f"{folder} selected", lambda: self.selected_node() == folder, 15)

    def properties_from_the_file_menu(self, expected):
        """Fichier > Propriétés with the mouse: the menu's title in the menu bar, then the item."""
        menu = self.named("Fichier", roles={"menu item", "menu"})
        before = self.desk.popups_shown
        self.desk.click_on(menu)
        self.desk.wait_for("the File menu on show", lambda: self.desk.popups_shown > before, 15)
        item = self.desk.wait_for("the item Propriétés", lambda: find(
            menu, lambda o: role(o) == "menu item" and name(o) == "Propriétés" and showing(o)), 15)
        self.desk.click_on(item)
        window = self.wait_dialog("a property window", lambda n: n.startswith("Propriétés"), 20)
        self.check(name(window) == expected, f"File > Propriétés opens {expected!r}", f"title: {name(window)!r}")
        self.activate_window(window)
        self.desk.key("Escape")
        self.wait_no_dialog("the property window to close", 15)

    def answer_delete_no(self, file_name):
        """Delete on the list: the question names the file; "Non" answers it."""
        self.desk.key("Delete")
        window = self.wait_dialog(f"the question to delete {file_name}", lambda n: True, 15)
        texts = " ".join(self.texts_of(window))
        self.check(file_name in texts, f"Delete asks about {file_name}", f"texts: {texts!r}")
        no = self.named("Non", roles={"push button"}, root=window)
        if no is None:
            raise Failure(f"the question has no button Non: {self.texts_of(window)}")
        self.desk.click_on(no)
        self.wait_no_dialog("the question to close", 15)

    def leave_window(self):
        """The keyboard goes to another program, as on a desktop where closing a dialog does not give
        the window back at once: the user's next click is what brings it back."""
        self.desk.focus_elsewhere()
        self.desk.wait_for("the main window to be no longer active", lambda: "active" not in states(self.frame()), 15)

    def commands_after_a_dialog(self):
        # The commands act on the file clicked last, also when that click is what brings the window
        # back after a dialog.
        self.activate()
        self.click_folder(media.IMAGES_FOLDER)
        self.click_list_item("rouge.bmp")
        self.properties_from_the_file_menu("Propriétés de rouge.bmp")
        for file_name in ("vert.jpg", "rouge.bmp"):
            self.leave_window()
            self.click_list_item(file_name)
            self.properties_from_the_file_menu("Propriétés de " + file_name)
        self.click_folder(media.SOUNDS_FOLDER)
        self.click_list_item("court.wav")
        self.answer_delete_no("court.wav")
        self.leave_window()
        self.click_list_item("tonalite.wav")
        self.answer_delete_no("tonalite.wav")
        sounds = self.work / "c" / media.SOUNDS_FOLDER
        self.check((sounds / "court.wav").exists() and (sounds / "tonalite.wav").exists(),
                   "both sounds are still there after answering Non")

    def convert_a_file(self):
        """Fichier > Convertir... on a selected picture: the window takes Return, the progress
        window shows the run and then its report, the output lies beside the file."""
        self.activate()
        self.click_folder(media.IMAGES_FOLDER)
        self.click_list_item("rouge.bmp")
        menu = self.named("Fichier", roles={"menu item", "menu"})
        before = self.desk.popups_shown
        self.desk.click_on(menu)
        self.desk.wait_for("the File menu on show", lambda: self.desk.popups_shown > before, 15)
        item = self.desk.wait_for("the item Convertir...", lambda: find(
            menu, lambda o: role(o) == "menu item" and name(o) == "Convertir..." and showing(o)), 15)
        self.desk.click_on(item)
        window = self.wait_dialog("the convert window", lambda n: n == "Convertir", 20)
        self.activate_window(window)
        unnamed = [describe(o) for o in walk(window, prune_hidden=True)
                   if role(o) in ("combo box", "push button", "radio button", "text", "spin button")
                   and showing(o) and not name(o)]
        self.check(not unnamed, "every control of the convert window has a name", f"{unnamed}")
        self.desk.key("Return")
        self.wait_dialog("the progress window", lambda n: n.startswith("Conversion"), 30)
        self.check(True, "the conversion runs in a progress window")
        done = self.desk.wait_for("the report", lambda: next(
            (d for d in self.desk.dialogs() if name(d) == "Conversion terminée"), None), 60)
        report = " ".join(text_of(o) for o in walk(done, prune_hidden=True) if role(o) == "text")
        self.check("Fichiers convertis : 1" in report, "the report counts the converted file", f"{report!r}")
        output = self.work / "c" / media.IMAGES_FOLDER / "rouge.png"
        self.check(output.exists(), "Convertir... makes rouge.png beside rouge.bmp")
        self.activate_window(done)
        self.desk.key("Escape")
        self.wait_no_dialog("the progress window to close", 15)

    def colour_pixels(self, label, colour, fuzz="3%"):
        """How many pixels of the screen are of this colour."""
        shot = self.desk.screenshot(label)
        if shot is None:
            raise Failure("no screenshot to count the picture on")
        out = subprocess.run(["/usr/bin/convert", str(shot), "-fuzz", fuzz, "-fill", "black", "+opaque", colour,
                              "-fill", "white", "-opaque", colour, "-format", "%[fx:int(mean*w*h+0.5)]", "info:"],
                             check=True, capture_output=True, text=True, timeout=30)
        return int(out.stdout.strip())

    def sky_pixels(self, label):
        """How many pixels of the screen are the sky blue of vacances.bmp."""
        return self.colour_pixels(label, "#87CEEB")

    def zoom_and_full_screen(self):
        self.activate()
        self.click_folder(media.OTHER_FOLDER)
        self.click_list_item("vacances.bmp")
        self.desk.wait_for("the BMP page", lambda: self.viewer_page() == "BMP", 20)
        self.desk.wait_for("the status bar to say Zoom 100 %", lambda: "Zoom 100 %" in self.status_text(), 15)
        before = self.sky_pixels("zoom-100")
        self.check(abs(before - 240 * 160) < 400, "vacances.bmp is shown at its size, 240 x 160",
                   f"{before} sky-blue pixels")
        self.desk.key("ctrl+plus")
        try:
            self.desk.wait_for("the status bar to say Zoom 125 %", lambda: "Zoom 125 %" in self.status_text(), 15)
            self.check(True, "Ctrl++ zooms in: the status bar says Zoom 125 %")
        except Failure as e:
            self.check(False, "Ctrl++ zooms in: the status bar says Zoom 125 %", f"{e}; {self.status_text()!r}")
        self.desk.pump(0.3)
        after = self.sky_pixels("zoom-125")
        self.check(abs(after - 300 * 200) < 600, "Ctrl++ shows the picture larger, 300 x 200",
                   f"{after} sky-blue pixels")
        self.desk.key("F11")
        full = self.desk.wait_for("the full-screen window",
                                  lambda: next((w for w in self.desk.windows()
                                                if name(w).startswith("Plein écran") and showing(w)), None), 15)
        self.desk.pump(0.5)
        e = extents(full)
        self.check((e.x, e.y, e.width, e.height) == (0, 0, 1024, 768), "F11 shows the picture on the whole screen",
                   f"window at {e.x},{e.y} {e.width} x {e.height}")
        shown = self.sky_pixels("full-screen")
        self.check(abs(shown - 240 * 160) < 400, "full screen shows the picture fitted, at its own size",
                   f"{shown} sky-blue pixels")
        self.desk.key("Escape")
        try:
            self.desk.wait_for("full screen to end", lambda: not showing(full), 15)
            self.desk.wait_for("the main window active again", lambda: "active" in states(self.frame()), 15)
            self.check(True, "Escape returns to the window")
        except Failure as e:
            self.check(False, "Escape returns to the window", str(e))
        self.desk.wait_for("the status bar to say Zoom 125 %", lambda: "Zoom 125 %" in self.status_text(), 15)
        back = self.sky_pixels("after-full-screen")
        self.check(abs(back - 300 * 200) < 600, "the window shows the picture at its zoom before full screen",
                   f"{back} sky-blue pixels")
        self.desk.key("ctrl+0")
        self.desk.wait_for("Ctrl+0 back to Zoom 100 %", lambda: "Zoom 100 %" in self.status_text(), 15)

    def red_pixels(self, label):
        """How many pixels of the screen are the red of anim.gif's first frame."""
        return self.colour_pixels(label, "#FF0000")

    def thumbnails(self):
        """Large icons of the folder of the twelve types: each file's thumbnail, in the desktop's cache."""
        self.activate()
        self.click_folder(media.FOLDER)
        folder = self.work / "c" / media.FOLDER
        files = sorted(p for p in folder.iterdir() if p.suffix.lower() != ".txt")
        cache = self.work / "home" / ".cache" / "thumbnails" / "normal"
        before = self.red_pixels("small-icons")
        self.desk.click_on(self.named("Grandes icônes", roles={"push button", "toggle button", "check box"}))

        def cached():
            return [p.name for p in files
                    if not (cache / (hashlib.md5(p.as_uri().encode()).hexdigest() + ".png")).is_file()]
        try:
            self.desk.wait_for("a thumbnail of each file in the cache", lambda: not cached(), 30)
            self.check(True, f"each of the {len(files)} files has its thumbnail in the desktop's cache")
        except Failure:
            self.check(False, "each file has its thumbnail in the desktop's cache", f"missing: {cached()}")
        self.desk.pump(1.0)
        shown = self.red_pixels("large-icons-thumbnails")
        # The first item, anim.gif, starts with a 32 x 32 red frame: shown as it is, not as the
        # type's picture.
        self.check(shown - before >= 900, "the large-icon style shows the pictures themselves",
                   f"{before} red pixels before, {shown} with thumbnails")
        self.check("12 fichiers" in self.status_text(), "the large-icon style lists every file",
                   self.status_text())
        self.desk.click_on(self.named("Petites icônes", roles={"push button", "toggle button", "check box"}))

    def tab_order(self):
        toolbar = self.viewer_toolbar()
        viewer = toolbar.parent
        drive = next(b for b in self.drive_buttons() if name(b).startswith("C"))
        drive_bar = drive.parent.parent.parent  # the drive buttons' bar, panel and the whole strip
        main_bar = self.named(SCAN_BUTTON).parent

        def pane_of(obj):
            chain = [obj] + ancestors(obj)
            paths = [o.path for o in chain]
            if toolbar.path in paths:
                return "viewer tool bar"
            if viewer.path in paths:
                return "viewer"
            if drive_bar.path in paths:
                return "drive bar"
            if main_bar.path in paths:
                return "main tool bar"
            for o in chain:
                if name(o).startswith("Arborescence "):
                    return "tree"
                if name(o).startswith("Liste "):
                    return "list"
                if role(o) == "page tab":
                    return "type tabs"
            return "other"

        self.focus_list()
        self.select_file("photo.bmp")
        self.desk.wait_for("the BMP page", lambda: self.viewer_page() == "BMP", 20,
                           lambda: f"selected {self.selected_item()!r}, page {self.viewer_page()!r}, "
                                   f"status {self.status_text()!r}")
        self.activate()  # FormActivate puts the focus on the tree
        start = self.last_focus()
        seen = []
        stuck = 0
        for _ in range(45):
            try:
                self.tab_key(timeout=10)
                stuck = 0
            except Failure:
                seen.append(("(no focus change)", None))
                stuck += 1
                if stuck == 2:
                    break
                continue
            obj = self.last_focus()
            seen.append((pane_of(obj), obj))
            if start is not None and obj is not None and obj.path == start.path and len(seen) > 1:
                break
        order = [f"{p}: {describe(o)}" for p, o in seen]
        print("  Tab moves the focus through:\n    " + "\n    ".join(order))
        panes = [p for p, _ in seen]
        route = " -> ".join(dict.fromkeys(panes))
        wanted = ["drive bar", "tree", "list", "viewer tool bar"]
        for w in wanted:
            self.check(w in panes, f"Tab reaches the {w}", "order: " + route)
        if all(w in panes for w in wanted):
            # Read round the cycle from the drive bar.
            start = panes.index("drive bar")
            cycle = panes[start:] + panes[:start]
            firsts = [cycle.index(w) for w in wanted]
            self.check(firsts == sorted(firsts), "Tab goes drive bar -> tree -> list -> viewer tool bar",
                       "order: " + " -> ".join(dict.fromkeys(cycle)))
        tabs = [name(o) for p, o in seen if p == "type tabs"]
        self.check(len(tabs) == 1, "the type tabs are one stop of Tab, at the current tab (arrows move inside)",
                   f"stops: {tabs}")
        buttons = sum(1 for p, o in seen if p == "viewer tool bar")
        self.check(buttons >= 4, "Tab stops at each enabled button of the viewer tool bar", f"{buttons} stops")
        unnamed = sorted({f"{p}: {describe(o)} in {describe(o.parent)}" for p, o in seen
                          if o is not None and not name(o).strip()})
        self.check(not unnamed, "every object Tab gives the focus to has a name", "; ".join(unnamed))

    def quit(self):
        self.activate()
        e = extents(self.frame())
        self.window_geometry = {"WindowLeft": e.x, "Window_Top": e.y, "Window_Width": e.width,
                                "Window_Height": e.height}
        self.open_menu_and_press("q", lambda: self.desk.key("alt+f"))
        try:
            self.proc.wait(timeout=30)
        except subprocess.TimeoutExpired:
            self.check(False, "File > Quitter ends the program",
                       f"still running; windows: {[describe(w) for w in self.desk.windows()]}")
            return
        self.check(self.proc.returncode == 0, "the program ends with status 0", f"status {self.proc.returncode}")

    def start_again(self):
        """The next session: the catalogue of the last scan is there at once, without a scan."""
        first = self.work / "stderr-1.txt"
        if self.stderr_path.exists():
            self.stderr_path.rename(first)
        self.attach()
        self.desk.wait_for("the tree TOUS to show " + media.FOLDER + " without a scan",
                           lambda: any(name(c) == media.FOLDER for c in self.tree_cells()), 20)
        self.check(True, f"started again, the tree TOUS shows {media.FOLDER} and {media.OTHER_FOLDER} at once",
                   f"cells: {[name(c) for c in self.tree_cells()]}")
        cells = [name(c) for c in self.tree_cells()]
        self.check(media.OTHER_FOLDER in cells, f"the kept tree also holds {media.OTHER_FOLDER}", f"cells: {cells}")
        self.check(not self.desk.dialogs(), "no scan window opened", f"{[describe(d) for d in self.desk.dialogs()]}")
        status = self.status_text()
        self.check(re.search(r"Catalogue du \d\d/\d\d/\d{4} à \d\d:\d\d", status) is not None,
                   "the status bar says when the catalogue was made", status)
        tabs = self.page_tabs()
        on_show = [n for n in tabs if showing(tabs[n])]
        self.check(on_show == media.TABS_AFTER_SCAN, "the type tabs found by the scan are on show",
                   f"on show: {on_show}")

    def copied_in_by_another_program(self):
        """Another program copies a file into the folder the list shows: the list follows."""
        self.activate()
        self.click_folder(media.FOLDER)
        self.desk.wait_for("the list to fill", lambda: len(self.list_items()) >= len(media.FILES), 20)
        before = sorted(name(i) for i in self.list_items())
        source = self.work / "c" / media.FOLDER / "photo.bmp"
        subprocess.run(["cp", str(source), str(source.with_name("copie.bmp"))], check=True)
        try:
            self.desk.wait_for("copie.bmp in the list", lambda: any(name(i) == "copie.bmp" for i in self.list_items()),
                               10)
            self.check(True, "a file copied into the listed folder by another program appears in the list")
        except Failure as e:
            self.check(False, "a file copied into the listed folder by another program appears in the list",
                       f"{e}; before: {before}; now: {sorted(name(i) for i in self.list_items())}")
        (self.work / "c" / media.FOLDER / "copie.bmp").unlink()
        try:
            self.desk.wait_for("copie.bmp gone from the list",
                               lambda: not any(name(i) == "copie.bmp" for i in self.list_items()), 10)
            self.check(True, "deleted again by that program, it leaves the list")
        except Failure as e:
            self.check(False, "deleted again by that program, it leaves the list", str(e))

    def find_as_you_type(self):
        """Ctrl+F, part of a name typed: the file of another folder is listed with its folder, and
        selecting it shows it; Escape brings the folder's list back."""
        self.activate()
        self.click_folder(media.FOLDER)
        self.click_list_item("Été.jpg")
        self.desk.wait_for("the JPG page", lambda: (self.viewer_page() or "").startswith("JPG"), 20)
        self.desk.key("ctrl+f")
        field = self.desk.wait_for("the search field focused", lambda: find(
            self.frame(), lambda o: name(o) == "Rechercher" and "focused" in states(o)), 15)
        self.check(field is not None, "Ctrl+F gives the focus to the field Rechercher")
        for c in "vacan":
            self.desk.key(c)
        item = self.desk.wait_for("vacances.bmp among the results", lambda: next(
            (i for i in self.list_items() if name(i) == "vacances.bmp"), None), 20)
        where = item.description or ""
        self.check(where == "C:\\" + media.OTHER_FOLDER + "\\", "the result says its folder in drive-letter form",
                   f"description: {where!r}; list: {[name(i) for i in self.list_items()]}")
        self.check(all(name(i) in media.OTHER_FILES for i in self.list_items()), "only matching files are listed",
                   f"{[name(i) for i in self.list_items()]}")
        self.desk.click_on(item)
        self.desk.wait_for("vacances.bmp selected", lambda: self.selected_item() == "vacances.bmp", 15)
        try:
            self.desk.wait_for("the BMP page", lambda: (self.viewer_page() or "").startswith("BMP"), 20)
            self.check(True, "selecting the result shows it in the viewer")
        except Failure as e:
            self.check(False, "selecting the result shows it in the viewer", str(e))
        self.desk.click_on(field)
        self.desk.key("Escape")
        self.desk.wait_for("the folder's list again",
                           lambda: any(name(i) == "Été.jpg" for i in self.list_items()), 15)
        self.check(self.selected_item() == "Été.jpg", "Escape brings back the folder's list and its selection",
                   f"selected: {self.selected_item()!r}")
        # Back to the list with the mouse: the pointer leaves the field (whose tool tip would come up).
        self.click_list_item("Été.jpg")

    def stderr(self):
        first = self.work / "stderr-1.txt"
        text = self.stderr_path.read_bytes().decode("utf-8", errors="replace") if self.stderr_path.exists() else ""
        if first.exists():
            text = first.read_bytes().decode("utf-8", errors="replace") + "\n" + text
        lines = [l for l in text.splitlines() if l.strip()]
        bad = [l for l in lines if not any(re.search(p, l) for p, _ in ACCEPTED_STDERR)]
        print(f"  {len(lines)} line(s) on stderr, {len(lines) - len(bad)} accepted")
        self.check(not bad, "stderr holds no warning (only the accepted lines)", "\n        ".join(bad[:30]))

    def settings_file(self):
        path = run_e2e.settings_folder(self.work) / "LUMA.INI"
        raw = path.read_bytes()
        try:
            text = raw.decode("utf-8")
        except UnicodeDecodeError as e:
            self.check(False, "LUMA.INI is UTF-8", str(e))
            text = raw.decode("latin-1")
        strange = [l for l in text.splitlines()
                   if l.strip() and not re.fullmatch(r"\[[^\]]+\]|[;#].*|[^=\[\]]+=.*", l.strip())]
        self.check(not strange, "every line of LUMA.INI is a section, a key=value or a comment", repr(strange))
        ini = configparser.ConfigParser(interpolation=None, strict=True)
        ini.optionxform = str
        try:
            ini.read_string(text)
        except configparser.Error as e:
            self.check(False, "LUMA.INI is a valid INI file (no key twice)", str(e))
            return
        self.check(ini.sections() == ["Lumavista"], "LUMA.INI has its one section [Lumavista]", f"{ini.sections()}")
        if "Lumavista" not in ini:
            return
        s = ini["Lumavista"]
        missing = [k for k in SESSION_KEYS if k not in s]
        self.check(not missing, "LUMA.INI holds what a session writes (window, scan mode, styles)",
                   f"missing: {missing}; keys: {list(s)}")
        not_numbers = [k for k in SESSION_KEYS if k in s and not re.fullmatch(r"-?\d+", s[k])]
        self.check(not not_numbers, "those settings are numbers", f"{[(k, s[k]) for k in not_numbers]}")
        self.check(s.get("First_Time") == "0" and s.get("Scan_Type") == "0",
                   "First_Time stays 0 and Scan_Type is 0 (drives)", f"{dict(s)}")
        if self.window_geometry and not not_numbers and not missing:
            saved = {k: int(s[k]) for k in self.window_geometry}
            self.check(saved == self.window_geometry, "the saved window place and size are the window's on quitting",
                       f"saved {saved}, window {self.window_geometry}")
        print("  LUMA.INI:\n    " + "\n    ".join(text.splitlines()))

    def run(self):
        session_env()
        started = time.monotonic()
        try:
            self.step("start the program", self.attach, critical=True)
            self.step("names a screen reader hears", self.names_for_screen_readers)
            self.step("the drive bar", self.drive_bar)
            self.step("type tabs before a scan", self.tabs_before_scan)
            self.step("scan with F5", self.scan, critical=True)
            self.step("type tabs", self.type_tabs)
            self.step("a folder chosen with the keyboard", self.browse_folder, critical=True)
            self.step("a file of each type", self.each_type)
            self.step("play the WAV", self.play_wav)
            self.step("preview pictures", self.preview)
            self.step("property windows", self.properties)
            self.step("Tab through the panes", self.tab_order)
            self.step("commands after a dialog", self.commands_after_a_dialog)
            self.step("convert a file", self.convert_a_file)
            self.step("zoom and full screen", self.zoom_and_full_screen)
            self.step("thumbnails in the large-icon style", self.thumbnails)
            self.step("the seven later types", lambda: later.later_types(self))
            self.step("quit with File > Quitter", self.quit)
            self.step("start again: the kept catalogue", self.start_again, critical=True)
            self.step("a file copied in by another program", self.copied_in_by_another_program)
            self.step("find as you type", self.find_as_you_type)
            self.step("quit again", self.quit)
        except Failure:
            print("\n   (a step the others need failed: the run ends here)")
        finally:
            self.stop()
        self.step("stderr", self.stderr)
        self.step("LUMA.INI after the session", self.settings_file)
        print(f"\n{self.passed} checks passed, {len(self.failures)} failed, in {time.monotonic() - started:.1f} s")
        for what, detail in self.failures:
            print(f"  FAIL  {what}" + (f": {detail.splitlines()[0]}" if detail else ""))
        if self.failures and (self.work / "shots").exists():
            print(f"screenshots: {self.work / 'shots'}")
        return 1 if self.failures else 0


if __name__ == "__main__":
    sys.exit(Run(sys.argv[1], sys.argv[2]).run())
