<?php
// The schema synchroniser app/Core/Schema.php against SQLite and a private MariaDB server:
// creation order, column types and defaults, keys and indexes, growth of an existing database
// without data loss, the stamp, force and the duplicate-values warning. Each sync runs in its
// own PHP process, as one request of the application does.
declare(strict_types=1);

require_once __DIR__ . '/support/testing.php';
require_once __DIR__ . '/support/mariadb.php';

const SCHEMA_TEMPLATE = '/templates/app/Core/Schema.php';

// An application folder with Schema.php, storage/ and the given tables in app/Config/schema.json.
function sync_app(?array $entities): string
{
    $root = temp_dir('qb-sync-');
    mkdir($root . '/app/Core', 0777, true);
    mkdir($root . '/app/Config', 0777, true);
    mkdir($root . '/storage', 0777, true);
    copy(getenv('QB_SOURCE_DIR') . SCHEMA_TEMPLATE, $root . '/app/Core/Schema.php');
    copy(getenv('QB_SOURCE_DIR') . '/templates/app/Core/RowCounts.php', $root . '/app/Core/RowCounts.php');
    copy(getenv('QB_SOURCE_DIR') . '/templates/app/Core/PhpCache.php', $root . '/app/Core/PhpCache.php');
    if ($entities !== null) {
        write_schema($root, $entities);
    }
    file_put_contents($root . '/probe.php', <<<'PHP'
<?php
declare(strict_types=1);
require __DIR__ . '/app/Core/Schema.php';
$c = json_decode($argv[1], true);
$pdo = new PDO($c['dsn'], $c['user'] ?? null, $c['password'] ?? null, [PDO::ATTR_ERRMODE => PDO::ERRMODE_EXCEPTION]);
$questions = static fn (): int => $c['mysql'] ? (int) $pdo->query("SHOW SESSION STATUS LIKE 'Questions'")->fetch()['Value'] : 0;
$before = $questions();
$base = $questions() - $before;
$start = $questions();
$result = ['log' => null, 'error' => null];
try {
    $result['log'] = Schema::sync($pdo, $c['key'], $c['force']);
} catch (Throwable $e) {
    $result['error'] = $e->getMessage();
}
$result['queries'] = $questions() - $start - $base;
echo json_encode($result);
PHP);
    return $root;
}

function write_schema(string $root, array $entities): void
{
    file_put_contents($root . '/app/Config/schema.json', json_encode(
        ['generator' => 'Kettlebourne Generator', 'engine' => 'sqlite', 'entities' => $entities], JSON_PRETTY_PRINT));
}

// Runs Schema::sync in a new process; returns ['log' => ..., 'error' => ..., 'queries' => n (MySQL only)].
function run_sync(string $root, array $connection, bool $force = false): array
{
    $proc = proc_open([PHP_BINARY, $root . '/probe.php', json_encode($connection + ['force' => $force])],
        [1 => ['pipe', 'w'], 2 => ['pipe', 'w']], $pipes);
    $out = stream_get_contents($pipes[1]);
    $err = stream_get_contents($pipes[2]);
    fclose($pipes[1]);
    fclose($pipes[2]);
    proc_close($proc);
    return json_decode($out, true) ?? ['log' => null, 'error' => 'probe failed: ' . $out . $err, 'queries' => null];
}

// A field of the runtime schema with its defaults filled in.
function field(string $name, string $type = 'string', array $extra = []): array
{
    return $extra + ['name' => $name, 'label' => $name, 'type' => $type, 'length' => 255, 'required' => false,
        'unique' => false, 'showInList' => true, 'searchable' => false, 'default' => '', 'options' => [],
        'lookup' => ['entity' => '', 'field' => ''], 'help' => ''];
}

function lookup(string $name, string $target, array $extra = []): array
{
    return field($name, 'lookup', $extra + ['lookup' => ['entity' => $target, 'field' => 'name']]);
}

function table(string $id, array $fields, bool $timestamps = false): array
{
    return ['id' => $id, 'name' => ucfirst($id), 'displayField' => 'id', 'timestamps' => $timestamps,
        'pageSize' => 20, 'fields' => $fields];
}

// Engine-neutral views of the database structure.
final class Inspect
{
    // column => [type, nullable, default literal or null]
    public static function columns(PDO $pdo, bool $mysql, string $table): array
    {
        $columns = [];
        if ($mysql) {
            $rows = $pdo->query("SELECT COLUMN_NAME, COLUMN_TYPE, IS_NULLABLE, COLUMN_DEFAULT FROM information_schema.COLUMNS
                WHERE TABLE_SCHEMA = DATABASE() AND TABLE_NAME = " . $pdo->quote($table) . ' ORDER BY ORDINAL_POSITION');
            foreach ($rows->fetchAll(PDO::FETCH_NUM) as [$name, $type, $nullable, $default]) {
                $columns[$name] = [strtoupper($type), $nullable === 'YES', $default === 'NULL' ? null : $default];
            }
        } else {
            foreach ($pdo->query('PRAGMA table_info(' . $pdo->quote($table) . ')')->fetchAll(PDO::FETCH_ASSOC) as $row) {
                $columns[$row['name']] = [$row['type'], !$row['notnull'] && !$row['pk'], $row['dflt_value']];
            }
        }
        return $columns;
    }

    // column => referenced table
    public static function foreignKeys(PDO $pdo, bool $mysql, string $table): array
    {
        $keys = [];
        if ($mysql) {
            $rows = $pdo->query('SELECT COLUMN_NAME, REFERENCED_TABLE_NAME FROM information_schema.KEY_COLUMN_USAGE
                WHERE TABLE_SCHEMA = DATABASE() AND REFERENCED_TABLE_NAME IS NOT NULL AND TABLE_NAME = ' . $pdo->quote($table));
            foreach ($rows->fetchAll(PDO::FETCH_NUM) as [$column, $target]) {
                $keys[$column] = $target;
            }
        } else {
            foreach ($pdo->query('PRAGMA foreign_key_list(' . $pdo->quote($table) . ')')->fetchAll(PDO::FETCH_ASSOC) as $row) {
                $keys[$row['from']] = $row['table'];
            }
        }
        ksort($keys);
        return $keys;
    }

    // names of the foreign key constraints (SQLite keeps them only in the table's SQL)
    public static function foreignKeyNames(PDO $pdo, bool $mysql, string $table): array
    {
        if ($mysql) {
            $names = $pdo->query("SELECT CONSTRAINT_NAME FROM information_schema.TABLE_CONSTRAINTS WHERE TABLE_SCHEMA = DATABASE()
                AND CONSTRAINT_TYPE = 'FOREIGN KEY' AND TABLE_NAME = " . $pdo->quote($table))->fetchAll(PDO::FETCH_COLUMN);
        } else {
            preg_match_all('/CONSTRAINT `([^`]+)` FOREIGN KEY/', self::sqliteSql($pdo, $table), $m);
            $names = $m[1];
        }
        sort($names);
        return $names;
    }

    // unique index name => [column, prefix length or null]
    public static function uniqueIndexes(PDO $pdo, bool $mysql, string $table): array
    {
        $indexes = [];
        if ($mysql) {
            $rows = $pdo->query("SELECT INDEX_NAME, COLUMN_NAME, SUB_PART FROM information_schema.STATISTICS WHERE TABLE_SCHEMA = DATABASE()
                AND NON_UNIQUE = 0 AND INDEX_NAME <> 'PRIMARY' AND TABLE_NAME = " . $pdo->quote($table));
            foreach ($rows->fetchAll(PDO::FETCH_NUM) as [$name, $column, $part]) {
                $indexes[$name] = [$column, $part === null ? null : (int) $part];
            }
        } else {
            foreach ($pdo->query('PRAGMA index_list(' . $pdo->quote($table) . ')')->fetchAll(PDO::FETCH_ASSOC) as $row) {
                if ($row['unique'] && $row['origin'] === 'c') {
                    $info = $pdo->query('PRAGMA index_info(' . $pdo->quote($row['name']) . ')')->fetch(PDO::FETCH_ASSOC);
                    $indexes[$row['name']] = [$info['name'], null];
                }
            }
        }
        ksort($indexes);
        return $indexes;
    }

    public static function sqliteSql(PDO $pdo, string $table): string
    {
        return (string) $pdo->query("SELECT sql FROM sqlite_master WHERE type = 'table' AND name = " . $pdo->quote($table))->fetchColumn();
    }
}

// The two engines under test: a fresh database each time they are asked for one.
function engines(): array
{
    return [
        'sqlite' => static function (string $root): array {
            $file = $root . '/storage/database.sqlite';
            $pdo = new PDO('sqlite:' . $file, null, null, [PDO::ATTR_ERRMODE => PDO::ERRMODE_EXCEPTION]);
            $pdo->exec('PRAGMA foreign_keys = ON');
            return [$pdo, ['dsn' => 'sqlite:' . $file, 'key' => 'sqlite:' . $file, 'mysql' => false]];
        },
        'mariadb' => static function (string $root): array {
            static $n = 0;
            $db = mariadb_start();
            $name = 'sync' . ++$n;
            return [$db->pdo($name), ['dsn' => $db->dsn($name), 'user' => $db->user, 'password' => $db->password,
                'key' => 'mysql:' . $db->host . ':' . $db->port . '/' . $name, 'mysql' => true]];
        },
    ];
}

// Column names of exactly 55 and 56 bytes: "uq_t_" + 55 bytes is a 60-byte index name.
$col60 = str_repeat('c', 55);
$col61 = str_repeat('c', 56);

$library = [
    // Schema order puts every referencing table before its target.
    table('books', [
        field('title', 'string', ['length' => 120, 'required' => true, 'default' => 'Untitled', 'unique' => true]),
        lookup('author', 'Authors', ['required' => true]),
        field('price', 'decimal', ['default' => '9.5']),
        field('pages', 'integer', ['default' => 'abc']),
        field('in_print', 'boolean', ['default' => 'Yes']),
        field('archived', 'boolean', ['required' => true]),
        field('summary', 'text', ['default' => 'None yet']),
        field('secret', 'password', ['required' => true, 'default' => 'x']),
        field('published', 'date', ['default' => '2024-02-29']),
        field('isbn', 'string', ['length' => 191, 'unique' => true]),
        field('code', 'email', ['length' => 190, 'unique' => true]),
        field('rank', 'integer', ['unique' => true]),
        field('status', 'select', ['length' => 20, 'default' => "it's", 'options' => ["it's"]]),
        field('odd', 'blob', ['length' => 5000]),
    ], true),
    table('authors', [field('name', 'string', ['required' => true]), lookup('mentor', 'authors')]),
    table('chickens', [lookup('egg', 'eggs')]),
    table('eggs', [lookup('chicken', 'chickens')]),
    table('t', [field($col60, 'string', ['length' => 10, 'unique' => true]), field($col61, 'string', ['length' => 10, 'unique' => true]),
        lookup(str_repeat('f', 55), 't'), lookup(str_repeat('f', 56), 'authors')]),
    // Defaults that MySQL cannot store in the column are left out there; SQLite keeps them.
    table('odd_defaults', [field('due', 'date', ['default' => 'tomorrow']), field('at', 'datetime', ['default' => '2024-01-31 23:59']),
        field('short', 'string', ['length' => 5, 'default' => 'Untitled']), field('big', 'integer', ['default' => '99999999999']),
        field('small', 'integer', ['default' => '-12']), field('span', 'time', ['default' => '838:59']),
        field('beyond', 'time', ['default' => '839:00'])]),
];

$expectedColumns = [
    'sqlite' => [
        'books' => [
            'id' => ['INTEGER', false, null],
            'title' => ['VARCHAR(120)', false, "'Untitled'"],
            'author' => ['INTEGER', false, null],
            'price' => ['DECIMAL(15,2)', true, '9.5'],
            'pages' => ['INTEGER', true, null],
            'in_print' => ['INTEGER', false, '1'],
            'archived' => ['INTEGER', false, '0'],
            'summary' => ['TEXT', true, "'None yet'"],
            'secret' => ['VARCHAR(255)', true, null],
            'published' => ['DATE', true, "'2024-02-29'"],
            'isbn' => ['VARCHAR(191)', true, null],
            'code' => ['VARCHAR(190)', true, null],
            'rank' => ['INTEGER', true, null],
            'status' => ['VARCHAR(20)', true, "'it''s'"],
            'odd' => ['VARCHAR(1000)', true, null],
            'created_at' => ['DATETIME', true, null],
            'updated_at' => ['DATETIME', true, null],
        ],
        'odd_defaults' => [
            'id' => ['INTEGER', false, null],
            'due' => ['DATE', true, "'tomorrow'"],
            'at' => ['DATETIME', true, "'2024-01-31 23:59'"],
            'short' => ['VARCHAR(5)', true, "'Untitled'"],
            'big' => ['INTEGER', true, '99999999999'],
            'small' => ['INTEGER', true, '-12'],
            'span' => ['TIME', true, "'838:59'"],
            'beyond' => ['TIME', true, "'839:00'"],
        ],
    ],
    'mariadb' => [
        'books' => [
            'id' => ['INT(11)', false, null],
            'title' => ['VARCHAR(120)', false, "'Untitled'"],
            'author' => ['INT(11)', false, null],
            'price' => ['DECIMAL(15,2)', true, '9.50'],
            'pages' => ['INT(11)', true, null],
            'in_print' => ['TINYINT(1)', false, '1'],
            'archived' => ['TINYINT(1)', false, '0'],
            'summary' => ['TEXT', true, null],
            'secret' => ['VARCHAR(255)', true, null],
            'published' => ['DATE', true, "'2024-02-29'"],
            'isbn' => ['VARCHAR(191)', true, null],
            'code' => ['VARCHAR(190)', true, null],
            'rank' => ['INT(11)', true, null],
            'status' => ['VARCHAR(20)', true, "'it''s'"],
            'odd' => ['VARCHAR(1000)', true, null],
            'created_at' => ['DATETIME', true, null],
            'updated_at' => ['DATETIME', true, null],
        ],
        'odd_defaults' => [
            'id' => ['INT(11)', false, null],
            'due' => ['DATE', true, null],
            'at' => ['DATETIME', true, "'2024-01-31 23:59:00'"],
            'short' => ['VARCHAR(5)', true, null],
            'big' => ['INT(11)', true, null],
            'small' => ['INT(11)', true, '-12'],
            'span' => ['TIME', true, "'838:59:00'"],
            'beyond' => ['TIME', true, null],
        ],
    ],
];

$hashed60 = 'uq_' . substr(md5('t.' . $col61), 0, 20);
$expectedIndexes = [
    'sqlite' => [
        'books' => ['uq_books_code' => ['code', null], 'uq_books_isbn' => ['isbn', null], 'uq_books_rank' => ['rank', null],
            'uq_books_title' => ['title', null]],
        't' => ['uq_t_' . $col60 => [$col60, null], $hashed60 => [$col61, null]],
    ],
    'mariadb' => [
        'books' => ['uq_books_code' => ['code', null], 'uq_books_isbn' => ['isbn', 190], 'uq_books_rank' => ['rank', null],
            'uq_books_title' => ['title', null]],
        't' => ['uq_t_' . $col60 => [$col60, null], $hashed60 => [$col61, null]],
    ],
];

foreach (engines() as $engine => $open) {
    $mysql = $engine === 'mariadb';
    $root = sync_app($library);
    [$pdo, $connection] = $open($root);

    // First run creates everything, referenced tables first.
    $run = run_sync($root, $connection);
    T::same(['Created table authors', 'Created table t', 'Created table odd_defaults', 'Created table books',
        'Created table chickens', 'Created table eggs'], $run['log'], "$engine: creation order");
    T::same(null, $run['error'], "$engine: first run succeeds");
    foreach ($expectedColumns[$engine] as $table => $columns) {
        T::same($columns, Inspect::columns($pdo, $mysql, $table), "$engine: columns of $table");
    }
    foreach ($expectedIndexes[$engine] as $table => $indexes) {
        ksort($indexes);
        T::same($indexes, Inspect::uniqueIndexes($pdo, $mysql, $table), "$engine: unique indexes of $table");
    }
    $fkLong = 'fk_' . substr(md5('t.' . str_repeat('f', 56)), 0, 20);
    foreach ([
        'authors' => [['mentor' => 'authors'], ['fk_authors_mentor']],           // self lookup
        'books' => [['author' => 'authors'], ['fk_books_author']],               // target named in another case
        'chickens' => [[], []],                                                  // circular: first one has none
        'eggs' => [['chicken' => 'chickens'], ['fk_eggs_chicken']],
        't' => [[str_repeat('f', 55) => 't', str_repeat('f', 56) => 'authors'], [$fkLong, 'fk_t_' . str_repeat('f', 55)]],
    ] as $table => [$keys, $names]) {
        T::same($keys, Inspect::foreignKeys($pdo, $mysql, $table), "$engine: foreign keys of $table");
        T::same($names, Inspect::foreignKeyNames($pdo, $mysql, $table), "$engine: foreign key names of $table");
    }
    if (!$mysql) {
        T::same("CREATE TABLE `authors` (\n  `id` INTEGER PRIMARY KEY AUTOINCREMENT,\n  `name` VARCHAR(255) NOT NULL,\n"
            . "  `mentor` INTEGER,\n  CONSTRAINT `fk_authors_mentor` FOREIGN KEY (`mentor`) REFERENCES `authors` (`id`)\n)",
            Inspect::sqliteSql($pdo, 'authors'), 'sqlite: statement text of a new table');
    }
    T::true((bool) preg_match('/^[0-9a-f]{32}$/', (string) @file_get_contents($root . '/storage/schema.applied')),
        "$engine: stamp holds 32 hex digits");

    // Fast path: same schema, key and engine. On SQLite a connection to a file that is not a
    // database proves it: any query would fail.
    $run = run_sync($root, $connection);
    T::same([[], null], [$run['log'], $run['error']], "$engine: unchanged schema gives an empty log");
    if ($mysql) {
        T::same(0, $run['queries'], 'mariadb: unchanged schema issues no query');
    } else {
        file_put_contents($root . '/not-a-database', str_repeat('x', 4096));
        $run = run_sync($root, ['dsn' => 'sqlite:' . $root . '/not-a-database'] + $connection);
        T::same([[], null], [$run['log'], $run['error']], 'sqlite: unchanged schema issues no query');
    }
    $run = run_sync($root, ['key' => $connection['key'] . '-other'] + $connection);
    T::same([[], null], [$run['log'], $run['error']], "$engine: another connection key runs again, finds nothing missing");
    T::true(!$mysql || $run['queries'] > 0, "$engine: another connection key queries the database");
    $run = run_sync($root, $connection, true);
    T::same([[], null], [$run['log'], $run['error']], "$engine: force with nothing missing");
    T::true(!$mysql || $run['queries'] > 0, "$engine: force queries the database");

    // Data, then a grown schema: new fields (one in another letter case of an existing column),
    // timestamps, a new table, a removed field and a removed table.
    $pdo->exec("INSERT INTO authors (name) VALUES ('Ann'), ('Ann'), ('Bo')");
    $pdo->exec("INSERT INTO books (title, author, secret, summary) VALUES ('Dune', 1, 's', 'Sand')");
    $pdo->exec('INSERT INTO chickens (egg) VALUES (NULL)');
    $grown = $library;
    $grown[0]['fields'] = array_values(array_filter($grown[0]['fields'], static fn (array $f): bool => $f['name'] !== 'summary'));
    $grown[0]['fields'][] = field('Title', 'string');
    $grown[0]['fields'][] = field('isbn13', 'string', ['required' => true, 'length' => 13, 'default' => '']);
    $grown[0]['fields'][] = field('flag', 'boolean', ['default' => 'on']);
    $grown[0]['fields'][] = lookup('editor', 'authors');
    $grown[1]['fields'][] = field('email', 'email', ['unique' => true]);
    $grown[1]['fields'][0]['unique'] = true;   // authors.name holds 'Ann' twice
    $grown[1]['timestamps'] = true;
    $grown[2] = table('reviews', [lookup('book', 'books'), field('stars', 'integer', ['required' => true, 'default' => '3'])]);
    write_schema($root, $grown);

    $run = run_sync($root, $connection);
    $warning = 'WARNING: unique index on authors.name not created (duplicate values exist): ';
    T::same(null, $run['error'], "$engine: grown schema syncs");
    $log = $run['log'] ?? [];
    T::true(isset($log[0]) && str_starts_with($log[0], $warning), "$engine: duplicate values give the warning line");
    T::same(['Added column authors.email', 'Added unique index on authors.email', 'Added column authors.created_at',
        'Added column authors.updated_at', 'Added column books.isbn13', 'Added column books.flag', 'Added column books.editor',
        // A lookup gets an index; on MySQL its foreign key has one.
        ...($mysql ? [] : ['Added index on books.editor']), 'Created table reviews'], array_slice($log, 1), "$engine: grown schema log");
    $bookColumns = Inspect::columns($pdo, $mysql, 'books');
    $int = $mysql ? 'INT(11)' : 'INTEGER';
    T::same([
        'isbn13' => ['VARCHAR(13)', true, null],   // required, but added to existing rows
        'flag' => [$mysql ? 'TINYINT(1)' : 'INTEGER', false, '1'],
        'editor' => [$int, true, null],
    ], array_slice($bookColumns, -3, null, true), "$engine: added columns are relaxed and typed");
    T::true(isset($bookColumns['summary']) && !isset($bookColumns['Title']), "$engine: removed field stays, case variant not added");
    T::same(['author' => 'authors', 'editor' => 'authors'], Inspect::foreignKeys($pdo, $mysql, 'books'),
        "$engine: added lookup column references its table");
    T::same([['created_at', 'updated_at'], ['DATETIME', 'DATETIME'], [true, true]], [
        array_slice(array_keys(Inspect::columns($pdo, $mysql, 'authors')), -2),
        array_column(array_slice(Inspect::columns($pdo, $mysql, 'authors'), -2), 0),
        array_column(array_slice(Inspect::columns($pdo, $mysql, 'authors'), -2), 1),
    ], "$engine: timestamps added last and nullable");
    T::same(['uq_authors_email' => ['email', $mysql ? 190 : null]], Inspect::uniqueIndexes($pdo, $mysql, 'authors'),
        "$engine: unique index added, none on the duplicated column");
    T::same([['id' => 1, 'title' => 'Dune', 'summary' => 'Sand', 'flag' => 1, 'isbn13' => null]],
        array_map(static fn (array $r): array => array_map(static fn ($v) => is_numeric($v) ? (int) $v : $v, $r),
            $pdo->query('SELECT id, title, summary, flag, isbn13 FROM books')->fetchAll(PDO::FETCH_ASSOC)),
        "$engine: existing row kept, new columns take their defaults");
    T::same([['Ann', 'Ann', 'Bo'], 1], [
        $pdo->query('SELECT name FROM authors ORDER BY id')->fetchAll(PDO::FETCH_COLUMN),
        (int) $pdo->query('SELECT COUNT(*) FROM chickens')->fetchColumn(),
    ], "$engine: rows of other tables and of a table left out of the schema kept");

    // The warning does not block the stamp; force tries the index again.
    $run = run_sync($root, $connection);
    T::same([[], null], [$run['log'], $run['error']], "$engine: stamp written after a warning");
    $run = run_sync($root, $connection, true);
    T::same(1, count($run['log'] ?? []), "$engine: forced run logs one line");
    T::true(str_starts_with($run['log'][0] ?? '', $warning), "$engine: forced run tries the index again");
    $pdo->exec("UPDATE authors SET name = 'Cy' WHERE id = 2");
    $run = run_sync($root, $connection, true);
    T::same(['Added unique index on authors.name'], $run['log'], "$engine: index created once the duplicates are gone");

    // A failing statement propagates and leaves the stamp alone, so the next request retries.
    $stamp = (string) file_get_contents($root . '/storage/schema.applied');
    $grown[] = table('bad', [field('x', 'string', ['unique' => true]), field('y', 'string', ['unique' => true, 'name' => 'x'])]);
    write_schema($root, $grown);
    $run = run_sync($root, $connection);
    T::true($run['error'] !== null && $run['log'] === null, "$engine: refused statement propagates");
    T::same($stamp, (string) file_get_contents($root . '/storage/schema.applied'), "$engine: stamp kept after an error");
}

// No schema.json: no tables, entity() throws, sync lists the tables and writes the stamp.
$root = sync_app(null);
file_put_contents($root . '/entities.php', <<<'PHP'
<?php
declare(strict_types=1);
require __DIR__ . '/app/Core/Schema.php';
$pdo = new PDO('sqlite:' . __DIR__ . '/storage/database.sqlite', null, null, [PDO::ATTR_ERRMODE => PDO::ERRMODE_EXCEPTION]);
try {
    Schema::entity('books');
    $message = null;
} catch (RuntimeException $e) {
    $message = $e->getMessage();
}
echo json_encode([Schema::entities(), $message, Schema::sync($pdo, 'k'), is_file(__DIR__ . '/storage/schema.applied')]);
PHP);
exec(escapeshellarg(PHP_BINARY) . ' ' . escapeshellarg($root . '/entities.php'), $out);
T::same([[], 'Unknown entity in app/Config/schema.json: books', [], true], json_decode(implode('', $out), true),
    'no schema.json');
foreach (['{"entities": 5}', '[broken', "\xEF\xBB\xBF" . '{"entities": [{"id": "a", "fields": []}]}'] as $i => $text) {
    file_put_contents($root . '/app/Config/schema.json', $text);
    unlink($root . '/storage/schema.applied');
    $out = [];
    exec(escapeshellarg(PHP_BINARY) . ' ' . escapeshellarg($root . '/entities.php'), $out);
    $result = json_decode(implode('', $out), true);
    T::same($i === 2 ? ['Created table a'] : [], $result[2] ?? null, 'schema.json ' . json_encode($text));
}

// Column types and definitions, both engines, through the public operations.
require getenv('QB_SOURCE_DIR') . SCHEMA_TEMPLATE;
$sqlite = new PDO('sqlite::memory:');
$mysqlPdo = mariadb_start()->pdo();
foreach ([
    // field, MySQL definition, SQLite definition
    [field('title', 'string', ['length' => 120, 'required' => true, 'default' => 'Untitled']),
        "`title` VARCHAR(120) NOT NULL DEFAULT 'Untitled'", "`title` VARCHAR(120) NOT NULL DEFAULT 'Untitled'"],
    [['name' => 'n'], '`n` VARCHAR(255)', '`n` VARCHAR(255)'],
    [field('n', 'string', ['length' => 5000]), '`n` VARCHAR(1000)', '`n` VARCHAR(1000)'],
    [field('n', 'string', ['length' => -3]), '`n` VARCHAR(1)', '`n` VARCHAR(1)'],
    [field('n', 'phone', ['length' => '40']), '`n` VARCHAR(40)', '`n` VARCHAR(40)'],
    [field('n', 'integer', ['default' => '1e3']), '`n` INT DEFAULT 1e3', '`n` INTEGER DEFAULT 1e3'],
    [field('n', 'integer', ['default' => '7; DROP TABLE x']), '`n` INT', '`n` INTEGER'],
    [field('n', 'decimal', ['default' => '-2.5', 'required' => true]), '`n` DECIMAL(15,2) NOT NULL DEFAULT -2.5', '`n` DECIMAL(15,2) NOT NULL DEFAULT -2.5'],
    [field('n', 'boolean', ['default' => 'TRUE']), '`n` TINYINT(1) NOT NULL DEFAULT 1', '`n` INTEGER NOT NULL DEFAULT 1'],
    [field('n', 'boolean', ['default' => 'no']), '`n` TINYINT(1) NOT NULL DEFAULT 0', '`n` INTEGER NOT NULL DEFAULT 0'],
    [field('n', 'text', ['default' => 'a', 'required' => true]), '`n` TEXT NOT NULL', "`n` TEXT NOT NULL DEFAULT 'a'"],
    [field('n', 'password', ['default' => 'a', 'required' => true]), '`n` VARCHAR(255)', '`n` VARCHAR(255)'],
    [lookup('n', 'a', ['default' => '1', 'required' => true]), '`n` INT NOT NULL', '`n` INTEGER NOT NULL'],
    [field('n', 'time', ['default' => '08:30']), "`n` TIME DEFAULT '08:30'", "`n` TIME DEFAULT '08:30'"],
    [field('we`ird', 'url', ['default' => "a'b\\c"]), "`we``ird` VARCHAR(255) DEFAULT 'a\\'b\\\\c'", "`we``ird` VARCHAR(255) DEFAULT 'a''b\\c'"],
] as [$f, $mysqlDefinition, $sqliteDefinition]) {
    T::same($sqliteDefinition, Schema::columnDefinition($sqlite, $f, false, false), 'sqlite definition of ' . json_encode($f));
    T::same($mysqlDefinition, Schema::columnDefinition($mysqlPdo, $f, true, false), 'mysql definition of ' . json_encode($f));
}
T::same('`title` VARCHAR(120) DEFAULT \'Untitled\'', Schema::columnDefinition($sqlite, $library[0]['fields'][0], false, true),
    'forAlter drops NOT NULL');
T::same([false, true], [Schema::isMysql($sqlite), Schema::isMysql($mysqlPdo)], 'isMysql');

T::finish();
