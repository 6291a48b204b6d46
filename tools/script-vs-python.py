#!/usr/bin/env python3
"""The script engine beside Python on the same programs (bench/script_programs).

Runs each program's benchmark (build/bin/script_programs_bench, process CPU time) and the
program's Python twin, each in a fresh process (CPU time, start-up excluded), --runs rounds
that alternate the sides, and prints the best of each side and engine/Python. The benchmark
checks Main()'s value; Python's is printed beside it. A ratio at or below 1.0 means the engine
is no slower than Python. --base runs a second build (say, one of main) in the same rounds.

    tools/script-vs-python.py [--build build] [--base other-build] [--runs 3] [name ...]
"""
import argparse
import json
import os
import subprocess
import sys

ROOT = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
PROGRAMS = os.path.join(ROOT, "bench", "script_programs")
# The program's file name and its benchmark's name.
BENCHMARKS = {
    "sum_loop": "BM_Program_SumLoop",
    "append_module": "BM_Program_AppendModule",
    "append_function": "BM_Program_AppendFunction",
    "fib_calls": "BM_Program_FibCalls",
    "redim_append": "BM_Program_RedimAppend",
    "redim_append_2d": "BM_Program_RedimAppend2D",
    "method_calls": "BM_Program_MethodCalls",
    "digit_formula": "BM_Program_DigitFormula",
    "appends": "BM_Program_Appends",
    "appends_function": "BM_Program_AppendsFunction",
}
# Runs one program: its top-level code, then main(); prints CPU seconds and main()'s value.
PY_RUNNER = (
    "import sys, time\n"
    "src = open(sys.argv[1]).read()\n"
    "t = time.process_time()\n"
    "g = {'__name__': '__main__'}\n"
    "exec(compile(src, sys.argv[1], 'exec'), g)\n"
    "r = g['main']()\n"
    "print(time.process_time() - t, r)\n"
)


def python_seconds(name):
    out = subprocess.run([sys.executable, "-c", PY_RUNNER, os.path.join(PROGRAMS, name + ".py")],
                         check=True, capture_output=True, text=True).stdout.split()
    return float(out[0]), out[1]


def engine_seconds(build, name):
    """One run of the program's benchmark in a fresh process, as Python's twin gets one."""
    binary = os.path.join(build, "bin", "script_programs_bench")
    out = subprocess.run([binary, "--benchmark_filter=^" + BENCHMARKS[name] + "(/|$)",
                          "--benchmark_format=json"],
                         check=True, capture_output=True, text=True).stdout
    for b in json.loads(out)["benchmarks"]:
        if b.get("error_occurred"):
            sys.exit("%s (%s): %s" % (b["run_name"], build, b.get("error_message")))
        return b["cpu_time"] / 1000.0  # the benchmarks report milliseconds
    sys.exit("%s: no benchmark %s" % (build, BENCHMARKS[name]))


def load():
    with open("/proc/loadavg") as f:
        return " ".join(f.read().split()[:3])


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--build", default=os.path.join(ROOT, "build"))
    parser.add_argument("--base", help="a second build (e.g. of main) run alternately beside --build")
    parser.add_argument("--runs", type=int, default=3)
    parser.add_argument("names", nargs="*", default=list(BENCHMARKS))
    args = parser.parse_args()
    unknown = [n for n in args.names if n not in BENCHMARKS]
    if unknown:
        sys.exit("unknown program: " + ", ".join(unknown))
    sides = [("python", None), ("engine", args.build)] + ([("base", args.base)] if args.base else [])
    best = {(n, side): None for n in args.names for side, _ in sides}
    value = {}
    print("load average at start: " + load())
    # Rounds alternate the sides (and their order), so a load spike hits every side alike.
    for r in range(args.runs):
        for n in args.names:
            order = sides if r % 2 == 0 else list(reversed(sides))
            for side, build in order:
                if build is None:
                    seconds, value[n] = python_seconds(n)
                else:
                    seconds = engine_seconds(build, n)
                old = best[(n, side)]
                best[(n, side)] = seconds if old is None else min(old, seconds)
    head = "%-17s %9s %9s %7s" % ("program", "engine s", "python s", "ratio")
    if args.base:
        head += " %9s %7s" % ("base s", "ratio")
    print(head)
    for n in args.names:
        py, e = best[(n, "python")], best[(n, "engine")]
        line = "%-17s %9.3f %9.3f %7.2f" % (n, e, py, e / py)
        if args.base:
            b = best[(n, "base")]
            line += " %9.3f %7.2f" % (b, b / py)
        print(line + "   (main() = %s)" % value[n])
    print("load average at end: " + load())


if __name__ == "__main__":
    main()
