<?php
// Session fixation: a session id chosen by an attacker and planted in a victim's browser is never
// adopted. The server answers with a fresh id, so the form token the attacker read under the
// planted id is worthless in the victim's session and the victim's post is refused.
declare(strict_types=1);

require_once __DIR__ . '/support/crud_site.php';

$site = crud_site('sqlite', __DIR__ . '/projects/crud_catalogue.json');

// The session cookie's name, from the cookie a new visitor gets.
$first = $site->visitor()->get('/authors/create');
preg_match('~^([^=;]+)=([^;]*)~', (string) $first->header('Set-Cookie'), $m);
T::true(($m[2] ?? '') !== '', 'a new visitor gets a session cookie');
$cookie = $m[1] ?? 'PHPSESSID';

// Random ids: the session store outlives the test, and an id it already holds would count as issued.
$chosen = 'attacker' . bin2hex(random_bytes(12));
$cases = [
    // what, planted id
    ['well-formed id the server never issued', $chosen],
    ['short id', 'a' . bin2hex(random_bytes(2))],
    ['id with characters PHP refuses', 'evil!id$with*marks'],
];
foreach ($cases as [$what, $planted]) {
    $attacker = $site->visitor();
    $attacker->setCookie($cookie, $planted);
    $form = $attacker->get('/authors/create');
    T::same(200, $form->status, "$what: form shown");
    T::true(!in_array($attacker->cookie($cookie), [null, '', $planted], true), "$what: the attacker gets a fresh id");
    preg_match('~name="_csrf" value="([0-9a-f]{64})"~', $form->body, $t);
    $stolenToken = $t[1] ?? '';

    $victim = $site->visitor();
    $victim->setCookie($cookie, $planted);
    $before = $site->count('authors');
    $post = $victim->post('/authors/store', ['_csrf' => $stolenToken, 'full_name' => 'Fixated', 'secret' => 'pw']);
    T::same(403, $post->status, "$what: the post with the attacker's token is refused");
    T::contains('Invalid or expired form token', $post->body, "$what: refusal text");
    T::same($before, $site->count('authors'), "$what: nothing stored");
    T::true(!in_array($victim->cookie($cookie), [null, '', $planted, $attacker->cookie($cookie)], true),
        "$what: the victim gets a fresh id of its own");
}

// The fresh id is then kept: the victim's own form and post work.
$victim = $site->visitor();
$victim->setCookie($cookie, $chosen);
$post = $victim->post('/authors/store', ['_csrf' => $site->token('/authors/create', $victim), 'full_name' => 'Own', 'secret' => 'pw']);
T::same(302, $post->status, 'the fresh session works for its owner');
T::same(['Own'], array_column($site->rows("SELECT full_name FROM authors WHERE full_name IN ('Own', 'Fixated')"), 'full_name'),
    'only the owner\'s record stored');

T::finish();
