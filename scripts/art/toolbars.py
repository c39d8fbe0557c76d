"""Toolbar glyphs (20x20), scan-mode choice (13x13), status and link pictures (16x16)."""

from objects import OUT, folder16, hdd16
from svgkit import G, circle, line, path, poly, polar, rect

BLUE = ("#6aa6f7", "#2c64c4", "#1c4690")
GREEN = ("#5fd47a", "#22923f", "#176e2e")
RED = ("#f4736b", "#c9322a", "#8f1f19")


def filled(d, shape_d, col):
    hi, lo, out = col
    return path(shape_d, fill=d.lg(hi, lo), stroke=out, stroke_linejoin="round")


def magnifier(cx, cy, r, hx, hy, lens="#cfe9ff", ring="#2b3440", sw=1.5):
    """Lens centred at cx,cy; handle ends at hx,hy."""
    ux, uy = hx - cx, hy - cy
    n = (ux * ux + uy * uy) ** 0.5
    sx, sy = cx + ux / n * (r + 0.6), cy + uy / n * (r + 0.6)
    return "".join(
        [
            line(sx, sy, hx, hy, stroke=ring, stroke_width=sw + 1.4, stroke_linecap="round"),
            line(sx + ux / n * 1.5, sy + uy / n * 1.5, hx, hy, stroke="#8a6a3d", stroke_width=sw + 0.2,
                 stroke_linecap="round"),
            circle(cx, cy, r, fill=lens, fill_opacity=0.75, stroke=ring, stroke_width=sw),
            path(f"M{cx - r * 0.6} {cy - r * 0.05} A{r * 0.6} {r * 0.6} 0 0 1 {cx - r * 0.05} {cy - r * 0.6}",
                 fill="none", stroke="#ffffff", stroke_width=sw * 0.8, stroke_linecap="round"),
        ]
    )


def folder20(d, opened=False):
    hi, lo, back, out = "#ffdc6e", "#f3b532", "#e2a72a", "#a8740f"
    parts = [path("M1.5 3.5 H7 L9 5.5 H17.5 V16.5 H1.5 Z", fill=back, stroke=out, stroke_linejoin="round")]
    if opened:
        parts += [
            rect(3.5, 5.5, 12, 8, fill="#ffffff", stroke="#a9b2bd"),
            rect(5, 7, 9, 1, fill="#cfd6df"),
            rect(5, 9, 7, 1, fill="#cfd6df"),
            path("M0.5 16.5 L3 9.5 H19.5 L17 16.5 Z", fill=d.lg(hi, lo), stroke=out, stroke_linejoin="round"),
        ]
    else:
        parts += [rect(1.5, 7.5, 16, 9, fill=d.lg(hi, lo), stroke=out), rect(2, 8, 15, 1, fill="#ffffff", opacity=0.5)]
    return "".join(parts)


def item(d, x, y, s):
    """A thumbnail square of s px at x,y (filled, no stroke)."""
    return rect(x, y, s, s, rx=0.5 if s < 5 else 1, fill=d.lg("#7ab6f8", "#2c64c4"))


# ---------------------------------------------------------------- main toolbar
def main_icons():
    def scan(d):
        return G(hdd16(d, 0), transform="translate(0 9)") + magnifier(12, 7, 4.5, 18, 13)

    def large(d):
        out = []
        for x in (2, 11):
            for y in (1, 11):
                out.append(rect(x + 0.5, y + 0.5, 6, 6, rx=1, fill=d.lg("#7ab6f8", "#2c64c4"), stroke="#1c4690"))
                out.append(rect(x + 1.5, y + 1.5, 2, 1, fill="#ffffff", opacity=0.6))
                out.append(rect(x, y + 8, 7, 1, fill="#6f7a87"))
        return "".join(out)

    def small(d):
        out = []
        for x in (1, 8, 15):
            for y in (2, 11):
                out.append(item(d, x, y, 4))
                out.append(rect(x, y + 5, 4, 1, fill="#6f7a87"))
                out.append(rect(x + 1, y + 7, 2, 1, fill="#9aa4b0"))
        return "".join(out)

    def listv(d):
        out = []
        for x in (1, 11):
            for y in (2, 6, 10, 14):
                out.append(item(d, x, y, 3))
                out.append(rect(x + 4, y + 1, 4 if (y // 4) % 2 else 3, 1, fill="#6f7a87"))
        out.append(rect(9.5, 1, 1, 17, fill="#c3cad3"))
        return "".join(out)

    def report(d):
        out = [
            rect(0.5, 1.5, 19, 17, rx=1, fill="#ffffff", stroke="#6f7a87"),
            rect(1, 2, 18, 3, fill=d.lg("#7ab6f8", "#3d78d8")),
            rect(9, 2, 1, 3, fill="#ffffff", opacity=0.7),
            rect(14, 2, 1, 3, fill="#ffffff", opacity=0.7),
        ]
        for i, y in enumerate((7, 10, 13, 16)):
            out += [
                rect(2, y - 0.5, 2, 2, fill="#3d78d8"),
                rect(5, y, 3 if i % 2 else 4, 1, fill="#5f6a77"),
                rect(10, y, 3, 1, fill="#8d97a3"),
                rect(15, y, 2 if i % 2 else 3, 1, fill="#8d97a3"),
            ]
        return "".join(out)

    def tree(d, minus):
        box = [
            rect(2.5, 2.5, 8, 8, rx=1, fill=d.lg("#ffffff", "#dde3ea"), stroke="#4f5966"),
            rect(4, 6, 5, 1, fill="#1c4690"),
        ]
        if not minus:
            box.append(rect(6, 4, 1, 5, fill="#1c4690"))
        dots = dict(stroke="#7b8696", stroke_dasharray="1 1")
        kids = G(
            line(6.5, 11, 6.5, 18, **dots),
            line(7, 13.5, 10, 13.5, **dots),
            line(7, 17.5, 10, 17.5, **dots),
            rect(11, 12, 3, 3, rx=0.5, fill="#f3b532"),
            rect(15, 13, 4, 1, fill="#6f7a87"),
            rect(11, 16, 3, 3, rx=0.5, fill="#f3b532"),
            rect(15, 17, 3, 1, fill="#6f7a87"),
            opacity=1 if minus else 0.35,
        )
        return "".join(box) + rect(12, 5, 7, 3, rx=0.5, fill="#6f7a87") + kids

    def up(d):
        arrow = path("M10 4.5 L15.5 10 H12.5 V17.5 H7.5 V10 H4.5 Z", fill=d.lg(*GREEN[:2]), stroke=GREEN[2],
                     stroke_linejoin="round")
        return folder20(d) + arrow

    return {
        "scan": scan,
        "large": large,
        "small": small,
        "list": listv,
        "report": report,
        "collapse": lambda d: tree(d, True),
        "expand": lambda d: tree(d, False),
        "up": up,
    }


# ---------------------------------------------------------------- viewer toolbar
def arc_arrow(d, cx, cy, r, a0, a1, col):
    """Clockwise arc from a0 to a1 (degrees) with an arrow head at a1."""
    hi, lo, out = col
    x0, y0 = polar(cx, cy, r, a0)
    x1, y1 = polar(cx, cy, r, a1 - 18)
    tip = polar(cx, cy, r, a1 + 8)
    b1 = polar(cx, cy, r + 3, a1 - 18)
    b2 = polar(cx, cy, r - 3, a1 - 18)
    arc = f"M{x0:.2f} {y0:.2f} A{r} {r} 0 0 1 {x1:.2f} {y1:.2f}"
    return (
        path(arc, fill="none", stroke=out, stroke_width=3.6, stroke_linecap="round")
        + poly([tip, b1, b2], fill=hi, stroke=out, stroke_linejoin="round")
        + path(arc, fill="none", stroke=hi, stroke_width=1.8, stroke_linecap="round")
    )


def viewer_icons():
    def first(d):
        return filled(d, "M3.5 4.5 H6.5 V15.5 H3.5 Z", BLUE) + filled(d, "M16.5 4.5 V15.5 L7.5 10 Z", BLUE)

    def last(d):
        return filled(d, "M13.5 4.5 H16.5 V15.5 H13.5 Z", BLUE) + filled(d, "M3.5 4.5 V15.5 L12.5 10 Z", BLUE)

    def previous(d):
        return filled(d, "M18.5 4.5 V15.5 L10 10 Z", BLUE) + filled(d, "M10.5 4.5 V15.5 L2 10 Z", BLUE)

    def nxt(d):
        return filled(d, "M1.5 4.5 V15.5 L10 10 Z", BLUE) + filled(d, "M9.5 4.5 V15.5 L18 10 Z", BLUE)

    def play(d):
        return filled(d, "M5.5 3.5 V16.5 L16.5 10 Z", GREEN) + path("M7 6 V9 L11 8 Z", fill="#ffffff", opacity=0.35)

    def stop(d):
        return (rect(4.5, 4.5, 11, 11, rx=2, fill=d.lg(RED[0], RED[1]), stroke=RED[2])
                + rect(6, 6, 8, 2, rx=1, fill="#ffffff", opacity=0.3))

    def preview(d):
        return "".join(
            [
                rect(1.5, 2.5, 15, 12, rx=1, fill="#ffffff", stroke="#4f5966"),
                rect(2, 3, 14, 2, fill=d.lg("#7ab6f8", "#3d78d8")),
                rect(4, 7, 4, 3, fill="#c9d8ea"),
                rect(4, 11, 6, 1, fill="#c9d8ea"),
                magnifier(12, 12, 3.8, 18.3, 18.3),
            ]
        )

    def loop(d):
        col = ("#5ab0f5", "#1f6fc8", "#17498a")
        return arc_arrow(d, 10, 10, 6.5, 195, 345, col) + arc_arrow(d, 10, 10, 6.5, 15, 165, col)

    def stretch(d):
        arrows = "".join(
            [
                line(10, 10, 14.2, 5.8, stroke="#17498a", stroke_width=3.4, stroke_linecap="round"),
                line(10, 10, 5.8, 14.2, stroke="#17498a", stroke_width=3.4, stroke_linecap="round"),
                poly([(16.5, 3.5), (16.5, 9.5), (10.5, 3.5)], fill="#5ab0f5", stroke="#17498a",
                     stroke_linejoin="round"),
                poly([(3.5, 16.5), (3.5, 10.5), (9.5, 16.5)], fill="#5ab0f5", stroke="#17498a",
                     stroke_linejoin="round"),
                line(10, 10, 14, 6, stroke="#5ab0f5", stroke_width=1.6, stroke_linecap="round"),
                line(10, 10, 6, 14, stroke="#5ab0f5", stroke_width=1.6, stroke_linecap="round"),
            ]
        )
        return rect(1.5, 1.5, 17, 17, rx=1.5, fill="#eef3f9", stroke="#5a6572") + arrows

    def tile(d):
        from objects import landscape

        pics = "".join(landscape(d, x, y, 8, 8, stroke="none") for x in (2, 10) for y in (2, 10))
        seams = rect(10, 2, 1, 16, fill="#ffffff", opacity=0.8) + rect(2, 10, 16, 1, fill="#ffffff", opacity=0.8)
        return pics + seams + rect(1.5, 1.5, 17, 17, fill="none", stroke="#2a6aa8")

    return {
        "first": first,
        "previous": previous,
        "next": nxt,
        "last": last,
        "play": play,
        "stop": stop,
        "preview": preview,
        "loop": loop,
        "stretch": stretch,
        "tile": tile,
    }


# ---------------------------------------------------------------- small extras
def choice_drives(d):
    return "".join(
        [
            rect(0.5, 3.5, 12, 7, rx=1.5, fill=d.lg("#f2f4f7", "#b9c1cb")),
            rect(1, 7, 11, 3, rx=0.5, fill="#97a2ae"),
            rect(2, 8, 4, 1, fill="#5f6a77"),
            rect(9, 8, 2, 1, fill="#3ee070"),
            rect(0.5, 3.5, 12, 7, rx=1.5, fill="none", stroke=OUT),
        ]
    )


def choice_folder(d):
    return "".join(
        [
            path("M0.5 1.5 H5 L6.5 3 H12.5 V11.5 H0.5 Z", fill="#e2a72a", stroke="#a8740f", stroke_linejoin="round"),
            rect(0.5, 4.5, 12, 7, fill=d.lg("#ffdc6e", "#f3b532"), stroke="#a8740f"),
            rect(1, 5, 11, 1, fill="#ffffff", opacity=0.5),
        ]
    )


def scan_status(d, n):
    if n == 0:
        return magnifier(6.5, 6.5, 4.5, 14, 14, lens="#9fd0ff", ring="#1f5fb8") + "".join(
            circle(x, 13.5, 0.9, fill="#1f5fb8", opacity=o) for x, o in ((2.5, 1), (5.5, 0.7), (8.5, 0.4)))
    if n == 1:
        return circle(8, 8, 7, fill=d.lg(RED[0], RED[1]), stroke=RED[2]) + path(
            "M5.2 5.2 L10.8 10.8 M10.8 5.2 L5.2 10.8", stroke="#ffffff", stroke_width=2, stroke_linecap="round")
    return circle(8, 8, 7, fill=d.lg(GREEN[0], GREEN[1]), stroke=GREEN[2]) + path(
        "M4.5 8.3 L7 10.8 L11.5 5.5", fill="none", stroke="#ffffff", stroke_width=2, stroke_linecap="round",
        stroke_linejoin="round")


def homepage(d):
    grid = dict(fill="none", stroke="#ffffff", stroke_width=0.8, opacity=0.75)
    return "".join(
        [
            circle(8, 8, 6.5, fill=d.rg([(0, "#8fd0ff"), (1, "#2a6ad0")], cx=0.35, cy=0.3, r=0.75),
                   stroke="#1c4690"),
            path("M4 5 C5.5 4 6.5 5.5 5.5 7 C4.8 8.2 6 9.5 5 11 L3.5 10 C2.5 8 2.8 6 4 5 Z", fill="#5fd47a"),
            path("M9.5 3.5 C11 3.2 12.5 4.5 12 6 C11.3 7.5 12.8 8.5 11.5 10.5 C10.5 9 9 8.5 9.8 6.8 C10.2 5.8 "
                 "8.8 4.8 9.5 3.5 Z", fill="#5fd47a"),
            path("M1.5 8 H14.5", **grid),
            path("M8 1.5 C5 4 5 12 8 14.5 C11 12 11 4 8 1.5", **grid),
        ]
    )
