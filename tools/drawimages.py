#!/usr/bin/env python3
"""Draws the package's small pictures and prints them as form-file binary blocks.

The columns editor's eight 16 by 16 images (the image list stream: header, image bitmap,
mask bitmap) and the about box's 32 by 32 sixteen-colour logo (a picture's data: class
name, size, bitmap). Paste the output into the form descriptions.
"""
import struct
import sys

# '.' is transparent (silver, the mask colour); the rest are palette letters.
COLOURS = {
    'k': (0, 0, 0), 'w': (255, 255, 255), 'g': (128, 128, 128), 's': (192, 192, 192),
    'b': (0, 0, 128), 'B': (0, 0, 255), 'r': (128, 0, 0), 'R': (255, 0, 0),
    'n': (0, 128, 0), 'N': (0, 255, 0), 'y': (128, 128, 0), 'Y': (255, 255, 0),
    't': (0, 128, 128), 'c': (0, 255, 255), 'm': (128, 0, 128), 'M': (255, 0, 255),
    '.': (192, 192, 192),
}

IMAGES = [
    # 0: a check mark for checked toggles
    ["................", "................", "................", "................",
     "...........k....", "..........kk....", "...k.....kkk....", "...kk...kkk.....",
     "...kkk.kkk......", "....kkkkk.......", ".....kkk........", "......k.........",
     "................", "................", "................", "................"],
    # 1: add: a column with a green plus
    ["................", ".kkkkkkk........", ".kwwwwwk........", ".kbbbbbk........",
     ".kwwwwwk........", ".kwwwwwk...nn...", ".kwwwwwk...nn...", ".kwwwwwk.nnnnnn.",
     ".kwwwwwk.nnnnnn.", ".kwwwwwk...nn...", ".kwwwwwk...nn...", ".kwwwwwk........",
     ".kwwwwwk........", ".kkkkkkk........", "................", "................"],
    # 2: delete: a column with a red cross
    ["................", ".kkkkkkk........", ".kwwwwwk........", ".kbbbbbk........",
     ".kwwwwwk........", ".kwwwwwkR....R..", ".kwwwwwk.R..R...", ".kwwwwwk..RR....",
     ".kwwwwwk..RR....", ".kwwwwwk.R..R...", ".kwwwwwkR....R..", ".kwwwwwk........",
     ".kwwwwwk........", ".kkkkkkk........", "................", "................"],
    # 3: add all fields: three columns side by side
    ["................", "kkkkkkkkkkkkkkk.", "kwwwkwwwwkwwwwk.", "kbbbkbbbbkbbbbk.",
     "kwwwkwwwwkwwwwk.", "kwwwkwwwwkwwwwk.", "kwwwkwwwwkwwwwk.", "kwwwkwwwwkwwwwk.",
     "kwwwkwwwwkwwwwk.", "kwwwkwwwwkwwwwk.", "kwwwkwwwwkwwwwk.", "kwwwkwwwwkwwwwk.",
     "kkkkkkkkkkkkkkk.", "................", "................", "................"],
    # 4: restore defaults: a curved arrow back
    ["................", "................", ".....bbbbb......", "...bb.....bb....",
     "..b.........b...", ".b...........b..", ".b...........b..", "bbb..........b..",
     ".b...........b..", "............b...", "...........b....", ".........bb.....",
     "......bbbb......", "................", "................", "................"],
    # 5: synchronize grids: two grids and arrows between them
    ["................", "kkkkkk..........", "kwkwkk..........", "kkkkkk....n.....",
     "kwkwkk....nn....", "kkkkkk.nnnnnn...", "...........nn...", "...........n....",
     "....r...........", "...rr...........", "..rrrrrr.kkkkkk.", "...rr....kwkwkk.",
     "....r....kkkkkk.", ".........kwkwkk.", ".........kkkkkk.", "................"],
    # 6: stretch mode off: a column between two bars
    ["................", "................", "k..............k", "k..............k",
     "k...kkkkkkk....k", "k...kwwwwwk....k", "k...kbbbbbk....k", "k...kwwwwwk....k",
     "k...kwwwwwk....k", "k...kwwwwwk....k", "k...kwwwwwk....k", "k...kkkkkkk....k",
     "k..............k", "k..............k", "................", "................"],
    # 7: stretch mode on: the column spread to the bars, arrows outwards
    ["................", "................", "k..............k", "k..............k",
     "kkkkkkkkkkkkkkkk", "kwwwwwwwwwwwwwwk", "kbbbbbbbbbbbbbbk", "kwwwwwwwwwwwwwwk",
     "kwRwwwwwwwwwwRwk", "kRRRRRRRRRRRRRRk", "kwRwwwwwwwwwwRwk", "kkkkkkkkkkkkkkkk",
     "k..............k", "k..............k", "................", "................"],
]

LOGO = [
    "................................", "................................",
    "..........bbbbbbbbbbbb..........", "........bbBBBBBBBBBBBBbb........",
    "......bbBBBBBBBBBBBBBBBBbb......", ".....bBBBBBBBBBBBBBBBBBBBBb.....",
    "....bBBBBBBBccccccccBBBBBBBb....", "...bBBBBBBcc........ccBBBBBBb...",
    "...bBBBBBc............cBBBBBb...", "..bBBBBBc..............cBBBBBb..",
    "..bBBBBc................cBBBBb..", "..bBBBBc................cBBBBb..",
    ".bBBBBc..................cBBBBb.", ".bBBBBc..................cBBBBb.",
    ".bBBBBc..................cBBBBb.", ".bBBBBc..................cBBBBb.",
    ".bBBBBc..................cBBBBb.", ".bBBBBc..................cBBBBb.",
    ".bBBBBc..................cBBBBb.", ".bBBBBc..................cBBBBb.",
    "..bBBBBc................cBBBBb..", "..bBBBBc................cBBBBb..",
    "..bBBBBBc..............cBBBBBb..", "...bBBBBBc............cBBBBBb...",
    "...bBBBBBBcc........ccBBBBBBb...", "....bBBBBBBBccccccccBBBBBBBb....",
    ".....bBBBBBBBBBBBBBBBBBBBBb.....", "......bbBBBBBBBBBBBBBBBBbb......",
    "........bbBBBBBBBBBBBBbb........", "..........bbbbbbbbbbbb..........",
    "................................", "................................",
]


def bmp24(width, height, pixel):
    row = (width * 3 + 3) // 4 * 4
    data = bytearray()
    for y in range(height - 1, -1, -1):
        line = bytearray()
        for x in range(width):
            r, g, b = pixel(x, y)
            line += bytes((b, g, r))
        data += line + bytes(row - len(line))
    header = struct.pack('<2sIHHI', b'BM', 54 + len(data), 0, 0, 54)
    info = struct.pack('<IiiHHIIiiII', 40, width, height, 1, 24, 0, len(data), 0, 0, 0, 0)
    return header + info + bytes(data)


def bmp4(rows):
    palette = [COLOURS[c] for c in 'kwgsbBrRnNyYtcmM']
    index = {c: palette.index(COLOURS[c]) for c in COLOURS}
    height, width = len(rows), len(rows[0])
    row = (width // 2 + 3) // 4 * 4
    data = bytearray()
    for y in range(height - 1, -1, -1):
        line = bytearray()
        for x in range(0, width, 2):
            line.append(index[rows[y][x]] << 4 | index[rows[y][x + 1]])
        data += line + bytes(row - len(line))
    table = b''.join(bytes((b, g, r, 0)) for r, g, b in palette)
    off = 54 + len(table)
    header = struct.pack('<2sIHHI', b'BM', off + len(data), 0, 0, off)
    info = struct.pack('<IiiHHIIiiII', 40, width, height, 1, 4, 0, len(data), 0, 0, 16, 16)
    return header + info + table + bytes(data)


def image_list():
    count, columns = len(IMAGES), 4
    rows = (count + columns - 1) // columns
    head = struct.pack('<HHHHHHHIH4H', 0x4C49, 0x0101, count, rows * columns, 4, 16, 16,
                       0xFFFFFFFF, 0x0001 | 0x0018, 0xFFFF, 0xFFFF, 0xFFFF, 0xFFFF)

    def cell(x, y):
        i = (y // 16) * columns + x // 16
        return IMAGES[i][y % 16][x % 16] if i < count else None

    image = bmp24(16 * columns, 16 * rows,
                  lambda x, y: COLOURS[cell(x, y)] if cell(x, y) not in (None, '.') else (0, 0, 0))
    mask = bmp24(16 * columns, 16 * rows,
                 lambda x, y: (0, 0, 0) if cell(x, y) not in (None, '.') else (255, 255, 255))
    return head + image + mask


def picture(bitmap):
    return bytes((7,)) + b'TBitmap' + struct.pack('<I', len(bitmap)) + bitmap


def block(name, data, indent):
    lines = [f'{indent}{name} = {{']
    hexed = data.hex().upper()
    for i in range(0, len(hexed), 64):
        lines.append(f'{indent}  {hexed[i:i + 64]}')
    lines[-1] += '}'
    return '\n'.join(lines)


if __name__ == '__main__':
    what = sys.argv[1] if len(sys.argv) > 1 else 'images'
    if what == 'images':
        print(block('Bitmap', image_list(), '    '))
    else:
        print(block('Picture.Data', picture(bmp4(LOGO)), '    '))
