#!/usr/bin/env python3
"""Writes the seed inputs of the fuzz targets into corpus/<target>/ (run from anywhere).

Pictures: a selector byte (odd: a sprite texture of kind (byte >> 1) % 6, even: an overlay)
followed by the picture's bytes. Command lines: UTF-16LE arguments, each ended by a zero unit.
Link rules: particle count, parameter sets and rule count bytes, then six bytes per rule.
"""
import pathlib
import struct

HERE = pathlib.Path(__file__).resolve().parent
RESOURCES = HERE.parent.parent / "resources"


def bmp(width, height, bits, pixel, palette=(), top_down=False, compression=0, data=None, core=False,
        masks=None):
    row = (width * bits + 31) // 32 * 4
    if data is None:
        rows = []
        for k in range(height):
            y = k if top_down else height - 1 - k
            bitsrow = 0
            out = bytearray(row)
            for x in range(width):
                v = pixel(x, y)
                if bits >= 8:
                    out[x * bits // 8:(x + 1) * bits // 8] = v.to_bytes(bits // 8, "little")
                else:
                    shift = 8 - bits - (x * bits) % 8
                    out[x * bits // 8] |= (v & ((1 << bits) - 1)) << shift
            rows.append(bytes(out))
        data = b"".join(rows)
    pal = b"".join(struct.pack("<I", c) for c in palette)
    if core:
        header = struct.pack("<IHHHH", 12, width, height, 1, bits)
    else:
        size = 40 if masks is None else 56
        header = struct.pack("<IiiHHIIiiII", size, width, -height if top_down else height, 1, bits,
                             compression, len(data), 2835, 2835, len(palette), 0)
        if masks is not None:
            header += struct.pack("<IIII", *masks)
    offset = 14 + len(header) + len(pal)
    return b"BM" + struct.pack("<IHHI", offset + len(data), 0, 0, offset) + header + pal + data


def pictures():
    grey = [0xFF000000 | (i * 0x111111) for i in range(16)]
    ramp = lambda x, y: (x * 37 + y * 11) & 0xFF
    seeds = {
        "texture_kor01": b"\x01" + (RESOURCES / "KOR_01.jpg").read_bytes(),
        "texture_kor02_add": b"\x03" + (RESOURCES / "KOR_02.jpg").read_bytes(),
        "texture_ball_multiply": b"\x07" + (RESOURCES / "KOR_31.jpg").read_bytes(),
        "texture_bmp_1bit": b"\x09" + bmp(255, 255, 1, lambda x, y: (x ^ y) & 1, [0xFF000000, 0xFFFFFFFF]),
        "texture_wrong_size": b"\x0b" + bmp(16, 255, 8, ramp, grey * 16),
        "overlay_logo": b"\x00" + (RESOURCES / "LUMENWALTZ.bmp").read_bytes(),
        "overlay_strip": b"\x02" + (RESOURCES / "CONTROL_INFO.bmp").read_bytes(),
        "overlay_jpeg": b"\x00" + (RESOURCES / "KOR_03.jpg").read_bytes(),
        "overlay_4bit": b"\x00" + bmp(7, 5, 4, lambda x, y: (x + y) % 16, grey),
        "overlay_8bit_top_down": b"\x02" + bmp(9, 4, 8, ramp, grey * 16, top_down=True),
        "overlay_16bit": b"\x00" + bmp(5, 3, 16, lambda x, y: (x << 10) | (y << 5) | 7),
        "overlay_16bit_565": b"\x02" + bmp(5, 3, 16, lambda x, y: (x << 11) | (y << 5), compression=3,
                                          masks=(0xF800, 0x07E0, 0x001F, 0)),
        "overlay_24bit": b"\x00" + bmp(6, 6, 24, lambda x, y: x * 0x2A0000 + y * 0x2A00 + 0x40),
        "overlay_32bit_alpha": b"\x02" + bmp(4, 4, 32, lambda x, y: ((x * 64) << 24) | 0x00FF8000,
                                            compression=3, masks=(0xFF0000, 0xFF00, 0xFF, 0xFF000000)),
        # Run-length coded: a run of 5, an escape to three literal pixels, end of line, end of picture.
        "overlay_rle8": b"\x00" + bmp(8, 2, 8, None, grey * 16, compression=1,
                                     data=bytes([5, 3, 0, 3, 1, 2, 4, 0, 0, 0, 8, 9, 0, 1])),
        "overlay_rle4": b"\x02" + bmp(8, 2, 4, None, grey, compression=2,
                                     data=bytes([8, 0x12, 0, 0, 0, 4, 0x34, 0x56, 0, 1])),
        "overlay_core_header": b"\x00" + bmp(3, 2, 24, lambda x, y: 0x123456 * (x + 1), core=True),
    }
    return seeds


def command_lines():
    def args(*items):
        return b"".join(a.encode("utf-16-le") + b"\0\0" for a in items)
    return {
        "none": b"",
        "full": args("/s"),
        "full_upper": args("/S"),
        "preview": args("/p", "4242"),
        "preview_blanks_sign": args("/P", "  -17x"),
        "preview_zero": args("/p", "0"),
        "preview_overflow": args("/p", "99999999999"),
        "help": args("/c"),
        "help_extra": args("/p", "12", "/s"),
        "non_ascii": args("/\u0130", "\uff11\uff12"),
    }


def links():
    # count byte 19 gives 20 particles; an index byte v stands for v - 28 at that count.
    def rule(kind, first, last, step, rows, param=1):
        return bytes([kind, first + 28, last + 28, step + 28, rows + 28, param])
    seeds = {}
    for kind in range(19):
        seeds[f"kind{kind:02d}"] = bytes([19, 0, 0]) + rule(kind, 0, 19, 3, 2)
    seeds["ring_and_strides"] = bytes([19, 2, 2]) + rule(4, 0, 19, 0, 0) + rule(7, 0, 19, 5, 0, 2) + rule(7, 0, 19, 7, 0, 3)
    seeds["ranges_past_both_ends"] = bytes([19, 0, 1]) + rule(15, -5, 30, 4, 3) + rule(8, -3, 25, 6, 0)
    seeds["unlimited_rows"] = bytes([19, 0, 1]) + rule(14, 0, 17, 3, 0) + bytes([10, 28, 45, 31, 251, 1])
    seeds["no_parameters"] = bytes([19, 0, 0]) + rule(3, 0, 19, 0, 0, 0)
    return seeds


def main():
    for target, seeds in (("fuzz_pictures", pictures()), ("fuzz_command_line", command_lines()),
                          ("fuzz_links", links())):
        folder = HERE / "corpus" / target
        folder.mkdir(parents=True, exist_ok=True)
        for name, data in seeds.items():
            (folder / name).write_bytes(data)


if __name__ == "__main__":
    main()
