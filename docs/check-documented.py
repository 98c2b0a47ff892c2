#!/usr/bin/env python3
"""Usage: check-documented.py XML_DIR

Lists every public class, struct and union of the OKU namespace in Doxygen's
XML output that has neither a brief nor a detailed description, and fails
when there is one. Doxygen itself, with every member extracted, warns about
none of them. Other names are stubs Doxygen makes up, such as a template
parameter used as a base class."""

import pathlib
import sys
import xml.etree.ElementTree as ElementTree

CLASS_KINDS = {"class", "struct", "union"}


def has_text(element):
    return element is not None and "".join(element.itertext()).strip() != ""


def undocumented(xml_dir):
    index = ElementTree.parse(xml_dir / "index.xml").getroot()
    for compound in index.iter("compound"):
        if compound.get("kind") not in CLASS_KINDS:
            continue
        definition = ElementTree.parse(xml_dir / (compound.get("refid") + ".xml")).find(
            "compounddef")
        name = definition.findtext("compoundname")
        if not name.startswith("OKU::") or definition.get("prot") == "private":
            continue
        if has_text(definition.find("briefdescription")) or has_text(
                definition.find("detaileddescription")):
            continue
        location = definition.find("location")
        where = location.get("file") if location is not None else "?"
        yield f"{where}: {name}"


def main(xml_dir):
    missing = sorted(undocumented(pathlib.Path(xml_dir)))
    for line in missing:
        print(f"undocumented class {line}", file=sys.stderr)
    if missing:
        sys.exit(f"{len(missing)} classes say nothing about what they are for")


if __name__ == "__main__":
    if len(sys.argv) != 2:
        sys.exit(__doc__)
    main(sys.argv[1])
