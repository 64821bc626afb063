#!/bin/sh
# Runs COMMAND with a PostgreSQL server of its own: a new cluster in a
# temporary folder, reached only through a Unix socket in that folder (no
# TCP), its URL in XRD_TEST_PG_URL (or the variable --export names). The
# server is stopped and the folder removed however the command ends. Exits
# non-zero, without running the command, when the server cannot start.
#
#   scripts/with-postgres.sh [--export VARIABLE] COMMAND [ARGUMENT...]
set -eu
variable=XRD_TEST_PG_URL
if [ "${1:-}" = "--export" ]; then
  variable=$2
  shift 2
fi
if [ $# -eq 0 ]; then
  echo "usage: $0 [--export VARIABLE] COMMAND [ARGUMENT...]" >&2
  exit 2
fi

bindir=$(ls -d /usr/lib/postgresql/*/bin 2>/dev/null | sort -V | tail -n 1)
if [ -z "$bindir" ] || [ ! -x "$bindir/initdb" ]; then
  echo "$0: no PostgreSQL server found under /usr/lib/postgresql" >&2
  exit 1
fi

folder=$(mktemp -d)
# The server refuses to run as root: as root it runs as the postgres user.
if [ "$(id -u)" -eq 0 ]; then
  chown postgres: "$folder"
  as_server() { runuser -u postgres -- "$@"; }
else
  as_server() { "$@"; }
fi

stop() {
  status=$?
  if [ -f "$folder/data/postmaster.pid" ]; then
    as_server "$bindir/pg_ctl" stop -D "$folder/data" -m immediate -s >/dev/null 2>&1 || true
  fi
  rm -rf "$folder"
  exit "$status"
}
trap stop EXIT
trap 'exit 130' INT
trap 'exit 143' TERM

user=xrdtest
if ! as_server "$bindir/initdb" -D "$folder/data" -U "$user" -A trust \
     --no-sync >"$folder/initdb.log" 2>&1; then
  echo "$0: initdb failed:" >&2
  cat "$folder/initdb.log" >&2
  exit 1
fi
if ! as_server "$bindir/pg_ctl" start -w -s -D "$folder/data" -l "$folder/server.log" \
     -o "-c listen_addresses= -k $folder -c fsync=off" >/dev/null; then
  echo "$0: the PostgreSQL server did not start:" >&2
  cat "$folder/server.log" >&2
  exit 1
fi

export "$variable=postgresql://$user@/postgres?host=$folder"
"$@"
