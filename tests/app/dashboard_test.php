<?php
// The dashboard view app/Views/home/index.php rendered on its own (no layout) inside a minimal
// application with the real database configuration and schema synchroniser, on SQLite and MariaDB.
declare(strict_types=1);

require_once __DIR__ . '/support/testing.php';
require_once __DIR__ . '/support/mariadb.php';

// An application folder for the given engine and tables; returns its root.
function dashboard_app(string $engine, array $entities): string
{
    $root = temp_dir('qb-dash-');
    $templates = getenv('QB_SOURCE_DIR') . '/templates/';
    foreach (['app/Core', 'app/Config', 'app/Views/home', 'storage', 'database/migrations'] as $dir) {
        mkdir($root . '/' . $dir, 0777, true);
    }
    copy($templates . 'app/Core/Schema.php', $root . '/app/Core/Schema.php');
    copy($templates . 'app/Core/RowCounts.php', $root . '/app/Core/RowCounts.php');
    copy($templates . 'app/Core/PhpCache.php', $root . '/app/Core/PhpCache.php');
    copy($templates . 'app/Core/Url.php', $root . '/app/Core/Url.php');
    copy($templates . 'app/Config/database.' . ($engine === 'sqlite' ? 'sqlite' : 'mysql') . '.php', $root . '/app/Config/database.php');
    copy($templates . 'app/Core/Migrations.php', $root . '/app/Core/Migrations.php');
    copy($templates . 'app/Views/home/index.php', $root . '/app/Views/home/index.php');
    file_put_contents($root . '/app/Config/app.php', file_get_contents($templates . 'app/Config/app.head.php')
        . "return ['name' => 'Dash', 'debug' => getenv('APP_DEBUG') === 'true'];\n");
    file_put_contents($root . '/app/Config/schema.json', json_encode(['generator' => 'Kettlebourne Generator',
        'engine' => $engine, 'entities' => $entities], JSON_PRETTY_PRINT));
    file_put_contents($root . '/render.php', <<<'PHP'
<?php
declare(strict_types=1);
$_SERVER['SCRIPT_NAME'] = '/index.php';
$_SERVER['REQUEST_URI'] = '/';
require __DIR__ . '/app/Core/Url.php';
if (getenv('QB_TITLE') !== false) {
    $title = getenv('QB_TITLE');
}
require __DIR__ . '/app/Views/home/index.php';
PHP);
    return $root;
}

// Renders the dashboard in a new process; returns [exit code, output, errors].
function render(string $root, array $environment): array
{
    $proc = proc_open([PHP_BINARY, $root . '/render.php'], [1 => ['pipe', 'w'], 2 => ['pipe', 'w']], $pipes, $root,
        array_merge(getenv(), $environment));
    $out = stream_get_contents($pipes[1]);
    $err = stream_get_contents($pipes[2]);
    fclose($pipes[1]);
    fclose($pipes[2]);
    return [proc_close($proc), $out, $err];
}

function card_table(string $id, ?string $name, int $fieldCount): array
{
    $fields = [];
    for ($i = 1; $i <= $fieldCount; $i++) {
        $fields[] = ['name' => 'f' . $i, 'type' => 'string', 'length' => 50];
    }
    return ($name === null ? [] : ['name' => $name]) + ['id' => $id, 'timestamps' => false, 'fields' => $fields];
}

$hero = static fn (string $title): string => <<<HTML
<section class="py-4">
    <div class="mb-4">
        <span class="badge text-bg-primary mb-2">Kettlebourne</span>
        <h1 class="display-6 fw-bold">$title</h1>
        <p class="text-secondary">Manage your application data from one place.</p>
    </div>

HTML;

// The whole page for one table with one row, exactly.
$root = dashboard_app('sqlite', [card_table('books', 'Books', 3)]);
$database = $root . '/storage/app.sqlite';
render($root, ['DB_DATABASE' => $database]);
(new PDO('sqlite:' . $database))->exec("INSERT INTO books (f1) VALUES ('Dune')");
[$code, $out, $err] = render($root, ['DB_DATABASE' => $database]);
T::same([0, ''], [$code, $err], 'renders');
T::same($hero('Dashboard') . <<<'HTML'
    <div class="row g-3">
        <div class="col-12 col-md-6 col-xl-4">
            <div class="card h-100 border-0 shadow-sm">
                <div class="card-body p-4">
                    <div class="text-primary fw-semibold small mb-2">DATA MODULE</div>
                    <h2 class="h4">Books</h2>
                    <p class="text-secondary mb-3">1 record(s) &middot; 3 field(s)</p>
                    <a class="btn btn-primary" href="/books">Open Books &rarr;</a>
                    <a class="btn btn-outline-secondary" href="/books/create">Add</a>
                </div>
            </div>
        </div>
    </div>
</section>

HTML, $out, 'one table with one row');

// No tables: hero and the hint, no card; the title comes from the controller, escaped.
$root = dashboard_app('sqlite', []);
[, $out] = render($root, ['DB_DATABASE' => $root . '/storage/app.sqlite', 'QB_TITLE' => 'Home <&> "x"']);
T::same($hero('Home &lt;&amp;&gt; &quot;x&quot;') . <<<'HTML'
    <div class="row g-3">
        <p class="text-secondary">No tables are defined yet. Add tables in the Kettlebourne database designer and regenerate.</p>
    </div>
</section>

HTML, $out, 'no tables');

// Cards of several tables: names as text, the id when the name is missing, counts per table.
$tables = [card_table('a', '<b>A & B</b>', 2), card_table('b', null, 0), card_table('c', 'C', 1)];
$cases = [
    // what, environment, prepare, expected card texts, expected warning
    ['counts', static fn (string $root): array => ['DB_DATABASE' => $root . '/storage/app.sqlite'], null,
        ['0 record(s) &middot; 2 field(s)', '0 record(s) &middot; 0 field(s)', '0 record(s) &middot; 1 field(s)'], null],
    ['unreachable database', static function (string $root): array {
        file_put_contents($root . '/blocker', '');
        return ['DB_DATABASE' => $root . '/blocker/app.sqlite', 'APP_DEBUG' => 'true'];
    }, null, ['Records &middot; 2 field(s)', 'Records &middot; 0 field(s)', 'Records &middot; 1 field(s)'],
        'Database not ready: Cannot create the SQLite directory: '],
    // The stamp says the schema is applied, so a table dropped by hand stays missing.
    ['missing table', static fn (string $root): array => ['DB_DATABASE' => $root . '/storage/app.sqlite', 'APP_DEBUG' => 'true'],
        static function (string $root, array $env): void {
            render($root, $env);
            $pdo = new PDO('sqlite:' . $root . '/storage/app.sqlite');
            $pdo->exec('INSERT INTO a (f1) VALUES (1), (2)');
            $pdo->exec('DROP TABLE b');
        }, ['2 record(s) &middot; 2 field(s)', 'Records &middot; 0 field(s)', 'Records &middot; 1 field(s)'],
        'Database not ready: SQLSTATE[HY000]: General error: 1 no such table: b'],
    ['mariadb', static function (string $root): array {
        mariadb_start()->pdo('dash')->exec('CREATE TABLE c (id INT PRIMARY KEY)');
        mariadb_start()->pdo('dash')->exec('INSERT INTO c VALUES (1), (2), (3)');
        return mariadb_start()->env('dash');
    }, null, ['0 record(s) &middot; 2 field(s)', '0 record(s) &middot; 0 field(s)', '3 record(s) &middot; 1 field(s)'], null],
];
foreach ($cases as [$what, $environment, $prepare, $cards, $warning]) {
    $root = dashboard_app($what === 'mariadb' ? 'mysql' : 'sqlite', $tables);
    $env = $environment($root);
    if ($prepare !== null) {
        $prepare($root, $env);
    }
    [$code, $out, $err] = render($root, $env);
    T::same(0, $code, "$what: the page renders");
    // The detail of a database error goes to the log (standard error on the command line).
    if ($warning === null) {
        T::same('', $err, "$what: nothing logged");
    } else {
        T::contains('[Kettlebourne] Database not ready: ', $err, "$what: logged");
        T::contains(substr($warning, strlen('Database not ready: ')), $err, "$what: detail logged");
    }
    preg_match_all('~<p class="text-secondary mb-3">(.*)</p>~', $out, $m);
    T::same($cards, $m[1], "$what: card texts");
    preg_match_all('~<h2 class="h4">(.*)</h2>~', $out, $m);
    T::same(['&lt;b&gt;A &amp; B&lt;/b&gt;', 'b', 'C'], $m[1], "$what: card headings");
    T::contains('href="/b/create">Add</a>', $out, "$what: add link");
    if ($warning === null) {
        T::true(!str_contains($out, 'alert'), "$what: no warning");
    } else {
        T::contains('    <div class="alert alert-warning">' . $warning, $out, "$what: warning");
    }
}

T::finish();
