#!/usr/bin/env bash
# Throwaway PostgreSQL 15 cluster for the tests.
#   pg_server.sh start STATEDIR   create and start a cluster, write its facts
#   pg_server.sh stop STATEDIR    stop it and remove its folder
# The cluster lives in a temporary folder owned by the postgres user (the
# server refuses to run as root), listens on a private Unix-socket folder only
# and trusts every local connection. STATEDIR receives pg.conninfo, pg.host,
# pg.port, pg.user and pg.dir (the temporary folder, used by "stop").
set -uo pipefail

action=${1:?usage: pg_server.sh start|stop STATEDIR}
state=${2:?usage: pg_server.sh start|stop STATEDIR}
bindir=${KX6_PG_BINDIR:-/usr/lib/postgresql/15/bin}
wait_seconds=${KX6_SERVER_WAIT:-60}

# Runs a command as the postgres user when we are root, directly otherwise.
as_owner() {
  if [ "$(id -u)" = 0 ]; then
    runuser -u postgres -- "$@"
  else
    "$@"
  fi
}

# Missing server programs fail the fixture in CI; elsewhere the dependent
# tests find no connection facts and skip.
unavailable() {
  echo "PostgreSQL test server unavailable: $1"
  if [ "${CI:-}" = true ]; then
    exit 1
  fi
  exit 0
}

free_port() {
  local port
  for _ in $(seq 1 200); do
    port=$((20000 + RANDOM % 40000))
    if ! (exec 3<>"/dev/tcp/127.0.0.1/$port") 2>/dev/null; then
      echo "$port"
      return 0
    fi
  done
  return 1
}

stop_cluster() {
  local dir
  dir=$(cat "$state/pg.dir" 2>/dev/null) || dir=
  rm -f "$state"/pg.conninfo "$state"/pg.host "$state"/pg.port "$state"/pg.user "$state"/pg.dir
  if [ -n "$dir" ] && [ -d "$dir" ]; then
    if [ -f "$dir/data/postmaster.pid" ]; then
      as_owner "$bindir/pg_ctl" -D "$dir/data" -m immediate -w -t 30 stop >/dev/null 2>&1 || true
    fi
    rm -rf "$dir"
  fi
}

case "$action" in
  start)
    mkdir -p "$state"
    # A cluster left over from an interrupted run is stopped first.
    stop_cluster
    for prog in initdb pg_ctl pg_isready; do
      [ -x "$bindir/$prog" ] || unavailable "$bindir/$prog not found"
    done
    if [ "$(id -u)" = 0 ] && ! id postgres >/dev/null 2>&1; then
      unavailable "no postgres user to run the server as"
    fi

    dir=$(mktemp -d /tmp/kx6-pg.XXXXXX) || exit 1
    chmod 755 "$dir"
    mkdir "$dir/socket"
    if [ "$(id -u)" = 0 ]; then
      chown -R postgres: "$dir"
    fi
    echo "$dir" >"$state/pg.dir"
    port=$(free_port) || { echo "no free port found"; exit 1; }

    if ! as_owner "$bindir/initdb" -D "$dir/data" -A trust -U postgres -E UTF8 \
         --locale=C >"$dir/initdb.log" 2>&1; then
      cat "$dir/initdb.log"
      stop_cluster
      exit 1
    fi
    as_owner "$bindir/pg_ctl" -D "$dir/data" -l "$dir/server.log" \
      -o "-c listen_addresses='' -k $dir/socket -p $port -c fsync=off" \
      start >/dev/null 2>&1 </dev/null

    for _ in $(seq 1 $((wait_seconds * 4))); do
      if "$bindir/pg_isready" -q -h "$dir/socket" -p "$port" -U postgres; then
        echo "host=$dir/socket port=$port user=postgres dbname=postgres" >"$state/pg.conninfo.tmp"
        echo "$dir/socket" >"$state/pg.host"
        echo "$port" >"$state/pg.port"
        echo postgres >"$state/pg.user"
        mv "$state/pg.conninfo.tmp" "$state/pg.conninfo"
        echo "PostgreSQL test server running: $(cat "$state/pg.conninfo")"
        exit 0
      fi
      sleep 0.25
    done
    echo "PostgreSQL test server did not accept connections within ${wait_seconds}s; its log:"
    cat "$dir/server.log" 2>/dev/null
    stop_cluster
    exit 1
    ;;
  stop)
    stop_cluster
    echo "PostgreSQL test server stopped"
    ;;
  *)
    echo "usage: pg_server.sh start|stop STATEDIR" >&2
    exit 2
    ;;
esac
