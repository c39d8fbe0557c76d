"""A private X display (Xvfb) and the lookup of a program's windows on it, for scripts that start
the real program: the packaging checks and the screenshot for the metainfo.

Needs Xvfb (xvfb) and xdotool.
"""
import os
import subprocess
import time


class Display:
    """An Xvfb server on a free display number, stopped on leaving the with-block."""

    def __init__(self, size="1280x800"):
        self.size = size
        self.proc = None
        self.name = None

    def __enter__(self):
        read_end, write_end = os.pipe()
        # -displayfd: the server picks a free number and writes it once it accepts clients.
        self.proc = subprocess.Popen(
            ["Xvfb", "-displayfd", str(write_end), "-screen", "0", self.size + "x24", "-nolisten", "tcp",
             "-noreset"],
            pass_fds=[write_end], stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        os.close(write_end)
        with os.fdopen(read_end) as f:
            number = f.readline().strip()
        if not number:
            self.proc.kill()
            self.proc.wait()
            raise RuntimeError("Xvfb did not start")
        self.name = ":" + number
        return self

    def __exit__(self, *exc):
        self.proc.terminate()
        try:
            self.proc.wait(10)
        except subprocess.TimeoutExpired:
            self.proc.kill()
            self.proc.wait()

    def env(self, base):
        env = dict(base)
        env.pop("WAYLAND_DISPLAY", None)
        env.update({"DISPLAY": self.name, "QT_QPA_PLATFORM": "xcb"})
        return env

    def run(self, *args, timeout=30):
        """Runs an X client (xdotool, xprop, import) on this display; its standard output."""
        out = subprocess.run(list(args), env=self.env(os.environ), capture_output=True, text=True,
                             timeout=timeout)
        return out.stdout if out.returncode == 0 else None

    def window_of(self, pid, title, limit):
        """The id of the mapped window of process pid whose title is title, or None after limit s."""
        deadline = time.monotonic() + limit
        while time.monotonic() < deadline:
            for window in (self.run("xdotool", "search", "--onlyvisible", "--pid", str(pid)) or "").split():
                if (self.run("xdotool", "getwindowname", window) or "").strip() == title:
                    return window
            time.sleep(0.3)
        return None
