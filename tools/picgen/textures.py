"""The 43 sprite textures KOR_01 .. KOR_43: one soft, white, glowing shape on black each.

Two families: curled brush strokes (curves whose curvature changes along their length, so arcs,
Euler-spiral curls, S-bends and hooks all come from one rule) and soft irregular blobs. Every shape is
centred on its mass, scaled to fit the sprite disc, and faded to pure black well inside radius 127.

The scene draws the textures as `Normal` spots, which read the blue channel as a weight and end a
row of a quadrant at the first texel whose blue byte is 0 (texel = blue * 255 >> 8). A shape that
leaves a black gap between the centre column and one of its parts would lose that part on screen, so
every texture gets a faint glow floor over the convex hull of the shape and the centre column.
"""

import io

import numpy as np
from PIL import Image

from .raster import fractalNoise, gaussianBlur, pixelGrid, smoothstep

SIZE = 255
CENTRE = 127
COUNT = 43
FADE_START, FADE_END = 104.0, 120.0   # radial window: everything beyond FADE_END is pure black
FLOOR = 7.0 / 255.0                    # glow floor over the hull: survives JPEG and blue*255>>8
SIGNIFICANT = 4.0 / 255.0              # a pixel at least this bright belongs to the shape
BASE_SEED = 0x4C57
CUT_TOLERANCE = 5                      # a spot may drop trailing light up to this weight


# ---------------------------------------------------------------- strokes

def strokeCurve(rng, variant):
    """Points, widths and brightness along a brush stroke, in model units around the origin."""
    n = 700
    s = np.linspace(0.0, 1.0, n)
    length = rng.uniform(170, 260)
    if variant == "arc":
        kappa = np.full(n, rng.uniform(0.8, 1.7) * np.pi / length) * rng.choice([-1, 1])
    elif variant == "curl":      # Euler spiral: curvature grows steadily, the end rolls up
        k1 = rng.uniform(5.0, 9.0) * np.pi / length
        kappa = (rng.uniform(-0.3, 0.3) + s ** rng.uniform(1.0, 1.8)) * k1 * rng.choice([-1, 1])
    elif variant == "sbend":
        kappa = rng.uniform(2.5, 4.5) * np.pi / length * np.cos(np.pi * s * rng.uniform(0.9, 1.2))
    elif variant == "loop":      # a sharp bend in the middle ties the stroke into a loop
        kappa = rng.uniform(1.1, 1.35) * 2 * np.pi / length / (0.16 * np.sqrt(2 * np.pi)) \
            * np.exp(-0.5 * ((s - rng.uniform(0.4, 0.6)) / 0.16) ** 2) * rng.choice([-1, 1])
    else:                        # hook: straight-ish body, tightly curled head
        k1 = rng.uniform(7.0, 11.0) * np.pi / length
        kappa = (0.12 + smoothstep(0.45, 0.95, s)) * k1 * rng.choice([-1, 1])
    kappa = kappa + rng.uniform(0.0, 0.6) * np.pi / length * np.sin(2 * np.pi * s * rng.uniform(1, 2.5) + rng.uniform(0, 6.3))
    ds = length / (n - 1)
    heading = rng.uniform(0, 2 * np.pi) + np.concatenate([[0.0], np.cumsum(kappa[:-1] * ds)])
    xs = np.concatenate([[0.0], np.cumsum(np.cos(heading[:-1]) * ds)])
    ys = np.concatenate([[0.0], np.cumsum(np.sin(heading[:-1]) * ds)])
    skew = rng.uniform(0.6, 1.6)     # moves the thickest point along the stroke
    profile = np.sin(np.pi * s ** skew) ** rng.uniform(0.6, 1.1)
    widths = 0.8 + rng.uniform(8.0, 20.0) * profile
    brightness = 0.35 + 0.65 * profile ** 0.5
    return xs, ys, widths, brightness


def renderTube(gx, gy, xs, ys, widths, brightness, coreRatio, chunk=24):
    """Maximum over the stroke's samples of a Gaussian cross-section: a tube and its bright core.

    Each chunk of samples only touches the window of pixels it can reach, which keeps this fast.
    """
    tube = np.zeros(gx.shape)
    core = np.zeros(gx.shape)
    origin = -gx[0, 0]
    for start in range(0, len(xs), chunk):
        sl = slice(start, start + chunk)
        sigma = widths[sl] / 2.0
        reach = 4.0 * sigma.max() + 1.0
        c0 = int(max(0, np.floor(xs[sl].min() - reach + origin)))
        c1 = int(min(gx.shape[1], np.ceil(xs[sl].max() + reach + origin) + 1))
        r0 = int(max(0, np.floor(ys[sl].min() - reach + origin)))
        r1 = int(min(gx.shape[0], np.ceil(ys[sl].max() + reach + origin) + 1))
        if c0 >= c1 or r0 >= r1:
            continue
        wx, wy = gx[r0:r1, c0:c1], gy[r0:r1, c0:c1]
        d2 = (wx[..., None] - xs[sl]) ** 2 + (wy[..., None] - ys[sl]) ** 2
        lit = brightness[sl]
        window = (slice(r0, r1), slice(c0, c1))
        tube[window] = np.maximum(tube[window], (lit * np.exp(-d2 / (2 * sigma ** 2))).max(axis=-1))
        coreSigma = sigma * coreRatio
        core[window] = np.maximum(core[window], (lit * np.exp(-d2 / (2 * coreSigma ** 2))).max(axis=-1))
    return tube, core


class Stroke:
    def __init__(self, rng):
        self.variant = rng.choice(["arc", "curl", "sbend", "hook", "loop"], p=[0.15, 0.3, 0.2, 0.17, 0.18])
        self.xs, self.ys, self.widths, self.brightness = strokeCurve(rng, self.variant)
        self.glow = rng.uniform(5.0, 15.0)
        self.haloGain = rng.uniform(0.5, 1.1)
        self.coreRatio = rng.uniform(0.3, 0.5)
        self.exposure = rng.uniform(1.8, 3.0)
        self.reach = rng.uniform(100, 112)

    def massCentre(self):
        weight = self.widths ** 2 * self.brightness
        return np.average(self.xs, weights=weight), np.average(self.ys, weights=weight)

    def extent(self, cx, cy):
        return (np.hypot(self.xs - cx, self.ys - cy) + 0.9 * self.widths).max() + 1.6 * self.glow

    def transform(self, scale, dx, dy):
        self.xs, self.ys = self.xs * scale + dx, self.ys * scale + dy
        self.widths = self.widths * scale
        self.glow *= scale

    def render(self, gx, gy):
        tube, core = renderTube(gx, gy, self.xs, self.ys, self.widths, self.brightness, self.coreRatio)
        halo = gaussianBlur(tube, self.glow)
        light = 0.55 * tube + 0.7 * core + self.haloGain * halo
        return 1.0 - np.exp(-self.exposure * light)


# ---------------------------------------------------------------- blobs

class Blob:
    def __init__(self, rng):
        self.rng = rng
        lobes = int(rng.integers(1, 7))
        angles = rng.uniform(0, 2 * np.pi) + np.arange(lobes) * 2 * np.pi / lobes + rng.uniform(-0.4, 0.4, lobes)
        spread = rng.uniform(8, 34) if lobes > 1 else rng.uniform(0, 8)
        radii = spread * rng.uniform(0.5, 1.0, lobes)
        self.lx, self.ly = radii * np.cos(angles), radii * np.sin(angles)
        self.sx = rng.uniform(10, 30, lobes)
        self.sy = self.sx * rng.uniform(0.35, 1.0, lobes)
        self.rot = rng.uniform(0, np.pi, lobes)
        self.amp = rng.uniform(0.5, 1.0, lobes)
        self.coreSigma = rng.uniform(5, 11)
        self.petals = int(rng.choice([0, 0, 3, 4, 5, 6]))
        self.petalDepth = rng.uniform(0.15, 0.45)
        self.petalPhase = rng.uniform(0, 2 * np.pi)
        self.noiseAmp = rng.uniform(0.25, 0.7)
        self.glow = rng.uniform(6.0, 16.0)
        self.haloGain = rng.uniform(0.5, 1.0)
        self.exposure = rng.uniform(1.6, 2.6)
        self.reach = rng.uniform(98, 110)
        self.noise = fractalNoise(rng, (SIZE, SIZE), [(4, 0.4), (9, 0.8), (18, 1.0)])
        self.cx = self.cy = 0.0

    def massCentre(self):
        weight = self.amp * self.sx * self.sy
        total = weight.sum() + 0.8 * self.coreSigma ** 2
        return (self.lx * weight).sum() / total, (self.ly * weight).sum() / total

    def extent(self, cx, cy):
        lobeReach = np.hypot(self.lx - cx, self.ly - cy) + 2.3 * self.sx * (1 + self.petalDepth * (self.petals > 0))
        return max(lobeReach.max(), 2.5 * self.coreSigma) + 1.6 * self.glow

    def transform(self, scale, dx, dy):
        self.lx, self.ly = self.lx * scale + dx, self.ly * scale + dy
        self.sx, self.sy, self.coreSigma, self.glow = self.sx * scale, self.sy * scale, self.coreSigma * scale, self.glow * scale
        self.cx, self.cy = self.cx * scale + dx, self.cy * scale + dy

    def density(self, gx, gy):
        total = np.zeros(gx.shape)
        for lx, ly, sx, sy, rot, amp in zip(self.lx, self.ly, self.sx, self.sy, self.rot, self.amp):
            u = (gx - lx) * np.cos(rot) + (gy - ly) * np.sin(rot)
            v = -(gx - lx) * np.sin(rot) + (gy - ly) * np.cos(rot)
            total += amp * np.exp(-0.5 * ((u / sx) ** 2 + (v / sy) ** 2))
        if self.petals:
            angle = np.arctan2(gy - self.cy, gx - self.cx)
            # Fades in away from the middle, where the angle would pinch the petals into a star.
            fadeIn = smoothstep(0.0, 1.2 * self.sx.mean(), np.hypot(gx - self.cx, gy - self.cy))
            total *= 1 + self.petalDepth * fadeIn * np.cos(self.petals * angle + self.petalPhase)
        return total / total.max()

    def render(self, gx, gy):
        cloud = self.density(gx, gy) * np.exp(self.noiseAmp * self.noise - 0.5 * self.noiseAmp ** 2)
        core = np.exp(-((gx - self.cx) ** 2 + (gy - self.cy) ** 2) / (2 * self.coreSigma ** 2))
        halo = gaussianBlur(cloud, self.glow)
        light = 0.8 * cloud + 0.9 * core * (0.4 + cloud) + self.haloGain * halo
        return 1.0 - np.exp(-self.exposure * light)


# ---------------------------------------------------------------- common finishing

def fitShape(shape, gx, gy):
    """Puts the shape's light on the centre pixel and scales it until its glow reaches `shape.reach`."""
    cx, cy = shape.massCentre()
    scale = shape.reach / shape.extent(cx, cy)
    shape.transform(scale, -cx * scale, -cy * scale)
    for _ in range(3):
        value = shape.render(gx, gy)
        total = value.sum()
        mx, my = (value * gx).sum() / total, (value * gy).sum() / total
        lit = value >= SIGNIFICANT
        radius = np.hypot(gx[lit] - mx, gy[lit] - my).max()
        scale = float(np.clip(shape.reach / radius, 0.6, 1.6))
        shape.transform(scale, -mx * scale, -my * scale)
    return shape.render(gx, gy)


def convexHullMask(mask):
    """Filled convex hull of the true pixels of `mask` (Andrew's monotone chain)."""
    ys, xs = np.nonzero(mask)
    pts = sorted(set(zip(xs.tolist(), ys.tolist())))
    if len(pts) < 3:
        return mask.copy()

    def half(points):
        chain = []
        for p in points:
            while len(chain) >= 2 and ((chain[-1][0] - chain[-2][0]) * (p[1] - chain[-2][1])
                                       - (chain[-1][1] - chain[-2][1]) * (p[0] - chain[-2][0])) <= 0:
                chain.pop()
            chain.append(p)
        return chain

    hull = half(pts)[:-1] + half(pts[::-1])[:-1]
    gy, gx = np.mgrid[0:mask.shape[0], 0:mask.shape[1]]
    inside = np.ones(mask.shape, dtype=bool)
    for (ax, ay), (bx, by) in zip(hull, hull[1:] + hull[:1]):
        inside &= (bx - ax) * (gy - ay) - (by - ay) * (gx - ax) >= -0.5 * np.hypot(bx - ax, by - ay)
    return inside | mask


def glowFloor(value):
    """A faint glow over the hull of the shape and the centre column between its top and bottom rows."""
    significant = value >= SIGNIFICANT
    rows = np.nonzero(significant.any(axis=1))[0]
    if len(rows) == 0:
        return np.zeros_like(value)
    seeds = significant.copy()
    seeds[rows.min():rows.max() + 1, CENTRE] = True
    # Widen the hull by about 12 pixels so that the full floor covers it, then let the floor fade out
    # over some 20 pixels: a plateau with a sharp rim would show as a faint polygon.
    grown = gaussianBlur(convexHullMask(seeds).astype(np.float64), 6.0) > 0.02
    return FLOOR * np.clip(2.0 * gaussianBlur(grown.astype(np.float64), 8.0), 0.0, 1.0) ** 2


def finish(value, rng):
    gx, gy = pixelGrid(SIZE, CENTRE)
    window = 1.0 - smoothstep(FADE_START, FADE_END, np.hypot(gx, gy))
    value = value * window
    value = value / value.max()
    value = np.maximum(value, glowFloor(value) * window)
    tintRed, tintGreen = rng.choice([(0.0, 0.0), (0.12, 0.2), (0.2, 0.12), (0.08, 0.08), (0.18, 0.28)])
    rgb = np.stack([value ** (1 + tintRed), value ** (1 + tintGreen), value], axis=-1)
    return np.clip(np.floor(rgb * 255.0 + 0.5), 0, 255).astype(np.uint8)


def makeTexture(index):
    """RGB pixels (uint8, 255 x 255 x 3) of texture number `index` (1..43); blue is the shape."""
    rng = np.random.default_rng(BASE_SEED * 1000 + index)
    shape = Stroke(rng) if kindOf(index) == "stroke" else Blob(rng)
    gx, gy = pixelGrid(SIZE, CENTRE)
    return finish(fitShape(shape, gx, gy), rng)


def kindOf(index):
    # Mostly alternating, with a few runs, so that neighbours in the used range differ.
    return "blob" if index % 5 in (1, 4) else "stroke"


def jpegBytes(rgb):
    out = io.BytesIO()
    Image.fromarray(rgb, "RGB").save(out, "JPEG", quality=90, progressive=True, optimize=True, subsampling=0)
    return out.getvalue()


def spotCuts(rgb, tolerance=CUT_TOLERANCE):
    """Source pixels where a `Normal` spot would end a row while light brighter than `tolerance` follows.

    Mirrors how the program reads a 255-pixel texture: quadrant texel (i, j) comes from source pixel
    (127 -/+ i/2, 127 -/+ j/2), its weight is blue * 255 >> 8, and a quadrant's row ends at the first
    weight 0 going outwards from the centre column. Returns (row, column, lost weight) triples.
    """
    weight = (rgb[..., 2].astype(np.int64) * 255) >> 8
    half = np.arange(256) >> 1
    cuts = []
    for rowSign in (-1, 1):
        for colSign in (-1, 1):
            quadrant = weight[CENTRE + rowSign * half][:, CENTRE + colSign * half]
            ended = np.cumsum(quadrant == 0, axis=1) > 0
            lost = np.where(ended, quadrant, 0).max(axis=1)
            for i in np.nonzero(lost > tolerance)[0]:
                j = int(np.argmax(quadrant[i] == 0))
                cuts.append((CENTRE + rowSign * half[i], CENTRE + colSign * half[j], int(lost[i])))
    return cuts


def encodeJpeg(rgb):
    """Encodes as a progressive JPEG, lifting dark pixels that compression would turn into row ends.

    JPEG ringing next to a bright stroke can pull the faint glow floor down to 0; each round finds
    such pixels in the decoded result and raises the source a little around them.
    """
    rgb = rgb.astype(np.int64)
    for _ in range(12):
        data = jpegBytes(rgb.astype(np.uint8))
        cuts = spotCuts(np.asarray(Image.open(io.BytesIO(data)).convert("RGB")))
        if not cuts:
            return data
        for row, col, _ in cuts:
            window = (slice(max(row - 2, 0), row + 3), slice(max(col - 2, 0), col + 3))
            rgb[window] = np.minimum(rgb[window] + 3, 255)
    raise RuntimeError("could not encode the texture without cutting a sprite row")


def textureName(index):
    return "KOR_%02d.jpg" % index
