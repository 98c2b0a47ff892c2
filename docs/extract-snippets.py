#!/usr/bin/env python3
"""Usage: extract-snippets.py GUIDE.md OUTPUT_DIR

Writes every C++ block (```cpp) of the guide to OUTPUT_DIR as a source file of its
own, named after its place and the section it is in (03-localising-its-
strings.cpp), and prints one line per file: its path, and "main" when the
block is a whole program. Files of blocks no longer in the guide are removed,
so that the build never compiles a snippet the guide has lost."""

import pathlib
import re
import sys

FENCE = re.compile(r"^```(\S*)\s*$")
HEADING = re.compile(r"^#+\s+(.*)$")
MAIN = re.compile(r"^int main\(", re.MULTILINE)
# However a block names C++, it is compiled.
CPP_FENCES = {"cpp", "c++", "cxx"}


def snippets(guide):
    section = "intro"
    block = None
    for number, line in enumerate(guide.read_text(encoding="utf-8").splitlines(), 1):
        fence = FENCE.match(line)
        if block is not None:
            if fence and not fence.group(1):
                yield section, block
                block = None
            else:
                block.append(line)
        elif fence and fence.group(1).lower() in CPP_FENCES:
            # A #line directive sends compiler messages to the guide itself.
            block = [f'#line {number + 1} "{guide}"']
        elif HEADING.match(line):
            section = re.sub(r"[^a-z0-9]+", "-", HEADING.match(line).group(1).lower()).strip("-")


def main(guide_path, output):
    guide = pathlib.Path(guide_path).resolve()
    directory = pathlib.Path(output)
    directory.mkdir(parents=True, exist_ok=True)
    written = set()
    for index, (section, lines) in enumerate(snippets(guide), 1):
        path = directory / f"{index:02d}-{section}.cpp"
        text = "\n".join(lines) + "\n"
        if not path.exists() or path.read_text(encoding="utf-8") != text:
            path.write_text(text, encoding="utf-8")
        written.add(path)
        print(f"{path} main" if MAIN.search(text) else path)
    for stale in directory.glob("*.cpp"):
        if stale not in written:
            stale.unlink()


if __name__ == "__main__":
    if len(sys.argv) != 3:
        sys.exit(__doc__)
    main(sys.argv[1], sys.argv[2])
