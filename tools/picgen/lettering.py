"""Capital letters as strokes, for the logo and the preview picture.

Letters are polylines in a unit where the cap height runs from y = 0 to y = 9 and x starts at 0;
drawn at scale 1 with a width of 1 their vertical and horizontal strokes land on pixel centres and
stay crisp, while diagonals and curves pick up the anti-aliased greys.
"""

import numpy as np

CAP_HEIGHT = 9.0


def uCurve():
    angles = np.radians(np.linspace(180, 0, 13))
    return [(0, 0), (0, 6)] + list(zip(3 + 3 * np.cos(angles), 6 + 3 * np.sin(angles))) + [(6, 0)]


# name: (advance width, list of polylines); the polylines of "U" carry its round bottom.
LETTERS = {
    "L": (6, [[(0, 0), (0, 9), (5, 9)]]),
    "U": (7, [uCurve()]),
    "M": (9, [[(0, 9), (0, 0), (4, 6), (8, 0), (8, 9)]]),
    "E": (6, [[(5, 0), (0, 0), (0, 9), (5, 9)], [(0, 4), (4, 4)]]),
    "N": (7, [[(0, 9), (0, 0), (6, 9), (6, 0)]]),
    "W": (11, [[(0, 0), (2.5, 9), (5, 2), (7.5, 9), (10, 0)]]),
    "A": (8, [[(0, 9), (3.5, 0), (7, 9)], [(1.4, 6), (5.6, 6)]]),
    "T": (7, [[(0, 0), (6, 0)], [(3, 0), (3, 9)]]),
    "Z": (7, [[(0, 0), (6, 0), (0, 9), (6, 9)]]),
}


def lettersWidth(text, scale, tracking):
    return sum(LETTERS[ch][0] * scale for ch in text) + tracking * (len(text) - 1) - scale


def drawLetters(canvas, text, left, top, scale=1.0, width=1.0, tracking=2.0):
    """Draws `text` (capitals only) on a StrokeCanvas; `top` is the y of the cap line."""
    x = left
    for ch in text:
        advance, lines = LETTERS[ch]
        for line in lines:
            points = [(x + px * scale, top + py * scale) for px, py in line]
            if ch == "U":
                canvas.roundLine(points, width)
            else:
                canvas.line(points, width)
        x += advance * scale + tracking
    return x
