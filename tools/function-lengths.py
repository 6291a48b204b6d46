#!/usr/bin/env python3
"""Lists the C++ functions longer than a limit (100 lines by default) under the given folders.

A brace-counting scan, not a compiler: comments, string and character literals are blanked out,
then every brace block opened at namespace or class level is a function body when the text
before it ends a parameter list (a ")" followed by qualifiers, a trailing return type or a
constructor's initialisers); blocks after "=" (tables, initialisers) and the bodies of
namespaces, classes, structs, unions and enums are walked through, not counted. A function's
length runs from the line of its name to its closing brace.

    tools/function-lengths.py                 # src/, limit 100
    tools/function-lengths.py --max 60 src/mainwindow

Exits with 1 when a function is over the limit, so a check can run it.
"""
import argparse
import os
import re
import sys

SOURCE_ENDINGS = (".cpp", ".h", ".hpp", ".cc")

# Long on purpose and listed, not counted: the script engine's error-text table (one case per
# error number) reads best whole. Files named by their path from the repository's root.
KEPT = {"src/script/errortext.cpp"}
ROOT = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))


def blank_literals(text):
    """The text with comments, strings and character literals replaced by spaces (newlines kept)."""
    out = []
    i, n = 0, len(text)
    while i < n:
        c = text[i]
        if text.startswith("//", i):
            j = text.find("\n", i)
            j = n if j < 0 else j
            out.append(" " * (j - i))
            i = j
        elif text.startswith("/*", i):
            j = text.find("*/", i + 2)
            j = n if j < 0 else j + 2
            out.append(re.sub(r"[^\n]", " ", text[i:j]))
            i = j
        elif c == 'R' and text.startswith('R"', i) and (i == 0 or not (text[i - 1].isalnum() or text[i - 1] == '_')):
            m = re.match(r'R"([^(\s]*)\(', text[i:])
            if not m:
                out.append(c)
                i += 1
                continue
            end = text.find(")" + m.group(1) + '"', i)
            j = n if end < 0 else end + len(m.group(1)) + 2
            out.append(re.sub(r"[^\n]", " ", text[i:j]))
            i = j
        elif c in "\"'":
            # A digit separator (1'000'000) is not a character literal.
            run = re.search(r"[A-Za-z0-9_.']*$", text[max(0, i - 64):i]).group(0)
            if c == "'" and run[:1].isdigit() and i + 1 < n and text[i + 1].isalnum():
                out.append(" ")
                i += 1
                continue
            j = i + 1
            while j < n and text[j] != c and text[j] != "\n":
                j += 2 if text[j] == "\\" else 1
            j = min(j + 1, n)
            out.append(" " * (j - i))
            i = j
        elif c == "#" and (i == 0 or text[text.rfind("\n", 0, i) + 1:i].strip() == ""):
            # A preprocessor line (with its continuations) holds no braces of the code.
            j = i
            while True:
                k = text.find("\n", j)
                if k < 0:
                    k = n
                    break
                if text[k - 1] != "\\":
                    break
                j = k + 1
            out.append(re.sub(r"[^\n]", " ", text[i:k]))
            i = k
        else:
            out.append(c)
            i += 1
    return "".join(out)


SCOPE_WORDS = re.compile(r"\b(namespace|class|struct|union|enum)\b")


def head_kind(head):
    """What the block opened after `head` (the code since the last ; { or }) is."""
    h = " ".join(head.split())
    if not h:
        return "block"
    if re.match(r'^(extern\s+"C"\s*)$', h) or re.match(r"^(inline\s+)?namespace\b", h):
        return "scope"
    # A class or enum head: the keyword before any parenthesis (a function may take a struct).
    before_paren = h.split("(")[0]
    if SCOPE_WORDS.search(before_paren) and "=" not in before_paren and not before_paren.rstrip().endswith(")"):
        return "scope"
    if "=" in re.sub(r"(operator\s*(==|!=|<=|>=|=|\+=|-=|\*=|/=|%=|&=|\|=|\^=|<<=|>>=))|\[=\]|\[&\]|=\s*default|=\s*delete", "", h):
        return "data"
    if ")" in h:
        return "function"
    return "data"


def scan(path, text):
    """Yields (name line, length in lines, signature) for each function in the file."""
    code = blank_literals(text)
    stack = []  # "scope" / "data" / "function" / "block", with the line the head starts on
    head_start = 0
    i, n = 0, len(code)
    while i < n:
        c = code[i]
        if c in ";{}":
            in_body = any(kind in ("function", "data") for kind, _, _ in stack)
            if c == "{":
                head = code[head_start:i]
                kind = "block" if in_body else head_kind(head)
                first = head_start + (len(head) - len(head.lstrip()))
                stack.append((kind, code.count("\n", 0, first) + 1, " ".join(head.split())))
            elif c == "}" and stack:
                kind, line, signature = stack.pop()
                if kind == "function" and not any(k in ("function", "data") for k, _, _ in stack):
                    end_line = code.count("\n", 0, i) + 1
                    yield line, end_line - line + 1, signature
            head_start = i + 1
        i += 1


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("paths", nargs="*", default=["src"])
    parser.add_argument("--max", type=int, default=100, help="longest allowed function, in lines")
    args = parser.parse_args()
    over = []
    for root in args.paths:
        files = [root] if os.path.isfile(root) else [
            os.path.join(d, f) for d, _, fs in os.walk(root) for f in fs if f.endswith(SOURCE_ENDINGS)]
        for path in sorted(files):
            with open(path, encoding="utf-8", errors="replace") as f:
                text = f.read()
            if os.path.relpath(os.path.abspath(path), ROOT).replace(os.sep, "/") in KEPT:
                continue
            for line, length, signature in scan(path, text):
                if length > args.max:
                    over.append((length, path, line, signature))
    try:
        for length, path, line, signature in sorted(over, reverse=True):
            print(f"{path}:{line}: {length} lines: {signature[:100]}")
    except BrokenPipeError:
        pass
    return 1 if over else 0


if __name__ == "__main__":
    sys.exit(main())
