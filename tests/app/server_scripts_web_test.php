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

// The root index.php run with a dirname() that behaves as on Windows, where a script directly below
// the web root gives "\\"; returns the Location header it sends.
function redirect_target(?string $scriptName, bool $windowsDirname): string
{
    $source = (string) file_get_contents(getenv('QB_SOURCE_DIR') . '/templates/index.php');
    $stubs = <<<'PHP'
        namespace Sim;
        function header(string $h, bool $r = true, int $c = 0): void { $GLOBALS['__location'] = $h; }

        PHP;
    if ($windowsDirname) {
        $stubs .= <<<'PHP'
            function dirname(string $p): string { $d = \dirname(str_replace('\\', '/', $p)); return $d === '/' ? '\\' : $d; }

            PHP;
    }
    $file = temp_dir() . '/index.php';
    $declare = "declare(strict_types=1);\n";
    file_put_contents($file, substr_replace($source, $declare . $stubs, (int) strpos($source, $declare), strlen($declare)));
    $server = $scriptName === null ? 'unset($_SERVER["SCRIPT_NAME"]);' : '$_SERVER["SCRIPT_NAME"] = ' . var_export($scriptName, true) . ';';
    $code = $server . 'ob_start(); require ' . var_export($file, true) . '; ob_end_clean(); echo $GLOBALS["__location"];';
    return (string) shell_exec(escapeshellarg(PHP_BINARY) . ' -r ' . escapeshellarg($code));
}

// [SCRIPT_NAME, dirname as on Windows, expected Location]
$redirects = [
    ['/index.php', false, 'Location: /public/'],
    ['/index.php', true, 'Location: /public/'],
    ['/myapp/index.php', false, 'Location: /myapp/public/'],
    ['/myapp/index.php', true, 'Location: /myapp/public/'],
    ['\\myapp\\index.php', true, 'Location: /myapp/public/'],
    [null, true, 'Location: /public/'],
    ['/my app/index.php', false, 'Location: /my%20app/public/'],
    ["\\Caf\u{e9}\\shop\\index.php", true, 'Location: /Caf%C3%A9/shop/public/'],
];
foreach ($redirects as [$scriptName, $windows, $expected]) {
    T::same($expected, redirect_target($scriptName, $windows),
        'root index.php for ' . var_export($scriptName, true) . ($windows ? ' with Windows dirname' : ''));
}

$response = $http->get('/myapp/bin/migrate.php');
T::same([403, 'Run this script from the command line.'], [$response->status, $response->body], 'migrate over HTTP');

$server->stop();
T::finish();
