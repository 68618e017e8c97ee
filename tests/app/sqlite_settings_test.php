<?php
// The SQLite connection of a generated application: write-ahead logging, a write that waits for
// another one instead of failing, long texts limited as on MySQL/MariaDB, and a database on a
// read-only mount that is still read while every change is refused with a message.
declare(strict_types=1);

require_once __DIR__ . '/support/crud_site.php';

const READ_ONLY = 'The database is read-only on this server: records can be read, but nothing can be added, changed or deleted.';

$site = crud_site('sqlite', __DIR__ . '/projects/crud_catalogue.json');
$pdo = new PDO('sqlite:' . $site->env['DB_DATABASE'], null, null, [PDO::ATTR_ERRMODE => PDO::ERRMODE_EXCEPTION]);
T::same('wal', $pdo->query('PRAGMA journal_mode')->fetchColumn(), 'the database is in WAL mode');

// Another connection holds the write lock for a second; the add waits for it and succeeds.
$pdo->exec('BEGIN IMMEDIATE');
$pdo->exec("INSERT INTO `authors` (`full_name`, `secret`) VALUES ('Holder', 'x')");
$socket = $site->http->send('POST', '/authors/store', http_build_query(['_csrf' => $site->token('/authors/create'),
    'full_name' => 'Waiter', 'secret' => 'pw']), 'application/x-www-form-urlencoded');
usleep(1000000);
$pdo->exec('COMMIT');
T::same(302, $site->http->receive($socket)->status, 'an add during another write waits and is stored');
T::same(1, count($site->rows("SELECT 1 FROM `authors` WHERE `full_name` = 'Waiter'")), 'the waiting add stored once');

// A long text holds 65,535 bytes, as on MySQL/MariaDB.
$tooLong = 'Bio is too long: at most 65535 bytes can be stored (a character takes 1 to 4 bytes).';
foreach ([[str_repeat('a', 65535), 302], [str_repeat('a', 65534) . "\u{e9}", 200], [str_repeat('a', 65536), 200]] as $i => [$bio, $status]) {
    $response = $site->submit('/authors/store', ['full_name' => "Bio $i", 'secret' => 'pw', 'bio' => $bio]);
    T::same($status, $response->status, 'a long text of ' . strlen($bio) . ' bytes: ' . ($status === 302 ? 'stored' : 'refused'));
    if ($status === 200) {
        T::contains($tooLong, $response->body, 'a long text of ' . strlen($bio) . ' bytes: the message');
    }
}

// The database's folder mounted read-only (a mount namespace of the server's own).
$dbDir = dirname($site->env['DB_DATABASE']);
$rowsBefore = $pdo->query('SELECT * FROM `authors` ORDER BY `id`')->fetchAll(PDO::FETCH_ASSOC);
// The last connection to close writes the log into the database file.
$site->stop();
$pdo = null;
$port = AppServer::freePort();
$script = 'mount --bind "$1" "$1" && mount -o remount,bind,ro "$1" && exec "$2" -S "127.0.0.1:$3" -t "$4"';
$server = proc_open(['unshare', '-m', 'sh', '-c', $script, 'sh', $dbDir, PHP_BINARY, (string) $port, $site->dir . '/public'],
    [0 => ['file', '/dev/null', 'r'], 1 => ['file', '/dev/null', 'w'], 2 => ['pipe', 'w']], $pipes, null, array_merge(getenv(), $site->env));
$client = new HttpClient("http://127.0.0.1:$port");
$up = false;
for ($i = 0; $i < 100 && !$up; $i++) {
    usleep(50000);
    $up = @fsockopen('127.0.0.1', $port) !== false;
}
if (!$up) {
    // Mount namespaces need privileges this machine may not grant; say so rather than pass.
    echo 'SKIPPED the read-only mount: ', trim((string) stream_get_contents($pipes[2])), PHP_EOL;
} else {
    $list = $client->get('/authors');
    T::same(200, $list->status, 'read-only: the list is served');
    T::contains('Waiter', $list->body, 'read-only: with its rows');
    $token = $site->token('/authors/create', $client);
    $add = $client->post('/authors/store', ['_csrf' => $token, 'full_name' => 'Refused', 'secret' => 'pw']);
    T::same([503, READ_ONLY], [$add->status, $add->body], 'read-only: an add is refused with the message');
    $client->post('/authors/delete', ['_csrf' => $token, 'id' => (string) $rowsBefore[0]['id']]);
    T::contains(READ_ONLY, $client->get('/authors')->body, 'read-only: a delete is refused with the message');
}
proc_terminate($server);
proc_close($server);
T::same($rowsBefore, (new PDO('sqlite:' . $site->env['DB_DATABASE']))->query('SELECT * FROM `authors` ORDER BY `id`')->fetchAll(PDO::FETCH_ASSOC),
    'read-only: nothing changed');

T::finish();
