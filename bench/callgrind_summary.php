<?php
// Where the instructions of one request go, from callgrind files of a php-fpm worker (bench/crud_list.sh):
//   php bench/callgrind_summary.php compare GENERATED SAME   own instructions by library, and the
//       instructions of what a request does (inclusive, so they overlap), for the two pages
//   php bench/callgrind_summary.php top N FILE               the N functions with most own instructions
declare(strict_types=1);

// The functions of one file as [function, object, instructions], and the total.
function profile(string $file, bool $inclusive): array
{
    $command = 'callgrind_annotate --threshold=100 --inclusive=' . ($inclusive ? 'yes' : 'no') . ' ' . escapeshellarg($file) . ' 2>/dev/null';
    $total = 0;
    $functions = [];
    foreach (explode("\n", (string) shell_exec($command)) as $line) {
        if (preg_match('/^\s*([\d,]+)\s+\(\s*[\d.]+%\)\s+PROGRAM TOTALS/', $line, $m) === 1) {
            $total = (int) str_replace(',', '', $m[1]);
        } elseif (preg_match('/^\s*([\d,]+)\s+\(\s*[\d.]+%\)\s+[^:\s]*:(.+?)(?: \[(.+)\])?$/', $line, $m) === 1) {
            $functions[] = [$m[2], $m[3] ?? '', (int) str_replace(',', '', $m[1])];
        }
    }
    if ($total === 0) {
        fwrite(STDERR, "callgrind_annotate read nothing from $file\n");
        exit(1);
    }
    // The frames around the request (libc's start, the worker's loop) hold everything.
    return [array_values(array_filter($functions, static fn (array $f): bool => $f[2] < $total)), $total];
}

function library(string $object): string
{
    $name = basename($object);
    return match (true) {
        str_starts_with($name, 'php-fpm') => 'PHP engine and functions (php-fpm)',
        str_starts_with($name, 'libsqlite3') => 'SQLite (libsqlite3)',
        $name === 'pdo.so' || $name === 'pdo_sqlite.so' => 'PDO (pdo, pdo_sqlite)',
        $name === 'opcache.so' => 'opcache',
        str_starts_with($name, 'libc.so') => 'C library (memory, strings)',
        str_starts_with($name, 'libpcre2') => 'PCRE',
        default => 'other',
    };
}

// Inclusive instructions of what a request does, by the C function that does it.
const ACTIVITIES = [
    'request start (superglobals, opcache lookups)' => ['php_request_startup'],
    'the PHP script (everything it calls)' => ['php_execute_script'],
    'request end (freeing, sending the answer)' => ['php_request_shutdown'],
    'SQLite: open the connection' => ['sqlite3_open_v2'],
    'SQLite: read the schema (once per connection)' => ['sqlite3InitOne'],
    'SQLite: exec (PRAGMAs, and the schema read)' => ['sqlite3_exec'],
    'SQLite: prepare statements (SQL parsing)' => ['sqlite3_prepare_v2'],
    'SQLite: run statements (step)' => ['sqlite3_step'],
    'SQLite: close the connection' => ['sqlite3_close_v2'],
    'htmlspecialchars' => ['php_escape_html_entities_ex'],
    'http_build_query' => ['php_url_encode_hash_ex'],
    'regular expressions (PCRE)' => ['php_pcre_match_impl'],
    'echo into the output buffer' => ['php_output_write'],
    'header() and setcookie()' => ['sapi_header_op'],
    'file status (stat, is_file, ...)' => ['php_stat'],
    'opening files and streams' => ['_php_stream_open_wrapper_ex'],
    'glob()' => ['glob@@GLIBC_2.27', 'glob'],
    'sha1 / hash' => ['PHP_SHA1Update', 'PHP_SHA256Update'],
];

function percent(int $part, int $total): string
{
    return sprintf('%5.1f%%', 100 * $part / max(1, $total));
}

$mode = $argv[1] ?? '';
if ($mode === 'compare') {
    [$ownA, $totalA] = profile($argv[2], false);
    [$ownB, $totalB] = profile($argv[3], false);
    [$incA] = profile($argv[2], true);
    [$incB] = profile($argv[3], true);
    $byLibrary = [];
    foreach ([[$ownA, 0], [$ownB, 1]] as [$functions, $column]) {
        foreach ($functions as [, $object, $count]) {
            $byLibrary[library($object)][$column] = ($byLibrary[library($object)][$column] ?? 0) + $count;
        }
    }
    uasort($byLibrary, static fn (array $a, array $b): int => ($b[0] ?? 0) <=> ($a[0] ?? 0));
    printf("  %-46s %18s %18s %12s\n", 'own instructions by library', 'generated list', 'same markup', 'difference');
    foreach ($byLibrary as $name => $counts) {
        [$a, $b] = [$counts[0] ?? 0, $counts[1] ?? 0];
        printf("  %-46s %11d %s %11d %s %12d\n", $name, $a, percent($a, $totalA), $b, percent($b, $totalB), $a - $b);
    }
    printf("  %-46s %11d %6s %11d %6s %12d\n", 'total', $totalA, '', $totalB, '', $totalA - $totalB);
    printf("  %-46s %18s %18s %12s\n", 'what the request does (inclusive, overlapping)', '', '', '');
    $find = static function (array $functions, array $names): int {
        $sum = 0;
        foreach ($functions as [$function, , $count]) {
            // Recursive calls show again as "name'2"; the outer call holds them.
            if (in_array($function, $names, true)) {
                $sum += $count;
            }
        }
        return $sum;
    };
    foreach (ACTIVITIES as $label => $names) {
        [$a, $b] = [$find($incA, $names), $find($incB, $names)];
        if ($a + $b > 0) {
            printf("  %-46s %11d %s %11d %s %12d\n", $label, $a, percent($a, $totalA), $b, percent($b, $totalB), $a - $b);
        }
    }
} elseif ($mode === 'top') {
    [$own, $total] = profile($argv[3], false);
    usort($own, static fn (array $a, array $b): int => $b[2] <=> $a[2]);
    foreach (array_slice($own, 0, (int) $argv[2]) as [$function, $object, $count]) {
        printf("  %11d %s  %s (%s)\n", $count, percent($count, $total), $function, basename($object));
    }
} else {
    fwrite(STDERR, "usage: callgrind_summary.php compare GENERATED SAME | top N FILE\n");
    exit(2);
}
