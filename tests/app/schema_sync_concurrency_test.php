<?php
// Simultaneous first requests: a generated CRUD application on a server with several workers gets
// 16 requests at once on an empty database, then 16 more right after a schema change, several
// rounds on SQLite and MariaDB. Every request succeeds; every table, column, index and foreign
// key exists once; a data-fix migration has run exactly once.
declare(strict_types=1);

require_once __DIR__ . '/support/crud_site.php';

const ROUNDS = 3;
const BURST = 16;
const WORKERS = '8';

// The schema change: new columns (unique, lookup, timestamps) on existing tables and a new table.
function changed_schema(array $schema): array
{
    foreach ($schema['entities'] as &$entity) {
        if ($entity['id'] === 'books') {
            $entity['fields'][] = ['name' => 'code', 'type' => 'string', 'length' => 20, 'unique' => true];
            $entity['fields'][] = ['name' => 'editor_id', 'type' => 'lookup', 'lookup' => ['entity' => 'authors']];
        }
        if ($entity['id'] === 'categories') {
            $entity['timestamps'] = true;
        }
    }
    unset($entity);
    $schema['entities'][] = ['id' => 'reviews', 'name' => 'Reviews', 'timestamps' => true, 'fields' => [
        ['name' => 'ref', 'type' => 'string', 'length' => 30, 'unique' => true],
        ['name' => 'book_id', 'type' => 'lookup', 'lookup' => ['entity' => 'books']],
    ]];
    return $schema;
}

// What the schema asks for: per table its columns, index names and lookup columns with a foreign
// key, sorted. $unkeyed names lookups created without a key (a circular lookup's first table).
// A lookup has an index of its own, except on MySQL where its foreign key brings one.
function expected_structure(array $schema, array $extraIndexes, array $unkeyed, bool $mysql): array
{
    $structure = [];
    foreach ($schema['entities'] as $entity) {
        $fields = $entity['fields'];
        if (!empty($entity['timestamps'])) {
            $fields[] = ['name' => 'created_at'];
            $fields[] = ['name' => 'updated_at'];
        }
        $columns = ['id'];
        $indexes = $extraIndexes[$entity['id']] ?? [];
        $keys = [];
        foreach ($fields as $field) {
            $columns[] = $field['name'];
            if (!empty($field['unique'])) {
                $indexes[] = 'uq_' . $entity['id'] . '_' . $field['name'];
            }
            $keyed = !in_array($field['name'], $unkeyed[$entity['id']] ?? [], true);
            if (($field['type'] ?? '') === 'lookup' && $keyed) {
                $keys[] = $field['name'];
            }
            if (($field['type'] ?? '') === 'lookup' && (!$mysql || !$keyed)) {
                $indexes[] = 'ix_' . $entity['id'] . '_' . $field['name'];
            }
        }
        sort($columns);
        sort($indexes);
        sort($keys);
        $structure[$entity['id']] = ['columns' => $columns, 'indexes' => $indexes, 'keys' => $keys];
    }
    ksort($structure);
    return $structure;
}

// The same, read from the database (the application's own migrations table left aside).
function actual_structure(PDO $pdo, string $engine): array
{
    $mysql = $engine === 'mariadb';
    $tables = $pdo->query($mysql ? 'SHOW TABLES'
        : "SELECT name FROM sqlite_master WHERE type = 'table' AND name NOT LIKE 'sqlite%'")->fetchAll(PDO::FETCH_COLUMN);
    $structure = [];
    foreach ($tables as $table) {
        if ($table === '_app_migrations' || $table === '_app_row_counts') {
            continue;
        }
        $q = '`' . $table . '`';
        if ($mysql) {
            $columns = array_column($pdo->query("SHOW COLUMNS FROM $q")->fetchAll(), 'Field');
            $keys = $pdo->query("SELECT COLUMN_NAME FROM information_schema.KEY_COLUMN_USAGE WHERE TABLE_SCHEMA = DATABASE()"
                . " AND TABLE_NAME = '$table' AND REFERENCED_TABLE_NAME IS NOT NULL")->fetchAll(PDO::FETCH_COLUMN);
            // A foreign key brings an index of its own name; primary key and those are left aside.
            $indexes = array_values(array_filter(array_column($pdo->query("SHOW INDEX FROM $q")->fetchAll(), 'Key_name'),
                static fn (string $name): bool => $name !== 'PRIMARY' && !str_starts_with($name, 'fk_')));
        } else {
            $columns = array_column($pdo->query("PRAGMA table_info($q)")->fetchAll(), 'name');
            $keys = array_column($pdo->query("PRAGMA foreign_key_list($q)")->fetchAll(), 'from');
            $indexes = $pdo->query("SELECT name FROM sqlite_master WHERE type = 'index' AND tbl_name = '$table'"
                . " AND name NOT LIKE 'sqlite_autoindex%'")->fetchAll(PDO::FETCH_COLUMN);
        }
        sort($columns);
        sort($indexes);
        sort($keys);
        $structure[$table] = ['columns' => $columns, 'indexes' => $indexes, 'keys' => $keys];
    }
    ksort($structure);
    return $structure;
}

// 16 requests at once over the dashboard and the list pages; each must answer 200 without a
// database warning.
function check_burst(HttpClient $http, array $paths, string $what): void
{
    $requests = [];
    for ($i = 0; $i < BURST; $i++) {
        $requests[] = $paths[$i % count($paths)];
    }
    $failures = [];
    foreach ($http->burst($requests) as $i => $response) {
        if ($response->status !== 200 || str_contains($response->body, 'Database not ready')) {
            $failures[] = $requests[$i] . ' ' . $response->status . ': '
                . substr(trim(preg_replace('~\s+~', ' ', strip_tags($response->body))), 0, 300);
        }
    }
    T::same([], $failures, "$what: every request answers 200 with the data");
}

$migrations = [
    '2026_01_01_seed.php' => "<?php return \"INSERT INTO `categories` (`title`) VALUES ('Seeded')\";",
    '2026_01_02_add_index.php' => "<?php return 'CREATE INDEX `ix_books_title` ON `books` (`title`)';",
];

foreach (crud_engines() as $engine) {
    $dir = generate_crud($engine, example('bookshop.json'));
    foreach ($migrations as $name => $text) {
        file_put_contents($dir . '/database/migrations/' . $name, $text);
    }
    $schemaFile = $dir . '/app/Config/schema.json';
    $schema = json_decode((string) file_get_contents($schemaFile), true);
    $paths = ['/'];
    foreach ($schema['entities'] as $entity) {
        $paths[] = '/' . $entity['id'];
    }
    $extra = ['books' => ['ix_books_title']];
    $unkeyed = ['authors' => ['favourite_book_id']];

    for ($round = 1; $round <= ROUNDS; $round++) {
        $what = "$engine round $round";
        file_put_contents($schemaFile, json_encode($schema, JSON_PRETTY_PRINT));
        $site = serve_crud($engine, $dir, ['PHP_CLI_SERVER_WORKERS' => WORKERS]);

        check_burst($site->http, $paths, "$what, empty database");
        T::same(expected_structure($schema, $extra, $unkeyed, $engine === 'mariadb'), actual_structure($site->db(), $engine), "$what: structure once");

        file_put_contents($schemaFile, json_encode(changed_schema($schema), JSON_PRETTY_PRINT));
        check_burst($site->http, $paths, "$what, after a schema change");
        T::same(expected_structure(changed_schema($schema), $extra, $unkeyed, $engine === 'mariadb'), actual_structure($site->db(), $engine),
            "$what: changed structure once");

        T::same(['Seeded'], $site->db()->query('SELECT title FROM categories')->fetchAll(PDO::FETCH_COLUMN),
            "$what: the data-fix migration ran once");
        T::same(array_keys($migrations), array_column($site->rows('SELECT `name` FROM `_app_migrations` ORDER BY `name`'), 'name'),
            "$what: each migration recorded once");
        $site->stop();
    }
}

T::finish();
