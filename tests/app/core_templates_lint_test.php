<?php
// Every PHP template of the configuration, core, server and migration files passes php -l.
declare(strict_types=1);

require_once __DIR__ . '/support/testing.php';

$templates = getenv('QB_SOURCE_DIR') . '/templates/';
$files = [
    'app/Config/app.head.php', 'app/Config/database.sqlite.php', 'app/Config/database.mysql.php',
    'app/Core/Url.php', 'app/Core/Router.php', 'app/Core/Controller.php', 'app/Core/View.php',
    'app/Core/Csrf.php', 'app/Core/Session.php', 'app/Core/PhpCache.php', 'app/Controllers/HomeController.php',
    'public/index.php', 'index.php', 'bin/migrate.php', 'bin/doctor.php',
];
foreach ($files as $file) {
    exec(escapeshellarg(PHP_BINARY) . ' -l ' . escapeshellarg($templates . $file) . ' 2>&1', $output, $code);
    T::same(0, $code, "php -l $file: " . implode("\n", $output));
    $output = [];
}
T::finish();
