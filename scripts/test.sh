#!/bin/sh
# The second command of the README: install what is needed, build, and run every test,
# once in the normal build and once under AddressSanitizer and UndefinedBehaviorSanitizer.
set -eu
cd "$(dirname "$0")/.."
./scripts/setup-debian.sh
jobs=$(nproc 2>/dev/null || echo 2)

./scripts/build.sh build
ctest --test-dir build --output-on-failure -j "$jobs"

./scripts/build.sh build-asan -DQUILLON_SANITIZE=ON -DQUILLON_BENCH=OFF -DCMAKE_BUILD_TYPE=Debug
ASAN_OPTIONS=detect_leaks=1:abort_on_error=0 UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 \
  ctest --test-dir build-asan --output-on-failure -j "$jobs"
echo "all tests passed"
