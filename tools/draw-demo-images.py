#!/usr/bin/env python3
"""Draw the image lists of the bundled demo form.

The demo's grids show title images, row indicators and title markers from three
image lists. The pictures live here as ASCII art, and this prints each list's
`Bitmap = {...}` block as the IDE writes it in a form file: the image-list
header, a 24-bit bitmap of the images four to a row, and the one-bit mask.

Usage: draw-demo-images.py   (paste its output into examples/Demo.dfm)
"""

import struct

COLOURS = {
    "K": (0x00, 0x00, 0x00),
    "W": (0xFF, 0xFF, 0xFF),
    "R": (0xC0, 0x20, 0x20),
    "G": (0x20, 0x90, 0x30),
    "B": (0x20, 0x40, 0xC0),
    "Y": (0xE0, 0xB0, 0x10),
    "O": (0x80, 0x60, 0x10),
    "S": (0x80, 0x80, 0x80),
}
COLUMNS = 4  # images a row, as the IDE lays them out

TITLE = [  # 16x16: ascending, descending, key, money
    [
        "................",
        ".......BB.......",
        "......BBBB......",
        ".....BBBBBB.....",
        "....BBBBBBBB....",
        "...BBBBBBBBBB...",
        "......BBBB......",
        "......BBBB......",
        "......BBBB......",
        "......BBBB......",
        "......BBBB......",
        "......BBBB......",
        "......BBBB......",
        "......BBBB......",
        "................",
        "................",
    ],
    [
        "................",
        "......RRRR......",
        "......RRRR......",
        "......RRRR......",
        "......RRRR......",
        "......RRRR......",
        "......RRRR......",
        "......RRRR......",
        "......RRRR......",
        "...RRRRRRRRRR...",
        "....RRRRRRRR....",
        ".....RRRRRR.....",
        "......RRRR......",
        ".......RR.......",
        "................",
        "................",
    ],
    [
        "................",
        "................",
        "..YYYY..........",
        ".YY..YY.........",
        "YY....YY........",
        "YY....YYYYYYYYYY",
        "YY....YYYYYYYYYY",
        ".YY..YY....YY.YY",
        "..YYYY.....YY.YY",
        "................",
        "................",
        "................",
        "................",
        "................",
        "................",
        "................",
    ],
    [
        "................",
        "......GGGG......",
        "....GGGGGGGG....",
        "...GGG.GG.GGG...",
        "..GGG.GGGG.GGG..",
        "..GG.GG.GG.GGG..",
        "..GG.GGGG..GGG..",
        "..GGG..GGGG.GG..",
        "..GGG.GG.GG.GG..",
        "..GGG.GGGG.GGG..",
        "...GGG.GG.GGG...",
        "....GGGGGGGG....",
        "......GGGG......",
        "................",
        "................",
        "................",
    ],
]

INDICATORS = [  # 12x12: current row, editing, inserting
    [
        "............",
        "...K........",
        "...KK.......",
        "...KKK......",
        "...KKKK.....",
        "...KKKKK....",
        "...KKKKK....",
        "...KKKK.....",
        "...KKK......",
        "...KK.......",
        "...K........",
        "............",
    ],
    [
        "............",
        "........KK..",
        ".......KYYK.",
        "......KYYK..",
        ".....KYYK...",
        "....KYYK....",
        "...KYYK.....",
        "..KYYK......",
        "..KOK.......",
        "..KK........",
        "............",
        "............",
    ],
    [
        "............",
        ".....KK.....",
        ".K...KK...K.",
        "..K..KK..K..",
        "...K.KK.K...",
        ".KKKKKKKKKK.",
        ".KKKKKKKKKK.",
        "...K.KK.K...",
        "..K..KK..K..",
        ".K...KK...K.",
        ".....KK.....",
        "............",
    ],
]

MARKERS = [  # 8x8: sorted up, sorted down
    [
        "........",
        "...SS...",
        "..SSSS..",
        ".SSSSSS.",
        "SSSSSSSS",
        "........",
        "........",
        "........",
    ],
    [
        "........",
        "........",
        "SSSSSSSS",
        ".SSSSSS.",
        "..SSSS..",
        "...SS...",
        "........",
        "........",
    ],
]


def bmp(width, height, bits, palette, rows):
    """A bitmap file; rows top first, each a bytes object of packed pixels."""
    stride = (width * bits + 31) // 32 * 4
    data = b"".join(row.ljust(stride, b"\0") for row in reversed(rows))
    offset = 14 + 40 + 4 * len(palette)
    header = struct.pack("<2sIHHI", b"BM", offset + len(data), 0, 0, offset)
    info = struct.pack("<IiiHHIIiiII", 40, width, height, 1, bits, 0, len(data), 0, 0,
                       len(palette), 0)
    pal = b"".join(struct.pack("<BBBB", b, g, r, 0) for r, g, b in palette)
    return header + info + pal + data


def image_list(images):
    cy = len(images[0])
    cx = len(images[0][0])
    count = len(images)
    alloc = max(COLUMNS, (count + COLUMNS - 1) // COLUMNS * COLUMNS)
    width, height = cx * COLUMNS, cy * (alloc // COLUMNS)
    colour = [[(0, 0, 0)] * width for _ in range(height)]
    mask = [[1] * width for _ in range(height)]
    for i, art in enumerate(images):
        ox, oy = (i % COLUMNS) * cx, (i // COLUMNS) * cy
        for y, line in enumerate(art):
            assert len(line) == cx, line
            for x, c in enumerate(line):
                if c != ".":
                    colour[oy + y][ox + x] = COLOURS[c]
                    mask[oy + y][ox + x] = 0
    rgb_rows = [b"".join(struct.pack("<BBB", b, g, r) for r, g, b in row) for row in colour]
    mask_rows = []
    for row in mask:
        packed = bytearray((width + 7) // 8)
        for x, m in enumerate(row):
            if m:
                packed[x // 8] |= 0x80 >> (x % 8)
        mask_rows.append(bytes(packed))
    header = struct.pack("<HHHHHHHIH4H", 0x4C49, 0x0101, count, alloc, 4, cx, cy, 0xFFFFFFFF,
                         0x0019, 0xFFFF, 0xFFFF, 0xFFFF, 0xFFFF)
    return cx, cy, header + bmp(width, height, 24, [], rgb_rows) + bmp(
        width, height, 1, [(0, 0, 0), (0xFF, 0xFF, 0xFF)], mask_rows)


def dfm_block(name, images):
    cx, cy, data = image_list(images)
    hexed = data.hex().upper()
    lines = [f"  object {name}: TImageList", f"    Height = {cy}", f"    Width = {cx}",
             "    Bitmap = {"]
    lines += ["      " + hexed[i:i + 64] for i in range(0, len(hexed), 64)]
    lines[-1] += "}"
    lines.append("  end")
    return "\n".join(lines)


if __name__ == "__main__":
    print(dfm_block("TitleImageList", TITLE))
    print(dfm_block("IndicatorImageList", INDICATORS))
    print(dfm_block("MarkerImageList", MARKERS))
