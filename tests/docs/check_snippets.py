#!/usr/bin/python3
"""Every code snippet in the README and docs/ comes from an example that the
tests build and run, so the docs cannot show code that does not work.

A fenced block in C++, QML, CMake or a Makefile must be introduced by
    <!-- from examples/NAME/FILE -->
on the line before its fence, and its lines must stand in that file in the
same order, each run of them unbroken; a line holding only "..." (or "// ..."
or "# ...") in the block marks lines of the file left out. The example's
folder must be named by the packaging test or the real-desktop suite,
which build the examples.

usage: check_snippets.py SOURCE_DIR
       check_snippets.py --self-test   (plants faults; fails unless each is found)
"""

import re
import sys
import tempfile
from pathlib import Path

CODE = {"cpp", "c++", "qml", "cmake", "make", "makefile"}
MARK = re.compile(r"<!--\s*from\s+(\S+)\s*-->")
ELISION = re.compile(r"^\s*(//|#)?\s*\.\.\.\s*$")
BUILDERS = ("tests/packaging/consumer.sh", "scripts/run-e2e.sh")


def blocks(text):
    """(line number, language, marker line, lines) of each fenced block."""
    lines = text.splitlines()
    i = 0
    while i < len(lines):
        fence = re.match(r"^```(\S*)\s*$", lines[i])
        if not fence:
            i += 1
            continue
        start, language = i, fence.group(1).lower()
        j = i + 1
        while j < len(lines) and not lines[j].startswith("```"):
            j += 1
        yield start + 1, language, lines[start - 1] if start else "", lines[start + 1:j]
        i = j + 1


def runs(block):
    """The block split at its elision lines, blank edges dropped."""
    parts, current = [], []
    for line in block + ["..."]:
        if ELISION.match(line):
            while current and not current[-1].strip():
                current.pop()
            while current and not current[0].strip():
                current.pop(0)
            if current:
                parts.append(current)
            current = []
        else:
            current.append(line.rstrip())
    return parts


def stands_in(parts, source):
    """Whether each run stands unbroken in `source`, in order."""
    lines = [line.rstrip() for line in source.splitlines()]
    at = 0
    for part in parts:
        found = next((k for k in range(at, len(lines) - len(part) + 1)
                      if lines[k:k + len(part)] == part), None)
        if found is None:
            return False
        at = found + len(part)
    return True


def check(root):
    root = Path(root)
    builders = "".join((root / b).read_text() for b in BUILDERS if (root / b).exists())
    problems, count = [], 0
    for doc in [root / "README.md", *sorted((root / "docs").glob("*.md"))]:
        for line, language, before, block in blocks(doc.read_text()):
            if language not in CODE:
                continue
            count += 1
            where = f"{doc.relative_to(root)}:{line}"
            mark = MARK.search(before)
            if not mark:
                problems.append(f"{where}: a {language} block without '<!-- from examples/... -->'")
                continue
            source = root / mark.group(1)
            if not mark.group(1).startswith("examples/") or not source.is_file():
                problems.append(f"{where}: {mark.group(1)} is no file under examples/")
                continue
            name = mark.group(1).split("/")[1]
            # Named in a builder, as a path or in a loop over example names.
            if not re.search(rf"(?<![\w-]){re.escape(name)}(?![\w-])", builders):
                problems.append(f"{where}: no test builds examples/{name}")
            if not stands_in(runs(block), source.read_text()):
                problems.append(f"{where}: the block does not stand in {mark.group(1)}")
    return count, problems


def self_test():
    """Plants each kind of fault in a copy-sized tree; every one must be found."""
    example = "int main() {\n    int a = 1;\n    int b = 2;\n    return a + b;\n}\n"
    cases = {
        "clean": ("<!-- from examples/x/main.cpp -->\n```cpp\nint main() {\n...\n    return a + b;\n}\n```\n", 0),
        "unmarked": ("```cpp\nint main() {}\n```\n", 1),
        "changed": ("<!-- from examples/x/main.cpp -->\n```cpp\n    int a = 2;\n```\n", 1),
        "reordered": ("<!-- from examples/x/main.cpp -->\n```cpp\n    int b = 2;\n...\n    int a = 1;\n```\n", 1),
        "missing file": ("<!-- from examples/x/other.cpp -->\n```cpp\nint main() {\n```\n", 1),
        "unbuilt": ("<!-- from examples/y/main.cpp -->\n```cpp\nint main() {\n```\n", 1),
        "prose only": ("```sh\n./run test\n```\n", 0),
    }
    failed = []
    for name, (doc, expected) in cases.items():
        with tempfile.TemporaryDirectory() as tmp:
            root = Path(tmp)
            (root / "docs").mkdir()
            (root / "examples/x").mkdir(parents=True)
            (root / "examples/x/main.cpp").write_text(example)
            (root / "examples/y").mkdir()
            (root / "examples/y/main.cpp").write_text(example)
            (root / "scripts").mkdir()
            (root / "scripts/run-e2e.sh").write_text("build examples/x\n")
            (root / "README.md").write_text(doc)
            _, problems = check(root)
            if len(problems) != expected:
                failed.append(f"{name}: expected {expected} problem(s), found {problems}")
    for line in failed:
        print(f"self-test: {line}")
    print(f"self-test: {len(cases) - len(failed)} passed, {len(failed)} failed")
    return 1 if failed else 0


def main():
    if sys.argv[1:] == ["--self-test"]:
        return self_test()
    if len(sys.argv) != 2:
        print(__doc__, file=sys.stderr)
        return 64
    count, problems = check(sys.argv[1])
    for problem in problems:
        print(problem)
    print(f"snippets: {count} code blocks, {len(problems)} problems")
    return 1 if problems or count == 0 else 0


if __name__ == "__main__":
    sys.exit(main())
