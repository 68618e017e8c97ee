<?php
// Page routes written by hand in the designer, such as "//docs" or "/\helpdesk", over HTTP: every
// navigation link, read as a browser reads it, stays on the application and opens its page.
declare(strict_types=1);

require_once __DIR__ . '/support/generated_app.php';
require_once __DIR__ . '/support/http.php';

// A link as a browser resolves it against the current site: tabs and line breaks are dropped,
// "\" counts as "/", and a link starting with "//" (or a scheme) leaves for another host (null).
function same_site_path(string $href): ?string
{
    $href = str_replace(["\t", "\n", "\r", '\\'], ['', '', '', '/'], html_entity_decode($href, ENT_QUOTES, 'UTF-8'));
    return (str_starts_with($href, '//') || preg_match('~^[a-z][a-z0-9+.\-]*:~i', $href) === 1) ? null : $href;
}

$cases = [
    // page id, route as written, title
    ['docs', '//docs', 'Documentation'],
    ['helpdesk', '/\\helpdesk', 'Helpdesk'],
    ['backslashes', '/\\\\evilhost\\x', 'Backslashes'],
    ['tabbed', "/\t/tabhost", 'Tabbed'],
    ['broken', "/\n/lfhost", 'Broken line'],
    ['plain', '/about/', 'About'],
];
$project = json_decode((string) file_get_contents(example('bookshop.json')), true);
$project['pages'] = [['id' => 'home', 'title' => 'Welcome', 'route' => '/']];
foreach ($cases as [$id, $route, $title]) {
    $project['pages'][] = ['id' => $id, 'title' => $title, 'route' => $route, 'content' => "Page $title."];
}
$projectFile = temp_dir() . '/routes.json';
file_put_contents($projectFile, json_encode($project));
$app = generate_app($projectFile);
$server = new AppServer($app . '/public');
$http = new HttpClient($server->base());

$home = $http->get('/');
T::same(200, $home->status, 'dashboard status');
foreach ($cases as [$id, $route, $title]) {
    $link = preg_match('~<a class="link-secondary text-decoration-none" href="([^"]*)">' . preg_quote($title, '~') . '</a>~',
        $home->body, $m) === 1 ? $m[1] : null;
    T::true($link !== null, "$route: navigation link");
    $path = same_site_path((string) $link);
    T::true($path !== null && str_starts_with($path, '/'), "$route: the link " . var_export($link, true) . ' stays on the site');
    if ($path !== null) {
        $page = $http->get($path);
        T::same(200, $page->status, "$route: the link opens the page");
        T::contains("Page $title.", $page->body, "$route: page content");
    }
}

T::finish();
