#!/usr/bin/env python3
"""Lists the C++ functions longer than a limit (100 lines by default) under the given folders.

A brace-counting scan, not a compiler: comments, string and character literals are blanked out,
then every brace block opened at namespace or class level is a function body when the text
before it ends a parameter list (a ")" followed by qualifiers, a trailing return type or a
constructor's initialisers), whatever the parameters hold (default arguments, {} included) and
whatever stands before (template heads with defaults, attributes); a lambda given a name at
namespace level is a function too. Braces inside a head (a default argument's {}, a member's
a_{1} in a constructor's initialisers) open no body. Blocks after any other "=" (tables,
initialisers) and the bodies of namespaces, classes, structs, unions and enums are walked
through, not counted. A function's length runs from the line of its name (or of its template
head) to its closing brace. tests/tools/function_lengths_test.py holds the forms it must see.

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
# A constructor's ")" followed by its initialiser list's ":" (parentheses already emptied).
INITIALISERS = re.compile(r"\)\s*(noexcept\s*(\(\))?\s*)?:(?!:)")
# What may stand in a class before a member's head: its Q_OBJECT and access labels.
LABELS = re.compile(r"\s*((Q_OBJECT|Q_GADGET)\b|((public|protected|private)(\s+(slots|Q_SLOTS))?|signals|Q_SIGNALS)\s*:(?!:))")


def emptied(text, open_, close):
    """text with what stands inside each outermost open_ ... close pair removed."""
    out, depth = [], 0
    for c in text:
        if c == open_:
            if depth == 0:
                out.append(c)
            depth += 1
        elif c == close and depth > 0:
            depth -= 1
            if depth == 0:
                out.append(c)
        elif depth == 0:
            out.append(c)
    return "".join(out)


def without_template_heads(text):
    """text with each "template <...>" removed (angle brackets counted; parentheses emptied first)."""
    while True:
        m = re.search(r"\btemplate\s*<", text)
        if not m:
            return text
        depth, j = 0, m.end() - 1
        while j < len(text):
            depth += {"<": 1, ">": -1}.get(text[j], 0)
            j += 1
            if depth == 0:
                break
        text = text[:m.start()] + " " + text[j:]


def bare_head(h):
    """A head reduced to its shape: parentheses and brackets emptied, template heads, operator
    names and comparison operators taken out, so that an "=" left is an initialiser's."""
    bare = without_template_heads(emptied(emptied(h, "(", ")"), "[", "]"))
    bare = re.sub(r"\boperator\s*[^\s(]*", "operator", bare)
    return re.sub(r"<<=|>>=|[=!<>+\-*/%&|^]=", " ", bare)


def head_kind(head):
    """What the block opened after `head` (the code since the last ; { or }) is."""
    h = " ".join(head.split())
    if not h:
        return "block"
    # extern "C" reads as extern once the literal is blanked.
    if re.match(r'^extern(\s+"C")?$', h) or re.match(r"^(inline\s+)?namespace\b", h):
        return "scope"
    bare = bare_head(h)
    # A class or enum head: the keyword before any parenthesis (a function may take a struct).
    before_paren = bare.split("(")[0]
    if SCOPE_WORDS.search(before_paren) and "=" not in before_paren:
        return "scope"
    if "=" in bare:
        # A lambda given a name is a function; any other initialiser is data.
        return "function" if re.search(r"=\s*\[\][^=]*$", bare) else "data"
    if ")" in bare:
        return "function"
    return "data"


def opens_member_initialiser(head):
    """True when a "{" after `head` gives a member its value in a constructor's initialiser list
    (a_{1}), not the constructor's body: it follows a name or a template's ">"."""
    h = head.rstrip()
    return bool(h) and (h[-1].isalnum() or h[-1] in "_>") and bool(INITIALISERS.search(emptied(h, "(", ")")))


def closing_brace(code, i):
    """The position of the "}" that closes the "{" at i (or the end of the text)."""
    depth = 0
    for j in range(i, len(code)):
        if code[j] == "{":
            depth += 1
        elif code[j] == "}":
            depth -= 1
            if depth == 0:
                return j
    return len(code) - 1


def scan(path, text):
    """Yields (name line, length in lines, signature) for each function in the file."""
    code = blank_literals(text)
    stack = []  # "scope" / "data" / "function" / "block", with the line the head starts on
    bodies = 0  # entries of the stack that are a function's or data's body
    head_start = 0
    parens = 0  # parentheses open in the head being read (outside bodies)
    i, n = 0, len(code)
    while i < n:
        c = code[i]
        if not bodies:
            # Braces in a head (a default argument's {}, a member's a_{1}) open no body.
            if c == "(":
                parens += 1
            elif c == ")":
                parens = max(0, parens - 1)
            elif c == "{" and (parens or opens_member_initialiser(code[head_start:i])):
                i = closing_brace(code, i) + 1
                continue
            elif c == ";" and parens:
                i += 1
                continue
        if c in ";{}":
            if c == "{":
                label = LABELS.match(code, head_start, i)
                while label:
                    head_start = label.end()
                    label = LABELS.match(code, head_start, i)
                head = code[head_start:i]
                kind = "block" if bodies else head_kind(head)
                first = head_start + (len(head) - len(head.lstrip()))
                stack.append((kind, code.count("\n", 0, first) + 1, " ".join(head.split())))
                bodies += kind in ("function", "data")
            elif c == "}" and stack:
                kind, line, signature = stack.pop()
                bodies -= kind in ("function", "data")
                if kind == "function" and not bodies:
                    end_line = code.count("\n", 0, i) + 1
                    yield line, end_line - line + 1, signature
            head_start = i + 1
            parens = 0
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
