#!/bin/sh
# Alt+F4 in a window, as a player does it: the window manager (openbox) takes the keys and asks
# the game to close, the game asks "Выйти из игры?", and Y, pressed once Alt is let go, ends the
# game with status 0 after saving. The window manager keeps Alt's release to itself, so the game
# must not go on believing Alt held (Y with Alt held is not an answer).
# Usage: desktop_alt_f4.sh QUILLON_BINARY BUILD_DIR. Exit 77 skips (no Xvfb, xdotool, openbox or xprop here).
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
SDL_AUDIODRIVER=dummy SDL_VIDEODRIVER=x11 "$game" --window --root "$work/game" > "$work/game.log" 2>&1 &
pid=\$!
find_game_window 200
[ -n "\$window" ] || { echo "no window appeared"; kill -9 \$pid; exit 1; }
xdotool windowfocus --sync "\$window" 2>/dev/null || xdotool windowfocus "\$window"
sleep 2
# As one chord, as a hand types it: the window manager keeps the release of Alt. A game still
# starting on a loaded machine may not show its main menu yet, where the chord asks nothing, so
# the chord and Y are tried again; a game that believed Alt held would refuse Y every time.
ended=""
for try in 1 2 3 4 5; do
  xdotool key alt+F4
  sleep 1
  xdotool keydown y; sleep 0.3; xdotool keyup y
  if game_ended_within 30 \$pid; then ended=1; break; fi
done
if [ -z "\$ended" ]; then echo "Y after Alt+F4 did not end the game"; kill -9 \$pid; exit 1; fi
wait \$pid
echo "exit status \$?" > "$work/status.txt"
INNER
chmod +x "$work/inner.sh"
start_xvfb "$work" || exit 1
HOME="$work" openbox --sm-disable > "$work/openbox.log" 2>&1 &
wm=$!
for i in $(seq 1 100); do
  xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -q "window id" && break
  sleep 0.1
done
timeout 120 "$work/inner.sh" || { cat "$work/game.log"; exit 1; }
grep -q "exit status 0" "$work/status.txt" || { echo "the game did not end with status 0:"; cat "$work/status.txt" "$work/game.log"; exit 1; }
[ -s "$work/game/Data/Save/options" ] || { echo "leaving the game did not save the options"; exit 1; }
echo "Alt+F4 asked whether to leave, and Y, once Alt was let go, ended the game with status 0"
