<?php
// Load figures of the generated CRUD application behind nginx + php-fpm and Apache + mod_php, on
// SQLite and MariaDB, each configured from the generated deploy/ example: wrk against the list and
// the search page, then a burst of concurrent adds by several clients, each with its own session
// and form token. The row count must grow by exactly the number of accepted adds. Run through
// bench/load.sh, which sets the environment.
declare(strict_types=1);

require_once __DIR__ . '/../tests/app/support/deployment.php';

$setting = static fn (string $name, int $default): int => (int) (getenv($name) ?: $default);
$rows = $setting('ROWS', 2000);
$duration = $setting('DURATION', 5);
$connections = $setting('CONNECTIONS', 8);
$clients = $setting('CLIENTS', 8);
$adds = $setting('ADDS', 25);
$workers = $setting('WORKERS', 8);

$servers = [
    'nginx+php-fpm' => static fn (string $app): WebServer => new NginxFpmServer(
        static fn (int $port, string $fastcgi): string => nginx_root_site($app, $port, $fastcgi), $workers),
    'apache+mod_php' => static fn (string $app): WebServer => new ApacheServer(apache_vhost_site($app), true, $workers),
];
// SERVERS and ENGINES (space-separated names) narrow the runs.
$only = static fn (string $name, array $all): array => getenv($name) ? array_intersect($all, explode(' ', (string) getenv($name))) : $all;
$servers = array_intersect_key($servers, array_flip($only('SERVERS', array_keys($servers))));
$engines = $only('ENGINES', crud_engines());

// Fills the products table with $rows rows; a colour word in about one title in twenty.
function seed(CrudSite $site, int $rows): void
{
    $colours = ['amber', 'blue', 'coral', 'denim', 'ebony', 'fern', 'gold', 'hazel', 'indigo', 'jade',
        'khaki', 'lilac', 'mint', 'navy', 'olive', 'peach', 'quartz', 'rose', 'sand', 'teal'];
    $pdo = $site->db();
    mt_srand(42);
    $pdo->beginTransaction();
    $insert = $pdo->prepare('INSERT INTO `products` (`title`, `price`, `created_at`, `updated_at`) VALUES (?, ?, ?, ?)');
    for ($i = 1; $i <= $rows; $i++) {
        $now = date('Y-m-d H:i:s');
        $insert->execute([ucfirst($colours[mt_rand(0, 19)]) . " lamp $i", mt_rand(100, 50000) / 100, $now, $now]);
    }
    $pdo->commit();
}

// Milliseconds of a wrk latency such as "12.34ms", "850.00us" or "1.20s".
function milliseconds(string $value): float
{
    preg_match('~^([\d.]+)(us|ms|s|m)$~', $value, $m);
    return (float) ($m[1] ?? 0) * ['us' => 0.001, 'ms' => 1, 's' => 1000, 'm' => 60000][$m[2] ?? 'ms'];
}

// wrk against $url with the session cookie; returns [requests/s, p50 ms, p99 ms, non-2xx, socket errors].
function wrk(string $url, string $cookie, int $connections, int $duration): array
{
    $command = ['wrk', '-t2', '-c' . $connections, '-d' . $duration . 's', '--latency', '-H', 'Cookie: ' . $cookie, $url];
    $proc = proc_open($command, [1 => ['pipe', 'w'], 2 => ['pipe', 'w']], $pipes);
    $out = stream_get_contents($pipes[1]) . stream_get_contents($pipes[2]);
    proc_close($proc);
    if (preg_match('~Requests/sec:\s+([\d.]+)~', $out, $rps) !== 1) {
        throw new RuntimeException("wrk gave no figures for $url:\n$out");
    }
    preg_match('~^\s+50%\s+(\S+)~m', $out, $p50);
    preg_match('~^\s+99%\s+(\S+)~m', $out, $p99);
    preg_match('~Non-2xx or 3xx responses: (\d+)~', $out, $bad);
    preg_match('~Socket errors: connect (\d+), read (\d+), write (\d+), timeout (\d+)~', $out, $socket);
    return [(float) $rps[1], milliseconds($p50[1] ?? ''), milliseconds($p99[1] ?? ''), (int) ($bad[1] ?? 0),
        array_sum(array_map('intval', array_slice($socket, 1)))];
}

// The value at fraction $q of the sorted figures.
function percentile(array $sorted, float $q): float
{
    return $sorted === [] ? 0.0 : (float) $sorted[(int) min(count($sorted) - 1, floor($q * count($sorted)))];
}

// $clients processes posting $adds adds each at the same time; returns [statuses, latencies, seconds].
function burst(string $base, int $clients, int $adds): array
{
    $procs = [];
    $started = microtime(true);
    for ($c = 1; $c <= $clients; $c++) {
        $procs[$c] = proc_open([PHP_BINARY, __DIR__ . '/add_client.php', $base, (string) $adds, (string) $c],
            [1 => ['pipe', 'w'], 2 => ['pipe', 'w']], $pipes[$c]);
    }
    $statuses = [];
    $latencies = [];
    foreach ($procs as $c => $proc) {
        $out = stream_get_contents($pipes[$c][1]);
        $err = stream_get_contents($pipes[$c][2]);
        if (proc_close($proc) !== 0) {
            throw new RuntimeException("add client $c failed: $err");
        }
        $result = json_decode($out, true, 512, JSON_THROW_ON_ERROR);
        array_push($statuses, ...$result['statuses']);
        array_push($latencies, ...$result['latencies']);
    }
    sort($latencies);
    return [$statuses, $latencies, microtime(true) - $started];
}

printf("rows %d; wrk -t2 -c%d for %d s; %d add clients x %d adds; %d PHP workers per server\n",
    $rows, $connections, $duration, $clients, $adds, $workers);
printf("%-15s %-8s %-10s %10s %9s %9s %8s  %s\n", 'server', 'engine', 'case', 'req/s', 'p50 ms', 'p99 ms', 'non-2xx', 'rows');
$failed = false;
foreach ($servers as $serverName => $start) {
    foreach ($engines as $engine) {
        $app = temp_dir('qb-load-') . '/app';
        $env = deploy_crud_app($engine, $app);
        file_put_contents("$app/.env", "APP_DEBUG=false\r\nAPP_ENV=production\r\n" . file_get_contents("$app/.env"));
        $server = $start($app);
        $site = new CrudSite($engine, $app, $server, $env);
        $first = $site->http->get('/products');
        if ($first->status !== 200) {
            throw new RuntimeException("$serverName/$engine: the list page answers {$first->status}");
        }
        seed($site, $rows);
        $cookie = explode(';', (string) (new HttpClient($server->base()))->get('/products')->header('Set-Cookie'))[0];

        foreach (['list' => '/products', 'search' => '/products?q=amber', 'list p.50' => '/products?page=50'] as $case => $path) {
            for ($i = 0; $i < 10; $i++) {
                $site->http->get($path); // warms the opcode cache and the database pages
            }
            [$rps, $p50, $p99, $bad, $socketErrors] = wrk($server->base() . $path, $cookie, $connections, $duration);
            printf("%-15s %-8s %-10s %10.1f %9.2f %9.2f %8d  %s\n", $serverName, $engine, $case, $rps, $p50, $p99, $bad,
                $socketErrors > 0 ? "socket errors: $socketErrors" : '');
            $failed = $failed || $bad > 0 || $socketErrors > 0;
        }

        $before = $site->count('products');
        [$statuses, $latencies, $seconds] = burst($server->base(), $clients, $adds);
        $after = $site->count('products');
        $accepted = count(array_filter($statuses, static fn (int $status): bool => $status === 302));
        [[$stored, $distinct]] = array_map('array_values',
            $site->rows("SELECT COUNT(*), COUNT(DISTINCT `title`) FROM `products` WHERE `title` LIKE 'burst-%'"));
        $sound = $after - $before === $accepted && (int) $stored === $accepted && (int) $distinct === $accepted;
        printf("%-15s %-8s %-10s %10.1f %9.2f %9.2f %8d  before %d, after %d (+%d), accepted adds %d of %d: %s\n",
            $serverName, $engine, 'add burst', $accepted / $seconds, percentile($latencies, 0.5), percentile($latencies, 0.99),
            count($statuses) - $accepted, $before, $after, $after - $before, $accepted, count($statuses),
            $sound ? 'exact' : 'MISMATCH');
        $failed = $failed || !$sound || $accepted !== count($statuses);
        $server->stop();
    }
}
exit($failed ? 1 : 0);
