#!/bin/sh
# The window scale of the settings file under Xvfb: WindowScale 2 opens a 1600 x 1200 window
# whose picture, halved, is the 800 x 600 window's pixel for pixel (sharp scaling: every
# pixel a 2 x 2 block of one colour). Usage: desktop_scale.sh QUILLON_BINARY BUILD_DIR.
# Exit 77 skips (no Xvfb, xdotool, xwd or python3 here).
set -u
. "$(dirname "$0")/common/game_folder.sh"
. "$(dirname "$0")/common/xvfb.sh"
. "$(dirname "$0")/common/desktop_test.sh"
here=$(cd "$(dirname "$0")" && pwd)
game=$1
desktop_test_start "$2" xdotool xwd python3
printf '[Display]\nWindowScale = 2\n' > "$work/double.ini"

# inner.sh SCALE [SETTINGS]: runs the game with the settings file (else the player's own, in
# the test's config folder), waits for its window of the
# scale's size and keeps its picture in SCALE.xwd once the main menu stands still (two dumps
# a second apart alike); ends it with SIGTERM.
cat > "$work/inner.sh" <<INNER
#!/bin/sh
. "$here/common/game_window.sh"
SDL_AUDIODRIVER=dummy SDL_VIDEODRIVER=x11 XDG_CONFIG_HOME="$work/config" "$game" --root "$work/game" --window \
  \${2:+--settings} \${2:+"\$2"} > "$work/game\$1.log" 2>&1 &
pid=\$!
find_game_window 200
[ -n "\$window" ] || { echo "no window appeared"; kill -9 \$pid; exit 1; }
xdotool getwindowgeometry "\$window" > "$work/geometry\$1.txt" 2>/dev/null
xdotool windowfocus --sync "\$window" 2>/dev/null || xdotool windowfocus "\$window"
for _ in \$(seq 1 30); do
  sleep 1
  xwd -id "\$window" -silent > "$work/\$1.xwd"
  [ -f "$work/\$1.before" ] && cmp -s "$work/\$1.xwd" "$work/\$1.before" && break
  cp "$work/\$1.xwd" "$work/\$1.before"
done
kill -TERM \$pid
wait \$pid
INNER
chmod +x "$work/inner.sh"
start_xvfb "$work" 2048x1536x24 || exit 1

timeout 120 "$work/inner.sh" 1 "" || { cat "$work/game1.log"; exit 1; }
timeout 120 "$work/inner.sh" 2 "$work/double.ini" || { cat "$work/game2.log"; exit 1; }
grep -q "Geometry: 800x600" "$work/geometry1.txt" || { echo "WindowScale 1: wrong size:"; cat "$work/geometry1.txt"; exit 1; }
grep -q "Geometry: 1600x1200" "$work/geometry2.txt" || { echo "WindowScale 2: wrong size:"; cat "$work/geometry2.txt"; exit 1; }
grep -q "WindowScale = 1" "$work/config/quillon/quillon.ini" || { echo "the first start wrote no settings file"; exit 1; }
python3 "$here/common/compare_scaled.py" "$work/2.xwd" "$work/1.xwd" || exit 1
