#!/usr/bin/python3
"""Makes the program's font "Mensch" from DejaVu Sans Mono.

usage: make_mensch_font.py SOURCE.ttf OUTPUT.ttf LICENCE-SOURCE LICENCE-OUTPUT

The glyphs are unchanged; every name-table entry that names the family, the full name,
the unique id or the PostScript name now says "Mensch". The Bitstream Vera licence of
the glyphs allows modified copies only under names without "Bitstream" or "Vera"; the
script checks that no naming entry carries either word, keeps the copyright and licence
entries as they are, and copies the licence text beside the font.
"""
import os
import shutil
import sys

from fontTools.ttLib import TTFont

FAMILY = "Mensch"
FORBIDDEN = ("bitstream", "vera")
# nameIDs: 1 family, 3 unique id, 4 full name, 6 PostScript name, 16/17 typographic family
# and subfamily, 18 compatible full name, 21/22 WWS family and subfamily.
NAMING_IDS = {1, 3, 4, 6, 16, 18, 21}
LICENCE_IDS = {0, 7, 13, 14}


def rename(font):
    table = font["name"]
    version = table.getDebugName(5) or "Version 1.0"
    style = table.getDebugName(2) or "Book"
    values = {
        1: FAMILY,
        3: f"{FAMILY}:{version}",
        4: FAMILY,
        6: FAMILY,
        16: FAMILY,
        18: FAMILY,
        21: FAMILY,
    }
    for record in table.names:
        if record.nameID in values:
            record.string = values[record.nameID]
    # Entries of the original naming that are not replaced above go (for example a
    # trademark notice or a designer URL would still be fine, but family-like entries not).
    table.names = [r for r in table.names
                   if r.nameID in values or r.nameID in LICENCE_IDS or r.nameID in {2, 5, 8, 9, 11, 12}]
    if "CFF " in font:
        raise SystemExit("make_mensch_font: CFF fonts are not handled")
    for record in table.names:
        if record.nameID in LICENCE_IDS:
            continue
        text = record.toUnicode().lower()
        for word in FORBIDDEN:
            if word in text:
                raise SystemExit(f"make_mensch_font: name entry {record.nameID} still says {word!r}")


def main(argv):
    if len(argv) != 5:
        print(__doc__.strip().splitlines()[2], file=sys.stderr)
        return 2
    source, output, licence_source, licence_output = argv[1:]
    font = TTFont(source)
    rename(font)
    os.makedirs(os.path.dirname(os.path.abspath(output)), exist_ok=True)
    temp = output + ".tmp"
    font.save(temp)
    os.replace(temp, output)
    with open(licence_source, encoding="utf-8") as src:
        licence = src.read()
    with open(licence_output + ".tmp", "w", encoding="utf-8") as dst:
        dst.write("The font Mensch (mensch.ttf) is DejaVu Sans Mono renamed; its glyphs are\n"
                  "unchanged. It is distributed under the licence of DejaVu Sans Mono below.\n\n")
        dst.write(licence)
    os.replace(licence_output + ".tmp", licence_output)
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
