#!/usr/bin/env bash
# Benchmark: the project-file commands on three project sizes (200, 800 and 3,200 tables of 20
# fields, 50 pages): median wall and user CPU time and peak memory of validate, format, plan,
# generate and crud; crud of the 200-table project against `cp -r` of the tree it writes,
# alternated in one run; and the cost growth from 800 to 3,200 tables. Each figure is printed
# on its own line beside its goal.
# QB=path/to/quillbarrow measures another build instead of building this tree.
set -euo pipefail
cd "$(dirname "$0")/.."
runs=${RUNS:-5}

. bench/tool.sh

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
sizes=(200 800 3200)
for t in "${sizes[@]}"; do php bench/make_large_project.php "$work/p$t.json" "$t" 20 50; done

median() { sort -g | awk '{ v[NR] = $1 } END { print (NR % 2) ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2 }'; }
# Runs a command once; prints "wall_s user_s peak_kib".
measure() { php bench/measure.php "$@"; }

# Runs one command of the tool RUNS times on a fresh output; prints "wall user peak_kib" medians.
run_command() {
  local command=$1 project=$2 walls=() users=() peaks=() w u m
  for _ in $(seq "$runs"); do
    rm -rf "$work/out" "$work/formatted.json" "$work/plan.txt"
    case $command in
      validate) read -r w u m < <(measure "$QB" validate "$project") ;;
      format) read -r w u m < <(measure "$QB" format "$project" "$work/formatted.json") ;;
      plan) read -r w u m < <(measure "$QB" plan "$project" "$work/plan.txt") ;;
      generate | crud) read -r w u m < <(measure "$QB" "$command" "$project" "$work/out") ;;
    esac
    walls+=("$w") users+=("$u") peaks+=("$m")
  done
  echo "$(printf '%s\n' "${walls[@]}" | median) $(printf '%s\n' "${users[@]}" | median)" \
    "$(printf '%s\n' "${peaks[@]}" | median)"
}

# goal_line LABEL VALUE UNIT GOAL: prints the figure, its goal and whether it is met.
goal_line() {
  local met=no
  [ "$(echo "$2 <= $4" | bc -l)" -eq 1 ] && met=yes
  printf '%-44s %10.3f %-4s goal <= %-10s met: %s\n' "$1" "$2" "$3" "$4" "$met"
}

printf 'tool %s; %d runs per figure, medians; load average %s\n' "$QB" "$runs" "$(cut -d' ' -f1-3 /proc/loadavg)"
declare -A wall user peak
for t in "${sizes[@]}"; do
  bytes=$(stat -c %s "$work/p$t.json")
  mem_goal_mib=$(echo "(4 * $bytes) / 1048576 + 25" | bc -l)
  printf '\n%d tables x 20 fields, 50 pages: project file %d bytes; memory goal 4 x file + 25 MiB = %.1f MiB\n' \
    "$t" "$bytes" "$mem_goal_mib"
  for command in validate format plan generate crud; do
    read -r w u m < <(run_command "$command" "$work/p$t.json")
    wall[$command$t]=$w user[$command$t]=$u peak[$command$t]=$m
    printf '  %-9s wall %8.4f s  user %8.4f s  peak RSS %8.1f MiB\n' "$command" "$w" "$u" "$(echo "$m / 1024" | bc -l)"
  done
done

# crud of the smallest project against cp -r of its output, alternated.
small=${sizes[0]}
crud_times=() copy_times=() crud_users=()
for _ in $(seq "$runs"); do
  rm -rf "$work/out" "$work/copy"
  read -r w u m < <(measure "$QB" crud "$work/p$small.json" "$work/out")
  crud_times+=("$w") crud_users+=("$u")
  sync
  read -r w u m < <(measure cp -r "$work/out" "$work/copy")
  copy_times+=("$w")
  sync
done
crud=$(printf '%s\n' "${crud_times[@]}" | median)
crud_user=$(printf '%s\n' "${crud_users[@]}" | median)
copy=$(printf '%s\n' "${copy_times[@]}" | median)
files=$(find "$work/out" -type f | wc -l)
out_bytes=$(du -sb "$work/out" | cut -f1)

big=${sizes[2]}
bytes=$(stat -c %s "$work/p$big.json")
mem_goal_kib=$(((4 * bytes) / 1024 + 25 * 1024))
printf '\ncrud of %d tables writes %d files (%d bytes); crud %.4f s, cp -r %.4f s (medians, alternated)\n' \
  "$small" "$files" "$out_bytes" "$crud" "$copy"
printf 'load average at the end %s\n' "$(cut -d' ' -f1-3 /proc/loadavg)"
printf '\n%-44s %10s %-4s %s\n' figure value unit goal
goal_line "crud $small tables / cp -r, wall time" "$(echo "$crud / $copy" | bc -l)" x 1.2
goal_line "crud $small tables, user CPU" "$(echo "$crud_user * 1000" | bc -l)" ms 15
goal_line "validate $big tables, wall" "${wall[validate$big]}" s 0.1
goal_line "validate $big tables, peak RSS" "$(echo "${peak[validate$big]} / 1024" | bc -l)" MiB "$((mem_goal_kib / 1024))"
goal_line "format $big tables, wall" "${wall[format$big]}" s 0.2
goal_line "format $big tables, peak RSS" "$(echo "${peak[format$big]} / 1024" | bc -l)" MiB "$((mem_goal_kib / 1024))"
goal_line "crud $big tables, wall" "${wall[crud$big]}" s 0.6
goal_line "crud $big tables, peak RSS" "$(echo "${peak[crud$big]} / 1024" | bc -l)" MiB "$((mem_goal_kib / 1024))"
# Four times the tables is two doublings: linear growth at most 2.2 x per doubling.
for command in validate format plan generate crud; do
  u800=${user[${command}800]} u3200=${user[${command}3200]}
  goal_line "$command user CPU growth per doubling 800->3200" "$(echo "sqrt($u3200 / $u800)" | bc -l)" x 2.2
done
