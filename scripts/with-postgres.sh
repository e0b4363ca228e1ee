#!/usr/bin/env bash
# Runs a command beside a throwaway PostgreSQL cluster, then stops the cluster and deletes it.
#
#   scripts/with-postgres.sh ctest --preset asan -L database
#
# The cluster lives in a temporary directory, listens on 127.0.0.1 at a free port (and on a socket
# in that directory), trusts every local connection and never syncs to disk: it is for tests and
# measurements only. The command sees the usual libpq variables (PGHOST, PGPORT, PGUSER,
# PGDATABASE) and TL_TEST_DATABASE, the URI of an empty database the tests make their schemas in.
# As root the server runs as the `postgres` user (initdb refuses root).
set -euo pipefail

if [ $# -eq 0 ]; then
  echo "usage: $0 COMMAND [ARG...]" >&2
  exit 2
fi

bindir=""
for candidate in "${TL_PG_BINDIR:-}" $(ls -d /usr/lib/postgresql/*/bin 2>/dev/null | sort -V -r); do
  if [ -n "$candidate" ] && [ -x "$candidate/initdb" ] && [ -x "$candidate/pg_ctl" ]; then
    bindir=$candidate
    break
  fi
done
if [ -z "$bindir" ]; then
  echo "$0: no PostgreSQL server binaries (initdb, pg_ctl) found; install postgresql" >&2
  exit 1
fi

as_server=()
if [ "$(id -u)" -eq 0 ]; then
  as_server=(runuser -u postgres --)
fi

dir=$(mktemp -d "${TMPDIR:-/tmp}/tl-pg.XXXXXX")
chmod 0755 "$dir"
[ ${#as_server[@]} -gt 0 ] && chown postgres: "$dir"
started=0
cleanup() {
  if [ "$started" -eq 1 ]; then
    "${as_server[@]}" "$bindir/pg_ctl" -D "$dir/data" -m immediate -w stop >/dev/null 2>&1 || true
  fi
  rm -rf "$dir"
}
trap cleanup EXIT
trap 'exit 130' INT
trap 'exit 143' TERM

"${as_server[@]}" "$bindir/initdb" -D "$dir/data" -U postgres -A trust -E UTF8 --no-locale --no-sync \
  >"$dir/initdb.log" 2>&1 || { cat "$dir/initdb.log" >&2; exit 1; }

# A port in the dynamic range that nothing answers on.
free_port() {
  local port
  while :; do
    port=$((49152 + RANDOM % 16000))
    if ! (exec 3<>"/dev/tcp/127.0.0.1/$port") 2>/dev/null; then
      echo "$port"
      return
    fi
  done
}

# Another process may take the port between the probe and the start: try a few.
for attempt in 1 2 3 4 5; do
  port=$(free_port)
  if "${as_server[@]}" "$bindir/pg_ctl" -D "$dir/data" -l "$dir/server.log" -w -t 60 start -o \
    "-c listen_addresses=127.0.0.1 -p $port -c unix_socket_directories=$dir -c fsync=off \
     -c synchronous_commit=off -c full_page_writes=off -c max_connections=200" >/dev/null; then
    started=1
    break
  fi
done
if [ "$started" -ne 1 ]; then
  echo "$0: the PostgreSQL server did not start:" >&2
  cat "$dir/server.log" >&2
  exit 1
fi

export PGHOST=127.0.0.1 PGPORT=$port PGUSER=postgres PGDATABASE=tlosses_test
"$bindir/psql" -q -X -d postgres -c "create database tlosses_test" >/dev/null
export TL_TEST_DATABASE="postgresql://postgres@127.0.0.1:$port/tlosses_test"
echo "with-postgres: PostgreSQL $("$bindir/pg_ctl" --version | awk '{print $3}') at $TL_TEST_DATABASE" >&2

status=0
"$@" || status=$?
exit "$status"
