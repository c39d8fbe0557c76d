"""Drives, folders, computer and file-type drawings at 16 and 32 px."""

from svgkit import Doc, E, G, circle, ellipse, line, path, poly, polar, rect

OUT = "#3c4653"  # common dark outline
# type colours: (main, light) used for emblems and the page dog-ear
TYPE = {
    "ANI": ("#7e57c2", "#d9ccf2"),
    "AVI": ("#36475c", "#c6d3e3"),
    "BMP": ("#2f8fdc", "#c4e2fb"),
    "JPG": ("#e4572e", "#fbd0c0"),
    "MID": ("#d63384", "#f8c9e0"),
    "WAV": ("#12a08a", "#bde9e0"),
    "GIF": ("#eea100", "#fde4a8"),
    "PCX": ("#a0522d", "#ecd2c2"),
    "TIF": ("#4f5bd5", "#cdd1f6"),
    "WMF": ("#1f7ae0", "#c7dcf7"),
    "EMF": ("#2e9e48", "#c8ebcf"),
    "ICO": ("#0ea5c6", "#bfeaf3"),
    "PNG": ("#3b82c4", "#d3e6f7"),
    "WEBP": ("#1aa179", "#c6eee0"),
    "MP3": ("#c2410c", "#fbd6bf"),
    "OGG": ("#7c3aed", "#ddd0fb"),
    "FLAC": ("#0f766e", "#c3ebe6"),
    "MP4": ("#b91c1c", "#f6c9c9"),
    "MKV": ("#334155", "#cdd5e0"),
}


# ---------------------------------------------------------------- drives, 16 px
def hdd16(d, y=4, body=("#f2f4f7", "#b9c1cb")):
    """Hard disk box, 13x8, top edge at y."""
    return "".join(
        [
            rect(1.5, y + 0.5, 13, 8, rx=1.5, fill=d.lg(*body)),
            rect(2, y + 5, 12, 3, rx=0.5, fill="#97a2ae"),
            rect(2, y + 4, 12, 1, fill="#7f8a97"),
            rect(3, y + 2, 10, 1, fill="#ffffff", opacity=0.7),
            rect(3, y + 6, 5, 1, fill="#5f6a77"),
            rect(11, y + 6, 2, 1, fill="#3ee070"),
            rect(1.5, y + 0.5, 13, 8, rx=1.5, fill="none", stroke=OUT),
        ]
    )


def badge16(d, kind):
    """Round status badge bottom-right: '?' (grey-blue) or 'x' (red), glyphs on the pixel grid."""
    glyph = {
        "?": [".XXX.", "X...X", "....X", "..XX.", "..X..", ".....", "..X.."],
        "x": ["X...X", ".X.X.", "..X..", ".X.X.", "X...X"],
    }[kind]
    bg = d.lg("#8796a8", "#4f5d6f") if kind == "?" else d.lg("#f26b62", "#c62f27")
    y0 = 12 - len(glyph) // 2
    mark = "".join(
        rect(9 + i, y0 + j, 1, 1, fill="#ffffff") for j, row in enumerate(glyph) for i, c in enumerate(row) if c == "X"
    )
    return circle(11.5, 11.5, 4.5, fill=bg, stroke="#ffffff", stroke_width=1) + mark


def drive16(d, t):
    if t == 0:
        return hdd16(d, 2, ("#e4e6e8", "#b4b8bd")) + badge16(d, "?")
    if t == 1:
        return G(hdd16(d, 2, ("#e4e6e8", "#b4b8bd")), opacity=0.75) + badge16(d, "x")
    if t == 2:  # floppy disk
        return "".join(
            [
                path("M2.5 1.5 H12 L14.5 4 V14.5 H2.5 Z", fill=d.lg("#5a82b8", "#2f4f7f"), stroke="#1f3556",
                     stroke_linejoin="round"),
                rect(5, 2, 6, 4, fill=d.lg("#eef1f5", "#aab4c0")),
                rect(8, 3, 2, 2, fill="#2f4f7f"),
                rect(4, 8, 9, 6, fill="#f6f8fb"),
                rect(4, 8, 9, 1, fill="#e4572e"),
                rect(5, 10, 7, 1, fill="#c3ccd8"),
                rect(5, 12, 5, 1, fill="#c3ccd8"),
            ]
        )
    if t == 3:
        return hdd16(d, 4)
    if t == 4:  # network drive: box on a cable
        return "".join(
            [
                hdd16(d, 0),
                rect(7, 9, 2, 3, fill="#5b6673"),
                rect(0, 13, 16, 1, fill="#2f6fd6"),
                rect(5.5, 11.5, 5, 3, rx=0.5, fill=d.lg("#6aa8f5", "#2f6fd6"), stroke="#1d4f9e"),
            ]
        )
    if t == 5:
        return disc16(d)
    if t == 6:  # memory module
        pins = "".join(rect(x, 11, 1, 2, fill="#e0b23a") for x in (2, 4, 6, 9, 11, 13))
        return "".join(
            [
                pins,
                rect(0.5, 4.5, 15, 7, rx=0.5, fill=d.lg("#3fae6e", "#1f7a47"), stroke="#155c35"),
                rect(2, 6, 5, 3, fill="#262b33"),
                rect(9, 6, 5, 3, fill="#262b33"),
                rect(2, 6, 5, 1, fill="#4a5260"),
                rect(9, 6, 5, 1, fill="#4a5260"),
            ]
        )
    raise ValueError(t)


def wedge(cx, cy, r0, r1, a0, a1):
    p0, p1 = polar(cx, cy, r1, a0), polar(cx, cy, r1, a1)
    q0, q1 = polar(cx, cy, r0, a1), polar(cx, cy, r0, a0)
    return (f"M{p0[0]:.2f} {p0[1]:.2f} A{r1} {r1} 0 0 1 {p1[0]:.2f} {p1[1]:.2f} "
            f"L{q0[0]:.2f} {q0[1]:.2f} A{r0} {r0} 0 0 0 {q1[0]:.2f} {q1[1]:.2f} Z")


def ring(cx, cy, r, hole):
    return (f"M{cx - r} {cy} a{r} {r} 0 1 0 {2 * r} 0 a{r} {r} 0 1 0 {-2 * r} 0 Z "
            f"M{cx - hole} {cy} a{hole} {hole} 0 1 0 {2 * hole} 0 a{hole} {hole} 0 1 0 {-2 * hole} 0 Z")


def disc16(d):
    return "".join(
        [
            path(ring(8, 8, 6.5, 1.2), fill=d.lg("#f7f9fb", "#c3ccd6", x2=1), fill_rule="evenodd", stroke="#5f6b78"),
            path(wedge(8, 8, 2.6, 6, 200, 250), fill="#7cc8ff", opacity=0.8),
            path(wedge(8, 8, 2.6, 6, 20, 70), fill="#ff9fd6", opacity=0.7),
            path(wedge(8, 8, 2.6, 6, 250, 285), fill="#ffe27a", opacity=0.7),
            path(ring(8, 8, 2.5, 1.2), fill="#ffffff", fill_rule="evenodd", stroke="#8a95a2", stroke_width=0.8),
        ]
    )


# ---------------------------------------------------------------- drives, 32 px
def hdd32(d, y=9, body=("#f4f6f9", "#b3bcc7")):
    return "".join(
        [
            rect(2.5, y + 0.5, 27, 15, rx=3, fill=d.lg(*body)),
            path(f"M3 {y + 9} H29 V{y + 13} A2.5 2.5 0 0 1 26.5 {y + 15.5} H5.5 A2.5 2.5 0 0 1 3 {y + 13} Z",
                 fill=d.lg("#a9b3bf", "#8a95a2")),
            rect(3, y + 8, 26, 1, fill="#7b8694"),
            rect(5, y + 2, 22, 1, fill="#ffffff", opacity=0.8),
            circle(6.5, y + 5, 1, fill="#a0a9b4"),
            circle(25.5, y + 5, 1, fill="#a0a9b4"),
        ]
        + [rect(x, y + 11, 1, 3, fill="#626d7a") for x in (6, 8, 10, 12, 14)]
        + [
            circle(24.5, y + 12.5, 2.2, fill="#3ee070", opacity=0.35),
            circle(24.5, y + 12.5, 1.3, fill="#36d66a"),
            rect(2.5, y + 0.5, 27, 15, rx=3, fill="none", stroke=OUT),
        ]
    )


def badge32(d, kind):
    if kind == "?":
        bg = d.lg("#8796a8", "#4f5d6f")
        mark = path("M20.6 20.8 a3.4 3.4 0 1 1 4.9 3.1 c-1.1 .6 -1.5 1.2 -1.5 2.4", fill="none",
                    stroke="#ffffff", stroke_width=2.2, stroke_linecap="round") + circle(24, 29.2, 1.3, fill="#ffffff")
    else:
        bg = d.lg("#f26b62", "#c62f27")
        mark = path("M20.5 20.5 L27.5 27.5 M27.5 20.5 L20.5 27.5", fill="none", stroke="#ffffff",
                    stroke_width=2.5, stroke_linecap="round")
    return circle(24, 24, 7.5, fill=bg, stroke="#ffffff", stroke_width=1.5) + mark


def drive32(d, t):
    if t == 0:
        return hdd32(d, 4, ("#e6e8ea", "#b1b5ba")) + badge32(d, "?")
    if t == 1:
        return G(hdd32(d, 4, ("#e6e8ea", "#b1b5ba")), opacity=0.75) + badge32(d, "x")
    if t == 2:
        return "".join(
            [
                path("M4.5 3.5 H25 L28.5 7 V28.5 H4.5 Z", fill=d.lg("#5d87c0", "#2b4a78"), stroke="#1c3252",
                     stroke_linejoin="round"),
                rect(9.5, 3.5, 13, 9, fill=d.lg("#f0f3f6", "#a6b0bd"), stroke="#6d7885"),
                rect(17, 5, 3, 6, fill="#2b4a78"),
                rect(8, 16, 17, 12, rx=1, fill="#f6f8fb"),
                rect(8, 16, 17, 2, fill="#e4572e"),
                rect(10, 20, 13, 1, fill="#c3ccd8"),
                rect(10, 23, 13, 1, fill="#c3ccd8"),
                rect(10, 26, 8, 1, fill="#c3ccd8"),
                rect(6, 26, 1, 2, fill="#1c3252"),
            ]
        )
    if t == 3:
        return hdd32(d, 8)
    if t == 4:
        return "".join(
            [
                hdd32(d, 2),
                rect(15, 18, 2, 6, fill="#56606c"),
                rect(1, 25, 30, 2, fill="#2f6fd6"),
                rect(10.5, 22.5, 11, 7, rx=1.5, fill=d.lg("#74b0f7", "#2f6fd6"), stroke="#1d4f9e"),
                rect(13, 25, 6, 2, fill="#1d4f9e", opacity=0.6),
            ]
        )
    if t == 5:
        return "".join(
            [
                path(ring(16, 16, 13.5, 2.2), fill=d.lg("#fafbfc", "#bcc6d1", x2=1), fill_rule="evenodd",
                     stroke="#5f6b78"),
                path(wedge(16, 16, 5.5, 12.5, 195, 250), fill="#7cc8ff", opacity=0.8),
                path(wedge(16, 16, 5.5, 12.5, 250, 290), fill="#ffe27a", opacity=0.7),
                path(wedge(16, 16, 5.5, 12.5, 15, 70), fill="#ff9fd6", opacity=0.7),
                path(wedge(16, 16, 5.5, 12.5, 70, 100), fill="#a8f0c0", opacity=0.6),
                circle(16, 16, 10.5, fill="none", stroke="#ffffff", stroke_width=0.8, opacity=0.7),
                path(ring(16, 16, 5, 2.2), fill="#ffffff", fill_rule="evenodd", stroke="#8a95a2"),
            ]
        )
    if t == 6:
        pins = "".join(rect(x, 22, 1, 3, fill="#e0b23a") for x in list(range(4, 15, 2)) + list(range(18, 29, 2)))
        chips = "".join(
            rect(x, 12, 6, 7, rx=0.5, fill="#262b33") + rect(x, 12, 6, 1, fill="#4d5563") for x in (4, 13, 22)
        )
        return "".join(
            [
                pins,
                path("M1.5 8.5 H30.5 V22.5 H17.5 V21 H14.5 V22.5 H1.5 Z", fill=d.lg("#43b474", "#1e7443"),
                     stroke="#155c35", stroke_linejoin="round"),
                chips,
                rect(3, 10, 26, 1, fill="#7ad6a0", opacity=0.5),
                circle(3.5, 20, 0.8, fill="#155c35"),
                circle(28.5, 20, 0.8, fill="#155c35"),
            ]
        )
    raise ValueError(t)


# ---------------------------------------------------------------- folders
FOLDER = {
    "yellow": ("#e2a72a", "#ffdc6e", "#f3b532", "#a8740f"),
    "beige": ("#b7aa92", "#ece4d3", "#cfc2a6", "#857759"),
}


def folder16(d, colour="yellow", opened=False):
    back, hi, lo, out = FOLDER[colour]
    parts = [path("M1.5 2.5 H6 L7.5 4 H14.5 V13.5 H1.5 Z", fill=back, stroke=out, stroke_linejoin="round")]
    if opened:
        parts += [
            rect(3.5, 4.5, 9, 6, fill="#ffffff", stroke="#a9b2bd"),
            rect(5, 6, 6, 1, fill="#cfd6df"),
            path("M0.5 13.5 L2.5 7.5 H15.5 L13.5 13.5 Z", fill=d.lg(hi, lo), stroke=out, stroke_linejoin="round"),
        ]
    else:
        parts += [
            rect(1.5, 5.5, 13, 8, fill=d.lg(hi, lo), stroke=out),
            rect(2, 6, 12, 1, fill="#ffffff", opacity=0.45),
        ]
    return "".join(parts)


def folder32(d, colour="yellow", opened=False):
    back, hi, lo, out = FOLDER[colour]
    parts = [path("M2.5 4.5 H11.5 L14.5 7.5 H29.5 V27.5 H2.5 Z", fill=back, stroke=out, stroke_linejoin="round")]
    if opened:
        parts += [
            rect(5.5, 8.5, 20, 12, fill="#ffffff", stroke="#a9b2bd"),
            rect(8, 11, 15, 1, fill="#cfd6df"),
            rect(8, 14, 12, 1, fill="#cfd6df"),
            path("M1.5 27.5 L5.5 14.5 H31 L27 27.5 Z", fill=d.lg(hi, lo), stroke=out, stroke_linejoin="round"),
        ]
    else:
        parts += [
            rect(2.5, 10.5, 27, 17, rx=1, fill=d.lg(hi, lo), stroke=out),
            rect(3, 11, 26, 1, fill="#ffffff", opacity=0.5),
        ]
    return "".join(parts)


def media_badge16(d):
    return "".join(
        [
            rect(8.5, 8.5, 7, 7, rx=1.5, fill=d.lg("#e84393", "#7e57c2", x2=1), stroke="#ffffff"),
            rect(12, 10, 1, 3, fill="#ffffff"),
            rect(13, 10, 1, 1, fill="#ffffff"),
            rect(14, 11, 1, 1, fill="#ffffff", opacity=0.8),
            rect(10, 12, 3, 2, rx=0.8, fill="#ffffff"),
        ]
    )


# ---------------------------------------------------------------- computer
def computer16(d, lit=False):
    screen = ("#8fd0ff", "#3d8bfd") if lit else ("#5fb0ff", "#2a64c8")
    parts = [
        rect(6, 11, 4, 3, fill="#8a95a2"),
        rect(3.5, 13.5, 9, 2, rx=1, fill=d.lg("#e3e7ec", "#aeb7c2"), stroke=OUT),
        rect(1.5, 1.5, 13, 10, rx=1, fill="#4a5561", stroke="#2b333d"),
        rect(3, 3, 10, 7, fill=d.lg(*screen)),
        path("M3 3 H9 L3 8 Z", fill="#ffffff", opacity=0.25 if lit else 0.15),
    ]
    return "".join(parts)


# ---------------------------------------------------------------- documents
def page16(d, ear="#dfe5ec"):
    return (path("M2.5 .5 H9.5 L13.5 4.5 V15.5 H2.5 Z", fill=d.lg("#ffffff", "#e9edf2"), stroke="#7b8696",
                 stroke_linejoin="round")
            + path("M9.5 .5 V4.5 H13.5 Z", fill=ear, stroke="#7b8696", stroke_linejoin="round"))


def page32(d, ear="#dfe5ec"):
    return (path("M5.5 1.5 H19.5 L26.5 8.5 V30.5 H5.5 Z", fill=d.lg("#ffffff", "#e7ebf1"), stroke="#7b8696",
                 stroke_linejoin="round")
            + path("M19.5 1.5 V8.5 H26.5 Z", fill=ear, stroke="#7b8696", stroke_linejoin="round"))


# Emblems are drawn in a 10x10 box; the 32-px page shows them twice as large
# with a few extra details (big=True).
def em_question(d, big):
    return path("M3.2 3.4 A1.9 1.9 0 1 1 6 5 C5.3 5.4 5 5.8 5 6.7", fill="none", stroke="#4f5d6e", stroke_width=1.6,
                stroke_linecap="round") + circle(5, 8.7, 0.95, fill="#4f5d6e")


def em_ani(d, big):
    c, l = TYPE["ANI"]
    parts = [rect(0, 2, 2, 1, fill=c), rect(0, 4, 3, 1, fill=c), rect(0, 6, 2, 1, fill=c)]
    if big:
        parts.append(path("M2.5 1 V7.2 L3.8 6 L4.8 8.3 L5.4 8 L4.5 5.6 H6.2 Z", fill=l, opacity=0.9))
    parts.append(path("M3.5 .5 V8 L5.3 6.3 L6.6 9.2 L7.9 8.6 L6.6 5.8 H9 Z", fill="#ffffff", stroke="#2d2540",
                      stroke_width=0.9 if not big else 0.6, stroke_linejoin="round"))
    return "".join(parts)


def em_avi(d, big):
    c, l = TYPE["AVI"]
    holes = "".join(rect(x, y, 1, 1, fill="#ffffff") for x in (1, 3, 5, 7) for y in (1, 7))
    frame = rect(1, 3, 7, 3, fill=d.lg("#7cc8ff", "#2f7ad8"))
    extra = ""
    if big:
        extra = rect(4.25, 3, 0.5, 3, fill=c) + path("M1 6 L3 4.2 L4.25 5.2 V6 Z", fill="#3fae4f") + path(
            "M4.75 6 L6.5 4.3 L8 5.6 V6 Z", fill="#3fae4f")
    return rect(0, 0, 9, 9, rx=0.5, fill=c) + holes + frame + extra


def landscape(d, x, y, w, h, sky=("#bfe6ff", "#5fb0f0"), hill="#3fae4f", hill2="#7fcf5a", sun="#ffd23f",
              stroke="#2a6aa8", sw=1):
    """Small picture: sky, sun and two hills inside a frame whose outline is centred on x,y,w,h."""
    return "".join(
        [
            rect(x, y, w, h, fill=d.lg(*sky)),
            circle(x + w * 0.7, y + h * 0.3, min(w, h) * 0.16, fill=sun),
            path(f"M{x} {y + h} L{x + w * 0.35} {y + h * 0.45} L{x + w * 0.62} {y + h} Z", fill=hill2),
            path(f"M{x + w * 0.3} {y + h} L{x + w * 0.68} {y + h * 0.55} L{x + w} {y + h * 0.85} V{y + h} Z",
                 fill=hill),
            rect(x, y, w, h, fill="none", stroke=stroke, stroke_width=sw),
        ]
    )


def em_bmp(d, big):
    return landscape(d, 0.5, 1.5, 9, 7, sw=1 if not big else 0.5)


def em_jpg(d, big):
    c, l = TYPE["JPG"]
    sw = 1 if not big else 0.5
    parts = [
        rect(2, 1, 3, 2, fill="#8e2c12"),
        rect(0.5, 2.5, 9, 6, rx=1, fill=d.lg("#f5855a", "#cf431c"), stroke="#8e2c12", stroke_width=sw),
        circle(5, 5.5, 2.5, fill="#ffffff"),
        circle(5, 5.5, 1.6, fill="#2b2f36"),
        circle(4.5, 5, 0.5, fill="#ffffff", opacity=0.8),
        rect(7, 3.5, 1.5, 1, fill="#ffe08a"),
    ]
    if big:
        parts.insert(2, rect(1, 3, 8, 1, fill="#ffffff", opacity=0.3))
        parts.append(circle(5, 5.5, 1.2, fill="none", stroke="#5a90d8", stroke_width=0.4))
    return "".join(parts)


def em_mid(d, big):
    c, l = TYPE["MID"]
    parts = [
        ellipse(2.3, 8, 1.7, 1.25, fill=c, transform="rotate(-20 2.3 8)"),
        ellipse(7.3, 7, 1.7, 1.25, fill=c, transform="rotate(-20 7.3 7)"),
        rect(3, 2, 1, 6, fill=c),
        rect(8, 1, 1, 6, fill=c),
        poly([(3, 1.8), (9, 0.5), (9, 2.4), (3, 3.7)], fill=c),
    ]
    if big:
        parts.append(ellipse(1.8, 7.7, 0.6, 0.3, fill="#ffffff", opacity=0.6, transform="rotate(-20 1.8 7.7)"))
        parts.append(ellipse(6.8, 6.7, 0.6, 0.3, fill="#ffffff", opacity=0.6, transform="rotate(-20 6.8 6.7)"))
    return "".join(parts)


def em_wav(d, big):
    c, l = TYPE["WAV"]
    hs = [2, 6, 9, 5, 3] if not big else [2, 4, 7, 9, 6, 8, 4, 5, 2]
    w = 1 if not big else 0.5
    step = 2 if not big else 1
    fill = d.lg("#3fd6b8", "#0b7a68")
    return "".join(rect(i * step, 4.5 - h / 2, w, h, rx=w / 2, fill=fill) for i, h in enumerate(hs))


def em_gif(d, big):
    c, l = TYPE["GIF"]
    sw = 1 if not big else 0.5
    return "".join(
        [
            rect(2.5, 0.5, 7, 6, fill=l, stroke=c, stroke_width=sw),
            landscape(d, 0.5, 2.5, 7, 6, sky=("#ffe6a8", "#ff9d5c"), hill="#b0479a", hill2="#e07bb8",
                      sun="#fff3b0", stroke="#c27f00", sw=sw),
        ]
    )


def em_pcx(d, big):
    c, l = TYPE["PCX"]
    sw = 1 if not big else 0.5
    return "".join(
        [
            rect(0.5, 3.5, 7, 6, fill="#fffaf2", stroke="#8a6a50", stroke_width=sw),
            path("M1.5 8 C2.5 5.5 4 7.5 5.5 5", fill="none", stroke="#e4572e", stroke_width=1.2, stroke_linecap="round"),
            G(
                rect(-0.75, -4.5, 1.5, 4.5, rx=0.5, fill=c),
                rect(-0.75, 0, 1.5, 1.5, fill="#c6ccd4"),
                path("M-.75 1.5 H.75 C.75 3 0 3.8 0 4.2 C0 3.8 -.75 3 -.75 1.5 Z", fill="#2f7ad8"),
                transform="translate(7.4 2.6) rotate(40)",
            ),
        ]
    )


def em_tif(d, big):
    c, l = TYPE["TIF"]
    sw = 1 if not big else 0.5
    return "".join(
        [
            path("M0.5 1.5 H6.5 L9.5 4.5 V8.5 H0.5 Z", fill=d.lg("#e2e5ff", "#9aa4f0"), stroke=c, stroke_width=sw,
                 stroke_linejoin="round"),
            path("M1 8 L3.5 4.5 L5.5 7 L6.8 5.8 L9 8 Z", fill=c),
            circle(3, 3.2, 0.9, fill="#ffffff"),
            path("M6.5 1.5 V4.5 H9.5 Z", fill="#ffffff", stroke=c, stroke_width=sw, stroke_linejoin="round"),
        ]
    )


def em_vector(d, big, key, circle_first=True):
    c, l = TYPE[key]
    sw = 1 if not big else 0.5
    parts = []
    if circle_first:
        parts.append(circle(6.5, 3.5, 3, fill=l, stroke=c, stroke_width=sw))
    else:
        parts.append(poly([(6.5, 0.5), (9.5, 6.5), (3.5, 6.5)], fill=l, stroke=c, stroke_width=sw,
                          stroke_linejoin="round"))
    parts.append(rect(0.5, 3.5, 6, 6, fill="#ffffff", fill_opacity=0.6, stroke=c, stroke_width=sw))
    if big:
        parts += [rect(x - 0.5, y - 0.5, 1, 1, fill="#ffffff", stroke=c, stroke_width=0.3)
                  for x, y in ((0.5, 3.5), (6.5, 3.5), (0.5, 9.5), (6.5, 9.5))]
        parts.append(G(
            path("M0 -3.2 L1 -1.8 V1 L0 2.4 L-1 1 V-1.8 Z", fill="#3c4653"),
            circle(0, 0, 0.35, fill="#ffffff"),
            transform="translate(8.3 7.6) rotate(35)",
        ))
    return "".join(parts)


def em_ico(d, big):
    c, l = TYPE["ICO"]
    sw = 1 if not big else 0.5
    star = [polar(5, 5.3, 3.9 if i % 2 == 0 else 1.7, -90 + i * 36) for i in range(10)]
    return rect(0.5, 0.5, 9, 9, rx=2, fill=d.lg("#4fd6f2", "#0b86ad"), stroke="#086a8c", stroke_width=sw) + poly(
        star, fill="#ffffff")


def em_png(d, big):
    """A landscape over a checkerboard: the picture may be see-through."""
    sw = 1 if not big else 0.5
    checks = "".join(rect(x, y, 1.5, 1.5, fill="#c9ced6") for x in (0.5, 3.5, 6.5) for y in (1.5, 4.5, 7.5)
                     if y < 8.5) + "".join(rect(x, y, 1.5, 1.5, fill="#c9ced6") for x in (2, 5, 8) for y in (3, 6)
                                           if x < 9.5)
    return "".join(
        [
            rect(0.5, 1.5, 9, 7, fill="#ffffff"),
            checks,
            path("M0.5 8.5 L3.5 4.5 L5.8 7 L7.2 5.6 L9.5 8.5 Z", fill="#3b82c4", opacity=0.85),
            rect(0.5, 1.5, 9, 7, fill="none", stroke="#24598a", stroke_width=sw),
        ]
    )


def em_webp(d, big):
    c, l = TYPE["WEBP"]
    sw = 1 if not big else 0.5
    return "".join(
        [
            landscape(d, 0.5, 1.5, 9, 7, sky=("#d6f5ea", "#6fd0ae"), hill="#0e7a5a", hill2="#3fbf8f",
                      sun="#fff3b0", stroke=c, sw=sw),
            path("M1.5 3 L2.6 6 L3.6 3.8 L4.6 6 L5.7 3", fill="none", stroke="#ffffff", stroke_width=0.8,
                 stroke_linejoin="round", stroke_linecap="round"),
        ]
    )


def note(c, x, y):
    return ellipse(x, y + 6, 1.6, 1.2, fill=c, transform=f"rotate(-20 {x} {y + 6})") + rect(x + 0.6, y, 1, 6,
                                                                                         fill=c)


def em_mp3(d, big):
    c, l = TYPE["MP3"]
    parts = [note(c, 2.2, 1.5), poly([(3.8, 1.3), (6, 2.3), (6, 3.6), (3.8, 2.6)], fill=c)]
    parts += [rect(6.5 + i * 1.2, 7 - h, 0.8, h, fill=c, opacity=0.75) for i, h in enumerate((3, 5, 2))]
    return "".join(parts)


def em_ogg(d, big):
    c, l = TYPE["OGG"]
    return "".join(
        [
            circle(5, 5, 4.3, fill=l, stroke=c, stroke_width=1 if not big else 0.5),
            note(c, 3.6, 1.8),
            path("M5.2 2 C7 2.6 7.6 3.6 7 5", fill="none", stroke=c, stroke_width=0.9, stroke_linecap="round"),
        ]
    )


def em_flac(d, big):
    c, l = TYPE["FLAC"]
    hs = [3, 6, 8, 5, 7, 4] if not big else [3, 5, 7, 8, 6, 7, 5, 6, 4, 3]
    w = 1 if not big else 0.6
    step = 1.6 if not big else 0.95
    fill = d.lg("#5fd3c4", "#0b5c55")
    return rect(0, 8.6, 10, 0.9, fill=c) + "".join(
        rect(0.3 + i * step, 8.5 - h, w, h, fill=fill) for i, h in enumerate(hs))


def em_film(d, big, key):
    c, l = TYPE[key]
    holes = "".join(rect(x, y, 1, 1, fill="#ffffff") for x in (1, 3, 5, 7) for y in (1, 7))
    return "".join(
        [
            rect(0, 0, 9, 9, rx=0.5, fill=c),
            holes,
            rect(1, 3, 7, 3, fill=l),
            poly([(3.5, 3.4), (6, 4.5), (3.5, 5.6)], fill=c),
        ]
    )


EMBLEMS = {
    "ANI": em_ani,
    "AVI": em_avi,
    "BMP": em_bmp,
    "JPG": em_jpg,
    "MID": em_mid,
    "WAV": em_wav,
    "GIF": em_gif,
    "PCX": em_pcx,
    "TIF": em_tif,
    "WMF": lambda d, big: em_vector(d, big, "WMF", True),
    "EMF": lambda d, big: em_vector(d, big, "EMF", False),
    "ICO": em_ico,
    "PNG": em_png,
    "WEBP": em_webp,
    "MP3": em_mp3,
    "OGG": em_ogg,
    "FLAC": em_flac,
    "MP4": lambda d, big: em_film(d, big, "MP4"),
    "MKV": lambda d, big: em_film(d, big, "MKV"),
}


HALF = {"BMP", "JPG", "GIF", "PCX", "TIF", "WMF", "EMF", "ICO"}


def file16(d, key):
    if key is None:
        return page16(d) + G(em_question(d, False), transform="translate(3 5)")
    return page16(d, TYPE[key][1]) + G(EMBLEMS[key](d, False), transform="translate(3 5)")


def file32(d, key):
    if key is None:
        return page32(d) + G(em_question(d, True), transform="translate(6 10) scale(2)")
    # outlined emblems sit half a pixel off so their thin strokes land on whole pixels
    off = 6.5 if key in HALF else 6
    return page32(d, TYPE[key][1]) + G(EMBLEMS[key](d, True), transform=f"translate({off} {off + 4}) scale(2)")
