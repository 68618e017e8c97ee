<?php
// CSV export and import of the generated application under PHP's built-in server, figures beside
// their goals: the export of EXPORT_ROWS rows (1,000,000) on SQLite, and the import of IMPORT_ROWS
// rows (100,000; a lookup by shown value, a unique column) into an empty table on SQLite and
// MariaDB. Peak memory is PHP's own, taken at the end of each request by an auto_prepend_file.
// Exits 1 when an import stores another number of rows. Run through bench/csv.sh.
declare(strict_types=1);

require_once __DIR__ . '/../tests/app/support/crud_site.php';

$exportRows = (int) (getenv('EXPORT_ROWS') ?: 1000000);
$importRows = (int) (getenv('IMPORT_ROWS') ?: 100000);
$engines = getenv('ENGINES') ? explode(' ', (string) getenv('ENGINES')) : crud_engines();

$work = temp_dir('qb-bench-csv-');
// Every request of the servers writes "<peak bytes> <method> <uri>" to the peak log.
$peakLog = $work . '/peak.log';
mkdir($work . '/ini');
// The built-in server reads no public/.user.ini: the upload limits it needs are set here.
file_put_contents($work . '/ini/peak.ini', 'auto_prepend_file=' . $work . "/peak.php\nupload_max_filesize=64M\npost_max_size=65M\n");
file_put_contents($work . '/peak.php', '<?php register_shutdown_function(static function (): void { file_put_contents('
    . var_export($peakLog, true) . ', memory_get_peak_usage() . " " . ($_SERVER["REQUEST_METHOD"] ?? "") . " " . strtok($_SERVER["REQUEST_URI"] ?? "", "?") . "\n", FILE_APPEND); });');
putenv('PHP_INI_SCAN_DIR=:' . $work . '/ini');

$project = json_decode((string) file_get_contents(__DIR__ . '/crud_list_project.json'), true);
$items = &$project['database']['entities'][0];
$items['export'] = true;
$items['import'] = true;
$items['fields'][1]['unique'] = true;
$items['fields'][] = ['name' => 'category_id', 'label' => 'Category', 'type' => 'lookup', 'lookup' => ['entity' => 'categories', 'field' => 'name']];
unset($items);
$project['database']['entities'][] = ['id' => 'categories', 'name' => 'Categories', 'displayField' => 'name', 'timestamps' => false,
    'fields' => [['name' => 'name', 'label' => 'Name', 'type' => 'string', 'required' => true, 'unique' => true]]];
file_put_contents($work . '/project.json', json_encode($project));

$categories = ['Lamps', 'Chairs', 'Tables', 'Shelves', 'Mugs', 'Vases', 'Rugs', 'Clocks', 'Frames', 'Desks'];

// Fills items with $rows rows straight through PDO.
function seed(PDO $pdo, int $rows, int $categoryCount): void
{
    $pdo->beginTransaction();
    $insert = $pdo->prepare('INSERT INTO `items` (`title`, `code`, `price`, `quantity`, `active`, `added_on`, `notes`, `category_id`)'
        . ' VALUES (?, ?, ?, ?, ?, ?, ?, ?)');
    for ($i = 1; $i <= $rows; $i++) {
        $insert->execute(["Item $i, \"boxed\"", sprintf('SKU-%07d', $i), ($i % 50000) / 100, $i % 1000 - 10, $i % 3 !== 0 ? 1 : 0,
            date('Y-m-d', 1577836800 + 86400 * ($i % 1500)), $i % 7 === 0 ? "=note $i" : "Aisle " . ($i % 40), $i % $categoryCount + 1]);
    }
    $pdo->commit();
}

// The largest peak memory logged for "$method $path" since the log was cleared.
function peak(string $log, string $method, string $path): int
{
    $peak = 0;
    foreach (file($log, FILE_IGNORE_NEW_LINES) ?: [] as $line) {
        [$bytes, $m, $p] = explode(' ', $line . '  ', 3);
        if ($m === $method && rtrim($p) === $path) {
            $peak = max($peak, (int) $bytes);
        }
    }
    return $peak;
}

function curl(string ...$args): string
{
    $proc = proc_open(['curl', '-sS', ...$args], [1 => ['pipe', 'w'], 2 => ['pipe', 'w']], $pipes);
    $out = stream_get_contents($pipes[1]);
    $err = stream_get_contents($pipes[2]);
    if (proc_close($proc) !== 0) {
        throw new RuntimeException("curl failed: $err");
    }
    return $out;
}

function report(string $what, float $value, string $unit, string $goal, bool $met): void
{
    printf("%-44s %12s %-6s %-14s met: %s\n", $what, number_format($value, $value < 100 ? 2 : 0), $unit, $goal, $met ? 'yes' : 'no');
}

printf("PHP %s built-in server, one request at a time; load average %s\n", PHP_VERSION, implode(' ', array_slice(explode(' ', (string) file_get_contents('/proc/loadavg')), 0, 3)));
$failed = false;
foreach ($engines as $engine) {
    $site = crud_site($engine, $work . '/project.json', ['APP_DEBUG' => 'false', 'APP_ENV' => 'production', 'IMPORT_MAX_MB' => '64']);
    $pdo = $site->db();
    foreach ($categories as $name) {
        $pdo->prepare('INSERT INTO `categories` (`name`) VALUES (?)')->execute([$name]);
    }
    $base = $site->base();

    // Export: every row, streamed to /dev/null.
    if ($engine === 'sqlite') {
        seed($pdo, $exportRows, count($categories));
        @unlink($peakLog);
        [$seconds, $bytes] = explode(' ', curl('-o', '/dev/null', '-w', '%{time_total} %{size_download}', "$base/items/export?sort=id&dir=asc"));
        $memory = peak($peakLog, 'GET', '/items/export') / 1048576;
        $rate = $exportRows / (float) $seconds;
        printf("[%s] export of %s rows: %.1f s, %.0f MB of CSV\n", $engine, number_format($exportRows), $seconds, $bytes / 1048576);
        report("[$engine] export rows/s", $rate, 'rows/s', '>= 100,000', $rate >= 100000);
        report("[$engine] export peak PHP memory", $memory, 'MB', '<= 16', $memory <= 16);
        $pdo->exec('DELETE FROM `items`');
    }

    // Import: a file of $importRows rows as a spreadsheet would write it, categories by name.
    $csv = $work . '/import.csv';
    $file = fopen($csv, 'wb');
    fwrite($file, "\xEF\xBB\xBFTitle,Code,Price,Quantity,Active,Added on,Notes,Category\r\n");
    for ($i = 1; $i <= $importRows; $i++) {
        fwrite($file, sprintf("\"Item %d, \"\"boxed\"\"\",SKU-%07d,%.2f,%d,%s,%s,Aisle %d,%s\r\n", $i, $i, ($i % 50000) / 100, $i % 1000,
            $i % 3 !== 0 ? 'Yes' : 'No', date('Y-m-d', 1577836800 + 86400 * ($i % 1500)), $i % 40, $categories[$i % count($categories)]));
    }
    fclose($file);
    $jar = $work . "/jar-$engine";
    preg_match('~name="_csrf" value="([^"]+)"~', curl('-c', $jar, '-b', $jar, "$base/items/import"), $token);
    $preview = curl('-c', $jar, '-b', $jar, '-F', '_csrf=' . $token[1], '-F', 'file=@' . $csv . ';type=text/csv', "$base/items/import");
    if (preg_match('~name="upload" value="([0-9a-f]{32})"~', $preview, $upload) !== 1) {
        throw new RuntimeException("[$engine] no preview: " . substr(strip_tags($preview), 0, 800));
    }
    @unlink($peakLog);
    $seconds = (float) curl('-c', $jar, '-b', $jar, '-o', '/dev/null', '-w', '%{time_total}', '--data-urlencode', '_csrf=' . $token[1],
        '--data-urlencode', 'upload=' . $upload[1], "$base/items/import/run");
    $stored = (int) $pdo->query('SELECT COUNT(*) FROM `items`')->fetchColumn();
    $memory = peak($peakLog, 'POST', '/items/import/run') / 1048576;
    $goal = $engine === 'sqlite' ? 10 : 20;
    printf("[%s] import of %s rows (%.1f MB): %s rows stored\n", $engine, number_format($importRows), filesize($csv) / 1048576, number_format($stored));
    report("[$engine] import time", $seconds, 's', "<= $goal", $seconds <= $goal);
    report("[$engine] import peak PHP memory", $memory, 'MB', '<= 64', $memory <= 64);
    $failed = $failed || $stored !== $importRows;
    $site->stop();
}
exit($failed ? 1 : 0);
