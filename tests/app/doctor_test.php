<?php
// bin/doctor.php: a good install, a missing driver, a read-only storage/, error details in
// production, MariaDB reachable and not, a missing column, and a web server handing out .env.
declare(strict_types=1);

require_once __DIR__ . '/support/crud_site.php';

// Runs $command in $dir with $env added; returns [exit code, stdout, stderr].
function run_in(string $dir, array $command, array $env = []): array
{
    $proc = proc_open($command, [0 => ['file', '/dev/null', 'r'], 1 => ['pipe', 'w'], 2 => ['pipe', 'w']], $pipes,
        $dir, array_merge(getenv(), $env));
    [$out, $err] = [stream_get_contents($pipes[1]), stream_get_contents($pipes[2])];
    return [proc_close($proc), $out, $err];
}

// A generated bookshop for $engine whose tables bin/migrate.php has made, in a folder of its own.
function installed(string $engine, array $env): string
{
    static $generated = [];
    $generated[$engine] ??= generate_crud($engine, example('bookshop.json'));
    $dir = temp_dir('qb-doctor-') . '/app';
    exec('cp -a ' . escapeshellarg($generated[$engine]) . ' ' . escapeshellarg($dir));
    chmod(dirname($dir), 0755);  // readable by nobody (below)
    [$code, $out, $err] = run_in($dir, [PHP_BINARY, 'bin/migrate.php'], $env);
    return $code === 0 ? $dir : throw new RuntimeException("migrate failed: $out $err");
}

// A machine lacking drivers: "php -n" drops every extension Debian loads from conf.d (PDO too,
// unless built in); PDO and $drivers are loaded back.
function bare_php(string ...$drivers): array
{
    $pdoBuiltIn = shell_exec(escapeshellarg(PHP_BINARY) . ' -n -r "echo (int) extension_loaded(\'pdo\');"') === '1';
    $command = [PHP_BINARY, '-n'];
    foreach ($pdoBuiltIn ? $drivers : ['pdo', ...$drivers] as $extension) {
        array_push($command, '-d', 'extension=' . $extension);
    }
    return $command;
}

// Root writes anywhere: under root the doctor runs as nobody (setpriv), to whom root's storage/ is read-only.
function unprivileged(): array
{
    $nobody = posix_getpwnam('nobody');
    if (posix_geteuid() !== 0) {
        return [PHP_BINARY];
    }
    if ($nobody === false || trim((string) shell_exec('command -v setpriv')) === '') {
        throw new RuntimeException('running as root without setpriv or the user nobody: storage/ cannot be made read-only');
    }
    return ['setpriv', '--reuid=' . $nobody['uid'], '--regid=' . $nobody['gid'], '--clear-groups', PHP_BINARY];
}

$php = [PHP_BINARY];
$none = static fn (string $dir): array => [];
/* engine, command, environment, set-up (returns the doctor's arguments), exit code, lines expected
   as [status, text within the line] */
$cases = [
    'good install' => ['sqlite', $php, [], $none, 0, [['OK', 'PDO driver pdo_sqlite loaded'], ['OK', '.env present'],
        ['OK', 'storage/ writable'], ['OK', 'database reachable (sqlite:'], ['OK', 'database tables in step'],
        ['NOTE', 'APP_DEBUG=true (APP_ENV=local)'], ['NOTE', 'post_max_size=' . ini_get('post_max_size') . ', upload_max_filesize=']]],
    'no .env' => ['sqlite', $php, [], function (string $dir): array {
        unlink("$dir/.env");
        return [];
    }, 0, [['NOTE', 'no .env: the defaults apply']]],
    'production, no error details' => ['sqlite', $php, ['APP_ENV' => 'production', 'APP_DEBUG' => 'false'], $none, 0, [['OK', 'APP_DEBUG is off']]],
    'error details in production' => ['sqlite', $php, ['APP_ENV' => 'production', 'APP_DEBUG' => 'true'], $none, 1,
        [['PROBLEM', 'APP_DEBUG=true with APP_ENV=production']]],
    'pdo_sqlite missing' => ['sqlite', bare_php(), [], $none, 1,
        [['PROBLEM', 'the PHP extension pdo_sqlite is not loaded'], ['NOTE', 'database not checked: its driver is missing']]],
    'storage/ read-only' => ['sqlite', unprivileged(), [], function (string $dir): array {
        chmod("$dir/storage", 0555);
        return [];
    }, 1,
        [['PROBLEM', 'storage/ is not writable by'], ['PROBLEM', 'SQLite database storage/database.sqlite or its folder storage is not writable']]],
    'a column missing' => ['sqlite', $php, [], function (string $dir): array {
        (new PDO("sqlite:$dir/storage/database.sqlite"))->exec('ALTER TABLE books DROP COLUMN blurb');
        return [];
    }, 1,
        [['OK', 'database reachable'], ['PROBLEM', 'database tables behind app/Config/schema.json, missing: column books.blurb (']]],
    'whole folder served' => ['sqlite', $php, [], fn (string $dir) => [(new AppServer($dir))->base() . '/'], 1,
        [['PROBLEM', '/.env is served (HTTP 200)'], ['PROBLEM', '/storage/database.sqlite is served (HTTP 200)'],
         ['PROBLEM', '/app/Config/schema.json is served (HTTP 200)']]],
    'whole folder served, address in public/' => ['sqlite', $php, [], fn (string $dir) => [(new AppServer($dir))->base() . '/public/'], 1,
        [['OK', '/public/.env not served'], ['PROBLEM', '/.env is served (HTTP 200)']]],
    'public/ served' => ['sqlite', $php, [], fn (string $dir) => [(new AppServer("$dir/public"))->base()], 0,
        [['OK', '/.env not served (HTTP 404)'], ['OK', '/storage/database.sqlite not served (HTTP 404)'],
         ['OK', '/app/Config/schema.json not served (HTTP 404)']]],
    'denied in plain text' => ['sqlite', $php, [], function (string $dir): array {
        file_put_contents("$dir/deny.php", "<?php http_response_code(403); echo 'Forbidden';");
        return [(new AppServer($dir, [], "$dir/deny.php"))->base()];
    }, 0, [['OK', '/.env not served (HTTP 403)'], ['OK', '/storage/database.sqlite not served (HTTP 403)']]],
    'address not answering' => ['sqlite', $php, [], fn (string $dir) => ['http://127.0.0.1:' . AppServer::freePort()], 1,
        [['PROBLEM', '/ could not be reached: ']]],
    'pdo_mysql missing' => ['mariadb', bare_php('pdo_sqlite'), [], $none, 1, [['PROBLEM', 'the PHP extension pdo_mysql is not loaded']]],
    'MariaDB reachable' => ['mariadb', $php, [], $none, 0,
        [['OK', 'PDO driver pdo_mysql loaded'], ['OK', 'database reachable (mysql:127.0.0.1:'], ['OK', 'database tables in step']]],
    'MariaDB on a wrong port' => ['mariadb', $php, ['DB_PORT' => (string) AppServer::freePort()], $none, 1,
        [['PROBLEM', 'database: Cannot connect to MySQL/MariaDB database']]],
];

$mariadb = is_executable(getenv('QB_MARIADBD') ?: '/usr/sbin/mariadbd');
foreach ($cases as $name => [$engine, $command, $env, $setUp, $expectedCode, $expectedLines]) {
    if ($engine === 'mariadb' && !$mariadb) {
        echo "SKIPPED $name: no MariaDB server program (mariadbd) on this machine\n";
        continue;
    }
    $database = $engine === 'mariadb' ? fresh_database('mariadb') : [];
    $dir = installed($engine, $database);
    [$code, $out, $err] = run_in($dir, [...$command, 'bin/doctor.php', ...$setUp($dir)], $env + $database);
    chmod("$dir/storage", 0755);
    $lines = explode("\n", rtrim($out, "\n"));
    $statuses = array_map(static fn (string $line): string => explode(' ', $line)[0], $lines);
    T::same([$expectedCode, ''], [$code, $err], "$name: exit code and no errors\n$out");
    T::same([], array_values(array_diff($statuses, ['OK', 'PROBLEM', 'NOTE'])), "$name: each line starts with OK, PROBLEM or NOTE\n$out");
    T::same($expectedCode === 1, in_array('PROBLEM', $statuses, true), "$name: a PROBLEM line exactly when the exit code is 1\n$out");
    foreach ($expectedLines as [$status, $text]) {
        $found = array_filter($lines, fn (string $line): bool => str_starts_with($line, str_pad($status, 8)) && str_contains($line, $text));
        T::true($found !== [], "$name: a line \"$status ...$text...\"\n$out");
    }
    if ($name === 'a column missing') {
        $columns = (new PDO("sqlite:$dir/storage/database.sqlite"))->query('PRAGMA table_info(books)')->fetchAll(PDO::FETCH_COLUMN, 1);
        T::same(false, in_array('blurb', $columns, true), 'the doctor leaves the database as it is');
    }
}

T::finish();
