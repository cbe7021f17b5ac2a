#!/usr/bin/env python3
"""rename_font.py SOURCE.ttf TARGET.ttf: copies a TrueType font under the family name the ticker asks
for ("Digital Readout Thick"), as its plain face, so that the menu finds it by that name alone."""
import sys

from fontTools.ttLib import TTFont

FAMILY = "Digital Readout Thick"
STYLE = "Regular"
POSTSCRIPT = "DigitalReadoutThick-Regular"

# Name record ids: 1 family, 2 subfamily, 3 unique id, 4 full name, 6 PostScript name,
# 16/17 typographic family and subfamily (dropped so they cannot override 1 and 2).
NAMES = {1: FAMILY, 2: STYLE, 3: FAMILY + " " + STYLE, 4: FAMILY, 6: POSTSCRIPT}


def rename(source, target):
    font = TTFont(source)
    table = font["name"]
    table.names = [record for record in table.names if record.nameID not in (16, 17, 21, 22)]
    for record in list(table.names):
        if record.nameID in NAMES:
            table.setName(NAMES[record.nameID], record.nameID, record.platformID, record.platEncID,
                          record.langID)
    # A bold face would only be picked when bold is asked for; the ticker asks for the plain face.
    font["OS/2"].usWeightClass = 400
    font["OS/2"].fsSelection = (font["OS/2"].fsSelection & ~0b100001) | 0b1000000
    font["head"].macStyle = 0
    font.save(target)


if __name__ == "__main__":
    if len(sys.argv) != 3:
        sys.exit("usage: rename_font.py SOURCE.ttf TARGET.ttf")
    rename(sys.argv[1], sys.argv[2])
