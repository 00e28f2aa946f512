#!/bin/sh
# Soak test (not part of CI): the demo pilot races level after level, game after game,
# for MINUTES of game time (default 60) in the headless game built under AddressSanitizer
# and UndefinedBehaviorSanitizer (build-asan/, made by scripts/test.sh). Whenever a game
# ends, the next starts on the next ship. Prints the resident memory every 30 s of real
# time, the levels reached, and fails on any sanitizer report or leak.
# Usage: scripts/soak-race.sh [MINUTES]
set -eu
cd "$(dirname "$0")/.."
minutes=${1:-60}
game=build-asan/quillon
[ -x "$game" ] || { echo "build the sanitizer build first: scripts/test.sh"; exit 2; }
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
mkdir -p "$work/game/Data"
ln -s "$PWD/build-asan/Data/Res" "$work/game/Data/Res"
ln -s "$PWD/build-asan/Data/Music" "$work/game/Data/Music"

frames=$((minutes * 60 * 85))
# Every 600 frames: a new game (it starts only on the main menu), then Enter (the name of a
# score for the table, or "no" to a question that may be open), N (no score for the world
# table) and Escape (from the high-score screen back to the main menu; in a race it asks
# to leave, and the next Enter answers no).
: > "$work/script.txt"
f=80
ship=1
while [ $f -lt $frames ]; do
  printf '%d race %d 1\n%d pilot on\n%d tap Return\n%d tap N\n%d tap Escape\n' \
    $f $ship $f $((f + 150)) $((f + 300)) $((f + 450)) >> "$work/script.txt"
  ship=$((ship % 5 + 1))
  f=$((f + 600))
done
f=1000
while [ $f -lt $frames ]; do
  printf '%d state %s/s%d.json\n' $f "$work" $f >> "$work/script.txt"
  f=$((f + 8500))
done

ASAN_OPTIONS=detect_leaks=1:abort_on_error=0 UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 \
  "$game" --headless --frames $frames --seed 7 --root "$work/game" --script "$work/script.txt" \
  > "$work/out.log" 2> "$work/err.log" &
pid=$!
start=$(date +%s)
while kill -0 $pid 2>/dev/null; do
  rss=$(awk '/VmRSS/ {print $2}' /proc/$pid/status 2>/dev/null || true)
  [ -n "$rss" ] && echo "$(( $(date +%s) - start )) s: resident $((rss / 1024)) MiB"
  sleep 30
done
status=0
wait $pid || status=$?
echo "game time: $minutes min ($frames frames) in $(( $(date +%s) - start )) s, exit status $status"
python3 - "$work" <<'PY'
import glob, json, sys
samples = []
for path in sorted(glob.glob(sys.argv[1] + "/s*.json"), key=lambda p: int(p.split("/s")[-1][:-5])):
    state = json.load(open(path))
    race = state.get("race")
    samples.append(str(race["Level"]) if race else "menu" if state["CurrentScreen"] != 6 else "?")
print("level (or menu) at the samples:", " ".join(samples))
PY
if grep -q -E "ERROR: (Address|Leak)Sanitizer|runtime error" "$work/err.log"; then
  echo "sanitizer reports:"; grep -E -A20 "ERROR|runtime error" "$work/err.log" | head -60; exit 1
fi
[ $status -eq 0 ] || { tail -20 "$work/err.log"; exit 1; }
echo "no sanitizer report, no leak"
