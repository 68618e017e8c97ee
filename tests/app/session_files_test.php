<?php
// Sessions only where something is kept: 1,000 requests without cookies to a list, a content page,
// the dashboard and a 404 leave no session file; an add keeps one for its message, and showing
// the message removes it again.
declare(strict_types=1);

require_once __DIR__ . '/support/crud_site.php';

$sessions = temp_dir('qb-sessions-');
file_put_contents("$sessions/sessions.ini", "session.save_path = \"$sessions\"\n");
$site = crud_site('sqlite', example('bookshop.json'), ['PHP_CLI_SERVER_WORKERS' => '4', 'PHP_INI_SCAN_DIR' => ':' . $sessions]);
$files = static fn (): array => glob("$sessions/sess_*") ?: [];

$paths = [];
for ($i = 0; $i < 250; $i++) {
    array_push($paths, '/books', '/about', '/', '/no-such-page');
}
$statuses = array_count_values(array_map(static fn (Response $r): int => $r->status, $site->http->burst($paths)));
ksort($statuses);
T::same([200 => 750, 404 => 250], $statuses, '1,000 requests answered');
T::same([], $files(), 'no session file for requests that keep nothing');

$site->add('categories', ['title' => 'Poetry']);
T::same(1, count($files()), 'an add keeps a session for its message');
T::contains('Categories: record added.', $site->http->get('/categories')->body, 'the message is shown');
T::same([], $files(), 'the session is removed once its message is shown');
T::same(null, $site->http->cookie('PHPSESSID'), 'no default session cookie either');

T::finish();
