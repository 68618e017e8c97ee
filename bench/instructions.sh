#!/usr/bin/env bash
# Benchmark: instructions executed (valgrind's callgrind) by validate, format and crud on the
# 200- and 3,200-table projects of bench/generate.sh. Unlike times, the counts hardly move with the
# machine's load, so two builds compare fairly on a busy machine: BASE=path/to/other/quillbarrow
# prints that build's counts beside this one's. QB=path/to/quillbarrow measures another build.
# Needs valgrind (Debian package valgrind).
set -euo pipefail
cd "$(dirname "$0")/.."

if ! command -v valgrind >/dev/null 2>&1; then
  echo "bench/instructions.sh needs valgrind (apt-get install valgrind); nothing measured." >&2
  exit 1
fi
. bench/tool.sh

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
for t in 200 3200; do php bench/make_large_project.php "$work/p$t.json" "$t" 20 50; done

# Prints the instructions one command of a tool executes.
instructions() {
  local tool=$1 command=$2 project=$3
  rm -rf "$work/out" "$work/formatted.json"
  local target=()
  case $command in
    format) target=("$work/formatted.json") ;;
    crud) target=("$work/out") ;;
  esac
  valgrind --tool=callgrind --callgrind-out-file=/dev/null "$tool" "$command" "$project" "${target[@]}" 2>&1 >/dev/null |
    awk '/Collected/ { print $NF }'
}

printf '%-22s %16s' "command" "$QB"
[ -n "${BASE:-}" ] && printf ' %16s %8s' "$BASE" "ratio"
printf '\n'
for t in 200 3200; do
  for command in validate format crud; do
    count=$(instructions "$QB" "$command" "$work/p$t.json")
    printf '%-22s %16d' "$command $t tables" "$count"
    if [ -n "${BASE:-}" ]; then
      base=$(instructions "$BASE" "$command" "$work/p$t.json")
      printf ' %16d %8.3f' "$base" "$(echo "$count / $base" | bc -l)"
    fi
    printf '\n'
  done
done
