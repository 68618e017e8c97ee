<?php
declare(strict_types=1);
require_once dirname(__DIR__) . '/Core/Controller.php';

final class ContactPageController extends Controller
{
    public function index(): void {
        $this->view('pages/contact', ['title' => 'Contact']);
    }
}
