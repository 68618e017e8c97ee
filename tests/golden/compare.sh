#!/usr/bin/env bash
# Compares a fresh generation of every example with the checked-in golden tree, byte for byte.
# Usage: compare.sh QUILLBARROW
set -euo pipefail
here="$(cd "$(dirname "$0")" && pwd)"
fresh=$(mktemp -d)
trap 'rm -rf "$fresh"' EXIT
"$here/generate_trees.sh" "$1" "$fresh"
if ! diff -r "$here/trees" "$fresh"; then
  echo "Generated output differs from tests/golden/trees. Review the diff; if it is intended, run:" >&2
  echo "  scripts/update-golden" >&2
  exit 1
fi
echo "golden trees match"
