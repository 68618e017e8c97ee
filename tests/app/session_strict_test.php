<?php
// Session fixation: a session id chosen by an attacker and planted in a victim's browser is never
// adopted. A request bringing it gets a fresh id (or none, when it keeps nothing), and the form
// token the attacker read in the attacker's own browser is worthless in the victim's.
declare(strict_types=1);

require_once __DIR__ . '/support/crud_site.php';

$site = crud_site('sqlite', __DIR__ . '/projects/crud_catalogue.json');

// The session cookie's name, from the session an add starts for its message.
$probe = $site->visitor();
$site->submit('/authors/store', ['full_name' => 'Probe', 'secret' => 'pw']);
$site->http->get('/authors');
$names = array_values(array_filter($site->http->cookieNames(), static fn (string $name): bool => preg_match('/^ktb[0-9a-f]{12}$/', $name) === 1));
T::same(1, count($names), 'an add starts a session for its message');
$cookie = $names[0] ?? 'PHPSESSID';

// Random ids: the session store outlives the test, and an id it already holds would count as issued.
$chosen = 'attacker' . bin2hex(random_bytes(12));
$cases = [
    // what, planted id
    ['well-formed id the server never issued', $chosen],
    ['short id', 'a' . bin2hex(random_bytes(2))],
    ['id with characters PHP refuses', 'evil!id$with*marks'],
];
foreach ($cases as $i => [$what, $planted]) {
    $attacker = $site->visitor();
    $attacker->setCookie($cookie, $planted);
    $form = $attacker->get('/authors/create');
    T::same(200, $form->status, "$what: form shown");
    T::true($attacker->cookie($cookie) !== $planted, "$what: the planted id is not kept");
    preg_match('~name="_csrf" value="([0-9a-f]{32}\.[0-9a-f]{64})"~', $form->body, $t);
    $stolenToken = $t[1] ?? '';
    T::true($stolenToken !== '', "$what: the attacker read a token");

    $victim = $site->visitor();
    $victim->setCookie($cookie, $planted);
    $before = $site->count('authors');
    $post = $victim->post('/authors/store', ['_csrf' => $stolenToken, 'full_name' => 'Fixated', 'secret' => 'pw']);
    T::same(403, $post->status, "$what: the post with the attacker's token is refused");
    T::contains('Invalid or expired form token', $post->body, "$what: refusal text");
    T::same($before, $site->count('authors'), "$what: nothing stored");

    // The victim's own add starts a session under a fresh id, which then serves its message.
    $own = $victim->post('/authors/store', ['_csrf' => $site->token('/authors/create', $victim), 'full_name' => "Own $i", 'secret' => 'pw']);
    T::same(302, $own->status, "$what: the victim's own add works");
    T::true(!in_array($victim->cookie($cookie), [null, '', 'deleted', $planted, $attacker->cookie($cookie)], true),
        "$what: the victim's session has a fresh id of its own");
    T::contains('Authors: record added.', $victim->get('/authors')->body, "$what: and shows the message");
}
T::same([], $site->rows("SELECT full_name FROM authors WHERE full_name = 'Fixated'"), 'no attacker record stored');

T::finish();
