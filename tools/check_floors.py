#!/usr/bin/env python3
"""Checks the floors of src/: every #include and every library link points to the file's own folder or
to a lower floor, and the libraries form no cycle.

    check_floors.py SRC_DIR        exit 0 when clean, 1 with one line per fault
    check_floors.py --self-test    checks that the checker itself catches what it should

Floors, bottom to top: platform, components, app and thumbnails (beside each other), then the subsystems (catalogue, viewers,
properties, fileops, options, convert: none may include another), then shell. resources holds no code.
"""
import os
import re
import sys
import tempfile

FLOORS = {
    "platform": 1,
    "components": 2,
    "app": 3,
    "thumbnails": 3,
    "catalogue": 4,
    "viewers": 4,
    "properties": 4,
    "fileops": 4,
    "options": 4,
    "convert": 4,
    "shell": 5,
    "resources": 0,
}

INCLUDE = re.compile(r'^\s*#\s*include\s+"([^"]+)"')
LIBRARY = re.compile(r"luma_library\(\s*(\w+)")
LINK = re.compile(r"luma_link\(\s*(\w+)([^)]*)\)", re.S)
ADD_LIBRARY = re.compile(r"add_library\(\s*(\w+)")


def top_folder(src, path):
    rel = os.path.relpath(path, src)
    return rel.split(os.sep)[0]


def may_use(own, other):
    """Whether code of folder own may depend on folder other."""
    if own == other:
        return True
    if own not in FLOORS or other not in FLOORS:
        return True
    return FLOORS[other] < FLOORS[own]


def check_includes(src):
    faults = []
    for root, _, files in os.walk(src):
        for name in files:
            if not name.endswith((".h", ".cpp", ".hpp")):
                continue
            path = os.path.join(root, name)
            own = top_folder(src, path)
            with open(path, encoding="utf-8", errors="replace") as f:
                for number, line in enumerate(f, 1):
                    m = INCLUDE.match(line)
                    if not m:
                        continue
                    target = m.group(1).split("/")[0]
                    if target in FLOORS and not may_use(own, target):
                        faults.append("%s:%d: %s/ includes %s (floor %d over %d)" % (
                            os.path.relpath(path, src), number, own, m.group(1), FLOORS[target], FLOORS[own]))
    return faults


def check_links(src):
    faults = []
    folder_of = {}
    links = {}
    for root, _, files in os.walk(src):
        if "CMakeLists.txt" not in files:
            continue
        path = os.path.join(root, "CMakeLists.txt")
        own = top_folder(src, path)
        text = open(path, encoding="utf-8").read()
        for m in LIBRARY.finditer(text):
            folder_of[m.group(1)] = own
        for m in ADD_LIBRARY.finditer(text):
            folder_of.setdefault(m.group(1), own)
        for m in LINK.finditer(text):
            deps = [d for d in m.group(2).split() if d.startswith("luma_")]
            links.setdefault(m.group(1), []).extend(deps)
    for lib, deps in links.items():
        own = folder_of.get(lib)
        for dep in deps:
            other = folder_of.get(dep)
            if own and other and not may_use(own, other):
                faults.append("%s (%s/) links %s (%s/)" % (lib, own, dep, other))
    # No cycle among the libraries, whatever their folders.
    state = {}

    def visit(lib, trail):
        if state.get(lib) == "done":
            return
        if state.get(lib) == "open":
            faults.append("libraries link in a cycle: %s" % " -> ".join(trail + [lib]))
            return
        state[lib] = "open"
        for dep in links.get(lib, []):
            visit(dep, trail + [lib])
        state[lib] = "done"

    for lib in sorted(links):
        visit(lib, [])
    return faults


def check(src):
    return check_includes(src) + check_links(src)


def write(root, relative, text):
    path = os.path.join(root, relative)
    os.makedirs(os.path.dirname(path), exist_ok=True)
    with open(path, "w") as f:
        f.write(text)


def self_test():
    cases = [
        ("clean", {"app/A.h": '#include "platform/P.h"\n', "shell/S.cpp": '#include "viewers/V.h"\n'}, 0),
        ("upward", {"catalogue/C.cpp": '#include "shell/Main.h"\n'}, 1),
        ("sibling", {"viewers/V.cpp": '#include "catalogue/C.h"\n'}, 1),
        ("platform up", {"platform/P.cpp": '  #  include "app/App.h"\n'}, 1),
        ("link up", {"app/CMakeLists.txt": "luma_library(luma_app x)\nluma_link(luma_app luma_shell)\n",
                     "shell/CMakeLists.txt": "luma_library(luma_shell x)\n"}, 1),
        ("link cycle", {"catalogue/CMakeLists.txt": "luma_library(luma_a x)\nluma_library(luma_b y)\n"
                                                    "luma_link(luma_a luma_b)\nluma_link(luma_b luma_a)\n"}, 1),
    ]
    failed = 0
    for name, files, expected in cases:
        with tempfile.TemporaryDirectory() as root:
            for rel, text in files.items():
                write(root, rel, text)
            found = len(check(root))
            if (found > 0) != (expected > 0):
                print("self-test %s: expected %s, found %d fault(s)" % (name, "a fault" if expected else "none", found))
                failed += 1
    print("self-test: %d of %d cases right" % (len(cases) - failed, len(cases)))
    return 1 if failed else 0


def main():
    if len(sys.argv) != 2:
        sys.exit(__doc__)
    if sys.argv[1] == "--self-test":
        sys.exit(self_test())
    faults = check(sys.argv[1])
    for fault in faults:
        print(fault)
    print("floors: %d fault(s)" % len(faults))
    sys.exit(1 if faults else 0)


if __name__ == "__main__":
    main()
