#!/bin/sh
# The desktop game under Xvfb: started with --window its window opens at 800 x 600 with the
# game's title, started with --fullscreen it covers the screen; either way it presents
# frames, SIGTERM ends it through the orderly shutdown with status 0, and the screen mode
# saved in the options is the one it had before (the options say window). A window manager
# (openbox) runs on the X server, since full screen is the window manager's to grant.
# Usage: desktop_window.sh QUILLON_BINARY BUILD_DIR. Exit 77 skips (no Xvfb, xdotool, openbox or xprop here).
set -u
. "$(dirname "$0")/common/game_folder.sh"
. "$(dirname "$0")/common/xvfb.sh"
. "$(dirname "$0")/common/desktop_test.sh"
here=$(cd "$(dirname "$0")" && pwd)
game=$1
desktop_test_start "$2" xdotool openbox xprop
wm=""
trap '[ -n "$wm" ] && kill "$wm" 2>/dev/null; stop_xvfb; rm -rf "$work"' EXIT
cat > "$work/inner.sh" <<INNER
#!/bin/sh
. "$here/common/game_window.sh"
SDL_AUDIODRIVER=dummy "$game" --root "$work/game" "\$1" > "$work/game.log" 2>&1 &
pid=\$!
find_game_window 600
[ -n "\$window" ] || { echo "\$1: no window appeared"; kill -9 \$pid; exit 1; }
xdotool getwindowname "\$window" > "$work/name.txt" 2>/dev/null
# The window manager applies the size in its own time (slower on a loaded machine): up to 10 s.
for _ in \$(seq 1 100); do
  xdotool getwindowgeometry "\$window" > "$work/geometry.txt" 2>/dev/null
  grep -q "Geometry: \$2" "$work/geometry.txt" && break
  sleep 0.1
done
kill -0 \$pid || { echo "the game ended by itself"; exit 1; }
kill -TERM \$pid
wait \$pid
echo "exit status \$?" > "$work/status.txt"
INNER
chmod +x "$work/inner.sh"
start_xvfb "$work" || exit 1
HOME="$work" openbox --sm-disable > "$work/openbox.log" 2>&1 &
wm=$!
# The window manager is up once it has claimed the root window's supporting-check property.
for i in $(seq 1 100); do
  xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -q "window id" && break
  sleep 0.1
done

for mode in --window --fullscreen; do
  case $mode in
    --window) size=800x600 ;;
    --fullscreen) size=1024x768 ;;
  esac
  rm -f "$work/status.txt" "$work/geometry.txt" "$work/name.txt"
  timeout 120 "$work/inner.sh" "$mode" "$size" || { cat "$work/game.log"; exit 1; }
  grep -q "Geometry: $size" "$work/geometry.txt" || { echo "$mode: wrong window size, not $size:"; cat "$work/geometry.txt"; exit 1; }
  grep -q "Квиллон" "$work/name.txt" || { echo "$mode: wrong window title:"; cat "$work/name.txt"; exit 1; }
  grep -q "exit status 0" "$work/status.txt" || { echo "$mode: SIGTERM did not end the game cleanly:"; cat "$work/status.txt" "$work/game.log"; exit 1; }
  [ -s "$work/game/Data/Save/options" ] && [ -s "$work/game/Data/Save/hs" ] || { echo "$mode: the shutdown did not save the options and the table"; exit 1; }
  [ "$(head -n 1 "$work/game/Data/Save/options" | tr -d '\r')" = "0" ] || { echo "$mode: the screen mode of one run was saved"; exit 1; }
  echo "$mode: the window covered $size and SIGTERM ended the game with status 0"
done
