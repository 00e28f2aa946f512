#!/bin/sh
# The desktop game under Xvfb shows the main menu (its window matches the headless
# driver's picture of the same menu), and Escape then Y, pressed as real keys, end the
# game with status 0 after saving. Usage: desktop_menu.sh QUILLON_BINARY BUILD_DIR.
# Exit 77 skips (no Xvfb, xdotool, xwd, netpbm or python3 here).
set -u
. "$(dirname "$0")/common/game_folder.sh"
. "$(dirname "$0")/common/xvfb.sh"
game=$1
for tool in Xvfb xdotool xwd pngtopnm pamdepth python3; do
  command -v $tool >/dev/null 2>&1 || { echo "$tool not installed: skipping"; exit 77; }
done

# The X11, GL and D-Bus client libraries keep allocations to the end of the process.
export ASAN_OPTIONS="${ASAN_OPTIONS:-}:detect_leaks=0"

work=$(mktemp -d)
trap 'stop_xvfb; rm -rf "$work"' EXIT
make_game_folder "$work/game" "$2"

# The same menu drawn by the headless driver, long after its buttons have faded in.
printf '150 shot %s/reference.png\n' "$work" > "$work/reference.txt"
"$game" --headless --frames 151 --root "$work/game" --script "$work/reference.txt" > "$work/headless.log" 2>&1 ||
  { echo "the headless reference run failed"; cat "$work/headless.log"; exit 1; }
rm -rf "$work/game/Data/Save"

# Compares a window dump with the headless picture: "menu" wants them (almost) equal,
# "dialog" wants the middle changed. Pixels within a few levels per channel count as
# equal, since the window may convert the 16-bit colours a little differently.
cat > "$work/compare.py" <<'PY'
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
PY
pngtopnm "$work/reference.png" | pamdepth 255 > "$work/reference.ppm" || exit 1

cat > "$work/inner.sh" <<INNER
#!/bin/sh
SDL_AUDIODRIVER=dummy SDL_VIDEODRIVER=x11 "$game" --root "$work/game" > "$work/game.log" 2>&1 &
pid=\$!
window=""
# Wait until the game's visible window answers (SDL may make and drop helper windows first).
for i in \$(seq 1 200); do
  window=\$(xdotool search --onlyvisible --classname quillon 2>/dev/null | head -n 1)
  if [ -n "\$window" ] && xdotool getwindowname "\$window" > /dev/null 2>&1; then
    break
  fi
  window=""
  sleep 0.1
done
[ -n "\$window" ] || { echo "no window appeared"; kill -9 \$pid; exit 1; }
# The game runs only while its window has the focus.
xdotool windowfocus --sync "\$window" 2>/dev/null || xdotool windowfocus "\$window"
# Wait for the buttons to fade in: a loaded machine may take a while.
shown=""
for i in \$(seq 1 20); do
  sleep 1
  xwd -id "\$window" -silent > "$work/window.xwd"
  python3 "$work/compare.py" menu "$work/window.xwd" "$work/reference.ppm" > "$work/menu.txt" 2>&1 && { shown=yes; break; }
done
[ -n "\$shown" ] || { echo "the main menu did not appear:"; cat "$work/menu.txt"; kill -9 \$pid; exit 1; }
# Keys are read once per frame: hold each for a few frames.
xdotool keydown Escape; sleep 0.3; xdotool keyup Escape
opened=""
for i in \$(seq 1 20); do
  sleep 0.5
  xwd -id "\$window" -silent > "$work/dialog.xwd"
  python3 "$work/compare.py" dialog "$work/dialog.xwd" "$work/reference.ppm" > "$work/dialog.txt" 2>&1 && { opened=yes; break; }
done
[ -n "\$opened" ] || { echo "Escape did not open the exit dialog:"; cat "$work/dialog.txt"; kill -9 \$pid; exit 1; }
xdotool keydown y; sleep 0.3; xdotool keyup y
for i in \$(seq 1 50); do
  kill -0 \$pid 2>/dev/null || break
  sleep 0.1
done
if kill -0 \$pid 2>/dev/null; then echo "Escape and Y did not end the game"; kill -9 \$pid; exit 1; fi
wait \$pid
echo "exit status \$?" > "$work/status.txt"
INNER
chmod +x "$work/inner.sh"
start_xvfb "$work" || exit 1
timeout 120 "$work/inner.sh" || { cat "$work/game.log"; exit 1; }

grep -q "exit status 0" "$work/status.txt" || { echo "the game did not end with status 0:"; cat "$work/status.txt" "$work/game.log"; exit 1; }
[ -s "$work/game/Data/Save/options" ] || { echo "leaving the game did not save the options"; exit 1; }
cat "$work/menu.txt" "$work/dialog.txt"
echo "the main menu showed, and Escape then Y ended the game with status 0"
