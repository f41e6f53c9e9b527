#!/usr/bin/env python3
"""long_functions.py [--most N] [--allow FILE] [DIR...]: lists the functions of
the project's C++ sources (tests excepted) that are longer than N lines
(default 60), longest first, and exits 1 when there is any. With --allow, the
files named in FILE (one path a line; "#" starts a remark) are passed over,
and those among them that no longer hold a long function are named. A function is a definition that
starts at the left margin, or a member function defined inside a class, and
runs to its matching closing brace; lambdas count with the function they
stand in."""
import re
import subprocess
import sys

most = 60
args = sys.argv[1:]
allowed = set()
while args[:1] in (["--most"], ["--allow"]):
    if args[0] == "--most":
        most = int(args[1])
    else:
        for entry in open(args[1], encoding="utf-8"):
            entry = entry.split("#", 1)[0].strip()
            if entry:
                allowed.add(entry)
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
long_files = {where.rsplit(":", 1)[0] for _, where, _ in found}
for name in sorted(allowed - long_files):
    print(f"note: {name} is allowed long functions but has none; take it off the list")
found = [f for f in found if f[1].rsplit(":", 1)[0] not in allowed]
for length, where, text in sorted(found, reverse=True):
    print(f"{length:4d} {where}  {text}")
sys.exit(1 if found else 0)
