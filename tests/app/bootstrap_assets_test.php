<?php
// target.assets: "local" serves Bootstrap's stylesheet from the application itself; "cdn" (and a
// project without the key) links the CDN file pinned by the hash of the npm package's file.
declare(strict_types=1);

require_once __DIR__ . '/support/generated_app.php';
require_once __DIR__ . '/support/http.php';

$package = getenv('QB_SOURCE_DIR') . '/node_modules/bootstrap';
$npmCss = "$package/dist/css/bootstrap.min.css";
$vendor = '/assets/vendor/bootstrap/css/bootstrap.min.css';

// The CRUD application of bookshop.json with another stylesheet framework and target.assets.
function bookshop_app(string $framework, ?string $assets): string
{
    $project = json_decode((string) file_get_contents(example('bookshop.json')));
    $project->target->cssFramework = $framework;
    if ($assets !== null) {
        $project->target->assets = $assets;
    }
    $file = temp_dir('qb-assets-') . '/bookshop.json';
    file_put_contents($file, json_encode($project, JSON_PRETTY_PRINT | JSON_UNESCAPED_SLASHES | JSON_UNESCAPED_UNICODE));
    return generate_app($file, 'crud');
}

$integrity = 'sha384-' . base64_encode(hash_file('sha384', $npmCss, true));
$version = json_decode((string) file_get_contents("$package/package.json"), true)['version'];
$cdnLink = "<link href=\"https://cdn.jsdelivr.net/npm/bootstrap@$version/dist/css/bootstrap.min.css\" rel=\"stylesheet\" "
    . "integrity=\"$integrity\" crossorigin=\"anonymous\">";

// framework, assets, vendor files written, CDN link in the layout
$cases = [
    ['bootstrap5', 'local', true, false],
    ['bootstrap5', 'cdn', false, true],
    ['bootstrap5', null, false, true],
    ['tailwind', 'local', false, false],
    ['plain-css', 'local', false, false],
];
$localApp = null;
foreach ($cases as [$framework, $assets, $local, $cdn]) {
    $name = $framework . '/' . ($assets ?? 'no key');
    $app = bookshop_app($framework, $assets);
    $layout = (string) file_get_contents("$app/app/Views/layouts/main.php");
    T::same($local, is_file("$app/public$vendor"), "$name: vendor stylesheet written");
    T::same($local, is_file("$app/public/assets/vendor/bootstrap/LICENSE"), "$name: licence written");
    T::same($local, str_contains($layout, "url('$vendor')"), "$name: layout links the vendor stylesheet");
    T::same($cdn, str_contains($layout, $cdnLink), "$name: CDN link with the npm file's hash");
    T::same($cdn ? 1 : 0, substr_count($layout, 'https://'), "$name: links to other sites");
    if ($local) {
        $localApp = $app;
    }
}

// The vendor stylesheet is the package's file less its last line, the comment naming the source map
// that is not shipped; the licence is the package's.
$published = (string) file_get_contents($npmCss);
$shipped = (string) file_get_contents("$localApp/public$vendor");
T::true(strlen($shipped) > 100000 && str_starts_with($published, $shipped), 'vendor stylesheet is the package file');
T::same("\n/*# sourceMappingURL=bootstrap.min.css.map */", substr($published, strlen($shipped)), 'only the map comment left out');
T::same(file_get_contents("$package/LICENSE"), file_get_contents("$localApp/public/assets/vendor/bootstrap/LICENSE"), 'licence');

// Served: every page links the stylesheet under the base path and nothing from another site.
foreach (['' => [], '/shop' => ['APP_BASE_PATH' => 'shop/']] as $base => $env) {
    $server = new AppServer("$localApp/public", $env);
    $http = new HttpClient($server->base());
    foreach (['/', '/about', '/books', '/books/create'] as $path) {
        $page = $http->get($base . $path);
        T::same(200, $page->status, "GET $base$path");
        T::contains("<link href=\"$base$vendor\" rel=\"stylesheet\">", $page->body, "$base$path links the vendor stylesheet");
        T::true(!str_contains($page->body, 'cdn.jsdelivr.net'), "$base$path names no CDN");
    }
    if ($base === '') {
        $css = $http->get($vendor);
        T::same(200, $css->status, 'vendor stylesheet served');
        T::same($shipped, $css->body, 'vendor stylesheet body');
        T::contains('text/css', (string) $css->header('Content-Type'), 'vendor stylesheet type');
    }
    $server->stop();
}

T::finish();
