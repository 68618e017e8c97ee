#!/usr/bin/env bash
# Benchmark: what sign-in costs. The same CRUD list page (1,000 rows on SQLite, ROWS) under nginx +
# php-fpm with opcache, generated once without and once with sign-in, each requested with a session
# cookie of its own (signed in where that is required); requests per second of both, alternating
# RUNS times, medians and their ratio beside the goal of 0.95. Then the time of one sign-in request:
# the right password, a wrong one and an unknown account (the last two should take about as long).
set -euo pipefail
cd "$(dirname "$0")/.."
rows=${ROWS:-1000}
duration=${DURATION:-5}
runs=${RUNS:-3}
connections=${CONNECTIONS:-4}
attempts=${ATTEMPTS:-9}
password='a bench password of some length'

. bench/tool.sh

work=$(mktemp -d)
pids=()
cleanup() {
  stop_servers
  rm -rf "$work"
}
trap cleanup EXIT

. bench/web_servers.sh

"$QB" crud bench/crud_list_project.json "$work/open" >/dev/null
php -r '$p = json_decode(file_get_contents($argv[1]), true);
  $p["security"] = ["signIn" => true, "roles" => ["clerk"]];
  file_put_contents($argv[2], json_encode($p, JSON_PRETTY_PRINT));' bench/crud_list_project.json "$work/signed.json"
"$QB" crud "$work/signed.json" "$work/signed" >/dev/null
export DB_DATABASE="$work/items.sqlite" APP_DEBUG=false APP_ENV=production
fill_database "$rows" "$work/open"
for i in $(seq "$attempts"); do
  printf '%s\n' "$password" | php "$work/signed/bin/users.php" add "clerk$i@bench.example" --role clerk >/dev/null
done

FPM_ENV='env[APP_TRUSTED_PROXY] = "127.0.0.1"' serve_nginx_fpm open "$work/open/public" signed "$work/signed/public"

# The cookies of the site at $1 ("name=value; ..."), signed in as $2 when given.
session_cookie() {
  local jar="$work/jar-$RANDOM" token
  token=$(curl -sf -c "$jar" "$1/account/login" | grep -oE 'name="_csrf" value="[0-9a-f.]+"' | grep -oE '[0-9a-f]{32}\.[0-9a-f]{64}' || true)
  if [ -n "${2:-}" ]; then
    curl -sf -b "$jar" -c "$jar" -o /dev/null -d "_csrf=$token" --data-urlencode "email=$2" --data-urlencode "password=$password" "$1/account/login"
  else
    curl -sf -c "$jar" -o /dev/null "$1/items"
  fi
  awk '$6 ~ /^ktb/ { printf "%s%s=%s", sep, $6, $7; sep = "; " }' "$jar"
}
open_cookie=$(session_cookie "$open")
signed_cookie=$(session_cookie "$signed" clerk1@bench.example)
rps_with() { local out; out=$(wrk -t2 -c"$connections" -d"${duration}s" -H "Cookie: $2" "$1"); awk '/^Requests\/sec:/ { print $2 }' <<<"$out"; }
if ! curl -sf -H "Cookie: $signed_cookie" "$signed/items" | grep -q 'name="id"'; then
  echo "the signed-in list shows no rows: signing in failed" >&2
  exit 1
fi

printf 'median of %d alternating runs of %d s; wrk -t2 -c%d; two php-fpm workers; %d rows; load average %s\n' \
  "$runs" "$duration" "$connections" "$rows" "$(cut -d' ' -f1-3 /proc/loadavg)"
open_runs=() signed_runs=()
for _ in $(seq "$runs"); do
  open_runs+=("$(rps_with "$open/items" "$open_cookie")")
  signed_runs+=("$(rps_with "$signed/items" "$signed_cookie")")
done
open_rps=$(printf '%s\n' "${open_runs[@]}" | median)
signed_rps=$(printf '%s\n' "${signed_runs[@]}" | median)
ratio=$(echo "$signed_rps / $open_rps" | bc -l)
met=no
[ "$(echo "$ratio >= 0.95" | bc -l)" -eq 0 ] || met=yes
printf '%-34s %10.1f req/s\n%-34s %10.1f req/s\n%-34s %10.3f >= 0.95 met: %s\n' 'list, sign-in off' "$open_rps" \
  'list, signed in' "$signed_rps" 'ratio' "$ratio" "$met"

# One sign-in POST, in milliseconds; each attempt from an address of its own behind the trusted
# proxy, so no lock interferes.
sign_in_ms() {
  local jar="$work/jar-$RANDOM" token
  token=$(curl -sf -c "$jar" "$signed/account/login" | grep -oE '[0-9a-f]{32}\.[0-9a-f]{64}' | head -1)
  curl -s -b "$jar" -o /dev/null -w '%{time_total}\n' -H "X-Forwarded-For: $3" -d "_csrf=$token" \
    --data-urlencode "email=$1" --data-urlencode "password=$2" "$signed/account/login" | awk '{ printf "%.1f\n", $1 * 1000 }'
}
right=() wrong=() unknown=()
for i in $(seq "$attempts"); do
  right+=("$(sign_in_ms "clerk$i@bench.example" "$password" "10.1.0.$i")")
  wrong+=("$(sign_in_ms "clerk$i@bench.example" 'not the password at all' "10.2.0.$i")")
  unknown+=("$(sign_in_ms "nobody$i@bench.example" "$password" "10.3.0.$i")")
done
printf 'sign-in request, median of %d (ms): right password %s, wrong password %s, unknown account %s\n' "$attempts" \
  "$(printf '%s\n' "${right[@]}" | median)" "$(printf '%s\n' "${wrong[@]}" | median)" "$(printf '%s\n' "${unknown[@]}" | median)"
printf 'load average at the end %s\n' "$(cut -d' ' -f1-3 /proc/loadavg)"
