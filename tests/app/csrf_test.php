<?php
// Csrf::token and Csrf::verify of app/Core/Csrf.php against a session array.
declare(strict_types=1);

require_once __DIR__ . '/support/testing.php';
require getenv('QB_SOURCE_DIR') . '/templates/app/Core/Csrf.php';

T::same(false, Csrf::verify(null), 'null without a session');
T::true(!isset($_SESSION), 'verify does not touch the session');

$_SESSION = [];
$token = Csrf::token();
T::true(preg_match('/^[0-9a-f]{64}$/', $token) === 1, 'token is 64 hexadecimal characters');
T::same($token, $_SESSION['_csrf'], 'token is stored under _csrf');
T::same($token, Csrf::token(), 'token is stable within the session');

$cases = [
    ['the token', $token, true],
    ['another token', str_repeat('0', 64), false],
    ['a prefix', substr($token, 0, 32), false],
    ['empty text', '', false],
    ['null', null, false],
    ['an array', [$token], false],
];
foreach ($cases as [$what, $candidate, $expected]) {
    T::same($expected, Csrf::verify($candidate), "verify $what");
}

$_SESSION['_csrf'] = '';
T::same(false, Csrf::verify(''), 'an empty stored token matches nothing');
T::true(Csrf::token() !== '', 'an empty stored token is replaced');

T::finish();
