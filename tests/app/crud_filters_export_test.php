<?php
// The list's filters and its CSV export, on SQLite and MariaDB: every filter kind, invalid values
// ignored with a note, filters kept by sort and pager links and combined with the search, and an
// export of exactly the filtered rows in the list's order, quoted, with a byte-order mark, lookups
// as their shown value, booleans as Yes/No, formula cells neutralised and no password column.
declare(strict_types=1);

require_once __DIR__ . '/support/crud_site.php';

// The catalogue with a filter on every field that takes one, and the books' export.
$project = json_decode((string) file_get_contents(__DIR__ . '/projects/crud_catalogue.json'), true);
foreach ($project['database']['entities'] as &$table) {
    if ($table['id'] === 'books') {
        $table['export'] = true;
        $table['pageSize'] = 2;
        foreach ($table['fields'] as &$field) {
            $field['filter'] = in_array($field['type'], ['lookup', 'boolean', 'select', 'date', 'datetime', 'time', 'integer', 'decimal'], true);
        }
    }
}
unset($table, $field);
$projectFile = temp_dir('qb-filters-') . '/project.json';
file_put_contents($projectFile, json_encode($project));

// [title, author, pages, price, in stock, format, published on, released at, reading time]
$books = [
    ['=SUM(A1)', 'Ann', 100, '9.50', '1', 'Paperback', '2020-01-02', '2020-01-02 10:00', '01:30'],
    ['Quote "me", twice', null, 300, '20', '0', 'E-book', '2021-05-06', '2021-05-06 08:15', '02:00'],
    ['Été', 'Ann', 50, '1.25', '1', 'Paperback', '', '', ''],
    ['-minus', 'Bob', 250, '12', '1', 'Hardcover', '2022-12-31', '2022-12-31 23:59', '10:00'],
];
// [what, query, titles listed (in order), note]
$cases = [
    ['no filter', [], ['-minus', 'Été', 'Quote "me", twice', '=SUM(A1)'], null],
    ['lookup', ['f' => ['author_id' => 'ANN']], ['Été', '=SUM(A1)'], null],
    ['boolean no', ['f' => ['in_stock' => '0']], ['Quote "me", twice'], null],
    ['select', ['f' => ['format' => 'Paperback'], 'sort' => 'title', 'dir' => 'asc'], ['=SUM(A1)', 'Été'], null],
    ['integer range', ['f' => ['pages' => ['from' => '100', 'to' => '250']]], ['-minus', '=SUM(A1)'], null],
    ['decimal from', ['f' => ['price' => ['from' => '10']]], ['-minus', 'Quote "me", twice'], null],
    ['date to', ['f' => ['published_on' => ['to' => '2021-05-06']]], ['Quote "me", twice', '=SUM(A1)'], null],
    ['datetime range', ['f' => ['released_at' => ['from' => '2020-01-02T10:00', 'to' => '2022-01-01T00:00']]], ['Quote "me", twice', '=SUM(A1)'], null],
    ['time from', ['f' => ['reading_time' => ['from' => '02:00']]], ['-minus', 'Quote "me", twice'], null],
    ['with the search', ['q' => 'e', 'f' => ['in_stock' => '1']], ['-minus', 'Été', '=SUM(A1)'], null],
    ['invalid number ignored', ['f' => ['pages' => ['from' => 'many']]], ['-minus', 'Été', 'Quote "me", twice', '=SUM(A1)'],
        'The filter Pages was ignored: &quot;many&quot; is not a valid value for it.'],
    ['invalid date and option ignored', ['f' => ['published_on' => ['from' => '2021-02-30'], 'format' => 'Scroll']],
        ['-minus', 'Été', 'Quote "me", twice', '=SUM(A1)'], 'The filter Format was ignored: &quot;Scroll&quot; is not a valid value for it.'],
    ['a filter of another shape ignored', ['f' => ['pages' => 'x', 'in_stock' => ['1']]], ['-minus', 'Été', 'Quote "me", twice', '=SUM(A1)'],
        'The filter In stock was ignored: &quot;1&quot; is not a valid value for it.'],
];

foreach (crud_engines() as $engine) {
    $site = crud_site($engine, $projectFile);
    $at = "[$engine] ";
    $authors = ['ANN' => $site->add('authors', ['full_name' => 'Ann', 'secret' => 'pw']), 'Bob' => $site->add('authors', ['full_name' => 'Bob', 'secret' => 'pw'])];
    foreach ($books as [$title, $author, $pages, $price, $inStock, $format, $published, $released, $time]) {
        $site->add('books', ['title' => $title, 'author_id' => $author === null ? '' : (string) $authors[strtoupper($author) === 'ANN' ? 'ANN' : 'Bob'],
            'pages' => (string) $pages, 'price' => $price, 'in_stock' => $inStock, 'format' => $format, 'published_on' => $published,
            'released_at' => $released, 'reading_time' => $time]);
    }
    $title = static fn (array $row): string => $row[0];
    foreach ($cases as [$what, $query, $titles, $note]) {
        if (isset($query['f']['author_id'])) {
            $query['f']['author_id'] = (string) $authors[$query['f']['author_id']];
        }
        $list = $site->http->get('/books?' . http_build_query($query));
        T::same(200, $list->status, $at . "$what: the list");
        if ($note !== null) {
            T::contains($note, $list->body, $at . "$what: the note");
        }
        // Every row, not only the page: the export; the first page is its first two rows.
        $export = $site->http->get('/books/export?' . http_build_query($query));
        T::same("\xEF\xBB\xBF", substr($export->body, 0, 3), $at . "$what: a byte-order mark");
        $lines = array_map('str_getcsv', explode("\r\n", rtrim(substr($export->body, 3), "\r\n")));
        $exported = array_map($title, array_slice($lines, 1));
        T::same(array_map(static fn (string $t): string => str_contains('=-', $t[0]) ? "'" . $t : $t, $titles), $exported, $at . "$what: the rows exported");
        preg_match_all('~<tr>\s*<td>\d+</td>\s*<td>([^<]*)</td>~', $list->body, $shown);
        T::same(array_slice($titles, 0, 2), array_map(static fn (string $t): string => html_entity_decode($t, ENT_QUOTES), $shown[1]), $at . "$what: the page shown");
        if (count($titles) > 2 && $note === null && isset($query['f'])) {
            preg_match('~href="([^"]*page=2[^"]*)"~', $list->body, $next);
            T::contains('f%5Bin_stock%5D=1', html_entity_decode($next[1] ?? ''), $at . "$what: the pager keeps the filters");
        }
    }

    // The export's form: header labels, no password, lookups shown, Yes/No, quoting, CR LF.
    $export = $site->http->get('/books/export?sort=title&dir=asc');
    T::contains('attachment; filename="books-' . date('Ymd'), (string) $export->header('Content-Disposition'), $at . 'a dated file name');
    $lines = explode("\r\n", substr($export->body, 3));
    T::same('Title,ISBN,Author,Pages,Price,In stock,Featured,Format,Published on,Released at,Reading time', $lines[0], $at . 'labels, no password field');
    T::contains('"Quote ""me"", twice",,,300,', $export->body, $at . 'RFC 4180 quoting, an empty lookup');
    T::contains("'=SUM(A1),,Ann,100,", $export->body, $at . 'a formula cell prefixed, the lookup shown');
    T::contains(',Yes,No,Paperback,', $export->body, $at . 'booleans as Yes and No');
    T::same(404, $site->http->get('/authors/export')->status, $at . 'a table without export has none');
    $site->stop();
}

T::finish();
