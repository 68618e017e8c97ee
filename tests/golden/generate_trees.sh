#!/usr/bin/env bash
# Generates the CRUD application of every example project into DEST/<example>/.
# Usage: generate_trees.sh QUILLBARROW DEST
set -euo pipefail
cli=$1
dest=$2
examples="$(cd "$(dirname "$0")/../../examples" && pwd)"
for project in "$examples"/*.json; do
  name=$(basename "$project" .json)
  rm -rf "${dest:?}/$name"
  "$cli" crud "$project" "$dest/$name" >/dev/null
done
