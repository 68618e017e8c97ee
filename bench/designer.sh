#!/usr/bin/env bash
# Benchmark: the designer on projects of 300 and 1,000 tables of 20 fields (lookups between
# tables, 50 pages), in two layers, each its own section:
#  - controller: DesignerForm alone (Linux Release build in build-bench-designer), each event
#    call timed;
#  - win32: the real designer window of the plug-in under Wine on a private Xvfb, opened by the
#    design action and driven from a second thread with window messages; each event is timed
#    until its messages return and the repaint they caused is done, "open" until the window is
#    shown and painted. The i686 build (build-bench-win) runs under 32-bit Wine when it is
#    installed, otherwise the x86_64 build (build-bench-win64) under 64-bit Wine, said loudly.
# Per event: median and maximum beside the goal (open <= 1 s, save <= 0.3 s, others <= 30 ms).
# Repeats of an event stop once it has its minimum runs and 10 s of samples.
# LAYERS="controller win32" and SIZES="300 1000" (the defaults) choose what runs.
set -euo pipefail
cd "$(dirname "$0")/.."
layers=${LAYERS:-controller win32}
sizes=${SIZES:-300 1000}

notice() {
  echo "!!!!!!!!!!!!!!!!!!!!!!!!!!!!!!!!!!!!!!!!!!!!!!!!!!!!!!!!!!!!!!!!!!!!!!!!!!!!!!!"
  printf '!!! %s\n' "$@"
  echo "!!!!!!!!!!!!!!!!!!!!!!!!!!!!!!!!!!!!!!!!!!!!!!!!!!!!!!!!!!!!!!!!!!!!!!!!!!!!!!!"
}

work=$(mktemp -d)
xvfb=
cleanup() {
  if [ -n "$xvfb" ]; then
    wineserver -k 2>/dev/null || true
    kill "$xvfb" 2>/dev/null || true
  fi
  rm -rf "$work"
}
trap cleanup EXIT

# build DIR TARGET... [-- CMAKE_OPTION...]: a Release build of the benchmark programs; its output
# is shown only when it fails.
build() {
  local dir=$1 targets=() options=()
  shift
  while [ $# -gt 0 ] && [ "$1" != -- ]; do targets+=("$1") && shift; done
  [ $# -gt 0 ] && shift && options=("$@")
  if ! { cmake -S . -B "$dir" -DCMAKE_BUILD_TYPE=Release -DQB_BUILD_TESTS=OFF -DQB_BUILD_BENCH=ON "${options[@]}" &&
    cmake --build "$dir" -j"$(nproc)" --target "${targets[@]}"; } >"$work/build.log" 2>&1; then
    tail -30 "$work/build.log"
    return 1
  fi
}

for t in $sizes; do php bench/make_large_project.php "$work/p$t.json" "$t" 20 50; done
heading() { printf '\n== %s, %d tables x 20 fields, 50 pages (project file %d bytes)\n' "$1" "$2" "$(stat -c %s "$work/p$2.json")"; }

if commit=$(git rev-parse --short HEAD 2>/dev/null); then
  git diff --quiet HEAD -- src || commit="$commit (src/ has uncommitted changes)"
else
  commit="? (not a git checkout)"
fi
printf 'designer benchmark at commit %s; load average %s\n' "$commit" "$(cut -d' ' -f1-3 /proc/loadavg)"
echo "repeats of an event stop once it has its minimum runs (3; 4 tab switches) and 10 s of samples"
status=0

if [[ " $layers " == *" controller "* ]]; then
  printf '\n######## controller: DesignerForm alone (Linux, Release)\n'
  if build build-bench-designer designer_bench; then
    for t in $sizes; do
      heading controller "$t"
      cp "$work/p$t.json" "$work/controller$t.json"
      build-bench-designer/designer_bench "$work/controller$t.json" || { echo "controller layer FAILED at $t tables"; status=1; }
    done
  else
    notice "controller layer FAILED: the Linux build did not build"
    status=1
  fi
fi

if [[ " $layers " == *" win32 "* ]]; then
  printf '\n######## win32: the designer window under Wine, each event with the repaint it causes\n'
  if ! command -v wine >/dev/null 2>&1 || ! command -v Xvfb >/dev/null 2>&1; then
    notice "win32 layer NOT RUN: Wine or Xvfb is not installed (scripts/setup installs them)"
    exit 1
  fi
  if [ -x /usr/lib/wine/wine ] && scripts/lib/runs-i386; then
    processor=i686 dir=build-bench-win wine=/usr/lib/wine/wine arch=win32
    echo "the i686 build (the shipped 32-bit plug-in) under 32-bit Wine"
  else
    processor=x86_64 dir=build-bench-win64 wine=/usr/lib/wine/wine64 arch=win64
    notice "32-bit Wine is not available here (/usr/lib/wine/wine missing or no 32-bit execution):" \
      "these figures are the x86_64 build under 64-bit Wine, NOT the shipped 32-bit plug-in"
  fi
  if ! build "$dir" kdquillbarrow designer_gui_bench -- -DCMAKE_TOOLCHAIN_FILE="cmake/mingw-$processor.cmake"; then
    notice "win32 layer FAILED: the $processor cross build did not build"
    exit 1
  fi
  mkdir "$work/tmp"
  export WINEPREFIX=$work/prefix TMPDIR=$work/tmp WINEARCH=$arch WINEDEBUG=-all LC_ALL=C.UTF-8
  Xvfb -displayfd 3 -screen 0 1280x800x24 -nolisten tcp 3>"$work/display" 2>"$work/xvfb.log" &
  xvfb=$!
  for _ in $(seq 100); do [ -s "$work/display" ] && break; sleep 0.1; done
  if [ ! -s "$work/display" ]; then
    notice "win32 layer FAILED: Xvfb did not start:" "$(tail -5 "$work/xvfb.log")"
    exit 1
  fi
  export DISPLAY=":$(head -1 "$work/display")"
  wineserver -p 2>/dev/null || true
  if ! "$wine" wineboot -i >"$work/wineboot.log" 2>&1; then
    notice "win32 layer FAILED: Wine could not start a prefix:" "$(tail -5 "$work/wineboot.log")"
    exit 1
  fi
  plugin=$("$wine" winepath -w "$dir/kdQuillbarrow.nbp")
  for t in $sizes; do
    heading "win32 ($processor)" "$t"
    cp "$work/p$t.json" "$work/win32-$t.json"
    timeout 900 "$wine" "$dir/designer_gui_bench.exe" "$plugin" "$("$wine" winepath -w "$work/win32-$t.json")" ||
      { echo "win32 layer FAILED at $t tables"; status=1; }
  done
fi
printf '\nload average at the end %s\n' "$(cut -d' ' -f1-3 /proc/loadavg)"
exit $status
