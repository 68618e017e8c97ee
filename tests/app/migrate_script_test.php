<?php
// bin/migrate.php on the command line: sync log, migrations, failures with exit code 1.
declare(strict_types=1);

require_once __DIR__ . '/support/core_app_tree.php';

$root = core_app_tree();
$migrate = $root . '/bin/migrate.php';
$env = ['DB_DATABASE' => $root . '/storage/app.sqlite'];
file_put_contents($root . '/.env', "QB_SYNC_LOG=Created table books,Added column books.title\n");

[$code, $out, $err] = run_php($migrate, $env);
T::same([0, ''], [$code, $err], 'first run succeeds');
T::same("Created table books\nAdded column books.title\nSchema synchronised with app/Config/schema.json.\n"
    . "Migration run complete.\n", $out, 'sync log printed; .env applied on the command line');

unlink($root . '/.env');
file_put_contents($root . '/database/migrations/2026_01_b.php', "<?php return \"INSERT INTO t VALUES (1)\";");
file_put_contents($root . '/database/migrations/2026_01_a.php', "<?php \$root = 'clobbered'; return 'CREATE TABLE IF NOT EXISTS t (n INTEGER)';");
[$code, $out, $err] = run_php($migrate, $env);
T::same([0, ''], [$code, $err], 'migrations succeed');
T::same("Schema already up to date.\nApplied: 2026_01_a.php\nApplied: 2026_01_b.php\nMigration run complete.\n",
    $out, 'migrations applied in name order');

file_put_contents($root . '/database/migrations/2026_01_c.php', '<?php // nothing returned');
file_put_contents($root . '/database/migrations/2026_01_d.php', "<?php return 'CREATE TABLE never (n INTEGER)';");
[$code, $out, $err] = run_php($migrate, $env);
T::same(1, $code, 'a migration without SQL fails the run');
T::same("FAILED: 2026_01_c.php: Migration did not return SQL.\n", $err, 'failure names the file');
T::true(!str_contains($out, '2026_01_d.php') && !str_contains($out, 'Migration run complete.'), 'later files are not run');

file_put_contents($root . '/database/migrations/2026_01_c.php', "<?php return 'NOT SQL';");
[$code, , $err] = run_php($migrate, $env);
T::same(1, $code, 'an SQL error fails the run');
T::contains('FAILED: 2026_01_c.php: SQLSTATE', $err, 'SQL error message');

[$code, $out, $err] = run_php($migrate, $env + ['QB_SYNC_FAILURE' => 'no server']);
T::same([1, '', "DATABASE ERROR: no server\n"], [$code, $out, $err], 'synchronisation failure');

T::finish();
