<?php
// database/migrations files run once per database, whether a request or bin/migrate.php finds
// them first; a failing file is named with its error and runs again once mended. SQLite and
// MariaDB, through HTTP and the command line.
declare(strict_types=1);

require_once __DIR__ . '/support/crud_site.php';
require_once __DIR__ . '/support/core_app_tree.php';

const INDEX_FILE = '2026_10_22_add_index.php';
const FILL_FILE = '2026_10_23_fill.php';
const MORE_FILE = '2026_10_24_more.php';
const BROKEN_FILE = '2026_10_25_broken.php';

$steps = [
    // what, files written, run by, expected status (dashboard and list page) or exit code,
    // expected text, expected category titles, expected recorded files
    ['first request', [INDEX_FILE => 'CREATE INDEX `ix_authors_name` ON `authors` (`full_name`)',
        FILL_FILE => "INSERT INTO `categories` (`title`) VALUES ('Migrated')"],
        'web', 200, '1 record(s) &middot; 3 field(s)', ['Migrated'], [INDEX_FILE, FILL_FILE]],
    ['second request', [], 'web', 200, '1 record(s) &middot; 3 field(s)', ['Migrated'], [INDEX_FILE, FILL_FILE]],
    ['third request', [], 'web', 200, '1 record(s) &middot; 3 field(s)', ['Migrated'], [INDEX_FILE, FILL_FILE]],
    ['command line, nothing new', [], 'cli', 0, "Schema already up to date.\nMigration run complete.\n",
        ['Migrated'], [INDEX_FILE, FILL_FILE]],
    ['command line, one new file', [MORE_FILE => "INSERT INTO `categories` (`title`) VALUES ('More')"], 'cli', 0,
        "Schema already up to date.\nApplied: " . MORE_FILE . "\nMigration run complete.\n",
        ['Migrated', 'More'], [INDEX_FILE, FILL_FILE, MORE_FILE]],
    ['request after the command line', [], 'web', 200, '2 record(s) &middot; 3 field(s)', ['Migrated', 'More'],
        [INDEX_FILE, FILL_FILE, MORE_FILE]],
    ['failing file, request', [BROKEN_FILE => 'INSERT INTO `nowhere` VALUES (1)'], 'web', [200, 500],
        'Database not ready: Migration ' . BROKEN_FILE . ' failed: SQLSTATE[', ['Migrated', 'More'],
        [INDEX_FILE, FILL_FILE, MORE_FILE]],
    ['failing file, command line', [], 'cli', 1, 'FAILED: ' . BROKEN_FILE . ': SQLSTATE[', ['Migrated', 'More'],
        [INDEX_FILE, FILL_FILE, MORE_FILE]],
    ['mended file, request', [BROKEN_FILE => "UPDATE `categories` SET `description` = 'mended'"], 'web', 200,
        '2 record(s) &middot; 3 field(s)', ['Migrated', 'More'], [INDEX_FILE, FILL_FILE, MORE_FILE, BROKEN_FILE]],
    ['request after the mend', [], 'web', 200, '2 record(s) &middot; 3 field(s)', ['Migrated', 'More'],
        [INDEX_FILE, FILL_FILE, MORE_FILE, BROKEN_FILE]],
];

foreach (crud_engines() as $engine) {
    $dir = generate_crud($engine, example('bookshop.json'));
    $site = serve_crud($engine, $dir);
    foreach ($steps as [$what, $files, $by, $status, $text, $titles, $recorded]) {
        $what = "$engine, $what";
        foreach ($files as $name => $sql) {
            file_put_contents($dir . '/database/migrations/' . $name, '<?php return ' . var_export($sql, true) . ';');
        }
        if ($by === 'web') {
            $page = $site->http->get('/');
            $list = $site->http->get('/categories');
            T::same((array) $status + [1 => 200], [$page->status, $list->status], "$what: statuses");
            T::contains($text, $page->body, "$what: page text");
        } else {
            [$code, $out, $err] = run_php($dir . '/bin/migrate.php', $site->env);
            T::same($status, $code, "$what: exit code");
            T::contains($text, $out . $err, "$what: output");
        }
        T::same($titles, array_column($site->rows('SELECT `title` FROM `categories` ORDER BY `id`'), 'title'),
            "$what: category rows");
        T::same($recorded, array_column($site->rows('SELECT `name` FROM `_app_migrations` ORDER BY `name`'), 'name'),
            "$what: recorded files");
    }
    T::same(['mended', 'mended'], array_column($site->rows('SELECT `description` FROM `categories`'), 'description'),
        "$engine: the mended file ran");
    $site->stop();
}

T::finish();
