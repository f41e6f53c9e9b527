#!/usr/bin/env python3
"""long_functions.py [--most N] [DIR...]: lists the functions of the project's
C++ sources (tests excepted) that are longer than N lines (default 60),
longest first, and exits 1 when there is any. A function is a definition that
starts at the left margin, or a member function defined inside a class, and
runs to its matching closing brace; lambdas count with the function they
stand in."""
import re
import subprocess
import sys

most = 60
args = sys.argv[1:]
if args[:1] == ["--most"]:
    most = int(args[1])
    args = args[2:]
dirs = args or ["."]

files = subprocess.run(["git", "ls-files", "--", *dirs], capture_output=True, text=True,
                       check=True).stdout.split()
files = [f for f in files if f.endswith((".cpp", ".h")) and not re.search(r"(^|/)tests?/", f)
         and not f.startswith(("fuzz/", "bench/"))]

head = re.compile(r"^( {0,8})[A-Za-z_~][^;{}()]*\([^;]*\)[^;{}]*\{\s*(//.*)?$")
found = []
for name in files:
    lines = open(name, encoding="latin-1").read().split("\n")
    i = 0
    while i < len(lines):
        line = lines[i]
        m = head.match(line)
        if not m or re.match(r"\s*(if|for|while|switch|catch|else|do|return)\b", line):
            i += 1
            continue
        depth, j = 0, i
        while j < len(lines):
            code = re.sub(r'"(\\.|[^"\\])*"|\'(\\.|[^\'\\])*\'|//.*', "", lines[j])
            depth += code.count("{") - code.count("}")
            if depth <= 0 and j > i or (depth == 0 and "}" in code):
                break
            j += 1
        length = j - i + 1
        if length > most:
            found.append((length, f"{name}:{i + 1}", line.strip()[:90]))
        i = j + 1
for length, where, text in sorted(found, reverse=True):
    print(f"{length:4d} {where}  {text}")
sys.exit(1 if found else 0)
