#!/bin/sh
# Both manual pages format without a single groff warning, on a UTF-8 terminal and on a plain
# ASCII one (where the game's Cyrillic name falls back to Latin letters).
# Usage: manual_pages.sh QUILLON_BINARY BUILD_DIR. Exit 77 skips (no man here).
set -u
source_dir=$(cd "$(dirname "$0")/../.." && pwd)
command -v man >/dev/null 2>&1 || { echo "man not installed: skipping"; exit 77; }
failed=0
for page in data/desktop/quillon.6 server/quillon-scores.8; do
  for locale in C.UTF-8 C; do
    warnings=$(LC_ALL=$locale MANWIDTH=80 man --warnings -l "$source_dir/$page" 2>&1 >/dev/null)
    if [ -n "$warnings" ]; then
      echo "$page ($locale): $warnings"
      failed=1
    fi
  done
done
[ $failed -eq 0 ] && echo "both manual pages format without warnings"
exit $failed
