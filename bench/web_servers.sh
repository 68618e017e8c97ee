# Sourced by the web benchmarks: the SQLite test data, the servers (php -S; nginx + php-fpm) and
# wrk. Uses the caller's work (a temporary folder), pids (the servers started), DB_DATABASE,
# duration (seconds per run) and connections.

# A new database of $1 rows for the application in folder $2, in one transaction; titles carry one of 20 colours, so a colour
# matches about 5%.
fill_database() {
  rm -f "$DB_DATABASE" "$2/storage/schema.applied"
  php "$2/bin/migrate.php" >/dev/null
  ROWS=$1 php <<'PHP'
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
}

free_port() { php -r '$s = stream_socket_server("tcp://127.0.0.1:0"); echo substr(strrchr(stream_socket_get_name($s, false), ":"), 1);'; }

# Waits until url $2 answers with success; sets the variable named $1 to it. $2 is the log to show otherwise.
await() {
  for _ in $(seq 100); do
    if curl -sf -o /dev/null "$2"; then
      printf -v "$1" '%s' "$2"
      return
    fi
    sleep 0.1
  done
  echo "server for $2 did not start: $(cat "$3")" >&2
  exit 1
}

# php -S on 127.0.0.1 with two workers for a document root; sets the variable named $1 to its URL.
serve_php() {
  local port
  port=$(free_port)
  mkdir -p "$work/sessions"
  PHP_CLI_SERVER_WORKERS=2 BENCH_DB="$DB_DATABASE" php -d session.save_path="$work/sessions" \
    -S "127.0.0.1:$port" -t "$2" >"$work/server-$port.log" 2>&1 &
  pids+=($!)
  await "$1" "http://127.0.0.1:$port" "$work/server-$port.log"
}

# One php-fpm pool (two workers, opcache on as Debian ships it) behind one nginx with a server
# per document root, all on 127.0.0.1 with files in the work folder. Arguments come in pairs,
# NAME ROOT: the variable NAME is set to the URL serving ROOT. FPM_ENV adds "env[...] = ..." lines,
# FPM_CHILDREN sets the number of workers, and the array fpm_wrapper, when set, runs php-fpm under
# another command (valgrind).
serve_nginx_fpm() {
  local fpm=(/usr/sbin/php-fpm*) as_root=() user_line='' conf="$work/nginx-fpm" servers='' names=() ports=() port i
  if [ ! -x "${fpm[0]}" ] || [ ! -x /usr/sbin/nginx ]; then
    echo "nginx or php-fpm is missing: run scripts/setup" >&2
    exit 1
  fi
  mkdir -p "$conf/sessions" "$conf/nginx"
  if [ "$(id -u)" -eq 0 ]; then
    as_root=(-R)
    user_line='user root root;'
  fi
  cat >"$conf/fpm.conf" <<FPM
[global]
pid = $conf/fpm.pid
error_log = $conf/fpm.log
daemonize = no
[bench]
listen = $conf/fpm.sock
pm = static
pm.max_children = ${FPM_CHILDREN:-2}
php_admin_value[session.save_path] = $conf/sessions
env[BENCH_DB] = "$DB_DATABASE"
env[DB_DATABASE] = "$DB_DATABASE"
env[APP_DEBUG] = "false"
env[APP_ENV] = "production"
${FPM_ENV:-}
FPM
  [ "$(id -u)" -ne 0 ] || printf 'user = root\ngroup = root\n' >>"$conf/fpm.conf"
  rm -f "$conf/fpm.sock"
  ${fpm_wrapper[@]+"${fpm_wrapper[@]}"} "${fpm[0]}" "${as_root[@]}" --nodaemonize --fpm-config "$conf/fpm.conf" >"$conf/fpm.out" 2>&1 &
  pids+=($!)
  for _ in $(seq 300); do
    [ -S "$conf/fpm.sock" ] && break
    sleep 0.1
  done
  if [ ! -S "$conf/fpm.sock" ]; then
    echo "php-fpm did not start: $(cat "$conf/fpm.out" "$conf/fpm.log" 2>/dev/null)" >&2
    exit 1
  fi
  while [ $# -gt 0 ]; do
    port=$(free_port)
    names+=("$1")
    ports+=("$port")
    servers+="
  server {
    listen 127.0.0.1:$port;
    root $2;
    location / { try_files \$uri /index.php\$is_args\$args; }
    location ~ \.php$ {
      include /etc/nginx/fastcgi_params;
      fastcgi_param SCRIPT_FILENAME \$document_root\$fastcgi_script_name;
      fastcgi_pass unix:$conf/fpm.sock;
    }
  }"
    shift 2
  done
  cat >"$conf/nginx.conf" <<NGINX
$user_line
worker_processes 1;
pid $conf/nginx.pid;
error_log $conf/nginx-error.log;
events { worker_connections 256; }
http {
  access_log off;
  client_body_temp_path $conf/nginx/body;
  fastcgi_temp_path $conf/nginx/fastcgi;
  proxy_temp_path $conf/nginx/proxy;
  uwsgi_temp_path $conf/nginx/uwsgi;
  scgi_temp_path $conf/nginx/scgi;
$servers
}
NGINX
  /usr/sbin/nginx -e "$conf/nginx-error.log" -c "$conf/nginx.conf" -g 'daemon off;' >"$conf/nginx.out" 2>&1 &
  pids+=($!)
  for i in "${!names[@]}"; do
    await "${names[$i]}" "http://127.0.0.1:${ports[$i]}" "$conf/nginx-error.log"
  done
}

# Stops each server's workers and the server itself.
stop_servers() {
  for pid in "${pids[@]}"; do kill $(pgrep -P "$pid") "$pid" 2>/dev/null || true; done
  wait 2>/dev/null || true
  pids=()
}

ids() { curl -sf "$1" | grep -oE 'name="id" value="[0-9]+"|data-id="[0-9]+"' | grep -oE '[0-9]+' | tr '\n' ' ' || true; }

# Requests per second over DURATION seconds. A server that closes every connection makes wrk
# count read errors; connect, write and timeout errors or a non-2xx answer fail the run.
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

