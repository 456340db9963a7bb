#!/usr/bin/env bash
# Starts a throwaway PostgreSQL server, runs sync_bench against it and stops
# the server again.
#   bench/sync/run.sh [BUILD_DIR] [COUNT] [DELAY_MS] [--one-by-one]
set -uo pipefail
here=$(cd "$(dirname "$0")" && pwd)
root=$(cd "$here/../.." && pwd)
build=${1:-$root/build}
count=${2:-10000}
shift $(( $# < 2 ? $# : 2 ))
state=$(mktemp -d /tmp/kx6-syncbench.XXXXXX)
trap 'bash "$root/tests/support/pg_server.sh" stop "$state" >/dev/null; rm -rf "$state"' EXIT

bash "$root/tests/support/pg_server.sh" start "$state" || exit 1
[ -f "$state/pg.host" ] || { echo "no PostgreSQL server available"; exit 1; }
"$build/bin/sync_bench" "$(cat "$state/pg.host")" "$(cat "$state/pg.port")" "$(cat "$state/pg.user")" "$count" "$@"
