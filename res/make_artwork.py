#!/usr/bin/python3
"""Draws the windows' artwork, the application icon and writes them into res/.

Run by hand after changing a picture (the build only embeds the committed files):
    /usr/bin/python3 res/make_artwork.py
Needs python3-pil and the WenQuanYi Micro Hei font (fonts-wqy-microhei), both installed by
scripts/setup.sh. The output is the same on every run.
"""
import os
import struct

from PIL import Image, ImageDraw, ImageFont

HERE = os.path.dirname(os.path.abspath(__file__))
ARTWORK = os.path.join(HERE, "artwork")
APP = os.path.join(HERE, "app")
FONT = "/usr/share/fonts/truetype/wqy/wqy-microhei.ttc"
SUPER = 4  # shapes are drawn this many times larger, then reduced, for smooth edges

BUTTON_BLUE = (0x5D, 0x95, 0xD4)
PAGE_WHITE = (255, 255, 255)
WHITE = (255, 255, 255)


def hex_rgb(text):
    return tuple(int(text[i:i + 2], 16) for i in (0, 2, 4))


def font(size):
    return ImageFont.truetype(FONT, size, index=0)


def smooth(size, draw_big, mode="RGBA", background=(0, 0, 0, 0)):
    """Calls draw_big(draw, scale) on a picture SUPER times larger and reduces it."""
    big = Image.new(mode, (size[0] * SUPER, size[1] * SUPER), background)
    draw_big(ImageDraw.Draw(big), SUPER)
    return big.resize(size, Image.BOX)


def centred_text(image, text, size, colour, dy=0, underline=False):
    draw = ImageDraw.Draw(image)
    f = font(size)
    left, top, right, bottom = draw.textbbox((0, 0), text, font=f)
    x = (image.width - (right - left)) // 2 - left
    y = (image.height - (bottom - top)) // 2 - top + dy
    draw.text((x, y), text, font=f, fill=colour)
    if underline:
        line_y = y + bottom + 1
        draw.line([(x + left, line_y), (x + right - 1, line_y)], fill=colour)


def button(size, fill, caption, text_size, text_colour, edge=None, outside=PAGE_WHITE, radius=3):
    """A flat button with slightly rounded corners on the page colour, caption centred."""
    def shape(draw, s):
        box = [0, 0, size[0] * s - 1, size[1] * s - 1]
        draw.rounded_rectangle(box, radius=radius * s, fill=fill)
    image = smooth(size, shape, "RGB", outside)
    if edge:  # a crisp one-pixel edge, drawn at the picture's own size
        ImageDraw.Draw(image).rounded_rectangle([0, 0, size[0] - 1, size[1] - 1], radius=radius,
                                                outline=edge, width=1)
    centred_text(image, caption, text_size, text_colour)
    return image


def banner():
    w, h = 620, 241
    base = hex_rgb("3A8FD9")

    def shapes(draw, s):
        # lighter decorative discs and bands, kept clear of the top-right button corner
        for cx, cy, r, colour in ((60, 220, 110, "4A9AE0"), (250, -30, 90, "4597DE"),
                                  (470, 250, 140, "4496DD"), (360, 120, 40, "4E9EE2")):
            draw.ellipse([(cx - r) * s, (cy - r) * s, (cx + r) * s, (cy + r) * s],
                         fill=hex_rgb(colour))
        draw.polygon([(0, 150 * s), (620 * s, 205 * s), (620 * s, 241 * s), (0, 241 * s)],
                     fill=hex_rgb("3386D0"))
        # illustration: a light monitor with a download arrow
        draw.rounded_rectangle([430 * s, 62 * s, 570 * s, 160 * s], radius=8 * s,
                               fill=hex_rgb("EAF4FD"))
        draw.rounded_rectangle([440 * s, 72 * s, 560 * s, 150 * s], radius=4 * s,
                               fill=hex_rgb("BFDDF6"))
        draw.rectangle([492 * s, 160 * s, 508 * s, 178 * s], fill=hex_rgb("EAF4FD"))
        draw.rounded_rectangle([465 * s, 178 * s, 535 * s, 186 * s], radius=4 * s,
                               fill=hex_rgb("EAF4FD"))
        draw.rectangle([492 * s, 84 * s, 508 * s, 112 * s], fill=hex_rgb("3A8FD9"))
        draw.polygon([(478 * s, 110 * s), (522 * s, 110 * s), (500 * s, 136 * s)],
                     fill=hex_rgb("3A8FD9"))
        draw.rectangle([474 * s, 138 * s, 526 * s, 142 * s], fill=hex_rgb("3A8FD9"))

    image = smooth((w, h), shapes, "RGB", base)
    draw = ImageDraw.Draw(image)
    draw.text((40, 78), "Quorvane 下载安装", font=font(32), fill=WHITE)
    draw.text((42, 128), "快速 · 稳定 · 安全", font=font(16), fill=hex_rgb("DCEBFA"))
    return image.convert("RGBA")  # PNG with alpha, fully opaque


def minimise(hover):
    image = Image.new("RGBA", (30, 27), (255, 255, 255, 102) if hover else (0, 0, 0, 0))
    ImageDraw.Draw(image).rectangle([10, 17, 19, 18], fill=(255, 255, 255, 255))
    return image


def close(hover):
    def cross(draw, s):
        # 9 wide and 11 tall, centred on (15, 13.5)
        draw.line([(10.5 * s, 8 * s), (19.5 * s, 19 * s)], fill=(255, 255, 255, 255),
                  width=int(1.6 * s))
        draw.line([(19.5 * s, 8 * s), (10.5 * s, 19 * s)], fill=(255, 255, 255, 255),
                  width=int(1.6 * s))
    image = smooth((30, 27), cross)
    if hover:
        under = Image.new("RGBA", (30, 27), (255, 255, 255, 102))
        image = Image.alpha_composite(under, image)
    return image


def grey_arrow():
    image = Image.new("RGB", (14, 15), hex_rgb("8D8D8D"))
    ImageDraw.Draw(image).polygon([(5, 4), (5, 10), (9, 7)], fill=WHITE)
    return image


def progress_track():
    return Image.new("RGB", (738, 19), hex_rgb("ECE9E7"))


def progress_fill():
    image = Image.new("RGB", (736, 19))
    top, bottom = hex_rgb("00ABDE"), hex_rgb("00A7DD")
    draw = ImageDraw.Draw(image)
    for y in range(19):
        t = y / 18
        draw.line([(0, y), (735, y)],
                  fill=tuple(round(a + (b - a) * t) for a, b in zip(top, bottom)))
    draw.line([(0, 0), (735, 0)], fill=WHITE)
    return image


def disc_with_mark(size, background, disc, disc_box, mark, mode="RGB"):
    """A disc on a plain background with a white mark: 'i', '!' or 'x'."""
    def shapes(draw, s):
        l, t, r, b = disc_box
        draw.ellipse([l * s, t * s, r * s, b * s], fill=disc)
        cx, cy = (l + r) / 2, (t + b) / 2
        u = (r - l) / 48  # mark unit: the marks are designed on a 48-pixel disc
        if mark == "i":
            draw.ellipse([(cx - 3.5 * u) * s, (cy - 15 * u) * s, (cx + 3.5 * u) * s,
                          (cy - 8 * u) * s], fill=WHITE)
            draw.rounded_rectangle([(cx - 3 * u) * s, (cy - 4 * u) * s, (cx + 3 * u) * s,
                                    (cy + 15 * u) * s], radius=2 * u * s, fill=WHITE)
        elif mark == "!":
            draw.rounded_rectangle([(cx - 3 * u) * s, (cy - 15 * u) * s, (cx + 3 * u) * s,
                                    (cy + 5 * u) * s], radius=2 * u * s, fill=WHITE)
            draw.ellipse([(cx - 3.5 * u) * s, (cy + 8 * u) * s, (cx + 3.5 * u) * s,
                          (cy + 15 * u) * s], fill=WHITE)
        elif mark == "x":
            d = 10 * u
            for a, b in (((cx - d, cy - d), (cx + d, cy + d)), ((cx + d, cy - d), (cx - d, cy + d))):
                draw.line([(a[0] * s, a[1] * s), (b[0] * s, b[1] * s)], fill=WHITE,
                          width=int(5 * u * s))
    return smooth(size, shapes, mode, background)


def warning_triangle():
    def shapes(draw, s):
        draw.polygon([(24 * s, 3 * s), (46 * s, 43 * s), (2 * s, 43 * s)], fill=hex_rgb("FFBB37"))
        draw.rounded_rectangle([21.5 * s, 15 * s, 26.5 * s, 32 * s], radius=2 * s, fill=WHITE)
        draw.ellipse([21 * s, 34.5 * s, 27 * s, 40.5 * s], fill=WHITE)
    return smooth((48, 48), shapes, "RGB", WHITE)


def title_bar():
    image = Image.new("RGB", (737, 26))
    top, bottom = hex_rgb("047BDF"), hex_rgb("0173D5")
    draw = ImageDraw.Draw(image)
    for y in range(26):
        t = y / 25
        draw.line([(0, y), (736, y)], fill=tuple(round(a + (b - a) * t) for a, b in zip(top, bottom)))
    return image


def message_close():
    image = Image.new("RGB", (26, 26), hex_rgb("DA3610"))
    draw = ImageDraw.Draw(image)
    # hard one-pixel diagonals: the red is the transparent colour, so no blended edge pixels
    for i in range(9):
        draw.point((9 + i, 9 + i), fill=WHITE)
        draw.point((17 - i, 9 + i), fill=WHITE)
    return image


def button_bar():
    image = Image.new("RGB", (4, 46))
    top, bottom = hex_rgb("F5F8FB"), hex_rgb("E9EEF4")
    draw = ImageDraw.Draw(image)
    for y in range(46):
        t = y / 45
        draw.line([(0, y), (3, y)], fill=tuple(round(a + (b - a) * t) for a, b in zip(top, bottom)))
    return image


def browser_link():
    image = Image.new("RGB", (105, 17), hex_rgb("EFF3F8"))
    centred_text(image, "使用浏览器下载", 12, hex_rgb("1167D3"), dy=-1, underline=True)
    return image


PNG_PICTURES = {
    "banner.png": banner,
    "minimise.png": lambda: minimise(False),
    "minimise_hover.png": lambda: minimise(True),
    "close.png": lambda: close(False),
    "close_hover.png": lambda: close(True),
    "grey_arrow.png": grey_arrow,
    "download_now.png": lambda: button((215, 57), BUTTON_BLUE, "立即下载", 22, WHITE),
    "download.png": lambda: button((196, 50), BUTTON_BLUE, "下载", 20, WHITE),
    "choose_folder.png": lambda: button((70, 26), hex_rgb("F4F4F4"), "浏览...", 13, (0, 0, 0),
                                        edge=hex_rgb("CCCCCC"), radius=2),
    "install.png": lambda: button((194, 48), BUTTON_BLUE, "立即安装", 20, WHITE),
    "progress_track.png": progress_track,
    "progress_fill.png": progress_fill,
    "alert.png": lambda: disc_with_mark((60, 54), hex_rgb("FCFCFC"), hex_rgb("F6764D"),
                                        (7, 4, 53, 50), "i"),
    "reload.png": lambda: button((66, 27), BUTTON_BLUE, "重新下载", 13, WHITE,
                                 outside=hex_rgb("F0F3F7"), radius=2),
    "browser_link.png": browser_link,
}

BMP_PICTURES = {
    "title_bar.bmp": title_bar,
    "msg_frame.bmp": lambda: Image.new("RGB", (37, 17), hex_rgb("7F7F7F")),
    "msg_close.bmp": message_close,
    "msg_info.bmp": lambda: disc_with_mark((48, 48), WHITE, hex_rgb("54A8D3"), (1, 1, 47, 47), "i"),
    "msg_error.bmp": lambda: disc_with_mark((48, 48), WHITE, hex_rgb("CA2406"), (1, 1, 47, 47), "x"),
    "msg_warning.bmp": warning_triangle,
    "msg_confirm.bmp": lambda: disc_with_mark((48, 48), WHITE, hex_rgb("54A8D3"), (1, 1, 47, 47), "!"),
    "msg_button_bar.bmp": button_bar,
}


# ---- application icon: a blue rounded square with a white download arrow ----

def icon_picture(size):
    def shapes(draw, s):
        n = size * s
        draw.rounded_rectangle([n * 0.04, n * 0.04, n * 0.96, n * 0.96], radius=n * 0.2,
                               fill=(0x3A, 0x8F, 0xD9, 255))
        draw.rectangle([n * 0.42, n * 0.18, n * 0.58, n * 0.5], fill=(255, 255, 255, 255))
        draw.polygon([(n * 0.24, n * 0.46), (n * 0.76, n * 0.46), (n * 0.5, n * 0.72)],
                     fill=(255, 255, 255, 255))
        draw.rectangle([n * 0.24, n * 0.76, n * 0.76, n * 0.84], fill=(255, 255, 255, 255))
    return smooth((size, size), shapes)


def and_mask(image, threshold):
    """1-bit mask rows, bottom row first, padded to 32 bits: 1 where the pixel is transparent."""
    w, h = image.size
    stride = ((w + 31) // 32) * 4
    out = b""
    for y in reversed(range(h)):
        row = bytearray(stride)
        for x in range(w):
            if image.getpixel((x, y))[3] < threshold:
                row[x // 8] |= 0x80 >> (x % 8)
        out += bytes(row)
    return out


def dib_header(size, bits, colours):
    image_bytes = size * (((size * bits + 31) // 32) * 4) + size * (((size + 31) // 32) * 4)
    return struct.pack("<IiiHHIIiiII", 40, size, size * 2, 1, bits, 0, image_bytes, 0, 0,
                       colours, 0)


def icon_32bit(image):
    w, h = image.size
    pixels = b""
    for y in reversed(range(h)):
        for x in range(w):
            r, g, b, a = image.getpixel((x, y))
            pixels += bytes((b, g, r, a))
    return dib_header(w, 32, 0) + pixels + and_mask(image, 1)


def icon_256(image):
    w, h = image.size
    opaque = Image.new("RGB", image.size, (255, 255, 255))
    opaque.paste(image, mask=image.split()[3])
    indexed = opaque.quantize(colors=256, method=Image.MEDIANCUT, dither=Image.NONE)
    palette = indexed.getpalette()[: 256 * 3]
    palette += [0] * (256 * 3 - len(palette))
    table = b"".join(bytes((palette[3 * i + 2], palette[3 * i + 1], palette[3 * i], 0))
                     for i in range(256))
    stride = ((w + 3) // 4) * 4
    pixels = b""
    for y in reversed(range(h)):
        row = bytes(indexed.getpixel((x, y)) for x in range(w))
        pixels += row + bytes(stride - w)
    return dib_header(w, 8, 256) + table + pixels + and_mask(image, 128)


def write_icon(path):
    entries = [(s, 8, icon_256(icon_picture(s))) for s in (48, 32, 24, 16)]
    entries += [(s, 32, icon_32bit(icon_picture(s))) for s in (64, 48, 32, 24, 16)]
    head = struct.pack("<HHH", 0, 1, len(entries))
    offset = 6 + 16 * len(entries)
    directory, data = b"", b""
    for size, bits, dib in entries:
        colours = 0  # 256 colours are written as 0 in the directory, like 32-bit entries
        directory += struct.pack("<BBBBHHII", size, size, colours, 0, 1, bits, len(dib), offset)
        data += dib
        offset += len(dib)
    with open(path, "wb") as f:
        f.write(head + directory + data)


def main():
    os.makedirs(ARTWORK, exist_ok=True)
    os.makedirs(APP, exist_ok=True)
    for name, make in PNG_PICTURES.items():
        make().save(os.path.join(ARTWORK, name), "PNG")
    for name, make in BMP_PICTURES.items():
        image = make()
        assert image.mode == "RGB"
        image.save(os.path.join(ARTWORK, name), "BMP")
    write_icon(os.path.join(APP, "quorvane.ico"))
    print("wrote %d pictures and the icon" % (len(PNG_PICTURES) + len(BMP_PICTURES)))


if __name__ == "__main__":
    main()
