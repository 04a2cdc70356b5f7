#!/usr/bin/env bash
# Runs a command beside a throw-away PostgreSQL cluster of its own: made under
# build/postgres/ with initdb, listening on a socket in that folder only (no TCP
# port), a password login, and stopped and removed on every way out.
# The command finds it through VELMORA_PG_SOCKET, VELMORA_PG_PORT, VELMORA_PG_USER,
# VELMORA_PG_PASSWORD and VELMORA_ODBC_DRIVER (the psqlODBC driver's file).
set -euo pipefail
cd "$(dirname "$0")/.."
bin=$(ls -d /usr/lib/postgresql/*/bin | sort -V | tail -1)
driver=$(ls /usr/lib/*/odbc/psqlodbcw.so 2>/dev/null | head -1)
[ -x "$bin/initdb" ] && [ -n "$driver" ] || { echo "with-postgres: PostgreSQL or psqlODBC is missing" >&2; exit 1; }

# The server refuses to run as root: then it runs as an unprivileged user.
owner=$(id -un)
if [ "$(id -u)" -eq 0 ]; then
  owner=postgres
  id "$owner" >/dev/null 2>&1 || useradd --system --no-create-home --shell /usr/sbin/nologin "$owner"
fi
as_owner() { if [ "$owner" = "$(id -un)" ]; then "$@"; else runuser -u "$owner" -- "$@"; fi; }

root=$PWD/build/postgres/$$
port=55432
password="pg-$RANDOM$RANDOM$RANDOM"
# A socket's path holds at most 107 bytes: a deep checkout gets a short folder.
socket=$root
[ ${#socket} -le 80 ] || socket=$(mktemp -d /tmp/velmora-pg.XXXXXX)
stop() {
  as_owner "$bin/pg_ctl" -D "$root/data" -m immediate stop >/dev/null 2>&1 || true
  rm -rf "$root"
  [ "$socket" = "$root" ] || rm -rf "$socket"
}
trap stop EXIT
trap 'exit 130' INT TERM HUP
mkdir -p "$root"
chown "$owner" "$socket"
printf '%s\n' "$password" >"$root/password"
chown -R "$owner" "$root"
as_owner "$bin/initdb" -D "$root/data" -U velmora --pwfile="$root/password" --auth=scram-sha-256 \
  -E UTF8 --locale=C.UTF-8 >"$root/initdb.log" 2>&1 || { cat "$root/initdb.log" >&2; exit 1; }
as_owner "$bin/pg_ctl" -D "$root/data" -l "$root/server.log" -w -o \
  "-c listen_addresses='' -k $socket -p $port -c fsync=off -c max_connections=40" start >/dev/null ||
  { cat "$root/server.log" >&2; exit 1; }

export VELMORA_PG_SOCKET=$socket VELMORA_PG_PORT=$port VELMORA_PG_USER=velmora VELMORA_PG_PASSWORD=$password
export VELMORA_ODBC_DRIVER=$driver
"$@"
