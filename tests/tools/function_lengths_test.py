#!/usr/bin/env python3
"""Checks tools/function-lengths.py on the forms of definition it must count (fixtures in
function-lengths/): every function found at the line and length its "counted: N" mark says,
nothing else found, and the script's exit code over and under a limit."""
import importlib.util
import os
import re
import subprocess
import sys
import unittest

HERE = os.path.dirname(os.path.abspath(__file__))
SCRIPT = os.path.join(HERE, "..", "..", "tools", "function-lengths.py")
FORMS = os.path.join(HERE, "function-lengths", "forms.cpp")

spec = importlib.util.spec_from_file_location("function_lengths", SCRIPT)
lengths = importlib.util.module_from_spec(spec)
spec.loader.exec_module(lengths)


def marked(path):
    """{line: length} from the fixture's "counted: N" marks."""
    with open(path, encoding="utf-8") as f:
        return {i: int(m.group(1)) for i, text in enumerate(f, 1) for m in [re.search(r"counted: (\d+)", text)] if m}


class FunctionLengths(unittest.TestCase):
    def test_every_form_is_counted_at_its_length(self):
        with open(FORMS, encoding="utf-8") as f:
            found = {line: length for line, length, _ in lengths.scan(FORMS, f.read())}
        self.assertEqual(found, marked(FORMS))

    def test_exit_code_says_whether_a_function_is_over_the_limit(self):
        expected = marked(FORMS)
        longest = max(expected.values())
        over = subprocess.run([sys.executable, SCRIPT, "--max", str(longest - 1), FORMS],
                              capture_output=True, text=True)
        self.assertEqual(over.returncode, 1)
        listed = {int(m.group(1)) for m in re.finditer(r"forms\.cpp:(\d+):", over.stdout)}
        self.assertEqual(listed, {line for line, length in expected.items() if length == longest})
        within = subprocess.run([sys.executable, SCRIPT, "--max", str(longest), FORMS], capture_output=True, text=True)
        self.assertEqual((within.returncode, within.stdout), (0, ""))

    def test_a_long_function_with_a_default_argument_is_over(self):
        body = "".join("    x += %d;\n" % i for i in range(120))
        text = "int g(int x = 0) {\n" + body + "    return x;\n}\n"
        self.assertEqual([(line, length) for line, length, _ in lengths.scan("g.cpp", text)], [(1, 123)])


if __name__ == "__main__":
    unittest.main()
