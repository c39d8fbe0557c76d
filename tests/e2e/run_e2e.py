#!/usr/bin/python3
"""End-to-end run of the real program on a private X server and session bus, driven as a user and
checked as a screen reader sees it.

    /usr/bin/python3 tests/e2e/run_e2e.py BUILD/lumavista [--keep]

Makes drive C: with media made by ImageMagick, sox and ffmpeg, a home folder holding the settings
and a runtime folder in a temporary folder, then runs the scenario (scenario.py) under
dbus-run-session and xvfb-run. The temporary folder is removed after a run without failures;
it is kept (with its screenshots) after a failure, or with --keep."""
import argparse
import os
import shutil
import signal
import subprocess
import sys
import tempfile
import time
from pathlib import Path

HERE = Path(__file__).resolve().parent
sys.path.insert(0, str(HERE))

import media  # noqa: E402

# Under ctest's 240 s: a hung run still leaves its report and screenshots. A run takes under a minute;
# the rest is for a loaded machine or a sanitizer build.
INNER_TIMEOUT = 220


def settings_folder(work: Path):
    """Where the program keeps LUMA.INI by default, under the test's own home folder."""
    return work / "home" / ".config" / "Lumavista"


def prepare(work: Path):
    drive_c = work / "c"
    config = settings_folder(work)
    runtime = work / "runtime"
    config.mkdir(parents=True)
    runtime.mkdir(mode=0o700)
    os.chmod(runtime, 0o700)  # whatever the umask
    (config / "LUMA.INI").write_text("[Lumavista]\nFirst_Time=0\n")
    media.make(drive_c)
    return drive_c, config, runtime


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("binary")
    parser.add_argument("--keep", action="store_true", help="keep the temporary folder")
    args = parser.parse_args()
    binary = Path(args.binary).resolve()
    if not os.access(binary, os.X_OK):
        sys.exit(f"not a program: {binary}")
    for tool in ("dbus-run-session", "xvfb-run", "import", "sox", "ffmpeg"):
        if not shutil.which(tool):
            sys.exit(f"{tool} is missing: run scripts/install-deps")
    if not Path("/usr/libexec/at-spi-bus-launcher").exists():
        sys.exit("at-spi2-core is missing: run scripts/install-deps")
    try:
        import pyatspi  # noqa: F401
    except ImportError:
        sys.exit(f"{sys.executable} has no pyatspi: run this with /usr/bin/python3 (python3-pyatspi)")

    started = time.monotonic()
    work = Path(tempfile.mkdtemp(prefix="lumavista-e2e-"))
    print(f"work folder: {work}")
    drive_c, config, runtime = prepare(work)
    print(f"media made in {time.monotonic() - started:.1f} s")

    cmd = ["dbus-run-session", "--", "xvfb-run", "-a", "-s", "-screen 0 1024x768x24",
           "/usr/bin/python3", str(HERE / "scenario.py"), str(binary), str(work)]
    env = dict(os.environ)
    # The scenario itself starts the program with the variables it needs; nothing of the caller's
    # desktop or settings may leak in.
    for var in ("DISPLAY", "WAYLAND_DISPLAY", "DBUS_SESSION_BUS_ADDRESS", "AT_SPI_BUS_ADDRESS",
                "QT_QPA_PLATFORM", "XAUTHORITY", "XDG_CONFIG_HOME", "XDG_CACHE_HOME", "XDG_DATA_HOME",
                "LUMAVISTA_CONFIG_DIR", "LUMAVISTA_CACHE_DIR", "LUMAVISTA_DRIVES", "QT_LINUX_ACCESSIBILITY_ALWAYS_ON",
                "QT_ACCESSIBILITY"):
        env.pop(var, None)
    env["HOME"] = str(work / "home")
    env["XDG_RUNTIME_DIR"] = str(runtime)
    proc = subprocess.Popen(cmd, env=env, start_new_session=True)
    try:
        status = proc.wait(timeout=INNER_TIMEOUT)
    except subprocess.TimeoutExpired:
        print(f"FAIL: the run did not end within {INNER_TIMEOUT} s")
        os.killpg(proc.pid, signal.SIGKILL)  # the X server, the buses and the program with it
        proc.wait()
        status = 1
    print(f"total time {time.monotonic() - started:.1f} s")
    if status == 0 and not args.keep:
        shutil.rmtree(work, ignore_errors=True)
    else:
        print(f"kept: {work}")
    return 0 if status == 0 else 1


if __name__ == "__main__":
    sys.exit(main())
