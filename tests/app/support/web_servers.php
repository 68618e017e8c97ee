<?php
// Apache 2.4 with mod_php, and nginx with php-fpm, each started on 127.0.0.1 with its
// configuration, pid files, logs and PHP sessions in a temporary folder, and stopped by PID.
// The servers run as the current user; under root, Apache's children run as www-data (Apache
// refuses to serve as root) and php-fpm is started with --allow-to-run-as-root. The programs can
// be overridden with QB_APACHE2, QB_NGINX and QB_PHP_FPM.
declare(strict_types=1);

require_once __DIR__ . '/testing.php';
require_once __DIR__ . '/http.php';

const QB_SKIP_EXIT_CODE = 77;

// Ends the test with the skip code and a notice on stderr when the web server of $tier is missing
// or cannot start on this machine.
function skip_tier(string $tier, string $why): never
{
    fwrite(STDERR, "SKIPPED: the $tier deployment tests do not run on this machine: $why\n");
    echo "SKIPPED ($tier): $why\n";
    exit(QB_SKIP_EXIT_CODE);
}

// The first existing file matching $pattern, or null.
function first_file(string $pattern): ?string
{
    return glob($pattern)[0] ?? null;
}

// The program named by the environment variable $variable, or else $default.
function server_program(string $variable, ?string $default): string
{
    return (string) (getenv($variable) ?: $default);
}

// The user that serving processes which must not be root run as: null when not running as root.
function unprivileged_worker(): ?array
{
    if (posix_geteuid() !== 0) {
        return null;
    }
    $user = posix_getpwnam('www-data') ?: posix_getpwnam('nobody');
    if ($user === false) {
        throw new RuntimeException('running as root, but neither www-data nor nobody exists to serve pages');
    }
    return [$user['name'], (string) (posix_getgrgid($user['gid'])['name'] ?? $user['gid'])];
}

// Lets the serving processes write below $path (the application's storage, the sessions).
function hand_to_worker(string $path): void
{
    $worker = unprivileged_worker();
    if ($worker !== null) {
        exec('chown -R ' . escapeshellarg($worker[0] . ':' . $worker[1]) . ' ' . escapeshellarg($path), $out, $code);
        if ($code !== 0) {
            throw new RuntimeException("cannot hand $path to {$worker[0]}");
        }
    }
}

// Server processes started in the foreground, watched and stopped by their PIDs.
abstract class ServerProcesses implements WebServer
{
    public readonly string $dir;
    public readonly int $port;
    /** @var array<string, resource> */
    private array $processes = [];

    protected function __construct()
    {
        // Registered before the folder, so the servers stop before their folder is removed.
        register_shutdown_function([$this, 'stop']);
        $this->dir = temp_dir('qb-web-');
        chmod($this->dir, 0755); // the serving user reaches the sessions below it, whatever the umask
        mkdir($this->dir . '/sessions');
        $this->port = AppServer::freePort();
    }

    public function base(): string
    {
        return 'http://127.0.0.1:' . $this->port;
    }

    // Starts $command with its output in $name.out, in a session of its own: Apache signals its whole
    // process group when it stops. setsid keeps the PID, as the child of proc_open leads no group.
    protected function launch(string $name, array $command): void
    {
        $out = $this->dir . '/' . $name . '.out';
        $process = proc_open(['setsid', ...$command], [0 => ['file', '/dev/null', 'r'], 1 => ['file', $out, 'a'], 2 => ['file', $out, 'a']],
            $pipes, $this->dir);
        if (!is_resource($process)) {
            throw new RuntimeException("cannot start $name");
        }
        $this->processes[$name] = $process;
    }

    // Waits until $ready answers true (at most 20 s) while every process keeps running.
    protected function await(callable $ready, string $what): void
    {
        $deadline = microtime(true) + 20;
        while (microtime(true) < $deadline) {
            foreach ($this->processes as $name => $process) {
                if (!proc_get_status($process)['running']) {
                    throw new RuntimeException("$name exited during startup:\n" . $this->logs());
                }
            }
            if ($ready()) {
                return;
            }
            usleep(50000);
        }
        throw new RuntimeException("$what did not come up within 20 s:\n" . $this->logs());
    }

    protected function answers(): bool
    {
        $socket = @fsockopen('127.0.0.1', $this->port, $errno, $errstr, 0.2);
        if ($socket === false) {
            return false;
        }
        fclose($socket);
        return true;
    }

    // Every log and output file of the server folder, for failure messages.
    public function logs(): string
    {
        $text = '';
        foreach (glob($this->dir . '/*.{out,log}', GLOB_BRACE) as $file) {
            $text .= '--- ' . basename($file) . "\n" . substr((string) file_get_contents($file), -4000) . "\n";
        }
        return $text;
    }

    // SIGTERM to each process by PID, last started first; SIGKILL after 10 s.
    public function stop(): void
    {
        foreach (array_reverse($this->processes, true) as $name => $process) {
            $pid = proc_get_status($process)['pid'];
            if (proc_get_status($process)['running']) {
                posix_kill($pid, SIGTERM);
                for ($i = 0; $i < 200 && proc_get_status($process)['running']; $i++) {
                    usleep(50000);
                }
                if (proc_get_status($process)['running']) {
                    posix_kill($pid, SIGKILL);
                }
            }
            proc_close($process);
            unset($this->processes[$name]);
        }
    }
}

// Apache 2.4 (Debian's apache2) with the prefork MPM and mod_php; mod_rewrite on request.
final class ApacheServer extends ServerProcesses
{
    private const MODULES = '/etc/apache2/mods-available/';

    // Skips the test when Apache or mod_php is not installed or Apache cannot serve here.
    public static function requireTier(): void
    {
        $missing = array_filter([self::program(), self::MODULES . 'mpm_prefork.load', self::MODULES . 'rewrite.load'],
            static fn (string $file): bool => !is_file($file));
        if ($missing !== [] || self::phpModule() === null) {
            skip_tier('Apache', 'apache2 or libapache2-mod-php is not installed (scripts/setup installs them)');
        }
        try {
            (new self(''))->stop();
        } catch (RuntimeException $e) {
            skip_tier('Apache', 'apache2 does not start here: ' . $e->getMessage());
        }
    }

    // $site is placed into the server configuration; "{port}" in it stands for the listening port.
    public function __construct(string $site, bool $rewrite = true, int $workers = 4)
    {
        parent::__construct();
        hand_to_worker($this->dir . '/sessions');
        file_put_contents($this->dir . '/apache.conf', $this->config(str_replace('{port}', (string) $this->port, $site),
            $rewrite, $workers));
        $this->launch('apache', [self::program(), '-f', $this->dir . '/apache.conf', '-DFOREGROUND']);
        $this->await(fn (): bool => $this->answers() && is_file($this->dir . '/apache.pid'), 'Apache');
    }

    private static function program(): string
    {
        return server_program('QB_APACHE2', '/usr/sbin/apache2');
    }

    private static function phpModule(): ?string
    {
        return first_file(self::MODULES . 'php*.load');
    }

    private function config(string $site, bool $rewrite, int $workers): string
    {
        $modules = ['mpm_prefork.load', 'authz_core.load', 'dir.load', 'dir.conf', 'mime.load', 'mime.conf'];
        if ($rewrite) {
            $modules[] = 'rewrite.load';
        }
        $php = (string) self::phpModule();
        $includes = '';
        foreach ([...array_map(static fn (string $m): string => self::MODULES . $m, $modules), $php, substr($php, 0, -5) . '.conf'] as $file) {
            $includes .= "Include $file\n";
        }
        $worker = unprivileged_worker();
        $user = $worker === null ? '' : "User {$worker[0]}\nGroup {$worker[1]}\n";
        $dir = $this->dir;
        return <<<CONF
            ServerRoot "$dir"
            ServerName 127.0.0.1
            Listen 127.0.0.1:{$this->port}
            PidFile "$dir/apache.pid"
            ErrorLog "$dir/error.log"
            LogLevel warn
            DefaultRuntimeDir "$dir"
            Mutex file:$dir default
            $includes{$user}StartServers $workers
            MinSpareServers 1
            MaxSpareServers $workers
            ServerLimit $workers
            MaxRequestWorkers $workers
            AccessFileName .htaccess
            <Directory />
                AllowOverride None
                Require all denied
            </Directory>
            <FilesMatch "^\\.ht">
                Require all denied
            </FilesMatch>
            php_admin_value session.save_path "$dir/sessions"
            $site

            CONF;
    }
}

// nginx (Debian's nginx) in front of php-fpm on a unix socket of the server folder.
final class NginxFpmServer extends ServerProcesses
{
    // Skips the test when nginx or php-fpm is not installed or they cannot serve here.
    public static function requireTier(): void
    {
        if (!is_file(self::nginx()) || !is_file(self::fpm())) {
            skip_tier('nginx + php-fpm', 'nginx or php-fpm is not installed (scripts/setup installs them)');
        }
        try {
            (new self(static fn (int $port, string $fastcgi): string => "server { listen 127.0.0.1:$port; }"))->stop();
        } catch (RuntimeException $e) {
            skip_tier('nginx + php-fpm', 'nginx or php-fpm does not start here: ' . $e->getMessage());
        }
    }

    // $servers(port, fastcgi address) gives the server blocks of the http section.
    public function __construct(callable $servers, int $workers = 4)
    {
        parent::__construct();
        $dir = $this->dir;
        $socket = $dir . '/php-fpm.sock';
        copy('/etc/nginx/fastcgi_params', $dir . '/fastcgi_params');
        file_put_contents($dir . '/php-fpm.conf', <<<CONF
            [global]
            pid = $dir/php-fpm.pid
            error_log = $dir/php-fpm.log
            daemonize = no

            [app]
            listen = $socket
            listen.mode = 0666
            pm = static
            pm.max_children = $workers
            catch_workers_output = yes
            php_admin_value[session.save_path] = $dir/sessions

            CONF);
        $root = posix_geteuid() === 0;
        $this->launch('php-fpm', [self::fpm(), '--nodaemonize', '--fpm-config', $dir . '/php-fpm.conf',
            '--prefix', $dir, ...($root ? ['--allow-to-run-as-root'] : [])]);
        $this->await(static fn (): bool => file_exists($socket), 'php-fpm');

        $user = '';
        if ($root) {
            $group = posix_getgrgid(posix_getegid())['name'] ?? 'root';
            $user = 'user ' . posix_getpwuid(posix_geteuid())['name'] . " $group;\n";
        }
        $blocks = $servers($this->port, 'unix:' . $socket);
        file_put_contents($dir . '/nginx.conf', <<<CONF
            {$user}worker_processes 2;
            pid $dir/nginx.pid;
            error_log $dir/error.log warn;
            daemon off;
            events { worker_connections 1024; }
            http {
                include /etc/nginx/mime.types;
                default_type application/octet-stream;
                access_log off;
                client_body_temp_path $dir/client_body;
                fastcgi_temp_path $dir/fastcgi;
                proxy_temp_path $dir/proxy;
                uwsgi_temp_path $dir/uwsgi;
                scgi_temp_path $dir/scgi;
            $blocks
            }

            CONF);
        $this->launch('nginx', [self::nginx(), '-p', $dir . '/', '-c', $dir . '/nginx.conf', '-e', $dir . '/error.log']);
        $this->await(fn (): bool => $this->answers(), 'nginx');
    }

    private static function nginx(): string
    {
        return server_program('QB_NGINX', '/usr/sbin/nginx');
    }

    private static function fpm(): string
    {
        return server_program('QB_PHP_FPM', first_file('/usr/sbin/php-fpm*'));
    }
}
