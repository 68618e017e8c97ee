<?php
// The constant asset, PWA and API files: PHP lints and serves, Node loads and runs the scripts.
declare(strict_types=1);

require_once __DIR__ . '/support/testing.php';
require_once __DIR__ . '/support/http.php';

$templates = getenv('QB_SOURCE_DIR') . '/templates';

function run(array $command): array
{
    $proc = proc_open($command, [1 => ['pipe', 'w'], 2 => ['pipe', 'w']], $pipes);
    $out = stream_get_contents($pipes[1]);
    $err = stream_get_contents($pipes[2]);
    fclose($pipes[1]);
    fclose($pipes[2]);
    return [proc_close($proc), $out . $err];
}

foreach (['public/api/health.php', 'routes/api.php'] as $file) {
    [$code, $out] = run([PHP_BINARY, '-l', "$templates/$file"]);
    T::same(0, $code, "php -l $file: $out");
}

// The health endpoint answers by itself, outside the router.
$root = temp_dir();
mkdir("$root/api");
copy("$templates/public/api/health.php", "$root/api/health.php");
$server = new AppServer($root);
$health = (new HttpClient($server->base()))->get('/api/health.php');
T::same(200, $health->status, 'health status');
T::same('application/json; charset=utf-8', $health->header('Content-Type'), 'health content type');
T::same('{"status":"ok","service":"Kettlebourne API"}', $health->body, 'health body');
$server->stop();

[$code, $out] = run(['node', '-e', 'console.log(JSON.stringify(require(process.argv[1])))', "$templates/tailwind.config.js"]);
T::same(0, $code, "tailwind.config.js loads: $out");
T::same(
    ['content' => ['./app/Views/**/*.php', './app/Controllers/**/*.php', './public/**/*.php'], 'theme' => ['extend' => []], 'plugins' => []],
    json_decode($out, true),
    'tailwind configuration'
);

// The service worker, run against stand-ins for the worker globals. Each scenario prints one JSON line.
$harness = <<<'JS'
const [swPath, scenario] = process.argv.slice(2);
const stores = new Map();
let online = true;
const listeners = {};
const log = { claimed: false, skipped: false };
const response = (url) => ({ ok: true, type: 'basic', url, clone() { return { ...this }; } });
const store = (name) => { if (!stores.has(name)) stores.set(name, new Map()); return stores.get(name); };
const keyOf = (request) => (typeof request === 'string' ? request : request.url);
globalThis.fetch = async (request) => { if (!online) throw new TypeError('offline'); return response(keyOf(request)); };
globalThis.caches = {
  open: async (name) => ({
    addAll: async (urls) => { for (const url of urls) store(name).set(url, await fetch(url)); },
    put: async (request, value) => { store(name).set(keyOf(request), value); },
  }),
  keys: async () => [...stores.keys()],
  delete: async (name) => stores.delete(name),
  match: async (request) => {
    for (const entries of stores.values()) if (entries.has(keyOf(request))) return entries.get(keyOf(request));
    return undefined;
  },
};
const scoped = scenario !== 'unregistered';
globalThis.self = {
  registration: scoped ? { scope: 'http://site.test/myapp/' } : undefined,
  location: { href: 'http://site.test/sub/sw.js', origin: 'http://site.test' },
  addEventListener: (type, fn) => { listeners[type] = fn; },
  skipWaiting: () => { log.skipped = true; },
  clients: { claim: async () => { log.claimed = true; } },
};
require(swPath);

async function dispatch(type, extra = {}) {
  const pending = [];
  let answer;
  listeners[type]({ ...extra, waitUntil: (p) => pending.push(p), respondWith: (p) => { answer = p; } });
  const result = answer === undefined ? null : await answer;
  await Promise.all(pending);
  return answer === undefined ? 'browser' : (result && result.url) || (result && result.type) || null;
}
const get = (url, method = 'GET') => dispatch('fetch', { request: { url, method } });
const cached = () => Object.fromEntries([...stores].map(([name, entries]) => [name, [...entries.keys()]]));

(async () => {
  const out = {};
  if (scenario === 'install-offline') {
    online = false;
    await dispatch('install');
    out.cached = cached();
    out.skipped = log.skipped;
  } else if (scenario === 'unregistered') {
    await dispatch('install');
    out.cached = cached();
  } else {
    store('kettlebourne-v0').set('http://site.test/myapp/old', response('old'));
    await dispatch('install');
    await dispatch('activate');
    out.afterActivate = cached();
    out.claimed = log.claimed;
    out.online = await get('http://site.test/myapp/books');
    out.post = await get('http://site.test/myapp/books', 'POST');
    out.foreign = await get('http://cdn.test/lib.css');
    out.api = await get('http://site.test/myapp/api/health.php');
    online = false;
    out.offlineCached = await get('http://site.test/myapp/books');
    out.offlineUncached = await get('http://site.test/myapp/authors');
    out.offlineApi = await get('http://site.test/myapp/api/health.php');
  }
  console.log(JSON.stringify(out));
})().catch((error) => { console.error(error); process.exit(1); });
JS;
$harnessFile = temp_dir() . '/sw_harness.js';
file_put_contents($harnessFile, $harness);
$sw = "$templates/public/sw.js";
$shell = ['http://site.test/myapp/', 'http://site.test/myapp/assets/css/app.css', 'http://site.test/myapp/assets/js/app.js'];

$scenario = function (string $name) use ($harnessFile, $sw): array {
    [$code, $out] = run(['node', $harnessFile, $sw, $name]);
    T::same(0, $code, "service worker scenario $name: $out");
    return (array) json_decode($out, true);
};

$main = $scenario('main');
T::same(['kettlebourne-v1' => $shell], $main['afterActivate'] ?? null, 'install caches the shell, activate drops older caches');
T::true($main['claimed'] ?? false, 'activate takes control of open pages');
T::same('http://site.test/myapp/books', $main['online'] ?? null, 'online requests go to the network');
T::same('browser', $main['post'] ?? null, 'POST is left to the browser');
T::same('browser', $main['foreign'] ?? null, 'other origins are left to the browser');
T::same('browser', $main['api'] ?? null, 'API requests are left to the browser');
T::same('browser', $main['offlineApi'] ?? null, 'API requests are never answered from the cache');
T::same('http://site.test/myapp/books', $main['offlineCached'] ?? null, 'offline: the cached copy');
T::same('http://site.test/myapp/', $main['offlineUncached'] ?? null, 'offline without a copy: the application root');

$offline = $scenario('install-offline');
T::same(['kettlebourne-v1' => []], $offline['cached'] ?? null, 'a failed shell download does not fail the install');
T::true($offline['skipped'] ?? false, 'the new worker activates without waiting');

$unregistered = $scenario('unregistered');
T::same(['kettlebourne-v1' => ['http://site.test/sub/', 'http://site.test/sub/assets/css/app.css', 'http://site.test/sub/assets/js/app.js']],
    $unregistered['cached'] ?? null, 'without a registration the shell is resolved against the worker location');

T::finish();
