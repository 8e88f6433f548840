"""A small proportional pixel font with hand-placed soft edges, for the controls strip.

Each glyph is 9 rows: rows 0-6 hold capitals and ascenders (x-height from row 2), rows 7-8 the
descenders. Shades: '#' full, '+' half, '-' quarter, '.' black. The half and quarter shades sit where
a smooth outline would only partly cover a pixel, so the text reads as anti-aliased at 1:1.
"""

import numpy as np

ROWS = 9
SHADES = {".": 0, "-": 1, "+": 2, "#": 3}
LETTER_SPACING = 1
SPACE_WIDTH = 3

GLYPHS = {
    "E": ["####", "#...", "#...", "###.", "#...", "#...", "####"],
    "M": ["#...#", "##.##", "#+#+#", "#.#.#", "#...#", "#...#", "#...#"],
    "L": ["#...", "#...", "#...", "#...", "#...", "#...", "####"],
    "R": ["###-", "#..#", "#..#", "###-", "#.#.", "#.-#", "#..#"],
    "C": ["-##+", "#-..", "#...", "#...", "#...", "#-..", "-##+"],
    "S": ["-##+", "#...", "#-..", "-##-", "..-#", "...#", "+##-"],
    "W": ["#...#", "#...#", "#...#", "#.#.#", "#.#.#", "#+#+#", "-#.#-"],
    "U": ["#..#", "#..#", "#..#", "#..#", "#..#", "#..#", "-##-"],
    "D": ["##+.", "#.-#", "#..#", "#..#", "#..#", "#.-#", "##+."],
    "a": ["....", "....", "+##-", "...#", "-###", "#..#", "-###"],
    "c": ["....", "....", "-##+", "#...", "#...", "#...", "-##+"],
    "e": ["....", "....", "-##-", "#..#", "####", "#...", "-##+"],
    "f": ["..-#", ".#-.", "###.", ".#..", ".#..", ".#..", ".#.."],
    "g": ["....", "....", "-###", "#..#", "#..#", "#..#", "-###", "...#", "+##-"],
    "h": ["#...", "#...", "#+#-", "##.#", "#..#", "#..#", "#..#"],
    "i": ["#", ".", "#", "#", "#", "#", "#"],
    "k": ["#...", "#...", "#..#", "#.#-", "##..", "#-#.", "#..#"],
    "l": ["#.", "#.", "#.", "#.", "#.", "#.", "-#"],
    "m": [".....", ".....", "##+#-", "#.#.#", "#.#.#", "#.#.#", "#.#.#"],
    "n": ["....", "....", "#+#-", "##.#", "#..#", "#..#", "#..#"],
    "o": ["....", "....", "-##-", "#..#", "#..#", "#..#", "-##-"],
    "p": ["....", "....", "###-", "#..#", "#..#", "#..#", "###-", "#...", "#..."],
    "r": ["...", "...", "#+#", "##.", "#..", "#..", "#.."],
    "s": ["....", "....", "-###", "#-..", "-##-", "..-#", "###-"],
    "t": [".#.", ".#.", "###", ".#.", ".#.", ".#.", ".-#"],
    "u": ["....", "....", "#..#", "#..#", "#..#", "#.+#", "-#+#"],
    "v": [".....", ".....", "#...#", "+-.-+", "-+.+-", ".#-#.", ".-#-."],
    "w": [".....", ".....", "#...#", "#...#", "#.#.#", "#+#+#", "-#.#-"],
    "x": [".....", ".....", "#-.-#", "-#.#-", "..#..", "-#.#-", "#-.-#"],
    "z": ["....", "....", "####", "..-#", ".-#-", "#-..", "####"],
    "-": ["...", "...", "...", "...", "###", "...", "..."],
    "/": ["...#", "..-+", "..#.", ".-+.", ".#..", "-+..", "#..."],
}


def glyph(ch):
    """Shade levels (0..3) of one character as an array of ROWS rows."""
    if ch == " ":
        return np.zeros((ROWS, SPACE_WIDTH), dtype=np.uint8)
    if ch not in GLYPHS:
        raise KeyError("no glyph for %r" % ch)
    rows = GLYPHS[ch]
    width = len(rows[0])
    if any(len(r) != width for r in rows):
        raise ValueError("ragged glyph %r" % ch)
    rows = rows + ["." * width] * (ROWS - len(rows))
    return np.array([[SHADES[c] for c in r] for r in rows], dtype=np.uint8)


def textWidth(text):
    return sum(glyph(ch).shape[1] for ch in text) + LETTER_SPACING * (len(text) - 1)


def drawText(canvas, text, left, top):
    """Writes shade levels into `canvas` (uint8) with the glyph's row 0 at row `top`; returns the end column."""
    x = left
    for ch in text:
        g = glyph(ch)
        h, w = g.shape
        region = canvas[top:top + h, x:x + w]
        np.maximum(region, g, out=region)
        x += w + LETTER_SPACING
    return x - LETTER_SPACING
