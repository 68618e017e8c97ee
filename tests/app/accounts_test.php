<?php
// Sign-in, roles and rights of a generated application, on SQLite and MariaDB, as its users and as
// an attacker would try them: protected routes, sessions, form tokens, crafted requests, rows of
// other accounts, disabled accounts, changed roles and the command line.
declare(strict_types=1);

require_once __DIR__ . '/support/accounts.php';

const PASSWORD = 'correct horse battery';
const LOGIN = '/account/login';

foreach (crud_engines() as $engine) {
    $at = "[$engine] ";
    $dir = generate_crud($engine, example('lending-library.json'));
    // The sessions live in a folder of the test's own, so it can age one.
    $sessions = temp_dir('qb-sessions-');
    file_put_contents("$sessions/sessions.ini", "session.save_path = \"$sessions\"\n");
    $site = serve_crud($engine, $dir, ['APP_TRUSTED_PROXY' => '', 'PHP_INI_SCAN_DIR' => ':' . $sessions]);
    $anonymous = $site->visitor();
    $pages = [];  // every page body fetched, to look for password hashes at the end

    T::contains('php bin/users.php add EMAIL --role admin', $anonymous->get(LOGIN)->body, $at . 'without accounts the sign-in page says how to make the first');

    // The command line: wrong invocations exit with 2 and the usage, refusals with 1.
    $cliCases = [
        [[], '', 2, 'Name a command.'],
        [['remove', 'a@b.example'], '', 2, 'Unknown command: remove'],
        [['add', 'a@b.example'], '', 2, 'Wrong arguments for add.'],
        [['add', 'a@b.example', '--rol', 'admin'], '', 2, 'Wrong arguments for add.'],
        [['add', 'not-an-address', '--role', 'admin'], PASSWORD . "\n", 1, 'Enter a valid email address.'],
        [['add', 'a@b.example', '--role', 'owner'], PASSWORD . "\n", 1, 'Choose one of the roles: admin, librarian, member.'],
        [['add', 'a@b.example', '--role', 'admin'], "short\n", 1, 'The password must have at least 12 characters.'],
        [['set-role', 'nobody@b.example', 'member'], '', 1, 'No account has the email address nobody@b.example.'],
    ];
    foreach ($cliCases as [$args, $stdin, $status, $message]) {
        [$code, , $err] = users_cli($site, $args, $stdin);
        T::same($status, $code, $at . 'users.php ' . implode(' ', $args) . ': exit status');
        T::contains($message, $err, $at . 'users.php ' . implode(' ', $args) . ': says why');
        if ($status === 2) {
            T::contains('Usage: php bin/users.php', $err, $at . 'users.php ' . implode(' ', $args) . ': usage');
        }
    }
    $accounts = ['Admin@Library.example' => 'admin', 'lib@library.example' => 'librarian', 'ann@library.example' => 'member',
        'bob@library.example' => 'member', 'cat@library.example' => 'member'];
    foreach ($accounts as $email => $role) {
        add_account($site, $email, $role, PASSWORD);
    }
    [$code, $out] = users_cli($site, ['list']);
    T::same([0, "admin@library.example\tadmin\tactive\nann@library.example\tmember\tactive\nbob@library.example\tmember\tactive\n"
        . "cat@library.example\tmember\tactive\nlib@library.example\tlibrarian\tactive\n"], [$code, $out], $at . 'users.php list');
    T::same(1, users_cli($site, ['add', 'ann@library.example', '--role', 'member'], PASSWORD . "\n")[0], $at . 'an address is added once');
    $hashes = array_column($site->rows('SELECT `password_hash` FROM `_app_users`'), 'password_hash');
    T::true(count($hashes) === 5 && !in_array(PASSWORD, $hashes, true) && str_starts_with($hashes[0], '$'), $at . 'passwords are stored hashed');

    // Anonymous: every protected page sends to the sign-in page, every protected POST is refused.
    foreach (['/', '/books', '/books/create', '/books/edit?id=1', '/books/lookup?field=author_id', '/loans', '/account/password', '/account/users'] as $path) {
        $response = $anonymous->get($path);
        T::same([302, '/account/login?' . http_build_query(['next' => explode('?', $path)[0]])], [$response->status, $response->header('location')],
            $at . "anonymous GET $path goes to the sign-in page");
    }
    foreach (['/books/store', '/books/update', '/books/delete', '/account/password', '/account/users/store', '/account/users/update'] as $path) {
        T::same(401, $anonymous->post($path, ['id' => '1', 'title' => 'x'])->status, $at . "anonymous POST $path refused");
    }
    T::same(200, $anonymous->get('/about')->status, $at . 'a content page stays public');

    // Signing in: a wrong password and an unknown account get the same answer; the session id changes.
    $visitor = $site->visitor();
    $answers = [];
    foreach (['ann@library.example' => 'wrong password!!', 'nobody@library.example' => PASSWORD] as $email => $password) {
        $response = sign_in($site, $visitor, $email, $password);
        $answers[] = [$response->status, preg_replace('~value="[0-9a-f]{32}\.[0-9a-f]{64}"~', '', str_replace(htmlspecialchars($email), '', $response->body))];
    }
    T::same($answers[0], $answers[1], $at . 'a wrong password and an unknown account get the same answer');
    T::contains('The email address or password is wrong.', $answers[0][1], $at . 'a refused sign-in says so');
    T::same(null, $visitor->cookie(session_cookie_name()), $at . 'a refused sign-in keeps no session');
    $response = sign_in($site, $visitor, 'ANN@library.example', PASSWORD, '/loans');
    T::same([302, '/loans'], [$response->status, $response->header('location')], $at . 'signed in, back to the page asked for');
    $before = $visitor->cookie(session_cookie_name());
    T::true($before !== null, $at . 'a sign-in starts a session');
    $again = $visitor->post(LOGIN, ['_csrf' => $site->token('/loans', $visitor), 'email' => 'ann@library.example', 'password' => PASSWORD]);
    T::same(302, $again->status, $at . 'signed in again');
    T::true(!in_array($visitor->cookie(session_cookie_name()), [null, $before], true), $at . 'the session id changes at sign-in');
    foreach (['//evil.example/', 'https://evil.example/', '/\\evil.example'] as $next) {
        $client = $site->visitor();
        T::same('/', sign_in($site, $client, 'bob@library.example', PASSWORD, $next)->header('location'), $at . "no redirect to $next");
    }

    // A session id planted before sign-in is never adopted.
    $victim = $site->visitor();
    $victim->setCookie(session_cookie_name(), str_repeat('a', 32));
    sign_in($site, $victim, 'bob@library.example', PASSWORD);
    T::true($victim->cookie(session_cookie_name()) !== str_repeat('a', 32), $at . 'a fixated session id is replaced');

    // Forms without their token are refused, also the sign-in form.
    $noToken = $site->visitor();
    T::same(403, $noToken->post(LOGIN, ['email' => 'ann@library.example', 'password' => PASSWORD])->status, $at . 'sign-in without a token refused');
    $admin = signed_in($site, 'admin@library.example', PASSWORD);
    T::same(403, $admin->post('/authors/store', ['full_name' => 'No token'])->status, $at . 'an add without a token refused');

    // Rights: what each role may do, by crafted requests and by the buttons shown.
    $librarian = signed_in($site, 'lib@library.example', PASSWORD);
    $ann = $visitor;
    $bob = signed_in($site, 'bob@library.example', PASSWORD);
    $post = static fn (HttpClient $client, string $path, array $form, string $formPage = '/authors')
        => $client->post($path, ['_csrf' => $site->token($formPage, $client)] + $form);
    T::same(302, $post($librarian, '/authors/store', ['full_name' => 'Ursula'], '/authors/create')->status, $at . 'librarian adds an author');
    T::same(302, $post($librarian, '/books/store', ['title' => 'The Dispossessed', 'author_id' => '1'], '/books/create')->status, $at . 'librarian adds a book');
    $bookId = (int) $site->rows('SELECT MAX(`id`) AS id FROM `books`')[0]['id'];
    $booksBefore = $site->rows('SELECT * FROM `books`');
    $memberToken = $site->token('/loans/create', $ann);
    foreach ([['GET', '/books/create'], ['POST', '/books/store'], ['GET', "/books/edit?id=$bookId"], ['POST', '/books/update'],
              ['POST', '/books/delete'], ['GET', '/staff'], ['GET', '/account/users'], ['POST', '/account/users/store']] as [$method, $path]) {
        $response = $method === 'GET' ? $ann->get($path) : $ann->post($path, ['_csrf' => $memberToken, 'id' => (string) $bookId, 'title' => 'Mine',
            'email' => 'x@y.example', 'role' => 'admin', 'password' => PASSWORD]);
        T::same(403, $response->status, $at . "member: $method $path refused");
    }
    T::same(403, $librarian->post('/books/delete', ['_csrf' => $site->token('/books', $librarian), 'id' => (string) $bookId])->status,
        $at . 'librarian: delete refused');
    T::same($booksBefore, $site->rows('SELECT * FROM `books`'), $at . 'refused requests changed no book');
    $buttons = static fn (string $body): array => [str_contains($body, '>Add new</a>'), str_contains($body, '>Edit</a>'), str_contains($body, '>Delete</button>')];
    T::same([false, false, false], $buttons($pages[] = $ann->get('/books')->body), $at . 'member sees no buttons on books');
    T::same([true, true, false], $buttons($pages[] = $librarian->get('/books')->body), $at . 'librarian sees add and edit on books');
    T::same([true, true, true], $buttons($pages[] = $admin->get('/books')->body), $at . 'admin sees every button');
    $nav = $pages[] = $ann->get('/')->body;
    T::true(str_contains($nav, '>Books</a>') && !str_contains($nav, '>Staff</a>') && !str_contains($nav, '>Accounts</a>'), $at . 'member: navigation without staff and accounts');

    // Own records only: a member's rows are invisible and unreachable to another member.
    $post($librarian, '/staff/store', ['name' => 'Desk'], '/staff');
    $post($admin, '/staff/store', ['name' => 'Desk'], '/staff/create');
    T::same(302, $post($ann, '/reading_lists/store', ['title' => 'Ann secret list'], '/reading_lists/create')->status, $at . 'ann adds a list');
    $annList = (int) $site->rows('SELECT MAX(`id`) AS id FROM `reading_lists`')[0]['id'];
    T::same(302, $post($ann, '/loans/store', ['book_id' => (string) $bookId, 'list_id' => (string) $annList, 'note' => 'Ann loan'], '/loans/create')->status, $at . 'ann adds a loan');
    $annLoan = (int) $site->rows('SELECT MAX(`id`) AS id FROM `loans`')[0]['id'];
    T::same($site->rows("SELECT `id` FROM `_app_users` WHERE `email` = 'ann@library.example'")[0]['id'],
        $site->rows('SELECT `created_by` FROM `loans` WHERE `id` = ?', [$annLoan])[0]['created_by'], $at . 'the loan records its creator');
    $bobToken = $site->token('/loans/create', $bob);
    $ownCases = [
        ['list', $bob->get('/loans')->body, false],
        ['search', $bob->get('/loans?q=Ann')->body, false],
        ['list of lists', $bob->get('/reading_lists')->body, false],
        ['lookup search', $bob->get('/loans/lookup?field=list_id&q=Ann')->body, false],
        ['add form choices', $bob->get('/loans/create')->body, false],
        ['librarian list', $librarian->get('/loans')->body, true],
    ];
    foreach ($ownCases as [$case, $body, $visible]) {
        $pages[] = $body;
        T::same($visible, str_contains($body, 'Ann loan') || str_contains($body, 'Ann secret list'), $at . "own records only: $case");
    }
    T::same(404, $bob->get("/loans/edit?id=$annLoan")->status, $at . "another member's loan: edit is 404");
    T::same(404, $bob->post('/loans/update', ['_csrf' => $bobToken, 'id' => (string) $annLoan, 'book_id' => (string) $bookId])->status, $at . "another member's loan: update is 404");
    T::same(404, $bob->post('/reading_lists/delete', ['_csrf' => $bobToken, 'id' => (string) $annList])->status, $at . "another member's list: delete is 404");
    T::contains('The selected Reading list no longer exists.', $bob->post('/loans/store', ['_csrf' => $bobToken, 'book_id' => (string) $bookId, 'list_id' => (string) $annList])->body,
        $at . "another member's list cannot be linked by id");
    T::same('{"results":[]}', $bob->get('/loans/lookup?field=handled_by&q=')->body, $at . 'a lookup lists nothing of a table the account may not view');
    T::contains('Desk', $librarian->get('/loans/lookup?field=handled_by&q=De')->body, $at . 'the librarian may look up staff');
    T::same(1, count($site->rows('SELECT 1 FROM `loans` WHERE `id` = ? AND `note` = ?', [$annLoan, 'Ann loan'])), $at . "ann's loan unchanged");

    // Disabling an account ends its sessions; a role change applies on the next request.
    $adminToken = $site->token('/account/users', $admin);
    $bobId = (int) $site->rows("SELECT `id` FROM `_app_users` WHERE `email` = 'bob@library.example'")[0]['id'];
    T::same(302, $admin->post('/account/users/update', ['_csrf' => $adminToken, 'id' => (string) $bobId, 'role' => 'member', 'disabled' => '1'])->status, $at . 'admin disables bob');
    T::same(302, $bob->get('/loans')->status, $at . 'a disabled account is signed out on its next request');
    T::same(200, sign_in($site, $site->visitor(), 'bob@library.example', PASSWORD)->status, $at . 'a disabled account cannot sign in');
    T::same(200, $librarian->get('/staff')->status, $at . 'librarian sees staff');
    T::same(0, users_cli($site, ['set-role', 'lib@library.example', 'member'])[0], $at . 'set-role');
    T::same(403, $librarian->get('/staff')->status, $at . 'the new role applies on the next request');
    $self = $admin->post('/account/users/update', ['_csrf' => $adminToken,
        'id' => (string) $site->rows("SELECT `id` FROM `_app_users` WHERE `role` = 'admin'")[0]['id'], 'role' => 'member']);
    T::contains('You cannot take away your own administrator role.', $self->body, $at . 'an administrator keeps the role');

    // Passwords: changed by their owner (other sessions end), reset on the command line.
    $annElsewhere = signed_in($site, 'ann@library.example', PASSWORD);
    $change = static fn (array $form) => $ann->post('/account/password', ['_csrf' => $site->token('/account/password', $ann)] + $form);
    T::contains('The password must have at least 12 characters.', $change(['current_password' => PASSWORD, 'new_password' => 'too short', 'repeat_password' => 'too short'])->body, $at . 'a short new password refused');
    T::contains('The current password is wrong.', $change(['current_password' => 'not it at all', 'new_password' => 'another long one', 'repeat_password' => 'another long one'])->body, $at . 'the current password is asked');
    T::same(302, $change(['current_password' => PASSWORD, 'new_password' => 'another long one', 'repeat_password' => 'another long one'])->status, $at . 'password changed');
    T::same(200, $ann->get('/loans')->status, $at . 'the session that changed the password goes on');
    T::same(302, $annElsewhere->get('/loans')->status, $at . 'the other sessions of the account end');
    T::same(0, users_cli($site, ['reset-password', 'ann@library.example'], "reset on the terminal\n")[0], $at . 'reset-password');
    T::same(302, sign_in($site, $site->visitor(), 'ann@library.example', 'reset on the terminal')->status, $at . 'the reset password signs in');

    // A session idle for longer than SESSION_IDLE_MINUTES (default 120) ends.
    $idle = signed_in($site, 'ann@library.example', 'reset on the terminal');
    T::same(200, $idle->get('/loans')->status, $at . 'a fresh session is signed in');
    $file = $sessions . '/sess_' . $idle->cookie(session_cookie_name());
    $stored = (string) @file_get_contents($file);
    T::contains('s:4:"seen";i:', $stored, $at . 'the session file holds the time of its last use');
    file_put_contents($file, preg_replace('~s:4:"seen";i:\d+;~', 's:4:"seen";i:' . (time() - 121 * 60) . ';', $stored));
    T::same(302, $idle->get('/loans')->status, $at . 'a session idle for 121 minutes is signed out');
    T::contains('Your session has ended. Please sign in again.', $idle->get(LOGIN)->body, $at . 'and told so');

    // Signing out ends the session: its id is worthless afterwards.
    $cookie = $admin->cookie(session_cookie_name());
    T::same(302, $admin->post('/account/logout', ['_csrf' => $site->token('/', $admin)])->status, $at . 'sign-out');
    $replay = $site->visitor();
    $replay->setCookie(session_cookie_name(), $cookie);
    T::same(302, $replay->get('/books')->status, $at . 'the old session id is signed out');

    // Throttling, by account and by address; X-Forwarded-For counts only from a trusted proxy.
    $behindProxy = new AppServer($dir . '/public', array_merge($site->env, ['APP_TRUSTED_PROXY' => '127.0.0.1']));
    $proxied = static function (string $address) use ($behindProxy): HttpClient {
        $client = new HttpClient($behindProxy->base());
        $client->setHeader('X-Forwarded-For', "203.0.113.9, $address");
        return $client;
    };
    $tryFrom = static function (string $address, string $email, string $password) use ($proxied, $site): int {
        $client = $proxied($address);
        return $client->post(LOGIN, ['_csrf' => $site->token(LOGIN, $client), 'email' => $email, 'password' => $password])->status;
    };
    for ($i = 1; $i <= 5; $i++) {
        $tryFrom("10.0.1.$i", 'cat@library.example', "wrong guess $i");
    }
    T::same(429, $tryFrom('10.0.1.9', 'cat@library.example', PASSWORD), $at . '5 failures for an account lock it, from any address');
    for ($i = 1; $i <= 5; $i++) {
        $tryFrom('10.0.2.1', "guess$i@library.example", 'wrong guess');
    }
    T::same(429, $tryFrom('10.0.2.1', 'admin@library.example', PASSWORD), $at . '5 failures from an address lock it');
    T::same(302, $tryFrom('10.0.2.2', 'admin@library.example', PASSWORD), $at . 'another address signs in');
    T::contains('Too many failed sign-ins. Try again in 15 minute(s).', ($client = $proxied('10.0.2.1'))->post(LOGIN,
        ['_csrf' => $site->token(LOGIN, $client), 'email' => 'x@y.example', 'password' => 'x'])->body, $at . 'the lock says so');
    $behindProxy->stop();
    $spoofer = $site->visitor();
    for ($i = 1; $i <= 5; $i++) {
        $spoofer->setHeader('X-Forwarded-For', "10.9.9.$i");
        sign_in($site, $spoofer, "spoof$i@library.example", 'wrong guess');
    }
    T::same(429, sign_in($site, $spoofer, 'admin@library.example', PASSWORD)->status, $at . 'without a trusted proxy X-Forwarded-For is ignored');

    foreach ($pages as $i => $body) {
        foreach ($site->rows('SELECT `password_hash` FROM `_app_users`') as $row) {
            T::true(!str_contains($body, $row['password_hash']) && !str_contains($body, '$2y$'), $at . "page $i shows no password hash");
        }
    }
    $site->stop();
}

// The name of the application's session cookie (its form-token cookie carries a "t" more).
function session_cookie_name(): string
{
    static $names = [];
    $site = $GLOBALS['site'];
    if (!isset($names[$site->dir])) {
        $probe = signed_in($site, 'admin@library.example', PASSWORD);
        $names[$site->dir] = array_values(array_filter($probe->cookieNames(), static fn (string $n): bool => preg_match('/^ktb[0-9a-f]{12}$/', $n) === 1))[0];
    }
    return $names[$site->dir];
}

T::finish();
