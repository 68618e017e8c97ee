<?php
// A generated CRUD application deployed behind a real web server, and the checks every deployment
// must pass: links, assets, the add/edit/delete round trip, redirects under the base path, refused
// files and the 404 page.
declare(strict_types=1);

require_once __DIR__ . '/crud_site.php';
require_once __DIR__ . '/web_servers.php';

const DEPLOY_PROJECT = __DIR__ . '/../projects/deploy_shop.json';

// Generates the CRUD application for $engine into $target (a new folder), with its database
// settings in .env as a real server reads them; returns the environment for the test's own
// database connection.
function deploy_crud_app(string $engine, string $target): array
{
    $dir = generate_crud($engine, DEPLOY_PROJECT);
    exec('cp -a ' . escapeshellarg($dir) . ' ' . escapeshellarg($target), $out, $code);
    if ($code !== 0) {
        throw new RuntimeException("cannot copy the application to $target");
    }
    $env = $engine === 'sqlite' ? ['DB_DATABASE' => $target . '/storage/database.sqlite'] : fresh_database($engine);
    $lines = '';
    foreach ($env as $name => $value) {
        $lines .= "$name=$value\r\n";
    }
    // The first definition of a name in .env wins.
    file_put_contents($target . '/.env', $lines . file_get_contents($target . '/.env'));
    hand_to_worker($target);
    chmod(dirname($target), 0755); // the serving user reaches the application, whatever the umask
    return $env;
}

// The root-relative addresses in the given attributes of a page.
function page_links(string $html, string $attributes = 'href|src|action'): array
{
    preg_match_all('~\b(?:' . $attributes . ')="(/(?!/)[^"]*)"~', $html, $m);
    return array_values(array_unique(array_map('html_entity_decode', $m[1])));
}

// Every check of one deployment; $site->basePath is the encoded folder the application is reached
// under, $server the server in front of it.
function check_deployment(CrudSite $site, WebServer $server, string $at): void
{
    $http = $site->http;
    $base = $site->basePath;
    $browser = new HttpClient($server->base());

    // The dashboard, and every link on it and on a list page points below the base path and answers.
    $home = $http->get('/');
    T::same(200, $home->status, $at . 'dashboard');
    if ($home->status !== 200) {
        return; // Nothing else can work; the failure above says why.
    }
    T::contains('Deploy Shop', $home->body, $at . 'dashboard content');
    T::contains(json_encode("$base/sw.js", JSON_UNESCAPED_SLASHES), $home->body, $at . 'service worker address');
    $pages = [$home->body, $http->get('/products')->body, $http->get('/products/create')->body];
    $links = array_unique(array_merge(...array_map('page_links', $pages)));
    T::true(count($links) >= 8, $at . 'pages carry links: ' . implode(' ', $links));
    foreach ($links as $link) {
        T::true(str_starts_with($link, "$base/"), $at . "link $link lies below '$base/'");
    }
    // Followed without the session: the pages and files they name answer.
    foreach (array_unique(array_merge(...array_map(static fn (string $page): array => page_links($page, 'href|src'), $pages))) as $link) {
        T::same(200, $browser->get($link)->status, $at . "link $link answers");
    }

    // Static files with their types, the PHP endpoint run (never sent as source).
    $assets = [
        ['/assets/css/app.css', 'text/css', ''],
        ['/assets/js/app.js', 'javascript', ''],
        ['/sw.js', 'javascript', 'addEventListener'],
        ['/manifest.webmanifest', 'application/manifest+json', '"start_url"'],
        ['/api/health.php', 'application/json', '{"status":"ok","service":"Kettlebourne API"}'],
    ];
    foreach ($assets as [$path, $type, $needle]) {
        $response = $http->get($path);
        T::same(200, $response->status, $at . "$path status");
        T::contains($type, (string) $response->header('Content-Type'), $at . "$path content type");
        T::contains($needle, $response->body, $at . "$path body");
        T::true(!str_contains($response->body, '<?php'), $at . "$path is no PHP source");
    }

    // Add, edit and delete with the form's token and the session cookie.
    $before = $site->count('products');
    T::same(403, $http->post('/products/store', ['title' => 'No token'])->status, $at . 'add without token refused');
    T::same($before, $site->count('products'), $at . 'refused add stores nothing');

    $added = $site->submit('/products/store', ['title' => 'Desk lamp', 'price' => '12.50']);
    T::same([302, "$base/products"], [$added->status, $added->header('Location')], $at . 'add redirects to the list');
    $rows = $site->rows('SELECT `id`, `title`, `price` FROM `products` ORDER BY `id` DESC');
    T::same($before + 1, count($rows), $at . 'add stores one row');
    $id = (int) ($rows[0]['id'] ?? 0);
    T::same(['Desk lamp', 12.5], [$rows[0]['title'] ?? null, (float) ($rows[0]['price'] ?? 0)], $at . 'added values');
    $list = $http->get('/products');
    T::contains('Products: record added.', $list->body, $at . 'flash after add');
    T::contains('Desk lamp', $list->body, $at . 'list shows the new row');

    $edit = $http->get("/products/edit?id=$id");
    T::contains('action="' . "$base/products/update" . '"', $edit->body, $at . 'edit form posts below the base path');
    $updated = $site->submit('/products/update', ['id' => (string) $id, 'title' => 'Floor lamp', 'price' => '30'],
        "/products/edit?id=$id");
    T::same([302, "$base/products"], [$updated->status, $updated->header('Location')], $at . 'edit redirects to the list');
    T::same([['title' => 'Floor lamp']], $site->rows('SELECT `title` FROM `products` WHERE `id` = ?', [$id]), $at . 'edit stored');

    $deleted = $site->submit('/products/delete', ['id' => (string) $id], '/products');
    T::same([302, "$base/products"], [$deleted->status, $deleted->header('Location')], $at . 'delete redirects to the list');
    T::same($before, $site->count('products'), $at . 'delete removes the row');
    T::contains('Record deleted.', $http->get('/products')->body, $at . 'flash after delete');

    // Unknown addresses get the application's 404 page with a way home.
    $missing = $http->get('/nowhere');
    T::same(404, $missing->status, $at . '404 status');
    T::contains('No route for <code>GET /nowhere</code>', $missing->body, $at . '404 text');
    T::contains('href="' . "$base/" . '"', $missing->body, $at . '404 home link');
}

// Files of the application that must never be handed out: [address => file below $appDir]. The
// answer is 403 or 404 and holds nothing of the file.
function check_refused(WebServer $server, string $appDir, array $files, string $at): void
{
    $browser = new HttpClient($server->base());
    foreach ($files as $path => $file) {
        $response = $browser->get($path);
        T::true(in_array($response->status, [403, 404], true), $at . "$path refused (status {$response->status})");
        $content = is_file("$appDir/$file") ? (string) file_get_contents("$appDir/$file") : '';
        $lines = array_map('trim', explode("\n", $content));
        usort($lines, static fn (string $a, string $b): int => strlen($b) <=> strlen($a));
        $marker = substr($lines[0] ?? '', 0, 60);
        T::true($marker === '' || !str_contains($response->body, $marker), $at . "$path does not show $file");
    }
}

// Two applications under one host keep separate sessions: a flash message or a form token of one
// is unknown to the other, even with one cookie jar for both.
function check_separate_sessions(WebServer $server, CrudSite $first, CrudSite $second, string $at): void
{
    $browser = new HttpClient($server->base());
    $form = $browser->get($first->basePath . '/products/create');
    T::contains('path=' . $first->basePath, implode("\n", $form->headers['set-cookie'] ?? []), $at . 'session cookie scoped to the folder');
    preg_match('~name="_csrf" value="([0-9a-f]{32}\.[0-9a-f]{64})"~', $form->body, $m);
    $token = $m[1] ?? '';
    $added = $browser->post($first->basePath . '/products/store', ['_csrf' => $token, 'title' => 'Only here']);
    T::same(302, $added->status, $at . 'add in the first application');

    $before = $second->count("products");
    T::true(!str_contains($browser->get($second->basePath . '/products')->body, 'record added'),
        $at . 'the flash message stays in its application');
    $foreign = $browser->post($second->basePath . '/products/store', ['_csrf' => $token, 'title' => 'Foreign token']);
    T::same(403, $foreign->status, $at . 'a token of the other application is refused');
    T::same($before, $second->count('products'), $at . 'the refused add stores nothing');
    T::contains('Products: record added.', $browser->get($first->basePath . '/products')->body,
        $at . 'the flash message waits in its own application');
}

// The generated Apache virtual host example with only the address and the paths filled in.
function apache_vhost_site(string $appDir): string
{
    return str_replace(['*:80', '/var/www/myapp'], ['127.0.0.1:{port}', $appDir],
        (string) file_get_contents("$appDir/deploy/apache-vhost.conf.example"));
}

// A web root whose folders are reached by their names, with .htaccess files honoured (as in
// htdocs or public_html).
function apache_web_root_site(string $webRoot): string
{
    return "DocumentRoot \"$webRoot\"\n<Directory \"$webRoot\">\n    AllowOverride All\n    Require all granted\n</Directory>\n";
}

// The generated nginx example split into its server block and its commented sub-folder locations.
function nginx_example(string $appDir): array
{
    $text = str_replace("\r\n", "\n", (string) file_get_contents("$appDir/deploy/nginx.conf.example"));
    $intro = strpos($text, "\n# Sub-folder install");
    if ($intro === false) {
        throw new RuntimeException('the nginx example has no sub-folder section');
    }
    return [substr($text, 0, $intro), substr($text, $intro)];
}

// The server block of the nginx example for $appDir, listening on $port, passing PHP to $fastcgi.
function nginx_root_site(string $appDir, int $port, string $fastcgi): string
{
    return str_replace(['listen 80;', '/var/www/myapp', 'unix:/run/php/php8.2-fpm.sock'],
        ["listen 127.0.0.1:$port;", $appDir, $fastcgi], nginx_example($appDir)[0]);
}

// The sub-folder locations of the nginx example, uncommented, for $appDir reached as /$folder/.
function nginx_folder_locations(string $appDir, string $folder, string $fastcgi): string
{
    $section = nginx_example($appDir)[1];
    $section = substr($section, (int) strpos($section, "\n# location"));
    $lines = array_map(static fn (string $line): string => (string) preg_replace('~^# ?~', '', $line),
        array_filter(explode("\n", $section), static fn (string $line): bool => $line !== ''));
    return str_replace(['/var/www/myapp', 'myapp', 'unix:/run/php/php8.2-fpm.sock'], [$appDir, $folder, $fastcgi],
        implode("\n", $lines)) . "\n";
}
