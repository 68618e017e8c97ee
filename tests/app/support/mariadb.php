<?php
// A private MariaDB server for one test script, listening on 127.0.0.1 only.
//
//   require_once __DIR__ . '/support/mariadb.php';
//   $db = mariadb_start();            // started once per script, stopped and deleted at exit
//   $pdo = $db->pdo('shop');          // creates the database when missing; errors throw
//   $db->env('shop');                 // DB_HOST, DB_PORT, DB_DATABASE, DB_USERNAME, DB_PASSWORD
//   $db->dsn('shop'), $db->host, $db->port, $db->user, $db->password, $db->socket
//
// The server runs with --skip-grant-tables, so any user name and password are accepted.
// It is stopped (and its data folder removed) when the script ends, also after a failure;
// $db->stop() stops it earlier. The binaries can be overridden with QB_MARIADBD and
// QB_MARIADB_INSTALL_DB.
declare(strict_types=1);

final class MariaDbServer
{
    public readonly string $host;
    public readonly string $user;
    public readonly string $password;
    public readonly string $socket;
    public readonly float $startupSeconds;

    /** @var resource|null */
    private $process = null;

    public function __construct(private readonly string $dir, public readonly int $port)
    {
        $this->host = '127.0.0.1';
        $this->user = 'root';
        $this->password = '';
        $this->socket = $dir . '/mariadb.sock';
        $started = microtime(true);
        register_shutdown_function([$this, 'stop']);
        try {
            $this->install();
            $this->launch();
        } catch (Throwable $e) {
            $this->stop();
            throw $e;
        }
        $this->startupSeconds = microtime(true) - $started;
    }

    public function dsn(string $database = ''): string
    {
        return 'mysql:host=' . $this->host . ';port=' . $this->port
            . ($database === '' ? '' : ';dbname=' . $database) . ';charset=utf8mb4';
    }

    // A new connection as the generated application opens it; the database is created first.
    public function pdo(string $database = ''): PDO
    {
        $options = [
            PDO::ATTR_ERRMODE => PDO::ERRMODE_EXCEPTION,
            PDO::ATTR_DEFAULT_FETCH_MODE => PDO::FETCH_ASSOC,
            PDO::ATTR_EMULATE_PREPARES => false,
        ];
        if ($database !== '') {
            $admin = new PDO($this->dsn(), $this->user, $this->password, $options);
            $admin->exec('CREATE DATABASE IF NOT EXISTS `' . str_replace('`', '``', $database) . '` CHARACTER SET utf8mb4');
        }
        return new PDO($this->dsn($database), $this->user, $this->password, $options);
    }

    // The environment variables of a generated application's .env for this server.
    public function env(string $database): array
    {
        return [
            'DB_HOST' => $this->host,
            'DB_PORT' => (string) $this->port,
            'DB_DATABASE' => $database,
            'DB_USERNAME' => $this->user,
            'DB_PASSWORD' => $this->password,
        ];
    }

    public function stop(): void
    {
        if ($this->process !== null) {
            $status = proc_get_status($this->process);
            if ($status['running']) {
                proc_terminate($this->process, 15);
                for ($i = 0; $i < 300 && proc_get_status($this->process)['running']; $i++) {
                    usleep(100000);
                }
                if (proc_get_status($this->process)['running']) {
                    proc_terminate($this->process, 9);
                }
            }
            proc_close($this->process);
            $this->process = null;
        }
        if (is_dir($this->dir)) {
            exec('rm -rf ' . escapeshellarg($this->dir));
        }
    }

    private function install(): void
    {
        $installer = getenv('QB_MARIADB_INSTALL_DB') ?: '/usr/bin/mariadb-install-db';
        // A private tmpdir: bootstraps running side by side clash over temporary tables in /tmp.
        mkdir($this->dir . '/tmp', 0700, true);
        $command = [
            $installer, '--no-defaults', '--datadir=' . $this->dir . '/data', '--user=' . self::currentUser(),
            '--auth-root-authentication-method=normal', '--skip-test-db', '--skip-name-resolve',
            '--force', '--tmpdir=' . $this->dir . '/tmp', '--innodb-buffer-pool-size=16M', '--innodb-log-file-size=8M',
        ];
        $proc = proc_open($command, [0 => ['file', '/dev/null', 'r'], 1 => ['file', $this->dir . '/install.log', 'w'],
            2 => ['redirect', 1]], $pipes);
        if (!is_resource($proc) || proc_close($proc) !== 0) {
            throw new RuntimeException("mariadb-install-db failed:\n" . @file_get_contents($this->dir . '/install.log'));
        }
    }

    private function launch(): void
    {
        $server = getenv('QB_MARIADBD') ?: '/usr/sbin/mariadbd';
        $log = $this->dir . '/server.log';
        $command = [
            $server, '--no-defaults', '--datadir=' . $this->dir . '/data', '--user=' . self::currentUser(),
            '--bind-address=127.0.0.1', '--port=' . $this->port, '--socket=' . $this->socket,
            '--pid-file=' . $this->dir . '/mariadb.pid', '--log-error=' . $log, '--tmpdir=' . $this->dir . '/tmp',
            '--skip-grant-tables', '--skip-name-resolve', '--skip-log-bin', '--performance-schema=OFF',
            '--innodb-buffer-pool-size=16M', '--innodb-log-file-size=8M', '--innodb-flush-log-at-trx-commit=0',
            '--innodb-doublewrite=0', '--character-set-server=utf8mb4', '--collation-server=utf8mb4_unicode_ci',
        ];
        $this->process = proc_open($command, [0 => ['file', '/dev/null', 'r'], 1 => ['file', $log, 'a'],
            2 => ['file', $log, 'a']], $pipes);
        if (!is_resource($this->process)) {
            $this->process = null;
            throw new RuntimeException('cannot start ' . $server);
        }
        // Bounded wait: up to 60 s for the server to accept connections.
        $lastError = '';
        for ($i = 0; $i < 600; $i++) {
            if (!proc_get_status($this->process)['running']) {
                throw new RuntimeException("MariaDB exited during startup:\n" . @file_get_contents($log));
            }
            try {
                new PDO($this->dsn(), $this->user, $this->password, [PDO::ATTR_TIMEOUT => 1]);
                return;
            } catch (PDOException $e) {
                $lastError = $e->getMessage();
            }
            usleep(100000);
        }
        throw new RuntimeException("MariaDB did not accept connections on 127.0.0.1:{$this->port} within 60 s ("
            . $lastError . "):\n" . @file_get_contents($log));
    }

    private static function currentUser(): string
    {
        if (function_exists('posix_geteuid') && function_exists('posix_getpwuid')) {
            $entry = posix_getpwuid(posix_geteuid());
            if (is_array($entry)) {
                return $entry['name'];
            }
        }
        return (string) (getenv('USER') ?: 'root');
    }
}

// A free TCP port on 127.0.0.1 (the listening socket is closed again before the server binds it).
function mariadb_free_port(): int
{
    $socket = stream_socket_server('tcp://127.0.0.1:0', $errno, $error);
    if ($socket === false) {
        throw new RuntimeException('no free port: ' . $error);
    }
    $name = stream_socket_get_name($socket, false);
    fclose($socket);
    return (int) substr((string) $name, strrpos((string) $name, ':') + 1);
}

// Starts the script's private MariaDB server on first use and returns it.
function mariadb_start(): MariaDbServer
{
    static $server = null;
    if ($server === null) {
        $dir = sys_get_temp_dir() . '/qb-mariadb-' . bin2hex(random_bytes(6));
        mkdir($dir, 0700, true);
        $server = new MariaDbServer($dir, mariadb_free_port());
    }
    return $server;
}
