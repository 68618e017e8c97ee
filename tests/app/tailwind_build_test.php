<?php
// The Tailwind example comes with its stylesheet compiled, and its own Node build compiles the
// directive stylesheet again.
declare(strict_types=1);

require_once __DIR__ . '/support/testing.php';
require_once __DIR__ . '/support/generated_app.php';

// Runs a command in $dir; returns [exit code, combined output].
function run_in(string $dir, string $command, array $env = []): array
{
    $proc = proc_open($command . ' 2>&1', [0 => ['file', '/dev/null', 'r'], 1 => ['pipe', 'w']], $pipes, $dir,
        array_merge(getenv(), $env));
    $output = stream_get_contents($pipes[1]);
    fclose($pipes[1]);
    return [proc_close($proc), $output];
}

// Checks a compiled stylesheet: no directive left, minified, preflight and the utilities the
// generated layout and views use; a class name no generated file uses stays out.
function check_compiled(string $compiled, string $which): void
{
    T::true(!str_contains($compiled, '@tailwind'), "$which: no @tailwind directive is left");
    T::true(strlen($compiled) > 4000, "$which: the stylesheet is not trivial (" . strlen($compiled) . ' bytes)');
    T::true(substr_count($compiled, "\n") < 5, "$which: the stylesheet is minified");
    foreach (['box-sizing:border-box', '.py-4{', '.mb-4{', '.gap-3{', '.flex-wrap{', '.container{'] as $rule) {
        T::contains($rule, $compiled, "$which: $rule");
    }
    T::true(!str_contains($compiled, '.grid-cols-7{'), "$which: unused utilities are purged");
}

// The class selectors of a stylesheet.
function class_selectors(string $css): array
{
    preg_match_all('/\.(-?(?:[A-Za-z_]|\\\\.)(?:[\w-]|\\\\.)*)/', $css, $matches);
    return array_values(array_unique($matches[1]));
}

$app = generate_app(example('club-events.json'), 'generate');
$css = $app . '/public/assets/css/app.css';
$source = (string) file_get_contents($app . '/resources/css/app.css');
T::contains('@tailwind utilities;', $source, 'the source stylesheet holds the directives');
$shipped = (string) file_get_contents($css);
check_compiled($shipped, 'as generated');

// The CRUD variant appends its theme to the compiled stylesheet and to the source.
$crud = generate_app(example('club-events.json'), 'crud', 'campus', 'wide', '#047857');
$themed = (string) file_get_contents($crud . '/public/assets/css/app.css');
T::true(str_starts_with($themed, $shipped . "\r\n"), 'crud: the compiled stylesheet comes first');
T::contains('body.ktb-theme-campus', substr($themed, strlen($shipped)), 'crud: the theme follows it');
T::contains('body.ktb-theme-campus', (string) file_get_contents($crud . '/resources/css/app.css'), 'crud: the source has the theme');

// A cache under the build tree keeps reruns off the network.
$cache = getenv('QB_BUILD_DIR') . '/npm-cache';
[$code, $output] = run_in($app, 'npm install --no-audit --no-fund --prefer-offline --loglevel=error --cache ' . escapeshellarg($cache));
T::same(0, $code, "npm install succeeds\n" . $output);
$installed = json_decode((string) @file_get_contents($app . '/node_modules/tailwindcss/package.json'), true);
T::true(is_array($installed) && str_starts_with((string) $installed['version'], '3.'), 'the package pins Tailwind 3');

[$code, $output] = run_in($app, 'npm run build:css --silent', ['NODE_ENV' => 'production']);
T::same(0, $code, "npm run build:css succeeds\n" . $output);

$compiled = (string) file_get_contents($css);
check_compiled($compiled, 'npm run build:css');
// What the application's own build finds in its views, the shipped stylesheet has already.
$missing = array_diff(class_selectors($compiled), class_selectors($shipped));
T::same([], array_values($missing), 'the shipped stylesheet has every class the npm build compiles');
T::same($source, (string) file_get_contents($app . '/resources/css/app.css'), 'the source stylesheet is left as it was');

// The CRUD variant's theme survives the build.
[$code, $output] = quillbarrow('crud', example('club-events.json'), $app, 'campus', 'wide', '#047857');
T::same(0, $code, "crud generation into the built app\n" . $output);
[$code, $output] = run_in($app, 'npm run build:css --silent', ['NODE_ENV' => 'production']);
T::same(0, $code, "npm run build:css of the CRUD app succeeds\n" . $output);
$themed = (string) file_get_contents($css);
T::contains('body.ktb-theme-campus{', $themed, 'the theme rules are compiled in');
T::contains('#047857', $themed, 'with the accent colour');

T::finish();
