#!/bin/sh
# The second command of the README: install what is needed, build, and run every test,
# in the normal build, in the optimised build of the Debian packages (which are then
# linted, installed, tried and purged) and under AddressSanitizer and
# UndefinedBehaviorSanitizer. Warnings are errors in all three.
# Last, races recorded by the first build replay alike in all three.
set -eu
cd "$(dirname "$0")/.."
./scripts/setup-debian.sh
jobs=$(nproc 2>/dev/null || echo 2)
started=$(date +%s)
stage_done() { echo "== $1 done, $(( $(date +%s) - started )) s since the start"; }

./scripts/build.sh build -DQUILLON_WERROR=ON
ctest --test-dir build --output-on-failure -j "$jobs"
stage_done "the normal build"

# The packages' build is the optimised build: one compile of the game serves both.
./scripts/test-packages.sh build-deb
stage_done "the packages"

./scripts/build.sh build-asan -DQUILLON_SANITIZE=ON -DQUILLON_BENCH=OFF -DCMAKE_BUILD_TYPE=Debug -DQUILLON_WERROR=ON
ASAN_OPTIONS=detect_leaks=1:abort_on_error=0 UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 \
  ctest --test-dir build-asan --output-on-failure -j "$jobs"
stage_done "the sanitizer build"
# Recordings of one build replay to the same end in the other two (the optimised one is the
# packages' build tree).
version=$(dpkg-parsechangelog -l debian/changelog -S Version)
release=build-deb/quillon-$version/obj-$(dpkg-architecture -qDEB_HOST_GNU_TYPE)
ASAN_OPTIONS=detect_leaks=1:abort_on_error=0 UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 \
  ./scripts/replay-builds.sh build "$release" build-asan
echo "all tests passed"
