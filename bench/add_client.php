<?php
// One client of the add burst of bench/load.php: opens the add form once (its own session and
// token), then posts COUNT adds one after another. Prints JSON: the status of every add and its
// latency in milliseconds.
//   php bench/add_client.php BASE_URL COUNT CLIENT_ID
declare(strict_types=1);

require_once __DIR__ . '/../tests/app/support/http.php';

[, $base, $count, $client] = $argv;
$http = new HttpClient($base);
$form = $http->get('/products/create');
if (preg_match('~name="_csrf" value="([^"]+)"~', $form->body, $m) !== 1) {
    fwrite(STDERR, "client $client: no form token (status {$form->status})\n");
    exit(1);
}
$statuses = [];
$latencies = [];
for ($i = 1; $i <= (int) $count; $i++) {
    $started = hrtime(true);
    $response = $http->post('/products/store', ['_csrf' => $m[1], 'title' => "burst-$client-$i", 'price' => (string) $i]);
    $latencies[] = (hrtime(true) - $started) / 1e6;
    $statuses[] = $response->status;
}
echo json_encode(['statuses' => $statuses, 'latencies' => $latencies]);
