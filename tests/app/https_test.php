<?php
// APP_FORCE_HTTPS=true: plain HTTP is redirected to HTTPS, and an HTTPS request gets
// Strict-Transport-Security and Secure cookies. X-Forwarded-Proto counts only from the proxy
// named in APP_TRUSTED_PROXY.
declare(strict_types=1);

require_once __DIR__ . '/support/crud_site.php';

$dir = generate_crud('sqlite', __DIR__ . '/projects/crud_catalogue.json');
$env = fresh_database('sqlite') + ['APP_FORCE_HTTPS' => 'true'];

// [what, APP_TRUSTED_PROXY, X-Forwarded-Proto, method, path, status, Location]
$cases = [
    ['plain GET', '', null, 'GET', '/authors?page=2', 301, 'https://127.0.0.1/authors?page=2'],
    ['plain POST', '', null, 'POST', '/authors/store', 308, 'https://127.0.0.1/authors/store'],
    ['X-Forwarded-Proto from anyone', '', 'https', 'GET', '/authors', 301, 'https://127.0.0.1/authors'],
    ['X-Forwarded-Proto http from the proxy', '127.0.0.1', 'http', 'GET', '/authors', 301, 'https://127.0.0.1/authors'],
    ['HTTPS through the proxy', '127.0.0.1', 'https', 'GET', '/authors', 200, null],
];
$servers = [];
foreach ($cases as [$what, $proxy, $proto, $method, $path, $status, $location]) {
    $servers[$proxy] ??= new AppServer($dir . '/public', $env + ['APP_TRUSTED_PROXY' => $proxy, 'APP_DEBUG' => 'false']);
    $client = new HttpClient($servers[$proxy]->base());
    $client->setHeader('X-Forwarded-Proto', $proto);
    $response = $client->request($method, $path);
    T::same([$status, $location], [$response->status, $response->header('Location')], "$what: answer");
    T::same($status === 200 ? 'max-age=31536000' : null, $response->header('Strict-Transport-Security'), "$what: Strict-Transport-Security");
}

// Under HTTPS the cookies are Secure, and the form-token cookie takes the __Host- prefix.
$client = new HttpClient($servers['127.0.0.1']->base());
$client->setHeader('X-Forwarded-Proto', 'https');
$form = $client->get('/authors/create');
$tokenCookie = (string) $form->header('Set-Cookie');
T::true(str_starts_with($tokenCookie, '__Host-') && str_contains($tokenCookie, 'secure') && str_contains($tokenCookie, 'path=/;'),
    "the form-token cookie is __Host-, Secure, for the whole host: $tokenCookie");
preg_match('~name="_csrf" value="([^"]+)"~', $form->body, $m);
$added = $client->post('/authors/store', ['_csrf' => $m[1] ?? '', 'full_name' => 'Secure', 'secret' => 'pw']);
T::same(302, $added->status, 'an add over HTTPS');
T::contains('; secure', (string) $added->header('Set-Cookie'), 'the session cookie is Secure');

$socket = fsockopen('127.0.0.1', $servers['']->port);
fwrite($socket, "GET /authors HTTP/1.1\r\nHost: evil.example/x\r\nConnection: close\r\n\r\n");
T::contains('HTTP/1.1 400', (string) fgets($socket), 'a Host that is no host name is refused');
fclose($socket);

T::finish();
