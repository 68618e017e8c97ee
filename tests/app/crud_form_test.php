<?php
// Add, edit and delete through the forms of a generated CRUD application on SQLite and MariaDB:
// token and id checks, validation of every type, stored values, the form controls, deletion.
declare(strict_types=1);

require_once __DIR__ . '/support/crud_site.php';

foreach (crud_engines() as $engine) {
    $site = crud_site($engine, __DIR__ . '/projects/crud_catalogue.json');
    $at = "[$engine] ";
    $http = $site->http;

    $authorId = $site->add('authors', ['full_name' => 'Ada', 'secret' => 'first-secret']);
    $spare = $site->add('authors', ['full_name' => 'Spare', 'secret' => 'x']);
    $bookId = $site->add('books', ['title' => 'Kept', 'isbn' => '111', 'author_id' => (string) $authorId, 'format' => 'Hardcover']);
    $snapshot = static fn (): array => [$site->rows('SELECT * FROM `authors` ORDER BY `id`'), $site->rows('SELECT * FROM `books` ORDER BY `id`')];
    $before = $snapshot();

    // Requests that must end early and write nothing: [method, path, form, status, body].
    $token = $site->token('/books/create');
    $early = [
        ['POST', '/books/store', ['title' => 'No token'], 403, 'Invalid or expired form token. Go back, reload the page and try again.'],
        ['POST', '/books/store', ['_csrf' => str_repeat('0', 64), 'title' => 'Wrong token'], 403, 'Invalid or expired form token. Go back, reload the page and try again.'],
        ['POST', '/books/store', ['_csrf' => [$token], 'title' => 'Token as array'], 403, 'Invalid or expired form token. Go back, reload the page and try again.'],
        ['POST', '/books/update', ['id' => (string) $bookId, 'title' => 'Changed'], 403, 'Invalid or expired form token. Go back, reload the page and try again.'],
        ['POST', '/authors/delete', ['_csrf' => 'x', 'id' => (string) $spare], 403, 'Invalid or expired form token. Go back, reload the page and try again.'],
        ['GET', '/books/edit', null, 400, 'Invalid id'],
        ['GET', '/books/edit?id=0', null, 400, 'Invalid id'],
        ['GET', '/books/edit?id=abc', null, 400, 'Invalid id'],
        ['GET', '/books/edit?id=1%20OR%201=1', null, 400, 'Invalid id'],
        ['GET', '/books/edit?id[]=1', null, 400, 'Invalid id'],
        ['GET', '/books/edit?id=99999', null, 404, 'Record not found'],
        ['POST', '/books/update', ['_csrf' => $token, 'id' => '-1', 'title' => 'x'], 400, 'Invalid id'],
        ['POST', '/books/update', ['_csrf' => $token, 'id' => "$bookId; DROP TABLE books", 'title' => 'x'], 400, 'Invalid id'],
        ['POST', '/books/update', ['_csrf' => $token, 'id' => '99999', 'title' => 'x'], 404, 'Record not found'],
        ['POST', '/authors/delete', ['_csrf' => $token, 'id' => "$spare OR 1=1"], 400, 'Invalid id'],
    ];
    foreach ($early as [$method, $path, $form, $status, $text]) {
        $response = $method === 'GET' ? $http->get($path) : $http->post($path, $form);
        T::same([$status, $text], [$response->status, $response->body], $at . "$method $path answers $status");
    }
    T::true($before === $snapshot(), $at . 'refused requests write nothing');

    // Validation of one book field at a time: [field => value, message] (null = accepted).
    $valid = ['title' => 'Base', 'format' => 'Paperback'];
    $validation = [
        [['title' => '  '], 'Title is required.'],
        [['in_stock' => ''], null],
        [['pages' => '12.5'], 'Pages must be a whole number.'],
        [['pages' => '1e3'], 'Pages must be a whole number.'],
        [['price' => 'abc'], 'Price must be a number.'],
        [['format' => 'Audiobook'], 'Choose a valid Format.'],
        [['format' => 'paperback'], 'Choose a valid Format.'],
        [['published_on' => '2024-02-30'], 'Published on must be a valid date.'],
        [['published_on' => '2024-2-5'], 'Published on must be a valid date.'],
        [['reading_time' => '9:30'], 'Reading time must be a valid time.'],
        [['reading_time' => '24:00'], 'Reading time must be a valid time.'],
        [['released_at' => '2024-05-01 25:00'], 'Released at must be a valid date and time.'],
        [['author_id' => 'abc'], 'Choose a valid Author.'],
        [['author_id' => '999999'], 'The selected Author no longer exists.'],
        [['isbn' => '111'], 'This ISBN already exists.'],
        [['isbn' => str_repeat('9', 21)], 'ISBN must be at most 20 characters.'],
        [['title' => "'); DROP TABLE books; --"], null],
    ];
    foreach ($validation as [$change, $message]) {
        $field = array_key_first($change);
        $count = $site->count('books');
        $response = $site->submit('/books/store', $change + $valid);
        if ($message === null) {
            T::same(302, $response->status, $at . "books.$field accepts " . json_encode($change[$field]));
            continue;
        }
        T::same(200, $response->status, $at . "books.$field refuses " . json_encode($change[$field]));
        T::contains('<div class="invalid-feedback d-block">' . $message . '</div>', $response->body, $at . "message for books.$field");
        T::contains('Please correct the highlighted fields.', $response->body, $at . "summary for books.$field");
        T::contains('is-invalid" ', $response->body, $at . "books.$field marked invalid");
        T::same($count, $site->count('books'), $at . "refused books.$field stores nothing");
    }
    T::same(['Kept', "'); DROP TABLE books; --"], array_column($site->rows("SELECT `title` FROM `books` WHERE `title` <> 'Base' ORDER BY `id`"), 'title'),
        $at . 'an injection attempt is stored as text');

    // Stored form of each type: form sent => expected columns.
    $stored = [
        [['in_stock' => '1', 'featured' => 'on'], ['in_stock' => 1, 'featured' => 1]],
        [['in_stock' => '0'], ['in_stock' => 0, 'featured' => 0]],
        [['released_at' => '2024-05-01T14:30', 'reading_time' => '09:30', 'published_on' => '2024-02-29'],
            ['released_at' => '2024-05-01 14:30:00', 'reading_time' => '09:30:00', 'published_on' => '2024-02-29']],
        [['released_at' => '2024-05-01 14:30:15', 'reading_time' => '23:59:59'], ['released_at' => '2024-05-01 14:30:15', 'reading_time' => '23:59:59']],
        [['pages' => ' 42 ', 'price' => '12.50', 'title' => '  Trimmed  '], ['pages' => 42, 'price' => 12.5, 'title' => 'Trimmed']],
        [['pages' => '', 'price' => '', 'isbn' => '', 'format' => 'E-book'], ['pages' => null, 'price' => null, 'isbn' => null, 'format' => 'E-book']],
    ];
    foreach ($stored as [$form, $expected]) {
        $id = $site->add('books', $form + $valid);
        $row = $site->rows('SELECT * FROM `books` WHERE `id` = ?', [$id])[0];
        $actual = [];
        foreach ($expected as $column => $value) {
            $actual[$column] = $row[$column] === null ? null : (is_int($value) ? (int) $row[$column] : (is_float($value) ? (float) $row[$column] : (string) $row[$column]));
        }
        T::same($expected, $actual, $at . 'stored ' . json_encode($form));
        T::true($row['created_at'] !== null && $row['created_at'] === $row['updated_at'], $at . 'timestamps set on add');
    }

    // Unique and length on the authors form; multi-byte characters count once.
    $authorCases = [
        ['ÄÖÜäöüßéèê', null],
        ['ÄÖÜäöüßéèêx', 'Full name must be at most 10 characters.'],
        ['Ada', 'This Full name already exists.'],
        ['', 'Full name is required.'],
    ];
    foreach ($authorCases as [$name, $message]) {
        $response = $site->submit('/authors/store', ['full_name' => $name, 'secret' => 's']);
        T::same($message === null ? 302 : 200, $response->status, $at . 'author name ' . $name);
        if ($message !== null) {
            T::contains($message, $response->body, $at . 'message for author name ' . $name);
        }
    }
    $noSecret = $site->submit('/authors/store', ['full_name' => 'Nosecret', 'website' => 'javascript://x%0Aalert(1)', 'secret' => '']);
    T::contains('Secret is required.', $noSecret->body, $at . 'a required password is required on add');
    T::contains('Enter a valid URL, including http:// or https://.', $noSecret->body, $at . 'a script URL is refused');
    T::contains('value="Nosecret"', $noSecret->body, $at . 'entered values come back');
    foreach (['ftp://example.com/x', 'data:text/html,x', 'not a url'] as $url) {
        T::contains('Enter a valid URL, including http:// or https://.', $site->submit('/authors/store', ['full_name' => 'U', 'secret' => 's', 'website' => $url])->body, $at . "URL $url refused");
    }
    $emailRefused = $site->submit('/authors/store', ['full_name' => 'M', 'secret' => 's', 'email' => 'nope']);
    T::contains('Enter a valid email address.', $emailRefused->body, $at . 'a bad email is refused');

    // Passwords: hashed, never shown, kept on a blank edit, replaced on a new one.
    $hash = static fn (): string => (string) $site->rows('SELECT `secret` FROM `authors` WHERE `id` = ?', [$authorId])[0]['secret'];
    $firstHash = $hash();
    T::true(password_verify('first-secret', $firstHash), $at . 'password stored as a hash');
    $editForm = $http->get("/authors/edit?id=$authorId")->body;
    T::contains('<input class="form-control" type="password" id="f_secret" name="secret" value="" autocomplete="new-password">', $editForm, $at . 'edit form: password empty and optional');
    T::contains('<label class="form-label" for="f_secret">Secret</label>', $editForm, $at . 'edit form: no star on the password');
    T::contains('<div class="form-text">Leave blank to keep the current password.</div>', $editForm, $at . 'edit form: password help');
    $response = $site->submit('/authors/update', ['id' => (string) $authorId, 'full_name' => 'Ada', 'secret' => ''], "/authors/edit?id=$authorId");
    T::same(302, $response->status, $at . 'saving a row with its own unique value passes');
    T::same($firstHash, $hash(), $at . 'a blank password keeps the stored hash');
    $site->submit('/authors/update', ['id' => (string) $authorId, 'full_name' => 'Ada', 'secret' => 'second'], "/authors/edit?id=$authorId");
    T::true(password_verify('second', $hash()), $at . 'a new password replaces the hash');
    $failedEdit = $site->submit('/authors/update', ['id' => (string) $authorId, 'full_name' => 'Spare', 'secret' => 'third'], "/authors/edit?id=$authorId");
    T::contains('This Full name already exists.', $failedEdit->body, $at . 'unique against another row on edit');
    T::contains('<input type="hidden" name="id" value="' . $authorId . '">', $failedEdit->body, $at . 'failed edit keeps the id');
    T::contains('name="secret" value=""', $failedEdit->body, $at . 'failed edit never shows the password');
    T::true(password_verify('second', $hash()), $at . 'failed edit writes nothing');

    // Edit form of a book: values shown as the controls expect them; update keeps created_at.
    $site->db()->prepare('UPDATE `books` SET `released_at` = ?, `reading_time` = ?, `format` = ?, `created_at` = ? WHERE `id` = ?')
        ->execute(['2024-05-01 14:30:00', '14:30:00', 'Audiobook', '2020-01-01 00:00:00', $bookId]);
    $bookForm = $http->get("/books/edit?id=$bookId")->body;
    T::contains('type="datetime-local" id="f_released_at" name="released_at" value="2024-05-01T14:30"', $bookForm, $at . 'date-time shown for the input');
    T::contains('type="time" id="f_reading_time" name="reading_time" value="14:30"', $bookForm, $at . 'time shown for the input');
    preg_match('~<select[^>]*name="format".*?</select>~s', $bookForm, $select);
    T::true(isset($select[0]) && !str_contains($select[0], ' selected'), $at . 'a stored value outside the options selects nothing');
    T::contains('<option value="' . $authorId . '" selected>Ada</option>', $bookForm, $at . 'lookup choice selected');
    $site->submit('/books/update', ['id' => (string) $bookId, 'title' => 'Kept', 'isbn' => '111', 'author_id' => (string) $authorId, 'format' => 'Hardcover'], "/books/edit?id=$bookId");
    $row = $site->rows('SELECT * FROM `books` WHERE `id` = ?', [$bookId])[0];
    T::same(['2020-01-01 00:00:00', true, $authorId], [$row['created_at'], $row['updated_at'] > '2020-01-01', (int) $row['author_id']],
        $at . 'update keeps created_at and sets updated_at');
    T::contains('Books: record updated.', $http->get('/books')->body, $at . 'flash after saving');

    // Add form: defaults, booleans, required marks.
    $addForm = $http->get('/books/create')->body;
    T::contains('name="in_stock" value="1" checked>', $addForm, $at . 'boolean default 1 is ticked');
    T::contains('name="featured" value="1">', $addForm, $at . 'boolean default false is not ticked');
    T::contains('<option value="Paperback" selected>Paperback</option>', $addForm, $at . 'select default chosen');
    T::contains('value="9.99" step="any"', $addForm, $at . 'decimal default and step');
    T::contains('<label class="form-label" for="f_title">Title <span class="text-danger">*</span></label>', $addForm, $at . 'required mark');
    T::contains('<label class="form-check-label" for="f_in_stock">In stock</label>', $addForm, $at . 'required boolean has no mark');
    T::true(!str_contains($addForm, 'value="first-secret"'), $at . 'no password on the add form');

    // A lookup whose row was deleted after the form was opened.
    $site->submit('/authors/delete', ['id' => (string) $spare]);
    T::contains('The selected Author no longer exists.', $site->submit('/books/store', ['author_id' => (string) $spare] + $valid)->body, $at . 'lookup to a deleted row');

    // Deleting: a referenced row stays, a free row goes, both answer with a flash.
    $response = $site->submit('/authors/delete', ['id' => (string) $authorId], '/authors');
    T::same([302, '/authors'], [$response->status, $response->header('Location')], $at . 'delete redirects to the list');
    T::contains('<div class="alert alert-danger" role="alert">This record cannot be deleted because other records refer to it.</div>', $http->get('/authors')->body, $at . 'blocked delete flash');
    T::same(1, count($site->rows('SELECT `id` FROM `authors` WHERE `id` = ?', [$authorId])), $at . 'referenced row kept');
    T::same(0, count($site->rows('SELECT `id` FROM `authors` WHERE `id` = ?', [$spare])), $at . 'free row deleted');

    // A table whose form has nothing to store gets an empty row.
    $vaultBefore = $site->count('vault');
    T::same(302, $site->submit('/vault/store', ['pin' => ''])->status, $at . 'empty insert accepted');
    T::same($vaultBefore + 1, $site->count('vault'), $at . 'empty insert stores a row');

    $site->stop();
}

T::finish();
