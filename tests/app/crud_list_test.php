<?php
// List pages of a generated CRUD application on SQLite and MariaDB: defaults, sorting, paging,
// search, cells, pager links, flash messages and hostile query parameters.
declare(strict_types=1);

require_once __DIR__ . '/support/crud_site.php';

foreach (crud_engines() as $engine) {
    $site = crud_site($engine, __DIR__ . '/projects/crud_catalogue.json');
    $at = "[$engine] ";

    $empty = $site->http->get('/authors');
    T::same(200, $empty->status, $at . 'empty list answers 200');
    T::contains('<small class="text-secondary fs-6">0 records</small>', $empty->body, $at . 'empty list counts 0 records');
    T::contains('No records yet.', $empty->body, $at . 'empty list says so');
    T::true(!str_contains($empty->body, 'aria-label="Pages"'), $at . 'one page has no pager');

    $names = ['Cleo', 'Abe', 'Eve', 'Bea', 'Dan', 'Gus', 'Fay'];
    $ids = [];
    foreach ($names as $i => $name) {
        $ids[$name] = $site->add('authors', ['full_name' => $name, 'secret' => 'pw' . $i,
            'bio' => $name === 'Abe' ? str_repeat('x', 80) : str_repeat('é', 81)]);
        if ($i === 0) {
            $first = $site->http->get('/authors');
            T::contains('<div class="alert alert-success" role="alert">Authors: record added.</div>', $first->body, $at . 'flash after adding');
            T::contains('1 record</small>', $first->body, $at . 'one row reads "1 record"');
            T::true(!str_contains($site->http->get('/authors')->body, 'record added'), $at . 'flash shown only once');
        }
    }
    $byName = $ids;
    ksort($byName);
    $id = array_values($ids);

    // Query => ids expected on the page (pageSize 3, seven rows).
    $cases = [
        '' => [$id[6], $id[5], $id[4]],
        '?dir=ASC' => [$id[0], $id[1], $id[2]],
        '?sort=full_name&dir=asc' => array_slice(array_values($byName), 0, 3),
        '?sort=full_name&dir=desc&page=3' => [array_values($byName)[0]],
        '?sort=secret&dir=asc' => [$id[0], $id[1], $id[2]],
        '?sort=email&dir=asc&page=2' => [$id[3], $id[4], $id[5]],
        '?sort=email&dir=desc&page=2' => [$id[3], $id[2], $id[1]],
        '?sort=nope' => [$id[6], $id[5], $id[4]],
        '?page=2' => [$id[3], $id[2], $id[1]],
        '?page=0' => [$id[6], $id[5], $id[4]],
        '?page=-3' => [$id[6], $id[5], $id[4]],
        '?page=abc' => [$id[6], $id[5], $id[4]],
        '?page=99' => [$id[0]],
        '?page=99999999999999999999999' => [$id[0]],
        '?sort=id;DROP%20TABLE%20authors' => [$id[6], $id[5], $id[4]],
        '?sort=full_name%20DESC,%20(SELECT%201)' => [$id[6], $id[5], $id[4]],
        '?dir=asc%20--' => [$id[6], $id[5], $id[4]],
        '?page=2%20OR%201=1' => [$id[3], $id[2], $id[1]],
        '?sort[]=full_name&dir[]=asc&page[]=2&q[]=x' => [$id[6], $id[5], $id[4]],
        '?q=%27%20OR%201=1%20--' => [],
        '?q=%25' => [$id[6], $id[5], $id[4]],
        '?q=ea' => [$id[3]],
        '?q=pw1' => [],
    ];
    foreach ($cases as $query => $expected) {
        $page = $site->http->get('/authors' . $query);
        T::same(200, $page->status, $at . "GET /authors$query answers 200");
        T::same($expected, CrudSite::listIds($page->body), $at . "rows of /authors$query");
    }
    T::same(7, $site->count('authors'), $at . 'hostile queries leave the rows in place');

    $page2 = $site->http->get('/authors?page=2')->body;
    T::contains('7 records</small>', $page2, $at . 'total counts every row');
    foreach ([
        '<li class="page-item"><a class="page-link" href="/authors?sort=id&amp;dir=desc&amp;page=1">Previous</a></li>',
        '<li class="page-item active"><a class="page-link" href="/authors?sort=id&amp;dir=desc&amp;page=2">2</a></li>',
        '<li class="page-item"><a class="page-link" href="/authors?sort=id&amp;dir=desc&amp;page=3">Next</a></li>',
        '<a class="link-dark text-decoration-none" href="/authors?sort=id&amp;dir=asc&amp;page=1">ID &darr;</a>',
        '<a class="link-dark text-decoration-none" href="/authors?sort=full_name&amp;dir=asc&amp;page=1">Full name</a>',
    ] as $link) {
        T::contains($link, $page2, $at . 'link on page 2');
    }
    $ascending = $site->http->get('/authors?sort=full_name&dir=asc')->body;
    T::contains('href="/authors?sort=full_name&amp;dir=desc&amp;page=1">Full name &uarr;</a>', $ascending, $at . 'sorted column flips to desc');
    $last = $site->http->get('/authors?page=3')->body;
    T::contains('<li class="page-item disabled"><a class="page-link" href="/authors?sort=id&amp;dir=desc&amp;page=3">Next</a></li>', $last, $at . 'Next disabled on the last page');
    T::contains('<li class="page-item disabled"><a class="page-link" href="/authors?sort=id&amp;dir=desc&amp;page=1">Previous</a></li>',
        $site->http->get('/authors')->body, $at . 'Previous disabled on page 1');

    $search = $site->http->get('/authors?q=zzz&sort=full_name')->body;
    T::contains('No records match your search.', $search, $at . 'empty search result');
    T::contains('<a class="btn btn-outline-secondary" href="/authors">Clear</a>', $search, $at . 'Clear link during a search');
    T::contains('href="/authors?q=zzz&amp;sort=full_name&amp;dir=asc&amp;page=1"', $search, $at . 'links keep the search');
    T::true(!str_contains($site->http->get('/authors')->body, '>Clear</a>'), $at . 'no Clear link without a search');

    // The password column is never listed, the text column is cut at 80 characters.
    $list = $site->http->get('/authors?sort=id&dir=asc')->body;
    T::true(!str_contains($list, '>Secret<') && !str_contains($list, '$2y$'), $at . 'password neither a column nor shown');
    T::contains('<td>' . str_repeat('x', 80) . '</td>', $list, $at . '80 characters show without ellipsis');
    T::contains('<td>' . str_repeat('é', 80) . '&hellip;</td>', $list, $at . '81 multi-byte characters are cut to 80');

    // Pager window on a table with one row per page.
    $pdo = $site->db();
    $site->http->get('/vault');
    for ($i = 0; $i < 20; $i++) {
        $pdo->exec('INSERT INTO `vault` (`pin`) VALUES (NULL)');
    }
    $vault = $site->http->get('/vault?page=10')->body;
    preg_match_all('~<a class="page-link" href="[^"]*">([^<]+)</a>~', $vault, $m);
    T::same(['Previous', '7', '8', '9', '10', '11', '12', '13', 'Next'], $m[1], $at . 'pager shows three pages either side');
    T::true(!str_contains($vault, 'role="search"'), $at . 'no search form without a searchable field');
    T::same([11], CrudSite::listIds($site->http->get('/vault?q=nothing-matches&page=10')->body), $at . 'search ignored without a searchable field');

    // Cells of every kind on the books list; a lookup that lost its row shows its id.
    $bookA = $site->add('books', ['title' => 'Alpha', 'author_id' => (string) $ids['Bea'], 'in_stock' => '1', 'format' => 'Paperback']);
    $bookB = $site->add('books', ['title' => 'Beta', 'format' => 'E-book']);
    $pdo->exec($engine === 'sqlite' ? 'PRAGMA foreign_keys = OFF' : 'SET FOREIGN_KEY_CHECKS = 0');
    $pdo->exec("INSERT INTO `books` (`title`, `author_id`, `in_stock`, `featured`) VALUES ('Gamma', 999, 0, 0)");
    $books = $site->http->get('/books?sort=id&dir=asc')->body;
    $rowOf = static function (string $title) use ($books): string {
        return preg_match('~<tr>\s*<td>\d+</td>\s*<td>' . $title . '</td>.*?</tr>~s', $books, $m) === 1 ? $m[0] : '';
    };
    T::contains('<td>Bea</td>', $rowOf('Alpha'), $at . 'lookup shows the display value');
    T::contains('<span class="badge text-bg-success">Yes</span>', $rowOf('Alpha'), $at . 'boolean 1 shows Yes');
    T::contains('<td><span class="text-secondary">-</span></td>', $rowOf('Beta'), $at . 'empty lookup shows the dash');
    T::contains('<span class="badge text-bg-secondary">No</span>', $rowOf('Beta'), $at . 'unticked boolean shows No');
    T::contains('<td>#999</td>', $rowOf('Gamma'), $at . 'lookup to a missing row shows its id');
    T::same([$bookA], CrudSite::listIds($site->http->get('/books?q=Bea')->body), $at . 'search matches the lookup display value');

    // Only http(s) addresses become links, whatever is already stored.
    $pdo->exec("UPDATE `authors` SET `website` = 'javascript://x%0Aalert(1)', `email` = 'a@example.com' WHERE `full_name` = 'Abe'");
    $pdo->exec("UPDATE `authors` SET `website` = 'https://example.com/?a=1&b=2' WHERE `full_name` = 'Bea'");
    $links = $site->http->get('/authors?sort=full_name&dir=asc')->body;
    T::contains('<td>javascript://x%0Aalert(1)</td>', $links, $at . 'a script URL is shown as text');
    T::true(!str_contains($links, 'href="javascript'), $at . 'a script URL is never a link');
    T::contains('<a href="https://example.com/?a=1&amp;b=2" target="_blank" rel="noopener noreferrer">https://example.com/?a=1&amp;b=2</a>',
        $links, $at . 'an https URL is a link');
    T::contains('<a href="mailto:a@example.com">a@example.com</a>', $links, $at . 'an email is a mailto link');

    $site->stop();
}

T::finish();
