#!/bin/sh
# Reads of the world table with kept-alive connections against one connection per request,
# side by side (ab from apache2-utils). Kept-alive reads must be at least as fast.
# usage: bench/score_server_keepalive.sh [BUILD_DIR] [REQUESTS] [CONCURRENCY]
set -eu
build=${1:-build}
requests=${2:-20000}
concurrency=${3:-16}
dir=$(mktemp -d /tmp/quillon-keepalive-XXXXXX)
"$build/quillon-scores" --listen 127.0.0.1:0 --db "$dir/scores.db" --rate-limit 0 >"$dir/out" 2>/dev/null &
server=$!
trap 'kill "$server" 2>/dev/null; wait "$server" 2>/dev/null; rm -rf "$dir"' EXIT
for _ in 1 2 3 4 5 6 7 8 9 10; do grep -q listening "$dir/out" && break; sleep 0.2; done
port=$(sed -n 's/.*127\.0\.0\.1:\([0-9]*\),.*/\1/p' "$dir/out")
url="http://127.0.0.1:$port/api/scores?limit=100"

summary() {
  awk '/Requests per second/ {rps=$4} /Failed requests/ {failed=$3} / 50% / {p50=$2} / 99% / {p99=$2}
       END {printf "%-28s %9.0f requests/s  p50 %3d ms  p99 %3d ms  failed %d\n", label, rps, p50, p99, failed}' label="$1"
}
echo "$requests reads of /api/scores?limit=100, $concurrency at once"
ab -q -k -n "$requests" -c "$concurrency" "$url" 2>&1 | summary "kept alive (ab -k)"
ab -q -n "$requests" -c "$concurrency" "$url" 2>&1 | summary "one connection each (ab)"
