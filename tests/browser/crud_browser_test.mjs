// Headless Chromium clicks through the generated CRUD bookshop: add, list, edit and delete
// records through the forms, filter a list, export it and import a CSV file, follow a record's
// detail page and its child list, and screenshots of the dashboard and a list page per theme.
import { chromium } from 'playwright-core';
import assert from 'node:assert/strict';
import { spawn, spawnSync } from 'node:child_process';
import { mkdirSync, mkdtempSync, readFileSync, rmSync, writeFileSync } from 'node:fs';
import { connect, createServer } from 'node:net';
import { tmpdir } from 'node:os';
import { join } from 'node:path';

const cli = process.env.QB_CLI;
const sourceDir = process.env.QB_SOURCE_DIR;
const buildDir = process.env.QB_BUILD_DIR;
if (!cli || !sourceDir || !buildDir) {
  console.error('QB_CLI, QB_SOURCE_DIR and QB_BUILD_DIR must be set');
  process.exit(2);
}
const shotsDir = join(buildDir, 'screenshots');
mkdirSync(shotsDir, { recursive: true });

// Theme, layout and accent per generated app; the computed body background proves app.css applied.
const themes = [
  { preset: 'studio', layout: 'dashboard', accent: '#2563eb', background: { image: 'linear-gradient' } },
  { preset: 'midnight', layout: 'wide', accent: '#22d3ee', background: { color: 'rgb(11, 18, 32)' } },
  { preset: 'editorial', layout: 'centered', accent: '#b45309', background: { color: 'rgb(247, 243, 235)' } },
  { preset: 'campus', layout: 'dashboard', accent: '#047857', background: { color: 'rgb(241, 247, 244)' } },
];

const work = mkdtempSync(join(tmpdir(), 'qb-browser-'));
const servers = [];
let context = null;
let checks = 0;

function eq(actual, expected, what) {
  checks++;
  assert.deepEqual(actual, expected, what);
}

function ok(condition, what) {
  checks++;
  assert.ok(condition, what);
}

function hexToRgb(hex) {
  const n = parseInt(hex.slice(1), 16);
  return `rgb(${n >> 16}, ${(n >> 8) & 255}, ${n & 255})`;
}

function freePort() {
  return new Promise((resolve, reject) => {
    const probe = createServer();
    probe.once('error', reject);
    probe.listen(0, '127.0.0.1', () => {
      const { port } = probe.address();
      probe.close(() => resolve(port));
    });
  });
}

function canConnect(port) {
  return new Promise((resolve) => {
    const socket = connect({ host: '127.0.0.1', port });
    socket.once('connect', () => { socket.destroy(); resolve(true); });
    socket.once('error', () => resolve(false));
  });
}

// Serves the app's public folder on 127.0.0.1 with its own SQLite file.
async function serve(appDir, name) {
  const port = await freePort();
  const server = spawn('php', ['-S', `127.0.0.1:${port}`, '-t', join(appDir, 'public')], {
    cwd: appDir,
    env: { ...process.env, DB_DATABASE: join(work, `${name}.sqlite`), APP_DEBUG: 'true', APP_ENV: 'testing' },
    stdio: ['ignore', 'ignore', 'pipe'],
  });
  let log = '';
  server.stderr.on('data', (chunk) => { log = (log + chunk).slice(-4000); });
  servers.push(server);
  for (let attempt = 0; attempt < 200; attempt++) {
    if (server.exitCode !== null) break;
    if (await canConnect(port)) return `http://127.0.0.1:${port}`;
    await new Promise((r) => setTimeout(r, 50));
  }
  throw new Error(`PHP server for ${name} did not start: ${log}`);
}

function stopAll() {
  for (const server of servers) {
    if (server.exitCode === null && server.signalCode === null) server.kill('SIGTERM');
  }
}

function generate(theme) {
  const out = join(work, theme.preset);
  const result = spawnSync(cli, ['crud', join(sourceDir, 'examples', 'bookshop.json'), out,
    theme.preset, theme.layout, theme.accent], { encoding: 'utf8' });
  assert.equal(result.status, 0, `crud generation failed: ${result.stdout} ${result.stderr}`);
  return out;
}

// The list row whose cells contain the text.
function row(page, text) {
  return page.locator('table tbody tr').filter({ hasText: text });
}


// Clicks Save on the form and waits for the list page with its flash message.
async function save(page, listUrl, flash) {
  await Promise.all([page.waitForURL(listUrl), page.getByRole('button', { name: 'Save' }).click()]);
  await page.locator('.alert', { hasText: flash }).waitFor();
}

async function addAuthor(page, base, fullName) {
  await page.goto(`${base}/authors/create`);
  await page.fill('#f_full_name', fullName);
  await page.fill('#f_website', 'https://example.org/authors');
  await page.fill('#f_born_on', '1929-10-21');
  await save(page, `${base}/authors`, 'Authors: record added.');
  eq(await row(page, fullName).count(), 1, 'the new author is listed');
}

async function addBook(page, base, title, author) {
  await page.goto(`${base}/books/create`);
  eq(await page.inputValue('#f_price'), '9.99', 'price default on the add form');
  ok(await page.isChecked('#f_in_stock'), 'in-stock default "true" ticks the box');
  eq(await page.inputValue('#f_format'), 'Paperback', 'format default selected');
  await page.fill('#f_title', title);
  await page.fill('#f_isbn', '9780441478125');
  await page.selectOption('#f_author_id', { label: author });
  await page.fill('#f_pages', '304');
  await page.fill('#f_price', '8.50');
  await page.fill('#f_released_at', '1969-03-01T10:30');
  await page.fill('#f_reading_time', '05:45');
  await page.fill('#f_blurb', 'Winter, <b>an envoy</b> & a planet.');
  await page.fill('#f_staff_pin', 'secret');
  await save(page, `${base}/books`, 'Books: record added.');
  const added = row(page, title);
  eq(await added.count(), 1, 'the new book is listed');
  const text = await added.innerText();
  for (const expected of [author, '304', '8.5', 'Yes', 'Paperback', '1969-03-01 10:30', '05:45']) {
    ok(text.includes(expected), `book row shows ${expected}: ${text}`);
  }
}

async function editAndDeleteBook(page, base, title, author) {
  const books = `${base}/books`;
  await Promise.all([page.waitForURL(/\/books\/edit\?id=\d+$/), row(page, title).getByRole('link', { name: 'Edit' }).click()]);
  eq(await page.inputValue('#f_title'), title, 'edit form shows the stored title');
  eq(await page.inputValue('#f_released_at'), '1969-03-01T10:30', 'edit form shows the date-time for its input');
  eq(await page.inputValue('#f_reading_time'), '05:45', 'edit form shows the time for its input');
  eq(await page.inputValue('#f_blurb'), 'Winter, <b>an envoy</b> & a planet.', 'edit form shows the text as typed');
  eq(await page.inputValue('#f_staff_pin'), '', 'edit form never shows the password');
  eq((await page.locator('#f_author_id option:checked').innerText()).trim(), author, 'edit form selects the author');

  const renamed = 'The Dispossessed';
  await page.fill('#f_title', renamed);
  await page.uncheck('#f_in_stock');
  await page.selectOption('#f_format', 'E-book');
  await save(page, books, 'Books: record updated.');
  eq(await row(page, title).count(), 0, 'the old title is gone after the edit');
  const edited = await row(page, renamed).innerText();
  for (const expected of [author, 'No', 'E-book']) {
    ok(edited.includes(expected), `edited row shows ${expected}: ${edited}`);
  }

  // Cancelling the confirmation keeps the record.
  let question = '';
  page.once('dialog', (dialog) => { question = dialog.message(); dialog.dismiss(); });
  await row(page, renamed).getByRole('button', { name: 'Delete' }).click();
  eq(question, 'Delete this record?', 'delete asks for confirmation');
  await page.reload();
  eq(await row(page, renamed).count(), 1, 'a dismissed confirmation deletes nothing');

  page.once('dialog', (dialog) => dialog.accept());
  await row(page, renamed).getByRole('button', { name: 'Delete' }).click();
  await page.locator('.alert', { hasText: 'Record deleted.' }).waitFor();
  eq(page.url(), books, 'delete returns to the list');
  eq(await row(page, renamed).count(), 0, 'the deleted book is gone');
  await page.locator('td', { hasText: 'No records yet.' }).waitFor();
  eq((await page.locator('h1 small').innerText()).trim(), '0 records', 'the count drops to zero');
}

// A lookup over more authors than the form lists: the search box finds one by name, Enter in the
// box does not submit the form, and an unchanged edit keeps the author.
async function searchLargeLookup(page, base, dbFile) {
  const insert = spawnSync('php', ['-r', `$pdo = new PDO('sqlite:' . $argv[1]);
    $pdo->beginTransaction();
    $stmt = $pdo->prepare('INSERT INTO authors (full_name) VALUES (?)');
    for ($i = 1; $i <= 1500; $i++) { $stmt->execute([sprintf('Filler %04d', $i)]); }
    $stmt->execute(['Zadie Smith']);
    $pdo->commit();`, dbFile], { encoding: 'utf8' });
  eq(insert.status, 0, `authors inserted: ${insert.stderr}`);
  const author = page.locator('#f_author_id option', { hasText: 'Zadie Smith' });
  await page.goto(`${base}/books/create`);
  const box = page.locator('#f_author_id_search');
  ok(await box.isVisible(), 'the lookup search box shows when scripts run');
  eq(await author.count(), 0, 'the author is beyond the listed choices');
  await box.fill('Zadie');
  await author.waitFor({ state: 'attached' });
  await page.selectOption('#f_author_id', { label: 'Zadie Smith' });
  await box.press('Enter');
  await page.fill('#f_title', 'White Teeth');
  eq(page.url(), `${base}/books/create`, 'Enter in the search box does not submit the form');
  await save(page, `${base}/books`, 'Books: record added.');
  ok((await row(page, 'White Teeth').innerText()).includes('Zadie Smith'), 'the book links the searched author');
  await Promise.all([page.waitForURL(/\/books\/edit\?id=\d+$/), row(page, 'White Teeth').getByRole('link', { name: 'Edit' }).click()]);
  eq((await page.locator('#f_author_id option:checked').innerText()).trim(), 'Zadie Smith', 'the edit form selects the author');
  await save(page, `${base}/books`, 'Books: record updated.');
  ok((await row(page, 'White Teeth').innerText()).includes('Zadie Smith'), 'an unchanged edit keeps the author');
}

// An application with sign-in: the first administrator from the command line, then in the browser
// sign in from a protected page, add a record and sign out.
async function signInAddSignOut(page) {
  const appDir = join(work, 'accounts');
  const generated = spawnSync(cli, ['crud', join(sourceDir, 'examples', 'lending-library.json'), appDir], { encoding: 'utf8' });
  eq(generated.status, 0, `crud generation failed: ${generated.stdout} ${generated.stderr}`);
  const base = await serve(appDir, 'accounts');
  const password = 'a long enough password';
  const added = spawnSync('php', [join(appDir, 'bin', 'users.php'), 'add', 'admin@library.example', '--role', 'admin'],
    { cwd: appDir, input: `${password}\n`, encoding: 'utf8', env: { ...process.env, DB_DATABASE: join(work, 'accounts.sqlite') } });
  eq(added.status, 0, `first administrator added: ${added.stderr}`);

  await context.clearCookies();
  await page.goto(`${base}/authors`);
  eq(new URL(page.url()).pathname, '/account/login', 'a protected page asks to sign in');
  await page.screenshot({ path: join(shotsDir, 'accounts-sign-in.png'), fullPage: true });
  await page.fill('#f_email', 'admin@library.example');
  await page.fill('#f_password', password);
  await Promise.all([page.waitForURL(`${base}/authors`), page.getByRole('button', { name: 'Sign in' }).click()]);
  ok(await page.getByText('admin@library.example').isVisible(), 'the header names the signed-in account');

  await page.goto(`${base}/authors/create`);
  await page.fill('#f_full_name', 'Ursula K. Le Guin');
  await save(page, `${base}/authors`, 'Authors: record added.');
  eq(await row(page, 'Ursula K. Le Guin').count(), 1, 'the signed-in author is listed');
  await page.screenshot({ path: join(shotsDir, 'accounts-signed-in-list.png'), fullPage: true });

  await Promise.all([page.waitForURL(`${base}/account/login`), page.getByRole('button', { name: 'Sign out' }).click()]);
  await page.locator('.alert', { hasText: 'You are signed out.' }).waitFor();
  await page.goto(`${base}/authors`);
  eq(new URL(page.url()).pathname, '/account/login', 'signed out, the list asks to sign in again');
  stopAll();
}

// target.assets "local": Bootstrap's own rules apply with every other site refused (the header's
// d-flex, which no theme sets), and stop applying once the vendor stylesheet is gone.
async function localBootstrapStyles(page) {
  const project = JSON.parse(readFileSync(join(sourceDir, 'examples', 'bookshop.json'), 'utf8'));
  project.target.assets = 'local';
  const projectFile = join(work, 'local-assets.json');
  writeFileSync(projectFile, JSON.stringify(project));
  const appDir = join(work, 'local-assets');
  const generated = spawnSync(cli, ['crud', projectFile, appDir], { encoding: 'utf8' });
  eq(generated.status, 0, `crud generation failed: ${generated.stdout} ${generated.stderr}`);
  const base = await serve(appDir, 'local-assets');
  const headerDisplay = async () => {
    await page.goto(`${base}/`);
    return page.evaluate(() => getComputedStyle(document.querySelector('header')).display);
  };
  eq(await headerDisplay(), 'flex', 'the local Bootstrap stylesheet applies');
  rmSync(join(appDir, 'public', 'assets', 'vendor'), { recursive: true });
  await (await context.newCDPSession(page)).send('Network.clearBrowserCache');
  eq(await headerDisplay(), 'block', 'without the vendor stylesheet Bootstrap\'s rules are gone');
  stopAll();
}

// A Tailwind app comes with its stylesheet compiled: with every other site refused, the header
// gets preflight's border-box and the flex-wrap utility (the browser's defaults: content-box, nowrap).
async function compiledTailwindStyles(page) {
  const appDir = join(work, 'tailwind');
  const generated = spawnSync(cli, ['crud', join(sourceDir, 'examples', 'club-events.json'), appDir], { encoding: 'utf8' });
  eq(generated.status, 0, `crud generation failed: ${generated.stdout} ${generated.stderr}`);
  const base = await serve(appDir, 'tailwind');
  await page.goto(`${base}/`);
  const header = await page.evaluate(() => {
    const style = getComputedStyle(document.querySelector('header'));
    return [style.boxSizing, style.flexWrap];
  });
  eq(header, ['border-box', 'wrap'], 'the compiled Tailwind rules apply offline');
  stopAll();
}

// Searches the list through its search box.
async function searchList(page, base, text) {
  await page.goto(`${base}/books`);
  await page.fill('input[name="q"]', text);
  await Promise.all([page.waitForURL(/\?q=/), page.getByRole('button', { name: 'Search' }).click()]);
  eq(await row(page, text).count(), 1, 'the list search finds the book');
}

// A route of this test only that writes a stored value raw into the layout; added before the
// server starts, as the server's opcache would keep the old routes for a while.
function addUnescapedRoute(appDir) {
  const routes = join(appDir, 'routes', 'web.php');
  writeFileSync(routes, readFileSync(routes, 'utf8').replace('declare(strict_types=1);',
    `declare(strict_types=1);
final class UnescapedTestController extends Controller
{
    public function index(): void { $this->view('test/unescaped', ['title' => 'Unescaped']); }
}`).replace('return $router;', "$router->get('/unescaped-test', [UnescapedTestController::class, 'index']);\nreturn $router;"));
  mkdirSync(join(appDir, 'app', 'Views', 'test'), { recursive: true });
  writeFileSync(join(appDir, 'app', 'Views', 'test', 'unescaped.php'),
    '<p id="stored">Stored: <script>window.injected = 1;</script><img src="x.png" onerror="window.injectedHandler = 1"></p>');
}

// A value that reached a page unescaped cannot run script: the Content-Security-Policy blocks it
// and reports the violation.
async function policyBlocksInjectedScript(page, base) {
  await page.goto(`${base}/unescaped-test`);
  await page.locator('#stored').waitFor();
  const outcome = await page.evaluate(() => [window.injected ?? null, window.injectedHandler ?? null]);
  eq(outcome, [null, null], 'neither the injected script nor the injected handler ran');
  await page.waitForFunction(() => window.cspViolations.length >= 2);
  ok((await page.evaluate(() => window.cspViolations.join(' '))).includes('script-src'), 'the policy reported the blocked script');
}

// [title, author, pages, price, in stock, format]; the filter (in stock, Paperback, 100 to 300
// pages) keeps Alpha, Bravo, Echo and Golf, the ends of the range included.
const shelf = [
  ['Alpha', 'Ann', 100, '5.5', 1, 'Paperback'],
  ['Bravo', 'Bob', 200, '7', 1, 'Paperback'],
  ['Charlie', 'Ann', 300, '8', 0, 'Paperback'],
  ['Delta', 'Bob', 150, '9', 1, 'Hardcover'],
  ['Echo', 'Ann', 250, '12.25', 1, 'Paperback'],
  ['Foxtrot', 'Bob', 99, '3', 1, 'Paperback'],
  ['Golf', 'Ann', 300, '20', 1, 'Paperback'],
  ['Hotel', 'Bob', 301, '4', 1, 'Paperback'],
];

// The titles in the list, in order.
async function listedTitles(page) {
  return page.locator('table tbody tr td:nth-child(2)').allInnerTexts();
}

// The filter values the page's address carries (the bar's own submit also sends its empty ones).
function filterQuery(url) {
  return [...new URL(url).searchParams].filter(([key, value]) => key.startsWith('f[') && value !== '').sort();
}

// Books with filters, export and import (Bootstrap served locally, three rows a page): filter in
// the bar, the filters kept by sort and pager links, the filtered rows downloaded as CSV, and a
// CSV file previewed and imported, a file without a required column refused.
async function filterExportImport(page) {
  const project = JSON.parse(readFileSync(join(sourceDir, 'examples', 'bookshop.json'), 'utf8'));
  project.target.assets = 'local';
  const books = project.database.entities.find((table) => table.id === 'books');
  Object.assign(books, { pageSize: 3, export: true, import: true });
  for (const field of books.fields) {
    if (['author_id', 'in_stock', 'format', 'pages', 'price'].includes(field.name)) field.filter = true;
  }
  const projectFile = join(work, 'filters.json');
  writeFileSync(projectFile, JSON.stringify(project));
  const appDir = join(work, 'filters');
  const generated = spawnSync(cli, ['crud', projectFile, appDir], { encoding: 'utf8' });
  eq(generated.status, 0, `crud generation failed: ${generated.stdout} ${generated.stderr}`);
  const dbFile = join(work, 'filters.sqlite');
  const env = { ...process.env, DB_DATABASE: dbFile };
  const migrated = spawnSync('php', [join(appDir, 'bin', 'migrate.php')], { cwd: appDir, env, encoding: 'utf8' });
  eq(migrated.status, 0, `tables created: ${migrated.stderr}`);
  const seeded = spawnSync('php', ['-r', `$pdo = new PDO('sqlite:' . $argv[1]);
    $ids = [];
    foreach (['Ann', 'Bob'] as $name) { $pdo->prepare('INSERT INTO authors (full_name) VALUES (?)')->execute([$name]); $ids[$name] = $pdo->lastInsertId(); }
    $stmt = $pdo->prepare('INSERT INTO books (title, author_id, pages, price, in_stock, format) VALUES (?, ?, ?, ?, ?, ?)');
    foreach (json_decode($argv[2], true) as $b) { $b[1] = $ids[$b[1]]; $stmt->execute($b); }`, dbFile, JSON.stringify(shelf)],
  { encoding: 'utf8' });
  eq(seeded.status, 0, `books inserted: ${seeded.stderr}`);
  const base = await serve(appDir, 'filters');
  await context.clearCookies();

  // The filter bar: Yes/No, an option and a from/to range.
  await page.goto(`${base}/books`);
  await page.selectOption('#filter_in_stock', { label: 'Yes' });
  await page.selectOption('#filter_format', 'Paperback');
  await page.fill('input[name="f[pages][from]"]', '100');
  await page.fill('input[name="f[pages][to]"]', '300');
  await Promise.all([page.waitForURL(/f%5Bpages%5D/), page.getByRole('button', { name: 'Filter' }).click()]);
  const filters = [['f[format]', 'Paperback'], ['f[in_stock]', '1'], ['f[pages][from]', '100'], ['f[pages][to]', '300']];
  eq(filterQuery(page.url()), filters, 'the address carries the filters');
  eq((await page.locator('h1 small').innerText()).trim(), '4 records', 'the count of the filtered rows');
  eq(await listedTitles(page), ['Golf', 'Echo', 'Bravo'], 'the first page of the filtered rows');
  eq(await page.inputValue('input[name="f[pages][to]"]'), '300', 'the bar shows the range it applied');
  eq(await page.evaluate(() => getComputedStyle(document.querySelector('form[aria-label="Filters"]')).display), 'flex',
    'Bootstrap styles the filter bar');
  await page.screenshot({ path: join(shotsDir, 'books-filtered-list.png'), fullPage: true });

  await Promise.all([page.waitForURL(/sort=title/), page.locator('thead').getByRole('link', { name: 'Title' }).click()]);
  eq(filterQuery(page.url()), filters, 'a sort link keeps the filters');
  eq(await listedTitles(page), ['Alpha', 'Bravo', 'Echo'], 'the filtered rows sorted by title');
  await Promise.all([page.waitForURL(/page=2/), page.locator('.pagination').getByRole('link', { name: '2' }).click()]);
  eq(filterQuery(page.url()), filters, 'a pager link keeps the filters');
  eq(await listedTitles(page), ['Golf'], 'the second page of the filtered rows');

  // The export: every filtered row, in the list's order, whatever the page.
  const [download] = await Promise.all([page.waitForEvent('download'), page.getByRole('link', { name: 'Export CSV' }).click()]);
  ok(/^books-\d{8}.*\.csv$/.test(download.suggestedFilename()), `a dated file name: ${download.suggestedFilename()}`);
  const csv = readFileSync(await download.path());
  eq([...csv.subarray(0, 3)], [0xef, 0xbb, 0xbf], 'the export starts with a byte-order mark');
  eq(csv.subarray(3).toString('utf8').split('\r\n'), [
    'Title,ISBN,Author,Category,Pages,Price,In stock,Format,Released at,Reading time,Blurb',
    'Alpha,,Ann,,100,5.5,Yes,Paperback,,,',
    'Bravo,,Bob,,200,7,Yes,Paperback,,,',
    'Echo,,Ann,,250,12.25,Yes,Paperback,,,',
    'Golf,,Ann,,300,20,Yes,Paperback,,,',
    '',
  ], 'the labels, then exactly the filtered rows');

  // The import: a file without a required column is refused on the upload page.
  const upload = async (name, text) => {
    await page.goto(`${base}/books`);
    await Promise.all([page.waitForURL(`${base}/books/import`), page.getByRole('link', { name: 'Import CSV' }).click()]);
    await page.setInputFiles('#import_file', { name, mimeType: 'text/csv', buffer: Buffer.from(text) });
    await Promise.all([page.waitForEvent('framenavigated'), page.getByRole('button', { name: 'Preview' }).click()]);
    await page.waitForLoadState();
  };
  await upload('no-author.csv', 'Title,Pages\r\nKilo,10\r\n');
  eq((await page.locator('.alert-danger').innerText()).trim(), 'The file has no column for the required field Author. Its first line must name the columns.',
    'the refusal shown on the upload page');
  ok(await page.locator('#import_file').isVisible(), 'the upload form is shown again');

  // Three rows, the author by the name the list shows or by id.
  await upload('new-books.csv', 'Title,Author,Pages,In stock,Format\r\nKilo,Bob,120,Yes,Hardcover\r\nLima,Ann,80,No,E-book\r\nMike,1,64,yes,Paperback\r\n');
  const preview = page.locator('table tbody tr');
  eq(await preview.allInnerTexts(), ['2\tKilo\tBob\t120\tYes\tHardcover', '3\tLima\tAnn\t80\tNo\tE-book', '4\tMike\t1\t64\tyes\tPaperback'],
    'the preview shows the rows with their lines');
  eq(await page.locator('table thead th').allInnerTexts(), ['Line', 'Title', 'Author', 'Pages', 'In stock', 'Format'], 'the preview\'s columns');
  eq(await page.locator('.table-danger').count(), 0, 'no row marked as failing');
  const importButton = page.getByRole('button', { name: 'Import 3 rows' });
  ok(await importButton.isVisible(), 'the import button names the rows');
  await page.screenshot({ path: join(shotsDir, 'books-import-preview.png'), fullPage: true });
  await Promise.all([page.waitForURL(`${base}/books`), importButton.click()]);
  eq((await page.locator('.alert').innerText()).trim(), 'Books: 3 rows imported.', 'the list says how many rows came in');
  eq((await page.locator('table tbody tr').allInnerTexts()).map((text) => text.split('\t').slice(1, 9).join('|')), [
    'Mike|-|Ann|-|64|9.99|Yes|Paperback',
    'Lima|-|Ann|-|80|9.99|No|E-book',
    'Kilo|-|Bob|-|120|9.99|Yes|Hardcover',
  ], 'the imported rows listed');
  stopAll();
}

// The small press (Bootstrap served locally): an author's detail page with its fields and its
// books (ten a page, newest first), a book's page and back through its author link, a book added
// from the author's page, and the author deleted there once the question names the cascade.
async function recordsAndRelations(page) {
  const project = JSON.parse(readFileSync(join(sourceDir, 'examples', 'small-press.json'), 'utf8'));
  project.target.assets = 'local';
  const projectFile = join(work, 'small-press.json');
  writeFileSync(projectFile, JSON.stringify(project));
  const appDir = join(work, 'small-press');
  const generated = spawnSync(cli, ['crud', projectFile, appDir], { encoding: 'utf8' });
  eq(generated.status, 0, `crud generation failed: ${generated.stdout} ${generated.stderr}`);
  const dbFile = join(work, 'small-press.sqlite');
  const migrated = spawnSync('php', [join(appDir, 'bin', 'migrate.php')], { cwd: appDir, env: { ...process.env, DB_DATABASE: dbFile }, encoding: 'utf8' });
  eq(migrated.status, 0, `tables created: ${migrated.stderr}`);
  // Ann with twelve books (the first edited by Eve, with a review), Bob with none; prints Ann's id.
  const seeded = spawnSync('php', ['-r', `$pdo = new PDO('sqlite:' . $argv[1]);
    $add = function (string $sql, array $values) use ($pdo): int { $pdo->prepare($sql)->execute($values); return (int) $pdo->lastInsertId(); };
    $ann = $add('INSERT INTO authors (full_name, bio, website, email, created_at, updated_at) VALUES (?, ?, ?, ?, ?, ?)',
      ['Ann Author', "Line one\nLine two", 'https://ann.example/books?x=1&y=2', 'ann@example.com', '2024-05-01 09:30:00', '2024-05-02 10:00:00']);
    $add('INSERT INTO authors (full_name) VALUES (?)', ['Bob Writer']);
    $eve = $add('INSERT INTO editors (name) VALUES (?)', ['Eve']);
    for ($i = 1; $i <= 12; $i++) {
      $book = $add('INSERT INTO books (title, author_id, editor_id, in_print) VALUES (?, ?, ?, ?)', [sprintf('Book %02d', $i), $ann, $i === 1 ? $eve : null, $i % 2]);
      if ($i === 1) { $add('INSERT INTO reviews (book_id, stars) VALUES (?, ?)', [$book, 5]); }
    }
    echo $ann;`, dbFile], { encoding: 'utf8' });
  eq(seeded.status, 0, `rows inserted: ${seeded.stderr}`);
  const base = await serve(appDir, 'small-press');
  const authorUrl = `${base}/authors/show?id=${seeded.stdout}`;
  await context.clearCookies();

  // The list's id cell links to the detail page: every field but the password, then the times.
  await page.goto(`${base}/authors`);
  await Promise.all([page.waitForURL(authorUrl), row(page, 'Ann Author').locator('td').first().getByRole('link').click()]);
  eq((await page.locator('h1').innerText()).trim(), `Authors #${seeded.stdout}`, 'the detail page\'s heading');
  eq(await page.locator('dl dt').allInnerTexts(), ['Full name', 'Bio', 'Website', 'Email', 'Created', 'Changed'], 'the fields shown');
  eq(await page.locator('dl dd').allInnerTexts(), ['Ann Author', 'Line one\nLine two', 'https://ann.example/books?x=1&y=2',
    'ann@example.com', '2024-05-01 09:30:00', '2024-05-02 10:00:00'], 'the values, the long text with its line break');
  eq(await page.locator('dl dd a[target="_blank"]').getAttribute('href'), 'https://ann.example/books?x=1&y=2', 'the web address is a link');
  eq(await page.evaluate(() => getComputedStyle(document.querySelector('dl')).display), 'flex', 'Bootstrap lays out the fields');

  const books = page.locator('section section', { has: page.locator('h2', { hasText: 'Books' }) });
  const titles = () => books.locator('tbody td:nth-child(2)').allInnerTexts();
  eq((await books.locator('h2').innerText()).trim(), 'Books 12', 'the child list with its count');
  eq(await books.locator('thead th').allInnerTexts(), ['ID', 'Title', 'Editor', 'In print'], 'the child list leaves out the author');
  eq(await titles(), ['Book 12', 'Book 11', 'Book 10', 'Book 09', 'Book 08', 'Book 07', 'Book 06', 'Book 05', 'Book 04', 'Book 03'],
    'the newest ten books first');
  await page.screenshot({ path: join(shotsDir, 'small-press-author.png'), fullPage: true });

  // The second page of books, a book's own page, and back through its author link.
  await Promise.all([page.waitForURL(/page_books_author_id=2/), books.getByRole('link', { name: 'Next' }).click()]);
  eq(await titles(), ['Book 02', 'Book 01'], 'the second page of the child list');
  eq((await page.locator('dl dd').first().innerText()).trim(), 'Ann Author', 'the second page keeps the author');
  await Promise.all([page.waitForURL(/\/books\/show\?id=\d+$/), row(page, 'Book 01').locator('td').first().getByRole('link').click()]);
  eq(await page.locator('dl dd').allInnerTexts(), ['Book 01', 'Ann Author', 'Eve', 'Yes'], 'the book\'s page');
  await Promise.all([page.waitForURL(authorUrl), page.locator('dl dd').getByRole('link', { name: 'Ann Author' }).click()]);

  // "Add Books" opens the form with the author chosen; saving returns here with the book listed.
  await Promise.all([page.waitForURL(/\/books\/create\?/), books.getByRole('link', { name: 'Add Books' }).click()]);
  eq((await page.locator('#f_author_id option:checked').innerText()).trim(), 'Ann Author', 'the add form has the author chosen');
  await page.fill('#f_title', 'Book 13');
  await page.selectOption('#f_editor_id', { label: 'Eve' });
  await page.check('#f_in_print');
  await save(page, authorUrl, 'Books: record added.');
  eq((await books.locator('h2').innerText()).trim(), 'Books 13', 'the count after the add');
  eq((await books.locator('tbody tr').first().innerText()).split('\t').slice(1), ['Book 13', 'Eve', 'Yes'], 'the new book listed first');

  // Deleting from the detail page: the question names the cascade, then the list lacks the author.
  let question = '';
  page.once('dialog', (dialog) => { question = dialog.message(); dialog.accept(); });
  await Promise.all([page.waitForURL(`${base}/authors`), page.getByRole('button', { name: 'Delete' }).click()]);
  eq(question, 'Deleting this author also deletes 13 books and 1 review.', 'the delete question names the cascade');
  await page.locator('.alert', { hasText: 'Record deleted.' }).waitFor();
  eq([await row(page, 'Ann Author').count(), await row(page, 'Bob Writer').count()], [0, 1], 'only the deleted author is gone');
  await page.goto(`${base}/books`);
  await page.locator('td', { hasText: 'No records yet.' }).waitFor();
  stopAll();
}

async function checkTheme(page, theme) {
  const style = await page.evaluate(() => {
    const body = getComputedStyle(document.body);
    const button = document.querySelector('.btn-primary');
    return {
      classes: document.body.className,
      color: body.backgroundColor,
      image: body.backgroundImage,
      accent: button ? getComputedStyle(button).backgroundColor : null,
    };
  });
  eq(style.classes, `ktb-theme-${theme.preset} ktb-layout-${theme.layout}`, 'body classes select theme and layout');
  if (theme.background.color) eq(style.color, theme.background.color, `${theme.preset} page background`);
  if (theme.background.image) ok(style.image.includes(theme.background.image), `${theme.preset} page gradient: ${style.image}`);
  eq(style.accent, hexToRgb(theme.accent), `${theme.preset} primary button uses the accent`);
}

async function run() {
  context = await chromium.launchPersistentContext(join(work, 'profile'), {
    executablePath: '/usr/bin/chromium',
    headless: true,
    viewport: { width: 1280, height: 900 },
    args: ['--headless', '--no-sandbox', '--disable-gpu', '--disable-quic', '--no-first-run',
      '--disable-background-networking', '--disable-component-update', '--disable-sync'],
  });
  // Only the local server is reachable; the CDN stylesheet is refused at once.
  await context.route('**/*', (route) => (new URL(route.request().url()).hostname === '127.0.0.1'
    ? route.continue() : route.abort()));
  // Every violation of the Content-Security-Policy is counted, in every page.
  await context.addInitScript(() => {
    window.cspViolations = [];
    document.addEventListener('securitypolicyviolation', (event) => {
      window.cspViolations.push(`${event.effectiveDirective} ${event.blockedURI}`);
    });
  });
  const page = context.pages()[0] ?? await context.newPage();
  const problems = [];
  let violationsExpected = false;
  page.on('console', (message) => {
    if (!violationsExpected && message.text().includes('Content Security Policy')) problems.push(`policy: ${message.text()}`);
  });
  page.on('pageerror', (error) => problems.push(`script error: ${error.message}`));
  page.on('response', (response) => {
    if (response.status() >= 500) problems.push(`${response.status()} from ${response.url()}`);
  });

  for (const [index, theme] of themes.entries()) {
    const appDir = generate(theme);
    if (index === 0) addUnescapedRoute(appDir);
    const base = await serve(appDir, theme.preset);
    await context.clearCookies();
    const author = 'Ursula K. Le Guin';
    const title = 'The Left Hand of Darkness';
    await addAuthor(page, base, author);
    await addBook(page, base, title, author);

    await page.goto(`${base}/`);
    await checkTheme(page, theme);
    const counts = await page.locator('.card p').allInnerTexts();
    eq(counts.map((t) => t.split(' ')[0]), ['0', '1', '1'], 'dashboard counts per table');
    await page.screenshot({ path: join(shotsDir, `${theme.preset}-dashboard.png`), fullPage: true });

    await page.goto(`${base}/books`);
    await checkTheme(page, theme);
    await page.screenshot({ path: join(shotsDir, `${theme.preset}-books-list.png`), fullPage: true });

    if (index === 0) {
      await editAndDeleteBook(page, base, title, author);
      await searchLargeLookup(page, base, join(work, `${theme.preset}.sqlite`));
      await searchList(page, base, 'White Teeth');
      violationsExpected = true;
      await policyBlocksInjectedScript(page, base);
      violationsExpected = false;
    }
    stopAll();
  }
  await signInAddSignOut(page);
  await localBootstrapStyles(page);
  await compiledTailwindStyles(page);
  await filterExportImport(page);
  await recordsAndRelations(page);
  eq(problems, [], 'no server errors, script errors or policy violations');
}

const stopOnSignal = () => { stopAll(); process.exit(1); };
process.on('SIGTERM', stopOnSignal);
process.on('SIGINT', stopOnSignal);
process.on('exit', stopAll);

try {
  await run();
  console.log(`${checks} checks passed; screenshots in ${shotsDir}`);
} catch (error) {
  console.error(`FAIL after ${checks} checks: ${error.stack ?? error}`);
  process.exitCode = 1;
} finally {
  await context?.close().catch(() => {});
  stopAll();
  rmSync(work, { recursive: true, force: true });
}
