<?php
// Minimal assertions for the generated-application tests; a failed check makes the run exit 1.
declare(strict_types=1);

final class T
{
    private static int $checks = 0;
    private static array $failures = [];

    public static function same(mixed $expected, mixed $actual, string $what): void
    {
        self::$checks++;
        if ($expected !== $actual) {
            self::$failures[] = $what . "\n  expected: " . var_export($expected, true) . "\n  actual:   " . var_export($actual, true);
        }
    }

    public static function true(bool $condition, string $what): void
    {
        self::$checks++;
        if (!$condition) {
            self::$failures[] = $what;
        }
    }

    public static function contains(string $needle, string $haystack, string $what): void
    {
        self::$checks++;
        if (!str_contains($haystack, $needle)) {
            self::$failures[] = $what . "\n  missing: " . var_export($needle, true) . "\n  in: " . substr($haystack, 0, 2000);
        }
    }

    // Prints the outcome and exits: 0 when every check passed, 1 otherwise.
    public static function finish(): never
    {
        foreach (self::$failures as $failure) {
            fwrite(STDERR, "FAIL: " . $failure . "\n");
        }
        printf("%d checks, %d failed\n", self::$checks, count(self::$failures));
        exit(self::$failures === [] && self::$checks > 0 ? 0 : 1);
    }
}

// A fresh temporary folder, removed when the script ends.
function temp_dir(string $prefix = 'qb-app-'): string
{
    $dir = sys_get_temp_dir() . '/' . $prefix . bin2hex(random_bytes(6));
    mkdir($dir, 0777, true);
    register_shutdown_function(static function () use ($dir): void {
        exec('rm -rf ' . escapeshellarg($dir));
    });
    return $dir;
}

// Runs the quillbarrow CLI; returns [exit code, stdout, stderr].
function quillbarrow(string ...$args): array
{
    $cmd = escapeshellarg((string) getenv('QB_CLI'));
    foreach ($args as $a) {
        $cmd .= ' ' . escapeshellarg($a);
    }
    $proc = proc_open($cmd, [1 => ['pipe', 'w'], 2 => ['pipe', 'w']], $pipes);
    $out = stream_get_contents($pipes[1]);
    $err = stream_get_contents($pipes[2]);
    fclose($pipes[1]);
    fclose($pipes[2]);
    return [proc_close($proc), $out, $err];
}
