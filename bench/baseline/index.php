<?php
// Hand-written minimal list page: a count and a page with PDO (COUNT(*) and OFFSET at any size), the
// search and the bench's two filters (f[active], f[quantity][from] / [to]), rows as a plain HTML table.
declare(strict_types=1);

$pdo = new PDO('sqlite:' . getenv('BENCH_DB'), null, null, [
    PDO::ATTR_ERRMODE => PDO::ERRMODE_EXCEPTION,
    PDO::ATTR_DEFAULT_FETCH_MODE => PDO::FETCH_ASSOC,
    PDO::ATTR_EMULATE_PREPARES => false,
]);

$pageSize = 20;
$q = isset($_GET['q']) && is_string($_GET['q']) ? trim($_GET['q']) : '';
$conditions = [];
$params = [];
if ($q !== '') {
    $conditions[] = '(m.`title` LIKE ? OR m.`code` LIKE ? OR m.`notes` LIKE ?)';
    $params = array_fill(0, 3, '%' . $q . '%');
}
$f = isset($_GET['f']) && is_array($_GET['f']) ? $_GET['f'] : [];
foreach (['from' => '>=', 'to' => '<='] as $end => $operator) {
    if (isset($f['quantity'][$end]) && is_string($f['quantity'][$end]) && is_numeric($f['quantity'][$end])) {
        $conditions[] = 'm.`quantity` ' . $operator . ' ?';
        $params[] = (int) $f['quantity'][$end];
    }
}
if (isset($f['active']) && ($f['active'] === '0' || $f['active'] === '1')) {
    $conditions[] = 'm.`active` = ?';
    $params[] = (int) $f['active'];
}
$where = $conditions === [] ? '' : ' WHERE ' . implode(' AND ', $conditions);

$count = $pdo->prepare('SELECT COUNT(*) FROM `items` m' . $where);
$count->execute($params);
$total = (int) $count->fetchColumn();
$pages = max(1, (int) ceil($total / $pageSize));
$page = max(1, min($pages, (int) ($_GET['page'] ?? 1)));

$stmt = $pdo->prepare('SELECT m.* FROM `items` m' . $where . ' ORDER BY m.`id` DESC LIMIT ' . $pageSize
    . ' OFFSET ' . (($page - 1) * $pageSize));
$stmt->execute($params);

function h(mixed $value): string
{
    return htmlspecialchars((string) $value, ENT_QUOTES, 'UTF-8');
}
?>
<!doctype html>
<html lang="en">
<head><meta charset="utf-8"><title>Items</title></head>
<body>
<h1>Items <small><?= $total ?> records</small></h1>
<table>
<tr><th>ID</th><th>Title</th><th>Code</th><th>Price</th><th>Quantity</th><th>Active</th><th>Added on</th></tr>
<?php foreach ($stmt as $row): ?>
<tr data-id="<?= (int) $row['id'] ?>"><td><?= (int) $row['id'] ?></td><td><?= h($row['title']) ?></td><td><?= h($row['code']) ?></td><td><?= h($row['price']) ?></td><td><?= h($row['quantity']) ?></td><td><?= $row['active'] ? 'Yes' : 'No' ?></td><td><?= h($row['added_on']) ?></td></tr>
<?php endforeach; ?>
</table>
<p>Page <?= $page ?> of <?= $pages ?></p>
</body>
</html>
