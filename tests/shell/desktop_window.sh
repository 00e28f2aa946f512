#!/bin/sh
# The desktop game under Xvfb: its window opens at 800 x 600 with the game's title,
# presents frames, and SIGTERM ends it through the orderly shutdown with status 0.
# Usage: desktop_window.sh QUILLON_BINARY BUILD_DIR. Exit 77 skips (no Xvfb here).
set -u
. "$(dirname "$0")/common/game_folder.sh"
game=$1
command -v xvfb-run >/dev/null 2>&1 || { echo "xvfb-run not installed: skipping"; exit 77; }
command -v xdotool >/dev/null 2>&1 || { echo "xdotool not installed: skipping"; exit 77; }

# The X11, GL and D-Bus client libraries keep allocations to the end of the process;
# leaks of our own code are caught by the headless and unit tests.
export ASAN_OPTIONS="${ASAN_OPTIONS:-}:detect_leaks=0"

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
make_game_folder "$work/game" "$2"
cat > "$work/inner.sh" <<INNER
#!/bin/sh
SDL_AUDIODRIVER=dummy "$game" --root "$work/game" > "$work/game.log" 2>&1 &
pid=\$!
window=""
# Wait until the game's visible window answers (SDL may make and drop helper windows first).
for i in \$(seq 1 200); do
  window=\$(xdotool search --onlyvisible --classname quillon 2>/dev/null | head -n 1)
  if [ -n "\$window" ] && xdotool getwindowgeometry "\$window" > "$work/geometry.txt" 2>/dev/null \
     && xdotool getwindowname "\$window" > "$work/name.txt" 2>/dev/null; then
    break
  fi
  window=""
  sleep 0.1
done
[ -n "\$window" ] || { echo "no window appeared"; kill -9 \$pid; exit 1; }
sleep 1
kill -0 \$pid || { echo "the game ended by itself"; exit 1; }
kill -TERM \$pid
wait \$pid
echo "exit status \$?" > "$work/status.txt"
INNER
chmod +x "$work/inner.sh"
timeout 120 xvfb-run -a -s "-screen 0 1024x768x24" "$work/inner.sh" "$@" || { cat "$work/game.log"; exit 1; }

grep -q "Geometry: 800x600" "$work/geometry.txt" || { echo "wrong window size:"; cat "$work/geometry.txt"; exit 1; }
grep -q "Квиллон" "$work/name.txt" || { echo "wrong window title:"; cat "$work/name.txt"; exit 1; }
grep -q "exit status 0" "$work/status.txt" || { echo "SIGTERM did not end the game cleanly:"; cat "$work/status.txt" "$work/game.log"; exit 1; }
[ -s "$work/game/Data/Save/options" ] && [ -s "$work/game/Data/Save/hs" ] || { echo "the shutdown did not save the options and the table"; exit 1; }
echo "window opened at 800x600 and SIGTERM ended the game with status 0"
