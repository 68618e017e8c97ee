<?php
// Base path detection, request paths, url() and e() of app/Core/Url.php; one PHP process per case
// because app_base_path() caches its result.
declare(strict_types=1);

require_once __DIR__ . '/support/testing.php';

// Runs $code after requiring Url.php with the given server variables and APP_BASE_PATH.
function in_fresh_php(array $server, ?string $basePath, string $code): mixed
{
    $script = '$_SERVER = array_merge($_SERVER, ' . var_export($server, true) . ');'
        . 'require ' . var_export(getenv('QB_SOURCE_DIR') . '/templates/app/Core/Url.php', true) . ';'
        . 'echo json_encode(' . $code . ');';
    $env = getenv();
    unset($env['APP_BASE_PATH']);
    if ($basePath !== null) {
        $env['APP_BASE_PATH'] = $basePath;
    }
    $proc = proc_open([PHP_BINARY, '-r', $script], [1 => ['pipe', 'w'], 2 => ['pipe', 'w']], $pipes, null, $env);
    $out = stream_get_contents($pipes[1]);
    $err = stream_get_contents($pipes[2]);
    proc_close($proc);
    T::same('', $err, "no errors for $code");
    return json_decode($out, true);
}

// [what, SCRIPT_NAME, REQUEST_URI, APP_BASE_PATH, expected base path, expected request path]
$cases = [
    ['web root, built-in server', '/index.php', '/books?page=2', null, '', '/books'],
    ['home at the web root', '/index.php', '/', null, '', '/'],
    ['folder install through root .htaccess', '/myapp/public/index.php', '/myapp/books', null, '/myapp', '/books'],
    ['folder install, public/index.php in the URL', '/myapp/public/index.php', '/myapp/public/index.php/books', null, '/myapp/public', '/books'],
    ['folder install, public folder opened', '/myapp/public/index.php', '/myapp/public/books/', null, '/myapp/public', '/books/'],
    ['folder install home', '/myapp/public/index.php', '/myapp/', null, '/myapp', '/'],
    ['prefix is not a folder match', '/myapp/public/index.php', '/myapplication/books', null, '', '/myapplication/books'],
    ['percent-decoded, plus kept', '/index.php', '/caf%C3%A9/a+b', null, '', "/caf\u{e9}/a+b"],
    ['index.php in the URL at the root', '/index.php', '/index.php/about', null, '', '/about'],
    ['Windows separators', '\\myapp\\public\\index.php', '/myapp/x', null, '/myapp', '/x'],
    ['configured base path wins', '/other/public/index.php', '/myapp/books', 'myapp/', '/myapp', '/books'],
    ['configured slash is the root', '/myapp/public/index.php', '/myapp/books', ' / ', '', '/myapp/books'],
    ['configured backslashes', '/index.php', '/a/b/c', '\\a\\b\\', '/a/b', '/c'],
    ['blank configuration detects', '/myapp/public/index.php', '/myapp/books', '  ', '/myapp', '/books'],
    ['folder with a space', '/my app/public/index.php', '/my%20app/books', null, '/my app', '/books'],
    ['configured encoded folder', '/index.php', '/my%20app/books', 'my%20app', '/my app', '/books'],
];
foreach ($cases as [$what, $script, $uri, $configured, $base, $path]) {
    $result = in_fresh_php(['SCRIPT_NAME' => $script, 'REQUEST_URI' => $uri], $configured,
        '[app_base_path(), app_request_path(), app_request_path("' . $uri . '")]');
    T::same([$base, $path, $path], $result, $what);
}

$urls = in_fresh_php(['SCRIPT_NAME' => '/myapp/public/index.php', 'REQUEST_URI' => '/myapp/books'], null,
    '[url("/books"), url("books"), url(), url("//cdn.example.com/x.js"), url("https://example.com/a"),'
    . ' url("HTTPS://example.com"), url("mailto:x@example.com"), url("///x")]');
T::same(['/myapp/books', '/myapp/books', '/myapp/', '//cdn.example.com/x.js', 'https://example.com/a',
    'HTTPS://example.com', '/myapp/mailto:x@example.com', '///x'], $urls, 'url() below the base path');
T::same(['/', '/books', '/evil.example/x', '/evil.example'], in_fresh_php(['SCRIPT_NAME' => '/index.php', 'REQUEST_URI' => '/'],
    null, '[url(), url("/books"), url("/\\\\evil.example/x"), url("\\\\\\\\evil.example")]'),
    'url() at the web root; leading backslashes never make a link to another host');

// Folder names go out percent-encoded, segment by segment: [SCRIPT_NAME, REQUEST_URI, APP_BASE_PATH, url('/books')].
$encoded = [
    ['/my app/public/index.php', '/my%20app/books', null, '/my%20app/books'],
    ["/Caf\u{e9}/Men\u{fc}/public/index.php", '/Caf%C3%A9/Men%C3%BC/', null, '/Caf%C3%A9/Men%C3%BC/books'],
    ['/index.php', '/a%2Bb%23c/x', 'a+b#c', '/a%2Bb%23c/books'],
    ['/index.php', '/shop%20one/', 'shop one/', '/shop%20one/books'],
];
foreach ($encoded as [$script, $uri, $configured, $expected]) {
    T::same($expected, in_fresh_php(['SCRIPT_NAME' => $script, 'REQUEST_URI' => $uri], $configured, 'url("/books")'),
        "url() below $script" . ($configured === null ? '' : " configured as $configured"));
}

$escaped = in_fresh_php([], null, '[e("<a href=\"x\">Tom & Jerry\'s</a>"), e(12), e(-7), e(-2.5), e(1e25), e(0.1 + 0.2), e(true), e(null), e(["x"]), e("\xff<")]');
T::same(['&lt;a href=&quot;x&quot;&gt;Tom &amp; Jerry&#039;s&lt;/a&gt;', '12', '-7', '-2.5', '1.0E+25', '0.3', '1', '', '', "\u{fffd}&lt;"],
    $escaped, 'e()');

T::finish();
