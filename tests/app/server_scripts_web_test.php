<?php
// Through a web server: the root index.php redirects into public/, bin/migrate.php refuses to run.
declare(strict_types=1);

require_once __DIR__ . '/support/testing.php';
require_once __DIR__ . '/support/http.php';

$webRoot = temp_dir();
$app = $webRoot . '/myapp';
mkdir($app . '/bin', 0777, true);
$templates = getenv('QB_SOURCE_DIR') . '/templates/';
copy($templates . 'index.php', $app . '/index.php');
copy($templates . 'bin/migrate.php', $app . '/bin/migrate.php');

$server = new AppServer($webRoot);
$http = new HttpClient($server->base());

foreach (['/myapp/', '/myapp/index.php'] as $path) {
    $response = $http->get($path);
    T::same(302, $response->status, "$path redirects");
    T::same('/myapp/public/', $response->header('Location'), "$path redirects below the current folder");
    T::contains('<title>Redirecting</title>', $response->body, 'redirect page title');
    T::contains('<p>Open <a href="public/">public/</a>. For clean URLs enable mod_rewrite and AllowOverride All, '
        . 'or point the web server document root to the public folder.</p>', $response->body, 'redirect page text');
}

$response = $http->get('/myapp/bin/migrate.php');
T::same([403, 'Run this script from the command line.'], [$response->status, $response->body], 'migrate over HTTP');

$server->stop();
T::finish();
