#!/usr/bin/env bash
# A throwaway PostgreSQL server for the tests: a new cluster in a new temporary
# folder, reachable only through a Unix socket in that folder (no TCP port), so
# several test runs on one machine never meet. The server refuses to run as root:
# under root it runs as the unprivileged user "postgres".
#   scripts/pg-test-server.sh start   prints the folder, then the address prefix
#                                     (postgresql://postgres@<socket folder>/)
#   scripts/pg-test-server.sh stop DIR
set -euo pipefail

bindir() {
  local d
  d="$(pg_config --bindir 2>/dev/null || true)"
  if [ -z "$d" ] || [ ! -x "$d/initdb" ]; then
    d="$(ls -d /usr/lib/postgresql/*/bin 2>/dev/null | sort -V | tail -n 1)"
  fi
  if [ -z "$d" ] || [ ! -x "$d/initdb" ]; then
    echo "pg-test-server: initdb not found (install postgresql)" >&2
    exit 1
  fi
  echo "$d"
}

as_server_user() {
  if [ "$(id -u)" -eq 0 ]; then
    runuser -u postgres -- "$@"
  else
    "$@"
  fi
}

case "${1:-}" in
start)
  BIN="$(bindir)"
  DIR="$(mktemp -d "${TMPDIR:-/tmp}/halvorra-pg.XXXXXX")"
  STARTED=""
  # Whatever fails on the way leaves no server and no folder behind.
  trap '[ -n "$STARTED" ] || { as_server_user "$BIN/pg_ctl" -D "$DIR/data" -m immediate stop \
    >/dev/null 2>&1 || true; rm -rf "$DIR"; }' EXIT
  chmod 700 "$DIR"
  if [ "$(id -u)" -eq 0 ]; then chown postgres "$DIR"; fi
  if ! as_server_user "$BIN/initdb" -D "$DIR/data" -U postgres -A trust -E UTF8 --locale=C \
      --no-sync >"$DIR/initdb.log" 2>&1; then
    cat "$DIR/initdb.log" >&2
    exit 1
  fi
  # Everyone is trusted, but for one user who must give a password (the tests of
  # a wrong password).
  as_server_user sh -c "printf 'local all halvorra_pw scram-sha-256\n' | cat - '$DIR/data/pg_hba.conf' \
    >'$DIR/data/pg_hba.new' && mv '$DIR/data/pg_hba.new' '$DIR/data/pg_hba.conf'"
  # Speed over durability: the cluster lives for one test run.
  if ! as_server_user "$BIN/pg_ctl" -D "$DIR/data" -l "$DIR/server.log" -w -t 60 \
      -o "-c listen_addresses='' -c unix_socket_directories='$DIR' -c fsync=off \
          -c synchronous_commit=off -c full_page_writes=off -c max_connections=200" \
      start >/dev/null; then
    cat "$DIR/server.log" >&2
    exit 1
  fi
  STARTED=1
  echo "$DIR"
  echo "postgresql://postgres@${DIR//\//%2F}/"
  ;;
stop)
  DIR="${2:?folder}"
  BIN="$(bindir)"
  if [ -d "$DIR/data" ]; then
    as_server_user "$BIN/pg_ctl" -D "$DIR/data" -m immediate -w stop >/dev/null 2>&1 || true
  fi
  rm -rf "$DIR"
  ;;
*)
  echo "usage: $0 start | stop DIR" >&2
  exit 2
  ;;
esac
