<?php
// Values a column cannot hold, on SQLite and on MariaDB in strict and in non-strict mode: invalid
// UTF-8 in any field, text beyond a TEXT column's 65,535 bytes (the same limit on SQLite), and a string longer than its column
// (the schema's length was raised after the column was created). Each is refused with the field's
// message and stores nothing; what is accepted is stored whole, never cut.
declare(strict_types=1);

require_once __DIR__ . '/support/crud_site.php';

$bad = "\xC3\x28";
// Field => value, on the notes table unless "table.field" says otherwise.
$invalidUtf8 = [
    'title' => "ab{$bad}c", 'body' => "ok\xFF", 'link' => "https://example.com/\xFF", 'mail' => "a\xFF@example.com",
    'tel' => "12\xE2\x82", 'kind' => "plain\xFF", 'book_id' => "1\xFF", 'authors.secret' => "pw\xFF",
    'books.pages' => "1\xFF", 'books.released_at' => "2024-05-01T14:30\xFF", 'books.format' => "\xF0\x9F\x98",
];
$labels = ['title' => 'Title <i>x</i>', 'body' => 'Body', 'link' => 'Link', 'mail' => 'Mail', 'tel' => 'Tel', 'kind' => 'Kind',
    'book_id' => 'Book', 'authors.secret' => 'Secret', 'books.pages' => 'Pages', 'books.released_at' => 'Released at', 'books.format' => 'Format'];
$textMessage = 'Body is too long: at most 65535 bytes can be stored (a character takes 1 to 4 bytes).';

// [case, field, value, message on SQLite, message on MariaDB]; null means stored as sent.
$cases = [
    ['text of 65,535 bytes', 'body', str_repeat('a', 65535), null, null],
    ['text of 65,536 bytes', 'body', str_repeat('a', 65536), $textMessage, $textMessage],
    ['text of 30,000 three-byte characters', 'body', str_repeat('€', 30000), $textMessage, $textMessage],
    ['text of 21,845 three-byte characters', 'body', str_repeat('€', 21845), null, null],
    ['string of 255 characters', 'title', str_repeat('é', 255), null, null],
    ['string longer than its column', 'title', str_repeat('é', 256), null, 'Title &lt;i&gt;x&lt;/i&gt; must be at most 255 characters.'],
    ['four-byte characters', 'title', str_repeat('😀', 40), null, null],
];
foreach ($invalidUtf8 as $field => $value) {
    $message = htmlspecialchars($labels[$field], ENT_QUOTES, 'UTF-8') . ' must be valid UTF-8 text.';
    $cases[] = ["invalid UTF-8 in $field", $field, $value, $message, $message];
}

foreach (crud_engines() as $engine) {
    $site = crud_site($engine, __DIR__ . '/projects/crud_catalogue.json');
    $bookId = $site->add('books', ['title' => 'Base', 'format' => 'Paperback']);
    $required = ['authors' => ['full_name' => 'New', 'secret' => 's'], 'books' => ['title' => 'New', 'format' => 'Paperback'],
        'notes' => ['book_id' => (string) $bookId]];
    // The designer raised the title's length; the existing VARCHAR(255) column stays as it is.
    $schemaFile = $site->dir . '/app/Config/schema.json';
    $schema = json_decode((string) file_get_contents($schemaFile), true);
    $schema['entities'][3]['fields'][0]['length'] = 1000;
    file_put_contents($schemaFile, json_encode($schema));

    foreach ($engine === 'mariadb' ? ['STRICT_TRANS_TABLES', ''] : [null] as $mode) {
        $at = "[$engine" . ($mode === null ? '' : ', sql_mode "' . $mode . '"') . '] ';
        if ($mode !== null) {
            $site->db()->exec("SET GLOBAL sql_mode = '$mode'");
        }
        foreach ($cases as [$case, $field, $value, $sqliteMessage, $mariadbMessage]) {
            [$table, $column] = str_contains($field, '.') ? explode('.', $field) : ['notes', $field];
            $message = $engine === 'sqlite' ? $sqliteMessage : $mariadbMessage;
            $before = $site->count($table);
            $response = $site->submit("/$table/store", [$column => $value] + $required[$table]);
            if ($message === null) {
                T::same(302, $response->status, $at . "$case: accepted");
                $stored = $site->rows("SELECT `$column` FROM `$table` ORDER BY `id` DESC LIMIT 1")[0][$column] ?? null;
                T::true($stored === $value, $at . "$case: stored whole (" . strlen((string) $stored) . ' of ' . strlen($value) . ' bytes)');
                continue;
            }
            T::same(200, $response->status, $at . "$case: refused with the form");
            T::contains('<div class="invalid-feedback d-block">' . $message . '</div>', $response->body, $at . "$case: message");
            T::same($before, $site->count($table), $at . "$case: nothing stored");
        }
        // Editing runs the same checks.
        $response = $site->submit('/books/update', ['id' => (string) $bookId, 'title' => "Base$bad", 'format' => 'Paperback'], "/books/edit?id=$bookId");
        T::contains('Title must be valid UTF-8 text.', $response->body, $at . 'invalid UTF-8 refused on edit');
        T::same('Base', $site->rows('SELECT `title` FROM `books` WHERE `id` = ?', [$bookId])[0]['title'], $at . 'refused edit writes nothing');
    }
    if ($engine === 'mariadb') {
        $site->db()->exec("SET GLOBAL sql_mode = DEFAULT");
    }
    $site->stop();
}

T::finish();
