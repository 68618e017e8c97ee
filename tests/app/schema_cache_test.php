<?php
// The decoded schema cache of app/Core/Schema.php: storage/cache/schema.php is written on the
// first request, read instead of schema.json while schema.json's content stays the same, and
// written anew when that content changes or the cache is damaged. Once schema.json has been left
// alone for a while, its size, time and inode are recorded and schema.json is not read while they stay. Each run is its own PHP
// process, as one request of the application is.
declare(strict_types=1);

require_once __DIR__ . '/support/testing.php';

$root = temp_dir('qb-schema-cache-');
foreach (['/app/Core', '/app/Config', '/storage'] as $folder) {
    mkdir($root . $folder, 0777, true);
}
copy(getenv('QB_SOURCE_DIR') . '/templates/app/Core/Schema.php', $root . '/app/Core/Schema.php');
copy(getenv('QB_SOURCE_DIR') . '/templates/app/Core/RowCounts.php', $root . '/app/Core/RowCounts.php');
copy(getenv('QB_SOURCE_DIR') . '/templates/app/Core/PhpCache.php', $root . '/app/Core/PhpCache.php');
file_put_contents($root . '/request.php', <<<'PHP'
<?php
declare(strict_types=1);
require __DIR__ . '/app/Core/Schema.php';
$pdo = new PDO('sqlite:' . __DIR__ . '/storage/database.sqlite', null, null, [PDO::ATTR_ERRMODE => PDO::ERRMODE_EXCEPTION]);
echo json_encode(['ids' => array_column(Schema::entities(), 'id'), 'sync' => Schema::sync($pdo, 'k')]);
PHP);
$cacheFile = $root . '/storage/cache/schema.php';

function request(string $root): array
{
    $out = [];
    exec(escapeshellarg(PHP_BINARY) . ' ' . escapeshellarg($root . '/request.php'), $out, $status);
    T::same(0, $status, 'request exit status');
    return json_decode(implode('', $out), true) ?? [];
}

function schema(string ...$ids): string
{
    return json_encode(['entities' => array_map(static fn (string $id): array => ['id' => $id, 'fields' => []], $ids)]);
}

// Each step: what schema.json holds (null: unchanged), how many seconds ago it was last written
// (null: now; 'same': its time before this step), what is done to the cache before the request,
// the tables the request sees and the tables it creates.
$steps = [
    ['first request decodes and caches', schema('a'), null, null, ['a'], ['Created table a']],
    ['the cache is what is read while schema.json stays the same', null, null, 'mark', ['a', 'from_cache'], []],
    ['a changed schema.json replaces the cache', schema('a', 'b'), null, null, ['a', 'b'], ['Created table b']],
    ['a byte-order mark is no part of the JSON', "\xEF\xBB\xBF" . schema('a', 'b', 'c'), null, null, ['a', 'b', 'c'], ['Created table c']],
    ['a damaged cache is written anew', null, null, 'damage', ['a', 'b', 'c'], []],
    ['a cache of other content is not used', null, null, 'foreign', ['a', 'b', 'c'], []],
    ['a settled schema.json is stamped in the cache', null, 20, null, ['a', 'b', 'c'], []],
    // Size, time and inode unchanged: the cache is trusted and schema.json is not read.
    ['a matching stamp skips reading schema.json', "\xEF\xBB\xBF" . schema('a', 'b', 'e'), 'same', 'mark', ['a', 'b', 'c', 'from_cache'], []],
    ['the same size written at another time is read', schema('a', 'b', 'd'), 10, null, ['a', 'b', 'd'], ['Created table d']],
    ['unreadable JSON means no tables', '[broken', null, null, [], []],
];
$schemaFile = $root . '/app/Config/schema.json';
foreach ($steps as [$what, $json, $age, $cacheChange, $ids, $created]) {
    clearstatcache();
    $before = is_file($schemaFile) ? filemtime($schemaFile) : 0;
    if ($json !== null) {
        file_put_contents($schemaFile, $json);
    }
    if ($age !== null) {
        touch($schemaFile, $age === 'same' ? $before : time() - $age);
    }
    if ($cacheChange === 'mark') {
        $cache = include $cacheFile;
        $cache['schema']['entities'][] = ['id' => 'from_cache', 'fields' => []];
        file_put_contents($cacheFile, '<?php return ' . var_export($cache, true) . ';');
    } elseif ($cacheChange === 'damage') {
        file_put_contents($cacheFile, '<?php return [');
    } elseif ($cacheChange === 'foreign') {
        file_put_contents($cacheFile, '<?php return ' . var_export(['key' => md5('other'), 'schema' => ['entities' => []]], true) . ';');
    }
    $result = request($root);
    T::same($ids, $result['ids'] ?? null, $what . ': tables');
    T::same($created, $result['sync'] ?? null, $what . ': synchronisation');
    if ($json !== '[broken' && $age !== 'same') {
        $cache = include $cacheFile;
        T::same(md5((string) file_get_contents($schemaFile)), $cache['key'] ?? null, $what . ': cache key');
    }
    if (is_int($age)) {
        clearstatcache();
        $stat = stat($schemaFile);
        T::same($stat['size'] . '|' . $stat['mtime'] . '|' . $stat['ino'], $cache['stamp'] ?? null, $what . ': stamp');
    }
}
T::same([], glob($root . '/storage/cache/schema.php.*'), 'no temporary cache files left');

T::finish();
