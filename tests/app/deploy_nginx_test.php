<?php
// The generated application behind nginx and php-fpm, configured from the generated example: its
// server block with the root on public/, and its sub-folder locations for two applications inside
// another site that has a PHP handler of its own.
declare(strict_types=1);

require_once __DIR__ . '/support/deployment.php';

NginxFpmServer::requireTier();

foreach (crud_engines() as $engine) {
    // The server block of the example.
    $app = temp_dir('qb-nginx-root-') . '/myapp';
    $env = deploy_crud_app($engine, $app);
    $server = new NginxFpmServer(static fn (int $port, string $fastcgi): string => nginx_root_site($app, $port, $fastcgi));
    $at = "[$engine, nginx at the root] ";
    check_deployment(new CrudSite($engine, $app, $server, $env), $server, $at);
    check_refused($server, $app, ['/.htaccess' => 'public/.htaccess', '/.env' => '.env',
        '/storage/database.sqlite' => 'storage/database.sqlite', '/app/Config/schema.json' => 'app/Config/schema.json',
        '/README.md' => 'README.md'], $at);
    $server->stop();

    // The sub-folder locations, twice, in a site with its own pages and PHP.
    $webRoot = temp_dir('qb-nginx-site-');
    mkdir("$webRoot/html");
    file_put_contents("$webRoot/html/index.html", 'host site page');
    file_put_contents("$webRoot/html/host.php", '<?php echo "host site " . "script";');
    $apps = [];
    foreach (['myapp', 'otherapp'] as $folder) {
        $apps[$folder] = ["$webRoot/$folder", deploy_crud_app($engine, "$webRoot/$folder")];
    }
    $server = new NginxFpmServer(static function (int $port, string $fastcgi) use ($webRoot, $apps): string {
        $locations = '';
        foreach ($apps as $folder => [$dir]) {
            $locations .= nginx_folder_locations($dir, $folder, $fastcgi);
        }
        return <<<SITE
            server {
                listen 127.0.0.1:$port;
                root $webRoot/html;
                index index.html;
                location ~ \\.php$ {
                    include fastcgi_params;
                    fastcgi_param SCRIPT_FILENAME \$document_root\$fastcgi_script_name;
                    fastcgi_pass $fastcgi;
                }
            $locations
            }
            SITE;
    });
    $browser = new HttpClient($server->base());
    $crud = [];
    foreach ($apps as $folder => [$dir, $siteEnv]) {
        $at = "[$engine, nginx, /$folder/] ";
        $crud[$folder] = new CrudSite($engine, $dir, $server, $siteEnv, "/$folder");
        check_deployment($crud[$folder], $server, $at);
        $bare = $browser->get("/$folder");
        T::same(301, $bare->status, $at . 'the folder without a slash redirects');
        T::true(str_ends_with((string) $bare->header('Location'), "/$folder/"), $at . 'to the folder with a slash');
        $direct = $browser->get("/$folder/index.php/products");
        T::same(200, $direct->status, $at . 'index.php/<table>');
        T::contains('Products', $direct->body, $at . 'index.php/<table> shows the list');
        $missing = $browser->get("/$folder/api/missing.php");
        T::same(404, $missing->status, $at . 'a PHP file that does not exist');
        T::true(!str_contains($browser->get("/$folder/index.php")->body, '<?php'), $at . 'index.php runs');
    }
    check_refused($server, $apps['myapp'][0], ['/myapp/.htaccess' => 'public/.htaccess', '/myapp/.env' => '.env',
        '/myapp/storage/database.sqlite' => 'storage/database.sqlite', '/myapp/app/Config/schema.json' => 'app/Config/schema.json',
        '/myapp/README.md' => 'README.md'], "[$engine, nginx, /myapp/] ");
    check_separate_sessions($server, $crud['myapp'], $crud['otherapp'], "[$engine, nginx, two applications] ");
    // The site around the applications keeps its own pages and PHP.
    T::same([200, 'host site page'], [$browser->get('/')->status, $browser->get('/')->body], "[$engine, nginx] host site page");
    T::same('host site script', $browser->get('/host.php')->body, "[$engine, nginx] host site PHP");
    $server->stop();
}

T::finish();
