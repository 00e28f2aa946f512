#!/bin/sh
# The README's commands, tried against the built programs (tests/shell/common/readme_commands.py).
# Usage: readme_commands.sh QUILLON_BINARY BUILD_DIR. Exit 77 skips (no python3 here).
set -u
command -v python3 >/dev/null 2>&1 || { echo "python3 not installed: skipping"; exit 77; }
here=$(cd "$(dirname "$0")" && pwd)
exec python3 "$here/common/readme_commands.py" "$here/../.." "$2"
