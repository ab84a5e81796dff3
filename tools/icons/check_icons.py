#!/usr/bin/python3
"""Check the structure of the committed .ico files, without the generator.

    python3 tools/icons/check_icons.py RES_DIR

Prints one line per fault, naming the file, the image and the value found,
and exits 1 if there is any.
"""

import struct
import sys

# (width and height, bits per pixel) of each image, in directory order.
EXPECTED = {
    'program.ico': [(32, 8), (16, 8), (48, 32), (32, 32), (16, 32)],
    'small.ico': [(16, 8), (16, 32)],
}

# How far an 8-bit image's colour may stray from the 32-bit image of the
# same size: the palette is built from the design's colours and their blends.
MAX_CHANNEL_DRIFT = 40


def decode(data, offset, size, bits):
    """Rows of (r, g, b, opaque) with opaque from alpha or the AND mask."""
    header = struct.unpack_from('<I', data, offset)[0]
    used = struct.unpack_from('<I', data, offset + 32)[0]
    table = offset + header
    pixels_at = table + ((used or 256) * 4 if bits == 8 else 0)
    stride = (size * bits // 8 + 3) // 4 * 4
    mask_at = pixels_at + stride * size
    mask_stride = (size + 31) // 32 * 4
    rows = []
    for y in range(size):
        line = pixels_at + (size - 1 - y) * stride
        mask = mask_at + (size - 1 - y) * mask_stride
        row = []
        for x in range(size):
            clear = bool(data[mask + x // 8] & (0x80 >> (x % 8)))
            if bits == 32:
                b, g, r, a = data[line + 4 * x:line + 4 * x + 4]
                row.append((r, g, b, a, clear))
            else:
                index = data[line + x]
                b, g, r = data[table + 4 * index:table + 4 * index + 3]
                row.append((r, g, b, index, clear))
        rows.append(row)
    return rows


def check_file(name, data):
    faults = []
    expected = EXPECTED[name]

    def fault(where, text):
        faults.append('%s %s: %s' % (name, where, text))

    if len(data) < 6:
        fault('header', 'file is %d bytes long' % len(data))
        return faults
    reserved, kind, count = struct.unpack_from('<HHH', data, 0)
    if (reserved, kind) != (0, 1):
        fault('header', 'reserved %d, type %d, expected 0 and 1' % (reserved, kind))
    if count != len(expected):
        fault('header', 'holds %d images, expected %d' % (count, len(expected)))
        return faults
    end_of_directory = 6 + 16 * count
    if len(data) < end_of_directory:
        fault('header', 'directory runs past the end of the file')
        return faults

    images = []
    next_offset = end_of_directory
    for i, (size, bits) in enumerate(expected):
        where = 'image %d (%dx%d %d-bit)' % (i + 1, size, size, bits)
        width, height, colours, reserved, planes, bit_count, length, offset = \
            struct.unpack_from('<BBBBHHII', data, 6 + 16 * i)
        for field, found, want in (('bWidth', width, size), ('bHeight', height, size),
                                   ('bColorCount', colours, 0), ('bReserved', reserved, 0),
                                   ('wPlanes', planes, 1), ('wBitCount', bit_count, bits),
                                   ('dwImageOffset', offset, next_offset)):
            if found != want:
                fault(where, '%s is %d, expected %d' % (field, found, want))
        next_offset = offset + length
        if offset + length > len(data) or length < 40:
            fault(where, 'data at %d, %d bytes, outside the %d byte file'
                  % (offset, length, len(data)))
            continue
        if data[offset:offset + 4] == b'\x89PNG':
            fault(where, 'is PNG-compressed')
            continue
        (header, bi_width, bi_height, bi_planes, bi_bits, compression, _, _, _,
         used, _) = struct.unpack_from('<IiiHHIIiiII', data, offset)
        palette = (used or 256) if bi_bits == 8 else 0
        for field, found, want in (('biSize', header, 40), ('biWidth', bi_width, size),
                                   ('biHeight', bi_height, 2 * size),
                                   ('biPlanes', bi_planes, 1), ('biBitCount', bi_bits, bits),
                                   ('biCompression', compression, 0)):
            if found != want:
                fault(where, '%s is %d, expected %d' % (field, found, want))
        if bi_bits == 8 and not 0 <= used <= 256:
            fault(where, 'biClrUsed is %d' % used)
        if bi_bits != bits or bi_width != size or header != 40:
            continue
        stride = (size * bits // 8 + 3) // 4 * 4
        want_length = 40 + 4 * palette + stride * size + (size + 31) // 32 * 4 * size
        if length != want_length:
            fault(where, 'dwBytesInRes is %d, expected %d' % (length, want_length))
            continue
        images.append((where, size, bits, decode(data, offset, size, bits), palette))
    if next_offset != len(data) and not faults:
        fault('directory', 'images end at %d, the file at %d' % (next_offset, len(data)))
    if not faults:
        check_pixels(images, fault)
    return faults


def check_pixels(images, fault):
    """The masks match the alpha, corners are clear, 8-bit follows 32-bit."""
    by_size = {}
    for where, size, bits, rows, palette in images:
        for x, y in ((0, 0), (size - 1, 0), (0, size - 1), (size - 1, size - 1)):
            if not rows[y][x][4]:
                fault(where, 'corner pixel (%d, %d) is not transparent' % (x, y))
        for y, row in enumerate(rows):
            for x, (r, g, b, value, clear) in enumerate(row):
                if bits == 32 and clear != (value == 0):
                    fault(where, 'pixel (%d, %d) has alpha %d but mask bit %d'
                          % (x, y, value, clear))
                    return
                if bits == 8 and value >= palette:
                    fault(where, 'pixel (%d, %d) uses colour %d of %d'
                          % (x, y, value, palette))
                    return
        by_size.setdefault(size, {})[bits] = (where, rows)
    for size, pair in sorted(by_size.items()):
        if 8 not in pair or 32 not in pair:
            continue
        where, indexed = pair[8]
        _, true_colour = pair[32]
        for y in range(size):
            for x in range(size):
                r, g, b, _, clear = indexed[y][x]
                tr, tg, tb, alpha, _ = true_colour[y][x]
                if clear != (alpha < 128):
                    fault(where, 'pixel (%d, %d) %s but the 32-bit alpha is %d'
                          % (x, y, 'clear' if clear else 'opaque', alpha))
                    return
                drift = max(abs(r - tr), abs(g - tg), abs(b - tb))
                if not clear and drift > MAX_CHANNEL_DRIFT:
                    fault(where, 'pixel (%d, %d) is #%02x%02x%02x, the 32-bit one '
                          '#%02x%02x%02x' % (x, y, r, g, b, tr, tg, tb))
                    return


def main(argv):
    if len(argv) != 1:
        sys.stderr.write('usage: check_icons.py RES_DIR\n')
        return 2
    faults = []
    for name in EXPECTED:
        path = '%s/%s' % (argv[0], name)
        try:
            with open(path, 'rb') as f:
                data = f.read()
        except OSError as error:
            faults.append('%s: %s' % (name, error))
            continue
        found = check_file(name, data)
        faults += found
        if not found:
            print('ok: %s' % name)
    for line in faults:
        sys.stderr.write('FAULT: %s\n' % line)
    return 1 if faults else 0


if __name__ == '__main__':
    sys.exit(main(sys.argv[1:]))
