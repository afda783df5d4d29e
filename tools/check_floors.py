#!/usr/bin/env python3
"""Checks that the code folders stand on floors that only look down.

A file may include from its own folder and from folders on lower floors; an include from a folder on its
own floor or a higher one, a circle of folders including each other, a code folder on no floor and a
folder of more than 25 .cpp files are each reported with the file and the include line. Only the code
folders are read as includers: tests, fuzz harnesses, benchmarks and tools may include from anywhere.

Usage: check_floors.py [ROOT]   (ROOT defaults to the repository holding this script)
Exit status 0 when the tree keeps its floors, 1 otherwise.
"""
import os
import re
import sys

# Floor of each code folder; a sub-folder listed here is a folder of its own, apart from its parent.
FLOORS = {
    "common": 0,
    "update": 1, "tkzip": 1, "imaging/surface": 1,
    "archive": 2, "imaging/gif/decoding": 2, "imaging/jpeg": 2,
    "imaging/gif/composition": 3,
    "imaging/gif/playback": 4,
    "app/layout": 5,
    "app": 6,
}
CODE_ROOTS = ("common", "update", "tkzip", "archive", "imaging", "app")
SOURCE_SUFFIXES = (".h", ".hpp", ".cpp", ".inc")
MAX_CPP_FILES = 25
INCLUDE = re.compile(r'^\s*#\s*include\s*[<"]([^>"]+)[>"]')


def folder_of(path):
    """The checked folder that a root-relative path lies in, or None outside the code folders."""
    parts = path.split("/")[:-1]
    if not parts or parts[0] not in CODE_ROOTS:
        return None
    while parts and "/".join(parts) not in FLOORS:
        parts.pop()
    return "/".join(parts) if parts else path.rsplit("/", 1)[0]


def source_files(root):
    for top in CODE_ROOTS:
        for base, _, names in os.walk(os.path.join(root, top)):
            for name in sorted(names):
                if name.endswith(SOURCE_SUFFIXES):
                    yield os.path.relpath(os.path.join(base, name), root).replace(os.sep, "/")


def include_edges(root):
    """(includer file, line number, line, including folder, included folder) for every include across folders."""
    for path in source_files(root):
        src = folder_of(path)
        with open(os.path.join(root, path), encoding="utf-8", errors="replace") as f:
            for number, line in enumerate(f, 1):
                m = INCLUDE.match(line)
                dst = folder_of(m.group(1)) if m else None
                if dst is not None and dst != src:
                    yield path, number, line.strip(), src, dst


def floor_faults(edges):
    faults = []
    for path, number, line, src, dst in edges:
        if src not in FLOORS:
            faults.append(f"{path}:{number}: folder {src}/ stands on no floor: {line}")
        elif dst not in FLOORS:
            faults.append(f"{path}:{number}: {dst}/ stands on no floor: {line}")
        elif FLOORS[dst] >= FLOORS[src]:
            faults.append(f"{path}:{number}: {src}/ (floor {FLOORS[src]}) includes from {dst}/ "
                          f"(floor {FLOORS[dst]}): {line}")
    return faults


def circles(edges):
    """Every group of folders that include each other in a circle, with the include lines that close it."""
    graph = {}
    for edge in edges:
        graph.setdefault(edge[3], {}).setdefault(edge[4], []).append(edge)
    index, low, stack, on_stack, groups = {}, {}, [], set(), []

    def visit(node):  # Tarjan's strongly connected components
        index[node] = low[node] = len(index)
        stack.append(node)
        on_stack.add(node)
        for nxt in graph.get(node, {}):
            if nxt not in index:
                visit(nxt)
                low[node] = min(low[node], low[nxt])
            elif nxt in on_stack:
                low[node] = min(low[node], index[nxt])
        if low[node] == index[node]:
            group = []
            while True:
                top = stack.pop()
                on_stack.discard(top)
                group.append(top)
                if top == node:
                    break
            if len(group) > 1:
                groups.append(sorted(group))

    for node in sorted(graph):
        if node not in index:
            visit(node)
    faults = []
    for group in groups:
        faults.append("folders include each other in a circle: " + ", ".join(g + "/" for g in group))
        for src in group:
            for dst in sorted(graph.get(src, {})):
                if dst in group:
                    path, number, line = graph[src][dst][0][:3]
                    faults.append(f"  {path}:{number}: {src}/ -> {dst}/: {line}")
    return faults


def crowded_folders(root):
    counts = {}
    for path in source_files(root):
        if path.endswith(".cpp"):
            counts[folder_of(path)] = counts.get(folder_of(path), 0) + 1
    return [f"{folder}/ holds {n} .cpp files, more than {MAX_CPP_FILES}"
            for folder, n in sorted(counts.items()) if n > MAX_CPP_FILES]


def check(root):
    """The faults of the tree under root, one line each."""
    edges = list(include_edges(root))
    return floor_faults(edges) + circles(edges) + crowded_folders(root)


def main(argv):
    root = argv[1] if len(argv) > 1 else os.path.join(os.path.dirname(os.path.abspath(__file__)), "..")
    faults = check(root)
    for fault in faults:
        print(fault)
    print("floors: " + ("kept" if not faults else f"{len(faults)} fault lines"))
    return 1 if faults else 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
