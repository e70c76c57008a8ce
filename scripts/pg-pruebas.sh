#!/usr/bin/env bash
# A throwaway PostgreSQL cluster for the tests, on a Unix socket only.
#   pg-pruebas.sh arranca CARPETA   initdb into CARPETA and start it; prints the
#                                   connection address the tests use
#   pg-pruebas.sh para CARPETA      stop it and remove CARPETA
# As root the cluster runs as "nobody" (initdb refuses root).
set -euo pipefail
orden=${1:?orden}
dir=${2:?carpeta}
bin=$(ls -d /usr/lib/postgresql/*/bin 2>/dev/null | sort -V | tail -n 1)
[ -n "$bin" ] || { echo "PostgreSQL no está instalado" >&2; exit 1; }
como() {
  if [ "$(id -u)" = 0 ]; then runuser -u nobody -- "$@"; else "$@"; fi
}
case "$orden" in
  arranca)
    rm -rf "$dir"; mkdir -p "$dir"
    [ "$(id -u)" = 0 ] && chown nobody: "$dir"
    como "$bin/initdb" -D "$dir/datos" -U fiscalino --auth=trust -E UTF8 --locale=C.UTF-8 >"$dir/initdb.log" 2>&1
    # The tests' own role needs no password; any other must give its own.
    printf 'local all fiscalino trust\nlocal all all scram-sha-256\n' > "$dir/datos/pg_hba.conf"
    como "$bin/pg_ctl" -D "$dir/datos" -l "$dir/servidor.log" -w \
      -o "-c listen_addresses='' -k $dir -c fsync=off -c full_page_writes=off -c synchronous_commit=off" start >/dev/null
    como "$bin/psql" -q -h "$dir" -U fiscalino -d postgres \
      -c "create role con_clave login password 'correcta'" >/dev/null
    echo "postgresql://fiscalino@/postgres?host=$dir"
    ;;
  para)
    [ -d "$dir/datos" ] && como "$bin/pg_ctl" -D "$dir/datos" -m immediate -w stop >/dev/null 2>&1 || true
    rm -rf "$dir"
    ;;
  *) echo "uso: $0 arranca|para CARPETA" >&2; exit 2 ;;
esac
