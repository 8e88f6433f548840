"""The icons: ICON_MAIN (a glowing swirl of particles on a dark round badge, 48, 32 and 16 pixels)
and ICON_SSPRVW01..08, eight 32 x 32 tiles cut from one 152 x 112 preview picture.

The preview paints the tiles on black at fixed corners, so the picture is composed whole first: a
still of the swirl (a tilted, wavy ring of glowing dots in lavender and white) above the name.
"""

import struct

import numpy as np

from . import lettering
from .raster import StrokeCanvas, gaussianBlur, splatGaussians

LAVENDER = np.array([0.72, 0.62, 1.0])
WHITE = np.array([1.0, 0.97, 1.0])

PREVIEW_SIZE = (152, 112)
TILE = 32
TILE_CORNERS = [(44, 7), (76, 7), (44, 39), (76, 39), (12, 71), (44, 71), (76, 71), (108, 71)]
MAIN_SIZES = [48, 32, 16]
SEED = 0x5357


def swirlParticles(rng, count, strandShare):
    """Points of a ring of springs caught mid-swirl: 3D positions in units of the ring's radius.

    A gently rippled ring, and a strand that has come loose and spirals in towards the centre.
    """
    phi = rng.uniform(0, 2 * np.pi, count)
    radius = 1.0 + 0.04 * np.sin(3 * phi + 0.7) + rng.normal(0, 0.03, count)
    height = 0.1 * np.sin(2 * phi + 0.4) + rng.normal(0, 0.03, count)
    strand = rng.random(count) < strandShare
    t = rng.random(count)
    radius = np.where(strand, (1.0 - 0.85 * t) * (1 + rng.normal(0, 0.03, count)), radius)
    phi = np.where(strand, 0.9 + 4.4 * t, phi)
    height = np.where(strand, height * (1 - t), height)
    return np.stack([radius * np.cos(phi), radius * np.sin(phi), height], axis=-1)


def projectSwirl(points, tilt, turn, distance=4.0):
    """Turns the ring about its axis, tilts it toward the viewer and projects it; z grows away."""
    ct, st, cu, su = np.cos(tilt), np.sin(tilt), np.cos(turn), np.sin(turn)
    x = points[:, 0] * cu - points[:, 1] * su
    y = points[:, 0] * su + points[:, 1] * cu
    z = points[:, 2]
    y, z = y * ct - z * st, -y * st + z * ct   # the lower half of the picture is the near side
    scale = distance / (distance + z)
    return x * scale, y * scale, z


def renderSwirl(shape, centre, radius, count, dotSize, glowSize, seed, tilt=0.85, turn=0.5, strandShare=0.14):
    """Linear RGB light of the swirl: sharp dots, whiter in front, plus a lavender glow."""
    rng = np.random.default_rng(seed)
    x, y, z = projectSwirl(swirlParticles(rng, count, strandShare), tilt, turn)
    px, py = centre[0] + radius * x, centre[1] + radius * y
    near = np.clip(0.5 - 0.45 * z / (np.abs(z).max() + 1e-9), 0, 1)    # 1 in front, 0 at the back
    weight = (0.35 + 0.65 * near) * rng.uniform(0.6, 1.0, count)
    sigma = dotSize * (0.75 + 0.5 * near)
    dots = splatGaussians(shape, px, py, sigma, weight)
    warmth = splatGaussians(shape, px, py, sigma, weight * near)
    glow = gaussianBlur(dots, glowSize)
    light = (dots - warmth)[..., None] * LAVENDER + warmth[..., None] * WHITE + 0.9 * glow[..., None] * LAVENDER
    return light


def toneMap(light, exposure):
    return 1.0 - np.exp(-exposure * light)


def nameLight(shape, text, left, top, scale, tracking):
    """Anti-aliased coverage of the name in stroke capitals, with a soft glow around it."""
    height, width = shape
    canvas = StrokeCanvas(width, height)
    lettering.drawLetters(canvas, text, left, top, scale, 1.15, tracking)
    cover = canvas.coverage()
    return cover[..., None] * WHITE + 0.55 * gaussianBlur(cover, 1.6)[..., None] * LAVENDER


def tileMask():
    width, height = PREVIEW_SIZE
    mask = np.zeros((height, width), dtype=bool)
    for x, y in TILE_CORNERS:
        mask[y:y + TILE, x:x + TILE] = True
    return mask


def previewPicture():
    """The 152 x 112 preview: RGB uint8 on black, blank outside the eight tiles."""
    width, height = PREVIEW_SIZE
    light = renderSwirl((height, width), (76.0, 39.0), 22.0, 480, 0.55, 2.0, SEED)
    scale = 1.25
    letters = sum(lettering.LETTERS[ch][0] for ch in "LUMENWALTZ") * scale - scale
    tracking = 3.0
    left = (width - letters - 9 * tracking) / 2.0
    light = light + nameLight((height, width), "LUMENWALTZ", left, 81.0, scale, tracking)
    rgb = toneMap(light, 1.6) * tileMask()[..., None]
    return np.clip(np.floor(rgb * 255 + 0.5), 0, 255).astype(np.uint8)


def previewTiles(picture):
    """The eight 32 x 32 RGBA tiles, opaque: the preview paints them on black anyway."""
    tiles = []
    for x, y in TILE_CORNERS:
        rgb = picture[y:y + TILE, x:x + TILE]
        tiles.append(np.concatenate([rgb, np.full((TILE, TILE, 1), 255, np.uint8)], axis=-1))
    return tiles


def mainIconImage(size):
    """ICON_MAIN at one size: RGBA uint8, the swirl on a dark badge whose rim is anti-aliased."""
    badge = StrokeCanvas(size, size)
    c = (size - 1) / 2.0
    badge.dot(c, c, size * 0.48)
    alpha = badge.coverage()
    gx, gy = np.meshgrid(np.arange(size) - c, np.arange(size) - c)
    r = np.hypot(gx, gy) / (size * 0.48)
    backdrop = (0.10 * np.clip(1 - r, 0, 1) ** 1.5)[..., None] * np.array([0.35, 0.25, 0.65])
    # Small sizes get fewer, relatively larger dots and no strand, which would only blur the ring.
    count, dot, glow, strand = {48: (360, 0.55, 1.8, 0.14), 32: (220, 0.5, 1.3, 0.12), 16: (60, 0.5, 0.8, 0.0)}[size]
    light = renderSwirl((size, size), (c, c), size * 0.34, count, dot, glow, SEED + size,
                        tilt=0.9, turn=0.9, strandShare=strand)
    rgb = toneMap(light, 1.4 if size > 16 else 1.1) + backdrop
    rgba = np.concatenate([np.clip(rgb, 0, 1) * (alpha > 0)[..., None], alpha[..., None]], axis=-1)
    return np.clip(np.floor(rgba * 255 + 0.5), 0, 255).astype(np.uint8)


def icoBmpEntry(rgba):
    """One icon image as a 32-bit DIB: BITMAPINFOHEADER with doubled height, BGRA rows bottom-up,
    then the 1-bit AND mask (set where fully transparent), rows padded to 32 bits."""
    size = rgba.shape[0]
    bgra = rgba[::-1][..., [2, 1, 0, 3]].tobytes()
    maskStride = (size + 31) // 32 * 4
    transparent = np.zeros((size, maskStride * 8), dtype=np.uint8)
    transparent[:, :size] = rgba[::-1, :, 3] == 0
    mask = np.packbits(transparent, axis=1).tobytes()
    header = struct.pack("<IiiHHIIiiII", 40, size, 2 * size, 1, 32, 0, len(bgra) + len(mask), 0, 0, 0, 0)
    return header + bgra + mask


def encodeIco(images):
    """An .ico file of square RGBA images (largest first), each stored as a 32-bit BMP entry."""
    entries = [icoBmpEntry(img) for img in images]
    out = struct.pack("<HHH", 0, 1, len(images))
    offset = 6 + 16 * len(images)
    for img, entry in zip(images, entries):
        size = img.shape[0]
        out += struct.pack("<BBBBHHII", size % 256, size % 256, 0, 0, 1, 32, len(entry), offset)
        offset += len(entry)
    return out + b"".join(entries)


def mainIcon():
    return encodeIco([mainIconImage(s) for s in MAIN_SIZES])


def tileIcons(picture):
    return [encodeIco([tile]) for tile in previewTiles(picture)]
