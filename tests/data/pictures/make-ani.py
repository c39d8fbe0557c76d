#!/usr/bin/env python3
"""Makes the animated cursor fixtures: cursor frames drawn by ImageMagick (convert ... cur:),
wrapped in a RIFF "ACON" file by this script.
  cursor.ani           3 frames, sequence 0 1 2 1, rates 5 10 15 20 jiffies
  cursor-unpadded.ani  the same frames with an odd-sized INFO chunk and no pad bytes
Run from this folder: ./make-ani.py"""
import struct
import subprocess


def cur(colour):
    return subprocess.run(["convert", "-size", "32x32", "xc:" + colour, "cur:-"],
                          check=True, capture_output=True).stdout


def chunk(cid, body, pad=True):
    data = cid + struct.pack("<I", len(body)) + body
    return data + (b"\0" if pad and len(body) % 2 else b"")


def ani(frames, seq, rates, pad=True, extra=b""):
    anih = struct.pack("<9I", 36, len(frames), len(seq), 0, 0, 0, 0, 6, 1)
    body = b"ACON" + chunk(b"anih", anih) + extra
    body += chunk(b"rate", b"".join(struct.pack("<I", r) for r in rates))
    body += chunk(b"seq ", b"".join(struct.pack("<I", s) for s in seq))
    body += chunk(b"LIST", b"fram" + b"".join(chunk(b"icon", f, pad) for f in frames), pad)
    return chunk(b"RIFF", body)


frames = [cur("red"), cur("lime"), cur("blue")]
with open("cursor.ani", "wb") as f:
    f.write(ani(frames, [0, 1, 2, 1], [5, 10, 15, 20]))
info = chunk(b"LIST", b"INFOINAM" + struct.pack("<I", 5) + b"Rose!", pad=False)
with open("cursor-unpadded.ani", "wb") as f:
    f.write(ani(frames, [0, 1, 2, 1], [5, 10, 15, 20], pad=False, extra=info))
