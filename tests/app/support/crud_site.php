<?php
// A generated CRUD application served on 127.0.0.1 against SQLite or a private MariaDB server,
// with a browser-like client (cookie jar, CSRF token read from the form) and a direct database
// connection for checking what was stored.
declare(strict_types=1);

require_once __DIR__ . '/testing.php';
require_once __DIR__ . '/http.php';
require_once __DIR__ . '/generated_app.php';
require_once __DIR__ . '/mariadb.php';

final class CrudSite
{
    public readonly HttpClient $http;
    private ?PDO $pdo = null;

    // $basePath is the folder the application is reached under ("" at the web root).
    public function __construct(public readonly string $engine, public readonly string $dir,
                                private readonly WebServer $server, private readonly array $env,
                                public readonly string $basePath = '')
    {
        $this->http = new HttpClient($server->base() . $basePath);
    }

    public function stop(): void
    {
        $this->server->stop();
    }

    // A direct connection to the application's database (opened after the app created its tables).
    public function db(): PDO
    {
        if ($this->pdo === null) {
            $this->pdo = $this->engine === 'sqlite'
                ? new PDO('sqlite:' . $this->env['DB_DATABASE'], null, null, [PDO::ATTR_ERRMODE => PDO::ERRMODE_EXCEPTION,
                    PDO::ATTR_DEFAULT_FETCH_MODE => PDO::FETCH_ASSOC])
                : mariadb_start()->pdo($this->env['DB_DATABASE']);
        }
        return $this->pdo;
    }

    public function rows(string $sql, array $params = []): array
    {
        $stmt = $this->db()->prepare($sql);
        $stmt->execute($params);
        return $stmt->fetchAll(PDO::FETCH_ASSOC);
    }

    public function count(string $table): int
    {
        return (int) $this->db()->query('SELECT COUNT(*) FROM `' . $table . '`')->fetchColumn();
    }

    // The CSRF token of the form on the page at $path.
    public function token(string $path = '/'): string
    {
        $page = $this->http->get($path);
        if (preg_match('~name="_csrf" value="([0-9a-f]{64})"~', $page->body, $m) !== 1) {
            throw new RuntimeException("no CSRF token on $path (status {$page->status}): " . substr($page->body, 0, 500));
        }
        return $m[1];
    }

    // Posts $form with the session's token, as a browser submitting the add form would.
    public function submit(string $action, array $form, ?string $formPage = null): Response
    {
        $table = explode('/', trim($action, '/'))[0];
        return $this->http->post($action, ['_csrf' => $this->token($formPage ?? "/$table/create")] + $form);
    }

    // Adds a row through the add form and returns its id; fails loudly when the form refuses it.
    public function add(string $table, array $form): int
    {
        $before = (int) $this->db()->query("SELECT COALESCE(MAX(`id`), 0) FROM `$table`")->fetchColumn();
        $response = $this->submit("/$table/store", $form);
        if ($response->status !== 302) {
            throw new RuntimeException("adding to $table failed ({$response->status}): " . strip_tags($response->body));
        }
        $after = (int) $this->db()->query("SELECT COALESCE(MAX(`id`), 0) FROM `$table`")->fetchColumn();
        if ($after <= $before) {
            throw new RuntimeException("adding to $table stored nothing");
        }
        return $after;
    }

    // The row ids of a list page, in the order shown.
    public static function listIds(string $body): array
    {
        preg_match_all('~<input type="hidden" name="id" value="(\d+)">~', $body, $m);
        return array_map('intval', $m[1]);
    }
}

// The engines the tests run on.
function crud_engines(): array
{
    return ['sqlite', 'mariadb'];
}

// Generates the CRUD variant of $projectFile for $engine; returns the application folder, the
// environment it needs (the SQLite file, or the MariaDB connection) and the project.
function crud_app(string $engine, string $projectFile): array
{
    $project = json_decode((string) file_get_contents($projectFile), true, 512, JSON_THROW_ON_ERROR);
    $work = temp_dir('qb-crud-');
    if ($engine === 'sqlite') {
        $env = ['DB_DATABASE' => $work . '/data.sqlite'];
    } else {
        $server = mariadb_start();
        $database = 'crud_' . bin2hex(random_bytes(4));
        $server->pdo($database);
        $env = $server->env($database);
        $project['database']['connection']['port'] = (string) $server->port;
        $project['database']['connection']['name'] = $database;
    }
    $project['target']['database'] = $engine;
    $projectCopy = $work . '/project.json';
    file_put_contents($projectCopy, json_encode($project, JSON_PRETTY_PRINT | JSON_UNESCAPED_SLASHES | JSON_UNESCAPED_UNICODE));
    return [generate_app($projectCopy, 'crud'), $env, $project];
}

// Generates the CRUD variant of $projectFile for $engine, serves it and returns the site.
function crud_site(string $engine, string $projectFile): CrudSite
{
    [$dir, $env, $project] = crud_app($engine, $projectFile);
    $env += ['APP_DEBUG' => 'true', 'APP_ENV' => 'testing'];
    $site = new CrudSite($engine, $dir, new AppServer($dir . '/public', $env), $env);
    // The first request creates the tables.
    $site->http->get('/' . $project['database']['entities'][0]['id']);
    return $site;
}
