# Compares a window dump (xwd) with a headless picture (ppm) of 800 x 600: "menu" wants
# them (almost) equal, "dialog" wants the middle changed, "race" wants most of the
# picture different. Pixels within a few levels per channel count as equal, since the
# window may convert the 16-bit colours a little differently.
# Usage: compare_window.py MODE WINDOW.xwd REFERENCE.ppm
import sys

import os
sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from pictures import read_ppm, read_xwd

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
