#!/usr/bin/env python3
"""Makes the folder of the Next-file walk: COUNT small pictures of mixed types and odd sizes,
written by ImageMagick (bmp, gif, jpg, pcx, tif, ico, in their usual variants) and by the
metafile writer (wmf, emf), many with accented names.

usage: make_walk.py OUT_DIR MAKE_METAFILE [COUNT] [CONVERT]
"""
import os
import random
import subprocess
import sys

out, make_metafile = sys.argv[1], sys.argv[2]
count = int(sys.argv[3]) if len(sys.argv) > 3 else 500
convert = sys.argv[4] if len(sys.argv) > 4 else "convert"
os.makedirs(out, exist_ok=True)
rnd = random.Random(2003)

# Share of each type, and the ImageMagick variants of each (options before the output name).
shares = [("jpg", 22), ("bmp", 18), ("gif", 14), ("tif", 14), ("pcx", 12), ("ico", 8), ("wmf", 6), ("emf", 6)]
variants = {
    "jpg": [[], ["-interlace", "JPEG"], ["-colorspace", "Gray"], ["-sampling-factor", "1x1"], ["-quality", "50"]],
    "bmp": [["PREFIX:bmp3"], [], ["-type", "Palette"], ["-monochrome"], ["-colors", "16", "-type", "Palette"],
            ["-type", "Palette", "-compress", "RLE"]],
    "gif": [[], ["-interlace", "GIF"], ["-transparent", "white", "-fuzz", "20%"], ["ANIMATE"]],
    "tif": [["-compress", "None"], ["-compress", "LZW"], ["-compress", "Zip"], ["-compress", "RLE"],
            ["-compress", "JPEG"], ["-colorspace", "Gray"], ["-type", "Palette"], ["-depth", "16"],
            ["-monochrome", "-compress", "Group4"]],
    "pcx": [[], ["-type", "Palette"], ["-monochrome"]],
    "ico": [["-define", "icon:auto-resize=48,32,16"], ["-resize", "32x32!"], ["-resize", "16x16!", "-colors", "16"]],
}
sources = ["plasma:fractal", "rose:", "logo:", "gradient:navy-gold", "pattern:checkerboard", "netscape:"]
names = ["Été {n}", "naïve çà et là {n}", "Ünïcødé ({n})", "photo_{n}", "Øresund — vue {n}", "IMG {n}",
         "Ñandú y pingüino {n}", "日本 {n}", "x{n}", "a-very-long-name-of-a-picture-taken-on-holiday-{n}"]
odd = [(1, 1), (1, 640), (640, 1), (3, 997), (997, 3), (2, 2), (799, 599), (17, 13), (255, 1), (101, 103)]

plan = []
for ext, share in shares:
    plan += [ext] * (count * share // 100)
while len(plan) < count:
    plan.append("jpg")
rnd.shuffle(plan)

jobs = []
for n, ext in enumerate(plan):
    name = rnd.choice(names).format(n=n) + "." + ext
    if rnd.random() < 0.04 and ext == "jpg":
        name = name[:-4] + ".JPG"
    path = os.path.join(out, name)
    if ext in ("wmf", "emf"):
        subprocess.run([make_metafile, ext, path, str(rnd.randint(10, 400))], check=True)
        continue
    if ext == "ico":
        w, h = 64, 64
    elif rnd.random() < 0.15:
        w, h = rnd.choice(odd)
    else:
        w, h = rnd.randint(8, 800), rnd.randint(8, 600)
    jobs.append((path, ext, rnd.choice(variants[ext]), rnd.choice(sources), w, h))

# One ImageMagick process per batch: each output from a clone of a shared source.
for start in range(0, len(jobs), 40):
    batch = jobs[start:start + 40]
    args = [convert, "-respect-parentheses"]
    used = sorted({j[3] for j in batch})
    for i, src in enumerate(used):
        args += ["-size", "800x600", "-seed", str(i + 1), src, "-resize", "800x600!", "-write", f"mpr:s{i}", "+delete"]
    for path, ext, opts, src, w, h in batch:
        i = used.index(src)
        target, extra = path, []
        for o in opts:
            if o.startswith("PREFIX:"):
                target = o[7:] + ":" + path
            elif o != "ANIMATE":
                extra.append(o)
        if "ANIMATE" in opts:
            args += ["(", f"mpr:s{i}", "-resize", f"{w}x{h}!", "(", "+clone", "-flip", ")", "(", "+clone", "-flop",
                     ")", "-set", "delay", "10", "-loop", "0", "-write", target, "-delete", "0--1", ")"]
        else:
            args += ["(", f"mpr:s{i}", "-resize", f"{w}x{h}!"] + extra + ["-write", target, "+delete", ")"]
    args += ["-size", "1x1", "xc:white", "null:"]
    subprocess.run(args, check=True)
print(f"{len(plan)} pictures in {out}")
