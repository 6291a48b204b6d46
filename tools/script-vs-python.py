#!/usr/bin/env python3
"""The script engine beside Python on the same programs (bench/script_programs).

Runs each program's benchmark (build/bench/script_programs_bench, process CPU time) and the
program's Python twin in its own python3 process (its CPU time, start-up excluded), best of
--runs each, checks both give the same value and prints engine/Python. A ratio at or below
1.0 means the engine is no slower than Python.

    tools/script-vs-python.py [--build build] [--runs 3] [name ...]
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


def python_seconds(name, runs):
    best, value = None, None
    for _ in range(runs):
        out = subprocess.run([sys.executable, "-c", PY_RUNNER, os.path.join(PROGRAMS, name + ".py")],
                             check=True, capture_output=True, text=True).stdout.split()
        seconds, value = float(out[0]), out[1]
        best = seconds if best is None else min(best, seconds)
    return best, value


def engine_seconds(build, names, runs):
    binary = os.path.join(build, "bin", "script_programs_bench")
    pattern = "^(" + "|".join(BENCHMARKS[n] for n in names) + ")(/|$)"
    out = subprocess.run([binary, "--benchmark_filter=" + pattern, "--benchmark_format=json",
                          "--benchmark_repetitions=%d" % runs],
                         check=True, capture_output=True, text=True).stdout
    best = {}
    for b in json.loads(out)["benchmarks"]:
        if b.get("run_type") != "iteration":
            continue
        if b.get("error_occurred"):
            sys.exit("%s: %s" % (b["run_name"], b.get("error_message")))
        seconds = b["cpu_time"] / 1000.0  # the benchmarks report milliseconds
        name = b["run_name"].split("/")[0]
        best[name] = seconds if name not in best else min(best[name], seconds)
    return best


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--build", default=os.path.join(ROOT, "build"))
    parser.add_argument("--runs", type=int, default=3)
    parser.add_argument("names", nargs="*", default=list(BENCHMARKS))
    args = parser.parse_args()
    unknown = [n for n in args.names if n not in BENCHMARKS]
    if unknown:
        sys.exit("unknown program: " + ", ".join(unknown))
    engine = engine_seconds(args.build, args.names, args.runs)
    print("%-16s %10s %10s %7s" % ("program", "engine s", "python s", "ratio"))
    for n in args.names:
        py, value = python_seconds(n, args.runs)
        e = engine[BENCHMARKS[n]]
        print("%-16s %10.3f %10.3f %7.2f   (main() = %s)" % (n, e, py, e / py, value))
    with open("/proc/loadavg") as f:
        print("load average: " + " ".join(f.read().split()[:3]))


if __name__ == "__main__":
    main()
