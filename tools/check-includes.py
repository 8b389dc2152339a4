#!/usr/bin/env python3
"""The program's include graph against its layers.

Checks, over every source file (tests and benchmarks too):
  - no include cycle between units (a file and its header are one unit,
    editors/ui/ctpanel) nor between folders;
  - every include from one folder into another is an edge the table below
    allows (a folder's windows, X/ui, are a folder of their own);
  - no Qt header in the Qt-free folders outside their ui/;
  - only the frame includes the document windows' headers.
Prints what it finds and exits 1 on a breach, else says so and exits 0."""
import os
import re
import sys

ROOT = sys.argv[1] if len(sys.argv) > 1 else os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
SKIP = {".git", ".ci", "OnLineHelp", "translations"}
INCLUDE = re.compile(r'^\s*#\s*include\s+([<"])([^">]+)[">]', re.M)

# Who may include whom: the layers from the bottom (patch) up to the frame
# (app/ui), which composes every window. workspace/ui is the windows' base;
# controls are the widgets every window uses.
LOWER = {
    "patch": set(),
    "customdist": {"patch"},
    "editors": {"patch"},
    "workspace": {"patch", "customdist"},
    "device": {"patch", "customdist"},
    "keyboard": set(),
    "midi": {"device", "keyboard", "patch", "sim", "customdist"},
    "sim": {"patch", "customdist", "device"},
    "library": {"patch", "customdist", "device"},
    "sounddesign": {"patch", "editors"},
    "controls": {"patch"},
    "workspace/ui": {"patch", "workspace", "controls"},
    "keyboard/ui": {"keyboard", "controls"},
    "device/ui": {"device", "midi", "keyboard", "sim", "patch", "customdist", "workspace", "workspace/ui", "controls"},
    "customdist/ui": {"customdist", "patch", "workspace", "workspace/ui", "controls", "device"},
    "editors/ui": {"editors", "patch", "workspace", "workspace/ui", "controls", "customdist"},
    "library/ui": {"library", "patch", "customdist", "device", "workspace", "workspace/ui", "controls"},
    "sounddesign/ui": {"sounddesign", "editors", "patch", "workspace", "workspace/ui", "controls"},
}
APP = {"app", "app/ui"}
for folder, allowed in LOWER.items():
    if folder.endswith("/ui"):
        assert not {a for a in allowed if a.endswith("/ui")} - {"workspace/ui"}, folder + " may include no other folder's windows"
ALL = set(LOWER) | APP
ALLOWED = dict(LOWER)
ALLOWED["app"] = ALL - {"app", "app/ui"}
ALLOWED["app/ui"] = ALL - {"app/ui"}
ALLOWED["tools"] = ALL
ALLOWED["tests"] = ALL | {"tools"}
ALLOWED["bench"] = ALL | {"tests", "tools"}
ALLOWED["sim"] = LOWER["sim"] | {"sim"}
QT_FREE = {"patch", "device", "midi", "sim", "customdist", "editors", "library", "sounddesign", "workspace", "keyboard"}
DOCUMENT_WINDOWS = {"editors/ui/projectwin", "customdist/ui/customdistwin", "workspace/ui/documentwindow"}
FRAME = {"app/ui/mainwin", "app/ui/opendocuments"}

def folder_of(unit):
    if unit == "app/main":  # the program's root: it makes the frame
        return "app/ui"
    parts = unit.split("/")
    if len(parts) >= 3 and parts[1] == "ui":
        return parts[0] + "/ui"
    return parts[0] if len(parts) > 1 else "."


units, qt, edges = {}, [], {}
for folder, dirs, files in os.walk(ROOT):
    dirs[:] = [d for d in dirs if d not in SKIP and not d.startswith("build")]
    for name in files:
        if not name.endswith((".h", ".cpp")):
            continue
        path = os.path.relpath(os.path.join(folder, name), ROOT)
        unit = os.path.splitext(path)[0]
        with open(os.path.join(ROOT, path), encoding="utf-8", errors="replace") as f:
            found = INCLUDE.findall(f.read())
        mine = folder_of(unit)
        if mine in QT_FREE and any(kind == "<" and re.match(r"Q[A-Z]|Qt", header) for kind, header in found):
            qt.append(path)
        targets = {os.path.splitext(h)[0] for kind, h in found if kind == '"' and os.path.exists(os.path.join(ROOT, h))}
        units.setdefault(unit, set()).update(t for t in targets if t != unit)

problems = []
for unit, targets in sorted(units.items()):
    mine = folder_of(unit)
    for t in sorted(targets):
        theirs = folder_of(t)
        if t in DOCUMENT_WINDOWS and unit not in FRAME | DOCUMENT_WINDOWS and mine not in {"tests", "bench", "tools"}:
            problems.append(f"{unit} includes the document window {t}: only the frame does")
        if theirs == mine:
            continue
        edges.setdefault(mine, set()).add(theirs)
        if theirs not in ALLOWED.get(mine, set()):
            problems.append(f"{unit} includes {t}: {mine} may not include {theirs}")
for path in qt:
    problems.append(f"{path} includes Qt in a Qt-free folder (Qt belongs in its ui/)")


def cycles_of(graph):
    index, low, stack, on, counter, found = {}, {}, [], set(), [0], []

    def visit(v):
        index[v] = low[v] = counter[0]
        counter[0] += 1
        stack.append(v)
        on.add(v)
        for w in graph.get(v, ()):
            if w not in graph:
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
                found.append(sorted(component))

    for v in sorted(graph):
        if v not in index:
            visit(v)
    return found


sys.setrecursionlimit(10000)
for c in cycles_of(units):
    problems.append("include cycle: " + ", ".join(c))
folder_graph = {f: {g for g in gs} for f, gs in edges.items()}
for f in ALL | {"tests", "bench", "tools"}:
    folder_graph.setdefault(f, set())
for c in cycles_of(folder_graph):
    problems.append("folders include each other: " + ", ".join(c))

for p in problems:
    print(p)
if problems:
    sys.exit(1)
print(f"{len(units)} units in {len(folder_graph)} folders: no include cycle, no layer breach, no Qt below ui/")
