<?php
declare(strict_types=1);
require_once dirname(__DIR__) . '/Core/Controller.php';

final class AboutPageController extends Controller
{
    public function index(): void {
        $this->view('pages/about', ['title' => 'About']);
    }
}
