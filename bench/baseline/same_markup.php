<?php
// Hand-written list page of the bench table "items" (bench/crud_list.sh): plain PHP and PDO, no
// framework, printing the markup the generated list prints for the same rows and query, with the
// same queries: the kept row count (or a count that stops at 10,001 matches), then one page by
// offset, or by keyset (after= / before= / last=1) beyond 10,000 rows; its connection is opened as
// a plain PDO page opens one (none of the application's PRAGMAs, schema or migration checks). The
// bench copies it with the generated application's line ends. BENCH_DB names the database,
// BENCH_KEY the application's storage/app.key (the delete forms' tokens are signed with it),
// BENCH_COOKIE the name of its token cookie, BENCH_FTS=1 searches the FTS5 table _fts_items as a
// table marked for full-text search does.
declare(strict_types=1);

const PAGE_SIZE = 20;
const CAP = 10000;
const NUMBERED_ROWS = 10000;
const SEARCH_MAX = 200;

header("Content-Security-Policy: default-src 'self'; img-src 'self' data:; style-src 'self' https://cdn.jsdelivr.net; frame-ancestors 'self'; base-uri 'self'; form-action 'self'");
header('X-Content-Type-Options: nosniff');
header('Referrer-Policy: strict-origin-when-cross-origin');
header('X-Frame-Options: SAMEORIGIN');
ob_start();

function h(mixed $value): string
{
    return is_int($value) || is_float($value) ? (string) $value : htmlspecialchars((string) $value, ENT_QUOTES | ENT_SUBSTITUTE, 'UTF-8');
}

function cursor(mixed $text): ?int
{
    if (!is_string($text) || strlen($text) > 2000) {
        return null;
    }
    $cursor = json_decode((string) base64_decode(strtr($text, '-_', '+/'), true), true);
    return is_array($cursor) && count($cursor) === 2 && is_int($cursor[1] ?? null) ? $cursor[1] : null;
}

$pdo = new PDO('sqlite:' . getenv('BENCH_DB'), null, null, [
    PDO::ATTR_ERRMODE => PDO::ERRMODE_EXCEPTION,
    PDO::ATTR_DEFAULT_FETCH_MODE => PDO::FETCH_ASSOC,
    PDO::ATTR_EMULATE_PREPARES => false,
]);

// The query: search, filters (Quantity from/to, Active), sort and direction.
$q = is_string($_GET['q'] ?? null) ? trim($_GET['q']) : '';
$q = preg_match('/^.{0,' . SEARCH_MAX . '}/su', $q, $m) === 1 ? $m[0] : '';
$f = is_array($_GET['f'] ?? null) ? $_GET['f'] : [];
$filters = [];
$range = is_array($f['quantity'] ?? null) ? $f['quantity'] : [];
foreach (['from', 'to'] as $end) {
    $number = is_string($range[$end] ?? null) ? filter_var(trim($range[$end]), FILTER_VALIDATE_INT) : false;
    if ($number !== false) {
        $filters['quantity'][$end] = $number;
    }
}
$active = is_string($f['active'] ?? null) ? trim($f['active']) : '';
if ($active === '1' || $active === '0') {
    $filters['active'] = $active;
}
$columns = ['title' => 'Title', 'code' => 'Code', 'price' => 'Price', 'quantity' => 'Quantity', 'active' => 'Active', 'added_on' => 'Added on'];
$sort = is_string($_GET['sort'] ?? null) && isset($columns[$_GET['sort']]) ? $_GET['sort'] : 'id';
$dir = is_string($_GET['dir'] ?? null) && strtolower($_GET['dir']) === 'asc' ? 'asc' : 'desc';

$where = [];
$params = [];
if ($q !== '' && getenv('BENCH_FTS') === '1') {
    $words = preg_split('/[^\p{L}\p{N}]+/u', $q, -1, PREG_SPLIT_NO_EMPTY) ?: [];
    $where[] = '(m.`id` IN (SELECT rowid FROM `_fts_items` WHERE `_fts_items` MATCH ?))';
    $params[] = implode(' ', array_map(static fn (string $word): string => '"' . $word . '"*', $words));
} elseif ($q !== '') {
    $where[] = '(m.`title` LIKE ? OR m.`code` LIKE ? OR m.`notes` LIKE ?)';
    array_push($params, '%' . $q . '%', '%' . $q . '%', '%' . $q . '%');
}
foreach (['from' => '>=', 'to' => '<='] as $end => $operator) {
    if (isset($filters['quantity'][$end])) {
        $where[] = 'm.`quantity` ' . $operator . ' ?';
        $params[] = $filters['quantity'][$end];
    }
}
if (isset($filters['active'])) {
    $where[] = 'm.`active` = ?';
    $params[] = (int) $filters['active'];
}
$ftsOnly = count($where) === 1 && $q !== '' && getenv('BENCH_FTS') === '1';
$where = implode(' AND ', $where);

if ($where === '') {
    $stmt = $pdo->prepare('SELECT `row_count` FROM `_app_row_counts` WHERE `table_name` = ?');
    $stmt->execute(['items']);
} elseif ($ftsOnly) {
    // A full-text search alone is counted in the FTS5 table, as the list does.
    $stmt = $pdo->prepare('SELECT COUNT(*) FROM (SELECT 1 FROM `_fts_items` WHERE `_fts_items` MATCH ? LIMIT ' . (CAP + 1) . ') capped');
    $stmt->execute($params);
} else {
    $stmt = $pdo->prepare('SELECT COUNT(*) FROM (SELECT 1 FROM `items` m WHERE ' . $where . ' LIMIT ' . (CAP + 1) . ') capped');
    $stmt->execute($params);
}
$total = (int) $stmt->fetchColumn();
$capped = $where !== '' && $total > CAP;

// Pages by number, or by keyset (the id) beyond NUMBERED_ROWS rows.
$keyset = $sort === 'id' && ($capped || $total > NUMBERED_ROWS);
$pages = max(1, (int) ceil($total / PAGE_SIZE));
$page = max(1, (int) (is_string($_GET['page'] ?? null) ? $_GET['page'] : 1));
$after = $before = null;
$last = $reversed = false;
$order = ' ORDER BY m.`' . $sort . '` ' . strtoupper($dir) . ($sort === 'id' ? '' : ', m.`id` ' . strtoupper($dir));
$limit = PAGE_SIZE;
$offset = 0;
$beyond = '';
$beyondParams = [];
if (!$keyset) {
    $page = min($pages, $page);
    $offset = ($page - 1) * PAGE_SIZE;
} else {
    $after = cursor($_GET['after'] ?? null);
    $before = $after === null ? cursor($_GET['before'] ?? null) : null;
    $last = $after === null && $before === null && ($_GET['last'] ?? null) === '1';
    $reversed = $before !== null || $last;
    $ascending = ($dir === 'asc') !== $reversed;
    $order = ' ORDER BY m.`id` ' . ($ascending ? 'ASC' : 'DESC');
    $limit = PAGE_SIZE + 1;
    $edge = $after ?? $before;
    if ($edge === null) {
        $offset = $last ? 0 : ($page - 1) * PAGE_SIZE;
    } else {
        $beyond = 'm.`id` ' . ($ascending ? '>' : '<') . ' ?';
        $beyondParams = [$edge];
    }
}
$pageWhere = implode(' AND ', array_filter([$where, $beyond], static fn (string $part): bool => $part !== ''));
$stmt = $pdo->prepare('SELECT m.* FROM `items` m' . ($pageWhere === '' ? '' : ' WHERE ' . $pageWhere) . $order
    . ' LIMIT ' . $limit . ' OFFSET ' . $offset);
$stmt->execute([...$params, ...$beyondParams]);
$rows = $stmt->fetchAll();
$links = null;
if ($keyset) {
    $more = count($rows) > PAGE_SIZE;
    $rows = array_slice($rows, 0, PAGE_SIZE);
    if ($reversed) {
        $rows = array_reverse($rows);
        [$hasPrevious, $hasNext] = [$more, !$last];
    } else {
        [$hasPrevious, $hasNext] = [$after !== null || $page > 1, $more];
    }
    $edgeOf = static fn (?array $row): ?string => $row === null ? null
        : rtrim(strtr(base64_encode(json_encode([$row['id'], $row['id']])), '+/', '-_'), '=');
    $none = ['page' => null, 'after' => null, 'before' => null, 'last' => null];
    $links = [
        'First' => $hasPrevious ? $none : null,
        'Previous' => $hasPrevious ? ['before' => $edgeOf($rows[0] ?? null)] + $none : null,
        'Next' => $hasNext ? ['after' => $edgeOf($rows[count($rows) - 1] ?? null)] + $none : null,
        'Last' => $hasNext ? ['last' => '1'] + $none : null,
    ];
}

// The delete forms' token: a random value in a cookie of its own, signed with the application's key.
$cookie = (string) getenv('BENCH_COOKIE');
$token = is_string($_COOKIE[$cookie] ?? null) && preg_match('/^[0-9a-f]{32}$/', $_COOKIE[$cookie]) === 1 ? $_COOKIE[$cookie] : '';
if ($token === '') {
    $token = bin2hex(random_bytes(16));
    setcookie($cookie, $token, ['path' => '/', 'httponly' => true, 'samesite' => 'Lax']);
}
$token = h($token . '.' . hash_hmac('sha256', $token . '|', trim((string) file_get_contents(getenv('BENCH_KEY')))));

$url = static function (array $changes) use ($q, $filters, $sort, $dir, $page): string {
    $query = array_filter(array_replace(['q' => $q, 'f' => $filters, 'sort' => $sort, 'dir' => $dir, 'page' => $page], $changes),
        static fn ($value): bool => $value !== '' && $value !== null && $value !== []);
    return h($query === [] ? '/items' : '/items?' . http_build_query($query));
};
$count = $capped ? number_format(CAP) . '+ matches' : $total . ' record' . ($total === 1 ? '' : 's');
?>
<!doctype html>
<html lang="en">
<head>
    <meta charset="utf-8">
    <meta name="viewport" content="width=device-width, initial-scale=1">
    <title>Items</title>
    <link href="https://cdn.jsdelivr.net/npm/bootstrap@5.3.3/dist/css/bootstrap.min.css" rel="stylesheet" integrity="sha384-QWTKZyjpPEjISv5WaRU9OFeRpok6YctnYmDr5pNlyT2bRjXh0JMhjY6hW+ALEwIH" crossorigin="anonymous">
    <link rel="stylesheet" href="/assets/css/app.css">
</head>
<body class="ktb-theme-studio ktb-layout-dashboard">
    <main class="container ktb-shell py-4">
        <header class="d-flex flex-wrap align-items-center gap-3 mb-4 pb-3 border-bottom">
            <a href="/" class="text-decoration-none fs-5"><strong>Inventory</strong></a>
            <nav class="d-flex flex-wrap gap-3">
                                <a class="link-secondary text-decoration-none" href="/items">Items</a>
                                <a class="link-secondary text-decoration-none" href="/about">About</a>
            </nav>
        </header>
        <section>
    <div class="d-flex flex-wrap gap-2 justify-content-between align-items-center mb-3">
        <h1 class="h3 mb-0">Items <small class="text-secondary fs-6"><?= $count ?></small></h1>
        <a class="btn btn-primary" href="/items/create">Add new</a>
    </div>
    <form class="d-flex gap-2 mb-3" method="get" action="/items" role="search">
        <input class="form-control" type="search" name="q" value="<?= h($q) ?>" maxlength="200" placeholder="Search items... (up to 200 characters)">
        <button class="btn btn-outline-primary" type="submit">Search</button>
<?php if ($q !== ''): ?>
        <a class="btn btn-outline-secondary" href="/items">Clear</a>
<?php endif; ?>
    </form>
    <form class="row g-2 align-items-end mb-3" method="get" action="/items" aria-label="Filters">
<?php if ($q !== ''): ?>
        <input type="hidden" name="q" value="<?= h($q) ?>">
<?php endif; ?>
        <input type="hidden" name="sort" value="<?= $sort ?>">
        <input type="hidden" name="dir" value="<?= $dir ?>">
        <div class="col-auto">
            <span class="form-label d-block small">Quantity</span>
            <div class="input-group input-group-sm">
                <input class="form-control" type="number" name="f[quantity][from]" value="<?= $filters['quantity']['from'] ?? '' ?>" aria-label="Quantity from" placeholder="from">
                <input class="form-control" type="number" name="f[quantity][to]" value="<?= $filters['quantity']['to'] ?? '' ?>" aria-label="Quantity to" placeholder="to">
            </div>
        </div>
        <div class="col-auto">
            <label class="form-label small" for="filter_active">Active</label>
            <select class="form-select form-select-sm" id="filter_active" name="f[active]">
                <option value="">Any</option>
                <option value="1"<?= ($filters['active'] ?? '') === '1' ? ' selected' : '' ?>>Yes</option>
                <option value="0"<?= ($filters['active'] ?? '') === '0' ? ' selected' : '' ?>>No</option>
            </select>
        </div>
        <div class="col-auto">
            <button class="btn btn-sm btn-outline-primary" type="submit">Filter</button>
<?php if ($filters !== []): ?>
            <a class="btn btn-sm btn-outline-secondary" href="<?= h($q === '' ? '/items' : '/items?' . http_build_query(['q' => $q])) ?>">Clear filters</a>
<?php endif; ?>
        </div>
    </form>
    <div class="table-responsive">
        <table class="table table-striped table-hover align-middle">
            <thead>
                <tr>
<?php foreach (['id' => 'ID'] + $columns as $column => $label): ?>
                    <th scope="col"><a class="link-dark text-decoration-none" href="<?= $url(['sort' => $column, 'dir' => $column === $sort && $dir === 'asc' ? 'desc' : 'asc', 'page' => 1]) ?>"><?= $label ?><?= $column === $sort ? ($dir === 'asc' ? ' &uarr;' : ' &darr;') : '' ?></a></th>
<?php endforeach; ?>
                    <th scope="col" class="text-end">Actions</th>
                </tr>
            </thead>
            <tbody>
<?php foreach ($rows as $row):
    $id = $row['id'];
    $active = $row['active'] === null || $row['active'] === '' ? '<span class="text-secondary">-</span>'
        : ((int) $row['active'] === 1 ? '<span class="badge text-bg-success">Yes</span>' : '<span class="badge text-bg-secondary">No</span>');
    $cells = [];
    foreach (['title', 'code', 'price', 'quantity'] as $column) {
        $cells[] = $row[$column] === null || $row[$column] === '' ? '<span class="text-secondary">-</span>' : h($row[$column]);
    }
    $added = $row['added_on'] === null || $row['added_on'] === '' ? '<span class="text-secondary">-</span>' : h($row['added_on']);
    echo <<<HTML
                <tr>
                    <td>{$id}</td>
                    <td>{$cells[0]}</td>
                    <td>{$cells[1]}</td>
                    <td>{$cells[2]}</td>
                    <td>{$cells[3]}</td>
                    <td>{$active}</td>
                    <td>{$added}</td>
                    <td class="text-end text-nowrap">
                        <a class="btn btn-sm btn-outline-secondary" href="/items/edit?id={$id}">Edit</a>
                        <form class="d-inline" method="post" action="/items/delete" data-confirm="Delete this record?">
                            <input type="hidden" name="_csrf" value="{$token}">
                            <input type="hidden" name="id" value="{$id}">
                            <button class="btn btn-sm btn-outline-danger" type="submit">Delete</button>
                        </form>
                    </td>
                </tr>

HTML;
endforeach; ?>
<?php if ($rows === []): ?>
                <tr>
                    <td colspan="8" class="text-center text-secondary py-4"><?= $q !== '' ? 'No records match your search.' : 'No records yet.' ?></td>
                </tr>
<?php endif; ?>
            </tbody>
        </table>
    </div>
<?php if ($links !== null && array_filter($links) !== []): ?>
    <nav aria-label="Pages">
        <ul class="pagination">
<?php foreach ($links as $caption => $changes): ?>
<?php if ($changes === null): ?>
            <li class="page-item disabled"><span class="page-link"><?= $caption ?></span></li>
<?php else: ?>
            <li class="page-item"><a class="page-link" href="<?= $url($changes) ?>"><?= $caption ?></a></li>
<?php endif; ?>
<?php endforeach; ?>
        </ul>
    </nav>
<?php elseif ($links === null && $pages > 1): ?>
    <nav aria-label="Pages">
        <ul class="pagination">
            <li class="page-item<?= $page <= 1 ? ' disabled' : '' ?>"><a class="page-link" href="<?= $url(['page' => max(1, $page - 1)]) ?>">Previous</a></li>
<?php for ($number = max(1, $page - 3); $number <= min($pages, $page + 3); $number++): ?>
            <li class="page-item<?= $number === $page ? ' active' : '' ?>"><a class="page-link" href="<?= $url(['page' => $number]) ?>"><?= $number ?></a></li>
<?php endfor; ?>
            <li class="page-item<?= $page >= $pages ? ' disabled' : '' ?>"><a class="page-link" href="<?= $url(['page' => min($pages, $page + 1)]) ?>">Next</a></li>
        </ul>
    </nav>
<?php endif; ?>
<?php if ($rows !== []): ?>
    <script src="/assets/js/crud.js" defer></script>
<?php endif; ?>
</section>
    </main>
    <script src="/assets/js/app.js" defer></script>
    </body>
</html>
