<?php
// A generated application served by PHP's built-in server on 127.0.0.1, and a small HTTP client
// with a cookie jar.
declare(strict_types=1);

// A server started for a test: its base URL, and stop() ends it.
interface WebServer
{
    public function base(): string;

    public function stop(): void;
}

final class AppServer implements WebServer
{
    private $process;
    private string $log;
    public readonly int $port;

    // Serves $docRoot (usually <app>/public) with the environment given; waits until it answers.
    public function __construct(string $docRoot, array $env = [], ?string $router = null)
    {
        $this->port = self::freePort();
        $cmd = [PHP_BINARY, '-S', '127.0.0.1:' . $this->port, '-t', $docRoot];
        if ($router !== null) {
            $cmd[] = $router;
        }
        $log = $this->log = sys_get_temp_dir() . '/qb-php-server-' . $this->port . '.log';
        $this->process = proc_open($cmd, [0 => ['file', '/dev/null', 'r'], 1 => ['file', $log, 'w'], 2 => ['file', $log, 'w']],
            $pipes, $docRoot, array_merge(getenv(), $env));
        register_shutdown_function([$this, 'stop']);
        $deadline = microtime(true) + 10;
        while (microtime(true) < $deadline) {
            $socket = @fsockopen('127.0.0.1', $this->port, $errno, $errstr, 0.2);
            if ($socket !== false) {
                fclose($socket);
                return;
            }
            usleep(50000);
        }
        $this->stop();
        throw new RuntimeException('PHP server did not start: ' . @file_get_contents($log));
    }

    public function stop(): void
    {
        if (is_resource($this->process)) {
            proc_terminate($this->process);
            proc_close($this->process);
        }
    }

    // What the server and the application wrote to standard output and error so far.
    public function logText(): string
    {
        return (string) @file_get_contents($this->log);
    }

    public function base(): string
    {
        return 'http://127.0.0.1:' . $this->port;
    }

    public static function freePort(): int
    {
        $server = stream_socket_server('tcp://127.0.0.1:0');
        $name = stream_socket_get_name($server, false);
        fclose($server);
        return (int) substr($name, strrpos($name, ':') + 1);
    }
}

final class Response
{
    public function __construct(public int $status, public array $headers, public string $body)
    {
    }

    public function header(string $name): ?string
    {
        return $this->headers[strtolower($name)][0] ?? null;
    }
}

final class HttpClient
{
    private array $cookies = [];
    private array $headers = [];

    // $base is "http://host:port", optionally followed by a path that is put before every request path.
    public function __construct(private string $base)
    {
    }

    // Sets a cookie as if a server (or someone else) had planted it in this client.
    public function setCookie(string $name, string $value): void
    {
        $this->cookies[$name] = $value;
    }

    // Sends a header with every request from now on; null stops sending it.
    public function setHeader(string $name, ?string $value): void
    {
        $this->headers[$name] = $value;
    }

    public function cookieNames(): array
    {
        return array_map('strval', array_keys($this->cookies));
    }

    public function cookie(string $name): ?string
    {
        return $this->cookies[$name] ?? null;
    }

    public function get(string $path): Response
    {
        return $this->request('GET', $path);
    }

    public function post(string $path, array $form): Response
    {
        return $this->request('POST', $path, http_build_query($form), 'application/x-www-form-urlencoded');
    }

    // Posts $form with $files (field name => [file name, content]) as multipart/form-data.
    public function upload(string $path, array $form, array $files): Response
    {
        $boundary = '----qb' . bin2hex(random_bytes(8));
        $body = '';
        foreach ($form as $name => $value) {
            $body .= "--$boundary\r\nContent-Disposition: form-data; name=\"$name\"\r\n\r\n$value\r\n";
        }
        foreach ($files as $name => [$fileName, $content]) {
            $body .= "--$boundary\r\nContent-Disposition: form-data; name=\"$name\"; filename=\"$fileName\"\r\n"
                . "Content-Type: text/csv\r\n\r\n$content\r\n";
        }
        return $this->request('POST', $path, $body . "--$boundary--\r\n", 'multipart/form-data; boundary=' . $boundary);
    }

    public function request(string $method, string $path, string $body = '', ?string $contentType = null): Response
    {
        return $this->receive($this->send($method, $path, $body, $contentType), $method);
    }

    // Sends a request and returns its open connection; receive() reads the answer. Several requests
    // sent before any is received run at the same time.
    public function send(string $method, string $path, string $body = '', ?string $contentType = null)
    {
        $parts = parse_url($this->base);
        $socket = fsockopen($parts['host'], $parts['port'], $errno, $errstr, 10);
        if ($socket === false) {
            throw new RuntimeException("connect failed: $errstr");
        }
        stream_set_timeout($socket, 30);
        $path = rtrim($parts['path'] ?? '', '/') . $path;
        $head = "$method $path HTTP/1.1\r\nHost: {$parts['host']}:{$parts['port']}\r\nConnection: close\r\n";
        if ($this->cookies !== []) {
            $pairs = [];
            foreach ($this->cookies as $name => $value) {
                $pairs[] = "$name=$value";
            }
            $head .= 'Cookie: ' . implode('; ', $pairs) . "\r\n";
        }
        foreach (array_filter($this->headers, 'is_string') as $name => $value) {
            $head .= "$name: $value\r\n";
        }
        if ($contentType !== null) {
            $head .= "Content-Type: $contentType\r\n";
        }
        if ($body !== '' || $method === 'POST') {
            $head .= 'Content-Length: ' . strlen($body) . "\r\n";
        }
        fwrite($socket, $head . "\r\n" . $body);
        return $socket;
    }

    public function receive($socket, string $method = 'POST'): Response
    {
        $raw = stream_get_contents($socket);
        fclose($socket);
        return $this->parse($raw, $method);
    }

    // Sends one GET per path, all at once, each on its own connection without cookies, and
    // returns the responses in the order of the paths.
    public function burst(array $paths): array
    {
        $anonymous = new self($this->base);
        $sockets = [];
        foreach ($paths as $i => $path) {
            $sockets[$i] = $anonymous->send('GET', $path);
            // Read as answers arrive, so that no worker waits for its answer to be taken.
            stream_set_blocking($sockets[$i], false);
        }
        $raw = array_fill_keys(array_keys($sockets), '');
        $deadline = microtime(true) + 120;
        while ($sockets !== [] && microtime(true) < $deadline) {
            $read = array_values($sockets);
            $write = $except = null;
            if (stream_select($read, $write, $except, 1) > 0) {
                foreach ($read as $socket) {
                    $i = array_search($socket, $sockets, true);
                    $chunk = fread($socket, 65536);
                    $raw[$i] .= (string) $chunk;
                    if (feof($socket)) {
                        fclose($socket);
                        unset($sockets[$i]);
                    }
                }
            }
        }
        $responses = [];
        foreach ($paths as $i => $path) {
            $responses[$i] = $anonymous->parse($raw[$i], 'GET');
        }
        return $responses;
    }

    private function parse(string $raw, string $method): Response
    {
        [$head, $body] = array_pad(explode("\r\n\r\n", $raw, 2), 2, '');
        $lines = explode("\r\n", $head);
        $status = (int) (explode(' ', array_shift($lines))[1] ?? 0);
        $headers = [];
        foreach ($lines as $line) {
            [$name, $value] = array_map('trim', explode(':', $line, 2) + [1 => '']);
            $headers[strtolower($name)][] = $value;
            if (strtolower($name) === 'set-cookie') {
                [$pair] = explode(';', $value, 2);
                [$cookieName, $cookieValue] = explode('=', $pair, 2) + [1 => ''];
                $this->cookies[$cookieName] = $cookieValue;
            }
        }
        if (strtolower($headers['transfer-encoding'][0] ?? '') === 'chunked') {
            $body = self::dechunk($body);
        }
        return new Response($status, $headers, $method === 'HEAD' ? '' : $body);
    }

    private static function dechunk(string $body): string
    {
        $out = '';
        while ($body !== '') {
            [$sizeLine, $body] = explode("\r\n", $body, 2);
            $size = hexdec(trim($sizeLine));
            if ($size === 0) {
                break;
            }
            $out .= substr($body, 0, $size);
            $body = substr($body, $size + 2);
        }
        return $out;
    }
}
