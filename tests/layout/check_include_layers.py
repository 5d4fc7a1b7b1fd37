#!/usr/bin/env python3
"""Holds the source tree to its floors: a folder includes only the folders it may build on, and
no chain of quoted includes comes back to where it started. A header and the source of the same
name are one unit: a.cpp including b.h while b.cpp includes a.h is a circle too.

usage: check_include_layers.py REPOSITORY_ROOT
Prints each include that runs against the floors and each circle, and exits 1 if there is any.
"""
import os
import re
import sys

# Who may include whom: a folder's own files always may include each other.
MAY_INCLUDE = {
    "host": [],
    "platform": ["host"],
    "kernel": [],
    "kernel/cpu": ["kernel"],
    "kernel/gpu": ["kernel"],
    "ramp": ["host", "kernel"],
    "ramp/editor": ["ramp", "host", "kernel"],
    "params": ["host", "kernel", "ramp"],
    "device/cpu": ["host", "platform", "kernel", "kernel/cpu"],
    "device/gpu": ["host", "platform", "kernel", "kernel/gpu"],
    "frame": ["host", "platform", "kernel", "params", "device/cpu", "device/gpu"],
    "effect": ["host", "platform", "kernel", "kernel/cpu", "kernel/gpu", "ramp", "ramp/editor",
               "params", "device/cpu", "device/gpu", "frame"],
    # The other side of the library boundary: the host's declarations, never the plug-in's own.
    "hostsim": ["host", "platform"],
    "imageio": [],
    "cli": ["host", "platform", "hostsim", "imageio"],
}
SOURCE_SUFFIXES = (".h", ".cpp", ".cu", ".cl")
INCLUDE = re.compile(r'^\s*#\s*include\s+"([^"]+)"', re.MULTILINE)


def folder_of(path):
    """The most specific folder of MAY_INCLUDE holding `path`, or None for the rest."""
    parts = path.split("/")
    for depth in range(len(parts) - 1, 0, -1):
        candidate = "/".join(parts[:depth])
        if candidate in MAY_INCLUDE:
            return candidate
        # Sub-folders without rules of their own follow their parent (hostsim/frames, ...).
    return None


def sources(root):
    for top in MAY_INCLUDE:
        if "/" in top:
            continue
        for base, _, names in os.walk(os.path.join(root, top)):
            for name in names:
                if name.endswith(SOURCE_SUFFIXES):
                    yield os.path.relpath(os.path.join(base, name), root).replace(os.sep, "/")


def owner(path):
    """The rule that governs `path`: its most specific folder, else the top folder's."""
    folder = folder_of(path)
    while folder is None and "/" in path:
        path = path.rsplit("/", 1)[0]
        folder = path if path in MAY_INCLUDE else None
    return folder


def main(root):
    graph = {}
    faults = []
    for path in sorted(set(sources(root))):
        with open(os.path.join(root, path), encoding="utf-8") as f:
            included = INCLUDE.findall(f.read())
        graph[path] = [i for i in included if os.path.exists(os.path.join(root, i))]
        mine = owner(path)
        for target in graph[path]:
            theirs = owner(target)
            if theirs is None or theirs == mine:
                continue
            if theirs not in MAY_INCLUDE[mine]:
                faults.append(f"{path}: includes {target} ({mine}/ may not include {theirs}/)")
    # Circles, by depth-first search over the units.
    units = {}
    for path, targets in graph.items():
        unit = units.setdefault(os.path.splitext(path)[0], set())
        unit.update(os.path.splitext(t)[0] for t in targets if os.path.splitext(t)[0] != os.path.splitext(path)[0])
    graph = {unit: sorted(targets) for unit, targets in units.items()}
    state = {}
    stack = []

    def visit(node):
        state[node] = "open"
        stack.append(node)
        for nxt in graph.get(node, []):
            if state.get(nxt) == "open":
                circle = stack[stack.index(nxt):] + [nxt]
                faults.append("circle: " + " -> ".join(circle))
            elif nxt not in state:
                visit(nxt)
        stack.pop()
        state[node] = "done"

    for node in graph:
        if node not in state:
            visit(node)
    for fault in faults:
        print(fault)
    print(f"{len(graph)} units, {sum(len(v) for v in graph.values())} includes between them, "
          f"{len(faults)} faults")
    return 1 if faults else 0


if __name__ == "__main__":
    if len(sys.argv) != 2:
        sys.exit(__doc__)
    sys.exit(main(sys.argv[1]))
