#!/usr/bin/python3
"""Writes symbol.ttf: a minimal TrueType font whose only character map is a
Microsoft symbol map (platform 3, encoding 0), for the character lookup tests.

    U+F041 -> "A"   the usual symbol-font code of 0x41
    U+0042 -> "B"   a plain 8-bit code, found by the fallback lookup
    U+0142 -> "C"   a plain code above 0xFF, never looked up

Needs python3-fonttools; the generated file is kept next to this script.
"""
import os

from fontTools.fontBuilder import FontBuilder
from fontTools.pens.ttGlyphPen import TTGlyphPen
from fontTools.ttLib.tables._c_m_a_p import cmap_format_4, table__c_m_a_p


def box(width, height):
    pen = TTGlyphPen(None)
    pen.moveTo((100, 0))
    pen.lineTo((100, height))
    pen.lineTo((100 + width, height))
    pen.lineTo((100 + width, 0))
    pen.closePath()
    return pen.glyph()


def main():
    names = [".notdef", "A", "B", "C"]
    builder = FontBuilder(1000, isTTF=True)
    builder.setupGlyphOrder(names)
    builder.setupGlyf({
        ".notdef": box(400, 700),
        "A": box(500, 700),
        "B": box(300, 500),
        "C": box(200, 300),
    })
    builder.setupHorizontalMetrics({name: (700, 100) for name in names})
    builder.setupHorizontalHeader(ascent=800, descent=-200)
    builder.setupNameTable({"familyName": "OKU Symbol Test", "styleName": "Regular"})

    symbol = cmap_format_4(4)
    symbol.platformID = 3
    symbol.platEncID = 0
    symbol.language = 0
    symbol.cmap = {0xF041: "A", 0x42: "B", 0x142: "C"}
    cmap = table__c_m_a_p()
    cmap.tableVersion = 0
    cmap.tables = [symbol]
    builder.font["cmap"] = cmap

    builder.setupOS2(usWinAscent=800, usWinDescent=200, sTypoAscender=800,
                     sTypoDescender=-200, usWeightClass=400)
    builder.setupPost()

    builder.save(os.path.join(os.path.dirname(os.path.abspath(__file__)), "symbol.ttf"))


if __name__ == "__main__":
    main()
