<?php
// Accounts of a generated application with sign-in: its command line, and signing in as a browser does.
declare(strict_types=1);

require_once __DIR__ . '/crud_site.php';

// Runs bin/users.php of the site with $stdin as standard input; returns [exit status, stdout, stderr].
function users_cli(CrudSite $site, array $args, string $stdin = ''): array
{
    $process = proc_open([PHP_BINARY, $site->dir . '/bin/users.php', ...$args],
        [0 => ['pipe', 'r'], 1 => ['pipe', 'w'], 2 => ['pipe', 'w']], $pipes, $site->dir, array_merge(getenv(), $site->env));
    fwrite($pipes[0], $stdin);
    fclose($pipes[0]);
    $out = stream_get_contents($pipes[1]);
    $err = stream_get_contents($pipes[2]);
    fclose($pipes[1]);
    fclose($pipes[2]);
    return [proc_close($process), $out, $err];
}

// Adds an account through the command line; fails loudly when it is refused.
function add_account(CrudSite $site, string $email, string $role, string $password): void
{
    [$status, , $err] = users_cli($site, ['add', $email, '--role', $role], $password . "\n");
    if ($status !== 0) {
        throw new RuntimeException("adding $email failed: $err");
    }
}

// Posts the sign-in form of $client, as a browser would.
function sign_in(CrudSite $site, HttpClient $client, string $email, string $password, string $next = '/'): Response
{
    $token = $site->token('/account/login', $client);
    return $client->post('/account/login', ['_csrf' => $token, 'email' => $email, 'password' => $password, 'next' => $next]);
}

// A new visitor signed in as $email; fails loudly when the sign-in is refused.
function signed_in(CrudSite $site, string $email, string $password): HttpClient
{
    $client = $site->visitor();
    $response = sign_in($site, $client, $email, $password);
    if ($response->status !== 302) {
        throw new RuntimeException("signing in as $email failed ({$response->status}): " . strip_tags($response->body));
    }
    return $client;
}
