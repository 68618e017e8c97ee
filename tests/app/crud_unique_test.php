<?php
// Unique values refused by the database's unique index end as the field's message, on SQLite and
// MariaDB: values sharing MariaDB's 190-character index prefix, and saves of the same value at
// the same moment (held back by another save's open transaction, or simply sent together).
declare(strict_types=1);

require_once __DIR__ . '/support/crud_site.php';

$prefix = str_repeat('p', 190);
$prefixMessage = 'Handle must differ from every other record&#039;s within its first 190 characters.';
$duplicateMessage = 'This Handle already exists.';

foreach (crud_engines() as $engine) {
    $site = crud_site($engine, __DIR__ . '/projects/crud_members.json', ['PHP_CLI_SERVER_WORKERS' => '8']);
    $at = "[$engine] ";
    $pdo = $site->db();
    $site->add('members', ['handle' => $prefix . 'one']);
    $otherId = $site->add('members', ['handle' => 'other']);
    $handleOf = static fn (int $id): string => $site->rows('SELECT `handle` FROM `members` WHERE `id` = ?', [$id])[0]['handle'];

    // [case, action, form, message on SQLite, message on MariaDB]; null means saved.
    $cases = [
        ['same first 190 characters, added', '/members/store', ['handle' => $prefix . 'two'], null, $prefixMessage],
        ['same first 190 characters, edited', '/members/update', ['id' => (string) $otherId, 'handle' => $prefix . 'three'], null, $prefixMessage],
        ['the same value, added', '/members/store', ['handle' => $prefix . 'one'], $duplicateMessage, $duplicateMessage],
        ['the same value, edited', '/members/update', ['id' => (string) $otherId, 'handle' => $prefix . 'one'], $duplicateMessage, $duplicateMessage],
    ];
    foreach ($cases as [$case, $action, $form, $sqliteMessage, $mariadbMessage]) {
        $message = $engine === 'sqlite' ? $sqliteMessage : $mariadbMessage;
        $before = $site->rows('SELECT * FROM `members` ORDER BY `id`');
        $response = $site->submit($action, $form, isset($form['id']) ? "/members/edit?id=$otherId" : null);
        if ($message === null) {
            T::same(302, $response->status, $at . "$case: saved");
            T::same(1, count($site->rows('SELECT 1 FROM `members` WHERE `handle` = ?', [$form['handle']])), $at . "$case: stored once");
            $pdo->prepare('UPDATE `members` SET `handle` = ? WHERE `id` = ?')->execute(['other', $otherId]);
            $pdo->prepare('DELETE FROM `members` WHERE `handle` = ?')->execute([$prefix . 'two']);
            continue;
        }
        T::same(200, $response->status, $at . "$case: refused with the form");
        T::contains('<div class="invalid-feedback d-block">' . $message . '</div>', $response->body, $at . "$case: message");
        T::contains('value="' . $form['handle'] . '"', $response->body, $at . "$case: the entered value comes back");
        T::same($before, $site->rows('SELECT * FROM `members` ORDER BY `id`'), $at . "$case: nothing written");
    }
    T::same('other', $handleOf($otherId), $at . 'the edited row keeps its value');

    // Eight visitors save the same new value at once. "held": another save has stored it in a
    // transaction that commits only after all eight have passed the application's own check.
    $visitors = [];
    for ($i = 0; $i < 8; $i++) {
        $client = $site->visitor();
        $visitors[] = [$client, $site->token('/members/create', $client)];
    }
    $bursts = ['held' => array_fill(0, 8, 'message'), 'sent together' => ['302', ...array_fill(0, 7, 'message')]];
    foreach ($bursts as $burst => $expected) {
        $value = 'burst ' . $burst;
        if ($burst === 'held') {
            $pdo->beginTransaction();
            $pdo->prepare('INSERT INTO `members` (`handle`) VALUES (?)')->execute([$value]);
        }
        $sent = [];
        foreach ($visitors as [$client, $token]) {
            $sent[] = [$client, $client->send('POST', '/members/store', http_build_query(['_csrf' => $token, 'handle' => $value]),
                'application/x-www-form-urlencoded')];
        }
        if ($burst === 'held') {
            usleep(1500000);
            $pdo->commit();
        }
        $outcomes = [];
        foreach ($sent as [$client, $socket]) {
            $response = $client->receive($socket);
            $outcomes[] = $response->status === 200 && str_contains($response->body, '<div class="invalid-feedback d-block">' . $duplicateMessage . '</div>')
                ? 'message' : (string) $response->status;
        }
        sort($outcomes);
        T::same($expected, $outcomes, $at . "$burst: one save stored, every other one answered with the message");
        T::same(1, count($site->rows('SELECT 1 FROM `members` WHERE `handle` = ?', [$value])), $at . "$burst: the value stored once");
    }

    $site->stop();
}

T::finish();
