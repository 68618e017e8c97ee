<?php
// Router dispatch of app/Core/Router.php: routes, HEAD as GET, trailing slashes, the 404 page.
declare(strict_types=1);

require_once __DIR__ . '/support/testing.php';

$_SERVER['SCRIPT_NAME'] = '/index.php';
$_SERVER['REQUEST_URI'] = '/';
require getenv('QB_SOURCE_DIR') . '/templates/app/Core/Url.php';
require getenv('QB_SOURCE_DIR') . '/templates/app/Core/Router.php';

final class BooksProbe
{
    public function index(): void { echo 'books index'; }
    public function store(): void { echo 'books store'; }
    public function replaced(): void { echo 'books replaced'; }
}

// [output, status] of one dispatch.
function dispatch(Router $router, string $method, string $uri): array
{
    http_response_code(200);
    ob_start();
    $router->dispatch($method, $uri);
    return [ob_get_clean(), http_response_code()];
}

$router = new Router();
$router->get('/books', [BooksProbe::class, 'index']);
$router->post('books/store/', [BooksProbe::class, 'store']);
$router->get('/', [BooksProbe::class, 'index']);
$router->get('/old', [BooksProbe::class, 'index']);
$router->get('old', [BooksProbe::class, 'replaced']);

$cases = [
    ['GET route', 'GET', '/books', 'books index'],
    ['trailing slash', 'GET', '/books/', 'books index'],
    ['query string ignored', 'GET', '/books?page=2', 'books index'],
    ['HEAD runs the GET handler', 'HEAD', '/books', 'books index'],
    ['method letter case', 'get', '/books', 'books index'],
    ['POST route registered without slashes', 'POST', '/books/store', 'books store'],
    ['home', 'GET', '/', 'books index'],
    ['later registration replaces', 'GET', '/old', 'books replaced'],
    ['front controller in the URL', 'GET', '/index.php/books', 'books index'],
];
foreach ($cases as [$what, $method, $uri, $expected]) {
    T::same([$expected, 200], dispatch($router, $method, $uri), $what);
}

[$page, $status] = dispatch($router, 'post', '/books');
T::same(404, $status, 'POST to a GET-only route');
T::contains('<title>404</title>', $page, '404 title');
T::contains('<h1>404 - Not Found</h1>', $page, '404 heading');
T::contains('<p>No route for <code>POST /books</code>.</p>', $page, '404 names method and path');
T::contains('<a href="/">Home</a>', $page, '404 links home');

[$page, $status] = dispatch($router, 'GET', '/<script>alert(1)</script>');
T::same(404, $status, 'unknown route');
T::contains('<code>GET /&lt;script&gt;alert(1)&lt;/script&gt;</code>', $page, '404 escapes the path');

T::finish();
