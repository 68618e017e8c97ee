<?php
// The SQLite connection of app/Config/database.php: one shared connection, one synchronisation,
// migrations in name order, the folder created, the skip flag honoured.
declare(strict_types=1);

require_once __DIR__ . '/support/core_app_tree.php';

$root = core_app_tree();
file_put_contents($root . '/database/migrations/b_fill.php', "<?php return \"INSERT INTO notes (text) VALUES ('b')\";");
file_put_contents($root . '/database/migrations/a_create.php', "<?php return 'CREATE TABLE IF NOT EXISTS notes (text TEXT)';");
file_put_contents($root . '/database/migrations/c_nothing.php', '<?php return null;');
file_put_contents($root . '/database/migrations/d_blank.php', "<?php return \" \\n \";");
file_put_contents($root . '/database/migrations/notes.txt', 'SELECT broken');

$probe = $root . '/probe.php';
file_put_contents($probe, <<<'PHP'
<?php
declare(strict_types=1);
$GLOBALS['__ktb_skip_auto_sync'] = getenv('QB_SKIP') ?: null;
$first = require __DIR__ . '/app/Config/database.php';
$second = require __DIR__ . '/app/Config/database.php';
echo json_encode([
    'same' => $first === $second && $first === $GLOBALS['__ktb_pdo'],
    'key' => $GLOBALS['__ktb_connection_key'],
    'calls' => Schema::$calls,
    'notes' => $first->query("SELECT name FROM sqlite_master WHERE name = 'notes'")->fetchAll()
        ? $first->query('SELECT text FROM notes')->fetchAll(PDO::FETCH_COLUMN) : null,
    'foreignKeys' => (int) $first->query('PRAGMA foreign_keys')->fetchColumn(),
    'fetchMode' => $first->getAttribute(PDO::ATTR_DEFAULT_FETCH_MODE) === PDO::FETCH_ASSOC,
]);
PHP);

$database = $root . '/data/nested/app.sqlite';
[$code, $out, $err] = run_php($probe, ['DB_DATABASE' => $database]);
T::same([0, ''], [$code, $err], 'connects');
T::same([
    'same' => true,
    'key' => 'sqlite:' . $database,
    'calls' => [['sqlite:' . $database, false]],
    'notes' => ['b'],
    'foreignKeys' => 1,
    'fetchMode' => true,
], json_decode($out, true), 'one connection, one sync, migrations in name order');
T::true(is_file($database), 'database created in a new folder');

[$code, $out] = run_php($probe, ['DB_DATABASE' => '']);
T::same('sqlite:' . $root . '/storage/database.sqlite', json_decode($out, true)['key'] ?? null,
    'empty DB_DATABASE uses storage/database.sqlite');
T::true(is_file($root . '/storage/database.sqlite'), 'default database file created');

[$code, $out] = run_php($probe, ['DB_DATABASE' => $root . '/skip.sqlite', 'QB_SKIP' => '1']);
$skipped = json_decode($out, true);
T::same([[], null], [$skipped['calls'], $skipped['notes']], 'skip flag: no sync and no migrations');

file_put_contents($root . '/blocker', '');
[$code, $out, $err] = run_php($probe, ['DB_DATABASE' => $root . '/blocker/db.sqlite']);
T::contains('Cannot create the SQLite directory: ' . $root . '/blocker', $err, 'folder that cannot be created');

T::finish();
