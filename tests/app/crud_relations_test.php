<?php
// Records and their relations, on SQLite and MariaDB: the detail page (every field, escaping, links,
// 404), child lists (newest first, paged on their own, an add form that returns to the parent) and
// the delete rules (restrict, setNull, a two-level cascade, a refusal that deletes nothing), also on
// tables created before their rule was chosen, and with sign-in a cascade the account may not make.
declare(strict_types=1);

require_once __DIR__ . '/support/accounts.php';

$projectFile = __DIR__ . '/projects/crud_relations.json';

// The ids of a page's table rows (their first cell links to the detail page, or holds the id).
function row_ids(string $html, string $table): array
{
    preg_match_all('~<td><a href="[^"]*/' . $table . '/show\?id=(\d+)">\d+</a></td>~', $html, $m);
    return array_map('intval', $m[1]);
}

function delete_question(string $html): string
{
    preg_match('~action="[^"]*/delete" data-confirm="([^"]*)"~', $html, $m);
    return html_entity_decode($m[1] ?? '', ENT_QUOTES);
}

foreach (crud_engines() as $engine) {
    $at = "[$engine] ";
    $site = crud_site($engine, $projectFile);
    $http = $site->http;
    $ann = $site->add('authors', ['full_name' => 'Ann <script>x</script>', 'bio' => "Line one\nLine <b>two</b>", 'website' => 'https://example.com/?a=1&b="2"',
        'email' => 'ann+books@example.com', 'secret' => 'a secret value']);
    $bob = $site->add('authors', ['full_name' => 'Bob', 'secret' => 'x']);
    $eve = $site->add('editors', ['name' => 'Eve']);
    $books = [];
    for ($i = 1; $i <= 12; $i++) {
        $books[$i] = $site->add('books', ['title' => "Book $i", 'author_id' => (string) $ann, 'editor_id' => $i <= 2 ? (string) $eve : '', 'in_print' => '1']);
    }

    T::contains('## Records and their relations', (string) file_get_contents($site->dir . '/README.md'), $at . 'the README section');

    // The detail page: every field but the password, escaped, with links, and the times.
    $page = $http->get("/authors/show?id=$ann");
    T::same(200, $page->status, $at . 'the detail page');
    foreach ([
        'the name escaped' => '<dd class="col-sm-9">Ann &lt;script&gt;x&lt;/script&gt;</dd>',
        'long text with its line breaks' => "Line one<br>\nLine &lt;b&gt;two&lt;/b&gt;",
        'a web address as a safe link' => '<a href="https://example.com/?a=1&amp;b=&quot;2&quot;" target="_blank" rel="noopener noreferrer">',
        'an email address as a link' => '<a href="mailto:ann%2Bbooks@example.com">ann+books@example.com</a>',
        'the creation time' => '<dt class="col-sm-3 text-secondary">Created</dt>',
        'an edit button that returns here' => 'href="/authors/edit?id=' . $ann . '&amp;back=%2Fauthors%2Fshow%3Fid%3D' . $ann . '">Edit</a>',
        'the child list with its count' => 'Books <small class="text-secondary fs-6">12</small>',
    ] as $what => $needle) {
        T::contains($needle, $page->body, $at . $what);
    }
    T::true(!str_contains($page->body, 'Secret') && !str_contains($page->body, '$2y$'), $at . 'no password on the detail page');
    T::same(delete_question($page->body), 'Deleting this author also deletes 12 books.', $at . 'the delete question names the cascade');

    // Child lists: ten per page, newest first, paged without losing the parent; no lookup column.
    T::same(array_reverse(array_slice($books, 2)), row_ids($page->body, 'books'), $at . 'the newest ten books');
    T::true(!str_contains($page->body, '<th scope="col">Author</th>'), $at . 'the child list leaves out the lookup to its parent');
    $second = $http->get("/authors/show?id=$ann&page_books_author_id=2");
    T::same([$books[2], $books[1]], row_ids($second->body, 'books'), $at . 'the second page of the child list');
    T::contains('Ann &lt;script&gt;', $second->body, $at . 'the second page keeps the parent');

    // A book's page links its author; an editor without a detail page is plain text.
    $bookPage = $http->get("/books/show?id={$books[1]}")->body;
    T::contains('<a href="/authors/show?id=' . $ann . '">Ann &lt;script&gt;x&lt;/script&gt;</a>', $bookPage, $at . 'a lookup links to its detail page');
    T::contains('<dd class="col-sm-9">Eve</dd>', $bookPage, $at . 'a lookup without a detail page');
    T::contains('<a href="/authors/show?id=' . $ann . '">' . $ann . '</a>', $http->get('/authors')->body, $at . 'list rows link to their page');

    // Editing from the detail page returns to it.
    $edited = $http->post('/authors/update', CrudSite::formValues($http->get("/authors/edit?id=$bob&back=/authors/show?id=$bob")->body));
    T::same([302, "/authors/show?id=$bob"], [$edited->status, $edited->header('location')], $at . 'saving an edit returns to the detail page');

    // Answers for what has no page.
    foreach ([['/authors/show?id=999', 404], ['/authors/show?id=x', 400], ['/editors/show?id=' . $eve, 404]] as [$path, $status]) {
        T::same($status, $http->get($path)->status, $at . "GET $path");
    }

    // "Add Books" opens the form with the author set, and saving returns to the author.
    preg_match('~href="([^"]*/books/create\?[^"]*)">Add Books</a>~', $page->body, $add);
    $form = $http->get(html_entity_decode($add[1] ?? ''))->body;
    T::contains('<option value="' . $ann . '" selected>', $form, $at . 'the add form has the parent chosen');
    $values = CrudSite::formValues($form);
    $saved = $http->post('/books/store', ['title' => 'Book 13', 'author_id' => $values['author_id'] ?? ''] + $values);
    T::same([302, "/authors/show?id=$ann"], [$saved->status, $saved->header('location')], $at . 'saving returns to the parent');
    T::contains('Book 13', $http->get("/authors/show?id=$ann")->body, $at . 'the new child is listed');

    // Delete rules: [what, table, id, question, refusal or null, [table => rows left]].
    $review = $site->add('reviews', ['book_id' => (string) $books[3], 'stars' => '5']);
    $site->add('reviews', ['book_id' => (string) $books[3], 'stars' => '4']);
    $award = $site->add('awards', ['name' => 'Prize', 'book_id' => (string) $books[4]]);
    $cases = [
        ['an award restricts its book', 'books', $books[4], 'Delete this record?', 'This book cannot be deleted: 1 award refers to it.',
            ['books' => 13, 'awards' => 1]],
        ['an award restricts a cascade', 'authors', $ann, 'Delete this record?',
            'This author cannot be deleted: 1 award refers to the books it would delete.', ['authors' => 2, 'books' => 13, 'reviews' => 2]],
        ['setNull clears', 'editors', $eve, 'Deleting this editor clears the Editor of 2 books.', null, ['editors' => 0, 'books' => 13]],
        ['a two-level cascade', 'authors', $ann, 'Deleting this author also deletes 13 books and 2 reviews.', null,
            ['authors' => 1, 'books' => 0, 'reviews' => 0, 'awards' => 0]],
    ];
    foreach ($cases as [$what, $table, $id, $question, $refusal, $left]) {
        if ($what === 'a two-level cascade') {
            $site->db()->exec("DELETE FROM awards WHERE id = $award");
        }
        $list = $http->get("/$table")->body;
        preg_match('~data-confirm="([^"]*)">\s*<input type="hidden" name="_csrf" value="[^"]*">\s*<input type="hidden" name="id" value="' . $id . '">~', $list, $m);
        T::same($question, html_entity_decode($m[1] ?? '', ENT_QUOTES), $at . "$what: the list's question");
        $answer = $site->submit("/$table/delete", ['id' => (string) $id], "/$table");
        T::same(302, $answer->status, $at . "$what: the answer");
        T::contains(htmlspecialchars($refusal ?? 'Record deleted.', ENT_QUOTES), $http->get("/$table")->body, $at . "$what: the message");
        foreach ($left as $counted => $rows) {
            T::same($rows, $site->count($counted), $at . "$what: $counted left");
        }
        if ($table === 'editors') {
            T::same(0, (int) $site->rows('SELECT COUNT(*) AS n FROM books WHERE editor_id IS NOT NULL')[0]['n'], $at . "$what: no book keeps an editor");
        }
    }
    T::same(404, $http->get("/books/show?id={$books[3]}")->status, $at . 'a deleted record has no page');
    T::same(0, $site->count('reviews'), $at . 'review ' . $review . ' went with its book');
    $site->stop();

    // Tables created before the rules: the keys have none, the application applies them itself.
    $plain = json_decode((string) file_get_contents($projectFile), true);
    foreach ($plain['database']['entities'] as &$table) {
        foreach ($table['fields'] as &$field) {
            unset($field['onDelete']);
        }
    }
    unset($table, $field);
    $plainFile = temp_dir('qb-relations-') . '/plain.json';
    file_put_contents($plainFile, json_encode($plain));
    $old = crud_site($engine, $plainFile);
    $author = $old->add('authors', ['full_name' => 'Old', 'secret' => 'x']);
    $book = $old->add('books', ['title' => 'Old book', 'author_id' => (string) $author]);
    $old->add('reviews', ['book_id' => (string) $book, 'stars' => '3']);
    $old->stop();
    $site = serve_crud($engine, generate_crud($engine, $projectFile), $old->env);
    T::same(302, $site->submit('/authors/delete', ['id' => (string) $author], '/authors')->status, $at . 'old tables: the delete');
    T::same([0, 0, 0], [$site->count('authors'), $site->count('books'), $site->count('reviews')], $at . 'old tables: the cascade applied');
    $site->stop();
}

// With sign-in: a cascade reaching rows the account may not delete changes nothing, and the detail
// page and its child lists show only the rows the account may see.
$signed = json_decode((string) file_get_contents($projectFile), true);
$signed['security'] = ['signIn' => true, 'roles' => ['clerk']];
foreach ($signed['database']['entities'] as &$table) {
    $table['access'] = ['view' => ['clerk'], 'add' => ['clerk'], 'edit' => ['clerk'], 'delete' => $table['id'] === 'books' ? [] : ['clerk'],
        'ownRecordsOnly' => $table['id'] === 'books' ? ['clerk'] : []];
}
unset($table);
$signedFile = temp_dir('qb-relations-') . '/signed.json';
file_put_contents($signedFile, json_encode($signed));
foreach (crud_engines() as $engine) {
    $at = "[$engine, sign-in] ";
    $site = serve_crud($engine, generate_crud($engine, $signedFile), ['APP_TRUSTED_PROXY' => '']);
    foreach (['cy', 'di'] as $name) {
        add_account($site, "$name@example.com", 'clerk', 'correct horse battery');
        $clients[$name] = signed_in($site, "$name@example.com", 'correct horse battery');
    }
    $token = static fn (string $name, string $path): string => $site->token($path, $clients[$name]);
    $clients['cy']->post('/authors/store', ['_csrf' => $token('cy', '/authors/create'), 'full_name' => 'Shared', 'secret' => 'x']);
    $author = (int) $site->rows('SELECT MAX(id) AS id FROM authors')[0]['id'];
    foreach (['cy' => 'Cy book', 'di' => 'Di book'] as $name => $title) {
        $clients[$name]->post('/books/store', ['_csrf' => $token($name, '/books/create'), 'title' => $title, 'author_id' => (string) $author]);
    }
    $page = $clients['cy']->get("/authors/show?id=$author")->body;
    T::true(str_contains($page, 'Cy book') && !str_contains($page, 'Di book'), $at . "the child list shows the account's own rows");
    $diBook = (int) $site->rows("SELECT id FROM books WHERE title = 'Di book'")[0]['id'];
    T::same(404, $clients['cy']->get("/books/show?id=$diBook")->status, $at . "another account's row has no page");
    $clients['cy']->post('/authors/delete', ['_csrf' => $token('cy', '/authors'), 'id' => (string) $author]);
    T::contains('This author cannot be deleted: it would also delete 2 books, which you may not delete.', $clients['cy']->get('/authors')->body,
        $at . 'the cascade is refused');
    T::same([1, 2], [$site->count('authors'), $site->count('books')], $at . 'nothing was deleted');
    $site->stop();
}

T::finish();
