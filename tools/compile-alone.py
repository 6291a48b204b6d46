#!/usr/bin/env python3
"""Checks that every source file under the given folders compiles with only what it includes
itself, by compiling each one alone for its syntax (no code is made, a fraction of a build's
cost) with the flags of a build that compiles one file at a time.

    tools/compile-alone.py BUILD_DIR FOLDER...     # e.g. build-fuzz tests bench

BUILD_DIR must be configured without the unity build and export its compile commands. Exits
with 1 and the compiler's first lines for each file that does not compile or raises a warning
(the build's own -Wall -Wextra, as clang sees them).
"""
import concurrent.futures
import json
import os
import shlex
import subprocess
import sys


def syntax_command(entry):
    args = shlex.split(entry["command"]) if "command" in entry else list(entry["arguments"])
    out = []
    skip = False
    for a in args:
        if skip:
            skip = False
            continue
        if a == "-o":
            skip = True
            continue
        if a == "-c":
            continue
        out.append(a)
    return out + ["-fsyntax-only"]


def main():
    if len(sys.argv) < 3:
        print(__doc__, file=sys.stderr)
        return 2
    build = os.path.abspath(sys.argv[1])
    source = os.path.abspath(os.path.join(os.path.dirname(__file__), ".."))
    folders = [os.path.join(source, f) + os.sep for f in sys.argv[2:]]
    with open(os.path.join(build, "compile_commands.json"), encoding="utf-8") as f:
        entries = json.load(f)
    chosen = [e for e in entries if any(os.path.abspath(e["file"]).startswith(d) for d in folders)]
    if not chosen:
        print("没有找到要检查的源文件（%s）。" % " ".join(sys.argv[2:]), file=sys.stderr)
        return 1

    def check(entry):
        run = subprocess.run(syntax_command(entry), cwd=entry["directory"], capture_output=True, text=True)
        return entry["file"], run.returncode, run.stderr

    failed = 0
    warned = 0
    with concurrent.futures.ThreadPoolExecutor(max_workers=os.cpu_count() or 2) as pool:
        for path, code, err in pool.map(check, chosen):
            if code != 0 or "warning:" in err:
                if code != 0:
                    failed += 1
                else:
                    warned += 1
                print("—— %s ——" % os.path.relpath(path, source), file=sys.stderr)
                print("\n".join(err.splitlines()[:20]), file=sys.stderr)
    if failed:
        print("%d 个源文件不能单独编译：缺少它自己用到的 #include（见上）。" % failed, file=sys.stderr)
    if warned:
        print("%d 个源文件单独编译时出现编译警告（见上），请先消除。" % warned, file=sys.stderr)
    if failed or warned:
        return 1
    print("单独编译检查：%d 个源文件各自带齐了所用的头文件。" % len(chosen))
    return 0


if __name__ == "__main__":
    sys.exit(main())
