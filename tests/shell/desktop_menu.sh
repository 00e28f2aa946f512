#!/bin/sh
# The desktop game under Xvfb, started with LANG=ru_RU.UTF-8 (and nothing else of the locale
# set), has the title "Квиллон" and shows the main menu (its window matches the headless
# driver's picture of the same menu, which is Russian), starts a race and leaves it with Escape, Y, and
# Escape then Y, pressed as real keys, end the game with status 0 after saving. Usage: desktop_menu.sh QUILLON_BINARY BUILD_DIR.
# Exit 77 skips (no Xvfb, xdotool, xwd, netpbm or python3 here).
set -u
. "$(dirname "$0")/common/game_folder.sh"
. "$(dirname "$0")/common/xvfb.sh"
. "$(dirname "$0")/common/desktop_test.sh"
here=$(cd "$(dirname "$0")" && pwd)
game=$1
desktop_test_start "$2" xdotool xwd pngtopnm pamdepth python3

# The same menu drawn by the headless driver, long after its buttons have faded in.
printf '150 shot %s/reference.png\n' "$work" > "$work/reference.txt"
"$game" --headless --frames 151 --root "$work/game" --script "$work/reference.txt" > "$work/headless.log" 2>&1 ||
  { echo "the headless reference run failed"; cat "$work/headless.log"; exit 1; }
rm -rf "$work/game/Data/Save"

pngtopnm "$work/reference.png" | pamdepth 255 > "$work/reference.ppm" || exit 1

cat > "$work/inner.sh" <<INNER
#!/bin/sh
. "$here/common/game_window.sh"
env -u LANGUAGE -u LC_ALL -u LC_MESSAGES LANG=ru_RU.UTF-8 SDL_AUDIODRIVER=dummy SDL_VIDEODRIVER=x11 \
  "$game" --root "$work/game" > "$work/game.log" 2>&1 &
pid=\$!
find_game_window 200
[ -n "\$window" ] || { echo "no window appeared"; kill -9 \$pid; exit 1; }
title=\$(xdotool getwindowname "\$window")
[ "\$title" = "Квиллон" ] || { echo "LANG=ru_RU.UTF-8: the window's title is '\$title'"; kill -9 \$pid; exit 1; }
# The game runs only while its window has the focus.
xdotool windowfocus --sync "\$window" 2>/dev/null || xdotool windowfocus "\$window"
# see MODE NAME WHY: waits until the window shows MODE (compare_window.py), keeping its
# verdict in NAME.txt; gives up with WHY. A loaded machine may take a while.
see() {
  for i in \$(seq 1 40); do
    sleep 0.5
    xwd -id "\$window" -silent > "$work/\$2.xwd"
    python3 "$(dirname "$0")/common/compare_window.py" \$1 "$work/\$2.xwd" "$work/reference.ppm" > "$work/\$2.txt" 2>&1 && return 0
  done
  echo "\$3:"; cat "$work/\$2.txt"; kill -9 \$pid; exit 1
}
# Keys are read once per frame: hold each for a few frames.
press() { xdotool keydown \$1; sleep 0.3; xdotool keyup \$1; }
see menu menu "the main menu did not appear"
# A race: Enter opens the ship selection, Enter starts; after the level banner Escape
# asks "leave to the menu?" and Y answers it.
press Return; sleep 0.5; press Return
see race race "Enter, Enter did not start a race"
sleep 3
press Escape; sleep 0.5; press y
see menu back "Escape, Y did not leave the race for the main menu"
press Escape
see dialog dialog "Escape did not open the exit dialog"
press y
if ! game_ended_within 50 \$pid; then echo "Escape and Y did not end the game"; kill -9 \$pid; exit 1; fi
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
