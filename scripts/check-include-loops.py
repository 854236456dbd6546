#!/usr/bin/env python3
"""Fails when the sources under src/ include each other in a loop.

A unit is a header with its source file (foo.h and foo.cpp in one folder); unit A depends
on unit B when a file of A includes B's header ("folder/b.h", from src/). A loop is a set of
units that depend on each other, directly or through others: such units can only be built,
tested and understood together. Prints every loop with one include that closes it, and
exits 1 when there is one.

    scripts/check-include-loops.py [SRC_DIR]
"""
import os
import re
import sys

INCLUDE = re.compile(r'^\s*#\s*include\s+"([^"]+)"', re.M)


def units(src):
    """{unit: {unit it includes: the including file}} for every .h/.cpp file under src."""
    graph = {}
    for folder, _, names in os.walk(src):
        for name in sorted(names):
            stem, ext = os.path.splitext(name)
            if ext not in (".h", ".cpp"):
                continue
            path = os.path.join(folder, name)
            unit = os.path.relpath(os.path.join(folder, stem), src)
            edges = graph.setdefault(unit, {})
            with open(path, encoding="utf-8", errors="replace") as f:
                for included in INCLUDE.findall(f.read()):
                    target = os.path.splitext(os.path.normpath(included))[0]
                    if not os.path.exists(os.path.join(src, included)):
                        # Included beside the file rather than from src/.
                        local = os.path.join(folder, included)
                        if not os.path.exists(local):
                            continue
                        target = os.path.splitext(os.path.relpath(local, src))[0]
                    if target != unit:
                        edges.setdefault(target, os.path.relpath(path, src))
    return graph


def loops(graph):
    """The strongly connected components of more than one unit (Tarjan, iterative)."""
    index, low, on_stack, stack, found = {}, {}, set(), [], []
    counter = 0
    for root in sorted(graph):
        if root in index:
            continue
        work = [(root, iter(sorted(graph.get(root, {}))))]
        index[root] = low[root] = counter
        counter += 1
        stack.append(root)
        on_stack.add(root)
        while work:
            node, children = work[-1]
            advanced = False
            for child in children:
                if child not in graph:
                    continue
                if child not in index:
                    index[child] = low[child] = counter
                    counter += 1
                    stack.append(child)
                    on_stack.add(child)
                    work.append((child, iter(sorted(graph[child]))))
                    advanced = True
                    break
                if child in on_stack:
                    low[node] = min(low[node], index[child])
            if advanced:
                continue
            work.pop()
            if work:
                parent = work[-1][0]
                low[parent] = min(low[parent], low[node])
            if low[node] == index[node]:
                component = []
                while True:
                    member = stack.pop()
                    on_stack.discard(member)
                    component.append(member)
                    if member == node:
                        break
                if len(component) > 1:
                    found.append(sorted(component))
    return found


def main():
    src = sys.argv[1] if len(sys.argv) > 1 else os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "src")
    graph = units(os.path.normpath(src))
    found = loops(graph)
    for component in found:
        members = set(component)
        print("include loop: " + " <-> ".join(component))
        for unit in component:
            for target, via in sorted(graph[unit].items()):
                if target in members:
                    print(f"  {via} includes {target}.h")
    if not graph:
        print(f"no sources under {src}")
        return 1
    if not found:
        print(f"no include loops among {len(graph)} units")
    return 1 if found else 0


if __name__ == "__main__":
    sys.exit(main())
