<?php
// Hostile input against a generated CRUD application on SQLite and MariaDB: markup in stored values
// and in the schema is shown as text; injection attempts and out-of-range numbers never give a 500.
declare(strict_types=1);

require_once __DIR__ . '/support/crud_site.php';

$payload = '<script>alert("x")</script>';
$escaped = '&lt;script&gt;alert(&quot;x&quot;)&lt;/script&gt;';

foreach (crud_engines() as $engine) {
    $site = crud_site($engine, __DIR__ . '/projects/crud_catalogue.json');
    $at = "[$engine] ";

    $bookId = $site->add('books', ['title' => $payload, 'format' => 'Paperback']);
    $noteForm = ['title' => $payload, 'body' => $payload, 'link' => 'https://example.com/?q=' . $payload,
        'mail' => 'a@example.com', 'tel' => $payload, 'kind' => '<b>bold</b>', 'book_id' => (string) $bookId];
    $noteId = $site->add('notes', $noteForm);
    $pdo = $site->db();
    // Values that did not come through the form (older rows, imports) are escaped just the same.
    $pdo->prepare('UPDATE `notes` SET `mail` = ?, `link` = ? WHERE `id` = ?')->execute(['"><script>m()</script>', 'javascript:alert(1)', $noteId]);

    $pages = [
        'list' => $site->http->get('/notes')->body,
        'edit form' => $site->http->get("/notes/edit?id=$noteId")->body,
        'add form' => $site->http->get('/notes/create')->body,
        'dashboard' => $site->http->get('/')->body,
        'book list' => $site->http->get('/books')->body,
    ];
    foreach ($pages as $name => $body) {
        T::true(!str_contains($body, '<script>') && !str_contains($body, '<b>bold') && !str_contains($body, '<i>x'), $at . "no markup from data or schema on the $name");
    }
    T::same(4, substr_count($pages['list'], "<td>$escaped</td>"), $at . 'string, text, phone and lookup values escaped on the list');
    T::contains('<td>&lt;b&gt;bold&lt;/b&gt;</td>', $pages['list'], $at . 'select value escaped on the list');
    T::contains('<td>javascript:alert(1)</td>', $pages['list'], $at . 'stored script URL is text on the list');
    T::contains('href="mailto:%22%3E%3Cscript%3Em%28%29%3C%2Fscript%3E"', $pages['list'], $at . 'stored email encoded in its link');
    T::contains("<td>$escaped</td>", $pages['book list'], $at . 'title escaped on the book list');
    T::contains('Notes &lt;script&gt;alert(&#039;table&#039;)&lt;/script&gt;', $pages['list'], $at . 'table name escaped on the list');
    T::contains('placeholder="Search notes &lt;script&gt;', $pages['list'], $at . 'table name escaped in the placeholder');
    T::contains('Notes &lt;script&gt;alert(&#039;table&#039;)&lt;/script&gt;', $pages['dashboard'], $at . 'table name escaped on the dashboard');
    T::contains('name="title" value="' . $escaped . '"', $pages['edit form'], $at . 'value escaped in its input');
    T::contains('name="body" rows="4">' . $escaped . '</textarea>', $pages['edit form'], $at . 'text escaped in its textarea');
    T::contains('<option value="&lt;b&gt;bold&lt;/b&gt;" selected>&lt;b&gt;bold&lt;/b&gt;</option>', $pages['edit form'], $at . 'select option escaped and selected');
    T::contains('>' . $escaped . '</option>', $pages['edit form'], $at . 'lookup choice escaped');
    T::contains('Title &lt;i&gt;x&lt;/i&gt;', $pages['add form'], $at . 'label escaped');
    T::contains('<div class="form-text">&lt;script&gt;alert(&#039;help&#039;)&lt;/script&gt;</div>', $pages['add form'], $at . 'help escaped');

    // Injection attempts and out-of-range values in form fields: refused or stored as text, never a 500.
    $before = [$site->count('books'), $site->count('notes'), $site->count('authors')];
    $attempts = [
        ['/books/store', ['title' => "x', 1); DELETE FROM books; --", 'format' => 'Paperback']],
        ['/books/store', ['title' => 'x', 'format' => "Paperback' OR '1'='1"]],
        ['/books/store', ['title' => 'x', 'format' => 'Paperback', 'author_id' => '1 OR 1=1']],
        ['/books/store', ['title' => 'x', 'format' => 'Paperback', 'isbn' => "' OR ''='"]],
        ['/books/store', ['title' => 'x', 'format' => 'Paperback', 'pages' => '3000000000']],
        ['/books/store', ['title' => 'x', 'format' => 'Paperback', 'pages' => '99999999999999999999']],
        ['/books/store', ['title' => 'x', 'format' => 'Paperback', 'price' => '1e20']],
        ['/books/store', ['title' => 'x', 'format' => 'Paperback', 'price' => '-99999999999999.5']],
        ['/books/store', ['title' => 'x', 'format' => 'Paperback', 'price' => '9999999999999.995']],
        ['/books/store', ['title' => 'x', 'format' => 'Paperback', 'price' => '-9999999999999.999']],
        ['/books/store', ['title' => ['x'], 'format' => ['Paperback'], 'in_stock' => ['1']]],
        ['/books/store', ['title' => 'x', 'format' => 'Paperback', 'published_on' => "2024-01-01' OR 1=1 --"]],
        ['/notes/store', ['title' => '`; DROP TABLE `notes`; --', 'book_id' => "$bookId; DROP TABLE books"]],
        ['/authors/store', ['full_name' => "O'Brien", 'secret' => "'; DROP TABLE authors; --"]],
    ];
    foreach ($attempts as [$action, $form]) {
        $response = $site->submit($action, $form);
        T::true(in_array($response->status, [200, 302], true), $at . "POST $action " . json_encode($form) . " answers {$response->status}");
    }
    $after = [$site->count('books'), $site->count('notes'), $site->count('authors')];
    T::true($after[0] >= $before[0] && $after[1] >= $before[1] && $after[2] === $before[2] + 1, $at . 'every table still there with its rows');
    T::same(1, count($site->rows('SELECT 1 FROM `books` WHERE `id` = ?', [$bookId])), $at . 'existing book untouched');
    T::same(["x', 1); DELETE FROM books; --"], array_column($site->rows("SELECT `title` FROM `books` WHERE `title` LIKE 'x''%'"), 'title'),
        $at . 'the quoted title is stored as typed');
    T::same([200, 200], [$site->http->get('/books')->status, $site->http->get('/notes')->status], $at . 'lists still answer');

    $site->stop();
}

T::finish();
