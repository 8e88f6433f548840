"""Float-image helpers shared by every picture: blurs, noise, splats and an anti-aliased line renderer.

Images are numpy float64 arrays indexed [row, column]; values are linear light, 0 black and 1 white.
Everything is computed in double precision and is deterministic for a given seed.
"""

import numpy as np


def gaussianBlur(image, sigma):
    """Blurs with a Gaussian of the given standard deviation in pixels.

    Works in the frequency domain on a canvas padded to twice the size, so content closer than about
    three sigmas to the border must be black (true for every picture here) or it would wrap around.
    """
    if sigma <= 0:
        return image.copy()
    rows, cols = image.shape
    padRows, padCols = 2 * rows, 2 * cols
    spectrum = np.fft.rfft2(image, s=(padRows, padCols))
    fy = np.fft.fftfreq(padRows)[:, None]
    fx = np.fft.rfftfreq(padCols)[None, :]
    transfer = np.exp(-2.0 * np.pi ** 2 * sigma ** 2 * (fx ** 2 + fy ** 2))
    return np.fft.irfft2(spectrum * transfer, s=(padRows, padCols))[:rows, :cols]


def fractalNoise(rng, shape, scales):
    """Smooth noise of zero mean and unit deviation, the sum of blurred white noise at several scales.

    `scales` lists (sigma, weight) pairs; larger sigmas give larger features.
    """
    total = np.zeros(shape)
    for sigma, weight in scales:
        layer = gaussianBlur(rng.standard_normal(shape), sigma)
        layer /= layer.std() + 1e-12
        total += weight * layer
    return total / (total.std() + 1e-12)


def smoothstep(edge0, edge1, x):
    t = np.clip((x - edge0) / (edge1 - edge0), 0.0, 1.0)
    return t * t * (3.0 - 2.0 * t)


def pixelGrid(size, centre):
    """Column and row coordinates of every pixel, relative to `centre`."""
    coords = np.arange(size, dtype=np.float64) - centre
    return np.meshgrid(coords, coords)


def splatGaussians(shape, xs, ys, sigmas, weights, chunk=48):
    """Additively draws round Gaussian dots (positions in pixel coordinates, row 0 at the top)."""
    rows, cols = shape
    gy, gx = np.mgrid[0:rows, 0:cols].astype(np.float64)
    out = np.zeros(shape)
    for start in range(0, len(xs), chunk):
        sl = slice(start, start + chunk)
        dx = gx[..., None] - xs[sl]
        dy = gy[..., None] - ys[sl]
        out += (weights[sl] * np.exp(-(dx * dx + dy * dy) / (2.0 * sigmas[sl] ** 2))).sum(axis=-1)
    return out


def segmentDistance(px, py, ax, ay, bx, by):
    """Distance from points (px, py) to the segment a-b, and the segment parameter of the nearest point."""
    vx, vy = bx - ax, by - ay
    length2 = vx * vx + vy * vy
    t = np.zeros_like(px) if length2 == 0 else np.clip(((px - ax) * vx + (py - ay) * vy) / length2, 0.0, 1.0)
    dx, dy = px - (ax + t * vx), py - (ay + t * vy)
    return np.sqrt(dx * dx + dy * dy), t


class StrokeCanvas:
    """Renders thick polylines with exact anti-aliasing by supersampling.

    Coordinates are in output pixels with (0, 0) at the centre of the top-left pixel, so a vertical
    line at x = 3 with width 1 covers column 3 exactly and stays crisp. Segments are drawn as
    rectangles extended by half the width at both ends, which closes the joints of a polyline.
    """

    def __init__(self, width, height, supersample=8):
        self.width, self.height, self.ss = width, height, supersample
        offsets = (np.arange(width * supersample) + 0.5) / supersample - 0.5
        rowsOff = (np.arange(height * supersample) + 0.5) / supersample - 0.5
        self.px, self.py = np.meshgrid(offsets, rowsOff)
        self.inside = np.zeros(self.px.shape, dtype=bool)

    def line(self, points, width=1.0):
        half = width / 2.0
        for (ax, ay), (bx, by) in zip(points[:-1], points[1:]):
            length = np.hypot(bx - ax, by - ay)
            ux, uy = ((bx - ax) / length, (by - ay) / length) if length else (1.0, 0.0)
            along = (self.px - ax) * ux + (self.py - ay) * uy
            across = -(self.px - ax) * uy + (self.py - ay) * ux
            self.inside |= (along >= -half) & (along <= length + half) & (np.abs(across) <= half)

    def arc(self, cx, cy, rx, ry, startDeg, endDeg, width=1.0, steps=24):
        """An elliptical arc as a fine polyline; angles in degrees, 0 to the right, 90 downwards."""
        angles = np.radians(np.linspace(startDeg, endDeg, steps))
        self.roundLine(list(zip(cx + rx * np.cos(angles), cy + ry * np.sin(angles))), width)

    def roundLine(self, points, width=1.0):
        """A polyline with round joints and caps (for curves, where extended rectangles would spike)."""
        half = width / 2.0
        for (ax, ay), (bx, by) in zip(points[:-1], points[1:]):
            dist, _ = segmentDistance(self.px, self.py, ax, ay, bx, by)
            self.inside |= dist <= half

    def dot(self, x, y, radius):
        self.inside |= (self.px - x) ** 2 + (self.py - y) ** 2 <= radius * radius

    def coverage(self):
        ss = self.ss
        return self.inside.reshape(self.height, ss, self.width, ss).mean(axis=(1, 3))
