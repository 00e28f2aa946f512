#!/bin/sh
# One version everywhere: `quillon --version` and `quillon-scores --version` name the
# version the Debian changelog carries at its top, and both manual pages name the same.
# Usage: version.sh QUILLON_BINARY BUILD_DIR.
set -u
source_dir=$(cd "$(dirname "$0")/../.." && pwd)
fail() { echo "$*"; exit 1; }

reported=$("$1" --version) || fail "quillon --version failed"
game=${reported#quillon }
[ "$reported" = "quillon $game" ] && [ -n "$game" ] || fail "quillon --version printed '$reported'"

server=$2/quillon-scores
if [ -x "$server" ]; then
  [ "$("$server" --version)" = "quillon-scores $game" ] || fail "quillon-scores --version printed '$("$server" --version)'"
fi

changelog=$(sed -n '1s/^quillon (\([^)]*\)).*/\1/p' "$source_dir/debian/changelog")
[ -n "$changelog" ] || fail "the first line of debian/changelog names no version of quillon"
[ "$game" = "$changelog" ] || fail "quillon --version says $game, debian/changelog says $changelog"

for page in data/desktop/quillon.6 server/quillon-scores.8; do
  grep -q "^\.TH .* \"quillon $game\"" "$source_dir/$page" || fail "$page does not name version $game"
done
echo "version $game in the programs, the changelog and the manual pages"
