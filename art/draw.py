"""Drawing helpers shared by the artwork generator: supersampled canvases, soft shadows, text."""
from PIL import Image, ImageDraw, ImageFilter, ImageFont

# Debian's fonts-wqy-microhei; one regular weight, emboldened with a stroke where a caption needs it.
FONT_PATH = "/usr/share/fonts/truetype/wqy/wqy-microhei.ttc"
FONT_INDEX = 0  # "WenQuanYi Micro Hei" (proportional Latin)

SS = 4  # supersampling factor: shapes are drawn 4x larger and reduced, for smooth edges


def font(px):
    return ImageFont.truetype(FONT_PATH, int(round(px * SS)), index=FONT_INDEX)


class Canvas:
    """An RGBA layer drawn at SS times the final size; coordinates are given in final pixels."""

    def __init__(self, w, h, fill=(0, 0, 0, 0)):
        self.w, self.h = w, h
        self.im = Image.new("RGBA", (w * SS, h * SS), fill)
        self.d = ImageDraw.Draw(self.im)

    @staticmethod
    def _box(box):
        return [v * SS for v in box]

    def rect(self, box, fill, radius=0, outline=None, width=1.0):
        """A rectangle covering exactly [x0, x1) x [y0, y1) in final pixels."""
        w = int(round(width * SS)) if outline else 0
        x0, y0, x1, y1 = self._box(box)
        box = [x0, y0, x1 - 1, y1 - 1]
        if radius:
            self.d.rounded_rectangle(box, radius=radius * SS, fill=fill, outline=outline, width=w)
        else:
            self.d.rectangle(box, fill=fill, outline=outline, width=w)

    def ellipse(self, box, fill=None, outline=None, width=1.0):
        self.d.ellipse(self._box(box), fill=fill, outline=outline,
                       width=int(round(width * SS)) if outline else 0)

    def line(self, points, fill, width=1.0):
        self.d.line([(x * SS, y * SS) for x, y in points], fill=fill, width=int(round(width * SS)), joint="curve")
        r = width * SS / 2.0  # round caps
        for x, y in (points[0], points[-1]):
            self.d.ellipse([x * SS - r, y * SS - r, x * SS + r, y * SS + r], fill=fill)

    def polygon(self, points, fill):
        self.d.polygon([(x * SS, y * SS) for x, y in points], fill=fill)

    def text(self, center, s, px, fill, bold=0.0, anchor="mm"):
        """Draws s centred on center (final pixels); bold is extra stroke in final pixels."""
        x, y = center
        self.d.text((x * SS, y * SS), s, font=font(px), fill=fill, anchor=anchor,
                    stroke_width=int(round(bold * SS)), stroke_fill=fill)

    def text_width(self, s, px):
        return self.d.textlength(s, font=font(px)) / SS

    def paste(self, layer, xy=(0, 0)):
        """Composites another Canvas (same supersampling) at xy final pixels."""
        self.im.alpha_composite(layer.im, (xy[0] * SS, xy[1] * SS))

    def composite_image(self, im, xy=(0, 0)):
        """Composites a final-size RGBA image, enlarged to supersampled size."""
        big = im.resize((im.width * SS, im.height * SS), Image.NEAREST)
        self.im.alpha_composite(big, (xy[0] * SS, xy[1] * SS))

    def final(self):
        small = self.im.convert("RGBa").resize((self.w, self.h), Image.BOX)
        return small.convert("RGBA")


def vertical_gradient(w, h, top, bottom):
    """An RGBA image whose colour runs from top to bottom (colour tuples, 3 or 4 components)."""
    top = tuple(top) + (255,) * (4 - len(top))
    bottom = tuple(bottom) + (255,) * (4 - len(bottom))
    col = Image.new("RGBA", (1, h))
    for y in range(h):
        t = y / max(1, h - 1)
        col.putpixel((0, y), tuple(int(round(a + (b - a) * t)) for a, b in zip(top, bottom)))
    return col.resize((w, h), Image.NEAREST)


def diagonal_gradient(w, h, a, b):
    """Colour a at the top left running to colour b at the bottom right."""
    ramp = Image.new("L", (w, h))
    px = ramp.load()
    for y in range(h):
        for x in range(w):
            px[x, y] = int(255 * (x + y) / max(1, w + h - 2))
    return Image.composite(Image.new("RGBA", (w, h), tuple(b) + (255,)),
                           Image.new("RGBA", (w, h), tuple(a) + (255,)), ramp)


def soft_shadow(w, h, box, color, opacity, blur, radius=0, offset=(0, 0)):
    """A final-size RGBA layer holding a blurred shape (box in final pixels) of the given colour."""
    mask = Image.new("L", (w * SS, h * SS), 0)
    d = ImageDraw.Draw(mask)
    x0, y0, x1, y1 = [v * SS for v in box]
    ox, oy = offset[0] * SS, offset[1] * SS
    shape = [x0 + ox, y0 + oy, x1 + ox, y1 + oy]
    if radius:
        d.rounded_rectangle(shape, radius=radius * SS, fill=int(255 * opacity))
    else:
        d.rectangle(shape, fill=int(255 * opacity))
    mask = mask.filter(ImageFilter.GaussianBlur(blur * SS)).resize((w, h), Image.BOX)
    layer = Image.new("RGBA", (w, h), tuple(color) + (0,))
    layer.putalpha(mask)
    return layer


def mask_of(w, h, box, radius):
    """A final-size L mask of a (rounded) rectangle, anti-aliased."""
    m = Image.new("L", (w * SS, h * SS), 0)
    d = ImageDraw.Draw(m)
    if radius:
        d.rounded_rectangle([v * SS for v in box], radius=radius * SS, fill=255)
    else:
        d.rectangle([v * SS for v in box], fill=255)
    return m.resize((w, h), Image.BOX)


def flat(im):
    """Drops the alpha channel of an image known to be opaque."""
    return im.convert("RGB")
