#!/usr/bin/env bash
# Benchmark: requests per second of the generated CRUD list page on SQLite with 100,000 rows
# (first page, a middle page, a search) against a hand-written PDO page running the same queries.
# Runs alternate between the two RUNS times; prints the medians and their ratio list/baseline
# (the figure of merit).
set -euo pipefail
cd "$(dirname "$0")/.."
rows=${ROWS:-100000}
duration=${DURATION:-5}
runs=${RUNS:-3}
connections=${CONNECTIONS:-4}

build=build-bench
cmake -S . -B "$build" -DCMAKE_BUILD_TYPE=Release -DQB_BUILD_TESTS=OFF >/dev/null
cmake --build "$build" -j"$(nproc)" >/dev/null

work=$(mktemp -d)
pids=()
# Stops each server's workers and the server itself.
cleanup() {
  for pid in "${pids[@]}"; do kill $(pgrep -P "$pid") "$pid" 2>/dev/null || true; done
  wait 2>/dev/null || true
  rm -rf "$work"
}
trap cleanup EXIT

"$build/quillbarrow" crud bench/crud_list_project.json "$work/app" >/dev/null
export DB_DATABASE="$work/items.sqlite" APP_DEBUG=false APP_ENV=production
php "$work/app/bin/migrate.php" >/dev/null

# The rows, in one transaction; titles carry one of 20 colours, so a colour matches about 5%.
ROWS=$rows php <<'PHP'
<?php
$pdo = new PDO('sqlite:' . getenv('DB_DATABASE'), null, null, [PDO::ATTR_ERRMODE => PDO::ERRMODE_EXCEPTION]);
$colours = ['amber', 'blue', 'coral', 'denim', 'ebony', 'fern', 'gold', 'hazel', 'indigo', 'jade',
    'khaki', 'lilac', 'mint', 'navy', 'olive', 'peach', 'quartz', 'rose', 'sand', 'teal'];
$things = ['lamp', 'chair', 'table', 'shelf', 'mug', 'vase', 'rug', 'clock', 'frame', 'desk', 'stool', 'bowl'];
mt_srand(42);
$pdo->beginTransaction();
$insert = $pdo->prepare('INSERT INTO `items` (`title`, `code`, `price`, `quantity`, `active`, `added_on`, `notes`)'
    . ' VALUES (?, ?, ?, ?, ?, ?, ?)');
for ($i = 1, $n = (int) getenv('ROWS'); $i <= $n; $i++) {
    $title = ucfirst($colours[mt_rand(0, 19)]) . ' ' . $things[mt_rand(0, 11)] . ' ' . $i;
    $insert->execute([$title, sprintf('SKU-%06d', $i), mt_rand(100, 50000) / 100, mt_rand(0, 999), $i % 3 !== 0 ? 1 : 0,
        date('Y-m-d', 1577836800 + 86400 * ($i % 1500)), 'Stock item number ' . $i . ', kept in aisle ' . ($i % 40) . '.']);
}
$pdo->commit();
PHP

free_port() { php -r '$s = stream_socket_server("tcp://127.0.0.1:0"); echo substr(strrchr(stream_socket_get_name($s, false), ":"), 1);'; }

# Serves a document root on 127.0.0.1 with two workers; sets the variable named $1 to the base
# URL once the server answers.
serve() {
  local root=$2 port url
  port=$(free_port)
  url="http://127.0.0.1:$port"
  mkdir -p "$work/sessions"
  PHP_CLI_SERVER_WORKERS=2 BENCH_DB="$DB_DATABASE" php -d session.save_path="$work/sessions" \
    -S "127.0.0.1:$port" -t "$root" >"$work/server-$port.log" 2>&1 &
  pids+=($!)
  for _ in $(seq 100); do
    if curl -s -o /dev/null "$url/"; then
      printf -v "$1" '%s' "$url"
      return
    fi
    sleep 0.1
  done
  echo "server for $root did not start: $(cat "$work/server-$port.log")" >&2
  exit 1
}
serve app "$work/app/public"
serve baseline bench/baseline

# Both pages must show the same rows before their speed means anything.
ids() { curl -sf "$1" | grep -oE 'name="id" value="[0-9]+"|data-id="[0-9]+"' | grep -oE '[0-9]+' | tr '\n' ' '; }
middle=$(( (rows / 20 + 1) / 2 ))
cases=("first page|/items|/" "middle page|/items?page=$middle|/?page=$middle" "search|/items?q=amber|/?q=amber")
for c in "${cases[@]}"; do
  IFS='|' read -r name app_path base_path <<<"$c"
  a=$(ids "$app$app_path") b=$(ids "$baseline$base_path")
  if [ -z "$a" ] || [ "$a" != "$b" ]; then
    echo "$name: the list and the baseline show different rows" >&2
    echo "  list:     $a" >&2
    echo "  baseline: $b" >&2
    exit 1
  fi
done

# Requests per second over DURATION seconds. PHP's server closes every connection, which wrk
# counts as a read error; connect, write and timeout errors or a non-2xx answer fail the run.
rps() {
  local out
  for _ in 1 2 3; do curl -s -o /dev/null "$1"; done
  out=$(wrk -t2 -c"$connections" -d"${duration}s" -H 'Connection: close' "$1")
  if grep -q 'Non-2xx' <<<"$out" || grep -qE 'Socket errors: connect ([1-9]|0, read [0-9]+, write [1-9]|0, read [0-9]+, write 0, timeout [1-9])' <<<"$out"; then
    echo "wrk reported errors for $1:" >&2
    echo "$out" >&2
    exit 1
  fi
  awk '/^Requests\/sec:/ { print $2 }' <<<"$out"
}

median() { sort -g | awk '{ v[NR] = $1 } END { print (NR % 2) ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2 }'; }

printf 'rows %d; median of %d alternating runs of %d s; wrk -t2 -c%d; php -S with 2 workers\n' \
  "$rows" "$runs" "$duration" "$connections"
printf '%-12s %14s %14s %10s\n' case 'list req/s' 'baseline req/s' ratio
for c in "${cases[@]}"; do
  IFS='|' read -r name app_path base_path <<<"$c"
  list_runs=() base_runs=()
  for _ in $(seq "$runs"); do
    list_runs+=("$(rps "$app$app_path")")
    base_runs+=("$(rps "$baseline$base_path")")
  done
  list_rps=$(printf '%s\n' "${list_runs[@]}" | median)
  base_rps=$(printf '%s\n' "${base_runs[@]}" | median)
  printf '%-12s %14.1f %14.1f %10.3f\n' "$name" "$list_rps" "$base_rps" "$(echo "$list_rps / $base_rps" | bc -l)"
done
