<?php
// What the list pages make of hostile input, on SQLite and MariaDB: search texts far beyond the
// box's limit or not UTF-8, a search on a table without searchable fields, and email addresses
// that would add headers to their mailto: link.
declare(strict_types=1);

require_once __DIR__ . '/support/crud_site.php';

// Email as entered => the link's address (encoded so that no "?" or "&" starts headers).
$emails = [
    'x?cc=spy%40evil.example@y.org' => 'mailto:x%3Fcc%3Dspy%2540evil.example@y.org',
    'a&subject=hi@example.com' => 'mailto:a%26subject%3Dhi@example.com',
    'first.last+tag@example.com' => 'mailto:first.last%2Btag@example.com',
];

foreach (crud_engines() as $engine) {
    $site = crud_site($engine, __DIR__ . '/projects/crud_catalogue.json');
    $at = "[$engine] ";

    $ids = [];
    foreach (array_keys($emails) as $i => $email) {
        $ids[] = $site->add('authors', ['full_name' => 'Name' . $i, 'secret' => 's', 'email' => $email]);
    }
    $list = $site->http->get('/authors?sort=id&dir=asc')->body;
    foreach ($emails as $email => $href) {
        T::contains('<a href="' . $href . '">' . htmlspecialchars($email) . '</a>', $list, $at . "mail link of $email");
    }
    T::same(array_keys($emails), array_column($site->rows('SELECT `email` FROM `authors` ORDER BY `id`'), 'email'), $at . 'addresses stored as entered');
    T::true(preg_match('~href="mailto:[^"]*[?&]~', $list) === 0, $at . 'no mail link carries a query');

    // Search requests: query => [rows shown, texts on the page, texts not on the page].
    $limitNote = 'Only the first 200 characters were searched.';
    $searches = [
        '/authors?q=' . str_repeat('a', 50000) => [[], [$limitNote, 'value="' . str_repeat('a', 200) . '"'], ['value="' . str_repeat('a', 201)]],
        '/authors?q=' . str_repeat('%25', 10000) => [array_reverse($ids), [$limitNote], []],
        '/authors?q=' . str_repeat('N', 199) . '%C3%A9' => [[], ['value="' . str_repeat('N', 199) . 'é"'], [$limitNote]],
        '/authors?q=Name1' => [[$ids[1]], ['value="Name1"'], [$limitNote]],
        '/authors?q=Name%FF' => [array_reverse($ids), ['The search text was not valid UTF-8 text and was ignored.'], ['No records match']],
        '/authors' => [array_reverse($ids), ['maxlength="200" placeholder="Search authors... (up to 200 characters)"'], [$limitNote]],
        // The vault has no searchable field: "q" is ignored, on an empty page too.
        '/vault?q=zzz' => [[], ['No records yet.', 'href="/vault?sort=id&amp;dir=asc&amp;page=1"'], ['No records match your search.', 'q=zzz', '>Clear</a>', 'role="search"']],
    ];
    foreach ($searches as $path => [$rows, $present, $absent]) {
        $response = $site->http->get($path);
        $label = $at . 'GET ' . substr($path, 0, 50);
        T::same(200, $response->status, $label . ' answers 200');
        T::same($rows, CrudSite::listIds($response->body), $label . ' rows');
        foreach ($present as $text) {
            T::contains($text, $response->body, $label . ' shows ' . substr($text, 0, 60));
        }
        foreach ($absent as $text) {
            T::true(!str_contains($response->body, $text), $label . ' does not show ' . substr($text, 0, 60));
        }
    }
    $site->db()->exec('INSERT INTO `vault` (`pin`) VALUES (NULL)');
    $vault = $site->http->get('/vault?q=zzz')->body;
    T::true(!str_contains($vault, 'q=zzz'), $at . 'links of a table with rows but no searchable field leave "q" out');

    $site->stop();
}

T::finish();
