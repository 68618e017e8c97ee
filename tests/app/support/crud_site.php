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
                                private readonly WebServer $server, public readonly array $env,
                                public readonly string $basePath = '')
    {
        $this->http = new HttpClient($server->base() . $basePath);
    }

    public function stop(): void
    {
        $this->server->stop();
    }

    // The address the application answers at.
    public function base(): string
    {
        return $this->server->base() . $this->basePath;
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

    // A second visitor of the site, with a cookie jar (and so a session) of its own.
    public function visitor(): HttpClient
    {
        return new HttpClient($this->server->base());
    }

    // The CSRF token of the form on the page at $path, for the site's client or $client.
    public function token(string $path = '/', ?HttpClient $client = null): string
    {
        $page = ($client ?? $this->http)->get($path);
        if (preg_match('~name="_csrf" value="([0-9a-f]{32}\.[0-9a-f]{64})"~', $page->body, $m) !== 1) {
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

    // What a browser posts when the form on $html is submitted untouched: named inputs with their
    // values (checkboxes only when ticked), textareas, and each select's selected option, or its first.
    public static function formValues(string $html): array
    {
        $decode = static fn (string $text): string => html_entity_decode($text, ENT_QUOTES | ENT_HTML5, 'UTF-8');
        $attribute = static fn (string $tag, string $name): ?string
            => preg_match('~\s' . $name . '="([^"]*)"~', $tag, $m) === 1 ? $decode($m[1]) : null;
        $values = [];
        preg_match_all('~<input\b[^>]*>~', $html, $inputs);
        foreach ($inputs[0] as $tag) {
            $name = $attribute($tag, 'name');
            if ($name !== null && ($attribute($tag, 'type') !== 'checkbox' || preg_match('~\schecked\b~', $tag) === 1)) {
                $values[$name] = $attribute($tag, 'value') ?? '';
            }
        }
        preg_match_all('~<textarea\b([^>]*)>(.*?)</textarea>~s', $html, $areas, PREG_SET_ORDER);
        foreach ($areas as [, $tag, $text]) {
            $values[(string) $attribute($tag, 'name')] = $decode($text);
        }
        preg_match_all('~<select\b([^>]*)>(.*?)</select>~s', $html, $selects, PREG_SET_ORDER);
        foreach ($selects as [, $tag, $options]) {
            preg_match_all('~<option value="([^"]*)"( selected)?~', $options, $m, PREG_SET_ORDER);
            $chosen = array_values(array_filter($m, static fn (array $o): bool => isset($o[2])))[0] ?? $m[0] ?? [1 => ''];
            $values[(string) $attribute($tag, 'name')] = $decode($chosen[1]);
        }
        return $values;
    }

    // Opens the form at $formPage and saves it unchanged, as a browser would.
    public function resubmit(string $formPage): Response
    {
        $html = $this->http->get($formPage)->body;
        if (preg_match('~<form method="post" action="([^"]*)"~', $html, $m) !== 1) {
            throw new RuntimeException("no form on $formPage: " . substr($html, 0, 500));
        }
        return $this->http->post(html_entity_decode($m[1]), self::formValues($html));
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

// The CRUD variant of $projectFile generated for $engine; returns the application folder.
function generate_crud(string $engine, string $projectFile): string
{
    $project = json_decode((string) file_get_contents($projectFile), true, 512, JSON_THROW_ON_ERROR);
    $project['target']['database'] = $engine;
    $projectCopy = temp_dir('qb-crud-') . '/project.json';
    file_put_contents($projectCopy, json_encode($project, JSON_PRETTY_PRINT | JSON_UNESCAPED_SLASHES | JSON_UNESCAPED_UNICODE));
    return generate_app($projectCopy, 'crud');
}

// The environment of a new, empty database for $engine.
function fresh_database(string $engine): array
{
    if ($engine === 'sqlite') {
        return ['DB_DATABASE' => temp_dir('qb-db-') . '/data.sqlite'];
    }
    $database = 'crud_' . bin2hex(random_bytes(4));
    mariadb_start()->pdo($database);
    return mariadb_start()->env($database);
}

// Serves the application in $dir on a fresh database; $env adds to or overrides its environment.
function serve_crud(string $engine, string $dir, array $env = []): CrudSite
{
    $env += fresh_database($engine) + ['APP_DEBUG' => 'true', 'APP_ENV' => 'testing'];
    return new CrudSite($engine, $dir, new AppServer($dir . '/public', $env), $env);
}

// Generates the CRUD variant of $projectFile for $engine, serves it (with $serverEnv added to the
// environment) and returns the site.
function crud_site(string $engine, string $projectFile, array $serverEnv = []): CrudSite
{
    $project = json_decode((string) file_get_contents($projectFile), true, 512, JSON_THROW_ON_ERROR);
    $site = serve_crud($engine, generate_crud($engine, $projectFile), $serverEnv);
    // The first request creates the tables.
    $site->http->get('/' . $project['database']['entities'][0]['id']);
    return $site;
}
