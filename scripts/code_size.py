#!/usr/bin/env python3
# SPDX-FileCopyrightText: 2026 Plinkbox developers
# SPDX-License-Identifier: GPL-3.0-or-later
"""Fails when a C++ file under src/, tests/, bench/ or fuzz/ has more than 500 lines or a
function more than 80 (from the line of its opening brace to the closing one); prints the
longest file and function either way."""
import pathlib
import re
import sys

MAX_FILE, MAX_FUNCTION = 500, 80
root = pathlib.Path(__file__).resolve().parent.parent
token = re.compile(r'//[^\n]*|/\*.*?\*/|R"(\w*)\(.*?\)\1"|"(?:\\.|[^"\\\n])*"|'
                   r"'(?:\\.|[^'\\\n])*'|[{};]", re.S)
container = re.compile(r"\b(namespace|class|struct|union|enum)\b[^()]*$|extern\s+\"C\"")


def functions(text):
    """(name, first line, line count) of every function body outside another function."""
    stack, start, found = [], 0, []
    for m in token.finditer(text):
        t = m.group(0)
        if t not in "{};":
            continue
        if t == ";":
            start = m.end()
        elif t == "{":
            head = " ".join(text[start:m.start()].split())
            inside_function = any(kind == "function" for kind, _, _ in stack)
            if inside_function:
                kind = "block"
            elif container.search(head) or not head.endswith((")", "const", "override",
                                                               "noexcept")) and ")" not in head:
                kind = "container" if container.search(head) else "data"
            else:
                kind = "function"
            stack.append((kind, text.count("\n", 0, m.start()) + 1, head))
            start = m.end()
        elif stack:
            kind, line, head = stack.pop()
            if kind == "function":
                end = text.count("\n", 0, m.start()) + 1
                name = re.sub(r"\s*\(.*", "", head).split(" ")[-1] or head[:40]
                found.append((name, line, end - line + 1))
            start = m.end()
    return found


faults, longest_file, longest_function = [], (0, ""), (0, "")
for folder in ("src", "tests", "bench", "fuzz"):
    for path in sorted((root / folder).rglob("*")):
        if path.suffix not in (".h", ".cpp"):
            continue
        text = path.read_text(encoding="utf-8")
        where = str(path.relative_to(root))
        lines = text.count("\n")
        longest_file = max(longest_file, (lines, where))
        if lines > MAX_FILE:
            faults.append(f"{where}: {lines} lines")
        for name, line, count in functions(text):
            longest_function = max(longest_function, (count, f"{where}:{line} {name}"))
            if count > MAX_FUNCTION:
                faults.append(f"{where}:{line}: {name} has {count} lines")
print(f"longest file: {longest_file[1]} ({longest_file[0]} lines)")
print(f"longest function: {longest_function[1]} ({longest_function[0]} lines)")
if faults:
    sys.exit("\n".join(faults))
