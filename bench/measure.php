<?php
// Runs a command with its output discarded; prints its wall time and user CPU time in seconds
// and its peak resident memory in KiB, at microsecond resolution.
declare(strict_types=1);

$command = array_slice($argv, 1);
$before = getrusage(1);
$start = hrtime(true);
$process = proc_open($command, [1 => ['file', '/dev/null', 'w'], 2 => ['file', '/dev/null', 'w']], $pipes);
if ($process === false) {
    fwrite(STDERR, "cannot run {$command[0]}\n");
    exit(1);
}
$status = proc_close($process);
$wall = (hrtime(true) - $start) / 1e9;
$after = getrusage(1);
if ($status !== 0) {
    fwrite(STDERR, implode(' ', $command) . " exited with $status\n");
    exit(1);
}
$user = ($after['ru_utime.tv_sec'] - $before['ru_utime.tv_sec'])
    + ($after['ru_utime.tv_usec'] - $before['ru_utime.tv_usec']) / 1e6;
printf("%.6f %.6f %d\n", $wall, $user, $after['ru_maxrss']);
