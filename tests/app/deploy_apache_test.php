<?php
// The generated application behind Apache 2.4 with mod_php: the virtual host example with the
// document root on public/, the whole folder copied below a web root (two applications, one with
// a space and a non-ASCII letter in its folder name), and the same without mod_rewrite.
declare(strict_types=1);

require_once __DIR__ . '/support/deployment.php';

ApacheServer::requireTier();

foreach (crud_engines() as $engine) {
    // The virtual host example.
    $app = temp_dir('qb-vhost-') . '/myapp';
    $env = deploy_crud_app($engine, $app);
    $server = new ApacheServer(apache_vhost_site($app));
    $at = "[$engine, Apache virtual host] ";
    check_deployment(new CrudSite($engine, $app, $server, $env), $server, $at);
    check_refused($server, $app, ['/.htaccess' => 'public/.htaccess', '/.env' => '.env',
        '/storage/database.sqlite' => 'storage/database.sqlite', '/app/Config/schema.json' => 'app/Config/schema.json',
        '/README.md' => 'README.md'], $at);
    $server->stop();

    // Copied below a web root, with and without mod_rewrite.
    $webRoot = temp_dir('qb-htdocs-');
    $folders = ['myapp' => 'myapp', 'Other Äpp' => 'Other%20%C3%84pp'];
    $sites = [];
    foreach ($folders as $folder => $encoded) {
        $sites[$folder] = ["$webRoot/$folder", "/$encoded", deploy_crud_app($engine, "$webRoot/$folder")];
    }
    hand_to_worker($webRoot);
    $refused = ['/myapp/.env' => '.env', '/myapp/.htaccess' => '.htaccess', '/myapp/public/.htaccess' => 'public/.htaccess',
        '/myapp/storage/database.sqlite' => 'storage/database.sqlite', '/myapp/app/Config/schema.json' => 'app/Config/schema.json',
        '/myapp/README.md' => 'README.md', '/myapp/database/migrations/README.md' => 'database/migrations/README.md'];

    $server = new ApacheServer(apache_web_root_site($webRoot));
    $browser = new HttpClient($server->base());
    $crud = [];
    foreach ($sites as $folder => [$dir, $base, $siteEnv]) {
        $at = "[$engine, Apache, $folder below a web root] ";
        $crud[$folder] = new CrudSite($engine, $dir, $server, $siteEnv, $base);
        check_deployment($crud[$folder], $server, $at);
        $bare = $browser->get($base);
        T::same(301, $bare->status, $at . 'the folder without a slash redirects');
        // Percent-encoding may use either letter case.
        T::true(str_ends_with(strtolower((string) $bare->header("Location")), strtolower("$base/")), $at . "to the folder with a slash");
        $direct = $browser->get("$base/public/index.php/products");
        T::same(200, $direct->status, $at . 'public/index.php/<table>');
        T::contains('href="' . "$base/public/products/create" . '"', $direct->body, $at . 'links keep the public/ entry');
        T::same(200, $browser->get("$base/public/products/create")->status, $at . 'and answer');
    }
    check_refused($server, $sites['myapp'][0], $refused, "[$engine, Apache, below a web root] ");
    check_separate_sessions($server, $crud['myapp'], $crud['Other Äpp'], "[$engine, Apache, two applications] ");
    $server->stop();

    $server = new ApacheServer(apache_web_root_site($webRoot), false);
    $browser = new HttpClient($server->base());
    foreach ($sites as $folder => [$dir, $base]) {
        $at = "[$engine, Apache without mod_rewrite, $folder] ";
        $redirect = $browser->get("$base/");
        T::same([302, "$base/public/"], [$redirect->status, $redirect->header('Location')], $at . 'root index.php sends on to public/');
        $list = $browser->get("$base/public/index.php/products");
        T::same(200, $list->status, $at . 'public/index.php/<table>');
        T::contains('Products', $list->body, $at . 'list page');
    }
    check_refused($server, $sites['myapp'][0], $refused, "[$engine, Apache without mod_rewrite] ");
    $server->stop();
}

T::finish();
