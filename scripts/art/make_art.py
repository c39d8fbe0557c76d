#!/usr/bin/env python3
"""Writes all of the program's SVG artwork into src/resources/art/.

Usage: python3 scripts/art/make_art.py [output-folder]
Standard library only; the drawings live in objects.py, toolbars.py and pictures.py.
"""

import os
import sys

sys.dont_write_bytecode = True

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))

import objects as ob  # noqa: E402
import pictures as pi  # noqa: E402
import toolbars as tb  # noqa: E402
from svgkit import Doc, G, brighten, hot, rect, write  # noqa: E402

TYPES = ["ANI", "AVI", "BMP", "JPG", "MID", "WAV", "GIF", "PCX", "TIF", "WMF", "EMF", "ICO", "PNG", "WEBP", "MP3", "OGG",
         "FLAC", "MP4", "MKV"]


def doc(size, fn, h=None, stretch=False):
    d = Doc(size, h, stretch)
    d.add(fn(d))
    return d.text()


def selected16(fn):
    """Tree 'selected' look: brighter drawing on a soft blue highlight."""

    def draw(d):
        return brighten(fn(d))

    text = doc(16, draw)
    halo = rect(0.5, 0.5, 15, 15, rx=3, fill="#3d8bfd", fill_opacity=0.18, stroke="#3d8bfd", stroke_opacity=0.7)
    head, rest = text.split("</defs>", 1) if "</defs>" in text else text.split(">", 1)
    sep = "</defs>" if "</defs>" in text else ">"
    return head + sep + halo + rest


def main():
    here = os.path.dirname(os.path.abspath(__file__))
    root = sys.argv[1] if len(sys.argv) > 1 else os.path.join(here, "..", "..", "src", "resources", "art")
    files = {}

    for name, fn in tb.main_icons().items():
        files[f"toolbar/main/{name}.svg"] = doc(20, fn)
    for name, fn in tb.viewer_icons().items():
        files[f"toolbar/viewer/{name}.svg"] = doc(20, fn)
    for key in list(files):
        base, name = key.rsplit("/", 1)
        files[f"{base}/hot/{name}"] = hot(files[key])
    files["toolbar/folder-open.svg"] = doc(20, lambda d: tb.folder20(d, opened=True))

    files["choice/drives.svg"] = doc(13, tb.choice_drives)
    files["choice/folder.svg"] = doc(13, tb.choice_folder)

    for t in range(7):
        files[f"drives16/{t}.svg"] = doc(16, lambda d, t=t: ob.drive16(d, t))
        files[f"tree/{t:02d}.svg"] = files[f"drives16/{t}.svg"]
        files[f"tree/{t + 7:02d}.svg"] = selected16(lambda d, t=t: ob.drive16(d, t))
    files["tree/14.svg"] = doc(16, lambda d: ob.folder16(d, "beige"))
    files["tree/15.svg"] = doc(16, lambda d: ob.folder16(d, "beige", opened=True))
    files["tree/16.svg"] = doc(16, lambda d: ob.computer16(d))
    files["tree/17.svg"] = selected16(lambda d: ob.computer16(d, lit=True))
    files["tree/18.svg"] = doc(16, lambda d: ob.folder16(d) + ob.media_badge16(d))
    files["tree/19.svg"] = doc(16, lambda d: ob.folder16(d, opened=True) + ob.media_badge16(d))

    for i, t in enumerate((2, 3, 4, 5, 6)):
        files[f"list16/{i:02d}.svg"] = doc(16, lambda d, t=t: ob.drive16(d, t))
        files[f"list32/{i:02d}.svg"] = doc(32, lambda d, t=t: ob.drive32(d, t))
    files["list16/05.svg"] = doc(16, lambda d: ob.file16(d, None))
    files["list32/05.svg"] = doc(32, lambda d: ob.file32(d, None))
    files["list16/06.svg"] = doc(16, lambda d: ob.folder16(d))
    files["list32/06.svg"] = doc(32, lambda d: ob.folder32(d))
    for i, key in enumerate(TYPES):
        files[f"list16/{i + 7:02d}.svg"] = doc(16, lambda d, k=key: ob.file16(d, k))
        files[f"list32/{i + 7:02d}.svg"] = doc(32, lambda d, k=key: ob.file32(d, k))
        files[f"types/{key}.svg"] = files[f"list32/{i + 7:02d}.svg"]
    for name, t in (("Floppy", 2), ("Hard", 3), ("Network", 4), ("CdRom", 5), ("Ram", 6), ("Unknown", 0)):
        files[f"drivekinds/{name}.svg"] = doc(32, lambda d, t=t: ob.drive32(d, t))

    for n in range(3):
        files[f"scan/{n}.svg"] = doc(16, lambda d, n=n: tb.scan_status(d, n))
    for k in range(8):
        files[f"search/frame{k}.svg"] = doc(48, lambda d, k=k: pi.search_frame(d, k), h=50)

    files["backgrounds/vide.svg"] = doc(400, pi.vide, h=300, stretch=True)
    files["backgrounds/presentation.svg"] = doc(260, pi.presentation, h=160)
    files["backgrounds/titre.svg"] = doc(337, pi.titre, h=64)
    files["backgrounds/tile_ANI.svg"] = doc(100, pi.tile_ani)
    files["backgrounds/tile_AVI.svg"] = doc(32, pi.tile_avi)
    files["backgrounds/tile_MID.svg"] = doc(200, pi.tile_mid)
    files["backgrounds/tile_WAV.svg"] = doc(100, pi.tile_wav)
    files["backgrounds/tile_ICO.svg"] = doc(96, pi.tile_ico)

    files["app/lumavista.svg"] = doc(64, pi.emblem)
    files["app/homepage.svg"] = doc(16, tb.homepage)

    for rel, text in sorted(files.items()):
        write(root, rel, text)
    print(f"{len(files)} files written to {os.path.normpath(root)}")


if __name__ == "__main__":
    main()
