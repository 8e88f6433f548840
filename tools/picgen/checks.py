"""Read-back checks of the generated files, independent of the code that wrote them."""

import io
import os
import struct

import numpy as np
from PIL import Image

from . import bitmaps, bmp4, icons, textures


def isProgressiveJpeg(data):
    """True when the JPEG stream has a progressive DCT frame header (SOF2)."""
    pos = 2
    while pos + 4 <= len(data):
        if data[pos] != 0xFF:
            return False
        marker = data[pos + 1]
        if marker == 0xC2:
            return True
        if marker in (0xC0, 0xC1, 0xC3, 0xDA):
            return False
        pos += 2 + struct.unpack(">H", data[pos + 2:pos + 4])[0]
    return False


def textureReport(data):
    """Problems found in one texture file (an empty list when it is sound)."""
    problems = []
    if not isProgressiveJpeg(data):
        problems.append("not progressive")
    image = Image.open(io.BytesIO(data))
    if image.size != (textures.SIZE, textures.SIZE):
        problems.append("size %s" % (image.size,))
        return problems
    rgb = np.asarray(image.convert("RGB"))
    gx, gy = np.meshgrid(np.arange(textures.SIZE) - textures.CENTRE, np.arange(textures.SIZE) - textures.CENTRE)
    outer = rgb[np.hypot(gx, gy) > 123].max()
    if outer > 2:
        problems.append("light near the edge (%d)" % outer)
    if rgb[..., 2].max() < 230:
        problems.append("no bright core")
    if (rgb[..., 2].astype(int) + 6 < rgb[..., :2].max(axis=-1)).any():
        problems.append("blue does not carry the shape")
    cuts = textures.spotCuts(rgb)
    if cuts:
        problems.append("a spot would cut off light of weight %d" % max(c[2] for c in cuts))
    return problems


def expectedFiles():
    names = [textures.textureName(i) for i in range(1, textures.COUNT + 1)]
    names += ["CONTROL_INFO.bmp", "LUMENWALTZ.bmp", "ICON_MAIN.ico"]
    return names + ["ICON_SSPRVW%02d.ico" % n for n in range(1, 9)]


def readFile(folder, name):
    with open(os.path.join(folder, name), "rb") as f:
        return f.read()


def bitmapReport(data, size, palette):
    try:
        indexes, stored, bits = bmp4.decodeBmp4(data)
    except ValueError as error:
        return [str(error)]
    problems = []
    if indexes.shape[::-1] != size:
        problems.append("size %s" % (indexes.shape[::-1],))
    if len(stored) != 16 or stored[:len(palette)] != palette:
        problems.append("palette %s" % [hex(c) for c in stored])
    used = sorted(set(np.unique(indexes).tolist()))
    if used != list(range(len(palette))):
        problems.append("uses palette entries %s" % used)
    if Image.open(io.BytesIO(data)).size != size:
        problems.append("Pillow reads another size")
    return problems


def icoImages(data):
    """(width, height, bit count, RGBA array) of every entry, read with the ICO directory by hand."""
    reserved, kind, count = struct.unpack_from("<HHH", data, 0)
    if reserved != 0 or kind != 1:
        raise ValueError("not an icon file")
    images = []
    for k in range(count):
        w, h, _, _, _, bits, length, offset = struct.unpack_from("<BBBBHHII", data, 6 + 16 * k)
        entry = Image.open(io.BytesIO(data))
        entry.size = (w or 256, h or 256)
        images.append((w or 256, h or 256, bits, np.asarray(entry.convert("RGBA"))))
    return images


def iconReport(data, sizes):
    try:
        images = icoImages(data)
    except (ValueError, struct.error) as error:
        return [str(error)]
    problems = []
    if sorted(w for w, _, _, _ in images) != sorted(sizes):
        problems.append("sizes %s" % [w for w, _, _, _ in images])
    problems += ["%d-bit entry" % bits for _, _, bits, _ in images if bits != 32]
    return problems


def previewFromTiles(folder):
    picture = np.zeros((icons.PREVIEW_SIZE[1], icons.PREVIEW_SIZE[0], 3), dtype=np.uint8)
    for number, (x, y) in enumerate(icons.TILE_CORNERS, start=1):
        _, _, _, rgba = icoImages(readFile(folder, "ICON_SSPRVW%02d.ico" % number))[0]
        alpha = rgba[..., 3:].astype(np.int64)
        picture[y:y + icons.TILE, x:x + icons.TILE] = rgba[..., :3].astype(np.int64) * alpha // 255
    return picture


def previewReport(folder):
    """The tiles must join into one picture whose light does not run into the bare black around them."""
    picture = previewFromTiles(folder).max(axis=-1)
    covered = icons.tileMask()
    border = covered & ~np.pad(covered, 1)[2:, 1:-1] | covered & ~np.pad(covered, 1)[:-2, 1:-1] \
        | covered & ~np.pad(covered, 1)[1:-1, 2:] | covered & ~np.pad(covered, 1)[1:-1, :-2]
    edge = picture[border].max()
    return ["preview light cut off at a tile edge (%d)" % edge] if edge > 6 else []


def checkAll(folder):
    problems = []
    for name in expectedFiles():
        if not os.path.exists(os.path.join(folder, name)):
            problems.append("%s: missing" % name)
    if problems:
        return problems
    for index in range(1, textures.COUNT + 1):
        name = textures.textureName(index)
        problems += ["%s: %s" % (name, p) for p in textureReport(readFile(folder, name))]
    problems += ["CONTROL_INFO.bmp: " + p for p in bitmapReport(
        readFile(folder, "CONTROL_INFO.bmp"), bitmaps.CONTROLS_SIZE, bitmaps.CONTROLS_PALETTE)]
    problems += ["LUMENWALTZ.bmp: " + p for p in bitmapReport(
        readFile(folder, "LUMENWALTZ.bmp"), bitmaps.LOGO_SIZE, bitmaps.LOGO_PALETTE)]
    problems += ["ICON_MAIN.ico: " + p for p in iconReport(readFile(folder, "ICON_MAIN.ico"), icons.MAIN_SIZES)]
    for n in range(1, 9):
        name = "ICON_SSPRVW%02d.ico" % n
        problems += ["%s: %s" % (name, p) for p in iconReport(readFile(folder, name), [icons.TILE])]
    return problems + previewReport(folder)


def contactSheet(folder):
    """All textures at full size, then the bitmaps, the preview and the main icon enlarged."""
    cell, columns = 258, 8
    rows = (textures.COUNT + columns - 1) // columns
    sheet = Image.new("RGB", (columns * cell, rows * cell + 420), (60, 20, 20))
    for k in range(textures.COUNT):
        image = Image.open(io.BytesIO(readFile(folder, textures.textureName(k + 1)))).convert("RGB")
        sheet.paste(image, ((k % columns) * cell + 1, (k // columns) * cell + 1))
    y = rows * cell + 8
    for name, zoom in (("CONTROL_INFO.bmp", 3), ("LUMENWALTZ.bmp", 4)):
        image = Image.open(io.BytesIO(readFile(folder, name))).convert("RGB")
        sheet.paste(image.resize((image.width * zoom, image.height * zoom), Image.NEAREST), (8, y))
        y += image.height * zoom + 10
    preview = Image.fromarray(previewFromTiles(folder))
    sheet.paste(preview.resize((152 * 3, 112 * 3), Image.NEAREST), (8, y))
    x = 8 + 152 * 3 + 20
    for width, _, _, rgba in icoImages(readFile(folder, "ICON_MAIN.ico")):
        zoom = 192 // width
        grey = Image.new("RGBA", (width, width), (128, 128, 128, 255))
        grey.alpha_composite(Image.fromarray(rgba))
        sheet.paste(grey.convert("RGB").resize((width * zoom, width * zoom), Image.NEAREST), (x, y))
        x += width * zoom + 20
    return sheet
