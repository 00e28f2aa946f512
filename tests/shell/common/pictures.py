# Sourced by the shell tests' picture comparisons: a headless picture (ppm) and an X window
# dump (xwd), each as (width, height, RGB bytes).
import struct

def read_ppm(path):
    data = open(path, 'rb').read()
    fields, pos = [], 0
    while len(fields) < 4:
        while data[pos:pos + 1].isspace():
            pos += 1
        if data[pos:pos + 1] == b'#':
            pos = data.index(b'\n', pos)
            continue
        end = pos
        while not data[end:end + 1].isspace():
            end += 1
        fields.append(data[pos:end])
        pos = end
    assert fields[0] == b'P6' and fields[3] == b'255', fields
    w, h = int(fields[1]), int(fields[2])
    return w, h, data[pos + 1:pos + 1 + 3 * w * h]

# An X window dump: 25 big-endian header words, the window's name, the colour map, then
# the pixels; 24- and 32-bit true-colour pictures are turned into RGB bytes by their masks.
def read_xwd(path):
    data = open(path, 'rb').read()
    h = struct.unpack('>25I', data[:100])
    header_size, width, height, byte_order = h[0], h[4], h[5], h[7]
    bpp, line = h[11], h[12]
    masks = h[14:17]
    pos = header_size + 12 * h[19]
    shifts = [(m & -m).bit_length() - 1 for m in masks]
    step = bpp // 8
    out = bytearray(3 * width * height)
    if step == 4 and not byte_order and tuple(masks) == (0xFF0000, 0xFF00, 0xFF):
        # The usual little-endian BGRX: whole rows at a time.
        for y in range(height):
            row = data[pos + y * line:pos + y * line + 4 * width]
            for c in range(3):
                out[3 * y * width + c:3 * (y + 1) * width:3] = row[2 - c::4]
        return width, height, bytes(out)
    for y in range(height):
        row = pos + y * line
        for x in range(width):
            raw = int.from_bytes(data[row + step * x:row + step * (x + 1)], 'big' if byte_order else 'little')
            for c in range(3):
                out[3 * (y * width + x) + c] = (raw & masks[c]) >> shifts[c]
    return width, height, bytes(out)
