#!/usr/bin/python3
"""Writes the PNG decoding corpus of tests/png: small pictures of every colour type, bit depth,
transparency form and interlacing, each with the RGBA pixels a decoder must produce.

Run from anywhere:  /usr/bin/python3 tests/png/make_corpus.py
Writes tests/png/corpus/*.png, *.rgba (expected pixels, 8-bit R G B A, rows top first),
corpus.rc (embeds them in the test program) and CorpusCases.inc (the test's table of cases).

The files are encoded here from known samples, so the expected values do not come from any
decoder; every file is then read back with PIL and compared, so an encoder mistake cannot slip
into the expectations.
"""
import os
import struct
import zlib

from PIL import Image

HERE = os.path.dirname(os.path.abspath(__file__))
OUT = os.path.join(HERE, "corpus")

CHANNELS = {0: 1, 2: 3, 3: 1, 4: 2, 6: 4}
TYPE_NAMES = {0: "Grayscale", 2: "RGB", 3: "Palette", 4: "GrayscaleAlpha", 6: "RGBAlpha"}
ADAM7 = [(0, 0, 8, 8), (4, 0, 8, 8), (0, 4, 4, 8), (2, 0, 4, 4), (0, 2, 2, 4), (1, 0, 2, 2),
         (0, 1, 1, 2)]


def chunk(kind, data):
    body = kind + data
    return struct.pack(">I", len(data)) + body + struct.pack(">I", zlib.crc32(body) & 0xFFFFFFFF)


def pack_row(samples, depth):
    if depth == 16:
        return b"".join(struct.pack(">H", s) for s in samples)
    if depth == 8:
        return bytes(samples)
    out, acc, bits = bytearray(), 0, 0
    for s in samples:
        acc = (acc << depth) | s
        bits += depth
        if bits == 8:
            out.append(acc)
            acc, bits = 0, 0
    if bits:
        out.append(acc << (8 - bits))
    return bytes(out)


def paeth(a, b, c):
    p = a + b - c
    pa, pb, pc = abs(p - a), abs(p - b), abs(p - c)
    if pa <= pb and pa <= pc:
        return a
    return b if pb <= pc else c


def filter_row(kind, row, prev, bpp):
    out = bytearray()
    for i, x in enumerate(row):
        a = row[i - bpp] if i >= bpp else 0
        b = prev[i] if prev is not None else 0
        c = prev[i - bpp] if prev is not None and i >= bpp else 0
        pred = [0, a, b, (a + b) // 2, paeth(a, b, c)][kind]
        out.append((x - pred) & 0xFF)
    return bytes([kind]) + bytes(out)


def encode_pass(pixels, depth, channels):
    """pixels: rows of per-pixel sample tuples. Filter type cycles 0..4 over the rows."""
    bpp = max(1, channels * depth // 8)
    out, prev = b"", None
    for y, row in enumerate(pixels):
        raw = pack_row([s for px in row for s in px], depth)
        out += filter_row(y % 5, raw, prev, bpp)
        prev = raw
    return out


def encode_png(width, height, ctype, depth, pixels, interlace, extra_chunks=b"", idat_piece=None):
    ch = CHANNELS[ctype]
    if interlace:
        data = b""
        for x0, y0, dx, dy in ADAM7:
            sub = [[pixels[y][x] for x in range(x0, width, dx)] for y in range(y0, height, dy)]
            if sub and sub[0]:
                data += encode_pass(sub, depth, ch)
    else:
        data = encode_pass(pixels, depth, ch)
    compressed = zlib.compress(data, 9)
    pieces = [compressed]
    if idat_piece:
        pieces = [compressed[i:i + idat_piece] for i in range(0, len(compressed), idat_piece)]
    ihdr = struct.pack(">IIBBBBB", width, height, depth, ctype, 0, 0, 1 if interlace else 0)
    png = b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", ihdr) + extra_chunks
    png += b"".join(chunk(b"IDAT", p) for p in pieces)
    return png + chunk(b"IEND", b"")


def scale(v, depth):
    if depth == 16:
        return (v * 255 + 32767) // 65535
    return v * 255 // ((1 << depth) - 1)


def sample(x, y, c, depth, seed):
    """A deterministic pattern that reaches 0 and the maximum and varies in every channel."""
    top = (1 << depth) - 1
    v = (x * 7 + y * 13 + c * 29 + seed * 5 + (x * y * 3)) % (top + 1 if depth < 16 else 65536)
    if (x + y + c) % 11 == 0:
        v = top
    if (x * 3 + y + c) % 13 == 0:
        v = 0
    if depth == 16:
        v = (v * 40503 + 0x1234 * c) & 0xFFFF
    return v


def make_case(name, width, height, ctype, depth, interlace, key=None, trns=None, seed=0,
              idat_piece=None, text=False):
    ch = CHANNELS[ctype]
    palette = None
    if ctype == 3:
        count = min(1 << depth, 200)
        palette = [((i * 37) % 256, (i * 91 + 40) % 256, (255 - i * 13) % 256) for i in range(count)]
        pixels = [[((x * 5 + y * 3 + seed) % count,) for x in range(width)] for y in range(height)]
    else:
        pixels = [[tuple(sample(x, y, c, depth, seed) for c in range(ch)) for x in range(width)]
                  for y in range(height)]
    extra = b""
    if text:
        extra += chunk(b"tEXt", b"Comment\x00corpus picture")
    if palette:
        extra += chunk(b"PLTE", b"".join(bytes(p) for p in palette))
    if trns is not None:
        extra += chunk(b"tRNS", bytes(trns))
    if key is not None:
        if ctype == 0:
            extra += chunk(b"tRNS", struct.pack(">H", key[0]))
            pixels[1][2] = (key[0],)
            pixels[height - 1][width - 1] = (key[0],)
        else:
            extra += chunk(b"tRNS", struct.pack(">HHH", *key))
            pixels[1][2] = tuple(key)
            pixels[height - 1][width - 1] = tuple(key)
            # same red and green but another blue: stays opaque
            pixels[0][0] = (key[0], key[1], (key[2] + 1) % (1 << depth))
    png = encode_png(width, height, ctype, depth, pixels, interlace, extra, idat_piece)

    expected = bytearray()
    for y in range(height):
        for x in range(width):
            px = pixels[y][x]
            if ctype == 3:
                r, g, b = palette[px[0]]
                a = trns[px[0]] if trns is not None and px[0] < len(trns) else 255
            elif ctype in (0, 4):
                r = g = b = scale(px[0], depth)
                a = scale(px[1], depth) if ctype == 4 else 255
                if key is not None:
                    a = 0 if px[0] == key[0] else 255
            else:
                r, g, b = (scale(s, depth) for s in px[:3])
                a = scale(px[3], depth) if ctype == 6 else 255
                if key is not None:
                    a = 0 if tuple(px[:3]) == tuple(key) else 255
            expected += bytes((r, g, b, a))
    stored = ctype
    if key is not None:
        stored = 4 if ctype == 0 else 6
    return dict(name=name, png=png, rgba=bytes(expected), width=width, height=height,
                ctype=ctype, stored=stored, depth=depth, interlace=interlace, pixels=pixels,
                palette=palette, trns=trns, key=key)


def check_with_pil(case, path):
    """Reads the file back with PIL and compares with the samples it was made from."""
    image = Image.open(path)
    image.load()
    assert image.size == (case["width"], case["height"]), case["name"]
    ctype, depth = case["ctype"], case["depth"]
    for y in range(case["height"]):
        for x in range(case["width"]):
            got = image.getpixel((x, y))
            px = case["pixels"][y][x]
            if ctype == 3:
                want = px[0]
            elif ctype == 0 and depth == 16:
                want = px[0]
            elif ctype == 0:
                want = scale(px[0], depth)
            elif depth == 16:  # PIL keeps the high byte of 16-bit colour samples
                want = tuple(s >> 8 for s in px)
            else:
                want = tuple(px)
            if isinstance(got, tuple) and len(got) == 1:
                got = got[0]
            if isinstance(got, tuple) and len(got) == 4 and len(want) == 2:  # LA read as RGBA
                want = (want[0], want[0], want[0], want[1])
            assert got == want, (case["name"], x, y, got, want)
    if ctype == 3:
        flat = image.getpalette()[: 3 * len(case["palette"])]
        assert flat == [v for p in case["palette"] for v in p], case["name"]
    if case["trns"] is not None or (case["key"] is not None and depth == 8):
        rgba = image.convert("RGBA")
        for y in range(case["height"]):
            for x in range(case["width"]):
                i = 4 * (y * case["width"] + x)
                assert rgba.getpixel((x, y))[3] == case["rgba"][i + 3], (case["name"], x, y)


def cases():
    out = []
    for interlace in (False, True):
        suffix = "_i" if interlace else ""
        size = (13, 11)
        for ctype, depths in ((0, (1, 2, 4, 8, 16)), (2, (8, 16)), (3, (1, 2, 4, 8)),
                              (4, (8, 16)), (6, (8, 16))):
            for depth in depths:
                name = "%s%d%s" % ({0: "g", 2: "rgb", 3: "p", 4: "ga", 6: "rgba"}[ctype], depth,
                                   suffix)
                out.append(make_case(name, *size, ctype, depth, interlace, seed=depth + ctype))
    # transparency tables and colour keys
    out.append(make_case("p8_trns", 9, 7, 3, 8, False, trns=[(i * 53) % 256 for i in range(60)]))
    out.append(make_case("p2_trns_i", 10, 9, 3, 2, True, trns=[0, 128]))
    out.append(make_case("g8_key", 8, 6, 0, 8, False, key=(77,)))
    out.append(make_case("g16_key", 8, 6, 0, 16, False, key=(0x4D2F,)))
    out.append(make_case("g2_key_i", 8, 6, 0, 2, True, key=(2,)))
    out.append(make_case("rgb8_key", 8, 6, 2, 8, False, key=(10, 200, 30)))
    out.append(make_case("rgb16_key_i", 8, 6, 2, 16, True, key=(0x0102, 0xFEDC, 0x8000)))
    # tiny interlaced sizes where some of the seven passes are empty
    out.append(make_case("rgba8_1x1_i", 1, 1, 6, 8, True))
    out.append(make_case("g1_3x2_i", 3, 2, 0, 1, True))
    out.append(make_case("p4_5x1_i", 5, 1, 3, 4, True))
    out.append(make_case("rgb8_1x9_i", 1, 9, 2, 8, True))
    # image data split over many IDAT chunks, and an ancillary chunk before it
    out.append(make_case("rgba16_split", 12, 10, 6, 16, False, idat_piece=17, text=True))
    out.append(make_case("g4_split_i", 17, 15, 0, 4, True, idat_piece=5, text=True))
    return out


def main():
    os.makedirs(OUT, exist_ok=True)
    rc = ["// Written by make_corpus.py: the decoding corpus, embedded in the test program.\n"]
    table = ["// Written by make_corpus.py: name, width, height, file colour type, bit depth,\n"
             "// interlaced, stored colour type.\n"]
    all_cases = cases()
    for case in all_cases:
        png_path = os.path.join(OUT, case["name"] + ".png")
        with open(png_path, "wb") as f:
            f.write(case["png"])
        with open(os.path.join(OUT, case["name"] + ".rgba"), "wb") as f:
            f.write(case["rgba"])
        check_with_pil(case, png_path)
        upper = case["name"].upper()
        rc.append('%s_PNG RCDATA "corpus/%s.png"\n' % (upper, case["name"]))
        rc.append('%s_RGBA RCDATA "corpus/%s.rgba"\n' % (upper, case["name"]))
        table.append('{L"%s", %d, %d, PngColorType::%s, %d, %s, PngColorType::%s},\n' % (
            upper, case["width"], case["height"], TYPE_NAMES[case["ctype"]], case["depth"],
            "true" if case["interlace"] else "false", TYPE_NAMES[case["stored"]]))
    with open(os.path.join(HERE, "corpus.rc"), "w") as f:
        f.writelines(rc)
    with open(os.path.join(HERE, "CorpusCases.inc"), "w") as f:
        f.writelines(table)
    print("wrote %d pictures to %s" % (len(all_cases), OUT))


if __name__ == "__main__":
    main()
