#!/usr/bin/env bash
# Benchmark: the generated CRUD list page on SQLite under nginx + php-fpm (two workers, opcache, as
# deployed), beside two hand-written pages without a framework: the same-markup page
# (bench/baseline/same_markup.php: the same queries and, byte for byte, the same HTML) and the
# minimal page (bench/baseline/index.php: a 3 KB table, COUNT(*) and OFFSET at any size).
# For each table size in ROWS_LIST (1,000, 100,000 and 1,000,000 rows) and each case (first page;
# a middle page as a visitor reaches it, through the Next link of the page before it; the last
# page, through Last or page=N; a search; a filtered list) wrk gives requests/s, p50 and p99
# (medians of RUNS alternating runs of DURATION seconds) of the three pages, their ratios and the
# goals: generated >= 0.85 x same markup up to 100,000 rows; at 1,000,000 rows a first page p50
# <= 10 ms, a last page p50 <= 1.5 x the first page's, and >= 500 requests/s for the lists (first,
# middle, last, filtered); a search p50 <= 20 ms where the table has a full-text index (FULL_TEXT:
# auto marks the table "fullTextSearch" when this build generates full-text search, 1 requires it,
# 0 never). Before measuring, the same-markup page must print exactly what the generated list
# prints (delete-form tokens masked) for every measured address, and the minimal page the same rows.
# Then, for the sizes in VALGRIND_ROWS, instructions per request under valgrind (callgrind, one
# php-fpm worker; these hardly move with the machine's load) of the three pages and where the
# generated list's go (KEEP_CALLGRIND=path keeps the files as path-ROWS). QB=path/to/quillbarrow
# generates the application with another build.
set -euo pipefail
cd "$(dirname "$0")/.."
rows_list=${ROWS_LIST:-1000 100000 1000000}
duration=${DURATION:-2}
runs=${RUNS:-3}
connections=${CONNECTIONS:-4}
valgrind_rows=${VALGRIND_ROWS:-1000 1000000}
valgrind_requests=${VALGRIND_REQUESTS:-3}
full_text=${FULL_TEXT:-auto}
top=${TOP:-15}

. bench/tool.sh
. bench/web_servers.sh

work=$(mktemp -d)
pids=()
cleanup() {
  stop_servers
  rm -rf "$work"
}
trap cleanup EXIT

# The bench project with two filters (Quantity from/to, Active) and, as FULL_TEXT says, full-text search.
project() {
  php -r '$p = json_decode(file_get_contents($argv[1]), true);
    $items = &$p["database"]["entities"][0];
    foreach ($items["fields"] as &$field) { if (in_array($field["name"], ["quantity", "active"], true)) { $field["filter"] = true; } }
    unset($field);
    if ($argv[3] === "1") { $items["fullTextSearch"] = true; }
    file_put_contents($argv[2], json_encode($p, JSON_PRETTY_PRINT));' bench/crud_list_project.json "$work/project.json" "$1"
  rm -rf "$work/app"
  "$QB" crud "$work/project.json" "$work/app" >/dev/null
}
if [ "$full_text" = 0 ]; then
  project 0
else
  project 1
  if [ ! -f "$work/app/app/Core/FullTextSearch.php" ]; then
    if [ "$full_text" = 1 ]; then
      echo "FULL_TEXT=1, but this build generates no full-text search (no app/Core/FullTextSearch.php)" >&2
      exit 1
    fi
    full_text=0
    project 0
  fi
fi
export DB_DATABASE="$work/items.sqlite" APP_DEBUG=false APP_ENV=production

# The same-markup page with the line ends of the generated files.
mkdir -p "$work/same" "$work/cg"
if grep -q $'\r' "$work/app/public/index.php"; then
  sed 's/$/\r/' bench/baseline/same_markup.php >"$work/same/index.php"
else
  cp bench/baseline/same_markup.php "$work/same/index.php"
fi
cookie=$(php -r 'require $argv[1] . "/app/Core/Url.php"; require $argv[1] . "/app/Core/Session.php"; echo Session::name(), "t";' "$work/app")
filter_query='f%5Bquantity%5D%5Bfrom%5D=100&f%5Bquantity%5D%5Bto%5D=499&f%5Bactive%5D=1'
page_size=$(php -r 'echo json_decode(file_get_contents($argv[1]), true)["database"]["entities"][0]["pageSize"] ?? 20;' "$work/project.json")

# The generated, same-markup and minimal pages under nginx + php-fpm, as app, same and minimal.
serve() {
  local fts=0
  [ "$full_text_index" = no ] || fts=1
  FPM_ENV="env[BENCH_KEY] = \"$work/app/storage/app.key\"
env[BENCH_COOKIE] = \"$cookie\"
env[BENCH_FTS] = \"$fts\"" serve_nginx_fpm app "$work/app/public" same "$work/same" minimal "$PWD/bench/baseline"
}

mask() { sed -E 's/name="_csrf" value="[0-9a-f]{32}\.[0-9a-f]{64}"/name="_csrf" value="(token)"/g'; }
# The address of the link captioned $2 on the page at $1, or nothing.
link() { curl -sf "$1" | grep -oE "href=\"[^\"]*\">$2<" | head -1 | sed -E 's/^href="([^"]*)">.*/\1/; s/&amp;/\&/g' || true; }

# wrk on $1 for DURATION seconds: "requests/s p50 p99" (milliseconds). A server that closes every
# connection makes wrk count read errors; connect, write and timeout errors or a non-2xx answer
# fail the run.
measure() {
  local out
  for _ in 1 2 3; do curl -s -o /dev/null "$1"; done
  out=$(wrk -t2 -c"$connections" -d"${duration}s" --timeout 10s --latency -H 'Connection: close' "$1")
  if grep -q 'Non-2xx' <<<"$out" || grep -qE 'Socket errors: connect ([1-9]|0, read [0-9]+, write [1-9]|0, read [0-9]+, write 0, timeout [1-9])' <<<"$out"; then
    echo "wrk reported errors for $1:" >&2
    echo "$out" >&2
    exit 1
  fi
  awk 'function ms(t) { if (t ~ /us$/) return t / 1000; if (t ~ /ms$/) return t + 0; if (t ~ /m$/) return t * 60000; return t * 1000 }
    /^Requests\/sec:/ { r = $2 } /^ +50%/ { p50 = ms($2) } /^ +99%/ { p99 = ms($2) } END { print r, p50, p99 }' <<<"$out"
}

median() { sort -g | awk '{ v[NR] = $1 } END { print (NR % 2) ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2 }'; }
met() { if [ "$(echo "$1" | bc -l)" -eq 1 ]; then echo met; else echo 'NOT met'; fi; }

# The cases of a table of $1 rows: "name|generated list address|minimal page address"; the middle
# and last pages' addresses are taken from the generated list's own links.
cases_for() {
  local rows=$1 pages mid middle last
  pages=$(((rows + page_size - 1) / page_size))
  mid=$(((pages + 1) / 2))
  [ "$mid" -ge 2 ] || mid=2
  middle=$(link "$app/items?page=$((mid - 1))" Next)
  last=$(link "$app/items" Last)
  [ -n "$last" ] || last="/items?page=$pages"
  if [ -z "$middle" ]; then
    echo "no Next link on page $((mid - 1)) of the generated list" >&2
    exit 1
  fi
  cases=("first page|/items|/" "middle page|$middle|/?page=$mid" "last page|$last|/?page=$pages"
    "search|/items?q=amber|/?q=amber" "filtered|/items?$filter_query|/?$filter_query")
}

# Stops with a diff unless the same-markup page prints what the generated list prints, and the
# minimal page shows the same rows, for every case.
verify() {
  local c name path base_path a b
  for c in "${cases[@]}"; do
    IFS='|' read -r name path base_path <<<"$c"
    curl -sf "$app$path" | mask >"$work/generated.html"
    curl -sf "$same$path" | mask >"$work/same.html"
    if ! cmp -s "$work/generated.html" "$work/same.html"; then
      echo "$1 rows, $name ($path): the same-markup page differs from the generated list:" >&2
      diff "$work/generated.html" "$work/same.html" | head -40 >&2
      exit 1
    fi
    a=$(ids "$app$path") b=$(ids "$minimal$base_path")
    if [ -z "$a" ] || [ "$a" != "$b" ]; then
      echo "$1 rows, $name: the generated list and the minimal page show different rows" >&2
      echo "  generated: $a" >&2
      echo "  minimal:   $b" >&2
      exit 1
    fi
    verified+=("$1 rows, $name: $path, $(wc -c <"$work/generated.html") bytes, identical")
  done
}

printf 'nginx + php-fpm (two workers, opcache), wrk -t2 -c%d (p50/p99 include queueing: %d connections on two workers);\n' \
  "$connections" "$connections"
printf 'median of %d alternating runs of %d s; %d cores; table marked for full-text search: %s; load average at the start %s\n' \
  "$runs" "$duration" "$(nproc)" "$([ "$full_text" = 0 ] && echo no || echo yes)" "$(cut -d' ' -f1-3 /proc/loadavg)"
printf '%9s %-12s | %-23s | %-23s | %-23s | %-15s | %s\n' '' '' '     generated list' '    same-markup page' \
  '      minimal page' '     ratios' ''
printf '%9s %-12s | %8s %6s %7s | %8s %6s %7s | %8s %6s %7s | %7s %7s | %s\n' rows case 'req/s' p50 p99 'req/s' p50 p99 \
  'req/s' p50 p99 gen/same gen/min goals
verified=()
for rows in $rows_list; do
  fill_database "$rows" "$work/app"
  full_text_index=$(php -r '$p = new PDO("sqlite:" . $argv[1]);
    echo $p->query("SELECT COUNT(*) FROM sqlite_master WHERE name = '\''_fts_items'\''")->fetchColumn() > 0 ? "yes" : "no";' "$DB_DATABASE")
  serve
  curl -sf -o /dev/null "$app/items"  # makes storage/app.key, which signs the same-markup page's tokens too
  cases_for "$rows"
  verify "$rows"
  first_p50=''
  for c in "${cases[@]}"; do
    IFS='|' read -r name path base_path <<<"$c"
    gen=() sam=() min=()
    for _ in $(seq "$runs"); do
      gen+=("$(measure "$app$path")")
      sam+=("$(measure "$same$path")")
      min+=("$(measure "$minimal$base_path")")
    done
    col() { local i=$1; shift; printf '%s\n' "$@" | awk -v i="$i" '{ print $i }' | median; }
    g_rps=$(col 1 "${gen[@]}") g50=$(col 2 "${gen[@]}") g99=$(col 3 "${gen[@]}")
    s_rps=$(col 1 "${sam[@]}") s50=$(col 2 "${sam[@]}") s99=$(col 3 "${sam[@]}")
    m_rps=$(col 1 "${min[@]}") m50=$(col 2 "${min[@]}") m99=$(col 3 "${min[@]}")
    to_same=$(echo "$g_rps / $s_rps" | bc -l)
    to_min=$(echo "$g_rps / $m_rps" | bc -l)
    goals=()
    if [ "$rows" -le 100000 ]; then
      goals+=("gen/same >= 0.85 $(met "$to_same >= 0.85")")
    fi
    if [ "$rows" -ge 1000000 ]; then
      case $name in
        'first page')
          first_p50=$g50
          goals+=("p50 <= 10 ms $(met "$g50 <= 10")")
          ;;
        'last page') goals+=("p50 <= 1.5 x first page's $(met "$g50 <= 1.5 * $first_p50")") ;;
      esac
      case $name in
        search)
          if [ "$full_text_index" = yes ]; then
            goals+=("full-text search p50 <= 20 ms $(met "$g50 <= 20")")
          else
            goals+=('LIKE search, no full-text index')
          fi
          ;;
        *) goals+=(">= 500 req/s $(met "$g_rps >= 500")") ;;
      esac
    fi
    printf '%9d %-12s | %8.1f %6.2f %7.2f | %8.1f %6.2f %7.2f | %8.1f %6.2f %7.2f | %7.3f %7.3f | %s\n' "$rows" "$name" \
      "$g_rps" "$g50" "$g99" "$s_rps" "$s50" "$s99" "$m_rps" "$m50" "$m99" "$to_same" "$to_min" "$(IFS=';'; echo "${goals[*]/#/ }")"
  done
  stop_servers

  # Instructions per request under callgrind: one worker, each address requested in turn; the
  # worker writes its counts each time a request starts, so each file holds exactly one request.
  if [[ " $valgrind_rows " == *" $rows "* ]]; then
    if ! command -v valgrind >/dev/null 2>&1; then
      echo "valgrind is missing (apt-get install valgrind): no instruction counts" >&2
      continue
    fi
    rm -rf "$work/cg" && mkdir -p "$work/cg"
    fpm_wrapper=(valgrind --tool=callgrind --dump-before=php_request_startup "--callgrind-out-file=$work/cg/out.%p")
    FPM_CHILDREN=1 serve
    fpm_wrapper=()
    # The requests made so far (the servers' start) have files of their own.
    started=$(ls "$work/cg" | grep -cE '^out\.[0-9]+\.[0-9]+$' || true)
    sequence=()
    for c in "${cases[@]}"; do
      IFS='|' read -r name path base_path <<<"$c"
      for page in app same minimal; do
        target=$path
        [ "$page" != minimal ] || target=$base_path
        for i in $(seq 0 "$valgrind_requests"); do
          curl -sf -o /dev/null --max-time 600 "${!page}$target"
          sequence+=("$name|$page|$i")
        done
      done
    done
    curl -sf -o /dev/null --max-time 600 "$app/items"  # writes the last request's counts
    stop_servers
    worker=$(ls "$work/cg" | sed -nE 's/^out\.([0-9]+)\.[0-9]+$/\1/p' | sort -u | head -1)
    # Request k of the sequence (from 0) is in file number started + k + 2 (file 1 holds the
    # worker's start, each request's start writes the one before it).
    instr() { awk '/^(summary|totals):/ { print $2; exit }' "$work/cg/out.$worker.$((started + $1 + 2))"; }
    printf '\ninstructions per request (callgrind, median of %d after one warm-up), %d rows:\n' "$valgrind_requests" "$rows"
    printf '%-12s %14s %14s %14s %14s %9s\n' case generated 'same markup' minimal 'gen - same' gen/same
    declare -A cost=()
    k=0
    for entry in "${sequence[@]}"; do
      IFS='|' read -r name page i <<<"$entry"
      [ "$i" -eq 0 ] || cost[$name|$page]+="$(instr "$k") "
      [ "$i" -ne 1 ] || cost[$name|$page file]=$((started + k + 2))
      k=$((k + 1))
    done
    for c in "${cases[@]}"; do
      IFS='|' read -r name _ _ <<<"$c"
      g=$(tr ' ' '\n' <<<"${cost[$name|app]}" | grep . | median)
      s=$(tr ' ' '\n' <<<"${cost[$name|same]}" | grep . | median)
      m=$(tr ' ' '\n' <<<"${cost[$name|minimal]}" | grep . | median)
      printf '%-12s %14.0f %14.0f %14.0f %14.0f %9.2f\n' "$name" "$g" "$s" "$m" "$(echo "$g - $s" | bc)" "$(echo "$g / $s" | bc -l)"
    done
    printf '\nwhere the first page'\''s instructions go, %d rows (one request of each page):\n' "$rows"
    php bench/callgrind_summary.php compare "$work/cg/out.$worker.${cost[first page|app file]}" "$work/cg/out.$worker.${cost[first page|same file]}"
    printf 'the generated first page'\''s %d functions with most own instructions:\n' "$top"
    php bench/callgrind_summary.php top "$top" "$work/cg/out.$worker.${cost[first page|app file]}"
    [ -z "${KEEP_CALLGRIND:-}" ] || cp -r "$work/cg" "$KEEP_CALLGRIND-$rows"
    unset cost
  fi
done
printf '\nverified before measuring (delete-form tokens masked):\n'
printf '  %s\n' "${verified[@]}"
printf 'load average at the end %s\n' "$(cut -d' ' -f1-3 /proc/loadavg)"
