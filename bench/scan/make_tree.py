#!/usr/bin/env python3
"""Makes the deterministic test tree of the scan benchmark.

    make_tree.py DEST [--scale K] [--later-types]

Scale 1 gives 200,000 files in 20,000 folders (three levels: 20, 20 x 20, then the rest spread
evenly), a tenth of the files media files of the twelve types in mixed letter case, the rest other
files (some with look-alike extensions such as .jpeg or .tiff). Scale K multiplies both counts.
Media files hold 1..64 bytes, the others are empty. The same arguments always give the same tree.
Writes DEST.expected with the counts the scan must find. --later-types draws the media files from
the nineteen types (the seven later ones by any of their extensions) and adds look-alikes of theirs.
"""
import os
import sys

MEDIA = ["ani", "avi", "bmp", "jpg", "mid", "wav", "gif", "pcx", "tif", "wmf", "emf", "ico"]
# With --later-types: the seven later types too, each by any of its extensions, and their look-alikes.
LATER = ["png", "webp", "mp3", "ogg", "flac", "mp4", "mkv"]
LATER_EXTENSIONS = {"png": ["png", "apng"], "ogg": ["ogg", "oga", "opus"], "mp4": ["mp4", "m4v", "mov"],
                    "mkv": ["mkv", "webm"]}
LATER_OTHER = ["pn", "webpx", "fla", "opu", "mp", "mp3.part"]
OTHER = ["txt", "dat", "c", "h", "html", "jpeg", "tiff", "midi", "xml", "log", "", "bmp.bak"]
WORDS = ["Photos", "music", "Docs", "src", "Backup", "tmp", "Projects", "video", "Misc", "old"]


class Lcg:
    """A fixed generator, so that the tree never depends on the Python version."""

    def __init__(self, seed):
        self.state = seed & 0xFFFFFFFFFFFFFFFF

    def next(self, n):
        self.state = (self.state * 6364136223846793005 + 1442695040888963407) & 0xFFFFFFFFFFFFFFFF
        return (self.state >> 33) % n


def folder_name(rng, i):
    word = WORDS[rng.next(len(WORDS))]
    if rng.next(3) == 0:
        word = word.upper()
    return "%s %05d" % (word, i)


def extension_of(rng, code):
    """A media file's extension in mixed letter case; a later type's is any of its own."""
    choices = LATER_EXTENSIONS.get(code)
    ext = choices[rng.next(len(choices))] if choices else code
    return ext if rng.next(2) else ext.upper()


def main():
    args = sys.argv[1:]
    if "--later-types" in args:
        args.remove("--later-types")
        MEDIA.extend(LATER)
        OTHER.extend(LATER_OTHER)
    if not args:
        sys.exit(__doc__)
    dest = args[0]
    scale = int(args[args.index("--scale") + 1]) if "--scale" in args else 1
    folders_total = 20000 * scale
    files_per_folder = 10
    rng = Lcg(20240601 + scale)

    os.makedirs(dest)
    level1 = [os.path.join(dest, folder_name(rng, i)) for i in range(20)]
    level2 = []
    for i, parent in enumerate(level1):
        level2 += [os.path.join(parent, folder_name(rng, i * 20 + j)) for j in range(20)]
    rest = folders_total - len(level1) - len(level2)
    level3 = []
    for k in range(rest):
        parent = level2[k % len(level2)]
        level3.append(os.path.join(parent, folder_name(rng, 1000 + k)))
    folders = level1 + level2 + level3
    for f in folders:
        os.makedirs(f, exist_ok=True)

    media = 0
    media_bytes = 0
    media_folders = set()
    per_type = [0] * len(MEDIA)
    for f in folders:
        for n in range(files_per_folder):
            if rng.next(10) == 0:
                t = rng.next(len(MEDIA))
                ext = extension_of(rng, MEDIA[t])
                size = 1 + rng.next(64)
                with open(os.path.join(f, "file%02d.%s" % (n, ext)), "wb") as out:
                    out.write(b"x" * size)
                media += 1
                media_bytes += size
                per_type[t] += 1
                media_folders.add(f)
            else:
                ext = OTHER[rng.next(len(OTHER))]
                name = "file%02d" % n + ("." + ext if ext else "")
                open(os.path.join(f, name), "wb").close()
    with open(dest.rstrip("/") + ".expected", "w") as out:
        out.write("folders=%d\nfiles=%d\nmedia=%d\nmedia_bytes=%d\nmedia_folders=%d\n"
                  % (len(folders), len(folders) * files_per_folder, media, media_bytes, len(media_folders)))
        out.write("per_type=%s\n" % ",".join(str(c) for c in per_type))
    print(open(dest.rstrip("/") + ".expected").read(), end="")


if __name__ == "__main__":
    main()
