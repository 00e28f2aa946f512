#!/bin/sh
# shellcheck disable=SC2089,SC2090 # the definitions' quotes are meant for the compiler
# Builds every fuzz/*_fuzz.cpp target with libFuzzer, AddressSanitizer and
# UndefinedBehaviorSanitizer against the engine and save-file sources (the layers
# with file readers and no SDL), the settings file reader and the score server's submission reader, request text and
# the verifying game's verdict line and the page pictures, refreshes the seed files, and runs each target for the given number of seconds (default 60).
# replay_play plays replays through the whole headless game (app, race, menus and the headless
# platform on top): it needs a built game, $QUILLON_BUILD (default build) holding quillon and
# its generated Data, which records its seed replays and lends it the data.
# Usage: fuzz/run.sh [SECONDS] [TARGET...]   e.g. fuzz/run.sh 600 dxg
set -eu
cd "$(dirname "$0")/.."
seconds=${1:-60}
[ $# -gt 0 ] && shift
only="$*"
game=$(cd "${QUILLON_BUILD:-build}" 2>/dev/null && pwd) || game=""

out=build-fuzz
mkdir -p "$out/obj" "$out/generated/platform"
CXX=${CXX:-clang++}
version=$(sed -n 's/^project(quillon VERSION \([0-9.]*\).*/\1/p' CMakeLists.txt)
# Pictures are capped at 1 Mpixel here so that huge declared sizes stay cheap to fuzz. The quotes
# in the definitions are the compiler's: the macros are string literals.
common="-std=c++20 -g -O1 -Isrc -I. -I$out/generated -fno-omit-frame-pointer -DQUILLON_DIB_MAX_PIXELS=1048576
  -DQUILLON_VERSION=\"$version\" -DQUILLON_SCORE_SERVER=\"\""
sanitize="-fsanitize=address,undefined -fno-sanitize-recover=undefined"

wanted() { [ -z "$only" ] || echo " $only " | grep -q " $1 "; }

# Compiles the sources once, instrumented for coverage; prints their objects.
compile() {
  flags=$1
  shift
  for src in "$@"; do
    [ -f "$src" ] || continue
    layer=$(basename "$(dirname "$src")")
    obj="$out/obj/$layer-$(basename "$src" .cpp).o"
    if [ ! -f "$obj" ] || [ "$src" -nt "$obj" ] || [ -n "$(find src server -name '*.h' -newer "$obj")" ]; then
      # shellcheck disable=SC2086
      $CXX $common $sanitize $flags -fsanitize=fuzzer-no-link -c "$src" -o "$obj" >&2
    fi
    echo "$obj"
  done
}

objs=$(compile "" src/engine/*.cpp src/save/*.cpp src/app/Settings.cpp server/SubmissionCheck.cpp server/QueryString.cpp \
  server/LogText.cpp server/VerifyRun.cpp server/PagePicture.cpp)

# The headless game for replay_play: the game's layers above the engine and the headless half
# of the platform, with the font rules built in as the game's build does.
play_objs=""
play_libs=""
if wanted replay_play; then
  if [ -z "$game" ] || [ ! -x "$game/quillon" ] || [ ! -d "$game/Data/Res" ]; then
    echo "replay_play needs a built game: QUILLON_BUILD=DIR with DIR/quillon and DIR/Data/Res" >&2
    exit 1
  fi
  awk 'NR == FNR { conf = conf (FNR > 1 ? "\n" : "") $0; next }
       { i = index($0, "@QUILLON_FONTS_CONF@"); if (i) print substr($0, 1, i - 1) conf substr($0, i + 20); else print }' \
    data/fonts/quillon-fonts.conf src/platform/FontsConf.h.in > "$out/generated/platform/FontsConf.h.new"
  cmp -s "$out/generated/platform/FontsConf.h.new" "$out/generated/platform/FontsConf.h" ||
    mv "$out/generated/platform/FontsConf.h.new" "$out/generated/platform/FontsConf.h"
  sdl="sdl2 SDL2_ttf fontconfig libpng"
  others=""
  for src in src/app/*.cpp; do
    [ "$src" = src/app/Settings.cpp ] || others="$others $src"
  done
  # shellcheck disable=SC2086
  play_objs=$(compile "$(pkg-config --cflags $sdl)" $others src/race/*.cpp src/menus/*.cpp src/HeadlessReplay.cpp \
    src/platform/HeadlessPlatform.cpp src/platform/HeadlessScript.cpp src/platform/PadTracker.cpp \
    src/platform/PngWriter.cpp src/platform/VirtualKeys.cpp src/platform/TtfFontRasterizer.cpp)
  # shellcheck disable=SC2086
  play_libs=$(pkg-config --libs $sdl)

  # Its seeds: races recorded by the built game, left several ways.
  root="$out/replay_play-root"
  rm -rf "$root"
  mkdir -p "$root/Data" "$out/corpus/replay_play"
  ln -s "$game/Data/Res" "$root/Data/Res"
  [ -d "$game/Data/Music" ] && ln -s "$game/Data/Music" "$root/Data/Music"
  record() {  # NAME FRAMES FPS SCRIPT-LINES...
    name=$1 frames=$2 fps=$3
    shift 3
    printf '%s\n' "$@" > "$root/script.txt"
    rm -rf "$root/Data/Save"
    "$game/quillon" --root "$root" --headless --frames "$frames" --fps "$fps" --seed 7 --script "$root/script.txt" >/dev/null
    cp "$root"/Data/Save/Replays/*.qrp "$out/corpus/replay_play/$name.qrp"
  }
  record pilot-left 900 85 "80 race 2 1" "80 pilot on" "700 tap Escape" "705 tap Y"
  record keys-paused 700 100 "80 race 4 2" "280 down Up" "340 down Left" "380 tap P" "420 tap P" "430 up Left" \
    "432 down Left Ctrl" "460 down Right" "500 up Right" "510 down Space"
  record clock-out 1600 20 "80 race 3 1"
  record pilot-level5 2500 85 "80 race 5 5" "80 pilot on"
  export QUILLON_FUZZ_ROOT="$PWD/$root"
fi

# Seed files from the collection writers.
# shellcheck disable=SC2086
$CXX $common $sanitize fuzz/corpus_gen.cpp $objs -lz -o "$out/corpus_gen"
"$out/corpus_gen" fuzz/corpus

for target in fuzz/*_fuzz.cpp; do
  name=$(basename "$target" _fuzz.cpp)
  wanted "$name" || continue
  extra=""
  libs=""
  timeout=20
  if [ "$name" = replay_play ]; then
    extra=$play_objs
    libs=$play_libs
    timeout=60  # a whole race of frames drawn under the sanitizers, on a busy machine
  fi
  echo "== $name: building"
  # shellcheck disable=SC2086
  $CXX $common $sanitize -fsanitize=fuzzer "$target" $objs $extra -lz $libs -o "$out/${name}_fuzz"
  # Absolute paths: a target may work in another folder (replay_play works in the game's).
  work="$PWD/fuzz/corpus-run-$name"
  mkdir -p "$work"
  seeds=""
  [ -d "fuzz/corpus/$name" ] && seeds="$PWD/fuzz/corpus/$name"
  [ -d "$out/corpus/$name" ] && seeds="$seeds $PWD/$out/corpus/$name"
  [ "$name" = replay_play ] && seeds="$seeds $PWD/fuzz/corpus/replay"
  dict=""
  [ -f "fuzz/$name.dict" ] && dict="-dict=$PWD/fuzz/$name.dict"
  echo "== $name: fuzzing for $seconds s"
  # shellcheck disable=SC2086
  "$out/${name}_fuzz" -max_total_time="$seconds" -rss_limit_mb=2048 -timeout="$timeout" -print_final_stats=1 \
    -artifact_prefix="$PWD/$out/${name}-" $dict "$work" $seeds
done
