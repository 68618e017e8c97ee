<?php
// .env loading of app/Config/app.php: comments, splitting, trimming, real environment first.
declare(strict_types=1);

require_once __DIR__ . '/support/testing.php';

$root = temp_dir();
mkdir($root . '/app/Config', 0777, true);
copy(getenv('QB_SOURCE_DIR') . '/templates/app/Config/app.head.php', $root . '/app/Config/app.php');

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

unlink($root . '/.env');
T::same(['QB_PLAIN' => false], env_after_loading($root, [], ['QB_PLAIN']), 'no .env');

T::finish();
