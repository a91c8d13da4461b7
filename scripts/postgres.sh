# A throw-away PostgreSQL server for the tests: a new cluster in a temporary folder,
# reachable only through a Unix socket in that folder, removed again by stop_test_postgres.
# shellcheck shell=bash

SKORVIN_PG_BIN=${SKORVIN_PG_BIN:-/usr/lib/postgresql/15/bin}
SKORVIN_PG_DIR=""

# The Unicode psqlODBC driver by its file (the ANSI one cannot read the texts).
psqlodbc_driver() {
  local candidate
  for candidate in /usr/lib/x86_64-linux-gnu/odbc/psqlodbcw.so /usr/lib/aarch64-linux-gnu/odbc/psqlodbcw.so \
    /usr/lib/odbc/psqlodbcw.so; do
    [ -f "$candidate" ] && { echo "$candidate"; return 0; }
  done
  echo "PostgreSQL Unicode"
}

# Runs a server program as the owner of the cluster: PostgreSQL refuses to run as root.
pg_as_owner() {
  if [ "$(id -u)" -eq 0 ]; then
    runuser -u postgres -- "$@"
  else
    "$@"
  fi
}

# Starts the server and exports SKORVIN_PG_CONNECTION (an ODBC connection string to its
# database "postgres" as the superuser "skorvin") and SKORVIN_PG_RESTART (a command that
# restarts it, for the tests of a lost connection).
start_test_postgres() {
  SKORVIN_PG_DIR=$(mktemp -d /tmp/skorvin-pg.XXXXXX)
  chmod 755 "$SKORVIN_PG_DIR"
  [ "$(id -u)" -eq 0 ] && chown postgres: "$SKORVIN_PG_DIR"
  pg_as_owner "$SKORVIN_PG_BIN/initdb" -D "$SKORVIN_PG_DIR/data" -U skorvin --auth=trust -E UTF8 --locale=C \
    >"$SKORVIN_PG_DIR/initdb.log" 2>&1 || { cat "$SKORVIN_PG_DIR/initdb.log" >&2; return 1; }
  local options="-c listen_addresses='' -c unix_socket_directories=$SKORVIN_PG_DIR -c fsync=off"
  options+=" -c synchronous_commit=off -c full_page_writes=off"
  pg_as_owner "$SKORVIN_PG_BIN/pg_ctl" -D "$SKORVIN_PG_DIR/data" -l "$SKORVIN_PG_DIR/server.log" -o "$options" \
    -w -t 60 start >/dev/null || { cat "$SKORVIN_PG_DIR/server.log" >&2; return 1; }
  export SKORVIN_PG_CONNECTION="Driver=$(psqlodbc_driver);Servername=$SKORVIN_PG_DIR;Port=5432;Database=postgres;UID=skorvin;PWD="
  local restart="$SKORVIN_PG_BIN/pg_ctl -D $SKORVIN_PG_DIR/data -m fast -w -t 60 restart"
  [ "$(id -u)" -eq 0 ] && restart="runuser -u postgres -- $restart"
  export SKORVIN_PG_RESTART="$restart >/dev/null"
}

stop_test_postgres() {
  [ -n "$SKORVIN_PG_DIR" ] || return 0
  pg_as_owner "$SKORVIN_PG_BIN/pg_ctl" -D "$SKORVIN_PG_DIR/data" -m immediate -w stop >/dev/null 2>&1 || true
  rm -rf "$SKORVIN_PG_DIR"
  SKORVIN_PG_DIR=""
}
