<?php
declare(strict_types=1);

$router = new Router();
$router->get('/venues', [VenuesCrudController::class, 'index']);
$router->get('/venues/create', [VenuesCrudController::class, 'create']);
$router->post('/venues/store', [VenuesCrudController::class, 'store']);
$router->get('/venues/edit', [VenuesCrudController::class, 'edit']);
$router->post('/venues/update', [VenuesCrudController::class, 'update']);
$router->post('/venues/delete', [VenuesCrudController::class, 'delete']);
$router->get('/venues/lookup', [VenuesCrudController::class, 'lookup']);
$router->get('/members', [MembersCrudController::class, 'index']);
$router->get('/members/create', [MembersCrudController::class, 'create']);
$router->post('/members/store', [MembersCrudController::class, 'store']);
$router->get('/members/edit', [MembersCrudController::class, 'edit']);
$router->post('/members/update', [MembersCrudController::class, 'update']);
$router->post('/members/delete', [MembersCrudController::class, 'delete']);
$router->get('/members/lookup', [MembersCrudController::class, 'lookup']);
$router->get('/events', [EventsCrudController::class, 'index']);
$router->get('/events/create', [EventsCrudController::class, 'create']);
$router->post('/events/store', [EventsCrudController::class, 'store']);
$router->get('/events/edit', [EventsCrudController::class, 'edit']);
$router->post('/events/update', [EventsCrudController::class, 'update']);
$router->post('/events/delete', [EventsCrudController::class, 'delete']);
$router->get('/events/lookup', [EventsCrudController::class, 'lookup']);
$router->get('/', [HomeController::class, 'index']);
$router->get('/about', [AboutPageController::class, 'index']);
$router->get('/privacy', [PrivacyPageController::class, 'index']);
return $router;
