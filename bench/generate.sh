#!/usr/bin/env bash
# Benchmark: generation of a 200-table x 20-field, 50-page project against copying the same tree.
# Prints the median times over RUNS runs, their ratio (the figure of merit) and the peak memory.
set -euo pipefail
cd "$(dirname "$0")/.."
runs=${RUNS:-7}

build=build-bench
cmake -S . -B "$build" -DCMAKE_BUILD_TYPE=Release -DQB_BUILD_TESTS=OFF >/dev/null
cmake --build "$build" -j"$(nproc)" >/dev/null

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
php bench/make_large_project.php "$work/large.json" 200 20 50

seconds() { local s e; s=$(date +%s.%N); "$@" >/dev/null; e=$(date +%s.%N); echo "$e - $s" | bc -l; }
median() { sort -g | awk '{ v[NR] = $1 } END { print (NR % 2) ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2 }'; }

gen_times=() copy_times=()
for i in $(seq "$runs"); do
  rm -rf "$work/out" "$work/copy"
  gen_times+=("$(seconds "$build/quillbarrow" generate "$work/large.json" "$work/out")")
  sync
  copy_times+=("$(seconds cp -r "$work/out" "$work/copy")")
done
gen=$(printf '%s\n' "${gen_times[@]}" | median)
copy=$(printf '%s\n' "${copy_times[@]}" | median)
files=$(find "$work/out" -type f | wc -l)
bytes=$(du -sb "$work/out" | cut -f1)
rm -rf "$work/out"
peak_kb=$(/usr/bin/time -f '%M' "$build/quillbarrow" generate "$work/large.json" "$work/out" 2>&1 >/dev/null | tail -1)

printf 'files generated        %d (%d bytes)\n' "$files" "$bytes"
printf 'generate, median       %.4f s (%d runs)\n' "$gen" "$runs"
printf 'cp -r, median          %.4f s\n' "$copy"
printf 'ratio generate/copy    %.2f\n' "$(echo "$gen / $copy" | bc -l)"
printf 'peak memory (RSS)      %d KiB\n' "$peak_kb"
