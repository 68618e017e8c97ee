<?php
// Csrf::token and Csrf::verify of app/Core/Csrf.php, the signed double-submit cookie: the token is
// the browser's cookie value with its HMAC under the installation's key, so a forged token,
// another visitor's, another installation's, or one without its cookie fails.
declare(strict_types=1);

require_once __DIR__ . '/support/testing.php';

// Two installations of the core files; each run() is a request to one of them in a PHP of its own.
$templates = getenv('QB_SOURCE_DIR') . '/templates/app/Core/';
$installs = [];
foreach (['first', 'second'] as $name) {
    $installs[$name] = temp_dir() . '/app';
    mkdir($installs[$name] . '/app/Core', 0777, true);
    mkdir($installs[$name] . '/storage');
    foreach (['Url.php', 'Session.php', 'Csrf.php'] as $file) {
        copy($templates . $file, $installs[$name] . '/app/Core/' . $file);
    }
}

// Runs $code after loading the installation's files with the cookies and session values given;
// returns what it echoes, decoded from JSON.
function run(string $install, string $code, array $cookies = [], array $session = []): mixed
{
    $prelude = '$_SERVER["SCRIPT_NAME"] = "/index.php"; $_SERVER["REQUEST_URI"] = "/"; $_COOKIE = ' . var_export($cookies, true) . ';'
        . 'foreach (["Url", "Session", "Csrf"] as $f) { require ' . var_export("$install/app/Core/", true) . ' . $f . ".php"; }'
        . '$_SESSION = ' . var_export($session, true) . ';';
    $proc = proc_open([PHP_BINARY, '-r', $prelude . $code], [1 => ['pipe', 'w'], 2 => ['pipe', 'w']], $pipes);
    $out = stream_get_contents($pipes[1]);
    $err = stream_get_contents($pipes[2]);
    proc_close($proc);
    T::same('', $err, 'no errors');
    return json_decode($out, true);
}

$cookieName = run($installs['first'], 'echo json_encode(Session::name() . "t");');
$token = run($installs['first'], 'echo json_encode(Csrf::token());');
T::true(preg_match('/^([0-9a-f]{32})\.[0-9a-f]{64}$/', (string) $token, $m) === 1, 'a token is a random value and its HMAC');
$cookie = [$cookieName => $m[1] ?? ''];
$key = $installs['first'] . '/storage/app.key';
T::true(preg_match('/^[0-9a-f]{64}$/', (string) @file_get_contents($key)) === 1, 'the key is made on first use');
T::same(0600, fileperms($key) & 0777, 'the key is readable by its owner only');
T::same($token, run($installs['first'], 'echo json_encode(Csrf::token());', $cookie), 'the same cookie gives the same token');
$otherVisitor = run($installs['first'], 'echo json_encode(Csrf::token());');
$otherInstall = run($installs['second'], 'echo json_encode(Csrf::token());', $cookie);
$bound = run($installs['first'], 'echo json_encode(Csrf::token());', $cookie, ['_csrf' => 'signed-in session']);
T::true($bound !== $token, 'a session holding _csrf binds the token');

// [what, token, cookies, session, installation, valid]
$cases = [
    ['the token with its cookie', $token, $cookie, [], 'first', true],
    ['without its cookie', $token, [], [], 'first', false],
    ['with another visitor\'s cookie', $token, [$cookieName => substr((string) $otherVisitor, 0, 32)], [], 'first', false],
    ['another visitor\'s token', $otherVisitor, $cookie, [], 'first', false],
    ['forged HMAC', $m[1] . '.' . str_repeat('0', 64), $cookie, [], 'first', false],
    ['at another installation', $token, $cookie, [], 'second', false],
    ['another installation\'s token', $otherInstall, $cookie, [], 'first', false],
    ['the bound token in its session', $bound, $cookie, ['_csrf' => 'signed-in session'], 'first', true],
    ['the bound token without its session', $bound, $cookie, [], 'first', false],
    ['an unbound token in a bound session', $token, $cookie, ['_csrf' => 'signed-in session'], 'first', false],
    ['the value alone', $m[1], $cookie, [], 'first', false],
    ['empty text', '', $cookie, [], 'first', false],
    ['an array', [$token], $cookie, [], 'first', false],
];
foreach ($cases as [$what, $candidate, $cookies, $session, $install, $valid]) {
    T::same($valid, run($installs[$install], 'echo json_encode(Csrf::verify(' . var_export($candidate, true) . '));', $cookies, $session),
        "verify $what");
}

T::finish();
