#!/usr/bin/env python3
"""Checks an installed Lumavista: the files a desktop needs, and both programs started from there.

check_installed.py --data TESTDATA --version X.Y (--cmake-install BUILD | --cpack BUILD | --deb FILE)

--cmake-install installs the build into a temporary root (DESTDIR, prefix /usr); --cpack makes the
Debian package from the build and checks it as --deb does: its control fields, then its files,
unpacked with dpkg -x into a temporary root. Files this script does not know of are allowed.
"""
import argparse
import configparser
import glob
import gzip
import json
import os
import subprocess
import sys
import tempfile
import time
from pathlib import Path

sys.path.insert(0, str(Path(__file__).resolve().parents[2] / "tools"))
import xsession  # noqa: E402

ICON_SIZES = [16, 22, 24, 32, 48, 64, 128, 256]
APP_ID = "io.github.lumavista.Lumavista"
SOUNDFONT_DEPENDENCY = "fluid-soundfont-gm | sf2-soundfont-gm"
# Bounds on waiting for a program, not measurements: a loaded machine only gets nearer to them.
START_LIMIT = 60
ANSWER_LIMIT = 30
# Qt and librsvg draw the same SVG a little differently (edges, gradients); another drawing, or a
# blank or default icon, differs by several times this.
ICON_TOLERANCE = 0.05

failures = []


def fail(message):
    failures.append(message)
    print("FAIL:", message)


def run(cmd, **kw):
    print("+", " ".join(str(c) for c in cmd))
    return subprocess.run(cmd, check=True, **kw)


def check_control(deb):
    fields = {}
    for name in ["Package", "Version", "Architecture", "Depends", "Section", "Maintainer", "Description"]:
        out = subprocess.run(["dpkg-deb", "--field", str(deb), name], capture_output=True, text=True)
        fields[name] = out.stdout.strip()
    print(json.dumps(fields, indent=1))
    if fields["Package"] != "lumavista":
        fail(f"package name is {fields['Package']!r}")
    depends = [d.strip() for d in fields["Depends"].split(",")]
    if SOUNDFONT_DEPENDENCY not in depends:
        fail(f"Depends lacks '{SOUNDFONT_DEPENDENCY}'")
    # dpkg-shlibdeps ran when the libraries the programs link are named with versions. The SVG
    # library's package also brings the icon engine the compiled-in artwork is drawn through.
    for lib in ["libc6", "libqt6widgets6", "libqt6svg6"]:
        if not any(d.startswith(lib + " ") or d == lib for d in depends):
            fail(f"Depends lacks {lib}: were the library dependencies computed?")


def check_elf(binary):
    out = subprocess.run(["readelf", "-d", str(binary)], capture_output=True, text=True).stdout
    for line in out.splitlines():
        if "(RPATH)" in line or "(RUNPATH)" in line:
            fail(f"{binary.name} keeps a library path of the build: {line.strip()}")


def check_tree(root):
    usr = root / "usr"
    for program in ["lumavista", "lumavista-info", "lumavista-convert", "lumavista-thumbnailer"]:
        path = usr / "bin" / program
        if not os.access(path, os.X_OK):
            fail(f"{path} is missing or not executable")
        else:
            check_elf(path)

    desktop = usr / "share/applications/lumavista.desktop"
    metainfo = usr / "share/metainfo" / f"{APP_ID}.metainfo.xml"
    for path in [desktop, metainfo]:
        if not path.is_file():
            fail(f"{path} is missing")
    icon = "lumavista"
    if desktop.is_file():
        parser = configparser.ConfigParser(interpolation=None)
        parser.optionxform = str
        parser.read(desktop, encoding="utf-8")
        entry = parser["Desktop Entry"]
        icon = entry.get("Icon", "")
        program = entry.get("Exec", "").split()[0]
        if not os.access(usr / "bin" / program, os.X_OK):
            fail(f"the menu entry starts {program}, which is not in {usr / 'bin'}")
    hicolor = usr / "share/icons/hicolor"
    for size in ICON_SIZES:
        if not (hicolor / f"{size}x{size}/apps/{icon}.png").is_file():
            fail(f"no {size}x{size} icon named {icon} in {hicolor}")
    if not (hicolor / f"scalable/apps/{icon}.svg").is_file():
        fail(f"no scalable icon named {icon} in {hicolor}")

    for page in ["lumavista", "lumavista-info", "lumavista-convert", "lumavista-thumbnailer"]:
        path = usr / "share/man/man1" / f"{page}.1.gz"
        try:
            text = gzip.decompress(path.read_bytes()).decode("utf-8")
            if not text.startswith(".TH "):
                fail(f"{path} is not a man page")
        except (OSError, EOFError) as e:
            fail(f"{path}: {e}")

    entry = usr / "share/thumbnailers/lumavista.thumbnailer"
    if not entry.is_file():
        fail(f"{entry} is missing")
    else:
        parser = configparser.ConfigParser(interpolation=None)
        parser.optionxform = str
        parser.read(entry, encoding="utf-8")
        words = parser["Thumbnailer Entry"].get("Exec", "").split()
        if not words or not os.access(usr / "bin" / words[0], os.X_OK):
            fail(f"the thumbnailer entry starts {words[:1]}, which is not in {usr / 'bin'}")

    doc = usr / "share/doc/lumavista"
    if not (doc / "copyright").is_file():
        fail(f"{doc / 'copyright'} is missing")
    try:
        if not gzip.decompress((doc / "changelog.gz").read_bytes()).startswith(b"lumavista ("):
            fail(f"{doc / 'changelog.gz'} is not the package's changelog")
    except (OSError, EOFError) as e:
        fail(f"{doc / 'changelog.gz'}: {e}")

    for path in sorted(p for p in root.rglob("*") if not p.is_dir()):
        print("  installed:", path.relative_to(root))


def environment(tmp):
    env = dict(os.environ)
    for name in ["DISPLAY", "WAYLAND_DISPLAY", "LUMAVISTA_SOUNDFONT", "LUMAVISTA_HELP_DIR", "LD_LIBRARY_PATH"]:
        env.pop(name, None)
    drive = tmp / "drive"
    config = tmp / "config"
    runtime = tmp / "runtime"
    for d in [drive, config, runtime, tmp / "home", tmp / "bin"]:
        d.mkdir(mode=0o700, parents=True, exist_ok=True)
    (config / "LUMA.INI").write_text("[Lumavista]\nFirst_Time=0\n")
    # The desktop's opener, as the program finds it on PATH: it notes what it was asked to open.
    opener = tmp / "bin/xdg-open"
    opener.write_text(f'#!/bin/sh\nprintf "%s\\n" "$@" >> "{tmp / "opened.txt"}"\n')
    opener.chmod(0o755)
    env.update({
        "QT_QPA_PLATFORM": "offscreen",
        "SDL_AUDIODRIVER": "dummy",
        "HOME": str(tmp / "home"),
        "XDG_CONFIG_HOME": str(tmp / "home/.config"),
        "XDG_DATA_HOME": str(tmp / "home/.local/share"),
        "XDG_RUNTIME_DIR": str(runtime),
        "LUMAVISTA_CONFIG_DIR": str(config),
        "LUMAVISTA_DRIVES": f"C={drive}",
        "PATH": f"{tmp / 'bin'}:{env.get('PATH', '/usr/bin:/bin')}",
    })
    return env


def check_info(root, data, env, tmp):
    info = root / "usr/bin/lumavista-info"
    rendered = tmp / "rendered.png"
    cases = [
        (data / "pictures/rose-4bit.bmp", ["--render", str(rendered)], "width"),
        # A tune loads only with a General MIDI soundfont, which the package depends on.
        (data / "media/c4_one_beat.mid", [], "length_ms"),
    ]
    for path, options, key in cases:
        out = subprocess.run([str(info), str(path), *options], env=env, capture_output=True, text=True,
                             timeout=ANSWER_LIMIT)
        print(out.stdout.strip(), out.stderr.strip())
        try:
            facts = json.loads(out.stdout.splitlines()[0])
        except (IndexError, json.JSONDecodeError):
            fail(f"lumavista-info {path.name}: no JSON line (exit {out.returncode})")
            continue
        if out.returncode != 0 or not facts.get("ok") or not facts.get(key):
            fail(f"lumavista-info {path.name}: {facts}")
    if not rendered.is_file() or rendered.read_bytes()[:8] != b"\x89PNG\r\n\x1a\n":
        fail("lumavista-info --render wrote no PNG")


def check_convert(root, data, env, tmp):
    """The installed converter finds Qt's writers (PNG, and WebP from the image-formats plugins)."""
    convert = root / "usr/bin/lumavista-convert"
    out_dir = tmp / "converted"
    for fmt, magic in [("png", b"\x89PNG\r\n\x1a\n"), ("webp", b"RIFF")]:
        out = subprocess.run([str(convert), "--to", fmt, "--out", str(out_dir), str(data / "pictures/rose.pcx")],
                             env=env, capture_output=True, text=True, timeout=ANSWER_LIMIT)
        written = Path(out.stdout.strip()) if out.stdout.strip() else None
        if out.returncode != 0 or not written or not written.is_file() or written.read_bytes()[:len(magic)] != magic:
            fail(f"lumavista-convert --to {fmt}: exit {out.returncode}, {out.stdout!r} {out.stderr!r}")


def check_thumbnailer(root, data, env, tmp):
    """The installed thumbnailer writes a PNG within the size, and nothing for a damaged file."""
    tool = str(root / "usr/bin/lumavista-thumbnailer")
    png = tmp / "thumb.png"
    out = subprocess.run([tool, "-s", "128", (data / "pictures/rose.pcx").as_uri(), str(png)], env=env,
                         capture_output=True, text=True, timeout=ANSWER_LIMIT)
    if out.returncode != 0 or not png.is_file() or png.read_bytes()[:8] != b"\x89PNG\r\n\x1a\n":
        fail(f"lumavista-thumbnailer: exit {out.returncode}, {out.stderr!r}")
    damaged = tmp / "damaged.pcx"
    damaged.write_bytes(b"\x0a\x05\x01" + b"\xff" * 40)
    bad = tmp / "bad.png"
    out = subprocess.run([tool, "-s", "128", str(damaged), str(bad)], env=env, capture_output=True, text=True,
                         timeout=ANSWER_LIMIT)
    if out.returncode == 0 or bad.exists():
        fail(f"lumavista-thumbnailer on a damaged file: exit {out.returncode}, file written: {bad.exists()}")


def check_command_line(root, env, version):
    """--version and --help answer offscreen, before any window."""
    program = str(root / "usr/bin/lumavista")
    out = subprocess.run([program, "--version"], env=env, capture_output=True, text=True, timeout=ANSWER_LIMIT)
    if out.returncode != 0 or out.stdout != f"Lumavista {version}\n":
        fail(f"lumavista --version: exit {out.returncode}, {out.stdout!r} {out.stderr!r}")
    out = subprocess.run([program, "--help"], env=env, capture_output=True, text=True, timeout=ANSWER_LIMIT)
    if out.returncode != 0 or not out.stdout.startswith("Utilisation : lumavista"):
        fail(f"lumavista --help: exit {out.returncode}, {out.stdout!r} {out.stderr!r}")


def window_icons(display, window):
    """{size: ARGB pixels} of the window's _NET_WM_ICON."""
    out = display.run("xprop", "-id", window, "-notype", "-f", "_NET_WM_ICON", "32c", "=$0+", "_NET_WM_ICON")
    if not out or "=" not in out:
        return {}
    values = [int(v) for v in out.split("=", 1)[1].replace(",", " ").split()]
    icons, i = {}, 0
    while i + 2 <= len(values):
        width, height = values[i], values[i + 1]
        if width == height and width > 0:
            icons[width] = values[i + 2:i + 2 + width * height]
        i += 2 + width * height
    return icons


def icon_difference(argb, png):
    """Mean difference (0..1) between an ARGB icon and a PNG of the same size, colours weighted by
    opacity so that the colour of transparent pixels does not count."""
    raw = subprocess.run(["convert", str(png), "-depth", "8", "rgba:-"], capture_output=True,
                         check=True).stdout
    if len(raw) != 4 * len(argb):
        return 1.0
    total = 0.0
    for n, pixel in enumerate(argb):
        a1, r1, g1, b1 = pixel >> 24 & 255, pixel >> 16 & 255, pixel >> 8 & 255, pixel & 255
        r2, g2, b2, a2 = raw[4 * n:4 * n + 4]
        total += abs(a1 - a2) / 255
        for c1, c2 in ((r1, r2), (g1, g2), (b1, b2)):
            total += abs(c1 * a1 - c2 * a2) / (255 * 255) / 3
    return total / (2 * len(argb))


def check_window(root, env, tmp, data):
    """Starts the installed program on a private X display with a picture to show: its window
    carries our icon, F1 opens the installed help, and Alt+F4 ends it and saves the settings."""
    picture = Path(env["LUMAVISTA_DRIVES"][2:]) / "Photos/rose.bmp"
    picture.parent.mkdir()
    picture.write_bytes((data / "pictures/rose-4bit.bmp").read_bytes())
    opened = tmp / "opened.txt"
    log = tmp / "lumavista.log"
    with xsession.Display() as display, open(log, "w") as out:
        proc = subprocess.Popen([str(root / "usr/bin/lumavista"), str(picture)], env=display.env(env),
                                stdout=out, stderr=out)
        try:
            window = display.window_of(proc.pid, "Lumavista", START_LIMIT)
            if window is None:
                fail(f"no Lumavista window within {START_LIMIT} s (exit {proc.poll()}): {log.read_text()}")
                return

            # The artwork is compiled in: the window icon is drawn from it (through Qt's SVG icon
            # engine) and must look like the PNGs rendered from the same drawing.
            hicolor = root / "usr/share/icons/hicolor"
            icons = window_icons(display, window)
            compared = [s for s in sorted(icons) if (hicolor / f"{s}x{s}/apps/lumavista.png").is_file()]
            if not compared:
                fail(f"the window has no icon of an installed size (has {sorted(icons)})")
            for size in compared:
                difference = icon_difference(icons[size], hicolor / f"{size}x{size}/apps/lumavista.png")
                print(f"window icon {size} px differs from the installed one by {difference:.3f}")
                if difference > ICON_TOLERANCE:
                    fail(f"the {size} px window icon is not our drawing (difference {difference:.3f})")

            # F1 asks the desktop to open the first help page, found beside the installed program.
            help_page = (root / "usr/share/lumavista/help/index.html").resolve()
            deadline = time.monotonic() + ANSWER_LIMIT
            while not opened.exists() and proc.poll() is None and time.monotonic() < deadline:
                display.run("xdotool", "windowfocus", "--sync", window, "key", "F1")
                time.sleep(1)
            asked = opened.read_text().split() if opened.exists() else []
            if asked != [help_page.as_uri()]:
                fail(f"F1 opened {asked}, not {help_page.as_uri()}: {log.read_text()}")

            display.run("xdotool", "windowfocus", "--sync", window, "key", "alt+F4")
            try:
                status = proc.wait(ANSWER_LIMIT)
                if status != 0:
                    fail(f"lumavista ended with status {status} after Alt+F4: {log.read_text()}")
            except subprocess.TimeoutExpired:
                fail(f"lumavista did not end within {ANSWER_LIMIT} s of Alt+F4")
                return
            settings = (Path(env["LUMAVISTA_CONFIG_DIR"]) / "LUMA.INI").read_text()
            if "Starting_Folder=C:\\Photos" not in settings or "Window_Width=" not in settings:
                fail(f"LUMA.INI after the run lacks the folder shown or the window: {settings}")
            print("lumavista showed its window, opened its help and ended cleanly")
        finally:
            if proc.poll() is None:
                proc.kill()
                proc.wait()


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--data", type=Path, required=True, help="tests/data of the source tree")
    parser.add_argument("--version", required=True, help="the version the programs must report")
    what = parser.add_mutually_exclusive_group(required=True)
    what.add_argument("--cmake-install", type=Path, metavar="BUILD")
    what.add_argument("--cpack", type=Path, metavar="BUILD")
    what.add_argument("--deb", type=Path, metavar="FILE")
    args = parser.parse_args()

    with tempfile.TemporaryDirectory(prefix="luma-pkg-") as t:
        tmp = Path(t)
        root = tmp / "root"
        root.mkdir()
        deb = args.deb
        if args.cmake_install:
            env = dict(os.environ, DESTDIR=str(root))
            run(["cmake", "--install", str(args.cmake_install), "--prefix", "/usr"], env=env,
                stdout=subprocess.DEVNULL)
        elif args.cpack:
            run(["cpack", "-G", "DEB", "--config", str(args.cpack / "CPackConfig.cmake"),
                 "-B", str(tmp / "package")], stdout=subprocess.DEVNULL)
            debs = glob.glob(str(tmp / "package" / "*.deb"))
            if len(debs) != 1:
                fail(f"cpack made {debs}")
                return 1
            deb = Path(debs[0])
        if deb:
            check_control(deb)
            run(["dpkg-deb", "-x", str(deb), str(root)])
        check_tree(root)
        env = environment(tmp / "run")
        check_info(root, args.data, env, tmp)
        check_convert(root, args.data, env, tmp)
        check_thumbnailer(root, args.data, env, tmp)
        check_command_line(root, env, args.version)
        check_window(root, env, tmp / "run", args.data)

    if failures:
        print(f"{len(failures)} problem(s)")
        return 1
    print("installed tree: all checks passed")
    return 0


if __name__ == "__main__":
    sys.exit(main())
