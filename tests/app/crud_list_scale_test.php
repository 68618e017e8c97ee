<?php
// Lists beyond 10,000 rows, on SQLite and MariaDB: keyset paging walks the whole table without
// skipping or repeating a row (ties and empty values in the sort column, rows added and deleted
// between requests, forwards and backwards), old page=N links, the kept and the capped count, and
// full-text search finding what LIKE finds on a corpus of whole words.
declare(strict_types=1);

require_once __DIR__ . '/support/crud_site.php';

const ROWS = 10100;
const WORDS = ['amber', 'blue', 'coral', 'denim', 'ebony', 'fern', 'gold', 'hazel', 'lamp', 'chair', 'table', 'shelf', 'mug', 'vase'];

// The ids of a list page in the order shown, and its pager's links by caption.
function list_page(HttpClient $http, string $path): array
{
    $body = $http->get($path)->body;
    preg_match_all('~<a class="page-link" href="([^"]*)">(First|Previous|Next|Last)</a>~', $body, $links, PREG_SET_ORDER);
    return [CrudSite::listIds($body), array_column(array_map(static fn (array $m): array => [$m[2], html_entity_decode($m[1])], $links), 1, 0), $body];
}

// Follows $caption links from $path until there is none; every id seen, in order.
function walk(HttpClient $http, string $path, string $caption, ?callable $between = null): array
{
    $seen = [];
    for ($step = 0; $path !== null && $step < 200; $step++) {
        [$ids, $links] = list_page($http, $path);
        $seen = [...$seen, ...($caption === 'Previous' ? array_reverse($ids) : $ids)];
        if ($between !== null) {
            $between($step);
        }
        $path = $links[$caption] ?? null;
    }
    return $seen;
}

foreach (crud_engines() as $engine) {
    $at = "[$engine] ";
    $site = crud_site($engine, __DIR__ . '/projects/crud_scale.json');
    $pdo = $site->db();
    $pdo->exec("INSERT INTO kinds (name) VALUES ('plain')");
    foreach (['items', 'plain'] as $table) {
        $pdo->beginTransaction();
        $insert = $pdo->prepare("INSERT INTO $table (title, notes, `rank`, kind_id) VALUES (?, ?, ?, 1)");
        for ($i = 1; $i <= ROWS; $i++) {
            $insert->execute([WORDS[$i % 14] . ' ' . WORDS[($i * 7) % 14] . " $i", $i % 5 === 0 ? 'kept on the ' . WORDS[($i * 3) % 14] . ' shelf' : null,
                $i % 97 === 0 ? null : $i % 50]);
        }
        $pdo->commit();
    }
    $http = $site->http;
    $order = static fn (string $orderBy): array => array_map('intval', array_column($site->rows("SELECT id FROM items ORDER BY $orderBy"), 'id'));

    // The kept count, exact after inserts and deletes made outside the application.
    T::contains(ROWS . ' records', $http->get('/items')->body, $at . 'the kept count');
    $pdo->exec('DELETE FROM items WHERE id > ' . (ROWS - 3));
    T::contains((ROWS - 3) . ' records', $http->get('/items')->body, $at . 'the kept count after deletes');

    // Whole walks: [what, start, caption, expected order].
    $walks = [
        ['by id, forwards', '/items', 'Next', 'id DESC'],
        ['by rank with ties and empty ranks, forwards', '/items?sort=rank&dir=asc', 'Next', '`rank` ASC, id ASC'],
        ['by rank, backwards from the last page', '/items?sort=rank&dir=desc&last=1', 'Previous', '`rank` DESC, id DESC'],
    ];
    foreach ($walks as [$what, $start, $caption, $orderBy]) {
        $seen = walk($http, $start, $caption);
        $expected = $order($orderBy);
        T::same($caption === 'Previous' ? array_reverse($expected) : $expected, $seen, $at . "$what: every row once, in order");
    }

    // Rows added and deleted between requests: nothing is skipped or repeated.
    $deleted = $order('id ASC')[100];
    $before = $order('id DESC');
    $seen = walk($http, '/items', 'Next', static function (int $step) use ($pdo, $deleted): void {
        if ($step === 2) {
            $pdo->exec("INSERT INTO items (title, `rank`) VALUES ('added meanwhile', 1)");
            $pdo->exec("DELETE FROM items WHERE id = $deleted");
        }
    });
    T::same(array_values(array_diff($before, [$deleted])), $seen, $at . 'rows added and deleted meanwhile');
    T::same(count($seen), count(array_unique($seen)), $at . 'no row twice');

    // Old page=N links keep their place; sort links leave the cursor behind.
    [$ids] = list_page($http, '/items?sort=rank&dir=asc&page=3');
    T::same(array_slice($order('`rank` ASC, id ASC'), 400, 200), $ids, $at . 'page=3');
    [, $links] = list_page($http, '/items');
    [, , $body] = list_page($http, $links['Next']);
    preg_match_all('~<th scope="col"><a [^>]*href="([^"]*)"~', $body, $sortLinks);
    T::same([], array_filter($sortLinks[1], static fn (string $link): bool => str_contains($link, 'after=')), $at . 'sort links start at the first page');

    // The capped count, and exact counts below the cap.
    T::contains('10,000+ matches', $http->get('/plain?q=a')->body, $at . 'a search matching most rows stops counting at 10,000');
    T::contains('1 record<', $http->get('/plain?q=9380')->body, $at . 'an exact count below the cap');

    // Full-text search finds what LIKE finds where a search is whole words or word beginnings.
    foreach (['amber', 'Coral', 'shel', 'vase mug', 'table 1234', 'zzz', 'ch'] as $search) {
        [$fullText, , $ftBody] = list_page($http, '/items?' . http_build_query(['q' => $search, 'sort' => 'id', 'dir' => 'asc']));
        $like = array_map('intval', array_column($site->rows('SELECT id FROM items WHERE ' . implode(' AND ', array_map(
            static fn (string $word): string => "(title LIKE '% $word%' OR title LIKE '$word%' OR notes LIKE '% $word%' OR notes LIKE '$word%')",
            explode(' ', $search))) . ' ORDER BY id'), 'id'));
        T::same(array_slice($like, 0, 200), $fullText, $at . "search \"$search\": the rows of the first page");
        preg_match('~fs-6">([^<]*)</small>~', $ftBody, $count);
        T::same(count($like) . ' record' . (count($like) === 1 ? '' : 's'), $count[1] ?? '', $at . "search \"$search\": the count");
    }
    // The index is what answers: the middle of a word is found by LIKE only (as documented).
    T::same([[], true], [list_page($http, '/items?q=mber')[0], list_page($http, '/plain?q=mber')[0] !== []], $at . 'a word middle: full-text and LIKE');
    [$status, $out] = (static function () use ($site): array {
        $proc = proc_open([PHP_BINARY, $site->dir . '/bin/doctor.php'], [1 => ['pipe', 'w'], 2 => ['pipe', 'w']], $pipes, $site->dir,
            array_merge(getenv(), $site->env));
        $out = stream_get_contents($pipes[1]) . stream_get_contents($pipes[2]);
        return [proc_close($proc), $out];
    })();
    T::contains($engine === 'sqlite' ? 'search of items: FTS5 table _fts_items' : 'search of items: FULLTEXT index ft_items', $out,
        $at . 'doctor names the search');
    $site->stop();
}

T::finish();
