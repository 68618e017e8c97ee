<?php
// The CSV import, on SQLite and MariaDB: files refused before anything is kept (encoding, columns,
// size, no token), the preview, a happy path, failures that store nothing (also duplicates inside
// the file and ambiguous lookups), the problems as CSV, the round trip of an export, an import
// stopped half-way, and the rights of accounts.
declare(strict_types=1);

require_once __DIR__ . '/support/crud_site.php';

$project = json_decode((string) file_get_contents(__DIR__ . '/projects/crud_catalogue.json'), true);
foreach ($project['database']['entities'] as &$table) {
    $table['import'] = in_array($table['id'], ['books', 'notes'], true);
    $table['export'] = $table['id'] === 'books';
    foreach ($table['fields'] as &$field) {
        if ($field['name'] === 'author_id') {
            $field['lookup']['field'] = 'full_name';
        }
    }
}
unset($table, $field);
$projectFile = temp_dir('qb-import-') . '/project.json';
file_put_contents($projectFile, json_encode($project));

// Uploads $csv for $table and returns the answer (the preview, or the upload page with a refusal).
function upload_csv(CrudSite $site, string $table, string $csv, bool $withToken = true): Response
{
    $form = $withToken ? ['_csrf' => $site->token("/$table/import")] : [];
    return $site->http->upload("/$table/import", $form, ['file' => ['data.csv', $csv]]);
}

// Uploads $csv and presses "Import N rows"; returns [the preview, the answer to the import].
function import_csv(CrudSite $site, string $table, string $csv): array
{
    $preview = upload_csv($site, $table, $csv);
    if (preg_match('~name="upload" value="([0-9a-f]{32})"~', $preview->body, $m) !== 1) {
        throw new RuntimeException("no import button ({$preview->status}): " . strip_tags($preview->body));
    }
    return [$preview, $site->http->post("/$table/import/run", ['_csrf' => $site->token("/$table/import"), 'upload' => $m[1]])];
}

$header = "Title,ISBN,Author,Pages,Price,In stock,Format,Published on\r\n";
// [what, file, message]: refused at the upload, nothing kept.
$refusals = [
    ['UTF-16', "\xFF\xFET\0i\0t\0l\0e\0", 'The file is UTF-16 text.'],
    ['Latin-1 on line 3', $header . "A,1,,,,,,\r\n\xC9t\xE9,2,,,,,,\r\n", 'Line 3 is not valid UTF-8'],
    ['a NUL byte', $header . "A\0,1,,,,,,\r\n", 'Line 2 holds a NUL byte'],
    ['empty', '', 'Choose a CSV file to upload.'],
    ['only a line break', "\r\n", 'The file is empty: its first line must name the columns.'],
    ['no required column', "ISBN,Pages\r\n1,2\r\n", 'The file has no column for the required field Title.'],
    ['a field twice', "title,Title\r\nA,B\r\n", 'Two columns of the file are for Title. Keep one of them.'],
    ['too large', $header . str_repeat("A,,,,,,,\r\n", 120000), 'The file is larger than 1 MB, the largest this server takes.'],
];
// [what, file, [line, column, problem] expected (in order)]: imports that store nothing.
$failing = [
    ['wrong values', $header
        . "Fine,1,,,,,,\r\nBad pages,2,,many,,,,\r\nBad format,3,,,,,Scroll,\r\nNo title,4,,,,,,\r\n,5,,,,,,\r\nBad flag,6,,,,maybe,,\r\nBad date,7,,,,,,2021-02-30\r\n",
        [[3, 'Pages', 'Pages must be a whole number.'], [4, 'Format', 'Choose a valid Format.'], [6, 'Title', 'Title is required.'],
         [7, 'In stock', 'In stock must be Yes or No.'], [8, 'Published on', 'Published on must be a valid date.']]],
    ['duplicates', $header . "One,111,,,,,,\r\nTwo,111,,,,,,\r\nThree,999,,,,,,\r\n",
        [[3, 'ISBN', 'The same ISBN is on line 2 of the file.'], [4, 'ISBN', 'This ISBN already exists.']]],
    ['unknown lookup and extra cells', $header . "A,,Nobody,,,,,\r\nB,,,,,,,,surplus\r\n",
        [[2, 'Author', 'No Author shows "Nobody".'], [3, '', 'The line has more cells than the header names.']]],
];

foreach (crud_engines() as $engine) {
    $site = crud_site($engine, $projectFile, ['IMPORT_MAX_MB' => '1']);
    $at = "[$engine] ";
    $ann = $site->add('authors', ['full_name' => 'Ann', 'secret' => 'pw']);
    $site->add('books', ['title' => 'Kept', 'isbn' => '999', 'in_stock' => '1']);

    // The README and .env document the import.
    T::contains('## Data in and out', (string) file_get_contents($site->dir . '/README.md'), $at . 'the README section');
    T::contains("IMPORT_MAX_MB=20", (string) file_get_contents($site->dir . '/.env.example'), $at . 'the limit in .env');

    // The list offers the import, the upload page names the limit.
    T::contains('>Import CSV</a>', $site->http->get('/books')->body, $at . 'the list links the import');
    T::contains('Files up to 1 MB.', $site->http->get('/books/import')->body, $at . 'the limit shown');
    T::same(404, $site->http->get('/authors/import')->status, $at . 'a table without import has none');

    foreach ($refusals as [$what, $csv, $message]) {
        $answer = $csv === '' ? $site->http->upload('/books/import', ['_csrf' => $site->token('/books/import')], [])
            : upload_csv($site, 'books', $csv);
        T::same(422, $answer->status, $at . "$what: refused");
        T::contains(htmlspecialchars($message, ENT_QUOTES), $answer->body, $at . "$what: the message");
    }
    T::same(403, upload_csv($site, 'books', $header . "A,1,,,,,,\r\n", false)->status, $at . 'an upload without a token');
    T::same(1, $site->count('books'), $at . 'the refusals stored nothing');

    // The happy path: semicolons, a byte-order mark, headers by name and label in any case, an
    // unknown column, lookups by shown value and by id, Yes/No, a decimal comma, a quoted line break.
    $csv = "\xEF\xBB\xBFTITLE;isbn;Author;pages;Price;In Stock;Remarks;Published on\r\n"
        . "\"Two\nlines; quoted\";100;Ann;12;9,50;yes;ignored;2024-02-29\r\n"
        . "'=Formula;101;$ann;;;No;;\r\n\r\n"
        . "Plain;;;;;;;\r\n";
    [$preview, $done] = import_csv($site, 'books', $csv);
    T::contains('data.csv: 3 rows.', $preview->body, $at . 'the preview counts the rows');
    T::contains('Columns that name no field are ignored: Remarks.', $preview->body, $at . 'the unknown column listed');
    T::contains('>Import 3 rows</button>', $preview->body, $at . 'the import button');
    preg_match_all('~<tr[^>]*>\s*<td>(\d+)</td>~', $preview->body, $lines);
    T::same(['2', '4', '6'], $lines[1], $at . 'the preview numbers the lines of the file');
    T::same(302, $done->status, $at . 'the import');
    T::contains('Books: 3 rows imported.', $site->http->get('/books')->body, $at . 'the message');
    $rows = $site->rows('SELECT title, isbn, author_id, pages, price, in_stock FROM books WHERE id > 1 ORDER BY id');
    T::same([["Two\nlines; quoted", '100', (string) $ann, '12', '9.5', '1'], ['=Formula', '101', (string) $ann, null, null, '0'],
        ['Plain', null, null, null, null, '0']],
        array_map(static fn (array $row): array => array_map(static fn ($v) => is_numeric($v) ? (string) round((float) $v, 2) : $v, array_values($row)), $rows),
        $at . 'the rows stored');

    // Failures: nothing stored, every problem listed with its line, the same on a second try.
    foreach ($failing as [$what, $csv, $problems]) {
        $before = $site->count('books');
        [$preview, $result] = import_csv($site, 'books', $csv);
        T::same(200, $result->status, $at . "$what: the answer");
        T::contains('Nothing was imported', $result->body, $at . "$what: nothing imported");
        T::same($before, $site->count('books'), $at . "$what: nothing stored");
        preg_match_all('~<tr><td>(\d+)</td><td>([^<]*)</td><td>([^<]*)</td></tr>~', $result->body, $listed, PREG_SET_ORDER);
        T::same($problems, array_map(static fn (array $m): array => [(int) $m[1], $m[2], html_entity_decode($m[3], ENT_QUOTES)], $listed),
            $at . "$what: the problems listed");
        preg_match('~href="([^"]*/import/failures[^"]*)"~', $result->body, $link);
        $download = $site->http->get(html_entity_decode($link[1] ?? ''));
        $lines = array_map('str_getcsv', explode("\r\n", rtrim(substr($download->body, 3), "\r\n")));
        T::same([['Line', 'Column', 'Problem'], ...array_map(static fn (array $p): array => array_map('strval', $p), $problems)], $lines,
            $at . "$what: the problems as CSV");
        [, $again] = import_csv($site, 'books', $csv);
        T::same(count($listed), preg_match_all('~<tr><td>\d+</td>~', $again->body), $at . "$what: a second try");
        T::same($before, $site->count('books'), $at . "$what: still nothing stored");
    }

    // A lookup whose shown value two rows share is refused; by id it is taken.
    $site->add('books', ['title' => 'Twin', 'in_stock' => '1']);
    $twin = $site->add('books', ['title' => 'Twin', 'in_stock' => '1']);
    [, $result] = import_csv($site, 'notes', "Title <i>x</i>,Book\r\nA,Twin\r\n");
    T::contains('More than one Book shows &quot;Twin&quot;; use its id instead.', $result->body, $at . 'an ambiguous lookup');
    [, $result] = import_csv($site, 'notes', "Title <i>x</i>,Book\r\nA,$twin\r\n");
    T::same(302, $result->status, $at . 'the same lookup by id');
    T::same([['A', (string) $twin]], array_map(static fn (array $r): array => array_map('strval', array_values($r)),
        $site->rows('SELECT title, book_id FROM notes')), $at . 'the note stored');
    T::same(403, $site->http->post('/notes/import/run', ['upload' => str_repeat('a', 32)])->status, $at . 'an import without a token');

    // The round trip: the books' export imports into an empty table with identical values.
    $site->add('books', ['title' => "-5 \"quoted\", 'apostrophe'", 'isbn' => '7', 'author_id' => (string) $ann, 'pages' => '-3', 'price' => '-1.25',
        'in_stock' => '1', 'featured' => '1', 'format' => 'E-book', 'published_on' => '2020-02-29', 'released_at' => '2020-02-29T23:59:58',
        'reading_time' => '00:00:01']);
    $site->add('books', ['title' => "'=already", 'isbn' => 'é', 'in_stock' => '0']);
    $columns = 'title, isbn, author_id, pages, price, in_stock, featured, format, published_on, released_at, reading_time';
    $before = $site->rows("SELECT $columns FROM books ORDER BY id");
    $export = $site->http->get('/books/export?sort=id&dir=asc')->body;
    $site->db()->exec('DELETE FROM notes');
    $site->db()->exec('DELETE FROM books');
    [, $result] = import_csv($site, 'books', $export);
    T::same(302, $result->status, $at . 'the export imports: ' . strip_tags(substr($result->body, 0, 300)));
    T::same($before, $site->rows("SELECT $columns FROM books ORDER BY id"), $at . 'the round trip keeps every value');

    // An import stopped half-way (the server killed) leaves the table as it was.
    $before = $site->count('notes');
    $preview = upload_csv($site, 'notes', "Title <i>x</i>\r\n" . str_repeat("A note\r\n", 60000));
    preg_match('~name="upload" value="([0-9a-f]{32})"~', $preview->body, $upload);
    $running = $site->http->send('POST', '/notes/import/run', http_build_query(['_csrf' => $site->token('/notes/import'), 'upload' => $upload[1]]),
        'application/x-www-form-urlencoded');
    usleep(400000);
    $site->stop();
    T::same('', stream_get_contents($running), $at . 'the import was stopped before it answered');
    $site = new CrudSite($engine, $site->dir, new AppServer($site->dir . '/public', $site->env), $site->env);
    T::same($before, $site->count('notes'), $at . 'a stopped import stored nothing');
    $site->stop();
}

// With sign-in: the import needs the add right, imported rows belong to the importer, and an
// export holds only the rows its reader may see.
$library = json_decode((string) file_get_contents(example('lending-library.json')), true);
foreach ($library['database']['entities'] as &$table) {
    $table['import'] = $table['export'] = in_array($table['id'], ['books', 'reading_lists'], true);
}
unset($table);
$libraryFile = temp_dir('qb-import-') . '/library.json';
file_put_contents($libraryFile, json_encode($library));
require_once __DIR__ . '/support/accounts.php';
foreach (crud_engines() as $engine) {
    $at = "[$engine, sign-in] ";
    $site = serve_crud($engine, generate_crud($engine, $libraryFile), ['APP_TRUSTED_PROXY' => '']);
    $clients = [];
    foreach (['admin', 'ann', 'bob'] as $name) {
        add_account($site, "$name@library.example", $name === 'admin' ? 'admin' : 'member', 'correct horse battery');
        $clients[$name] = signed_in($site, "$name@library.example", 'correct horse battery');
    }
    $ann = $clients['ann'];
    $books = $ann->get('/books');
    T::true(str_contains($books->body, '>Export CSV</a>') && !str_contains($books->body, '>Import CSV</a>'), $at . 'a reader is offered the export only');
    T::same([403, 403], [$ann->get('/books/import')->status, $ann->post('/books/import/run', ['upload' => str_repeat('a', 32)])->status],
        $at . 'the import needs the add right');
    foreach (['ann' => "Title\r\nAnn's first\r\nAnn's second\r\n", 'bob' => "Title\r\nBob's\r\n"] as $name => $csv) {
        $client = $clients[$name];
        $preview = $client->upload('/reading_lists/import', ['_csrf' => $site->token('/reading_lists/import', $client)], ['file' => ['lists.csv', $csv]]);
        preg_match('~name="upload" value="([0-9a-f]{32})"~', $preview->body, $upload);
        T::same(404, $clients[$name === 'ann' ? 'bob' : 'ann']->post('/reading_lists/import/run',
            ['_csrf' => $site->token('/reading_lists/import', $clients[$name === 'ann' ? 'bob' : 'ann']), 'upload' => $upload[1]])->status,
            $at . "another account cannot import $name's upload");
        T::same(302, $client->post('/reading_lists/import/run', ['_csrf' => $site->token('/reading_lists/import', $client), 'upload' => $upload[1]])->status,
            $at . "$name imports");
    }
    $owners = $site->rows('SELECT r.title, u.email FROM reading_lists r JOIN _app_users u ON u.id = r.created_by ORDER BY r.id');
    T::same([["Ann's first", 'ann@library.example'], ["Ann's second", 'ann@library.example'], ["Bob's", 'bob@library.example']],
        array_map('array_values', $owners), $at . 'imported rows belong to the importer');
    $exported = static fn (HttpClient $client): array => array_column(array_map('str_getcsv',
        array_slice(explode("\r\n", rtrim(substr($client->get('/reading_lists/export?sort=id&dir=asc')->body, 3), "\r\n")), 1)), 0);
    T::same(["Bob's"], $exported($clients['bob']), $at . "an export holds the reader's own rows");
    T::same(["Ann's first", "Ann's second", "Bob's"], $exported($clients['admin']), $at . 'an admin exports every row');
    $site->stop();
}

T::finish();
