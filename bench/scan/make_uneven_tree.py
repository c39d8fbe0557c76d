#!/usr/bin/env python3
"""Makes the uneven test tree of the scan benchmark: shaped unlike make_tree.py's regular one.

    make_uneven_tree.py DEST [--files N] [--count-only] [--list LISTING] [--later-types]

N files (default 600,000) in folders of very different shapes: deep narrow branches (down to 30
levels), wide shallow ones (hundreds of sub-folders), folders holding thousands of files beside
thousands of empty ones. Folder names are long, with spaces, accents (Latin-1 and beyond:
"Été", "Œuvres", "Ελλάδα"), apostrophes and brackets. Media files are few and spread thin: mostly one
in a deep folder, so each adds a long chain of folders to the trees. The same arguments always give
the same tree. Writes DEST.expected with the counts the scan must find (--count-only writes only
that file). --list writes no tree either, but LISTING: one line per folder in walk order
("D<TAB>relative path") and per media file ("F<TAB>relative path<TAB>size"), for benchmarks that build
the catalogue of the tree without the disk. --later-types draws the media files from the nineteen
types and adds look-alikes of the later ones' extensions.
"""
import os
import sys

MEDIA = ["ani", "avi", "bmp", "jpg", "mid", "wav", "gif", "pcx", "tif", "wmf", "emf", "ico"]
# With --later-types: the seven later types too, each by any of its extensions, and their look-alikes.
LATER = ["png", "webp", "mp3", "ogg", "flac", "mp4", "mkv"]
LATER_EXTENSIONS = {"png": ["png", "apng"], "ogg": ["ogg", "oga", "opus"], "mp4": ["mp4", "m4v", "mov"],
                    "mkv": ["mkv", "webm"]}
LATER_OTHER = ["pn", "webpx", "fla", "opu", "mp", "mp3.part"]
OTHER = ["txt", "dat", "c", "h", "html", "jpeg", "tiff", "midi", "xml", "log", "", "bmp.bak", "pdf"]
WORDS = ["Été", "Vidéos", "Musique", "Séquences", "Bibliothèque", "Œuvres complètes", "Photos de famille",
         "Années 90", "Noël", "Fête", "Répertoire", "Brouillons", "Archives numérisées", "Ça et là",
         "Côte d'Azur", "Château", "Forêt", "Dépôt", "Élément", "Naïve", "Garçon", "Français",
         "vacances", "SAUVEGARDE", "projets en cours", "Ελλάδα", "Mémoires (copie)", "à trier",
         "Zoë & Chloé", "[ancien]", "Dossier sans titre"]


class Lcg:
    """A fixed generator, so that the tree never depends on the Python version."""

    def __init__(self, seed):
        self.state = seed & 0xFFFFFFFFFFFFFFFF

    def next(self, n):
        self.state = (self.state * 6364136223846793005 + 1442695040888963407) & 0xFFFFFFFFFFFFFFFF
        return (self.state >> 33) % n


def folder_name(rng, i):
    words = [WORDS[rng.next(len(WORDS))] for _ in range(1 + rng.next(4))]
    return "%s %d" % (" - ".join(words), i)


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
    total_files = int(args[args.index("--files") + 1]) if "--files" in args else 600000
    rng = Lcg(19700101 + total_files)
    counter = [0]

    # Folders first: (path, depth, parent index). Branch shapes are drawn per top-level branch; a
    # folder's budget of descendants is shared out among its children at random.
    folders = []

    def grow(path, depth, shape, budget):
        if budget <= 0:
            return
        if shape == "deep":
            width = 1 if rng.next(10) < 7 else 2 + rng.next(2)
            limit = 30
        elif shape == "wide":
            width = 40 + rng.next(300) if depth == 1 else rng.next(3)
            limit = 3
        else:
            width = 2 + rng.next(8)
            limit = 8
        if depth >= limit:
            return
        width = min(width, budget)
        weights = [1 + rng.next(100) for _ in range(width)]
        total = sum(weights)
        left = budget - width
        for w in weights:
            counter[0] += 1
            child = os.path.join(path, folder_name(rng, counter[0]))
            folders.append((child, depth + 1))
            share = left * w // total
            grow(child, depth + 1, shape, share)

    target_folders = total_files // 5
    shapes = ["deep", "deep", "wide", "mixed", "deep", "mixed"]
    branch = 0
    while len(folders) < target_folders:
        counter[0] += 1
        top = os.path.join(dest, folder_name(rng, counter[0]))
        folders.append((top, 1))
        grow(top, 1, shapes[branch % len(shapes)], min(target_folders - len(folders), 200 + rng.next(4000)))
        branch += 1

    # Files per folder: many empty, most a few, a few hold what is left (thousands each).
    counts = []
    heavy = []
    for i in range(len(folders)):
        roll = rng.next(100)
        if roll < 30:
            counts.append(0)
        elif roll < 98:
            counts.append(1 + rng.next(6))
        else:
            counts.append(0)
            heavy.append(i)
    rest = max(0, total_files - sum(counts))
    weights = [1 + rng.next(100) for _ in heavy]
    for i, w in zip(heavy, weights):
        counts[i] = rest * w // sum(weights)
    counts[heavy[0] if heavy else 0] += total_files - sum(counts)

    listing = open(args[args.index("--list") + 1], "w", encoding="utf-8") if "--list" in args else None
    if listing:
        args.append("--count-only")
        for f, _ in folders:
            listing.write("D\t%s\n" % os.path.relpath(f, dest))
    if "--count-only" not in args:
        os.makedirs(dest)
        for f, _ in folders:
            os.makedirs(f, exist_ok=True)

    media = 0
    media_bytes = 0
    media_folders = set()
    per_type = [0] * len(MEDIA)
    tree_nodes = [set() for _ in range(len(MEDIA) + 1)]
    for (f, depth), count in zip(folders, counts):
        # Media spread thin, mostly deep: at most one per folder.
        with_media = count > 0 and rng.next(1000) < min(450, 12 + depth * 17)
        t = rng.next(len(MEDIA))
        if with_media:
            rel = os.path.relpath(f, dest)
            parts = rel.split(os.sep)
            for k in range(1, len(parts) + 1):
                prefix = os.sep.join(parts[:k])
                tree_nodes[0].add(prefix)
                tree_nodes[t + 1].add(prefix)
        for n in range(count):
            path = os.path.join(f, "fichier n°%05d" % n)
            if with_media and n == 0:
                ext = extension_of(rng, MEDIA[t])
                size = 1 + rng.next(64)
                if listing:
                    listing.write("F\t%s\t%d\n" % (os.path.relpath(path + "." + ext, dest), size))
                if "--count-only" not in args:
                    with open(path + "." + ext, "wb") as out:
                        out.write(b"x" * size)
                media += 1
                media_bytes += size
                per_type[t] += 1
                media_folders.add(f)
            else:
                ext = OTHER[rng.next(len(OTHER))]
                if "--count-only" not in args:
                    open(path + ("." + ext if ext else ""), "wb").close()
    # Nodes of the trees the scan builds: the folders on the way to a media folder, plus a
    # "My computer" root and a drive node per tree that received anything (the ALL tree always has
    # its root; the other eleven empty trees too).
    nodes_all = len(tree_nodes[0]) + 2
    nodes_13 = sum(len(s) + (2 if s else 1) for s in tree_nodes)
    if listing:
        listing.close()
    with open(dest.rstrip("/") + ".expected", "w") as out:
        out.write("folders=%d\nfiles=%d\nmedia=%d\nmedia_bytes=%d\nmedia_folders=%d\n"
                  % (len(folders), total_files, media, media_bytes, len(media_folders)))
        out.write("per_type=%s\n" % ",".join(str(c) for c in per_type))
        out.write("max_depth=%d\n" % max(d for _, d in folders))
        out.write("nodes_all=%d\nnodes_13_trees=%d\n" % (nodes_all, nodes_13))
    print(open(dest.rstrip("/") + ".expected").read(), end="")


if __name__ == "__main__":
    main()
