#!/usr/bin/env python3
"""Usage: folder-groups.py SRC_DIR OUTPUT

Puts every public header under SRC_DIR, and every class declared at the
level of the OKU namespace in it, into the Doxygen group named after the
header's layer, its first folder under SRC_DIR (the groups themselves are
defined in groups.dox). Written at each build of the reference, so that a new
class joins its layer's page without a tag in its header. The headers of
detail folders, and classes inside nested namespaces (detail, internal,
anonymous), are not part of the API and are left out."""

import pathlib
import re
import sys

NAMESPACE_OPEN = re.compile(r"^namespace\s*(\w*)[^{;]*\{")
NAMESPACE_CLOSE = re.compile(r"^\}\s*//\s*namespace")
# A definition, not a declaration, and not a specialisation ("Name<...>").
CLASS = re.compile(r"^(?:template\s*<.*>\s*)?(?:class|struct)\s+(\w+)\b(?!\s*<)(?!.*;\s*$)")


def api_classes(header):
    namespaces = []
    for line in header.read_text(encoding="utf-8").splitlines():
        opened = NAMESPACE_OPEN.match(line)
        if opened:
            namespaces.append(opened.group(1))
        elif NAMESPACE_CLOSE.match(line) and namespaces:
            namespaces.pop()
        elif namespaces == ["OKU"]:
            found = CLASS.match(line)
            if found:
                yield found.group(1)


def main(src_dir, output):
    src = pathlib.Path(src_dir)
    blocks = []
    for header in sorted(src.glob("*/**/*.h")):
        relative = header.relative_to(src).as_posix()
        if "/detail/" in relative:
            continue
        group = relative.split("/")[0]
        blocks.append(f"/** \\file {relative}\n    \\ingroup {group} */")
        for name in api_classes(header):
            blocks.append(f"/** \\class OKU::{name}\n    \\ingroup {group} */")
    text = "\n".join(blocks) + "\n"
    path = pathlib.Path(output)
    if not path.exists() or path.read_text(encoding="utf-8") != text:
        path.write_text(text, encoding="utf-8")


if __name__ == "__main__":
    if len(sys.argv) != 3:
        sys.exit(__doc__)
    main(sys.argv[1], sys.argv[2])
