#!/usr/bin/env python3
"""The program's include graph: no cycle, and nothing below app/ includes app/.

A file and its header count as one unit (editors/ui/ctpanel), so a .cpp that
includes a header whose .cpp includes its own header is a cycle too. Tests,
benchmarks and fuzzers are left out. Prints the cycles and the layer
breaches it finds and exits 1, else says so and exits 0."""
import os
import re
import sys

ROOT = sys.argv[1] if len(sys.argv) > 1 else os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
SKIP = {"tests", "bench", "build", "build-asan", "build-fuzz", ".git"}
INCLUDE = re.compile(r'^\s*#\s*include\s+"([^"]+)"', re.M)

units = {}
for folder, dirs, files in os.walk(ROOT):
    dirs[:] = [d for d in dirs if d not in SKIP and not d.startswith("build")]
    for name in files:
        if not name.endswith((".h", ".cpp")):
            continue
        path = os.path.relpath(os.path.join(folder, name), ROOT)
        unit = os.path.splitext(path)[0]
        with open(os.path.join(ROOT, path), encoding="utf-8", errors="replace") as f:
            targets = {os.path.splitext(t)[0] for t in INCLUDE.findall(f.read())}
        units.setdefault(unit, set()).update(t for t in targets if t != unit)

problems = []
for unit, targets in sorted(units.items()):
    if unit.startswith("app/") or unit.startswith("tools/"):
        continue
    for t in sorted(targets):
        if t.startswith("app/"):
            problems.append(f"{unit} includes {t}: nothing below app/ includes app/")

# Cycles: strongly connected components of more than one unit (Tarjan).
index, low, stack, on, counter, cycles = {}, {}, [], set(), [0], []


def visit(v):
    index[v] = low[v] = counter[0]
    counter[0] += 1
    stack.append(v)
    on.add(v)
    for w in units.get(v, ()):
        if w not in units:
            continue
        if w not in index:
            visit(w)
            low[v] = min(low[v], low[w])
        elif w in on:
            low[v] = min(low[v], index[w])
    if low[v] == index[v]:
        component = []
        while True:
            w = stack.pop()
            on.discard(w)
            component.append(w)
            if w == v:
                break
        if len(component) > 1:
            cycles.append(sorted(component))


sys.setrecursionlimit(10000)
for v in sorted(units):
    if v not in index:
        visit(v)
for c in cycles:
    problems.append("include cycle: " + ", ".join(c))

for p in problems:
    print(p)
if problems:
    sys.exit(1)
print(f"{len(units)} units: no include cycle, no layer breach")
