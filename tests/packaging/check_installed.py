#!/usr/bin/env python3
"""Checks an installed Lumavista: the files a desktop needs, and both programs started from there.

check_installed.py --data TESTDATA (--cmake-install BUILD | --cpack BUILD | --deb FILE)

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
import signal
import socket
import subprocess
import sys
import tempfile
import time
from pathlib import Path

ICON_SIZES = [16, 22, 24, 32, 48, 64, 128, 256]
APP_ID = "io.github.lumavista.Lumavista"
SOUNDFONT_DEPENDENCY = "fluid-soundfont-gm | sf2-soundfont-gm"
# Bounds on waiting for a program, not measurements: a loaded machine only gets nearer to them.
START_LIMIT = 60
ANSWER_LIMIT = 30

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
    # dpkg-shlibdeps ran when the libraries the programs link are named with versions.
    for lib in ["libc6", "libqt6widgets6"]:
        if not any(d.startswith(lib + " ") or d == lib for d in depends):
            fail(f"Depends lacks {lib}: were the library dependencies computed?")


def check_elf(binary):
    out = subprocess.run(["readelf", "-d", str(binary)], capture_output=True, text=True).stdout
    for line in out.splitlines():
        if "(RPATH)" in line or "(RUNPATH)" in line:
            fail(f"{binary.name} keeps a library path of the build: {line.strip()}")


def check_tree(root):
    usr = root / "usr"
    for program in ["lumavista", "lumavista-info"]:
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

    for page in ["lumavista", "lumavista-info"]:
        path = usr / "share/man/man1" / f"{page}.1.gz"
        try:
            text = gzip.decompress(path.read_bytes()).decode("utf-8")
            if not text.startswith(".TH "):
                fail(f"{path} is not a man page")
        except (OSError, EOFError) as e:
            fail(f"{path}: {e}")

    for path in sorted(p for p in root.rglob("*") if not p.is_dir()):
        print("  installed:", path.relative_to(root))


def environment(tmp):
    env = dict(os.environ)
    for name in ["DISPLAY", "WAYLAND_DISPLAY", "LUMAVISTA_SOUNDFONT", "LD_LIBRARY_PATH"]:
        env.pop(name, None)
    drive = tmp / "drive"
    config = tmp / "config"
    runtime = tmp / "runtime"
    for d in [drive, config, runtime, tmp / "home"]:
        d.mkdir(mode=0o700, parents=True, exist_ok=True)
    (config / "LUMA.INI").write_text("[Lumavista]\nFirst_Time=0\n")
    env.update({
        "QT_QPA_PLATFORM": "offscreen",
        "SDL_AUDIODRIVER": "dummy",
        "HOME": str(tmp / "home"),
        "XDG_CONFIG_HOME": str(tmp / "home/.config"),
        "XDG_DATA_HOME": str(tmp / "home/.local/share"),
        "XDG_RUNTIME_DIR": str(runtime),
        "LUMAVISTA_CONFIG_DIR": str(config),
        "LUMAVISTA_DRIVES": f"C={drive}",
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


def check_program(root, env):
    """Starts the installed program, proves its event loop answers, and stops it."""
    socket_path = Path(env["XDG_RUNTIME_DIR"]) / f"lumavista-{os.getuid()}.sock"
    log = Path(env["HOME"]) / "lumavista.log"
    with open(log, "w") as out:
        proc = subprocess.Popen([str(root / "usr/bin/lumavista")], env=env, stdout=out, stderr=out)
    try:
        deadline = time.monotonic() + START_LIMIT
        while not socket_path.exists() and proc.poll() is None and time.monotonic() < deadline:
            time.sleep(0.2)
        if proc.poll() is not None:
            fail(f"lumavista ended by itself (exit {proc.returncode}): {log.read_text()}")
            return
        if not socket_path.exists():
            fail(f"lumavista made no single-instance socket within {START_LIMIT} s")
            return
        # The program answers a "raise" by closing the connection, from its event loop.
        with socket.socket(socket.AF_UNIX, socket.SOCK_STREAM) as s:
            s.settimeout(ANSWER_LIMIT)
            s.connect(str(socket_path))
            s.sendall(b"raise\n")
            try:
                if s.recv(16) != b"":
                    fail("lumavista answered a raise with data")
            except socket.timeout:
                fail(f"lumavista did not answer a raise within {ANSWER_LIMIT} s")
        if proc.poll() is not None:
            fail(f"lumavista ended after a raise (exit {proc.returncode}): {log.read_text()}")
        else:
            print("lumavista started, answered, and is stopped now")
    finally:
        if proc.poll() is None:
            proc.send_signal(signal.SIGTERM)
            try:
                proc.wait(ANSWER_LIMIT)
            except subprocess.TimeoutExpired:
                proc.kill()
                proc.wait()


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--data", type=Path, required=True, help="tests/data of the source tree")
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
        check_program(root, env)

    if failures:
        print(f"{len(failures)} problem(s)")
        return 1
    print("installed tree: all checks passed")
    return 0


if __name__ == "__main__":
    sys.exit(main())
