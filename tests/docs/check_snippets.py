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
    lines, start = text.splitlines() + ["```"], None  # an open fence runs to the end
    for i, line in enumerate(lines):
        if start is None and (fence := re.match(r"^```(\S*)\s*$", line)):
            start, language = i, fence.group(1).lower()
        elif start is not None and line.startswith("```"):
            yield start + 1, language, lines[start - 1] if start else "", lines[start + 1:i]
            start = None


def runs(block):
    """The block's lines split at its elision lines, blank edges dropped."""
    text = "\n".join("\0" if ELISION.match(line) else line.rstrip() for line in block)
    return [part.strip("\n").split("\n") for part in text.split("\0") if part.strip()]


def stands_in(parts, source):
    """Whether each run stands unbroken in `source`, in order."""
    lines, at = [line.rstrip() for line in source.splitlines()], 0
    for part in parts:
        at = next((k + len(part) for k in range(at, len(lines) - len(part) + 1)
                   if lines[k:k + len(part)] == part), None)
        if at is None:
            return False
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
    """Plants each kind of fault in a tiny tree; every one must be found."""
    fence = "<!-- from examples/{} -->\n```cpp\n{}\n```\n"
    cases = {  # name: (README, problems expected)
        "clean": (fence.format("x/main.cpp", "int main() {\n...\n    return a + b;\n}"), 0),
        "unmarked": ("```cpp\nint main() {}\n```\n", 1),
        "changed": (fence.format("x/main.cpp", "    int a = 2;"), 1),
        "reordered": (fence.format("x/main.cpp", "    int b = 2;\n...\n    int a = 1;"), 1),
        "missing file": (fence.format("x/other.cpp", "int main() {"), 1),
        "unbuilt": (fence.format("y/main.cpp", "int main() {"), 1),
        "prose only": ("```sh\n./run test\n```\n", 0),
    }
    example = "int main() {\n    int a = 1;\n    int b = 2;\n    return a + b;\n}\n"
    failed = 0
    with tempfile.TemporaryDirectory() as tmp:
        for name, text in {"examples/x/main.cpp": example, "examples/y/main.cpp": example,
                           "scripts/run-e2e.sh": "build examples/x\n", "docs/notes.txt": ""}.items():
            Path(tmp, name).parent.mkdir(parents=True, exist_ok=True)
            Path(tmp, name).write_text(text)
        for name, (doc, expected) in cases.items():
            Path(tmp, "README.md").write_text(doc)
            if len(problems := check(tmp)[1]) != expected:
                failed += 1
                print(f"self-test: {name}: expected {expected} problem(s), found {problems}")
    print(f"self-test: {len(cases) - failed} passed, {failed} failed")
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
