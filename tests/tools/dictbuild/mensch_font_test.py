#!/usr/bin/python3
"""Checks the built font: family "Mensch" in every naming entry, glyphs as in the source,
no "Bitstream" or "Vera" in a name, licence text beside it.

usage: mensch_font_test.py FONT SOURCE-FONT LICENCE
"""
import sys

from fontTools.ttLib import TTFont


def main(font_path, source_path, licence_path):
    font, source = TTFont(font_path), TTFont(source_path)
    names = font["name"]
    failures = []
    for name_id in (1, 4, 6):
        records = [r for r in names.names if r.nameID == name_id]
        if not records:
            failures.append(f"name {name_id} missing")
        for r in records:
            if r.toUnicode() != "Mensch":
                failures.append(f"name {name_id} (platform {r.platformID}) is {r.toUnicode()!r}")
    for r in names.names:
        if r.nameID in (0, 7, 13, 14):  # copyright, trademark and licence notices stay
            continue
        text = r.toUnicode().lower()
        if "bitstream" in text or "vera" in text or "dejavu sans" in text:
            failures.append(f"name {r.nameID} still names the original: {r.toUnicode()!r}")
    if font.getGlyphOrder() != source.getGlyphOrder():
        failures.append("glyph set differs from the source")
    with open(licence_path, encoding="utf-8") as f:
        licence = f.read()
    if "Permission is hereby granted" not in licence or "Bitstream" not in licence:
        failures.append("licence text incomplete")
    for failure in failures:
        print("FAIL:", failure)
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main(*sys.argv[1:4]))
