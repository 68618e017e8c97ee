#!/usr/bin/env bash
# Benchmark: CSV export of 1,000,000 rows on SQLite (rows per second, peak PHP memory) and CSV
# import of 100,000 rows on SQLite and a private MariaDB server (seconds, peak PHP memory), beside
# their goals. Settings: EXPORT_ROWS (1000000), IMPORT_ROWS (100000), ENGINES ("sqlite mariadb");
# QB=path/to/quillbarrow generates the application with another build.
set -euo pipefail
cd "$(dirname "$0")/.."

. bench/tool.sh
QB_CLI="$QB" QB_SOURCE_DIR="$PWD" exec php bench/csv.php
