<?php
// .env loading of app/Config/app.php: comments, splitting, trimming, real environment first, and
// the cache of the parsed settings.
declare(strict_types=1);

require_once __DIR__ . '/support/testing.php';

$root = temp_dir();
mkdir($root . '/app/Config', 0777, true);
mkdir($root . '/app/Core', 0777, true);
copy(getenv('QB_SOURCE_DIR') . '/templates/app/Config/app.head.php', $root . '/app/Config/app.php');
copy(getenv('QB_SOURCE_DIR') . '/templates/app/Core/PhpCache.php', $root . '/app/Core/PhpCache.php');

// The listed environment variables after requiring app.php in a fresh process.
function env_after_loading(string $root, array $environment, array $names): array
{
    $script = 'require ' . var_export($root . '/app/Config/app.php', true) . ';'
        . '$out = []; foreach (' . var_export($names, true) . ' as $n) { $out[$n] = getenv($n); }'
        . 'echo json_encode($out);';
    $env = array_merge(getenv(), $environment);
    $proc = proc_open([PHP_BINARY, '-r', $script], [1 => ['pipe', 'w'], 2 => ['pipe', 'w']], $pipes, null, $env);
    $out = stream_get_contents($pipes[1]);
    $err = stream_get_contents($pipes[2]);
    proc_close($proc);
    T::same('', $err, 'app.php loads without errors');
    return json_decode($out, true);
}

$names = ['QB_PLAIN', 'QB_SPACED', 'QB_QUOTED', 'QB_HASH', 'QB_EQUALS', 'QB_EMPTY', 'QB_SERVER', 'QB_COMMENTED',
    'QB_NOVALUE', 'QB_CRLF'];
file_put_contents($root . '/.env', implode("\n", [
    '# a comment',
    'QB_PLAIN=value',
    '   QB_SPACED  =  spaced value  ',
    'QB_QUOTED="quoted"',
    'QB_HASH=abc # not a comment',
    'QB_EQUALS=a=b=c',
    'QB_EMPTY=',
    'QB_SERVER=from .env',
    '  # QB_COMMENTED=1',
    'QB_NOVALUE',
    '=orphan value',
    "QB_CRLF=windows\r",
    '',
]));
T::same([
    'QB_PLAIN' => 'value',
    'QB_SPACED' => 'spaced value',
    'QB_QUOTED' => '"quoted"',
    'QB_HASH' => 'abc # not a comment',
    'QB_EQUALS' => 'a=b=c',
    'QB_EMPTY' => '',
    'QB_SERVER' => 'from the server',
    'QB_COMMENTED' => false,
    'QB_NOVALUE' => false,
    'QB_CRLF' => 'windows',
], env_after_loading($root, ['QB_SERVER' => 'from the server'], $names), '.env lines');

// The parsed settings are cached in storage/cache/env.php once .env has been left alone for a
// while, keyed by its size, times and inode. Each step: what .env holds (null: unchanged), how many
// seconds ago it was last written (null: left as it is; a number: its modification time is set
// back, and the test waits until its change time is a few seconds old too), what is done to
// the cache before the request, QB_PLAIN as the request sees it, and whether a cache for this .env
// exists afterwards.
$envFile = $root . '/.env';
$cacheFile = $root . '/storage/cache/env.php';
$steps = [
    ['a fresh .env is read and not cached', "QB_PLAIN=one\n", null, null, 'one', false],
    ['a settled .env is cached', null, 20, null, 'one', true],
    ['a matching cache is read instead of .env', null, null, 'mark', 'from cache', true],
    ['a changed .env replaces the cache', "QB_PLAIN=two\n", 20, null, 'two', true],
    ['the same size written at another time is read', "QB_PLAIN=six\n", 10, null, 'six', true],
    ['a damaged cache is written anew', null, null, 'damage', 'six', true],
    ['a cache of another .env is not used', null, null, 'foreign', 'six', true],
];
foreach ($steps as [$what, $text, $age, $cacheChange, $plain, $cached]) {
    if ($text !== null) {
        file_put_contents($envFile, $text);
    }
    if ($age !== null) {
        touch($envFile, time() - $age);
        clearstatcache();
        $changed = filectime($envFile);
        while (time() < $changed + 2) {
            usleep(100000);
        }
    }
    if ($cacheChange === 'mark') {
        $cache = include $cacheFile;
        $cache['pairs'][0][1] = 'from cache';
        file_put_contents($cacheFile, '<?php return ' . var_export($cache, true) . ';');
    } elseif ($cacheChange === 'damage') {
        file_put_contents($cacheFile, '<?php return [');
    } elseif ($cacheChange === 'foreign') {
        file_put_contents($cacheFile, '<?php return ' . var_export(['stamp' => '1|2|3|4', 'pairs' => [['QB_PLAIN', 'foreign']]], true) . ';');
    }
    T::same(['QB_PLAIN' => $plain], env_after_loading($root, [], ['QB_PLAIN']), $what);
    T::same(['QB_PLAIN' => 'from the server'], env_after_loading($root, ['QB_PLAIN' => 'from the server'], ['QB_PLAIN']),
        $what . ': the real environment wins');
    clearstatcache();
    $stat = stat($envFile);
    $cache = is_file($cacheFile) ? include $cacheFile : null;
    T::same($cached, is_array($cache) && $cache['stamp'] === $stat['size'] . '|' . $stat['mtime'] . '|' . $stat['ctime'] . '|' . $stat['ino'],
        $what . ': cache of this .env');
}
T::same([], glob($cacheFile . '.*'), 'no temporary cache files left');

// The cache holds what .env holds: its owner's alone, and never more readable than .env.
foreach ([0640 => 0600, 0400 => 0400] as $envMode => $cacheMode) {
    chmod($envFile, $envMode);
    unlink($cacheFile);
    sleep(3);
    env_after_loading($root, [], ['QB_PLAIN']);
    clearstatcache();
    T::same($cacheMode, fileperms($cacheFile) & 0777, sprintf('.env %o: cache permissions', $envMode));
}

unlink($envFile);
T::same(['QB_PLAIN' => false], env_after_loading($root, [], ['QB_PLAIN']), 'no .env');

T::finish();
