#!/bin/sh
# Pictures of every screen and every dialog kind, for looking at a language's words or at a
# change of the art: scripts/gallery.sh BUILD OUT [ru|en]. The headless game runs in a game
# folder of its own (no saves of the build tree are touched), with a fixed seed, so two
# builds' pictures can be compared pixel for pixel.
set -eu
if [ $# -lt 2 ]; then echo "usage: $0 BUILD OUT [ru|en]" >&2; exit 2; fi
build=$(cd "$1" && pwd)
mkdir -p "$2"
out=$(cd "$2" && pwd)
lang=${3:-ru}
here=$(cd "$(dirname "$0")" && pwd)
game=$(mktemp -d)
trap 'rm -rf "$game"' EXIT
mkdir -p "$game/Data"
ln -s "$build/Data/Res" "$game/Data/Res"
ln -s "$build/Data/Music" "$game/Data/Music"
cd "$out"
for run in menus:720 last-level:12950 lost-game:6320; do
  name=${run%%:*}
  frames=${run##*:}
  "$build/quillon" --headless --lang "$lang" --frames "$frames" --seed 1 --root "$game" \
    --script "$here/gallery/$name.txt" >/dev/null
done
ls "$out"/*.png
