#!/usr/bin/env python3
"""Checks the help pages: every page is well-formed HTML5 in UTF-8 with its language, character set
and title; every link and picture points to a file of the help folder (and an anchor to an id of
its page); the index links every page; every file of the folder is used; pictures stay small.

    check_help_pages.py HELP_DIR       exit 0 when clean, 1 with one line per fault
    check_help_pages.py --self-test    checks that the checker itself catches what it should
"""
import html.parser
import os
import sys
import tempfile
import urllib.parse

VOID = {"area", "base", "br", "col", "embed", "hr", "img", "input", "link", "meta", "source", "track", "wbr"}
KNOWN = VOID | {
    "html", "head", "body", "title", "style", "header", "footer", "main", "nav", "section", "article",
    "aside", "h1", "h2", "h3", "h4", "p", "div", "span", "a", "ul", "ol", "li", "dl", "dt", "dd",
    "table", "caption", "thead", "tbody", "tr", "th", "td", "figure", "figcaption", "em", "strong",
    "code", "kbd", "samp", "pre", "small", "abbr", "b", "i",
}
LINKING = {("a", "href"), ("link", "href"), ("img", "src"), ("source", "src")}
MAX_PICTURE_BYTES = 80 * 1024


class Page(html.parser.HTMLParser):
    def __init__(self):
        super().__init__(convert_charrefs=True)
        self.faults = []
        self.stack = []
        self.ids = set()
        self.links = []  # (tag, target)
        self.lang = None
        self.charset = None
        self.title = ""
        self.in_title = False
        self.seen_head = False

    def where(self):
        return "line %d" % self.getpos()[0]

    def handle_starttag(self, tag, attrs):
        self.start(tag, attrs, closed=False)

    def handle_startendtag(self, tag, attrs):
        self.start(tag, attrs, closed=True)

    def start(self, tag, attrs, closed):
        a = dict(attrs)
        if tag not in KNOWN:
            self.faults.append("%s: unknown element <%s>" % (self.where(), tag))
        if closed and tag not in VOID:
            self.faults.append("%s: <%s/> is not a void element" % (self.where(), tag))
        if tag == "html":
            self.lang = a.get("lang")
        if tag == "head":
            self.seen_head = True
        if tag == "meta" and "charset" in a:
            self.charset = (a["charset"] or "").lower()
        if tag == "title":
            self.in_title = True
        if tag == "img" and not (a.get("alt") or "").strip():
            self.faults.append("%s: picture without alt text" % self.where())
        if "id" in a:
            if a["id"] in self.ids:
                self.faults.append("%s: id %r used twice" % (self.where(), a["id"]))
            self.ids.add(a["id"])
        for t, name in LINKING:
            if tag == t and name in a:
                self.links.append((self.where(), a[name] or ""))
        if tag not in VOID and not closed:
            self.stack.append((tag, self.where()))

    def handle_endtag(self, tag):
        if tag in VOID:
            self.faults.append("%s: end tag of void element </%s>" % (self.where(), tag))
            return
        if tag == "title":
            self.in_title = False
        if not self.stack or self.stack[-1][0] != tag:
            open_tag = self.stack[-1][0] if self.stack else "nothing"
            self.faults.append("%s: </%s> closes %s" % (self.where(), tag, open_tag))
            return
        self.stack.pop()

    def handle_data(self, data):
        if self.in_title:
            self.title += data


def check(folder):
    faults = []
    folder = os.path.abspath(folder)
    files = []
    for root, _, names in os.walk(folder):
        for name in names:
            files.append(os.path.relpath(os.path.join(root, name), folder).replace(os.sep, "/"))
    pages = sorted(f for f in files if f.endswith(".html"))
    if "index.html" not in pages:
        return ["index.html is missing"]
    parsed = {}
    for page in pages:
        raw = open(os.path.join(folder, page), "rb").read()
        try:
            text = raw.decode("utf-8")
        except UnicodeDecodeError as e:
            faults.append("%s: not UTF-8 (%s)" % (page, e))
            continue
        if not text.lstrip("\ufeff").lower().startswith("<!doctype html>"):
            faults.append("%s: does not start with <!DOCTYPE html>" % page)
        p = Page()
        p.feed(text)
        p.close()
        for tag, line in p.stack:
            faults.append("%s: <%s> of %s is never closed" % (page, tag, line))
        if not p.lang:
            faults.append("%s: <html> has no lang" % page)
        if p.charset != "utf-8":
            faults.append("%s: no <meta charset=\"utf-8\">" % page)
        if not p.title.strip():
            faults.append("%s: no title" % page)
        faults.extend("%s: %s" % (page, f) for f in p.faults)
        parsed[page] = p

    used = set()
    for page, p in parsed.items():
        base = os.path.dirname(page)
        for line, target in p.links:
            url = urllib.parse.urlsplit(target)
            if url.scheme or url.netloc or target.startswith("/"):
                faults.append("%s: %s: %r is not a relative link (the pages work offline)" % (page, line, target))
                continue
            path = urllib.parse.unquote(url.path)
            resolved = os.path.normpath(os.path.join(base, path)).replace(os.sep, "/") if path else page
            if resolved.startswith("../") or resolved not in files:
                faults.append("%s: %s: %r leads to no file of the help folder" % (page, line, target))
                continue
            used.add(resolved)
            if url.fragment and resolved in parsed and url.fragment not in parsed[resolved].ids:
                faults.append("%s: %s: %r names no id of %s" % (page, line, target, resolved))

    index_links = set()
    if "index.html" in parsed:
        for _, target in parsed["index.html"].links:
            path = urllib.parse.unquote(urllib.parse.urlsplit(target).path)
            if path:
                index_links.add(os.path.normpath(path).replace(os.sep, "/"))
    for page in pages:
        if page != "index.html" and page not in index_links:
            faults.append("index.html does not link %s" % page)
    for f in files:
        if f != "index.html" and f not in used:
            faults.append("%s is used by no page" % f)
        if f.endswith((".png", ".jpg", ".gif")) and os.path.getsize(os.path.join(folder, f)) > MAX_PICTURE_BYTES:
            faults.append("%s is larger than %d KB" % (f, MAX_PICTURE_BYTES // 1024))
    return faults


def page(body, title="T", head=""):
    return ('<!DOCTYPE html>\n<html lang="fr">\n<head>\n<meta charset="utf-8">\n<title>%s</title>\n%s</head>\n'
            "<body>\n%s\n</body>\n</html>\n" % (title, head, body))


def self_test():
    clean = {
        "index.html": page('<p><a href="b.html#x">b</a> <img src="img/p.png" alt="p"><br></p>',
                           head='<link rel="stylesheet" href="s.css">\n'),
        "b.html": page('<h1 id="x">B</h1><p><a href="index.html">retour</a> <a href="#x">ici</a></p>'),
        "s.css": "body {}\n",
        "img/p.png": "png",
    }
    # Each broken folder: what changes, and a word of the fault it must give.
    broken = [
        ("unclosed", {"b.html": page("<p><em>b</p>")}, "closes em"),
        ("stray end", {"b.html": page("<p>b</p></div>")}, "</div>"),
        ("not utf-8", {"b.html": page("<p>\xe9t\xe9</p>").encode("latin-1")}, "not UTF-8"),
        ("no doctype", {"b.html": page("<p>b</p>").replace("<!DOCTYPE html>", "")}, "DOCTYPE"),
        ("no lang", {"b.html": page("<p>b</p>").replace(' lang="fr"', "")}, "no lang"),
        ("no charset", {"b.html": page("<p>b</p>").replace('<meta charset="utf-8">', "")}, "charset"),
        ("empty title", {"b.html": page("<p>b</p>", title=" ")}, "no title"),
        ("unknown element", {"b.html": page("<p><blink>b</blink></p>")}, "unknown element"),
        ("missing page", {"b.html": page('<p><a href="c.html">c</a></p>')}, "leads to no file"),
        ("missing anchor", {"b.html": page('<p><a href="index.html#nowhere">i</a></p>')}, "names no id"),
        ("missing picture", {"b.html": page('<p><img src="img/q.png" alt="q"></p>')}, "leads to no file"),
        ("picture without alt", {"b.html": page('<p><img src="img/p.png"></p>')}, "without alt"),
        ("outside the folder", {"b.html": page('<p><a href="../x.html">x</a></p>')}, "leads to no file"),
        ("absolute link", {"b.html": page('<p><a href="https://example.org/">x</a></p>')}, "not a relative"),
        ("duplicate id", {"b.html": page('<h1 id="x">a</h1><h2 id="x">b</h2>')}, "used twice"),
        ("not in the index", {"c.html": page('<p><a href="index.html">i</a></p>')}, "does not link c.html"),
        ("unused file", {"img/unused.png": "png"}, "used by no page"),
        ("large picture", {"img/p.png": "x" * (MAX_PICTURE_BYTES + 1)}, "larger than"),
    ]
    failed = 0
    cases = [("clean", {}, None)] + broken
    for name, change, word in cases:
        with tempfile.TemporaryDirectory() as root:
            for rel, content in {**clean, **change}.items():
                path = os.path.join(root, rel)
                os.makedirs(os.path.dirname(path), exist_ok=True)
                with open(path, "wb") as f:
                    f.write(content if isinstance(content, bytes) else content.encode("utf-8"))
            found = check(root)
            right = any(word in f for f in found) if word else not found
            if not right:
                print("self-test %s: expected %s, found %s" % (name, repr(word) if word else "no fault", found))
                failed += 1
    print("self-test: %d of %d cases right" % (len(cases) - failed, len(cases)))
    return 1 if failed else 0


def main():
    if len(sys.argv) != 2:
        sys.exit(__doc__)
    if sys.argv[1] == "--self-test":
        sys.exit(self_test())
    faults = check(sys.argv[1])
    for f in faults:
        print(f)
    print("%d fault(s)" % len(faults))
    sys.exit(1 if faults else 0)


if __name__ == "__main__":
    main()
