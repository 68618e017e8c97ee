#!/usr/bin/env bash
# The designer windows under Wine: the GUI test program drives the designer and the properties
# dialog of the real plug-in, then `quillbarrow.exe design` opens the designer and is cancelled.
# Usage: designer_gui_under_wine.sh BUILD_DIR [RUNNER...]   (runs with DISPLAY set)
set -uo pipefail
build=$1
shift
runner=("$@")
winpath() { "${runner[-1]}" winepath -w "$1"; }

status=0
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
mkdir -p "$build/screenshots"
if "${runner[@]}" "$build/designer_gui_test.exe" "$(winpath "$build/kdQuillbarrow.nbp")" "$(winpath "$work")" \
  "$(winpath "$build/screenshots")"; then
  echo "designer screenshots: $build/screenshots/"
else
  status=1
fi

project=$(winpath examples/bookshop.json)
"${runner[@]}" "$build/quillbarrow.exe" design "$project" >"$work/design.out" 2>&1 &
cli=$!
"${runner[@]}" "$build/designer_gui_test.exe" --cancel-designer "Kettlebourne Database Designer - $project" || status=1
wait $cli
cli_status=$?
if [ $cli_status -eq 1 ] && [ "$(tr -d '\r' <"$work/design.out")" = "CANCEL|$project" ]; then
  echo "quillbarrow.exe design: the designer opened and Cancel answered CANCEL|$project"
else
  echo "FAILED quillbarrow.exe design: exit $cli_status, output: $(cat "$work/design.out")"
  status=1
fi
exit $status
