"""Tiny helpers for writing hand-tuned SVG artwork (standard library only).

Everything targets the SVG Tiny 1.2 subset that QtSvg renders: plain shapes,
paths, linear/radial gradients, opacity. No filters, masks, CSS or fonts.
"""

import colorsys
import math
import os
import re


def num(v):
    """Short decimal text for a coordinate."""
    if isinstance(v, str):
        return v
    s = f"{v:.2f}".rstrip("0").rstrip(".")
    return "0" if s in ("-0", "") else s


def attrs(a):
    out = []
    for k, v in a.items():
        if v is None:
            continue
        out.append(f'{k.rstrip("_").replace("_", "-")}="{num(v)}"')
    return " ".join(out)


def E(tag, **a):
    return f"<{tag} {attrs(a)}/>"


def G(*content, **a):
    head = f"<g {attrs(a)}>" if a else "<g>"
    return head + "".join(content) + "</g>"


def rect(x, y, w, h, **a):
    return E("rect", x=x, y=y, width=w, height=h, **a)


def circle(cx, cy, r, **a):
    return E("circle", cx=cx, cy=cy, r=r, **a)


def ellipse(cx, cy, rx, ry, **a):
    return E("ellipse", cx=cx, cy=cy, rx=rx, ry=ry, **a)


def path(d, **a):
    return E("path", d=d, **a)


def line(x1, y1, x2, y2, **a):
    return E("line", x1=x1, y1=y1, x2=x2, y2=y2, **a)


def poly(points, **a):
    return E("polygon", points=" ".join(f"{num(x)},{num(y)}" for x, y in points), **a)


def polar(cx, cy, r, deg):
    a = math.radians(deg)
    return cx + r * math.cos(a), cy + r * math.sin(a)


class Doc:
    """One SVG file: a body plus the gradients it uses."""

    def __init__(self, w, h=None, stretch=False):
        self.w = w
        self.h = h if h is not None else w
        self.defs = []
        self.body = []
        self.n = 0
        self.stretch = stretch

    def _id(self):
        self.n += 1
        return f"g{self.n}"

    def lg(self, c1, c2=None, x1=0, y1=0, x2=0, y2=1, stops=None, user=False):
        """Linear gradient, top-to-bottom by default (bounding-box units)."""
        gid = self._id()
        st = stops or [(0, c1), (1, c2)]
        units = ' gradientUnits="userSpaceOnUse"' if user else ""
        self.defs.append(
            f'<linearGradient id="{gid}" x1="{num(x1)}" y1="{num(y1)}" x2="{num(x2)}" y2="{num(y2)}"{units}>'
            + "".join(_stop(s) for s in st)
            + "</linearGradient>"
        )
        return f"url(#{gid})"

    def rg(self, stops, cx=0.5, cy=0.5, r=0.5, user=False):
        gid = self._id()
        units = ' gradientUnits="userSpaceOnUse"' if user else ""
        self.defs.append(
            f'<radialGradient id="{gid}" cx="{num(cx)}" cy="{num(cy)}" r="{num(r)}"{units}>'
            + "".join(_stop(s) for s in stops)
            + "</radialGradient>"
        )
        return f"url(#{gid})"

    def add(self, *items):
        self.body.extend(items)
        return self

    def text(self):
        par = ' preserveAspectRatio="none"' if self.stretch else ""
        head = (
            f'<svg xmlns="http://www.w3.org/2000/svg" version="1.2" baseProfile="tiny" '
            f'width="{num(self.w)}" height="{num(self.h)}" viewBox="0 0 {num(self.w)} {num(self.h)}"{par}>'
        )
        defs = "<defs>" + "".join(self.defs) + "</defs>" if self.defs else ""
        return head + defs + "".join(self.body) + "</svg>\n"


def _stop(s):
    if len(s) == 3:
        o, c, op = s
        return f'<stop offset="{num(o)}" stop-color="{c}" stop-opacity="{num(op)}"/>'
    o, c = s
    return f'<stop offset="{num(o)}" stop-color="{c}"/>'


HEX = re.compile(r"#([0-9a-fA-F]{6})\b")


def recolor(svg, fn):
    """Apply fn(h, l, s) -> (h, l, s) to every #rrggbb colour in an SVG text."""

    def sub(m):
        v = m.group(1)
        r, g, b = (int(v[i : i + 2], 16) / 255 for i in (0, 2, 4))
        h, l, s = colorsys.rgb_to_hls(r, g, b)
        h, l, s = fn(h, l, s)
        l = min(max(l, 0), 1)
        s = min(max(s, 0), 1)
        r, g, b = colorsys.hls_to_rgb(h, l, s)
        return "#%02x%02x%02x" % tuple(round(c * 255) for c in (r, g, b))

    return HEX.sub(sub, svg)


def hot(svg):
    """Hover look: brighter and more saturated."""
    return recolor(svg, lambda h, l, s: (h, l + (1 - l) * 0.14 if l < 0.93 else l, s * 1.3 if s > 0.08 else s))


def brighten(svg):
    return recolor(svg, lambda h, l, s: (h, l + (1 - l) * 0.2 if l < 0.93 else l, s * 1.15))


def grey(svg):
    return recolor(svg, lambda h, l, s: (h, l, s * 0.15))


def write(root, rel, text):
    p = os.path.join(root, rel)
    os.makedirs(os.path.dirname(p), exist_ok=True)
    with open(p, "w", encoding="utf-8") as f:
        f.write(text)
