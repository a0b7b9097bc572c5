#!/usr/bin/env python3
# SPDX-FileCopyrightText: 2026 Plinkbox developers
# SPDX-License-Identifier: GPL-3.0-or-later
"""Prints which areas of src/ include which (an area is a folder: list, find/gui ...), the
layers they form, and fails when two areas include each other through any path, or when an
area's includes and the libraries src/CMakeLists.txt links it with disagree: an included area
must be linked (directly or through a linked library), and a directly linked area included."""
import pathlib
import re
import sys

src = pathlib.Path(__file__).resolve().parent.parent / "src"
edges = {}
for path in src.rglob("*"):
    if path.suffix not in (".h", ".cpp"):
        continue
    area = str(path.parent.relative_to(src))
    deps = edges.setdefault(area, set())
    for line in path.read_text(encoding="utf-8").splitlines():
        m = re.match(r'#include "(.+)/[^/]+\.h"', line)
        if m and m.group(1) != area:
            deps.add(m.group(1))

layer = {}
def depth(area, trail=()):
    if area in trail:
        sys.exit("cycle: " + " -> ".join(trail + (area,)))
    if area not in layer:
        layer[area] = 1 + max((depth(d, trail + (area,)) for d in edges.get(area, ())), default=-1)
    return layer[area]

for area in edges:
    depth(area)
for n in range(max(layer.values()) + 1):
    names = sorted(a for a in layer if layer[a] == n)
    print(f"layer {n}: " + ", ".join(f"{a} ({' '.join(sorted(edges[a])) or '-'})" for a in names))

# plinkbox_area(<target> DIR <folder> [sources...] DEPS <targets and packages>...)
links = {}
text = (src / "CMakeLists.txt").read_text(encoding="utf-8")
for m in re.finditer(r"plinkbox_area\((\S+)\s+DIR\s+(\S+)(.*?)\)", text, re.S):
    deps = m.group(3).split("DEPS", 1)[1].split() if "DEPS" in m.group(3) else []
    links[m.group(1)] = (m.group(2), [d for d in deps if d.startswith("pb_")])
area_of = {target: folder for target, (folder, _) in links.items()}
linked = {folder: {area_of[d] for d in deps} for folder, deps in links.values()}

def reachable(area, seen=None):
    seen = set() if seen is None else seen
    for d in linked.get(area, ()):
        if d not in seen:
            seen.add(d)
            reachable(d, seen)
    return seen

faults = []
for area, deps in sorted(edges.items()):
    if area not in linked:
        faults.append(f"{area}: no library in src/CMakeLists.txt")
        continue
    for d in sorted(deps - reachable(area)):
        faults.append(f"{area} includes {d} but does not link it")
    for d in sorted(linked[area] - deps):
        faults.append(f"{area} links {d} but includes nothing of it")
if faults:
    sys.exit("\n".join(faults))
