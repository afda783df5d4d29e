#!/usr/bin/python3
"""Makes the stand-in for the window's font under Wine.

The window's font is 宋体 at height -13; on a Chinese Windows its text "0" is 13 pixels high, because the
font's vertical metrics total one em. Wine has no such font, and its CJK fonts are taller (WenQuanYi Zen Hei
measures 17, AR PL UMing CN 14), which scales the whole window. This takes AR PL UMing CN out of its
collection, sets its Windows and horizontal-header ascent and descent to total one em (keeping their
proportion), and renames it, so that a Wine prefix can substitute it for 宋体 and SimSun.

Usage: make_standin_font.py COLLECTION OUTPUT.ttf
"""
import sys

from fontTools.ttLib import TTCollection

FAMILY = "Updater Song"
SOURCE_FAMILY = "AR PL UMing CN"


def source_font(collection_path):
    # No new time stamp in the head table: the same source gives the same bytes, on which the guest
    # image's recipe hash depends.
    for font in TTCollection(collection_path, recalcTimestamp=False).fonts:
        if font["name"].getDebugName(1) == SOURCE_FAMILY:
            return font
    sys.exit(f"{collection_path}: no font of the family {SOURCE_FAMILY}")


def fit_to_one_em(font):
    em = font["head"].unitsPerEm
    os2, hhea = font["OS/2"], font["hhea"]
    ascent = round(os2.usWinAscent * em / (os2.usWinAscent + os2.usWinDescent))
    os2.usWinAscent, os2.usWinDescent = ascent, em - ascent
    hhea.ascent, hhea.descent, hhea.lineGap = ascent, ascent - em, 0


def rename(font):
    names = font["name"]
    for record in list(names.names):
        if record.nameID in (1, 3, 4, 16, 17, 18, 21, 22):
            names.removeNames(nameID=record.nameID)
    for name_id, text in ((1, FAMILY), (2, "Regular"), (3, FAMILY), (4, FAMILY), (6, FAMILY.replace(" ", ""))):
        names.setName(text, name_id, 3, 1, 0x409)
        names.setName(text, name_id, 1, 0, 0)


def main():
    if len(sys.argv) != 3:
        sys.exit(__doc__)
    font = source_font(sys.argv[1])
    fit_to_one_em(font)
    rename(font)
    font.save(sys.argv[2])


if __name__ == "__main__":
    main()
