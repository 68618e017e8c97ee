<?php
// Opening the edit form and saving it untouched stores exactly what was there, on SQLite and MariaDB:
// times with seconds, and a lookup whose current row lies beyond the choices the form lists.
declare(strict_types=1);

require_once __DIR__ . '/support/crud_site.php';

foreach (crud_engines() as $engine) {
    $site = crud_site($engine, __DIR__ . '/projects/crud_catalogue.json');
    $at = "[$engine] ";
    $pdo = $site->db();

    // 1,200 authors: the form lists the first 1,000 by name, so "zz-last" is not among them.
    $insert = $pdo->prepare('INSERT INTO `authors` (`full_name`, `secret`) VALUES ' . implode(', ', array_fill(0, 100, '(?, ?)')));
    for ($batch = 0; $batch < 12; $batch++) {
        $values = [];
        for ($i = 0; $i < 100; $i++) {
            array_push($values, sprintf('a%05d', $batch * 100 + $i), 'x');
        }
        $insert->execute($values);
    }
    $first = (int) $pdo->query("SELECT `id` FROM `authors` WHERE `full_name` = 'a00000'")->fetchColumn();
    $last = $site->add('authors', ['full_name' => 'zz-last', 'secret' => 'x']);
    $bookId = $site->add('books', ['title' => "O'Hara & \"Sons\" é", 'isbn' => '978-1', 'pages' => '321', 'price' => '12.50',
        'in_stock' => '1', 'format' => 'E-book', 'published_on' => '2024-02-29']);

    // Stored values => each must survive an unchanged save.
    $cases = [
        'time and date-time with seconds' => ['reading_time' => '14:30:15', 'released_at' => '2024-05-01 14:30:15', 'author_id' => $first],
        'last second of the day' => ['reading_time' => '23:59:59', 'released_at' => '1999-12-31 23:59:59', 'author_id' => $first],
        'whole minutes' => ['reading_time' => '09:05:00', 'released_at' => '2024-05-01 00:00:00', 'author_id' => $first],
        'lookup beyond the listed choices' => ['reading_time' => null, 'released_at' => null, 'author_id' => $last],
    ];
    foreach ($cases as $case => $values) {
        $assignments = implode(', ', array_map(static fn (string $column): string => "`$column` = ?", array_keys($values)));
        $pdo->prepare("UPDATE `books` SET $assignments WHERE `id` = ?")->execute([...array_values($values), $bookId]);
        $before = $site->rows('SELECT * FROM `books` WHERE `id` = ?', [$bookId])[0];

        $response = $site->resubmit("/books/edit?id=$bookId");
        T::same(302, $response->status, $at . "$case: unchanged save accepted" . ($response->status === 200 ? ': ' . strip_tags($response->body) : ''));
        T::contains('Books: record updated.', $site->http->get('/books')->body, $at . "$case: flash");
        $after = $site->rows('SELECT * FROM `books` WHERE `id` = ?', [$bookId])[0];
        unset($before['updated_at'], $after['updated_at']);
        T::same($before, $after, $at . "$case: row unchanged");
    }

    $site->stop();
}

T::finish();
