#!/usr/bin/env bash
# Runs the same commands through the Linux command-line host and through quillbarrow.exe under
# Wine, each in a folder of its own holding the example projects, and compares exit status,
# stdout and stderr (folder paths aside; the Windows texts read from the ANSI code page 1252) and
# then every written file byte for byte.
# Usage: cli_under_wine.sh LINUX_QUILLBARROW WINDOWS_QUILLBARROW EXAMPLES_FOLDER WINE...
# (WINEPREFIX and the rest of Wine's environment come from the caller.)
set -euo pipefail

linux_cli=$(realpath "$1")
windows_cli=$(realpath "$2")
examples=$(realpath "$3")
shift 3
wine=("$@")

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
passed=0
failed=0

for side in linux windows; do
  mkdir -p "$work/$side/café" "$work/$side/foreign"
  cp "$examples"/*.json "$work/$side/"
  printf 'x' >"$work/$side/notes.txt"
  printf '{"schemaVersion": ' >"$work/$side/broken.json"
  printf '{"schemaVersion": "1.0.0", "pages": [{"id": "a", "title": "A", "route": "a"}]}' >"$work/$side/invalid.json"
  printf 'keep' >"$work/$side/foreign/file.txt"
  sed 's/"name": "Corner Bookshop"/"name": "Café Crème"/' "$examples/bookshop.json" >"$work/$side/café/projet é.json"
done
windows_dir="Z:${work//\//\\}\\windows"

# The folder of a side becomes <DIR>, with the separators after it written as "/".
normalize() {
  perl -pe 's{\Q'"$1"'\E([^\s;|"]*)}{"<DIR>" . ($1 =~ tr|\\|/|r)}ge'
}

run_side() {
  local side=$1
  shift
  (cd "$work/$side" && if [ "$side" = linux ]; then "$linux_cli" "$@"; else "${wine[@]}" "$windows_cli" "$@"; fi \
    >"$work/$side.out" 2>"$work/$side.err"; echo $? >"$work/$side.code") || true
}

# Runs one command on both sides and compares, byte for byte, what it printed and its exit status.
compare() {
  run_side linux "$@"
  run_side windows "$@"
  for f in code out err; do echo "== $f"; normalize "$work/linux" <"$work/linux.$f"; done >"$work/linux.all"
  for f in code out err; do
    echo "== $f"
    iconv -f CP1252 -t UTF-8 <"$work/windows.$f" | normalize "$windows_dir"
  done >"$work/windows.all"
  if cmp -s "$work/linux.all" "$work/windows.all"; then
    passed=$((passed + 1))
  else
    failed=$((failed + 1))
    echo "FAIL: quillbarrow $* differs between Linux (<) and Wine (>):"
    diff "$work/linux.all" "$work/windows.all" | head -40 || true
  fi
}

compare version
compare actions
compare --help
compare frobnicate
compare check ""
compare check missing.json
compare check notes.txt
compare check "café/projet é.json"
compare exec 9 "[R]"
compare exec 1 "[A]" "[B]"
compare summary "café/projet é.json"
compare schema "café/projet é.json"
compare format "café/projet é.json" "café/formaté.json"
compare validate broken.json
compare validate invalid.json
compare plan invalid.json plans/invalid.json
compare plan bookshop.json ""
compare crud bookshop.json foreign
compare generate "café/projet é.json" "café/sortie é"
compare crud bookshop.json crud-themed editorial wide "#0F766E"
for project in "$examples"/*.json; do
  name=$(basename "$project" .json)
  compare check "$name.json"
  compare validate "$name.json"
  compare summary "$name.json"
  compare plan "$name.json" "plans/$name.json"
  compare generate "$name.json" "generated/$name"
  compare crud "$name.json" "crud/$name"
  compare schema "$name.json"
  compare format "$name.json" "formatted/$name.json"
done
compare crud bookshop.json crud/bookshop  # again: a folder generated before is reused

rm -f "$work"/linux.* "$work"/windows.*
if diff -r "$work/linux" "$work/windows" >"$work/trees.diff"; then
  passed=$((passed + 1))
else
  failed=$((failed + 1))
  echo "FAIL: the files written under Wine differ from the Linux build's:"
  head -50 "$work/trees.diff"
fi

echo "command line: $passed passed, $failed failed"
[ "$failed" -eq 0 ]
