#!/bin/sh
# A throwaway PostgreSQL cluster for the tests: "start DIR" makes one in DIR,
# listening on 127.0.0.1 at the first free port from 55432, and writes its
# address to DIR/url; "stop DIR" stops it and removes DIR. As root the server
# runs as the postgres user, which the server package makes.
set -u
cmd=$1
dir=$2
bin=$(ls -d /usr/lib/postgresql/*/bin 2>/dev/null | sort -V | tail -1)
as=""
if [ "$(id -u)" = 0 ]; then as="runuser -u postgres --"; fi
case "$cmd" in
start)
    if [ -z "$bin" ] || [ ! -x "$bin/initdb" ]; then
        echo "PostgreSQL's server is not installed (Debian: apt-get install postgresql)." >&2
        exit 1
    fi
    # A server left by an earlier run in this folder goes first.
    if [ -d "$dir/data" ]; then
        $as "$bin/pg_ctl" -D "$dir/data" -m immediate -w stop >/dev/null 2>&1
    fi
    rm -rf "$dir"
    mkdir -p "$dir"
    [ -n "$as" ] && chown postgres "$dir"
    if ! $as "$bin/initdb" -D "$dir/data" -A trust -U postgres -E UTF8 --locale=C.UTF-8 --no-sync >"$dir/initdb.log" 2>&1; then
        echo "initdb failed:" >&2
        cat "$dir/initdb.log" >&2
        exit 1
    fi
    port=55432
    while [ $port -lt 55532 ]; do
        if $as "$bin/pg_ctl" -D "$dir/data" -l "$dir/server.log" -w -t 120 \
            -o "-c listen_addresses=127.0.0.1 -p $port -k $dir -c fsync=off -c max_connections=100" start >/dev/null 2>&1; then
            echo "postgresql://postgres@127.0.0.1:$port/postgres" >"$dir/url"
            exit 0
        fi
        port=$((port + 1))
    done
    echo "The test server did not start:" >&2
    cat "$dir/server.log" >&2
    exit 1
    ;;
stop)
    if [ -d "$dir/data" ]; then
        $as "$bin/pg_ctl" -D "$dir/data" -m fast -w stop >/dev/null 2>&1
    fi
    rm -rf "$dir"
    ;;
esac
