#!/usr/bin/env python3
"""Draw the component-palette bitmaps of the design-time package, or of the IDE's own
components (--ide).

The IDE loads one 24x24, 16-colour bitmap per component from the package
resources and shows it on the component palette. The pictures live here as
ASCII art so that a change to an icon is a readable diff instead of an opaque
binary blob, and the BMP files are regenerated from them.

Usage: draw-palette-bitmaps.py [--ide] [OUTPUT_FOLDER]
       (default: package/bitmaps, or ide/bitmaps with --ide, under the repository root)
"""

import os
import struct
import sys

WIDTH = 24
HEIGHT = 24

# The classic 16-colour Windows palette, in the order the IDE's own bitmaps
# use. Keeping the standard order means the indices agree with every other
# 16-colour toolbar image, so nothing is remapped when the IDE builds its
# image lists.
PALETTE = [
    (0x00, 0x00, 0x00),  # 0 black
    (0x80, 0x00, 0x00),  # 1 maroon
    (0x00, 0x80, 0x00),  # 2 green
    (0x80, 0x80, 0x00),  # 3 olive
    (0x00, 0x00, 0x80),  # 4 navy
    (0x80, 0x00, 0x80),  # 5 purple
    (0x00, 0x80, 0x80),  # 6 teal
    (0xC0, 0xC0, 0xC0),  # 7 silver
    (0x80, 0x80, 0x80),  # 8 gray
    (0xFF, 0x00, 0x00),  # 9 red
    (0x00, 0xFF, 0x00),  # 10 lime
    (0xFF, 0xFF, 0x00),  # 11 yellow
    (0x00, 0x00, 0xFF),  # 12 blue
    (0xFF, 0x00, 0xFF),  # 13 fuchsia
    (0x00, 0xFF, 0xFF),  # 14 aqua
    (0xFF, 0xFF, 0xFF),  # 15 white
]

# The IDE takes the bottom-left pixel as the transparent colour and keys out
# every pixel of that colour, so the background colour must appear nowhere in
# the drawing itself. Olive is the one colour none of the pictures needs.
BACKGROUND = "."
LEGEND = {
    ".": 3,   # olive: transparent background, never drawn with
    "k": 0,   # black: outlines
    "m": 1,   # maroon
    "g": 2,   # green
    "n": 4,   # navy
    "p": 5,   # purple
    "t": 6,   # teal
    "s": 7,   # silver: button face
    "d": 8,   # gray: shadows
    "r": 9,   # red
    "l": 10,  # lime
    "y": 11,  # yellow
    "b": 12,  # blue
    "f": 13,  # fuchsia
    "a": 14,  # aqua
    "w": 15,  # white: highlights, paper
}

# Light falls from the top left on every picture: white on the upper and left
# edges, gray and black on the lower and right ones, as on the IDE's buttons.
PICTURES = {
    # The data-aware grid: a navy title row, the fixed indicator column with
    # the current-record triangle, a focused cell, and a database cylinder
    # in front so it tells apart from the report grid at a glance.
    "TOMDBGRID": [
        "........................",
        "kkkkkkkkkkkkkkkkkkkkk...",
        "knnnnbnnnnbnnnnbnnnnk...",
        "knnnnbnwwnbnwwnbnwwnk...",
        "knnnnbnnnnbnnnnbnnnnk...",
        "kkkkkkkkkkkkkkkkkkkkk...",
        "kwwwwkwwwwswwwwswwwwk...",
        "kwssskwdddswdddswddwk...",
        "kwssskwwwwswwwwswwwwk...",
        "kkkkkkssssssssssssssk...",
        "kwkwwknnnnswwwwswwwwk...",
        "kwkksknwwnswddwswdddk...",
        "kwkssknnnnswwwwswwwwk...",
        "kkkkkkssssssssssssssk...",
        "kwwwwkwwwwswww...kkkk...",
        "kwssskwdddswdd.kkwwaakk.",
        "kwssskwwwwswwwkwwaaaaaak",
        "kkkkkksssssssskkkaaaakkk",
        "kwwwwkwwwwswwwkwakkkktnk",
        "kwssskwddwswddkwaattttnk",
        "kwssskwwwwswwwkwaattttnk",
        "kkkkkkkkkkkkkkkwaattttnk",
        "...............kkatttkk.",
        ".................kkkk...",
    ],

    # The report grid: the same grid printed on a page with a folded corner,
    # a title line above it and a page number below.
    "TOMQRGRID": [
        ".kkkkkkkkkkkkkkk........",
        ".kwwwwwwwwwwwwwkk.......",
        ".kwnnnnnnnnwwwwksk......",
        ".kwwwwwwwwwwwwwkssk.....",
        ".kwddddddwwwwwwksssk....",
        ".kwwwwwwwwwwwwwkkkkkk...",
        ".kwkkkkkkkkkkkkkkkkwkd..",
        ".kwkssssdssssdsssskwkd..",
        ".kwkskksdskksdskkskwkd..",
        ".kwkssssdssssdsssskwkd..",
        ".kwkkkkkdkkkkdkkkkkwkd..",
        ".kwkwwwwdwwwwdwwwwkwkd..",
        ".kwkwddwdwddwdwddwkwkd..",
        ".kwkwwwwdwwwwdwwwwkwkd..",
        ".kwkddddddddddddddkwkd..",
        ".kwkwwwwdwwwwdwwwwkwkd..",
        ".kwkwddwdwddwdwddwkwkd..",
        ".kwkwwwwdwwwwdwwwwkwkd..",
        ".kwkkkkkkkkkkkkkkkkwkd..",
        ".kwwwwwwwwwwwwwwwwwwkd..",
        ".kwwwwwwwwwwwwddddwwkd..",
        ".kwwwwwwwwwwwwwwwwwwkd..",
        ".kkkkkkkkkkkkkkkkkkkkd..",
        "..dddddddddddddddddddd..",
    ],

    # The column chooser: a dialog whose list holds the grid's columns, each
    # with the check box that shows or hides it; the middle one is selected.
    "TOMDBCOLUMNSDIALOG": [
        ".kkkkkkkkkkkkkkkkkkkkkkk",
        ".knnnnnnnnnnnnnnnnnwwsnk",
        ".knwwwwwwnnnnnnnnnnwkdnk",
        ".knnnnnnnnnnnnnnnnnsddnk",
        ".kwwwwwwwwwwwwwwwwwwwwwk",
        ".kwsdddddkssssssssssssdk",
        ".kwsdwwwksssssssssssssdk",
        ".kwsdkwkdskkkkkkkkkkksdk",
        ".kwsdwkwdsssssssssssssdk",
        ".kwsdddddsssssssssssssdk",
        ".kwsssssssssssssssssssdk",
        ".kwsdddddsssssssssssssdk",
        ".kwsdwwwdnnnnnnnnnnnnsdk",
        ".kwsdwwwdnwwwwwwwwnnnsdk",
        ".kwsdwwwdnnnnnnnnnnnnsdk",
        ".kwsdddddsssssssssssssdk",
        ".kwsssssssssssssssssssdk",
        ".kwsdddddkssssssssssssdk",
        ".kwsdwwwksssssssssssssdk",
        ".kwsdkwkdskkkkkkkkkkssdk",
        ".kwsdwkwdsssssssssssssdk",
        ".kwsdddddsssssssssssssdk",
        ".kwddddddddddddddddddddk",
        ".kkkkkkkkkkkkkkkkkkkkkkk",
    ],

    # The print-column chooser: the same dialog, smaller, with a printer in
    # front. The ring of background round the printer keeps the two outlines
    # from running into each other at palette size.
    "TOMDBPRINTCOLUMNSDIALOG": [
        ".kkkkkkkkkkkkkkkkkkk....",
        ".knnnnnnnnnnnnnwwsnk....",
        ".knwwwwwwnnnnnnwkdnk....",
        ".knnnnnnnnnnnnnsddnk....",
        ".kwwwwwwwwwwwwwwwwwk....",
        ".kwsdddddkssssssssdk....",
        ".kwsdwwwksssssssssdk....",
        ".kwsdkwkdskkkkkkkkdk....",
        ".kwsdwkwdsssssssssdk....",
        ".kwsdddddsssssssssdk....",
        ".kwsssssssssssssssdk....",
        ".kwsdddddsss............",
        ".kwsdwwwdsss.kkkkkkkk...",
        ".kwsdwwwdskk.kwdddwwk...",
        ".kwsdwwwdsss.kwwwwwwk...",
        ".kwsdddddss..kwddddwk...",
        ".kwddddddd..kkkkkkkkkk..",
        ".kkkkkkkk..kwwwwwwwwwsk.",
        "..........kwssssssssssdk",
        "..........kkkkkkkkkkkkkk",
        "..........kwsssssssslsdk",
        "..........kwskkkkkkkksdk",
        "..........kddddddddddddk",
        "..........kkkkkkkkkkkkkk",
    ],
}

# The IDE's own components on its palette, drawn the same way.
IDE_PICTURES = {
    # The data source: a plug whose cable runs from the dataset's cylinder to
    # the controls, shown as a small grid.
    "TDATASOURCE": [
        "........................",
        "...kkkkkkk..............",
        "..kyyyyyyyk.............",
        "..kkkkkkkkk.............",
        "..kyyyyyyyk.............",
        "..kkkkkkkkk.............",
        "..kyyyyyyyk.............",
        "..kkkkkkkkk.............",
        "..kyyyyyyyk.............",
        "...kkkkkkk..............",
        "......k.................",
        "......k.................",
        "......kkkkkkkkk.........",
        "..............k.........",
        "..........kkkkkkkkkkkkk.",
        "..........kwwwkwwwkwwwk.",
        "..........kkkkkkkkkkkkk.",
        "..........kwwwkwwwkwwwk.",
        "..........kkkkkkkkkkkkk.",
        "..........kwwwkwwwkwwwk.",
        "..........kkkkkkkkkkkkk.",
        "........................",
        "........................",
        "........................",
    ],
    # The in-memory dataset: the cylinder with a memory chip in front.
    "TCLIENTDATASET": [
        "........................",
        "....kkkkkkkkk...........",
        "...kaaaaaaaaak..........",
        "...kkkkkkkkkkk..........",
        "...kaaaaaaaaak..........",
        "...kkkkkkkkkkk..........",
        "...kaaaaaaaaak..........",
        "...kkkkkkkkkkk..........",
        "...kaaaaaaaaak..........",
        "...kaaaaaaaaak..........",
        "....kkkkkkkkk...........",
        "........................",
        "..........k.k.k.k.k.....",
        ".........kkkkkkkkkkk....",
        "........kdddddddddddk...",
        "........kdwwwwwwwwwdk...",
        "........kdwkkkkkkkwdk...",
        "........kdwwwwwwwwwdk...",
        "........kdddddddddddk...",
        ".........kkkkkkkkkkk....",
        "..........k.k.k.k.k.....",
        "........................",
        "........................",
        "........................",
    ],
    # The SQLite dataset: the cylinder with a table of rows beside it.
    "TSQLITEDATASET": [
        "........................",
        "...kkkkkkkkk............",
        "..kbbbbbbbbbk...........",
        "..kkkkkkkkkkk...........",
        "..kbbbbbbbbbk...........",
        "..kkkkkkkkkkk...........",
        "..kbbbbbbbbbk...........",
        "..kkkkkkkkkkk...........",
        "..kbbbbbbbbbk...........",
        "..kbbbbbbbbbk...........",
        "...kkkkkkkkk............",
        "........................",
        ".........kkkkkkkkkkkkkk.",
        ".........knnnnnnnnnnnnk.",
        ".........kkkkkkkkkkkkkk.",
        ".........kwwwwkwwwwwwwk.",
        ".........kkkkkkkkkkkkkk.",
        ".........kwwwwkwwwwwwwk.",
        ".........kkkkkkkkkkkkkk.",
        ".........kwwwwkwwwwwwwk.",
        ".........kkkkkkkkkkkkkk.",
        "........................",
        "........................",
        "........................",
    ],
    # The image list: three pictures stacked, the front one a landscape.
    "TIMAGELIST": [
        "........................",
        "........kkkkkkkkkkkkkk..",
        "........kwwwwwwwwwwwwk..",
        ".....kkkkkkkkkkkkkkwwk..",
        ".....kwwwwwwwwwwwwkwwk..",
        "..kkkkkkkkkkkkkkwwkwwk..",
        "..kaaaaaaaaaaaakwwkwwk..",
        "..kaaaayyaaaaaakwwkkkk..",
        "..kaaayyyyaaaaakwwk.....",
        "..kaaaayyaaaaaakkkk.....",
        "..kaaaaaaaaagaak........",
        "..kaaaaaaaagggak........",
        "..kaagaaaaggggak........",
        "..kagggaagggggak........",
        "..kggggggggggggk........",
        "..kggggggggggggk........",
        "..kkkkkkkkkkkkkk........",
        "........................",
        "........................",
        "........................",
        "........................",
        "........................",
        "........................",
        "........................",
    ],
}


class DrawingError(Exception):
    pass


def check_picture(name, rows):
    """Reject a malformed picture before anything is written."""
    if len(rows) != HEIGHT:
        raise DrawingError(f"{name}: {len(rows)} rows, expected {HEIGHT}")
    for y, row in enumerate(rows):
        if len(row) != WIDTH:
            raise DrawingError(
                f"{name}: row {y} is {len(row)} pixels wide, expected {WIDTH}")
        for x, ch in enumerate(row):
            if ch not in LEGEND:
                raise DrawingError(
                    f"{name}: row {y}, column {x}: unknown colour {ch!r}")
    if rows[-1][0] != BACKGROUND:
        raise DrawingError(
            f"{name}: bottom-left pixel must be background {BACKGROUND!r}, "
            "because the IDE keys transparency on it")


def encode_bmp(rows):
    """Return a 4-bit BI_RGB BMP of the picture, bottom-up as GDI expects."""
    row_bytes = (WIDTH * 4 + 31) // 32 * 4
    pixels = bytearray()
    for row in reversed(rows):
        indices = [LEGEND[ch] for ch in row]
        if len(indices) % 2:
            indices.append(0)
        packed = bytes((indices[i] << 4) | indices[i + 1]
                       for i in range(0, len(indices), 2))
        pixels += packed.ljust(row_bytes, b"\0")

    colour_table = b"".join(bytes((b, g, r, 0)) for r, g, b in PALETTE)
    offset = 14 + 40 + len(colour_table)
    info = struct.pack(
        "<IiiHHIIiiII",
        40,            # biSize
        WIDTH,
        HEIGHT,        # positive: rows stored bottom-up
        1,             # biPlanes
        4,             # biBitCount
        0,             # biCompression = BI_RGB
        len(pixels),   # biSizeImage
        2835,          # 72 dpi, as pixels per metre
        2835,
        len(PALETTE),  # biClrUsed
        0,             # biClrImportant: all of them
    )
    header = struct.pack("<2sIHHI", b"BM", offset + len(pixels), 0, 0, offset)
    return header + info + colour_table + bytes(pixels)


def write_atomically(folder, filename, data):
    # A reader (a resource compiler, or the IDE itself) must never see a
    # half-written bitmap, so write beside the target and rename over it.
    target = os.path.join(folder, filename)
    temp = os.path.join(folder, f".{filename}.{os.getpid()}.tmp")
    fd = os.open(temp, os.O_WRONLY | os.O_CREAT | os.O_EXCL, 0o666)
    try:
        with os.fdopen(fd, "wb") as f:
            f.write(data)
            f.flush()
            os.fsync(f.fileno())
        os.replace(temp, target)
    except BaseException:
        try:
            os.unlink(temp)
        except FileNotFoundError:
            pass
        raise


def main(argv):
    if len(argv) == 2 and argv[1] in ("-h", "--help"):
        print(__doc__.strip())
        return 0
    pictures, default = PICTURES, ("package", "bitmaps")
    if len(argv) >= 2 and argv[1] == "--ide":
        pictures, default = IDE_PICTURES, ("ide", "bitmaps")
        argv = argv[:1] + argv[2:]
    if len(argv) > 2 or (len(argv) == 2 and not argv[1]):
        print("draw-palette-bitmaps: expected at most one argument, "
              "a non-empty output folder\n", file=sys.stderr)
        print(__doc__.strip(), file=sys.stderr)
        return 2

    if len(argv) == 2:
        folder = argv[1]
    else:
        repo_root = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
        folder = os.path.join(repo_root, *default)

    # Every picture is checked and encoded before the first file is touched,
    # so a broken drawing leaves the previous bitmaps as they were.
    encoded = {}
    try:
        for name, rows in pictures.items():
            check_picture(name, rows)
            encoded[name + ".bmp"] = encode_bmp(rows)
    except DrawingError as e:
        print(f"draw-palette-bitmaps: {e}", file=sys.stderr)
        return 1

    if os.path.exists(folder) and not os.path.isdir(folder):
        print(f"draw-palette-bitmaps: {folder}: not a folder", file=sys.stderr)
        return 1
    try:
        os.makedirs(folder, exist_ok=True)
        for filename, data in encoded.items():
            write_atomically(folder, filename, data)
    except OSError as e:
        print(f"draw-palette-bitmaps: {e}", file=sys.stderr)
        return 1

    for filename in encoded:
        print(os.path.join(folder, filename))
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
