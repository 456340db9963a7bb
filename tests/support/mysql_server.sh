#!/usr/bin/env bash
# Throwaway MariaDB server for the tests.
#   mysql_server.sh start STATEDIR   create a data folder, start the server
#   mysql_server.sh stop STATEDIR    stop it and remove its folder
# The server runs without networking on a socket in its temporary folder; root
# logs in without a password. STATEDIR receives mysql.socket and mysql.dir
# (the temporary folder, used by "stop").
set -uo pipefail

action=${1:?usage: mysql_server.sh start|stop STATEDIR}
state=${2:?usage: mysql_server.sh start|stop STATEDIR}
wait_seconds=${KX6_SERVER_WAIT:-60}

find_prog() {
  command -v "$1" 2>/dev/null || { [ -x "/usr/sbin/$1" ] && echo "/usr/sbin/$1"; }
}

# Missing server programs fail the fixture in CI; elsewhere the dependent
# tests find no socket and skip.
unavailable() {
  echo "MariaDB test server unavailable: $1"
  if [ "${CI:-}" = true ]; then
    exit 1
  fi
  exit 0
}

stop_server() {
  local dir pid
  dir=$(cat "$state/mysql.dir" 2>/dev/null) || dir=
  rm -f "$state"/mysql.socket "$state"/mysql.dir
  if [ -n "$dir" ] && [ -d "$dir" ]; then
    pid=$(cat "$dir/mariadbd.pid" 2>/dev/null || cat "$dir/launch.pid" 2>/dev/null) || pid=
    if [ -n "$pid" ] && kill -0 "$pid" 2>/dev/null; then
      kill -TERM "$pid" 2>/dev/null
      for _ in $(seq 1 120); do
        kill -0 "$pid" 2>/dev/null || break
        sleep 0.25
      done
      kill -KILL "$pid" 2>/dev/null || true
    fi
    rm -rf "$dir"
  fi
}

case "$action" in
  start)
    mkdir -p "$state"
    # A server left over from an interrupted run is stopped first.
    stop_server
    installdb=$(find_prog mariadb-install-db) || unavailable "mariadb-install-db not found"
    server=$(find_prog mariadbd) || unavailable "mariadbd not found"
    admin=$(find_prog mariadb-admin) || unavailable "mariadb-admin not found"

    dir=$(mktemp -d /tmp/kx6-mysql.XXXXXX) || exit 1
    echo "$dir" >"$state/mysql.dir"
    socket="$dir/mysql.sock"
    user=$(id -un)

    if ! "$installdb" --no-defaults --datadir="$dir/data" --user="$user" \
         --auth-root-authentication-method=normal --skip-test-db \
         >"$dir/install.log" 2>&1; then
      cat "$dir/install.log"
      stop_server
      exit 1
    fi
    # The server runs detached from the test's output so CTest does not wait
    # for it; it writes its own pid file.
    setsid "$server" --no-defaults --user="$user" --skip-networking \
      --socket="$socket" --datadir="$dir/data" --pid-file="$dir/mariadbd.pid" \
      --log-error="$dir/server.log" --innodb-flush-log-at-trx-commit=0 \
      --character-set-server=utf8mb4 --collation-server=utf8mb4_general_ci \
      </dev/null >/dev/null 2>&1 &
    echo $! >"$dir/launch.pid"

    for _ in $(seq 1 $((wait_seconds * 4))); do
      if "$admin" --no-defaults --socket="$socket" -uroot ping >/dev/null 2>&1; then
        echo "$socket" >"$state/mysql.socket"
        echo "MariaDB test server running on $socket"
        exit 0
      fi
      sleep 0.25
    done
    echo "MariaDB test server did not accept connections within ${wait_seconds}s; its log:"
    cat "$dir/server.log" 2>/dev/null
    stop_server
    exit 1
    ;;
  stop)
    stop_server
    echo "MariaDB test server stopped"
    ;;
  *)
    echo "usage: mysql_server.sh start|stop STATEDIR" >&2
    exit 2
    ;;
esac
