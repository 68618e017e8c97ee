<?php
// A minimal application tree for the configuration and migration templates, with a stub Schema
// class that records its calls.
declare(strict_types=1);

require_once __DIR__ . '/testing.php';

function core_app_tree(): string
{
    $root = temp_dir();
    $templates = getenv('QB_SOURCE_DIR') . '/templates/';
    foreach (['app/Config', 'app/Core', 'bin', 'database/migrations'] as $dir) {
        mkdir($root . '/' . $dir, 0777, true);
    }
    copy($templates . 'app/Config/app.head.php', $root . '/app/Config/app.php');
    copy($templates . 'app/Core/PhpCache.php', $root . '/app/Core/PhpCache.php');
    copy($templates . 'app/Config/database.sqlite.php', $root . '/app/Config/database.php');
    copy($templates . 'bin/migrate.php', $root . '/bin/migrate.php');
    copy($templates . 'app/Core/Migrations.php', $root . '/app/Core/Migrations.php');
    file_put_contents($root . '/app/Core/Schema.php', <<<'PHP'
<?php
declare(strict_types=1);

final class Schema
{
    public static array $calls = [];

    public static function isMysql(PDO $pdo): bool
    {
        return $pdo->getAttribute(PDO::ATTR_DRIVER_NAME) === 'mysql';
    }

    public static function sync(PDO $pdo, string $connectionKey = '', bool $force = false): array
    {
        self::$calls[] = [$connectionKey, $force];
        $failure = (string) getenv('QB_SYNC_FAILURE');
        if ($failure !== '') {
            throw new RuntimeException($failure);
        }
        $log = (string) getenv('QB_SYNC_LOG');
        return $log === '' ? [] : explode(',', $log);
    }
}
PHP);
    return $root;
}

// Runs a PHP script file with extra environment variables; returns [exit code, stdout, stderr].
function run_php(string $script, array $environment = [], array $args = []): array
{
    $proc = proc_open(array_merge([PHP_BINARY, $script], $args), [1 => ['pipe', 'w'], 2 => ['pipe', 'w']], $pipes,
        dirname($script), array_merge(getenv(), $environment));
    $out = stream_get_contents($pipes[1]);
    $err = stream_get_contents($pipes[2]);
    fclose($pipes[1]);
    fclose($pipes[2]);
    return [proc_close($proc), $out, $err];
}
