#!/bin/sh
# The same recordings replay identically in every build: races recorded by the first
# program (pilot, several ships, levels and frame rates, a clock that runs out) are played
# headless by each program given, all in the first build's game folder, and every program
# must print the same "reproduced" line for each.
# Usage: scripts/replay-builds.sh BUILD_DIR [BUILD_DIR...]   e.g. build build-release build-asan
set -eu
[ $# -ge 1 ] || { echo "usage: $0 BUILD_DIR [BUILD_DIR...]"; exit 2; }
first=$(cd "$1" && pwd)
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
mkdir -p "$work/game/Data"
ln -s "$first/Data/Res" "$work/game/Data/Res"
ln -s "$first/Data/Music" "$work/game/Data/Music"

record() {  # FPS SEED SCRIPT-LINES...
  fps=$1 seed=$2
  shift 2
  printf '%s\n' "$@" > "$work/script.txt"
  "$first/quillon" --headless --frames 100000 --fps "$fps" --seed "$seed" --root "$work/game" \
    --script "$work/script.txt" > /dev/null
}
record 85 2 "80 race 2 1" "80 pilot on" "880 quit"
record 60 5 "80 race 5 5" "80 pilot on" "700 tap Escape" "705 tap Y" "710 quit"
record 20 1 "80 race 3 1" "1600 quit"

status=0
for replay in "$work/game/Data/Save/Replays/"*.qrp; do
  expected=""
  for build in "$@"; do
    line=$("$build/quillon" --headless --replay "$replay" --root "$work/game" 2> "$work/err.txt") || true
    case $line in
      *'"result":"reproduced"'*) ;;
      *) echo "$build: $(basename "$replay") did not reproduce: $line"; cat "$work/err.txt"; status=1 ;;
    esac
    [ -z "$expected" ] && expected=$line
    if [ "$line" != "$expected" ]; then
      echo "$build: $(basename "$replay") gave $line, $1 gave $expected"
      status=1
    fi
  done
  echo "$(basename "$replay"): $expected"
done
[ $status -eq 0 ] && echo "every build replays every recording alike"
exit $status
