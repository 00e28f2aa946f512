#!/bin/sh
# The benchmarks' exit status: started from any folder they find the game data beside their
# program and end with status 0; a copy of the program with no data beside it cannot run the
# benchmarks that need the data, says so and ends with status 1.
# Usage: bench_status.sh QUILLON_BINARY BUILD_DIR. Exit 77 skips (a build without benchmarks).
set -u
bench=$(cd "$2" && pwd)/quillon_bench
[ -x "$bench" ] || { echo "no $bench (built without benchmarks): skipping"; exit 77; }
export ASAN_OPTIONS="${ASAN_OPTIONS:-}:detect_leaks=0"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
fail() { echo "$*"; exit 1; }
quick="--benchmark_filter=BM_MenuScreenFrame/3 --benchmark_min_time=0.001"

# shellcheck disable=SC2086
( cd "$work" && "$bench" $quick ) > "$work/found.log" 2>&1 || { cat "$work/found.log"; fail "from another folder it failed"; }
grep -q "ERROR" "$work/found.log" && { cat "$work/found.log"; fail "from another folder the benchmark did not run"; }

mkdir "$work/copy"
cp "$bench" "$work/copy/"
# shellcheck disable=SC2086
( cd "$work" && "$work/copy/quillon_bench" $quick ) > "$work/missing.log" 2>&1
status=$?
[ $status -eq 1 ] || { cat "$work/missing.log"; fail "without game data: status $status, not 1"; }
grep -q "no game data" "$work/missing.log" || { cat "$work/missing.log"; fail "without game data: no reason given"; }
echo "the benchmarks run from any folder; without their data they fail with status 1"
