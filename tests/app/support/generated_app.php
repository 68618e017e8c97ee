<?php
// Generates an example project into a temporary folder with the quillbarrow CLI.
declare(strict_types=1);

require_once __DIR__ . '/testing.php';

// Returns the output folder; aborts the test run when generation fails.
function generate_app(string $project, string $command = 'generate', string ...$extra): string
{
    $out = temp_dir('qb-gen-') . '/app';
    [$code, $stdout, $stderr] = quillbarrow($command, $project, $out, ...$extra);
    if ($code !== 0) {
        fwrite(STDERR, "generation failed: $stdout $stderr\n");
        exit(1);
    }
    return $out;
}

// Every .php file below a folder.
function php_files(string $dir): array
{
    $files = [];
    $it = new RecursiveIteratorIterator(new RecursiveDirectoryIterator($dir, FilesystemIterator::SKIP_DOTS));
    foreach ($it as $file) {
        if ($file->getExtension() === 'php') {
            $files[] = $file->getPathname();
        }
    }
    sort($files);
    return $files;
}

function example(string $name): string
{
    return getenv('QB_SOURCE_DIR') . '/examples/' . $name;
}
