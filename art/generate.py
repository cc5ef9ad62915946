#!/usr/bin/python3
"""Generates every image resource of the program into src/res/.

Run from anywhere:  /usr/bin/python3 art/generate.py [--sheet contact.png]
Needs python3-pil and fonts-wqy-microhei (see draw.FONT_PATH).
"""
import argparse
import os
import sys

from PIL import Image, ImageDraw, ImageFont

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from draw import (FONT_PATH, Canvas, diagonal_gradient, flat, mask_of, soft_shadow,  # noqa: E402
                  vertical_gradient)

ROOT = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
RES = os.path.join(ROOT, "src", "res")
IMAGES = os.path.join(RES, "images")

# Palette (RGB). The panel's band and text colours are listed in art/README.md for the code's text colours.
WHITE = (255, 255, 255)
INK = (38, 50, 68)
BLUE = (43, 123, 228)
BLUE_DARK = (24, 92, 204)
BLUE_DEEP = (20, 76, 172)
HERO_A = (27, 96, 212)     # main panel band, top left
HERO_B = (64, 150, 246)    # main panel band, bottom right
NAVY_A = (31, 60, 112)     # feedback panel, top
NAVY_B = (18, 38, 78)      # feedback panel, bottom
PROMPT_BAND = (234, 235, 238)
GREY_TEXT = (150, 158, 170)
LINE = (232, 236, 242)

written = {}


def save(rid, name, im, alpha):
    """Writes resource rid; alpha says whether the PNG keeps its alpha channel (RGBA) or is RGB."""
    im = im if alpha else flat(im)
    assert im.mode == ("RGBA" if alpha else "RGB")
    path = os.path.join(IMAGES, "%03d_%s.png" % (rid, name))
    im.save(path, optimize=True)
    written[rid] = (name, im)


def spaced_text(c, center, s, px, fill, bold=0.0, spacing=0.0):
    """Text centred on center with extra spacing between characters."""
    widths = [c.text_width(ch, px) for ch in s]
    total = sum(widths) + spacing * (len(s) - 1)
    x = center[0] - total / 2.0
    for ch, w in zip(s, widths):
        c.text((x + w / 2.0, center[1]), ch, px, fill, bold=bold)
        x += w + spacing


# ---------------------------------------------------------------- glyphs

def wrench(size, color):
    """A wrench glyph, pointing up-right, on a transparent square canvas of size final pixels."""
    c = Canvas(size, size)
    s = size / 32.0
    cx = size / 2.0
    # upright wrench: open head at the top, handle downwards
    c.ellipse((cx - 8 * s, 2 * s, cx + 8 * s, 18 * s), fill=color)
    c.rect((cx - 3 * s, 8 * s, cx + 3 * s, 30 * s), fill=color, radius=3 * s)
    c.rect((cx - 2.6 * s, 0, cx + 2.6 * s, 9 * s), fill=(0, 0, 0, 0))
    c.ellipse((cx - 1.6 * s, 24.5 * s, cx + 1.6 * s, 27.7 * s), fill=(0, 0, 0, 0))
    return c.final().rotate(-45, resample=Image.BICUBIC)


def check_mark(c, box, color, width):
    x0, y0, x1, y1 = box
    w, h = x1 - x0, y1 - y0
    c.line([(x0 + 0.12 * w, y0 + 0.52 * h), (x0 + 0.40 * w, y0 + 0.80 * h), (x0 + 0.88 * w, y0 + 0.22 * h)],
           color, width)


def keyboard(c, box, body, key, rows=3, keys=10, radius=None, space=True):
    """A keyboard drawing: rounded body with rows of keys and a space bar."""
    x0, y0, x1, y1 = box
    w, h = x1 - x0, y1 - y0
    r = radius if radius is not None else h * 0.14
    c.rect(box, fill=body, radius=r)
    pad = h * 0.14
    n_rows = rows + (1 if space else 0)
    gap = h * 0.06
    kh = (h - 2 * pad - gap * (n_rows - 1)) / n_rows
    kw = (w - 2 * pad - gap * (keys - 1)) / keys
    for row in range(rows):
        y = y0 + pad + row * (kh + gap)
        off = (kw * 0.4) if row % 2 else 0
        for i in range(keys - (1 if row % 2 else 0)):
            x = x0 + pad + off + i * (kw + gap)
            c.rect((x, y, x + kw, y + kh), fill=key, radius=min(kw, kh) * 0.22)
    if space:
        y = y0 + pad + rows * (kh + gap)
        c.rect((x0 + w * 0.28, y, x1 - w * 0.28, y + kh), fill=key, radius=kh * 0.3)


# ---------------------------------------------------------------- main window

MAIN_TITLE = "键盘无法使用修复工具"


def main_panel():
    """139: the 400x600 opaque panel: a blue band with title and illustration over a white body."""
    w, h = 400, 600
    im = Image.new("RGBA", (w, h), WHITE + (255,))
    hero = diagonal_gradient(w, 214, HERO_A, HERO_B)
    # band shape: straight top, softly curved lower edge
    shape = Image.new("L", (w * 4, 214 * 4), 0)
    d = ImageDraw.Draw(shape)
    d.rectangle([0, 0, w * 4, 150 * 4], fill=255)
    d.ellipse([-160 * 4, 40 * 4, (w + 160) * 4, 213 * 4], fill=255)
    shape = shape.resize((w, 214), Image.BOX)

    deco = Canvas(w, 214)
    deco.ellipse((292, -70, 452, 90), fill=(255, 255, 255, 20))
    deco.ellipse((330, 40, 430, 140), fill=(255, 255, 255, 14))
    deco.ellipse((-60, 110, 70, 240), fill=(255, 255, 255, 16))
    band = hero.copy()
    band.alpha_composite(deco.final())

    art = Canvas(w, 214)
    # keyboard with a soft shadow, and a wrench badge on its upper right
    band.alpha_composite(soft_shadow(w, 214, (112, 92, 288, 168), (10, 40, 110), 0.35, 5, radius=12, offset=(0, 5)))
    keyboard(art, (112, 92, 288, 168), (255, 255, 255, 250), (214, 228, 247, 255), radius=12)
    band.alpha_composite(art.final())
    badge = Canvas(w, 214)
    badge.ellipse((252, 58, 304, 110), fill=(255, 255, 255, 60))
    badge.ellipse((257, 63, 299, 105), fill=WHITE + (255,))
    band.alpha_composite(soft_shadow(w, 214, (257, 63, 299, 105), (10, 40, 110), 0.30, 3, radius=21, offset=(0, 3)))
    band.alpha_composite(badge.final())
    band.alpha_composite(wrench(28, BLUE + (255,)), (264, 70))

    # title row: logo, product title, and the version number's place at (188,16)-(228,31)
    top = Canvas(w, 214)
    top.rect((12, 14, 30, 32), fill=(255, 255, 255, 255), radius=5)
    keyboard(top, (14.5, 19, 27.5, 27), BLUE + (255,), (255, 255, 255, 255), rows=2, keys=4, radius=1.5,
             space=True)
    top.text((37, 23.5), MAIN_TITLE, 14, WHITE + (255,), bold=0.25, anchor="lm")
    band.alpha_composite(top.final())

    band.putalpha(shape)
    im.alpha_composite(band)

    # footer separator above the agree box and links (the footer itself stays pure white)
    body = Canvas(w, h)
    body.rect((0, 566, w, 567), fill=LINE + (255,))
    im.alpha_composite(body.final())
    return im


def process_marks(im):
    """Three small marks under the repair button: scan, repair, done."""
    w, h = im.size
    ys = 420
    c = Canvas(w, h)
    for x in (120, 200, 280):
        c.ellipse((x - 20, ys - 20, x + 20, ys + 20), fill=(238, 245, 254, 255))
        if x < 280:
            for k in range(5):
                dx = x + 28 + k * 6
                c.ellipse((dx - 1.2, ys - 1.2, dx + 1.2, ys + 1.2), fill=(196, 217, 245, 255))
    ink = (92, 150, 230, 255)
    c.ellipse((112, ys - 9, 126, ys + 5), outline=ink, width=2.2)
    c.line([(124.5, ys + 3.5), (129, ys + 8)], ink, 2.6)
    check_mark(c, (271, ys - 8, 289, ys + 9), ink, 2.6)
    im.alpha_composite(c.final())
    im.alpha_composite(wrench(24, ink), (188, ys - 12))
    return im


def main_background(panel):
    """138: 410x611, the panel at (5,4) with a soft shadow 5 px left/right, 4 top, 7 bottom."""
    w, h = 410, 611
    im = Image.new("RGBA", (w, h), (0, 0, 0, 0))
    im.alpha_composite(soft_shadow(w, h, (5, 4, 405, 604), (8, 20, 40), 0.55, 2.2, offset=(0, 1.5)))
    im.alpha_composite(soft_shadow(w, h, (5, 4, 405, 604), (8, 20, 40), 0.25, 1.0, offset=(0, 0.5)))
    im.paste(panel.convert("RGBA"), (5, 4))
    return im


def title_buttons(panel):
    """141-144 close cross and 147-150 minimise bar, 26x34, on the band they cover at (368,0) and (340,0)."""
    looks = [("normal", None, 255), ("hover", (255, 255, 255, 46), 255),
             ("pressed", (0, 30, 90, 40), 235), ("disabled", None, 110)]
    for base_id, name, x0, glyph in ((141, "main_close", 368, "x"), (147, "main_min", 340, "-")):
        back = panel.crop((x0, 0, x0 + 26, 34)).convert("RGBA")
        for i, (state, overlay, a) in enumerate(looks):
            c = Canvas(26, 34)
            if overlay:
                c.rect((0, 0, 26, 34), fill=overlay)
            color = (255, 255, 255, a)
            if glyph == "x":
                c.line([(8.5, 12.5), (17.5, 21.5)], color, 1.6)
                c.line([(17.5, 12.5), (8.5, 21.5)], color, 1.6)
            else:
                c.line([(8, 17.5), (18, 17.5)], color, 1.6)
            im = back.copy()
            im.alpha_composite(c.final())
            save(base_id + i, "%s_%s" % (name, state), im, alpha=False)


def repair_button():
    """151-154: 284x85, the pill (19,19)-(265,66) with a transparent glow margin of 19 px."""
    w, h = 284, 85
    core = (19, 19, 265, 66)
    looks = [
        ("normal", (74, 160, 255), (31, 112, 232), BLUE, 0.50, 6, 4, 0),
        ("hover", (96, 176, 255), (45, 130, 242), (60, 140, 250), 0.70, 7, 4, 0),
        ("pressed", (40, 128, 236), (22, 90, 204), BLUE_DARK, 0.38, 4, 2, 1),
        ("disabled", (200, 207, 217), (178, 187, 200), (120, 130, 145), 0.18, 4, 3, 0),
    ]
    for i, (state, top, bottom, glow, op, blur, dy, shift) in enumerate(looks):
        im = Image.new("RGBA", (w, h), (0, 0, 0, 0))
        im.alpha_composite(soft_shadow(w, h, core, glow, op, blur, radius=23.5, offset=(0, dy)))
        fill = vertical_gradient(w, h, top, bottom)
        im.paste(fill, (0, 0), mask_of(w, h, core, 23.5))
        c = Canvas(w, h)
        text = (255, 255, 255, 255) if state != "disabled" else (255, 255, 255, 235)
        spaced_text(c, (142, 42.5 + shift), "一键修复", 21, text, bold=0.55, spacing=4)
        im.alpha_composite(c.final())
        save(151 + i, "repair_" + state, im, alpha=True)


def more_tools(panel):
    """192-195: 58x18 text link button on the white body at (45,540)."""
    back = panel.crop((45, 540, 103, 558)).convert("RGBA")
    looks = [("normal", BLUE, False), ("hover", BLUE_DARK, True), ("pressed", BLUE_DEEP, True),
             ("disabled", GREY_TEXT, False)]
    for i, (state, color, underline) in enumerate(looks):
        c = Canvas(58, 18)
        c.text((29, 8.6), "更多工具", 12.5, color + (255,), bold=0.1)
        if underline:
            c.rect((4, 15, 54, 16), fill=color + (255,))
        im = back.copy()
        im.alpha_composite(c.final())
        save(192 + i, "more_tools_" + state, im, alpha=False)


def checkbox():
    """140: 48x16, three cells: empty box, ticked box, box with a filled square."""
    c = Canvas(48, 16)
    border = (150, 165, 185, 255)
    c.rect((1.5, 1.5, 14.5, 14.5), fill=WHITE + (255,), radius=3, outline=border, width=1.1)
    c.rect((17, 1, 31, 15), fill=BLUE + (255,), radius=3.2)
    check_mark(c, (19.5, 3.5, 28.5, 12.5), WHITE + (255,), 1.9)
    c.rect((33.5, 1.5, 46.5, 14.5), fill=WHITE + (255,), radius=3, outline=border, width=1.1)
    c.rect((37, 5, 43, 11), fill=BLUE + (255,), radius=1.3)
    save(140, "checkbox", c.final(), alpha=True)


# ---------------------------------------------------------------- progress prompt

def progress():
    """146: 204x104 blue panel; 145: 232x132 with a soft blue glow 14 left/right, 12 top, 16 bottom."""
    w, h = 204, 104
    panel = vertical_gradient(w, h, (58, 146, 250), (29, 102, 214))
    c = Canvas(w, h)
    c.ellipse((90, 12, 114, 36), outline=(255, 255, 255, 70), width=3)
    c.d.arc([90 * 4, 12 * 4, 114 * 4, 36 * 4], start=-90, end=150, fill=(255, 255, 255, 255), width=12)
    panel.alpha_composite(c.final())
    save(146, "progress_panel", panel, alpha=True)

    W, H = 232, 132
    bg = Image.new("RGBA", (W, H), (0, 0, 0, 0))
    bg.alpha_composite(soft_shadow(W, H, (12, 10, 220, 120), (64, 150, 255), 1.0, 4.0, radius=8, offset=(0, 1)))
    bg.alpha_composite(soft_shadow(W, H, (14, 12, 218, 116), (40, 110, 230), 0.45, 1.6, radius=2, offset=(0, 1)))
    bg.paste(panel, (14, 12))
    save(145, "progress_background", bg, alpha=True)


# ---------------------------------------------------------------- message prompt

def prompt():
    """156: 320x140 white panel with the 26-px grey title band 提示; 155: 330x150 with its shadow."""
    w, h = 320, 140
    c = Canvas(w, h, WHITE + (255,))
    c.rect((0, 0, w, 26), fill=PROMPT_BAND + (255,))
    c.ellipse((10, 7, 22, 19), fill=BLUE + (255,))
    c.rect((15.3, 11.7, 16.7, 16.8), fill=WHITE + (255,))
    c.ellipse((15.2, 8.9, 16.8, 10.5), fill=WHITE + (255,))
    c.text((28, 13.2), "提示", 13, (58, 66, 80, 255), bold=0.15, anchor="lm")
    panel = c.final()
    save(156, "prompt_panel", panel, alpha=False)

    W, H = 330, 150
    bg = Image.new("RGBA", (W, H), (0, 0, 0, 0))
    bg.alpha_composite(soft_shadow(W, H, (5, 3, 325, 143), (8, 20, 40), 0.5, 2.0, offset=(0, 1.5)))
    bg.alpha_composite(soft_shadow(W, H, (5, 3, 325, 143), (8, 20, 40), 0.2, 0.8, offset=(0, 0.5)))
    bg.paste(panel, (5, 3))
    save(155, "prompt_background", bg, alpha=True)

    # 55x24 buttons on the white body; primary (是, 确认) blue, secondary (否, 取消) outlined
    primary = [("normal", BLUE, None, WHITE), ("hover", (70, 146, 240), None, WHITE),
               ("pressed", (26, 96, 200), None, WHITE)]
    secondary = [("normal", WHITE, (200, 208, 219), (74, 85, 102)),
                 ("hover", (242, 247, 253), (150, 176, 210), BLUE_DARK),
                 ("pressed", (226, 235, 246), (130, 158, 198), BLUE_DEEP)]
    for base_id, name, word, looks in ((157, "prompt_cancel", "取消", secondary), (163, "prompt_no", "否", secondary),
                                       (166, "prompt_confirm", "确认", primary), (169, "prompt_yes", "是", primary)):
        for i, (state, fill, border, text) in enumerate(looks):
            b = Canvas(55, 24, WHITE + (255,))
            if border:
                b.rect((0.5, 0.5, 54.5, 23.5), fill=fill + (255,), radius=4, outline=border + (255,), width=1)
            else:
                b.rect((0.5, 0.5, 54.5, 23.5), fill=fill + (255,), radius=4)
            b.text((27.5, 12 + (0.5 if state == "pressed" else 0)), word, 13, text + (255,), bold=0.1)
            save(base_id + i, "%s_%s" % (name, state), b.final(), alpha=False)

    # 12x12 close cross on the title band
    for i, (state, color) in enumerate((("normal", (122, 132, 148)), ("hover", (52, 62, 78)),
                                        ("pressed", BLUE_DARK))):
        x = Canvas(12, 12, PROMPT_BAND + (255,))
        x.line([(2.5, 2.5), (9.5, 9.5)], color + (255,), 1.4)
        x.line([(9.5, 2.5), (2.5, 9.5)], color + (255,), 1.4)
        save(160 + i, "prompt_close_" + state, x.final(), alpha=False)


# ---------------------------------------------------------------- problem-solving feedback

QUESTION = "本工具是否解决了您的问题？"


def feedback():
    """173: 400x468 dark blue panel with the question; 172: 410x479 with its shadow (5, 4, 5, 7)."""
    w, h = 400, 468
    panel = vertical_gradient(w, h, NAVY_A, NAVY_B)
    c = Canvas(w, h)
    c.ellipse((60, -160, 340, 120), fill=(90, 150, 255, 22))
    c.ellipse((120, 360, 520, 700), fill=(90, 150, 255, 12))
    # emblem: a speech bubble with three dots
    c.ellipse((170, 30, 230, 90), fill=(255, 255, 255, 22))
    c.rect((181, 44, 219, 72), fill=(255, 255, 255, 255), radius=8)
    c.polygon([(189, 71), (189, 80), (198, 71)], (255, 255, 255, 255))
    for x in (191, 200, 209):
        c.ellipse((x - 2.3, 55.7, x + 2.3, 60.3), fill=NAVY_A + (255,))
    c.text((200, 118), QUESTION, 20, WHITE + (255,), bold=0.35)
    panel.alpha_composite(c.final())
    panel.putalpha(mask_of(w, h, (0, 0, w, h), 4))
    save(173, "feedback_panel", panel, alpha=True)

    W, H = 410, 479
    bg = Image.new("RGBA", (W, H), (0, 0, 0, 0))
    bg.alpha_composite(soft_shadow(W, H, (5, 4, 405, 472), (0, 6, 20), 0.6, 2.2, radius=4, offset=(0, 1.5)))
    bg.alpha_composite(soft_shadow(W, H, (5, 4, 405, 472), (0, 6, 20), 0.3, 0.9, radius=4, offset=(0, 0.5)))
    bg.alpha_composite(panel, (5, 4))
    save(172, "feedback_background", bg, alpha=True)

    # 174-177: 12x12 close cross on the panel at (382,6)
    back = panel.crop((382, 6, 394, 18))
    for i, (state, a, col) in enumerate((("normal", 190, WHITE), ("hover", 255, WHITE),
                                         ("pressed", 255, (150, 185, 240)), ("disabled", 80, WHITE))):
        x = Canvas(12, 12)
        x.line([(2.5, 2.5), (9.5, 9.5)], col + (a,), 1.5)
        x.line([(9.5, 2.5), (2.5, 9.5)], col + (a,), 1.5)
        im = Image.new("RGBA", (12, 12), NAVY_A + (255,))
        im.alpha_composite(back)
        im.alpha_composite(x.final())
        save(174 + i, "feedback_close_" + state, im, alpha=False)

    # three 266x60 answers: opaque core (9,9)-(257,51), soft 9-px edge
    core = (9, 9, 257, 51)
    answers = [
        (179, "solved", "已解决，继续使用", [
            ("normal", WHITE, None, (26, 76, 160), 0.45),
            ("hover", (235, 244, 255), None, (20, 70, 170), 0.6),
            ("pressed", (210, 228, 252), None, (18, 60, 140), 0.3),
            ("disabled", (150, 162, 182), None, (224, 230, 238), 0.2)]),
        (184, "unsolved", "未解决，我要吐槽", [
            ("normal", (47, 134, 242), None, WHITE, 0.45),
            ("hover", (72, 152, 248), None, WHITE, 0.6),
            ("pressed", (30, 108, 218), None, WHITE, 0.3),
            ("disabled", (70, 88, 120), None, (170, 180, 198), 0.2)]),
        (188, "more_plans", "更多方案", [
            ("normal", (34, 66, 122), (112, 146, 204), (220, 232, 250), 0.35),
            ("hover", (44, 80, 145), (150, 182, 236), WHITE, 0.5),
            ("pressed", (26, 52, 100), (100, 132, 190), (200, 214, 238), 0.25),
            ("disabled", (36, 52, 84), (70, 86, 118), (120, 134, 160), 0.15)]),
    ]
    for base_id, name, caption, looks in answers:
        for i, (state, fill, border, text, op) in enumerate(looks):
            im = Image.new("RGBA", (266, 60), (0, 0, 0, 0))
            im.alpha_composite(soft_shadow(266, 60, core, (0, 8, 24), op, 2.6, radius=21, offset=(0, 2)))
            b = Canvas(266, 60)
            if border:
                b.rect(core, fill=border + (255,), radius=21)
                b.rect((core[0] + 1.2, core[1] + 1.2, core[2] - 1.2, core[3] - 1.2), fill=fill + (255,), radius=19.8)
            else:
                b.rect(core, fill=fill + (255,), radius=21)
            spaced_text(b, (133, 30 + (0.7 if state == "pressed" else 0)), caption, 16, text + (255,),
                        bold=0.3, spacing=1.0)
            im.alpha_composite(b.final())
            save(base_id + i, "%s_%s" % (name, state), im, alpha=True)


# ---------------------------------------------------------------- agreement bubble

def bubble():
    """183: 541x402, an opaque white 541x391 rectangle with a tail near x=85 reaching the bottom row."""
    w, h = 541, 402
    edge = (214, 222, 233, 255)
    c = Canvas(w, h)
    c.rect((0, 0, w, 391), fill=edge)
    c.polygon([(74, 390), (85.5, h), (97, 390)], edge)
    c.rect((1, 1, w - 1, 390), fill=WHITE + (255,))
    c.polygon([(76.2, 389), (85.5, h - 1.6), (94.8, 389)], WHITE + (255,))
    im = c.final()
    # the rectangle itself is fully opaque, edges included
    a = im.getchannel("A")
    a.paste(255, (0, 0, w, 391))
    im.putalpha(a)
    save(183, "tooltip_bubble", im, alpha=True)


# ---------------------------------------------------------------- scroll-bar bitmap

def scrollbar_bitmap():
    """178: 117x39, 8 bpp, 9x3 cells of 13 px (arrows, thumb, track for vertical and horizontal, corner)."""
    cell = 13
    light, dark = (196, 201, 209), (112, 120, 132)
    thumb_dark, thumb_edge = (150, 157, 168), (206, 211, 218)
    c = Canvas(9 * cell, 3 * cell, WHITE + (255,))

    def arrow(col, row, direction, color):
        x0, y0 = col * cell, row * cell
        m = 6.5
        pts = {"up": [(m, 4.2), (3.2, 8.3), (9.8, 8.3)],
               "down": [(3.2, 4.7), (9.8, 4.7), (m, 8.8)],
               "left": [(4.2, m), (8.3, 3.2), (8.3, 9.8)],
               "right": [(4.7, 3.2), (4.7, 9.8), (8.8, m)]}[direction]
        c.polygon([(x0 + x, y0 + y) for x, y in pts], color + (255,))

    for row in range(3):
        v = dark if row == 1 else light           # vertical arrows: dark only when hot
        hz = light if row == 0 else dark          # horizontal arrows: dark when hot or pressed
        arrow(0, row, "up", v)
        arrow(1, row, "down", v)
        arrow(4, row, "left", hz)
        arrow(5, row, "right", hz)
        y0 = row * cell
        # thumbs: a dark bar with light edges across the bar, uniform along it
        c.rect((2 * cell + 3, y0, 2 * cell + 10, y0 + cell), fill=thumb_edge + (255,))
        c.rect((2 * cell + 4, y0, 2 * cell + 9, y0 + cell), fill=thumb_dark + (255,))
        c.rect((6 * cell, y0 + 3, 7 * cell, y0 + 10), fill=thumb_edge + (255,))
        c.rect((6 * cell, y0 + 4, 7 * cell, y0 + 9), fill=thumb_dark + (255,))
        # horizontal track: white with light edge lines
        c.rect((7 * cell, y0, 8 * cell, y0 + 1), fill=(226, 230, 236, 255))
        c.rect((7 * cell, y0 + cell - 1, 8 * cell, y0 + cell), fill=(226, 230, 236, 255))
    # size-box corners: row 0 lower right grip, row 1 lower left grip
    for i in range(3):
        for j in range(3 - i):
            c.ellipse((8 * cell + 9.2 - i * 3, 9.2 - j * 3, 8 * cell + 10.8 - i * 3, 10.8 - j * 3),
                      fill=light + (255,))
            c.ellipse((8 * cell + 2.2 + i * 3, cell + 9.2 - j * 3, 8 * cell + 3.8 + i * 3, cell + 10.8 - j * 3),
                      fill=light + (255,))
    im = flat(c.final())
    pal = im.quantize(colors=64, method=Image.Quantize.MEDIANCUT, dither=Image.Dither.NONE)
    pal.save(os.path.join(RES, "skinscroll.bmp"))
    written[178] = ("skinscroll", pal)


# ---------------------------------------------------------------- icon

def icon_image(size):
    c = Canvas(size, size)
    r = size * 0.22
    m = size * 0.04
    c.rect((m, m, size - m, size - m), fill=WHITE + (255,), radius=r)
    base = diagonal_gradient(size, size, (60, 150, 255), (22, 90, 210))
    mask = mask_of(size, size, (m, m, size - m, size - m), r)
    im = Image.new("RGBA", (size, size), (0, 0, 0, 0))
    im.paste(base, (0, 0), mask)
    k = Canvas(size, size)
    if size <= 16:
        # pixel-aligned at this size: white body, two rows of key dots and a space bar
        k.rect((2, 4, 14, 12), fill=WHITE + (255,), radius=1.5)
        for y in (6, 8):
            for x in range(4, 12, 2):
                k.rect((x, y, x + 1, y + 1), fill=BLUE + (255,))
        k.rect((5, 10, 11, 11), fill=BLUE + (255,))
    else:
        keyboard(k, (size * 0.16, size * 0.30, size * 0.84, size * 0.70), WHITE + (255,),
                 (40, 120, 232, 255), rows=3 if size >= 48 else 2, keys=8 if size >= 48 else 5)
    im.alpha_composite(k.final())
    if size >= 48:
        b = Canvas(size, size)
        cx, cy, rr = size * 0.76, size * 0.76, size * 0.19
        b.ellipse((cx - rr, cy - rr, cx + rr, cy + rr), fill=WHITE + (255,))
        check_mark(b, (cx - rr * 0.58, cy - rr * 0.55, cx + rr * 0.58, cy + rr * 0.58), (24, 150, 90, 255),
                   max(1.5, size * 0.035))
        im.alpha_composite(b.final())
    return im


def write_ico(path, images):
    """An .ico whose small entries are 32-bit DIBs (with AND mask) and whose 256-px entry is a PNG."""
    import io
    import struct
    blobs = []
    for im in images:
        w, h = im.size
        if w >= 256:
            buf = io.BytesIO()
            im.save(buf, "PNG", optimize=True)
            blobs.append(buf.getvalue())
            continue
        header = struct.pack("<IiiHHIIiiII", 40, w, h * 2, 1, 32, 0, 0, 0, 0, 0, 0)
        bgra = im.convert("RGBA").transpose(Image.FLIP_TOP_BOTTOM).tobytes("raw", "BGRA")
        row = ((w + 31) // 32) * 4
        mask = bytearray()
        alpha = im.getchannel("A").transpose(Image.FLIP_TOP_BOTTOM).load()
        for y in range(h):
            bits = bytearray(row)
            for x in range(w):
                if alpha[x, y] == 0:
                    bits[x // 8] |= 0x80 >> (x % 8)
            mask += bits
        blobs.append(header + bgra + bytes(mask))
    out = struct.pack("<HHH", 0, 1, len(images))
    offset = 6 + 16 * len(images)
    for im, blob in zip(images, blobs):
        w, h = im.size
        out += struct.pack("<BBBBHHII", w % 256, h % 256, 0, 0, 1, 32, len(blob), offset)
        offset += len(blob)
    with open(path, "wb") as f:
        f.write(out + b"".join(blobs))


def program_icon():
    images = [icon_image(s) for s in (16, 32, 48, 256)]
    write_ico(os.path.join(RES, "Corvina.ico"), images)
    written[128] = ("icon", images[-1])


# ---------------------------------------------------------------- contact sheet

def contact_sheet(path):
    ids = sorted(written)
    cols, pad = 4, 14
    thumbs = []
    for rid in ids:
        name, im = written[rid]
        im = im.convert("RGBA")
        scale = 2 if max(im.size) <= 60 else 1
        thumbs.append((rid, name, im.resize((im.width * scale, im.height * scale), Image.NEAREST)))
    rows = [thumbs[i:i + cols] for i in range(0, len(thumbs), cols)]
    width = max(sum(t[2].width + pad for t in row) for row in rows) + pad
    height = sum(max(t[2].height for t in row) + 30 for row in rows) + pad
    sheet = Image.new("RGBA", (width, height), (255, 255, 255, 255))
    # checkerboard shows transparency
    d = ImageDraw.Draw(sheet)
    for y in range(0, height, 10):
        for x in range(0, width, 10):
            if (x // 10 + y // 10) % 2:
                d.rectangle([x, y, x + 9, y + 9], fill=(222, 222, 222, 255))
    label_font = ImageFont.truetype(FONT_PATH, 12)
    y = pad
    for row in rows:
        x = pad
        for rid, name, im in row:
            d.text((x, y), "%d %s %dx%d" % (rid, name, written[rid][1].width, written[rid][1].height),
                   fill=(0, 0, 0, 255), font=label_font)
            sheet.alpha_composite(im, (x, y + 16))
            x += im.width + pad
        y += max(t[2].height for t in row) + 30
    sheet.convert("RGB").save(path)


def main():
    ap = argparse.ArgumentParser()
    ap.add_argument("--sheet", help="also write a contact sheet of every image to this PNG")
    args = ap.parse_args()
    os.makedirs(IMAGES, exist_ok=True)

    panel = process_marks(main_panel())
    save(139, "main_panel", panel, alpha=False)
    save(138, "main_background", main_background(panel), alpha=True)
    title_buttons(panel)
    repair_button()
    more_tools(panel)
    checkbox()
    progress()
    prompt()
    feedback()
    bubble()
    scrollbar_bitmap()
    program_icon()
    if args.sheet:
        contact_sheet(args.sheet)
    print("wrote %d images into %s" % (len(written), RES))


if __name__ == "__main__":
    main()
