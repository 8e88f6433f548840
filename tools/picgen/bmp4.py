"""4-bit palettized BMP files (BITMAPINFOHEADER, 16 palette entries), written and read by hand.

Pillow stores palette images as 8-bit BMPs, and the overlays must be 4-bit with a given palette.
"""

import struct

import numpy as np

FILE_HEADER = 14
INFO_HEADER = 40
PALETTE_ENTRIES = 16


def rowBytes(width):
    """Bytes per stored row: two pixels a byte, padded to a multiple of four."""
    return ((width + 1) // 2 + 3) // 4 * 4


def encodeBmp4(indexes, palette):
    """`indexes`: rows x columns of palette indexes 0..15, top row first; `palette`: 0xRRGGBB values."""
    indexes = np.asarray(indexes)
    height, width = indexes.shape
    if indexes.min() < 0 or indexes.max() >= PALETTE_ENTRIES or len(palette) > PALETTE_ENTRIES:
        raise ValueError("a 4-bit BMP has at most 16 colours")
    stride = rowBytes(width)
    padded = np.zeros((height, stride * 2), dtype=np.uint8)
    padded[:, :width] = indexes
    packed = (padded[:, 0::2] << 4) | padded[:, 1::2]
    pixels = packed[::-1].tobytes()   # stored bottom-up
    colours = list(palette) + [0] * (PALETTE_ENTRIES - len(palette))
    table = b"".join(struct.pack("<BBBB", c & 0xFF, (c >> 8) & 0xFF, (c >> 16) & 0xFF, 0) for c in colours)
    offset = FILE_HEADER + INFO_HEADER + len(table)
    fileHeader = struct.pack("<2sIHHI", b"BM", offset + len(pixels), 0, 0, offset)
    info = struct.pack("<IiiHHIIiiII", INFO_HEADER, width, height, 1, 4, 0, len(pixels), 2835, 2835,
                       PALETTE_ENTRIES, 0)
    return fileHeader + info + table + pixels


def decodeBmp4(data):
    """Returns (indexes top row first, palette as 0xRRGGBB list, bit count); raises on other layouts."""
    magic, size, _, _, offset = struct.unpack_from("<2sIHHI", data, 0)
    headerSize, width, height, planes, bits, compression = struct.unpack_from("<IiiHHI", data, FILE_HEADER)
    if magic != b"BM" or size != len(data) or headerSize != INFO_HEADER or planes != 1:
        raise ValueError("not a plain BMP with a BITMAPINFOHEADER")
    if bits != 4 or compression != 0 or height <= 0:
        raise ValueError("not an uncompressed bottom-up 4-bit BMP")
    colourCount = struct.unpack_from("<I", data, FILE_HEADER + 32)[0] or PALETTE_ENTRIES
    tableStart = FILE_HEADER + headerSize
    palette = [b[2] << 16 | b[1] << 8 | b[0]
               for b in (data[tableStart + 4 * i:tableStart + 4 * i + 4] for i in range(colourCount))]
    stride = rowBytes(width)
    raw = np.frombuffer(data, dtype=np.uint8, count=stride * height, offset=offset).reshape(height, stride)
    indexes = np.empty((height, stride * 2), dtype=np.uint8)
    indexes[:, 0::2], indexes[:, 1::2] = raw >> 4, raw & 0x0F
    return indexes[::-1, :width], palette, bits
