<?php
// The dashboard of an application whose database cannot be opened, over HTTP on SQLite and
// MariaDB: with APP_DEBUG=false visitors read "Database not ready" and a hint for the owner, never
// connection details or server paths; the detail goes to the log. With APP_DEBUG=true the
// dashboard shows it to a request from this machine, never to one a proxy forwarded.
declare(strict_types=1);

require_once __DIR__ . '/support/crud_site.php';

const HINT = 'Database not ready. The error was written to the PHP error log. Set APP_DEBUG=true in .env to show details.';

foreach (crud_engines() as $engine) {
    $dir = generate_crud($engine, __DIR__ . '/projects/crud_catalogue.json');
    if ($engine === 'sqlite') {
        // A folder that cannot be created: a file stands in its place.
        $blocker = temp_dir('qb-private-') . '/blocker';
        file_put_contents($blocker, '');
        $env = ['DB_DATABASE' => $blocker . '/app.sqlite'];
        $details = ['Cannot create the SQLite directory: ' . $blocker];
    } else {
        $port = (string) AppServer::freePort();
        $env = ['DB_HOST' => '127.0.0.1', 'DB_PORT' => $port, 'DB_DATABASE' => 'clinic', 'DB_USERNAME' => 'qb'];
        $details = ['Cannot connect to MySQL/MariaDB database "clinic" on 127.0.0.1:' . $port . ' as "qb"'];
    }
    $secrets = array_merge($details, array_values($env), [$dir]);

    foreach ([['false', null], ['true', null], ['true', '203.0.113.7']] as [$debug, $forwardedFor]) {
        $what = "$engine, APP_DEBUG=$debug" . ($forwardedFor === null ? '' : ', forwarded by a proxy');
        $server = new AppServer($dir . '/public', $env + ['APP_DEBUG' => $debug]);
        $client = new HttpClient($server->base());
        $client->setHeader('X-Forwarded-For', $forwardedFor);
        $page = $client->get('/');
        T::same(200, $page->status, "$what: dashboard status");
        T::same(4, substr_count($page->body, 'Records &middot;'), "$what: the cards are shown without counts");
        if ($debug === 'false' || $forwardedFor !== null) {
            T::contains('<div class="alert alert-warning">' . HINT . '</div>', $page->body, "$what: warning with the hint");
            $shown = array_values(array_filter($secrets, static fn (string $secret): bool => str_contains($page->body, $secret)));
            T::same([], $shown, "$what: no connection details or paths shown");
        } else {
            T::contains('<div class="alert alert-warning">Database not ready: ' . htmlspecialchars($details[0], ENT_QUOTES), $page->body,
                "$what: the detail is shown");
        }
        T::contains('[Kettlebourne] Database not ready: ', $server->logText(), "$what: logged");
        T::contains($details[0], $server->logText(), "$what: the detail is logged");
        $server->stop();
    }
}

T::finish();
