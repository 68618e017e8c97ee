<?php
// Line breaks in the project name, table names, page titles and templates: every generated file
// keeps CR LF line ends, the breaks stand as blanks where the names are written, and the
// application shows the names on one line over HTTP.
declare(strict_types=1);

require_once __DIR__ . '/support/generated_app.php';
require_once __DIR__ . '/support/http.php';

$project = json_decode((string) file_get_contents(example('bookshop.json')), true);
$project['project']['name'] = "Corner\r\nBook\nshop\rNorth";
$project['database']['entities'][0]['name'] = "Book\ncategories";
$project['pages'] = [
    ['id' => 'home', 'title' => 'Welcome', 'route' => '/'],
    ['id' => 'about', 'title' => "About\r\nus", 'route' => '/about', 'template' => "Land\ning", 'content' => "Line one\nLine two"],
    ['id' => 'contact', 'title' => "Contact\nand\rhours", 'route' => '/contact'],
];
$projectFile = temp_dir() . '/breaks.json';
file_put_contents($projectFile, json_encode($project));

foreach (['generate', 'crud'] as $command) {
    $app = generate_app($projectFile, $command);
    $bare = [];
    $it = new RecursiveIteratorIterator(new RecursiveDirectoryIterator($app, FilesystemIterator::SKIP_DOTS));
    foreach ($it as $file) {
        $text = (string) file_get_contents($file->getPathname());
        if (preg_match('~(?<!\r)\n|\r(?!\n)~', $text) === 1) {
            $bare[] = substr($file->getPathname(), strlen($app) + 1);
        }
    }
    sort($bare);
    T::same([], $bare, "$command: files with a bare LF or CR");
    T::same("# Corner Book shop North\r\n", strtok((string) file_get_contents($app . '/README.md'), "\n") . "\n",
        "$command: README heading");

    $server = new AppServer($app . '/public');
    $http = new HttpClient($server->base());
    $cases = [
        // path, texts the page shows
        ['/', ['<strong>Corner Book shop North</strong>', '>About us</a>', '>Contact and hours</a>']],
        ['/about', ['<title>About us</title>', '>Land ing</span>', 'Line one<br>']],
        ['/contact', ['<title>Contact and hours</title>']],
    ];
    foreach ($cases as [$path, $texts]) {
        $page = $http->get($path);
        T::same(200, $page->status, "$command $path: status");
        foreach ($texts as $text) {
            T::contains($text, $page->body, "$command $path: one-line text");
        }
    }
    $server->stop();
}

T::finish();
