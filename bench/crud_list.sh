#!/usr/bin/env bash
# Benchmark: requests per second of the generated CRUD list page on SQLite (first page, a middle
# page, a search) against a hand-written PDO page running the same queries, at 1,000 and at
# 100,000 rows (ROWS_LIST), under nginx + php-fpm with opcache (as deployed) and under php -S
# (SERVERS). QB=path/to/quillbarrow generates the application with another build. Runs alternate between the two RUNS times; prints the medians and their ratio
# list/baseline (the figure of merit) beside its goal.
set -euo pipefail
cd "$(dirname "$0")/.."
rows_list=${ROWS_LIST:-1000 100000}
servers=${SERVERS:-nginx-fpm php-s}
duration=${DURATION:-5}
runs=${RUNS:-3}
connections=${CONNECTIONS:-4}

. bench/tool.sh

work=$(mktemp -d)
pids=()
cleanup() {
  stop_servers
  rm -rf "$work"
}
trap cleanup EXIT

"$QB" crud bench/crud_list_project.json "$work/app" >/dev/null
export DB_DATABASE="$work/items.sqlite" APP_DEBUG=false APP_ENV=production

. bench/web_servers.sh

printf 'median of %d alternating runs of %d s; wrk -t2 -c%d; two PHP workers; load average %s\n' \
  "$runs" "$duration" "$connections" "$(cut -d' ' -f1-3 /proc/loadavg)"
printf '%-10s %7s %-12s %12s %14s %7s %s\n' server rows case 'list req/s' 'baseline req/s' ratio goal
for rows in $rows_list; do
  fill_database "$rows" "$work/app"
  # At least 0.7 of the baseline with few rows, where fixed costs dominate, 0.9 with many.
  goal=0.7
  [ "$rows" -lt 100000 ] || goal=0.9
  middle=$(((rows / 20 + 1) / 2))
  cases=("first page|/items|/" "middle page|/items?page=$middle|/?page=$middle" "search|/items?q=amber|/?q=amber")
  for server in $servers; do
    case $server in
      php-s)
        serve_php app "$work/app/public"
        serve_php baseline bench/baseline
        ;;
      nginx-fpm) serve_nginx_fpm app "$work/app/public" baseline "$PWD/bench/baseline" ;;
      *)
        echo "unknown server $server (nginx-fpm or php-s)" >&2
        exit 1
        ;;
    esac
    # Both pages must show the same rows before their speed means anything.
    for c in "${cases[@]}"; do
      IFS='|' read -r name app_path base_path <<<"$c"
      a=$(ids "$app$app_path") b=$(ids "$baseline$base_path")
      if [ -z "$a" ] || [ "$a" != "$b" ]; then
        echo "$server, $rows rows, $name: the list and the baseline show different rows" >&2
        echo "  list:     $a" >&2
        echo "  baseline: $b" >&2
        exit 1
      fi
    done
    for c in "${cases[@]}"; do
      IFS='|' read -r name app_path base_path <<<"$c"
      list_runs=() base_runs=()
      for _ in $(seq "$runs"); do
        list_runs+=("$(rps "$app$app_path")")
        base_runs+=("$(rps "$baseline$base_path")")
      done
      list_rps=$(printf '%s\n' "${list_runs[@]}" | median)
      base_rps=$(printf '%s\n' "${base_runs[@]}" | median)
      ratio=$(echo "$list_rps / $base_rps" | bc -l)
      met=no
      [ "$(echo "$ratio >= $goal" | bc -l)" -eq 0 ] || met=yes
      printf '%-10s %7d %-12s %12.1f %14.1f %7.3f >= %s met: %s\n' "$server" "$rows" "$name" "$list_rps" "$base_rps" \
        "$ratio" "$goal" "$met"
    done
    stop_servers
  done
done
printf 'load average at the end %s\n' "$(cut -d' ' -f1-3 /proc/loadavg)"
