<?php
declare(strict_types=1);

$router = new Router();
$router->get('/categories', [CategoriesCrudController::class, 'index']);
$router->get('/categories/create', [CategoriesCrudController::class, 'create']);
$router->post('/categories/store', [CategoriesCrudController::class, 'store']);
$router->get('/categories/edit', [CategoriesCrudController::class, 'edit']);
$router->post('/categories/update', [CategoriesCrudController::class, 'update']);
$router->post('/categories/delete', [CategoriesCrudController::class, 'delete']);
$router->get('/categories/lookup', [CategoriesCrudController::class, 'lookup']);
$router->get('/authors', [AuthorsCrudController::class, 'index']);
$router->get('/authors/create', [AuthorsCrudController::class, 'create']);
$router->post('/authors/store', [AuthorsCrudController::class, 'store']);
$router->get('/authors/edit', [AuthorsCrudController::class, 'edit']);
$router->post('/authors/update', [AuthorsCrudController::class, 'update']);
$router->post('/authors/delete', [AuthorsCrudController::class, 'delete']);
$router->get('/authors/lookup', [AuthorsCrudController::class, 'lookup']);
$router->get('/books', [BooksCrudController::class, 'index']);
$router->get('/books/create', [BooksCrudController::class, 'create']);
$router->post('/books/store', [BooksCrudController::class, 'store']);
$router->get('/books/edit', [BooksCrudController::class, 'edit']);
$router->post('/books/update', [BooksCrudController::class, 'update']);
$router->post('/books/delete', [BooksCrudController::class, 'delete']);
$router->get('/books/lookup', [BooksCrudController::class, 'lookup']);
$router->get('/', [HomeController::class, 'index']);
$router->get('/about', [AboutPageController::class, 'index']);
$router->get('/contact', [ContactPageController::class, 'index']);
return $router;
