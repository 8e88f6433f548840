#!/usr/bin/python3
"""Makes every picture of Lumenwaltz into resources/: the 43 sprite textures, the two overlay
bitmaps and the icons. Deterministic: the same files come out on every run.

    /usr/bin/python3 tools/make_pictures.py [--check] [--contact SHEET.png] [--out DIR]

--check only reads the files in DIR back and verifies them; --contact also writes a contact sheet.
"""

import argparse
import os
import sys

sys.dont_write_bytecode = True   # keep the source tree free of __pycache__

from picgen import bitmaps, checks, icons, textures  # noqa: E402

DEFAULT_OUT = os.path.join(os.path.dirname(os.path.abspath(__file__)), os.pardir, "resources")


def writeFile(folder, name, data):
    with open(os.path.join(folder, name), "wb") as f:
        f.write(data)


def generate(folder):
    os.makedirs(folder, exist_ok=True)
    for index in range(1, textures.COUNT + 1):
        writeFile(folder, textures.textureName(index), textures.encodeJpeg(textures.makeTexture(index)))
        print("  %s" % textures.textureName(index), flush=True)
    writeFile(folder, "CONTROL_INFO.bmp", bitmaps.controlsBmp())
    writeFile(folder, "LUMENWALTZ.bmp", bitmaps.logoBmp())
    writeFile(folder, "ICON_MAIN.ico", icons.mainIcon())
    for number, data in enumerate(icons.tileIcons(icons.previewPicture()), start=1):
        writeFile(folder, "ICON_SSPRVW%02d.ico" % number, data)
    print("  bitmaps and icons")


def main():
    parser = argparse.ArgumentParser(description=__doc__, formatter_class=argparse.RawDescriptionHelpFormatter)
    parser.add_argument("--out", default=DEFAULT_OUT, help="resource folder (default: resources/)")
    parser.add_argument("--check", action="store_true", help="verify the existing files, make nothing")
    parser.add_argument("--contact", metavar="PNG", help="also write a contact sheet of the files")
    args = parser.parse_args()
    folder = os.path.normpath(args.out)
    if not args.check:
        print("making pictures in %s" % folder)
        generate(folder)
    problems = checks.checkAll(folder)
    for problem in problems:
        print("PROBLEM: %s" % problem)
    if args.contact:
        checks.contactSheet(folder).save(args.contact)
        print("contact sheet: %s" % args.contact)
    total = sum(os.path.getsize(os.path.join(folder, n)) for n in checks.expectedFiles())
    print("%d files, %d bytes, %d problems" % (len(checks.expectedFiles()), total, len(problems)))
    return 1 if problems else 0


if __name__ == "__main__":
    sys.exit(main())
