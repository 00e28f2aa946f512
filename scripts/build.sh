#!/bin/sh
# Configures and builds one build tree: scripts/build.sh DIR [extra cmake options...]
set -eu
cd "$(dirname "$0")/.."
dir=$1
shift
cmake -S . -B "$dir" -G Ninja "$@"
cmake --build "$dir"
