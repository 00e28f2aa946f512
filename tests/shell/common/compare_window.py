# Compares a window dump (xwd) with a headless picture (ppm) of 800 x 600: "menu" wants
# them (almost) equal, "dialog" wants the middle changed, "race" wants most of the
# picture different. Pixels within a few levels per channel count as equal, since the
# window may convert the 16-bit colours a little differently.
# Usage: compare_window.py MODE WINDOW.xwd REFERENCE.ppm
import struct
import sys

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
    for y in range(height):
        row = pos + y * line
        for x in range(width):
            raw = int.from_bytes(data[row + step * x:row + step * (x + 1)], 'big' if byte_order else 'little')
            for c in range(3):
                out[3 * (y * width + x) + c] = (raw & masks[c]) >> shifts[c]
    return width, height, bytes(out)

def close(a, b, i):
    return all(abs(a[i + c] - b[i + c]) <= 12 for c in range(3))

mode = sys.argv[1]
ww, wh, window = read_xwd(sys.argv[2])
rw, rh, reference = read_ppm(sys.argv[3])
if (ww, wh) != (800, 600) or (rw, rh) != (800, 600):
    sys.exit("picture sizes %dx%d and %dx%d, expected 800x600" % (ww, wh, rw, rh))
if mode == "race":
    share = sum(1 for i in range(0, 3 * 800 * 600, 3) if close(window, reference, i)) / (800 * 600)
    print("race: %.2f%% of the window still matches the main menu" % (100 * share))
    sys.exit(0 if share <= 0.5 else "the window does not show a race")
if mode == "dialog":
    changed = 0
    for y in range(240, 360):
        for x in range(250, 550):
            i = 3 * (y * 800 + x)
            if not close(window, reference, i):
                changed += 1
    print("dialog: %d pixels of the middle differ from the menu" % changed)
    sys.exit(0 if changed >= 5000 else "Escape did not open the exit dialog")
share = sum(1 for i in range(0, 3 * 800 * 600, 3) if close(window, reference, i)) / (800 * 600)
print("main menu: %.2f%% of the window matches the headless picture" % (100 * share))
sys.exit(0 if share >= 0.98 else "the window does not show the main menu")
