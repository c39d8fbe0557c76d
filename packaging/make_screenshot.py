#!/usr/bin/env python3
"""Makes packaging/screenshots/lumavista-main.png, the metainfo's screenshot: the built program on a
private X display, started on a picture of a prepared folder of media (files of tests/data and a
landscape drawn here), photographed once it has scanned the folder and shown the picture.

    packaging/make_screenshot.py [BUILD_DIR]      (default: build)

Needs what scripts/install-deps installs (Xvfb, xdotool, ImageMagick).
"""
import os
import shutil
import subprocess
import sys
import tempfile
import time
from pathlib import Path

TOP = Path(__file__).resolve().parents[1]
sys.path.insert(0, str(TOP / "tools"))
import xsession  # noqa: E402

OUT = TOP / "packaging/screenshots/lumavista-main.png"
# 16:9, as software centres show screenshots.
WIDTH, HEIGHT = 1024, 576
SETTLE = 4  # seconds for the scan and the viewer, far more than they take

# Folder (relative to the drive) -> {name in the folder: file of tests/data}.
MEDIA = {
    "Mes documents/Médias": {
        "rose.jpg": "pictures/rose.jpg",
        "rose.gif": "pictures/rose.gif",
        "rose.pcx": "pictures/rose.pcx",
        "rose.tif": "pictures/rose.tif",
        "rose.ico": "pictures/rose.ico",
        "animation.gif": "pictures/anim.gif",
    },
    "Mes documents/Médias/Curseurs": {"sablier.ani": "pictures/cursor.ani"},
    "Mes documents/Médias/Sons": {"la440.wav": "media/sine440_250ms_u8.wav", "do.mid": "media/c4_one_beat.mid"},
    "Mes documents/Médias/Vidéos": {"essai.avi": "media/raw8_silent.avi"},
}
SHOWN = "Mes documents/Médias/paysage.bmp"
# Sky, sun, clouds and hills, in ImageMagick's drawing primitives.
LANDSCAPE = [
    "-size", "480x320", "gradient:#6fb4ea-#eaf5fc",
    "-fill", "#ffd34d", "-draw", "circle 370,80 370,116",
    "-fill", "#8fc98a", "-draw", "ellipse 90,330 250,120 0,360",
    "-fill", "#4f9f5a", "-draw", "ellipse 400,350 290,130 0,360",
    "-fill", "#2f7d4a", "-draw", "ellipse 180,380 260,100 0,360",
    "-fill", "white", "-draw", "ellipse 120,70 50,18 0,360", "-draw", "ellipse 160,62 40,20 0,360",
    "-draw", "ellipse 250,110 45,14 0,360",
]


def prepare(drive):
    for folder, files in MEDIA.items():
        (drive / folder).mkdir(parents=True, exist_ok=True)
        for name, source in files.items():
            shutil.copyfile(TOP / "tests/data" / source, drive / folder / name)
    subprocess.run(["convert", *LANDSCAPE, "-type", "truecolor", "bmp3:" + str(drive / SHOWN)], check=True)
    return drive / SHOWN


def main():
    build = Path(sys.argv[1] if len(sys.argv) > 1 else TOP / "build").resolve()
    program = build / "src/shell/program/lumavista"
    if not os.access(program, os.X_OK):
        sys.exit(f"no program at {program}: build first")
    with tempfile.TemporaryDirectory(prefix="luma-shot-") as t:
        tmp = Path(t)
        for d in ["drive", "config", "runtime", "home"]:
            (tmp / d).mkdir(mode=0o700)
        shown = prepare(tmp / "drive")
        (tmp / "config/LUMA.INI").write_text(
            "[Lumavista]\nFirst_Time=0\n"
            f"WindowLeft=0\nWindow_Top=0\nWindow_Width={WIDTH}\nWindow_Height={HEIGHT}\n"
            "Panel_Width=520\nTreeView_Width=250\n")
        env = dict(os.environ)
        for name in ["LUMAVISTA_HELP_DIR", "LUMAVISTA_SOUNDFONT"]:
            env.pop(name, None)
        env.update({
            "SDL_AUDIODRIVER": "dummy",
            "HOME": str(tmp / "home"),
            "XDG_CONFIG_HOME": str(tmp / "home/.config"),
            "XDG_RUNTIME_DIR": str(tmp / "runtime"),
            "LUMAVISTA_CONFIG_DIR": str(tmp / "config"),
            "LUMAVISTA_DRIVES": f"C={tmp / 'drive'}",
        })
        with xsession.Display(f"{WIDTH}x{HEIGHT}") as display:
            proc = subprocess.Popen([str(program), str(shown)], env=display.env(env))
            try:
                window = display.window_of(proc.pid, "Lumavista", 60)
                if window is None:
                    sys.exit("the program showed no window")
                time.sleep(SETTLE)
                OUT.parent.mkdir(exist_ok=True)
                if display.run("import", "-window", window, "png:" + str(OUT)) is None:
                    sys.exit("ImageMagick could not photograph the window")
            finally:
                proc.kill()
                proc.wait()
    subprocess.run(["convert", str(OUT), "-strip", "-define", "png:compression-level=9", str(OUT)], check=True)
    print(OUT)


if __name__ == "__main__":
    main()
