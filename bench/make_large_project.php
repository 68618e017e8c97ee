<?php
// Writes a project with many tables, fields and pages for the generation benchmark.
declare(strict_types=1);

[$script, $out, $tables, $fieldsPerTable, $pages] = $argv + [1 => 'large.json', 2 => '200', 3 => '20', 4 => '50'];
$types = ['string', 'text', 'integer', 'decimal', 'boolean', 'date', 'datetime', 'time', 'email', 'url', 'phone',
    'password', 'select', 'lookup'];
$entities = [];
for ($t = 1; $t <= (int) $tables; $t++) {
    $fields = [];
    for ($f = 1; $f <= (int) $fieldsPerTable; $f++) {
        $type = $types[($t + $f) % count($types)];
        $field = ['name' => "field_$f", 'label' => "Field $f", 'type' => $type];
        if ($type === 'select') {
            $field['options'] = ['One', 'Two', 'Three'];
        }
        if ($type === 'lookup') {
            $field['lookup'] = ['entity' => 'table_' . (($t % (int) $tables) + 1), 'field' => ''];
        }
        $fields[] = $field;
    }
    $entities[] = ['id' => "table_$t", 'name' => "Table $t", 'timestamps' => $t % 2 === 0, 'fields' => $fields];
}
$pageList = [];
for ($p = 1; $p <= (int) $pages; $p++) {
    $pageList[] = ['id' => "page_$p", 'title' => "Page $p", 'route' => "/page-$p", 'content' => "Content of page $p."];
}
$project = [
    'schemaVersion' => '1.0.0',
    'project' => ['id' => 'large', 'name' => 'Large project', 'version' => '1.0.0'],
    'target' => ['backend' => 'php-mvc', 'database' => 'sqlite', 'cssFramework' => 'bootstrap5',
        'pwaEnabled' => true, 'apiEnabled' => true],
    'database' => ['connection' => ['writeEnv' => true], 'entities' => $entities, 'connections' => []],
    'pages' => $pageList,
    'build' => ['outputDirectory' => './build'],
];
file_put_contents($out, json_encode($project, JSON_PRETTY_PRINT | JSON_UNESCAPED_SLASHES));
