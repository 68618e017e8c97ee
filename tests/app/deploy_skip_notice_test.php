<?php
// A deployment tier whose web server is missing or cannot start skips with the skip exit code and
// says why on stderr; it never passes silently.
declare(strict_types=1);

require_once __DIR__ . '/support/core_app_tree.php';

// [test, environment, expected notice]
$cases = [
    ['deploy_apache_test.php', ['QB_APACHE2' => '/nonexistent/apache2'],
        'SKIPPED: the Apache deployment tests do not run on this machine: apache2 or libapache2-mod-php is not installed'],
    ['deploy_apache_test.php', ['QB_APACHE2' => '/bin/false'],
        'SKIPPED: the Apache deployment tests do not run on this machine: apache2 does not start here'],
    ['deploy_nginx_test.php', ['QB_NGINX' => '/nonexistent/nginx'],
        'SKIPPED: the nginx + php-fpm deployment tests do not run on this machine: nginx or php-fpm is not installed'],
    ['deploy_nginx_test.php', ['QB_PHP_FPM' => '/bin/false'],
        'SKIPPED: the nginx + php-fpm deployment tests do not run on this machine: nginx or php-fpm does not start here'],
];
foreach ($cases as [$test, $environment, $notice]) {
    [$code, $out, $err] = run_php(__DIR__ . '/' . $test, $environment);
    $what = "$test with " . http_build_query($environment);
    T::same(77, $code, "$what exits with the skip code");
    T::contains($notice, $err, "$what says why on stderr");
    T::contains('SKIPPED', $out, "$what says so on stdout");
}

T::finish();
