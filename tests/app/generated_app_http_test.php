<?php
// Generated applications over HTTP: dashboard, pages, 404, HEAD, base paths, headers, error pages.
declare(strict_types=1);

require_once __DIR__ . '/support/generated_app.php';
require_once __DIR__ . '/support/http.php';

// Every generated PHP file of every example passes php -l.
foreach (glob(example('*.json')) as $project) {
    $app = generate_app($project);
    foreach (php_files($app) as $file) {
        exec(escapeshellarg(PHP_BINARY) . ' -l ' . escapeshellarg($file) . ' 2>&1', $output, $code);
        T::same(0, $code, 'php -l ' . basename($project) . ': ' . substr($file, strlen($app)));
    }
}

$app = generate_app(example('bookshop.json'));
$server = new AppServer($app . '/public');
$http = new HttpClient($server->base());

$home = $http->get('/');
T::same(200, $home->status, 'dashboard status');
T::same(3, substr_count($home->body, 'DATA MODULE'), 'one card per table');
foreach (['Categories', 'Authors', 'Books'] as $table) {
    T::contains('>' . $table . '</h2>', $home->body, "card of $table");
}
T::same(3, substr_count($home->body, '0 record(s)'), 'tables created and counted');
T::true(!str_contains($home->body, 'Database not ready'), 'database ready');
T::same('nosniff', $home->header('X-Content-Type-Options'), 'nosniff header');
T::same('strict-origin-when-cross-origin', $home->header('Referrer-Policy'), 'referrer policy');
T::same('SAMEORIGIN', $home->header('X-Frame-Options'), 'frame options');
T::true(is_file($app . '/storage/schema.applied'), 'synchronisation stamp written');

$routes = [
    ['GET', '/about', 200, 'About us'],
    ['GET', '/about/', 200, 'About us'],
    ['GET', '/contact', 200, 'Contact'],
    ['HEAD', '/about', 200, ''],
    ['GET', '/index.php/about', 200, 'About us'],
    ['GET', '/nowhere', 404, 'No route for <code>GET /nowhere</code>.'],
    ['POST', '/about', 404, '404 - Not Found'],
    ['GET', '/%3Cscript%3E', 404, '&lt;script&gt;'],
];
foreach ($routes as [$method, $path, $status, $text]) {
    $r = $http->request($method, $path);
    T::same($status, $r->status, "$method $path status");
    if ($text !== '') {
        T::contains($text, $r->body, "$method $path body");
    }
}
T::same('', $http->request('HEAD', '/')->body, 'HEAD has no body');
$server->stop();

// Installed below a web root: the base path is detected, or set with APP_BASE_PATH.
$webRoot = temp_dir('qb-webroot-');
symlink($app, $webRoot . '/myapp');
$router = $webRoot . '/router.php';
file_put_contents($router, '<?php $f = __DIR__ . parse_url($_SERVER["REQUEST_URI"], PHP_URL_PATH); '
    . 'if (is_file($f) && !str_ends_with($f, ".php")) { return false; } '
    . '$_SERVER["SCRIPT_NAME"] = "/myapp/public/index.php"; require __DIR__ . "/myapp/public/index.php";');
$sub = new AppServer($webRoot, [], $router);
$subHttp = new HttpClient($sub->base());
foreach (['/myapp/about', '/myapp/public/index.php/about'] as $path) {
    $r = $subHttp->get($path);
    T::same(200, $r->status, "sub-folder $path");
    T::contains('href="/myapp/', $r->body, "links carry the base path ($path)");
}
$sub->stop();

$env = new AppServer($app . '/public', ['APP_BASE_PATH' => 'shop/']);
$r = (new HttpClient($env->base()))->get('/shop/about');
T::same(200, $r->status, 'APP_BASE_PATH route');
T::contains('href="/shop/', $r->body, 'APP_BASE_PATH links');
$env->stop();

// Error pages: an uncaught exception gives the 500 page, with details only in debug mode and only
// to a request from this machine that no proxy forwarded.
unlink($app . '/app/Views/pages/about.php');
foreach ([['true', null, true], ['false', null, false], ['true', '203.0.113.7', false]] as [$flag, $forwardedFor, $debug]) {
    $envText = preg_replace('/^APP_DEBUG=.*$/m', 'APP_DEBUG=' . $flag, file_get_contents($app . '/.env'));
    file_put_contents($app . '/.env', $envText);
    $server = new AppServer($app . '/public');
    $client = new HttpClient($server->base());
    $client->setHeader('X-Forwarded-For', $forwardedFor);
    $r = $client->get('/about');
    $flag .= $forwardedFor === null ? '' : ', forwarded';
    T::same(500, $r->status, "500 status (debug $flag)");
    T::contains('500 - Application error', $r->body, "500 heading (debug $flag)");
    T::same($debug, str_contains($r->body, 'View not found'), "exception text shown only in debug ($flag)");
    T::same(!$debug, str_contains($r->body, 'The error was written to the PHP error log.'), "log hint ($flag)");
    $server->stop();
}

// The PHP-version guard, exercised by raising its threshold in a copy of the front controller.
$guarded = str_replace('80000', '990000', file_get_contents($app . '/public/index.php'));
T::true($guarded !== file_get_contents($app . '/public/index.php'), 'front controller checks the version id');
file_put_contents($app . '/public/guard.php', $guarded);
$server = new AppServer($app . '/public');
$r = (new HttpClient($server->base()))->get('/guard.php');
T::same(500, $r->status, 'version guard status');
T::contains('text/plain', (string) $r->header('Content-Type'), 'version guard content type');
T::contains('This application requires PHP 8.0 or newer (8.2+ recommended). This server runs PHP ' . PHP_VERSION . '.',
    $r->body, 'version guard text');
$server->stop();

T::finish();
