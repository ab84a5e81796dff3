#!/usr/bin/python3
"""Draw Shelf Cloak's icon and write it as Windows .ico files.

The artwork is described here as shapes and colours and rendered by a small
supersampling rasteriser, so the icons can be rebuilt and reviewed like code:

    python3 tools/icons/make_icons.py [--out DIR] [--preview DIR]

writes program.ico and small.ico into DIR (default: the repository's res/),
and with --preview also PNG enlargements of every image on a light and a dark
background.

The glyph is a monitor whose taskbar strip is being covered by a purple cloak
draped over the bottom right of the screen. Each size has its own layout with
edges placed on the pixel grid, so the 16 pixel images stay crisp instead of
being a blurred copy of the large one.

The output is byte-identical from run to run and machine to machine: the
geometry uses only +, -, *, / and sqrt (all exactly rounded in IEEE double
arithmetic, unlike a library's sin or cos), colours are mixed in integers, and
nothing depends on time, hashing or set order.
"""

import argparse
import math
import os
import struct
import sys
import zlib

import check_icons

# Samples per pixel along each axis; 64 coverage levels per pixel.
SUPERSAMPLE = 8

# The design's colours, in the order they enter the 8-bit palette.
OUTLINE = (0x17, 0x1B, 0x26)
BEZEL = (0x6B, 0x77, 0x8C)
SCREEN = (0x2F, 0x86, 0xE0)
SHEEN = (0x5C, 0xA6, 0xF0)
TASKBAR = (0xE4, 0xEC, 0xF6)
CLOAK = (0x7A, 0x32, 0xC0)
CLOAK_LIGHT = (0xA5, 0x6B, 0xE6)
CLOAK_DARK = (0x52, 0x1D, 0x8A)
LINING = (0xF0, 0xB4, 0x3C)
DESIGN_COLOURS = [OUTLINE, BEZEL, SCREEN, SHEEN, TASKBAR, CLOAK, CLOAK_LIGHT,
                  CLOAK_DARK, LINING]

# Control-point distance of a cubic Bezier quarter circle, per unit radius.
KAPPA = 0.5522847498


# ---------------------------------------------------------------- geometry

class Path:
    """Closed contours made of lines and Bezier curves, flattened as built."""

    CURVE_STEPS = 16

    def __init__(self):
        self.contours = []

    def move(self, x, y):
        self.contours.append([(x, y)])
        return self

    def line(self, x, y):
        self.contours[-1].append((x, y))
        return self

    def quad(self, cx, cy, x, y):
        x0, y0 = self.contours[-1][-1]
        for i in range(1, self.CURVE_STEPS + 1):
            t = i / self.CURVE_STEPS
            u = 1 - t
            self.contours[-1].append((u * u * x0 + 2 * u * t * cx + t * t * x,
                                      u * u * y0 + 2 * u * t * cy + t * t * y))
        return self

    def cubic(self, c1x, c1y, c2x, c2y, x, y):
        x0, y0 = self.contours[-1][-1]
        for i in range(1, self.CURVE_STEPS + 1):
            t = i / self.CURVE_STEPS
            u = 1 - t
            a, b, c, d = u * u * u, 3 * u * u * t, 3 * u * t * t, t * t * t
            self.contours[-1].append((a * x0 + b * c1x + c * c2x + d * x,
                                      a * y0 + b * c1y + c * c2y + d * y))
        return self


def rect(x0, y0, x1, y1, r=0):
    """A rectangle, with corners rounded to radius r."""
    p = Path()
    if r <= 0:
        return p.move(x0, y0).line(x1, y0).line(x1, y1).line(x0, y1)
    k = r * KAPPA
    p.move(x0 + r, y0).line(x1 - r, y0)
    p.cubic(x1 - r + k, y0, x1, y0 + r - k, x1, y0 + r).line(x1, y1 - r)
    p.cubic(x1, y1 - r + k, x1 - r + k, y1, x1 - r, y1).line(x0 + r, y1)
    p.cubic(x0 + r - k, y1, x0, y1 - r + k, x0, y1 - r).line(x0, y0 + r)
    return p.cubic(x0, y0 + r - k, x0 + r - k, y0, x0 + r, y0)


def polygon(*points):
    p = Path().move(*points[0])
    for x, y in points[1:]:
        p.line(x, y)
    return p


class Canvas:
    """A supersampled image holding one design colour (or None) per sample."""

    def __init__(self, size):
        self.size = size
        self.n = size * SUPERSAMPLE
        self.samples = [[None] * self.n for _ in range(self.n)]

    def fill(self, path, colour):
        """Paint the samples inside path (nonzero winding) with colour."""
        s = SUPERSAMPLE
        edges = []
        for contour in path.contours:
            for i, (x0, y0) in enumerate(contour):
                x1, y1 = contour[(i + 1) % len(contour)]
                if y0 != y1:
                    edges.append((x0 * s, y0 * s, x1 * s, y1 * s))
        if not edges:
            return
        top = min(min(e[1], e[3]) for e in edges)
        bottom = max(max(e[1], e[3]) for e in edges)
        first = max(0, int(top))
        last = min(self.n, int(bottom) + 2)
        for row in range(first, last):
            y = row + 0.5
            crossings = []
            for x0, y0, x1, y1 in edges:
                if y0 <= y < y1:
                    crossings.append((x0 + (y - y0) * (x1 - x0) / (y1 - y0), 1))
                elif y1 <= y < y0:
                    crossings.append((x0 + (y - y0) * (x1 - x0) / (y1 - y0), -1))
            crossings.sort()
            winding = 0
            line = self.samples[row]
            for x, direction in crossings:
                before = winding
                winding += direction
                if before == 0 and winding != 0:
                    start = x
                elif before != 0 and winding == 0:
                    a = max(0, _first_sample_at_or_after(start))
                    b = min(self.n, _first_sample_at_or_after(x))
                    if a < b:
                        line[a:b] = [colour] * (b - a)

    def stroke(self, points, width, colour):
        """Paint a polyline of the given width with round joins and caps."""
        half = width / 2
        for x, y in points:
            self.fill(disc(x, y, half), colour)
        for (x0, y0), (x1, y1) in zip(points, points[1:]):
            dx, dy = x1 - x0, y1 - y0
            length = math.sqrt(dx * dx + dy * dy)
            if length == 0:
                continue
            nx, ny = -dy / length * half, dx / length * half
            self.fill(polygon((x0 + nx, y0 + ny), (x1 + nx, y1 + ny),
                              (x1 - nx, y1 - ny), (x0 - nx, y0 - ny)), colour)

    def pixels(self):
        """Average the samples: rows of straight-alpha (r, g, b, a) pixels."""
        s = SUPERSAMPLE
        total = s * s
        out = []
        for py in range(self.size):
            band = self.samples[py * s:(py + 1) * s]
            row = []
            for px in range(self.size):
                r = g = b = count = 0
                for line in band:
                    for c in line[px * s:(px + 1) * s]:
                        if c is not None:
                            r += c[0]
                            g += c[1]
                            b += c[2]
                            count += 1
                if count == 0:
                    row.append((0, 0, 0, 0))
                else:
                    half = count // 2
                    row.append(((r + half) // count, (g + half) // count,
                                (b + half) // count,
                                (count * 255 + total // 2) // total))
            out.append(row)
        return out


def _first_sample_at_or_after(x):
    """Index of the first sample whose centre (i + 0.5) is at or after x."""
    return math.ceil(x - 0.5)


def disc(cx, cy, r):
    return rect(cx - r, cy - r, cx + r, cy + r, r)


def points_of(path):
    return path.contours[0]


# ------------------------------------------------------------------ design
#
# A monitor with a slate bezel inside a dark outline, so it holds its shape
# on a light taskbar (the outline) and on a dark one (the bezel and screen).
# The light strip along the screen's bottom is the taskbar; a purple cloak is
# drawn over most of it, its leading corner turned back to show the lining
# and its scalloped hem falling past the bezel.

# The monitor in whole pixels at each large size. ow: outline width, bezel:
# side and top bezel, chin: bottom bezel, bar: the taskbar's height.
MONITORS = {
    48: dict(body=(2, 4, 46, 35), radius=4, ow=2, bezel=2, chin=3, bar=5,
             stand=[(19, 33, 29, 40, 0), (12, 38, 36, 44, 2)]),
    32: dict(body=(1, 3, 31, 24), radius=3, ow=1, bezel=2, chin=2, bar=4,
             stand=[(12, 23, 20, 27, 0), (8, 26, 24, 30, 1)]),
}
# Widths of the cloak's outline and of the line along its turned-back corner;
# the cloak itself is drawn in 48-pixel units and scaled.
CLOAK_LINES = {48: (2, 1.5), 32: (1.5, 1)}


def monitor(c, body, radius, ow, bezel, chin, bar, stand, start):
    """Outline, bezel, screen and taskbar, all edges on whole pixels.

    stand: (x0, y0, x1, y1, radius) parts, each outlined and filled with the
    bezel colour where it is wide enough.
    """
    for x0, y0, x1, y1, r in stand:
        c.fill(rect(x0, y0, x1, y1, r), OUTLINE)
        if x1 - x0 > 2 * ow and y1 - y0 > 2 * ow:
            c.fill(rect(x0 + ow, y0 + ow, x1 - ow, y1 - ow, max(0, r - ow)), BEZEL)
    x0, y0, x1, y1 = body
    c.fill(rect(x0, y0, x1, y1, r=radius), OUTLINE)
    c.fill(rect(x0 + ow, y0 + ow, x1 - ow, y1 - ow, r=max(0, radius - ow)), BEZEL)
    sx0, sy0, sx1, sy1 = x0 + ow + bezel, y0 + ow + bezel, x1 - ow - bezel, y1 - ow - chin
    c.fill(rect(sx0, sy0, sx1, sy1), SCREEN)
    c.fill(polygon((sx0, sy0), (sx0 + (sx1 - sx0) * 0.55, sy0),
                   (sx0, sy1 - bar - (sy1 - sy0) * 0.15)), SHEEN)
    c.fill(rect(sx0, sy1 - bar, sx1, sy1), TASKBAR)
    if start:
        c.fill(rect(*start), SCREEN)


def draw_large(size):
    """The 48 and 32 pixel artwork."""
    c = Canvas(size)
    layout = MONITORS[size]
    monitor(c, start=_start_button(layout), **layout)
    line, lining_line = CLOAK_LINES[size]
    u = size / 48

    def at(*xy):
        return tuple(v * u for v in xy)

    # The cloak's right side lies one pixel outside the monitor with its
    # outline's outer edge on a pixel boundary, so that long edge stays crisp.
    right = (layout['body'][2] + 1 - line / 2) / u
    left = 17.5
    cloak = Path().move(*at(left, 38.5))
    cloak.cubic(*at(16.5, 32), *at(18, 25), *at(21, 21.5))
    cloak.cubic(*at(28, 19), *at(32, 24), *at(37, 21.5))
    cloak.quad(*at(41, 19.5), *at(right, 19.5))
    cloak.line(*at(right, 38))
    scallop = (right - left) / 4
    for i in range(4):
        x = right - i * scallop
        cloak.quad(*at(x - scallop / 2, 42), *at(x - scallop, 38 + (i == 3) * 0.5))
    c.fill(cloak, CLOAK)
    # Folds run from the crests of the top edge down to the hem's cusps.
    for top, bottom, colour, width in (((31, 24.5), (31.75, 38.5), CLOAK_DARK, 1.6),
                                       ((38.5, 22), (38.9, 38.5), CLOAK_DARK, 1.6),
                                       ((42.5, 22), (43.2, 36.5), CLOAK_LIGHT, 1.3),
                                       ((25, 27), (24.6, 38.5), CLOAK_LIGHT, 1.3)):
        fold = Path().move(*at(*top))
        fold.quad(*at(top[0] + 0.5, (top[1] + bottom[1]) / 2), *at(*bottom))
        c.stroke(points_of(fold), width * u, colour)
    # The leading corner is turned back to show the lining.
    lining = Path().move(*at(21, 21.5))
    lining.quad(*at(25.5, 21.5), *at(28.5, 22.5))
    fold_edge = len(points_of(lining)) - 1
    lining.quad(*at(24, 25), *at(19, 30.5))
    lining.quad(*at(19, 25), *at(21, 21.5))
    c.fill(lining, LINING)
    outline = points_of(cloak)
    c.stroke(outline + outline[:1], line, OUTLINE)
    c.stroke(points_of(lining)[fold_edge:fold_edge + Path.CURVE_STEPS + 1],
             lining_line, OUTLINE)
    return c.pixels()


def _start_button(layout):
    """The start button: a screen-blue chip at the taskbar's left end."""
    x0, _, _, y1 = layout['body']
    sx0 = x0 + layout['ow'] + layout['bezel']
    sy1 = y1 - layout['ow'] - layout['chin']
    bar = layout['bar']
    inset = 1 if bar <= 4 else 1.5
    return (sx0 + inset + 0.5, sy1 - bar + inset, sx0 + inset + 0.5 + bar * 0.9, sy1 - inset)


def draw_small():
    """The 16 pixel artwork: the same design reduced to whole pixels."""
    c = Canvas(16)
    monitor(c, body=(0, 1, 16, 13), radius=1, ow=1, bezel=1, chin=1, bar=2,
            stand=[(5, 12, 11, 15, 0), (3, 14, 13, 16, 0)], start=None)
    # (x0, y0, x1, y1) runs of the cloak: its outline, then what it covers.
    for colour, runs in (
            (OUTLINE, [(10, 4, 16, 5), (8, 5, 16, 6), (7, 6, 16, 7), (6, 7, 16, 13)]),
            (CLOAK, [(11, 5, 15, 6), (8, 6, 15, 7), (7, 7, 15, 12)]),
            (LINING, [(8, 6, 10, 7), (7, 7, 8, 9)]),
            (CLOAK_DARK, [(11, 7, 12, 12)]),
            (CLOAK_LIGHT, [(13, 6, 14, 11)]),
            (OUTLINE, [(9, 11, 10, 12), (12, 11, 13, 12)])):
        for run in runs:
            c.fill(rect(*run), colour)
    return c.pixels()


# ----------------------------------------------------------------- palette

def build_palette():
    """The 8-bit palette: black, the design's colours, then their blends.

    Blends at a quarter, half and three quarters let edges inside the glyph
    keep some smoothing in the 256-colour images.
    """
    palette = [(0, 0, 0)]
    for colour in DESIGN_COLOURS:
        if colour not in palette:
            palette.append(colour)
    for i, a in enumerate(DESIGN_COLOURS):
        for b in DESIGN_COLOURS[i + 1:]:
            for w in (1, 2, 3):
                mix = tuple((a[k] * (4 - w) + b[k] * w + 2) // 4 for k in range(3))
                if mix not in palette:
                    palette.append(mix)
    assert len(palette) <= 256
    return palette + [(0, 0, 0)] * (256 - len(palette))


def nearest(palette, colour):
    """Index of the closest palette colour; ties go to the lower index."""
    best, best_index = None, 0
    for index, p in enumerate(palette):
        dr, dg, db = p[0] - colour[0], p[1] - colour[1], p[2] - colour[2]
        d = 2 * dr * dr + 4 * dg * dg + 3 * db * db
        if best is None or d < best:
            best, best_index = d, index
    return best_index


def quantise(pixels, palette):
    """Rows of palette indices, or None for transparent (under half alpha)."""
    cache = {}
    out = []
    for row in pixels:
        line = []
        for r, g, b, a in row:
            if a < 128:
                line.append(None)
            else:
                key = (r, g, b)
                if key not in cache:
                    cache[key] = nearest(palette, key)
                line.append(cache[key])
        out.append(line)
    return out


# --------------------------------------------------------------------- ICO

def and_mask(transparent_rows, size):
    """The 1-bit mask, bottom-up, set where the pixel is transparent."""
    stride = (size + 31) // 32 * 4
    data = bytearray()
    for row in reversed(transparent_rows):
        bits = bytearray(stride)
        for x, clear in enumerate(row):
            if clear:
                bits[x // 8] |= 0x80 >> (x % 8)
        data += bits
    return bytes(data)


def bitmap_header(size, bits, image_bytes, colours_used):
    return struct.pack('<IiiHHIIiiII', 40, size, size * 2, 1, bits, 0,
                       image_bytes, 0, 0, colours_used, 0)


def dib_32(pixels):
    size = len(pixels)
    xor = bytearray()
    for row in reversed(pixels):
        for r, g, b, a in row:
            # Straight (not premultiplied) alpha; fully clear pixels are zero.
            xor += bytes((b, g, r, a)) if a else bytes(4)
    mask = and_mask([[p[3] == 0 for p in row] for row in pixels], size)
    return bitmap_header(size, 32, len(xor) + len(mask), 0) + bytes(xor) + mask


def dib_8(pixels, palette):
    size = len(pixels)
    indices = quantise(pixels, palette)
    stride = (size + 3) // 4 * 4
    xor = bytearray()
    for row in reversed(indices):
        line = bytearray(stride)
        for x, index in enumerate(row):
            line[x] = 0 if index is None else index
        xor += line
    mask = and_mask([[i is None for i in row] for row in indices], size)
    table = b''.join(bytes((b, g, r, 0)) for r, g, b in palette)
    return (bitmap_header(size, 8, len(xor) + len(mask), len(palette)) + table
            + bytes(xor) + mask)


def ico(images):
    """images: (size, bit count, DIB bytes) in directory order."""
    header = struct.pack('<HHH', 0, 1, len(images))
    offset = 6 + 16 * len(images)
    directory = b''
    for size, bits, dib in images:
        directory += struct.pack('<BBBBHHII', size, size, 0, 0, 1, bits,
                                 len(dib), offset)
        offset += len(dib)
    return header + directory + b''.join(dib for _, _, dib in images)


# ------------------------------------------------------------------ output

PROGRAM_ICON = [(32, 8), (16, 8), (48, 32), (32, 32), (16, 32)]
SMALL_ICON = [(16, 8), (16, 32)]


def render_all():
    art = {48: draw_large(48), 32: draw_large(32), 16: draw_small()}
    palette = build_palette()

    def encode(layout):
        images = []
        for size, bits in layout:
            dib = dib_8(art[size], palette) if bits == 8 else dib_32(art[size])
            images.append((size, bits, dib))
        return images

    return {'program.ico': ico(encode(PROGRAM_ICON)),
            'small.ico': ico(encode(SMALL_ICON))}


def png(width, height, rows):
    """A minimal RGB PNG from rows of (r, g, b)."""
    def chunk(kind, data):
        body = kind + data
        return struct.pack('>I', len(data)) + body + struct.pack(
            '>I', zlib.crc32(body) & 0xFFFFFFFF)
    raw = b''.join(b'\0' + bytes(v for p in row for v in p) for row in rows)
    return (b'\x89PNG\r\n\x1a\n'
            + chunk(b'IHDR', struct.pack('>IIBBBBB', width, height, 8, 2, 0, 0, 0))
            + chunk(b'IDAT', zlib.compress(raw, 9)) + chunk(b'IEND', b''))


LIGHT, DARK = (0xF3, 0xF3, 0xF3), (0x20, 0x20, 0x24)


def decode_ico(data):
    """The images of an .ico file as rows of (r, g, b, a), for previews.

    Previews are drawn from the encoded bytes, not from the artwork, so they
    show what Windows will be handed.
    """
    count = struct.unpack_from('<H', data, 4)[0]
    images = []
    for i in range(count):
        _, _, _, _, _, bits, _, offset = struct.unpack_from('<BBBBHHII', data, 6 + 16 * i)
        size = struct.unpack_from('<i', data, offset + 4)[0]
        rows = [[(r, g, b, a if bits == 32 else (0 if clear else 255))
                 for r, g, b, a, clear in row]
                for row in check_icons.decode(data, offset, size, bits)]
        images.append((size, bits, rows))
    return images


def blend(pixel, background):
    r, g, b, a = pixel
    return tuple((v * a + back * (255 - a) + 127) // 255
                 for v, back in zip((r, g, b), background))


def preview(pixels):
    """The image enlarged, on a light background and beside it a dark one."""
    size = len(pixels)
    scale = max(8, 384 // size)
    rows = []
    for y in range(size * scale):
        row = []
        for background in (LIGHT, DARK):
            row += [blend(pixels[y // scale][x // scale], background)
                    for x in range(size * scale)]
        rows.append(row)
    return png(size * scale * 2, size * scale, rows)


def sheet(images, scales=(1, 2)):
    """Every image side by side at small scales, on a light and a dark band."""
    gap = 8
    width = gap + sum((size * k + gap) for k in scales for size, _, _ in images)
    band = gap * 2 + max(size for size, _, _ in images) * max(scales)
    rows = []
    for background in (LIGHT, DARK):
        band_rows = [[background] * width for _ in range(band)]
        x0 = gap
        for k in scales:
            for size, _, pixels in images:
                for y in range(size * k):
                    for x in range(size * k):
                        band_rows[gap + y][x0 + x] = blend(pixels[y // k][x // k], background)
                x0 += size * k + gap
        rows += band_rows
    return png(width, len(rows), rows)


def main(argv):
    here = os.path.dirname(os.path.abspath(__file__))
    parser = argparse.ArgumentParser(description=__doc__.split('\n')[0])
    parser.add_argument('--out', default=os.path.join(here, '..', '..', 'res'),
                        help='where program.ico and small.ico go')
    parser.add_argument('--preview', metavar='DIR',
                        help='also write enlarged PNG previews here')
    args = parser.parse_args(argv)

    files = render_all()
    os.makedirs(args.out, exist_ok=True)
    for name, data in files.items():
        with open(os.path.join(args.out, name), 'wb') as f:
            f.write(data)
    if args.preview:
        os.makedirs(args.preview, exist_ok=True)
        everything = []
        for name, data in files.items():
            for i, (size, bits, pixels) in enumerate(decode_ico(data)):
                everything.append((size, bits, pixels))
                path = os.path.join(args.preview, '%s_%d_%dx%d_%dbit.png' % (
                    name[:-4], i + 1, size, size, bits))
                with open(path, 'wb') as f:
                    f.write(preview(pixels))
        with open(os.path.join(args.preview, 'sheet.png'), 'wb') as f:
            f.write(sheet(everything))
    return 0


if __name__ == '__main__':
    sys.exit(main(sys.argv[1:]))
