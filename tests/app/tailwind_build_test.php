<?php
// The Tailwind example's own Node build turns the directive stylesheet into compiled CSS.
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

$app = generate_app(example('club-events.json'), 'generate');
$css = $app . '/public/assets/css/app.css';
$source = (string) file_get_contents($app . '/resources/css/app.css');
T::contains('@tailwind utilities;', (string) file_get_contents($css), 'before the build the stylesheet holds the directives');

// A cache under the build tree keeps reruns off the network.
$cache = getenv('QB_BUILD_DIR') . '/npm-cache';
[$code, $output] = run_in($app, 'npm install --no-audit --no-fund --prefer-offline --loglevel=error --cache ' . escapeshellarg($cache));
T::same(0, $code, "npm install succeeds\n" . $output);
$installed = json_decode((string) @file_get_contents($app . '/node_modules/tailwindcss/package.json'), true);
T::true(is_array($installed) && str_starts_with((string) $installed['version'], '3.'), 'the package pins Tailwind 3');

[$code, $output] = run_in($app, 'npm run build:css --silent', ['NODE_ENV' => 'production']);
T::same(0, $code, "npm run build:css succeeds\n" . $output);

$compiled = (string) file_get_contents($css);
T::true(!str_contains($compiled, '@tailwind'), 'no @tailwind directive is left');
T::true(strlen($compiled) > 4000, 'the compiled stylesheet is not trivial (' . strlen($compiled) . ' bytes)');
T::true(substr_count($compiled, "\n") < 5, 'the stylesheet is minified');
// Preflight, the base layer.
T::contains('box-sizing:border-box', $compiled, 'the base layer is compiled in');
// Utilities used by the generated layout and views: the content paths reach them.
foreach (['.py-4{', '.mb-4{', '.gap-3{', '.flex-wrap{', '.container{'] as $rule) {
    T::contains($rule, $compiled, "utility $rule from the generated views");
}
// A class name no generated file uses stays out.
T::true(!str_contains($compiled, '.grid-cols-7{'), 'unused utilities are purged');
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
