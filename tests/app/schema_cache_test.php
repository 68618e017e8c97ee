<?php
// The decoded schema cache of app/Core/Schema.php: storage/cache/schema.php is written on the
// first request, read instead of schema.json while schema.json's content stays the same, and
// written anew when that content changes or the cache is damaged. Each run is its own PHP
// process, as one request of the application is.
declare(strict_types=1);

require_once __DIR__ . '/support/testing.php';

$root = temp_dir('qb-schema-cache-');
foreach (['/app/Core', '/app/Config', '/storage'] as $folder) {
    mkdir($root . $folder, 0777, true);
}
copy(getenv('QB_SOURCE_DIR') . '/templates/app/Core/Schema.php', $root . '/app/Core/Schema.php');
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

// Each step: what schema.json holds (null: unchanged), what is done to the cache before the
// request, the tables the request sees and the tables it creates.
$steps = [
    ['first request decodes and caches', schema('a'), null, ['a'], ['Created table a']],
    ['the cache is what is read while schema.json stays the same', null, 'mark', ['a', 'from_cache'], []],
    ['a changed schema.json replaces the cache', schema('a', 'b'), null, ['a', 'b'], ['Created table b']],
    ['a byte-order mark is no part of the JSON', "\xEF\xBB\xBF" . schema('a', 'b', 'c'), null, ['a', 'b', 'c'], ['Created table c']],
    ['a damaged cache is written anew', null, 'damage', ['a', 'b', 'c'], []],
    ['a cache of other content is not used', null, 'foreign', ['a', 'b', 'c'], []],
    ['unreadable JSON means no tables', '[broken', null, [], []],
];
foreach ($steps as [$what, $json, $cacheChange, $ids, $created]) {
    if ($json !== null) {
        file_put_contents($root . '/app/Config/schema.json', $json);
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
    if ($json !== '[broken') {
        $cache = include $cacheFile;
        T::same(md5((string) file_get_contents($root . '/app/Config/schema.json')), $cache['key'] ?? null, $what . ': cache key');
    }
}
T::same([], glob($root . '/storage/cache/schema.php.*'), 'no temporary cache files left');

T::finish();
