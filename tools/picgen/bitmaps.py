"""The two overlay bitmaps: the controls strip and the logo, grey drawings on black.

The program adds them onto the frame, so black is transparent and the greys are light levels.
Palette index 0 is black, 1 white, 2 the half grey and 3 the quarter grey; shade level 0..3
(black, quarter, half, full) maps to indexes 0, 3, 2, 1.
"""

import numpy as np

from . import lettering, pixelfont
from .bmp4 import encodeBmp4
from .raster import StrokeCanvas

SHADE_TO_INDEX = np.array([0, 3, 2, 1], dtype=np.uint8)

CONTROLS_SIZE = (639, 13)
CONTROLS_PALETTE = [0x000000, 0xFFFFFF, 0x7F7F7F, 0x3F3F3F]
CONTROLS_TEXTS = ["Esc - Exit", "Mouse move or Left/Right arrows - rotation",
                  "Click or Space - pause", "Wheel or Up/Down arrows - motion"]
CONTROLS_MARGIN = 2
CONTROLS_TOP = 2   # glyph row 0; capitals then take rows 2..8 and descenders rows 9..10

LOGO_SIZE = (152, 12)
LOGO_PALETTE = [0x000000, 0xFFFFFF, 0x808080, 0x545454]
LOGO_TEXT = "LUMENWALTZ"
LOGO_STROKE = 1.6
COVERAGE_STEPS = [0.15, 0.42, 0.72]   # coverage limits between the four shades


def controlsShades():
    """Shade levels of the strip: the four phrases spread over the width with equal gaps."""
    width, height = CONTROLS_SIZE
    widths = [pixelfont.textWidth(t) for t in CONTROLS_TEXTS]
    free = width - 2 * CONTROLS_MARGIN - sum(widths)
    gaps = len(CONTROLS_TEXTS) - 1
    if free < gaps * 8:
        raise ValueError("the controls texts do not fit the strip")
    shades = np.zeros((height, width), dtype=np.uint8)
    x = CONTROLS_MARGIN
    for k, text in enumerate(CONTROLS_TEXTS):
        pixelfont.drawText(shades, text, x, CONTROLS_TOP)
        x += widths[k] + free // gaps + (1 if k < free % gaps else 0)
    return shades


def logoShades():
    """Shade levels of the logo: spaced capitals across the width, crisp stems and soft diagonals."""
    width, height = LOGO_SIZE
    letters = sum(lettering.LETTERS[ch][0] for ch in LOGO_TEXT) - 1
    tracking = (width - 4 - letters) // (len(LOGO_TEXT) - 1)   # whole pixels keep the stems crisp
    used = letters + tracking * (len(LOGO_TEXT) - 1)
    canvas = StrokeCanvas(width, height)
    lettering.drawLetters(canvas, LOGO_TEXT, (width - used) // 2, 1.0, 1.0, LOGO_STROKE, tracking)
    return np.digitize(canvas.coverage(), COVERAGE_STEPS).astype(np.uint8)


def controlsBmp():
    return encodeBmp4(SHADE_TO_INDEX[controlsShades()], CONTROLS_PALETTE)


def logoBmp():
    return encodeBmp4(SHADE_TO_INDEX[logoShades()], LOGO_PALETTE)
