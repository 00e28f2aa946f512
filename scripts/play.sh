#!/bin/sh
# The first command of the README: install what is needed, build, generate the data, play.
set -eu
cd "$(dirname "$0")/.."
./scripts/setup-debian.sh
./scripts/build.sh build
cd build
exec ./quillon "$@"
