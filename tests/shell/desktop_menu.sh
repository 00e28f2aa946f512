#!/bin/sh
# The desktop game under Xvfb shows the main menu (its window matches the headless
# driver's picture of the same menu), starts a race and leaves it with Escape, Y, and
# Escape then Y, pressed as real keys, end the game with status 0 after saving. Usage: desktop_menu.sh QUILLON_BINARY BUILD_DIR.
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
  python3 "$(dirname "$0")/common/compare_window.py" menu "$work/window.xwd" "$work/reference.ppm" > "$work/menu.txt" 2>&1 && { shown=yes; break; }
done
[ -n "\$shown" ] || { echo "the main menu did not appear:"; cat "$work/menu.txt"; kill -9 \$pid; exit 1; }
# A race: Enter opens the ship selection, Enter starts; after the level banner Escape
# asks "leave to the menu?" and Y answers it.
xdotool keydown Return; sleep 0.3; xdotool keyup Return; sleep 0.5
xdotool keydown Return; sleep 0.3; xdotool keyup Return
raced=""
for i in \$(seq 1 20); do
  sleep 0.5
  xwd -id "\$window" -silent > "$work/race.xwd"
  python3 "$(dirname "$0")/common/compare_window.py" race "$work/race.xwd" "$work/reference.ppm" > "$work/race.txt" 2>&1 && { raced=yes; break; }
done
[ -n "\$raced" ] || { echo "Enter, Enter did not start a race:"; cat "$work/race.txt"; kill -9 \$pid; exit 1; }
sleep 3
xdotool keydown Escape; sleep 0.3; xdotool keyup Escape; sleep 0.5
xdotool keydown y; sleep 0.3; xdotool keyup y
shown=""
for i in \$(seq 1 20); do
  sleep 0.5
  xwd -id "\$window" -silent > "$work/window.xwd"
  python3 "$(dirname "$0")/common/compare_window.py" menu "$work/window.xwd" "$work/reference.ppm" > "$work/back.txt" 2>&1 && { shown=yes; break; }
done
[ -n "\$shown" ] || { echo "Escape, Y did not leave the race for the main menu:"; cat "$work/back.txt"; kill -9 \$pid; exit 1; }
# Keys are read once per frame: hold each for a few frames.
xdotool keydown Escape; sleep 0.3; xdotool keyup Escape
opened=""
for i in \$(seq 1 20); do
  sleep 0.5
  xwd -id "\$window" -silent > "$work/dialog.xwd"
  python3 "$(dirname "$0")/common/compare_window.py" dialog "$work/dialog.xwd" "$work/reference.ppm" > "$work/dialog.txt" 2>&1 && { opened=yes; break; }
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
cat "$work/menu.txt" "$work/race.txt" "$work/back.txt" "$work/dialog.txt"
echo "the main menu showed, a race started and was left with Escape, Y, and Escape then Y ended the game with status 0"
