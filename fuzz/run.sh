#!/bin/sh
# Builds every fuzz/*_fuzz.cpp target with libFuzzer, AddressSanitizer and
# UndefinedBehaviorSanitizer against the engine and save-file sources (the layers
# with file readers and no SDL), the settings file reader and the score server's submission reader, request text and
# the verifying game's verdict line and the page pictures, refreshes the seed files, and runs each target for the given number of seconds (default 60).
# Usage: fuzz/run.sh [SECONDS] [TARGET...]   e.g. fuzz/run.sh 600 dxg
set -eu
cd "$(dirname "$0")/.."
seconds=${1:-60}
[ $# -gt 0 ] && shift
only="$*"

out=build-fuzz
mkdir -p "$out/obj"
CXX=${CXX:-clang++}
# Pictures are capped at 1 Mpixel here so that huge declared sizes stay cheap to fuzz.
common="-std=c++20 -g -O1 -Isrc -I. -fno-omit-frame-pointer -DQUILLON_DIB_MAX_PIXELS=1048576"
sanitize="-fsanitize=address,undefined -fno-sanitize-recover=undefined"

# The layers once, instrumented for coverage.
objs=""
for src in src/engine/*.cpp src/save/*.cpp src/app/Settings.cpp server/SubmissionCheck.cpp server/QueryString.cpp server/LogText.cpp \
    server/VerifyRun.cpp server/PagePicture.cpp; do
  [ -f "$src" ] || continue
  layer=$(basename "$(dirname "$src")")
  obj="$out/obj/$layer-$(basename "$src" .cpp).o"
  if [ ! -f "$obj" ] || [ "$src" -nt "$obj" ] || [ -n "$(find src/engine src/save server -name '*.h' -newer "$obj")" ]; then
    $CXX $common $sanitize -fsanitize=fuzzer-no-link -c "$src" -o "$obj"
  fi
  objs="$objs $obj"
done

# Seed files from the collection writers.
$CXX $common $sanitize fuzz/corpus_gen.cpp $objs -lz -o "$out/corpus_gen"
"$out/corpus_gen" fuzz/corpus

for target in fuzz/*_fuzz.cpp; do
  name=$(basename "$target" _fuzz.cpp)
  if [ -n "$only" ] && ! echo " $only " | grep -q " $name "; then
    continue
  fi
  echo "== $name: building"
  $CXX $common $sanitize -fsanitize=fuzzer "$target" $objs -lz -o "$out/${name}_fuzz"
  work="fuzz/corpus-run-$name"
  mkdir -p "$work"
  seeds=""
  [ -d "fuzz/corpus/$name" ] && seeds="fuzz/corpus/$name"
  dict=""
  [ -f "fuzz/$name.dict" ] && dict="-dict=fuzz/$name.dict"
  echo "== $name: fuzzing for $seconds s"
  # shellcheck disable=SC2086
  "$out/${name}_fuzz" -max_total_time="$seconds" -rss_limit_mb=2048 -timeout=20 -print_final_stats=1 \
    -artifact_prefix="$out/${name}-" $dict "$work" $seeds
done
