"""Emblem, search animation, backgrounds and tileable patterns."""

import math

from svgkit import G, circle, ellipse, line, path, poly, polar, rect
from toolbars import magnifier

BLADES = ["#3d8bfd", "#7e57c2", "#d63384", "#f0803c", "#f5c542", "#2fb574"]


def aperture(d, cx, cy, r, hole):
    """Six-bladed lens aperture: coloured blades around a hexagonal opening."""
    vs = [polar(cx, cy, hole, -90 + 60 * i) for i in range(6)]
    parts = []
    for i in range(6):
        a, b = vs[i], vs[(i + 1) % 6]
        # where the edge a->b, carried on past b, meets the rim
        dx, dy = b[0] - a[0], b[1] - a[1]
        n = math.hypot(dx, dy)
        dx, dy = dx / n, dy / n
        fx, fy = b[0] - cx, b[1] - cy
        t = -(fx * dx + fy * dy) + math.sqrt((fx * dx + fy * dy) ** 2 - (fx * fx + fy * fy - r * r))
        p = (b[0] + dx * t, b[1] + dy * t)
        # previous edge carried past a
        z = vs[(i - 1) % 6]
        ex, ey = a[0] - z[0], a[1] - z[1]
        m = math.hypot(ex, ey)
        ex, ey = ex / m, ey / m
        gx, gy = a[0] - cx, a[1] - cy
        u = -(gx * ex + gy * ey) + math.sqrt((gx * ex + gy * ey) ** 2 - (gx * gx + gy * gy - r * r))
        q = (a[0] + ex * u, a[1] + ey * u)
        dd = (f"M{a[0]:.2f} {a[1]:.2f} L{q[0]:.2f} {q[1]:.2f} A{r} {r} 0 0 1 {p[0]:.2f} {p[1]:.2f} "
              f"L{b[0]:.2f} {b[1]:.2f} Z")
        c = BLADES[i]
        parts.append(path(dd, fill=d.lg(c, _mix(c, "#ffffff", 0.35), x1=0, y1=0, x2=1, y2=1), stroke="#1b2440",
                          stroke_width=r * 0.03, stroke_linejoin="round"))
    hexa = " ".join(f"{x:.2f},{y:.2f}" for x, y in vs)
    parts.append(f'<polygon points="{hexa}" fill="{d.rg([(0, "#4a6fb0"), (1, "#0e1630")], cx=0.4, cy=0.35, r=0.7)}"/>')
    parts.append(circle(cx - hole * 0.3, cy - hole * 0.3, hole * 0.22, fill="#ffffff", opacity=0.7))
    parts.append(circle(cx, cy, r, fill="none", stroke="#1b2440", stroke_width=r * 0.09))
    parts.append(circle(cx, cy, r * 0.955, fill="none", stroke="#ffffff", stroke_width=r * 0.03, opacity=0.45))
    return "".join(parts)


def _mix(a, b, t):
    ca = [int(a[i : i + 2], 16) for i in (1, 3, 5)]
    cb = [int(b[i : i + 2], 16) for i in (1, 3, 5)]
    return "#%02x%02x%02x" % tuple(round(x + (y - x) * t) for x, y in zip(ca, cb))


def note(fill, stroke, sw):
    """Eighth note about 14 wide, 20 tall; origin at the head centre."""
    return path(
        "M-4.6 0 a4.6 3.4 -20 1 0 9.2 0 a4.6 3.4 -20 1 0 -9.2 0 Z M3.2 -1 V-19 "
        "C4 -14 10.5 -13 8.5 -6.5 C9 -11 6 -12.5 4.8 -12.8 V-1 Z",
        fill=fill, stroke=stroke, stroke_width=sw, stroke_linejoin="round")


def film(d, w, h, sw):
    """Film frame centred on the origin."""
    holes = []
    n = int(w // 6)
    x0 = -w / 2 + (w - (n - 1) * 6) / 2 - 1.25
    for i in range(n):
        for y in (-h / 2 + 2, h / 2 - 5):
            holes.append(rect(x0 + 6 * i, y, 2.5, 3, rx=0.6, fill="#e8edf5"))
    return "".join(
        [rect(-w / 2, -h / 2, w, h, rx=2.5, fill="#26324a", stroke="#111827", stroke_width=sw)]
        + holes
        + [rect(-w / 2 + 3, -h / 2 + 7, w - 6, h - 14, fill=d.lg("#9ad8ff", "#3b7bd6"))]
    )


def emblem(d):
    """The program's emblem in a 64x64 box."""
    return "".join(
        [
            G(film(d, 50, 30, 1.2), transform="translate(36 41) rotate(-16)"),
            G(aperture(d, 28, 29, 21, 7.5)),
            G(note(d.lg("#ffe27a", "#f0a020"), "#1b2440", 1.5), transform="translate(50 31) rotate(6) scale(1.15)"),
        ]
    )


# ---------------------------------------------------------------- search animation
def search_frame(d, k):
    a = 2 * math.pi * k / 8
    cx, cy = 23 + 8 * math.cos(a), 21 + 4.5 * math.sin(a)
    paper = lambda x, y, rot: G(
        rect(0.5, 0.5, 20, 24, fill="#ffffff", stroke="#9aa4b0"),
        *[rect(3, 4 + 3 * i, 14 if i % 3 else 10, 1, fill="#c3ccd8") for i in range(6)],
        transform=f"translate({x} {y}) rotate({rot})",
    )
    return "".join(
        [
            ellipse(24, 46, 21, 2.5, fill="#000000", opacity=0.12),
            path("M4.5 10.5 H15 L18 13.5 H41.5 V44.5 H4.5 Z", fill="#e2a72a", stroke="#a8740f",
                 stroke_linejoin="round"),
            paper(9, 9, -6),
            paper(16, 8, 5),
            path("M2.5 44.5 L7.5 26.5 H45.5 L40.5 44.5 Z", fill=d.lg("#ffdc6e", "#f3b532"), stroke="#a8740f",
                 stroke_linejoin="round"),
            rect(8, 27, 37, 1, fill="#ffffff", opacity=0.5),
            magnifier(cx, cy, 7.5, cx + 10.5, cy + 10.5, lens="#d8efff", ring="#26324a", sw=2.2),
        ]
    )


# ---------------------------------------------------------------- backgrounds
def vide(d):
    parts = [
        rect(0, 0, 400, 300, fill=d.lg("#f5f8fc", "#dfe7f2")),
        ellipse(200, 300, 260, 120, fill=d.rg([(0, "#ffffff", 0.7), (1, "#ffffff", 0)]), opacity=0.8),
        G(aperture(d, 318, 208, 70, 26), opacity=0.07),
        G(film(d, 150, 60, 2), transform="translate(90 90) rotate(-12)", opacity=0.06),
        G(note("#4a5d80", "none", 0), transform="translate(250 80) scale(1.6)", opacity=0.07),
        G(note("#4a5d80", "none", 0), transform="translate(285 62) scale(1.1)", opacity=0.06),
        path("M0 250 C80 225 150 275 230 250 S340 225 400 245", fill="none", stroke="#7d9bc8", stroke_width=2,
             opacity=0.12),
        path("M0 262 C80 237 150 287 230 262 S340 237 400 257", fill="none", stroke="#7d9bc8", stroke_width=1,
             opacity=0.1),
    ]
    return "".join(parts)


def presentation(d):
    bg = d.lg(None, stops=[(0, "#1b2a55"), (0.6, "#2c3f86"), (1, "#5b3d8f")], x2=1, y2=1)
    glow = d.rg([(0, "#8fc4ff", 0.55), (1, "#8fc4ff", 0)])
    parts = [
        rect(0, 0, 260, 160, rx=10, fill=bg),
        circle(80, 80, 90, fill=glow),
    ]
    # a fan of thumbnails and a wave on the right
    for i, (x, y, r) in enumerate(((150, 34, -8), (178, 58, 4), (160, 92, -3))):
        c = ["#3d8bfd", "#f0803c", "#2fb574"][i]
        parts.append(G(
            rect(0, 0, 44, 32, rx=2, fill="#ffffff", opacity=0.92),
            rect(3, 3, 38, 26, fill=d.lg("#dff1ff", c)),
            path("M3 29 L15 15 L24 24 L30 19 L41 29 Z", fill="#ffffff", opacity=0.55),
            circle(32, 9, 3, fill="#fff3b0"),
            transform=f"translate({x} {y}) rotate({r})"))
    wave = "M140 140 " + " ".join(
        f"L{140 + i * 2.5:.1f} {140 - 10 * math.sin(i / 3) * math.exp(-((i - 20) / 14) ** 2):.1f}" for i in range(1, 45))
    parts.append(path(wave, fill="none", stroke="#9fd8ff", stroke_width=2, stroke_linecap="round",
                      stroke_linejoin="round", opacity=0.8))
    parts += [rect(14 + 12 * i, 150, 6, 4, rx=1, fill="#ffffff", opacity=0.12) for i in range(20)]
    parts += [rect(14 + 12 * i, 6, 6, 4, rx=1, fill="#ffffff", opacity=0.12) for i in range(20)]
    parts.append(G(emblem(d), transform="translate(16 16) scale(2)"))
    return "".join(parts)


def titre(d):
    band = d.lg(None, stops=[(0, "#1b2a55"), (0.45, "#2f54a8"), (1, "#8fb8ee", 0.0)], x2=1, y2=0)
    parts = [
        rect(0, 6, 337, 52, rx=6, fill=band),
    ]
    for k, (amp, op) in enumerate(((7, 0.35), (4, 0.25), (10, 0.15))):
        pts = " ".join(f"L{x} {32 + amp * math.sin(x / (18 + 6 * k) + k):.1f}" for x in range(70, 338, 4))
        parts.append(path(f"M66 32 {pts}", fill="none", stroke="#bfe0ff", stroke_width=1.5, opacity=op))
    parts += [rect(72 + 10 * i, 10, 5, 3, rx=1, fill="#ffffff", opacity=0.22 - i * 0.007) for i in range(26)]
    parts += [rect(72 + 10 * i, 51, 5, 3, rx=1, fill="#ffffff", opacity=0.22 - i * 0.007) for i in range(26)]
    parts.append(G(emblem(d), transform="translate(2 0) scale(1)"))
    return "".join(parts)


def tile_ani(d):
    out = [rect(0, 0, 100, 100, fill="#f2eff9")]
    cur = "M0 0 V15 L3.6 11.6 L6.2 17.4 L8.8 16.2 L6.2 10.6 H11 Z"
    for x, y, r in ((16, 12, -10), (66, 38, 8), (30, 64, 0), (80, 78, -18)):
        out.append(G(
            rect(-10, 3, 6, 1.6, rx=0.8, fill="#ddd3f0"),
            rect(-12, 7, 8, 1.6, rx=0.8, fill="#ddd3f0"),
            rect(-10, 11, 6, 1.6, rx=0.8, fill="#ddd3f0"),
            path(cur, fill="#e9e3f6", stroke="#d3c7ec", stroke_width=1, stroke_linejoin="round"),
            transform=f"translate({x} {y}) rotate({r})"))
    return "".join(out)


def tile_avi(d):
    out = [rect(0, 0, 32, 32, fill="#dfe3e9"), rect(0, 6, 32, 26, fill="#e8ebf0")]
    out += [rect(x, 1.5, 5, 3, rx=1, fill="#f1f3f6") for x in (4, 20)]
    out += [rect(2, 8, 28, 22, rx=1, fill="#eef1f5"), rect(0, 6, 1, 26, fill="#d6dbe2")]
    return "".join(out)


def tile_mid(d):
    out = [rect(0, 0, 200, 200, fill="#f8f4f8")]
    for top in (28, 128):
        out += [rect(0, top + 8 * i, 200, 1, fill="#eadfea") for i in range(5)]
    heads = ((30, 56, 1), (62, 44, 0), (104, 52, 2), (150, 36, 0), (176, 48, 1),
             (20, 144, 0), (58, 160, 2), (96, 140, 0), (132, 152, 1), (172, 132, 0))
    for x, y, kind in heads:
        col = "#e6d6e8"
        out.append(ellipse(x, y, 4.6, 3.3, fill=col, transform=f"rotate(-20 {x} {y})"))
        out.append(rect(x + 3.4, y - 22, 1.4, 22, fill=col))
        if kind == 1:
            out.append(path(f"M{x + 4.8} {y - 22} C{x + 6} {y - 16} {x + 12} {y - 15} {x + 10} {y - 8} "
                            f"C{x + 10} {y - 13} {x + 7} {y - 14} {x + 4.8} {y - 15} Z", fill=col))
    return "".join(out)


def tile_wav(d):
    out = [rect(0, 0, 100, 100, fill="#eef7f5")]
    for i, (y, a, col, w) in enumerate(((12.5, 5, "#d3ebe6", 2), (37.5, 8, "#dcefeb", 3), (62.5, 5, "#d3ebe6", 2),
                                         (87.5, 8, "#dcefeb", 3))):
        s = -1 if i % 2 else 1
        out.append(path(f"M0 {y} Q12.5 {y - 2 * a * s} 25 {y} T50 {y} T75 {y} T100 {y}", fill="none", stroke=col,
                        stroke_width=w))
    return "".join(out)


def tile_ico(d):
    cols = ["#e4ecf7", "#f3e9f1", "#e6f3ec", "#f6efe1", "#eaeaf7"]
    out = [rect(0, 0, 96, 96, fill="#f4f6f9")]
    for i in range(4):
        for j in range(4):
            c = cols[(i * 3 + j * 2) % len(cols)]
            out.append(rect(24 * i + 5, 24 * j + 5, 14, 14, rx=3, fill=c, stroke="#e2e6ec"))
    return "".join(out)
