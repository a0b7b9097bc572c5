#!/usr/bin/env python3
# SPDX-FileCopyrightText: 2026 Plinkbox developers
# SPDX-License-Identifier: GPL-3.0-or-later
"""Prints which areas of src/ include which (an area is a folder: list, find/gui ...), the
layers they form, and fails when two areas include each other through any path."""
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
