<?php
// The Content-Security-Policy of every page, with the stylesheet's CDN only where the layout links
// one, and pages that carry no inline script, inline style or event-handler attribute, which the
// policy would block.
declare(strict_types=1);

require_once __DIR__ . '/support/crud_site.php';

$policy = static fn (string $styleOrigin): string => "default-src 'self'; img-src 'self' data:; style-src 'self'$styleOrigin; "
    . "frame-ancestors 'self'; base-uri 'self'; form-action 'self'";

// [what, cssFramework, assets (null: no key), policy]
$variants = [
    ['Bootstrap from the CDN', 'bootstrap5', null, $policy(' https://cdn.jsdelivr.net')],
    ['Bootstrap of its own', 'bootstrap5', 'local', $policy('')],
    ['plain CSS', 'plain-css', 'cdn', $policy('')],
];
foreach ($variants as [$what, $framework, $assets, $expected]) {
    $project = json_decode((string) file_get_contents(example('bookshop.json')), true);
    $project['target']['cssFramework'] = $framework;
    $project['target']['pwaEnabled'] = true;
    if ($assets !== null) {
        $project['target']['assets'] = $assets;
    }
    $file = temp_dir('qb-csp-') . '/project.json';
    file_put_contents($file, json_encode($project));
    $site = crud_site('sqlite', $file);
    $bookId = $site->add('categories', ['title' => 'Poetry']);
    foreach (['/categories', '/categories/create', "/categories/edit?id=$bookId", '/about', '/no-such-page', '/categories/lookup?field=parent_id'] as $path) {
        $response = $site->http->get($path);
        T::same($expected, $response->header('Content-Security-Policy'), "$what, $path: the policy");
        preg_match_all('~<script\b(?![^>]*\ssrc=)[^>]*>|\sstyle="|\son[a-z]+="~i', $response->body, $inline);
        T::same([], $inline[0], "$what, $path: nothing inline");
    }
    $site->stop();
}

T::finish();
