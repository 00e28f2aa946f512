# A window of twice the size with sharp scaling: each pixel of the 1x window is a 2 x 2 block
# of one colour, so the picture halved is the 1x window pixel for pixel.
# Usage: compare_scaled.py WINDOW2X.xwd WINDOW1X.xwd
import os
import sys
sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from pictures import read_xwd

bw, bh, big = read_xwd(sys.argv[1])
sw, sh, small = read_xwd(sys.argv[2])
if (bw, bh) != (1600, 1200) or (sw, sh) != (800, 600):
    sys.exit("window sizes %dx%d and %dx%d, expected 1600x1200 and 800x600" % (bw, bh, sw, sh))
blocks = differ = 0
for y in range(600):
    top = big[3 * (2 * y) * 1600:3 * (2 * y + 1) * 1600]
    bottom = big[3 * (2 * y + 1) * 1600:3 * (2 * y + 2) * 1600]
    # The block's four pixels: even and odd columns of both rows.
    even = b"".join(top[6 * x:6 * x + 3] for x in range(800))
    if top != bottom or even != b"".join(top[6 * x + 3:6 * x + 6] for x in range(800)):
        blocks += 1
    if even != small[3 * y * 800:3 * (y + 1) * 800]:
        differ += 1
print("sharp 2x: %d rows of blocks not of one colour, %d rows differ from the 1x window" % (blocks, differ))
sys.exit(0 if blocks == 0 and differ == 0 else "the doubled window is not the 1x picture in whole pixels")
