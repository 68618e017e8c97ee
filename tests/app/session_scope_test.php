<?php
// The session cookie of app/Core/Session.php belongs to one installation: its path is the base
// path and its name differs between installations and base paths, so applications sharing a host
// never share a session.
declare(strict_types=1);

require_once __DIR__ . '/support/testing.php';

// Two installations of the core files.
$templates = getenv('QB_SOURCE_DIR') . '/templates/app/Core/';
$installs = [];
foreach (['first', 'second'] as $name) {
    $installs[$name] = temp_dir() . '/app';
    mkdir($installs[$name] . '/app/Core', 0777, true);
    foreach (['Url.php', 'Session.php'] as $file) {
        copy($templates . $file, $installs[$name] . '/app/Core/' . $file);
    }
}
$sessions = temp_dir();

// Starts the session of $install for a request; returns the session name and cookie parameters.
function session_of(string $install, string $script, string $uri, bool $https = false): array
{
    $server = ['SCRIPT_NAME' => $script, 'REQUEST_URI' => $uri] + ($https ? ['HTTPS' => 'on'] : []);
    $code = '$_SERVER = array_merge($_SERVER, ' . var_export($server, true) . ');'
        . 'require ' . var_export("$install/app/Core/Url.php", true) . ';'
        . 'require ' . var_export("$install/app/Core/Session.php", true) . ';'
        . 'Session::start();'
        . 'echo json_encode([session_name(), session_get_cookie_params(), session_status() === PHP_SESSION_ACTIVE]);';
    $command = [PHP_BINARY, '-d', 'session.save_path=' . $GLOBALS['sessions'], '-r', $code];
    $proc = proc_open($command, [1 => ['pipe', 'w'], 2 => ['pipe', 'w']], $pipes);
    $out = stream_get_contents($pipes[1]);
    $err = stream_get_contents($pipes[2]);
    proc_close($proc);
    T::same('', $err, "no errors for $uri");
    return json_decode($out, true) ?? [null, [], false];
}

// [what, installation, SCRIPT_NAME, REQUEST_URI, HTTPS, cookie path]
$cases = [
    ['web root', 'first', '/index.php', '/books', false, '/'],
    ['folder', 'first', '/myapp/public/index.php', '/myapp/books', false, '/myapp'],
    ['folder again', 'first', '/myapp/public/index.php', '/myapp/', false, '/myapp'],
    ['other installation, same folder', 'second', '/myapp/public/index.php', '/myapp/books', false, '/myapp'],
    ['folder with a space and an umlaut', 'first', "/my \u{e4}pp/public/index.php", '/my%20%C3%A4pp/books', true, '/my%20%C3%A4pp'],
];
$names = [];
foreach ($cases as [$what, $install, $script, $uri, $https, $path]) {
    [$name, $params, $active] = session_of($installs[$install], $script, $uri, $https);
    T::true($active, "$what: session started");
    T::true(preg_match('/^[A-Za-z][A-Za-z0-9]{5,}$/', (string) $name) === 1, "$what: usable session name " . var_export($name, true));
    T::same([$path, $https, true, 'Lax'], [$params['path'] ?? null, $params['secure'] ?? null, $params['httponly'] ?? null,
        $params['samesite'] ?? null], "$what: cookie parameters");
    $names[$what] = $name;
}
T::same($names['folder'], $names['folder again'], 'one installation keeps its session name');
T::same(4, count(array_unique($names)), 'every other installation or folder has its own session name');

T::finish();
