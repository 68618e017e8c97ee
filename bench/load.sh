#!/usr/bin/env bash
# Benchmark: the generated CRUD application behind nginx + php-fpm and Apache + mod_php, on SQLite
# and a private MariaDB server. wrk against the list page, a search and a later list page (requests
# per second, p50/p99 latency, non-2xx answers), then a burst of concurrent adds by CLIENTS clients
# with ADDS adds each, every client with its own session and form token; the row count before and
# after must differ by exactly the number of accepted adds. Exits 1 when any figure shows an error.
# Settings: ROWS (2000), DURATION seconds per wrk run (5), CONNECTIONS (8), CLIENTS (8), ADDS (25),
# WORKERS PHP workers per server (8); SERVERS ("nginx+php-fpm apache+mod_php") and ENGINES
# ("sqlite mariadb") narrow the runs; QB=path/to/quillbarrow generates the application with another build.
set -euo pipefail
cd "$(dirname "$0")/.."

. bench/tool.sh
QB_CLI="$QB" QB_SOURCE_DIR="$PWD" exec php bench/load.php
