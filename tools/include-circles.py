#!/usr/bin/env python3
"""Lists the circles of files under src/: units (a header with its source file) that reach each
other through their #include lines, such as a window class split over files that call each other.

A unit is "folder/name" (name.h with name.cpp); unit A reaches unit B when A's header or source
includes B's header. Every group of units that reach one another is printed on one line.

    tools/include-circles.py            # src/
    tools/include-circles.py src/smart

Exits with 1 when there is a circle, so a check can run it.
"""
import os
import re
import sys

# Kept on purpose and not reported: the script engine's core, whose interpreter, syntax tree,
# objects and built-ins are one machine that calls itself through each part.
KEPT = [["script/builtins", "script/interp", "script/nodes", "script/objects"]]

INCLUDE = re.compile(r'^\s*#\s*include\s+"([^"]+)"', re.M)


def units(root, src):
    """unit -> the units its files include, for every file under root (paths relative to src)."""
    graph = {}
    for folder, _, files in os.walk(root):
        for name in files:
            stem, ext = os.path.splitext(name)
            if ext not in (".h", ".cpp"):
                continue
            path = os.path.join(folder, name)
            unit = os.path.relpath(os.path.join(folder, stem), src)
            with open(path, encoding="utf-8", errors="replace") as f:
                text = f.read()
            edges = graph.setdefault(unit, set())
            for included in INCLUDE.findall(text):
                target = os.path.splitext(included)[0]
                # Includes are written from src/ ("mainwindow/titlestrip.h"), or beside the file.
                if not os.path.exists(os.path.join(src, included)):
                    target = os.path.relpath(os.path.join(folder, os.path.splitext(included)[0]), src)
                if target != unit:
                    edges.add(target)
    return graph


def circles(graph):
    """Strongly connected groups of more than one unit (Tarjan's algorithm, without recursion)."""
    index, low, on_stack, stack, found = {}, {}, set(), [], []
    counter = 0
    for start in sorted(graph):
        if start in index:
            continue
        work = [(start, iter(sorted(graph.get(start, ()))))]
        index[start] = low[start] = counter
        counter += 1
        stack.append(start)
        on_stack.add(start)
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
                group = []
                while True:
                    member = stack.pop()
                    on_stack.discard(member)
                    group.append(member)
                    if member == node:
                        break
                if len(group) > 1:
                    found.append(sorted(group))
    return found


def main():
    here = os.path.dirname(os.path.abspath(__file__))
    src = os.path.join(os.path.dirname(here), "src")
    roots = sys.argv[1:] or [src]
    graph = {}
    for root in roots:
        graph.update(units(root, src))
    found = [group for group in circles(graph) if group not in KEPT]
    for group in found:
        print(" <-> ".join(group))
    return 1 if found else 0


if __name__ == "__main__":
    sys.exit(main())
