#!/usr/bin/env python3
"""Checks what packaging/ ships against the program, the MIME database and each other.

check_contents.py --source SRC --built BUILT/packaging --version X.Y --icon-sizes "16;22;..."
"""
import argparse
import configparser
import re
import struct
import subprocess
import sys
import xml.etree.ElementTree as ET
import zlib
from pathlib import Path

APP_ID = "io.github.lumavista.Lumavista"
DESKTOP = "lumavista.desktop"
# One file name extension per media type the program browses.
EXTENSIONS = ["ani", "avi", "bmp", "jpg", "mid", "wav", "gif", "pcx", "tif", "wmf", "emf", "ico", "png", "webp", "mp3",
              "ogg", "oga", "opus", "flac", "mp4", "m4v", "mov", "mkv", "webm"]
# Types the desktop thumbnails itself: the program's thumbnailer must not claim them.
DESKTOP_THUMBNAILED = ["png", "webp", "mp3", "ogg", "opus", "flac", "mp4", "mov", "mkv", "webm"]
XML_LANG = "{http://www.w3.org/XML/1998/namespace}lang"

failures = []


def fail(message):
    failures.append(message)
    print("FAIL:", message)


def read_desktop(path):
    parser = configparser.ConfigParser(interpolation=None, strict=True)
    parser.optionxform = str  # keys are case-sensitive
    parser.read(path, encoding="utf-8")
    return parser["Desktop Entry"]


def split_list(value):
    return [v for v in value.split(";") if v]


def mime_database(root):
    """(canonical types, alias -> canonical, extension -> canonical) from shared-mime-info."""
    canonical = {line.strip().lower() for line in (root / "types").read_text().splitlines() if line.strip()}
    aliases = {}
    for line in (root / "aliases").read_text().splitlines():
        parts = line.split()
        if len(parts) == 2:
            aliases[parts[0].lower()] = parts[1].lower()
    by_ext = {}
    best = {}
    for line in (root / "globs2").read_text().splitlines():
        if line.startswith("#"):
            continue
        weight, mime, glob = line.split(":")[:3]
        m = re.fullmatch(r"\*\.([a-z0-9]+)", glob)
        if m and int(weight) > best.get(m.group(1), -1):
            best[m.group(1)] = int(weight)
            by_ext[m.group(1)] = mime.lower()
    return canonical, aliases, by_ext


def check_desktop(src, entry):
    if entry.get("Type") != "Application":
        fail("desktop entry: Type is not Application")
    exec_words = entry.get("Exec", "").split()
    if exec_words[:1] != ["lumavista"] or exec_words[1:] != ["%f"]:
        fail(f"desktop entry: Exec should be 'lumavista %f', is {entry.get('Exec')!r}")
    for key in ["Name", "GenericName", "Comment", "Keywords"]:
        if not entry.get(key) or not entry.get(key + "[fr]"):
            fail(f"desktop entry: {key} needs an English and a French ([fr]) value")
    if entry.get("Comment") == entry.get("Comment[fr]"):
        fail("desktop entry: the French comment is the English one")
    categories = split_list(entry.get("Categories", ""))
    for needed in ["AudioVideo", "Graphics", "Viewer"]:
        if needed not in categories:
            fail(f"desktop entry: Categories lacks {needed}")

    icon = entry.get("Icon", "")
    if not (src / "src/resources/art/app" / (icon + ".svg")).is_file():
        fail(f"desktop entry: Icon={icon} is not the name of the program's own drawing")

    # Under Wayland the window is matched to its menu entry by the name the program declares.
    main = (src / "src/shell/program/lumavista.cpp").read_text()
    declared = re.search(r'setDesktopFileName\(\s*QStringLiteral\("([^"]+)"\)', main)
    if declared and declared.group(1) + ".desktop" != DESKTOP:
        fail(f"the program calls itself {declared.group(1)}.desktop, the entry is {DESKTOP}")

    listed = [m.lower() for m in split_list(entry.get("MimeType", ""))]
    mime_root = Path("/usr/share/mime")
    if not (mime_root / "globs2").is_file():
        fail("no shared MIME database in /usr/share/mime (scripts/install-deps installs shared-mime-info)")
        return
    canonical, aliases, by_ext = mime_database(mime_root)
    for ext in EXTENSIONS:
        mime = by_ext.get(ext)
        if mime is None:
            fail(f"the MIME database knows no type for .{ext}")
        elif mime not in listed:
            fail(f"desktop entry: MimeType lacks {mime} (.{ext})")
    for mime in listed:
        if mime in canonical:
            continue
        if mime not in aliases:
            fail(f"desktop entry: MimeType {mime} is unknown to the MIME database")
        elif aliases[mime] not in listed:
            fail(f"desktop entry: {mime} is listed without its current name {aliases[mime]}")
    if len(set(listed)) != len(listed):
        fail("desktop entry: a MIME type is listed twice")


def mime_aliases():
    """The aliases of the shared MIME database (names kept for older types)."""
    path = Path("/usr/share/mime/aliases")
    if not path.is_file():
        return set()
    return {line.split()[0].lower() for line in path.read_text().splitlines() if line.strip()}


def check_metainfo(src, entry, version):
    path = src / "packaging" / f"{APP_ID}.metainfo.xml"
    root = ET.parse(path).getroot()
    if root.findtext("id") != APP_ID:
        fail(f"metainfo: id is {root.findtext('id')}, the file is named for {APP_ID}")
    launchable = root.find("launchable[@type='desktop-id']")
    if launchable is None or launchable.text != DESKTOP:
        fail(f"metainfo: the desktop-id launchable must be {DESKTOP}")
    icon = root.find("icon[@type='stock']")
    if icon is None or icon.text != entry.get("Icon"):
        fail("metainfo: the stock icon differs from the desktop entry's Icon")
    for tag in ["summary", "description/p"]:
        langs = {e.get(XML_LANG) for e in root.findall(tag)}
        if None not in langs or "fr" not in langs:
            fail(f"metainfo: {tag} needs an English and a French (xml:lang='fr') text")
    binaries = sorted(e.text for e in root.findall("provides/binary"))
    if binaries != ["lumavista", "lumavista-convert", "lumavista-info", "lumavista-thumbnailer"]:
        fail(f"metainfo: provides {binaries}, the package installs lumavista, lumavista-info, lumavista-convert"
             " and lumavista-thumbnailer")
    # Software centres match files to programs by the media types the metainfo provides.
    provided = sorted(e.text.lower() for e in root.findall("provides/mediatype"))
    wanted = sorted(m for m in (m.lower() for m in split_list(entry.get("MimeType", ""))) if m not in mime_aliases())
    if provided != wanted:
        fail(f"metainfo: provides the media types {provided}, the desktop entry's current names are {wanted}")
    check_screenshot(src, root)
    releases = [e.get("version") for e in root.findall("releases/release")]
    if not releases or releases[0] != version:
        fail(f"metainfo: the newest release is {releases[:1]}, the project is at {version}: add a <release>")


def check_screenshot(src, root):
    """The default screenshot is the committed one: same file name, its true size, both captions."""
    shots = root.findall("screenshots/screenshot[@type='default']")
    if len(shots) != 1:
        fail(f"metainfo: {len(shots)} default screenshots, one expected")
        return
    image = shots[0].find("image")
    url = image.text.strip() if image is not None and image.text else ""
    name = url.rsplit("/", 1)[-1]
    if not url.startswith("https://") or not name.endswith(".png"):
        fail(f"metainfo: screenshot address {url!r} is not an https address of a PNG")
        return
    committed = src / "packaging/screenshots" / name
    if not committed.is_file():
        fail(f"metainfo: the screenshot {name} is not in packaging/screenshots/")
        return
    width, height, _ = png_facts(committed)
    if (str(width), str(height)) != (image.get("width"), image.get("height")):
        fail(f"metainfo: screenshot declared {image.get('width')}x{image.get('height')}, is {width}x{height}")
    # Software centres show screenshots at 16:9 and no smaller than 620 pixels wide.
    if width < 620 or width * 9 != height * 16:
        fail(f"screenshot {name} is {width}x{height}, not 16:9 at 620 pixels wide or more")
    langs = {e.get(XML_LANG) for e in shots[0].findall("caption")}
    if None not in langs or "fr" not in langs:
        fail("metainfo: the screenshot needs an English and a French caption")


def check_licence(src, version):
    """One licence said the same way in LICENSE, the copyright file and the metainfo; the
    changelog's newest entry is the project's version."""
    licence = (src / "LICENSE").read_text(encoding="utf-8") if (src / "LICENSE").is_file() else ""
    if "GNU GENERAL PUBLIC LICENSE" not in licence or "Version 3, 29 June 2007" not in licence:
        fail("LICENSE is not the text of the GNU GPL version 3")
    root = ET.parse(src / "packaging" / f"{APP_ID}.metainfo.xml").getroot()
    if root.findtext("project_license") != "GPL-3.0-or-later":
        fail(f"metainfo: project_license is {root.findtext('project_license')!r}, not GPL-3.0-or-later")

    paragraphs = [p for p in re.split(r"\n\s*\n", (src / "packaging/copyright").read_text(encoding="utf-8")) if p.strip()]
    header = paragraphs[0] if paragraphs else ""
    if not header.startswith("Format: https://www.debian.org/doc/packaging-manuals/copyright-format/1.0/"):
        fail("copyright: the first paragraph does not name the machine-readable format")
    files = [p for p in paragraphs if p.startswith("Files:")]
    if not any(p.startswith("Files: *\n") for p in files):
        fail("copyright: no 'Files: *' paragraph")
    named = {m for p in files for m in re.findall(r"^License: (\S+)$", p, re.M)}
    defined = {m.group(1) for p in paragraphs if (m := re.match(r"License: (\S+)\n ", p))}
    if named != {"GPL-3+"} or not named <= defined:
        fail(f"copyright: files under {sorted(named)}, texts given for {sorted(defined)}; GPL-3+ expected")

    out = subprocess.run(["dpkg-parsechangelog", "-l", str(src / "packaging/changelog"), "-S", "Version"],
                         capture_output=True, text=True)
    if out.returncode != 0 or out.stdout.strip() != version:
        fail(f"changelog: the newest entry is {out.stdout.strip()!r} ({out.stderr.strip()}), the project is at {version}")


def png_facts(path):
    """(width, height, whether any pixel is not fully transparent) of an 8-bit RGBA PNG."""
    data = path.read_bytes()
    pos, idat, header = 8, b"", None
    while pos < len(data):
        length, kind = struct.unpack(">I4s", data[pos:pos + 8])
        body = data[pos + 8:pos + 8 + length]
        if kind == b"IHDR":
            header = struct.unpack(">IIBB", body[:10])
        elif kind == b"IDAT":
            idat += body
        pos += 12 + length
    width, height, depth, colour = header
    if depth != 8 or colour != 6:
        return width, height, True  # not RGBA: no alpha to be blank in
    raw = zlib.decompress(idat)
    stride = width * 4 + 1
    # Filters change byte values but not whether a whole image is zero: a blank render
    # decompresses to zeros only (each row's filter byte aside, which is zero for such rows).
    visible = any(raw[r * stride + 1:(r + 1) * stride].strip(b"\0") for r in range(height))
    return width, height, visible


def check_icons(built, sizes):
    for size in sizes:
        png = built / "icons" / f"{size}x{size}" / "lumavista.png"
        if not png.is_file():
            fail(f"icon {png} was not rendered (scripts/install-deps installs rsvg-convert)")
            continue
        width, height, visible = png_facts(png)
        if (width, height) != (size, size):
            fail(f"icon {png} is {width}x{height}")
        if not visible:
            fail(f"icon {png} is fully transparent")


def check_thumbnailer_entry(src):
    """The thumbnailer entry runs our thumbnailer and names the types no desktop thumbnailer serves."""
    parser = configparser.ConfigParser(interpolation=None, strict=True)
    parser.optionxform = str
    parser.read(src / "packaging/lumavista.thumbnailer", encoding="utf-8")
    entry = parser["Thumbnailer Entry"]
    if entry.get("Exec", "").split() != ["lumavista-thumbnailer", "-s", "%s", "%u", "%o"]:
        fail(f"thumbnailer entry: Exec is {entry.get('Exec')!r}")
    listed = [m.lower() for m in split_list(entry.get("MimeType", ""))]
    mime_root = Path("/usr/share/mime")
    if not (mime_root / "globs2").is_file():
        return
    canonical, aliases, by_ext = mime_database(mime_root)
    for ext in ["pcx", "wmf", "emf", "ani", "mid", "wav"]:
        if by_ext.get(ext) not in listed:
            fail(f"thumbnailer entry: MimeType lacks {by_ext.get(ext)} (.{ext})")
    for mime in listed:
        if mime not in canonical and mime not in aliases:
            fail(f"thumbnailer entry: MimeType {mime} is unknown to the MIME database")
    for ext in DESKTOP_THUMBNAILED:
        if by_ext.get(ext) in listed:
            fail(f"thumbnailer entry: claims {by_ext.get(ext)} (.{ext}), which the desktop thumbnails itself")


def check_man_pages(src, built, version):
    # Every option a program's usage text names is described on its page.
    usages = {"lumavista": src / "src/shell/program/lumavista.cpp", "lumavista-info": src / "tools/info/main.cpp"}
    for page, usage in usages.items():
        path = built / "man" / f"{page}.1"
        text = path.read_text(encoding="utf-8")
        if not re.search(rf'^\.TH .*"Lumavista {re.escape(version)}"', text, re.M):
            fail(f"{path}: the title line does not carry version {version}")
        run = subprocess.run(["groff", "-man", "-ww", "-z", "-K", "utf8", str(path)],
                             capture_output=True, text=True)
        if run.returncode != 0 or run.stderr.strip():
            fail(f"{path}: groff warns: {run.stderr.strip()}")
        options = set(re.findall(r"--[a-z0-9][a-z0-9-]*", usage.read_text()))
        if not options:
            fail(f"no option found in {usage}")
        plain = text.replace("\\-", "-")
        for option in sorted(options):
            if option not in plain:
                fail(f"{path}: option {option} of {page} is not described")


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--source", type=Path, required=True)
    parser.add_argument("--built", type=Path, required=True)
    parser.add_argument("--version", required=True)
    parser.add_argument("--icon-sizes", required=True)
    args = parser.parse_args()

    entry = read_desktop(args.source / "packaging" / DESKTOP)
    check_desktop(args.source, entry)
    check_metainfo(args.source, entry, args.version)
    check_icons(args.built, [int(s) for s in args.icon_sizes.split(";")])
    check_man_pages(args.source, args.built, args.version)
    check_thumbnailer_entry(args.source)
    check_licence(args.source, args.version)
    if failures:
        print(f"{len(failures)} problem(s)")
        return 1
    print("packaging contents: all checks passed")
    return 0


if __name__ == "__main__":
    sys.exit(main())
