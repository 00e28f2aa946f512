#!/bin/sh
# A race recorded in the window under Xvfb (the desktop's own frame timing, a --demo race
# left with Escape, Y) replays headless to "reproduced"; the same replay then plays in the
# window with --replay-last and the game ends by itself when it is over.
# Usage: replay_window.sh QUILLON_BINARY BUILD_DIR. Exit 77 skips (no Xvfb, xdotool or python3 here).
set -u
. "$(dirname "$0")/common/game_folder.sh"
. "$(dirname "$0")/common/xvfb.sh"
. "$(dirname "$0")/common/desktop_test.sh"
here=$(cd "$(dirname "$0")" && pwd)
game=$1
desktop_test_start "$2" xdotool python3

cat > "$work/inner.sh" <<INNER
. "$here/common/game_window.sh"
SDL_AUDIODRIVER=dummy SDL_VIDEODRIVER=x11 "$game" --root "$work/game" --demo > "$work/game.log" 2>&1 &
pid=\$!
find_game_window 600
[ -n "\$window" ] || { echo "no window appeared"; kill -9 \$pid; exit 1; }
xdotool windowfocus --sync "\$window" 2>/dev/null || xdotool windowfocus "\$window"
press() { xdotool keydown \$1; sleep 0.3; xdotool keyup \$1; }
# The menu fades in, the demo starts, its level banner closes and the pilot races a while.
sleep 8
press Escape; sleep 0.5; press y
for i in \$(seq 1 100); do
  ls "$work/game/Data/Save/Replays/"*.qrp > /dev/null 2>&1 && break
  sleep 0.1
done
sleep 1
press Escape; sleep 0.5; press y
game_ended_within 50 \$pid || kill -TERM \$pid
wait \$pid
SDL_AUDIODRIVER=dummy SDL_VIDEODRIVER=x11 timeout 60 "$game" --root "$work/game" --replay-last > "$work/watch.log" 2>&1
echo "watch status \$?" > "$work/watch.txt"
INNER
chmod +x "$work/inner.sh"
start_xvfb "$work" || exit 1
timeout 150 sh "$work/inner.sh" || { cat "$work/game.log"; exit 1; }

replay=$(ls "$work/game/Data/Save/Replays/"*.qrp 2>/dev/null | tail -n 1)
[ -n "$replay" ] || { echo "the window's race left no replay:"; cat "$work/game.log"; exit 1; }
"$game" --headless --replay "$replay" --root "$work/game" > "$work/result.json" 2> "$work/replay.log"
status=$?
cat "$work/result.json"
[ $status -eq 0 ] || { echo "the headless replay exited with $status:"; cat "$work/replay.log"; exit 1; }
python3 - "$work/result.json" <<'PY' || exit 1
import json, sys
result = json.load(open(sys.argv[1]))
assert result["result"] == "reproduced", result
assert result["frames"] > 100, result
PY
grep -q "watch status 0" "$work/watch.txt" || { echo "watching the replay did not end by itself with status 0:"; cat "$work/watch.txt" "$work/watch.log"; exit 1; }
echo "a --demo race in the window, left with Escape, Y, replayed headless to reproduced and played in the window to its end"
