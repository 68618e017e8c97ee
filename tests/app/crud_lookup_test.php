<?php
// Lookups of a generated CRUD application on SQLite and MariaDB: a schema that names a password
// column as a lookup's display shows ids instead of hashes everywhere, the design rules refuse such a
// project, and a lookup over 100,000 target rows keeps its current value and is searched through
// the table's JSON lookup address.
declare(strict_types=1);

require_once __DIR__ . '/support/crud_site.php';

$catalogue = __DIR__ . '/projects/crud_catalogue.json';

// The design rules refuse a password shown through a lookup: by the lookup's field or the target's display field.
$project = json_decode((string) file_get_contents($catalogue), true, 512, JSON_THROW_ON_ERROR);
$refusals = [
    'lookup field' => [[3, 'book_id', 'field', 'secret'], 'Table "notes", field "book_id": lookup display field "secret" of "books" is a password field'],
    'target display field' => [[0, null, 'displayField', 'Secret'], 'Table "authors": display field "Secret" is a password field'],
];
$project['database']['entities'][1]['fields'][] = ['name' => 'secret', 'type' => 'password'];
foreach ($refusals as $case => [[$table, $field, $key, $value], $message]) {
    $changed = $project;
    if ($field === null) {
        $changed['database']['entities'][$table][$key] = $value;
    } else {
        foreach ($changed['database']['entities'][$table]['fields'] as &$candidate) {
            if ($candidate['name'] === $field) {
                $candidate['lookup'][$key] = $value;
            }
        }
        unset($candidate);
    }
    $file = temp_dir() . '/project.json';
    file_put_contents($file, json_encode($changed));
    [$code, $stdout, $stderr] = quillbarrow('crud', $file, temp_dir() . '/app');
    T::same(1, $code, "generation refused ($case)");
    T::contains($message, $stdout . $stderr, "message names the password field ($case)");
}

foreach (crud_engines() as $engine) {
    $site = crud_site($engine, $catalogue);
    $at = "[$engine] ";
    $pdo = $site->db();

    // A schema.json that still names the password column: ids stand in for it.
    $authorId = $site->add('authors', ['full_name' => 'Ada', 'secret' => 'hunter2']);
    $bookId = $site->add('books', ['title' => 'Kept', 'author_id' => (string) $authorId, 'format' => 'Paperback']);
    $schemaFile = $site->dir . '/app/Config/schema.json';
    $original = (string) file_get_contents($schemaFile);
    foreach (['secret', 'SECRET'] as $display) {
        $schema = json_decode($original, true);
        $schema['entities'][1]['fields'][2]['lookup']['field'] = $display;
        file_put_contents($schemaFile, json_encode($schema));
        $pages = [
            'list' => $site->http->get('/books')->body,
            'edit form' => $site->http->get("/books/edit?id=$bookId")->body,
            'add form' => $site->http->get('/books/create')->body,
            'lookup address' => $site->http->get('/books/lookup?field=author_id&q=')->body,
        ];
        $searched = $site->http->get('/books?q=' . rawurlencode('$2y$'))->body;
        foreach ($pages as $name => $body) {
            T::true(!str_contains($body, '$2y$') && !str_contains($body, '\$2y\$'), $at . "no hash on the $name (lookup field \"$display\")");
        }
        T::contains("<td>$authorId</td>", $pages['list'], $at . "list shows the author's id ($display)");
        T::contains("<option value=\"$authorId\" selected>$authorId</option>", $pages['edit form'], $at . "choice shows the id ($display)");
        T::same([], CrudSite::listIds($searched), $at . "the hash is not searched ($display)");
        T::same(['results' => [['id' => $authorId, 'label' => (string) $authorId]]], json_decode($pages['lookup address'], true),
            $at . "lookup address answers ids ($display)");
    }
    file_put_contents($schemaFile, $original);

    // 100,000 authors named n000001 ... n100000, and one book pointing at the last of them.
    $insert = $pdo->prepare('INSERT INTO `authors` (`full_name`, `secret`) VALUES ' . implode(', ', array_fill(0, 1000, '(?, ?)')));
    $pdo->beginTransaction();
    for ($batch = 0; $batch < 100; $batch++) {
        $values = [];
        for ($i = 1; $i <= 1000; $i++) {
            array_push($values, sprintf('n%06d', $batch * 1000 + $i), 'x');
        }
        $insert->execute($values);
    }
    $pdo->commit();
    $lastId = (int) $pdo->query("SELECT `id` FROM `authors` WHERE `full_name` = 'n100000'")->fetchColumn();
    $pdo->prepare('UPDATE `books` SET `author_id` = ? WHERE `id` = ?')->execute([$lastId, $bookId]);

    $edit = $site->http->get("/books/edit?id=$bookId");
    T::same(200, $edit->status, $at . 'edit form with 100,000 choices answers');
    preg_match('~<select[^>]*name="author_id".*?</select>~s', $edit->body, $select);
    $select = $select[0] ?? '';
    T::same(1002, substr_count($select, '<option '), $at . 'the form lists "-- choose --", the current value and 1,000 rows');
    T::same(1, substr_count($select, ' selected'), $at . 'exactly one author selected');
    T::contains("<option value=\"$lastId\" selected>n100000</option>", $select, $at . 'the current author is the selected choice');
    T::contains('type="search" id="f_author_id_search" data-lookup-url="/books/lookup?field=author_id" data-lookup-select="f_author_id"',
        $edit->body, $at . 'a search box for the large lookup');
    T::contains('<script src="/assets/js/crud.js" defer></script>', $edit->body, $at . 'the search script');
    $create = $site->http->get('/books/create')->body;
    T::contains('data-lookup-url="/books/lookup?field=author_id"', $create, $at . 'the add form has the search too');
    T::true(!str_contains($create, 'data-lookup-url="/books/lookup?field=book_id'), $at . 'no search box on a lookup whose choices all fit');

    // The lookup address: query => [status, labels of the answer in its order, or the error answer].
    $long = str_repeat('n', 50000);
    $firstByName = ['Ada', ...array_map(static fn (int $i): string => sprintf('n%06d', $i), range(1, 49))];
    $cases = [
        '?field=author_id&q=n100000' => [200, ['n100000']],
        "?field=author_id&q=$lastId" => [200, ['n100000']],
        '?field=author_id&q=n09999' => [200, array_map(static fn (int $i): string => sprintf('n%06d', $i), range(99990, 99999))],
        '?field=author_id&q=zzz' => [200, []],
        '?field=author_id&q=' . $long => [200, []],
        '?field=author_id&q=%FF' => [200, $firstByName],
        '?field=author_id&q=%25' => [200, $firstByName],
        '?field=author_id&q[]=x' => [200, $firstByName],
        '?field=title&q=x' => [404, ['error' => 'Unknown lookup field']],
        '?q=x' => [404, ['error' => 'Unknown lookup field']],
    ];
    foreach ($cases as $query => [$status, $expected]) {
        $response = $site->http->get('/books/lookup' . $query);
        $label = $at . 'GET /books/lookup' . substr($query, 0, 60);
        T::same([$status, 'application/json; charset=utf-8'], [$response->status, $response->header('Content-Type')], $label . ' status and type');
        $answer = json_decode($response->body, true);
        T::same($expected, $status === 200 ? array_column($answer['results'] ?? [], 'label') : $answer, $label . ' answer');
    }
    $found = json_decode($site->http->get('/books/lookup?field=author_id&q=n100000')->body, true);
    T::same([['id' => $lastId, 'label' => 'n100000']], $found['results'] ?? null, $at . 'a match carries id and label');
    T::same(100001, $site->count('authors'), $at . 'lookups change no rows');

    $site->stop();
}

T::finish();
