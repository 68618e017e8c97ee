#!/usr/bin/env bash
# The designer and the properties dialog under Wine, driven only by real input from X (XTEST through
# xdotool). Screenshots of the windows (xwd) are compared with ImageMagick's compare -metric AE;
# what typing into the designer changed is read back from the file its "Save" button writes.
# window_probe.exe hosts the windows and says where their controls are; it sends no input.
# Pictures, and a diff-NAME.png beside each picture that differs, go to BUILD_DIR/pixels/.
# Usage: designer_pixels_under_wine.sh BUILD_DIR [RUNNER...]   (from the top of the source tree,
# with DISPLAY set; the last word of RUNNER is the wine loader)
set -uo pipefail
build=$1
shift
runner=("$@")
wine=${runner[-1]}
pixels=$build/pixels
passed=0 failed=0

missing=()
for tool in xdotool xwd convert compare php; do command -v "$tool" >/dev/null || missing+=("$tool"); done
[ -n "${DISPLAY:-}" ] || missing+=("an X display (DISPLAY)")
if [ ${#missing[@]} -gt 0 ]; then
  echo "designer pixel test FAILED: cannot run without ${missing[*]} (scripts/setup installs xdotool, x11-apps, imagemagick)"
  exit 1
fi

work=$(mktemp -d)
probe_pid=
trap 'kill $probe_pid 2>/dev/null; rm -rf "$work"' EXIT
rm -rf "$pixels"
mkdir -p "$pixels"

fail() { echo "FAILED $*"; failed=$((failed + 1)); }
section() { echo "designer pixel test at ${SECONDS}s: $*"; }
pass() { passed=$((passed + 1)); }
winpath() { "$wine" winepath -w "$1"; }

# Control IDs by name, numbered as the views number them.
header() { sed -n "s/.*$1 = \([0-9]*\);.*/\1/p" src/designer/win32/control_ids.hpp; }
declare -A ctl first looked seen
n=0
for name in $(sed -n '/^enum class Ctl/,/^};/s/^  \([A-Za-z]*\),.*/\1/p' src/designer/designer_controls.hpp); do
  ctl[$name]=$(($(header kDesignerControlBase) + n))
  n=$((n + 1))
done
row_buttons=($(sed -n 's/.*enum class RowButton { *\(.*\) *};.*/\1/p' src/designer/action_editor.hpp | tr -d ,))
row_id() {  # row_id ROW OFFSET: a control of a properties dialog row
  echo $(($(header kRowBase) + $(header kRowStride) * $1 + $2))
}
button_id() {  # button_id ROW KIND: a row's button by its RowButton name
  local i
  for i in "${!row_buttons[@]}"; do [ "${row_buttons[$i]}" = "$2" ] && row_id "$1" $(($(header kRowFirstButton) + i)); done
}
field_types=($(sed -n '/kFieldTypeKeys = {/,/};/p' src/model/field_types.hpp | grep -o '"[a-z]*"' | tr -d '"'))
if [ -z "${ctl[Tabs]:-}" ] || [ -z "${ctl[mmPreview]:-}" ] || [ ${#row_buttons[@]} -lt 6 ] || [ ${#field_types[@]} -lt 14 ]; then
  echo "designer pixel test FAILED: cannot read the control IDs or field types from the headers"
  exit 1
fi

# A caret that does not blink makes pictures with a caret comparable without masking it.
"$wine" reg add 'HKCU\Control Panel\Desktop' /v CursorBlinkRate /t REG_SZ /d -1 /f >/dev/null 2>&1

# ---- The probe and the input ----

plugin=$(winpath "$build/kdQuillbarrow.nbp")

# host CLASS ARGS...: the probe hosts a window (ARGS: design PROJECT | edit ACTION SLOT...).
host() {
  local cls=$1
  shift
  coproc PROBE { "${runner[@]}" "$build/window_probe.exe" "$plugin" "$@" 2>>"$work/probe.err"; }
  probe_pid=$PROBE_PID result=
  target "$cls" || { kill "$probe_pid" 2>/dev/null; wait "$probe_pid" 2>/dev/null; false; }
}

# ask QUESTION: the probe's one-line answer, in $answer; the line the probe prints when the window
# closes is kept in $result.
ask() {
  answer=none
  [ -n "${PROBE[1]:-}" ] && echo "$*" >&"${PROBE[1]}" 2>/dev/null || return
  while IFS= read -r -t 30 answer <&"${PROBE[0]}"; do
    [[ $answer == closed* ]] || return 0
    result=$answer
  done
  answer=none
}

# ask_lines QUESTION: the answer's lines up to "end", in $lines.
ask_lines() {
  lines=()
  ask "$@"
  while [ "$answer" != end ] && [ "$answer" != none ]; do
    lines+=("$answer")
    answer=none
    IFS= read -r -t 30 answer <&"${PROBE[0]}"
  done
}

# target CLASS [MS]: the window questions are about; sets its client area (cx cy cw ch) and X window.
target() {
  ask top "$@"
  read -r cx cy cw ch xid <<<"$answer"
  [ -n "${xid:-}" ] && [ "$xid" != 0 ]
}

# closed: waits for the hosted window to close; its result line is in $result.
closed() {
  local i
  for i in $(seq 40); do
    [ -n "$result" ] && break
    IFS= read -r -t 0.25 answer <&"${PROBE[0]}" 2>/dev/null && [[ $answer == closed* ]] && result=$answer
  done
  [ -n "$result" ] || { fail "the window did not close"; kill "$probe_pid" 2>/dev/null; }
  wait "$probe_pid" 2>/dev/null
}

# close_designer: "Cancel", and "Yes" when it asks whether to close without saving.
close_designer() {
  click_ctl "${ctl[btnCancel]}"
  [ -n "$result" ] || ! target '#32770' 1000 || click_ctl 6
  closed
}

settle() { ask settle; }
# The pointer rests in the window's bottom right corner, on no control: no hint or hover shows,
# and X keeps the keyboard on the window.
park() { xdotool mousemove $((cx + cw - 3)) $((cy + ch - 3)); }
centre() { set -- $answer; echo $(($1 + $3 / 2)) $(($2 + $4 / 2)); }
click_at() { xdotool mousemove "$1" "$2" click 1; park; settle; }
click_ctl() { ask ctl "$1"; [[ $answer == *" visible "* ]] && click_at $(centre); }
click_tab() { ask tab "$1"; click_at $(centre); shown_tab=$1; }
click_field() { ask cell "${ctl[lvFields]}" "$1" 0; [[ $answer == *shown ]] && click_at $(centre); }
keys() { xdotool key "$@"; settle; }
typed() { xdotool type -- "$1"; settle; }
# The tab control takes the focus when its item is clicked: pictures then show the same focus.
focus_tab() { click_tab "$shown_tab"; }
# The rectangle of the last answer relative to the window, as an ImageMagick geometry.
geometry() { set -- $answer; echo "$3x$4+$(($1 - cx))+$(($2 - cy))"; }

# shoot NAME [GEOMETRY]: a picture of the window, or of a part of it, as pixels/NAME.png; develop
# turns a picture xwd took into $work/NAME.xwd into that PNG.
shoot() { xwd -silent -id "$xid" -out "$work/$1.xwd" && develop "$@"; }
develop() { convert "$work/$1.xwd" ${2:+-crop "$2" +repage} -strip "$pixels/$1.png" && rm -f "$work/$1.xwd"; }

# in_background CMD...: runs CMD beside the test, two at a time; wait_background waits for them.
jobs_running=()
in_background() {
  while [ ${#jobs_running[@]} -ge 2 ]; do
    wait -n "${jobs_running[@]}" 2>/dev/null
    local pid alive=()
    for pid in "${jobs_running[@]}"; do kill -0 "$pid" 2>/dev/null && alive+=("$pid"); done
    jobs_running=("${alive[@]}")
  done
  "$@" &
  jobs_running+=($!)
}
wait_background() { wait "${jobs_running[@]}" 2>/dev/null; jobs_running=(); }

# same REF NAME [GEOMETRY]: true when NAME shows the pixels of REF (in that part of them);
# otherwise $count says how many differ and diff-NAME.png where.
same() {
  local a=$pixels/$1.png b=$pixels/$2.png
  count=0
  cmp -s "$a" "$b" && return 0
  if [ -n "${3:-}" ]; then
    convert "$a" -crop "$3" +repage "$work/a.png" && convert "$b" -crop "$3" +repage "$work/b.png"
    a=$work/a.png b=$work/b.png
  fi
  count=$(compare -metric AE "$a" "$b" "$pixels/diff-$2.png" 2>&1)
  [ "$count" = 0 ] && rm -f "$pixels/diff-$2.png"
  [ "$count" = 0 ]
}

# route N START: a walk through N items from START that steps from every item to every other.
route() {
  local k j
  for ((k = 0; k < $1; k++)); do
    echo $(((k + $2) % $1))
    for ((j = k + 1; j < $1; j++)); do echo $(((j + $2) % $1)) $(((k + $2) % $1)); done
  done
}

# looks NAME: on the window as shown no text is cut off, no control touches the window's edge, and
# the labels and check boxes show the surface behind them in the picture NAME: the top right
# corner inside each has the colour found just above it or just right of it.
looks() {
  local line points="" x y w h text i=0 before=$failed
  ask_lines fit 6
  for line in "${lines[@]}"; do fail "$1: $line"; done
  ask_lines surfaces
  local -a texts=()
  for line in "${lines[@]}"; do
    read -r x y w h text <<<"$line"
    x=$((x - cx + w - 2)) y=$((y - cy))
    [ $y -ge 2 ] || continue
    texts+=("$text")
    points+="%[pixel:p{$x,$((y + 1))}] %[pixel:p{$x,$((y - 2))}] %[pixel:p{$((x + 3)),$((y + 1))}]\n"
  done
  while read -r inside above right; do
    [ "$inside" = "$above" ] || [ "$inside" = "$right" ] || fail "$1: '${texts[$i]}' paints $inside on $above"
    i=$((i + 1))
  done < <(convert "$pixels/$1.png" -format "$points" info:)
  [ $failed -eq $before ] && pass
}

# focus_inside WHAT: after WHAT, a control of the window has the keyboard focus.
focus_inside() {
  ask focus
  [[ $answer == *" inside "* ]] && pass || fail "no control has the focus after $1 (focus: $answer)"
}

# ---- Designer: each tab looks the same however it was reached ----
section "designer: each tab looks the same however it was reached"

cp examples/bookshop.json "$work/bookshop.json"
if host QuillbarrowDesigner design "$(winpath "$work/bookshop.json")"; then
  ask current
  start=$answer shown_tab=$answer
  # Compared is the window below the tab items: Wine's themed tab control draws the edge under an
  # item that was selected before one pixel apart (four pixels, one grey level), which is not the
  # view's doing.
  ask tab 0
  read -r _ y _ h _ <<<"$answer"
  body=${cw}x$((ch - y - h + cy - 2))+0+$((y + h - cy + 2))
  focus_tab
  shoot "tab$start-opened"
  first=([$start]="tab$start-opened") looked=() seen=()
  prev=$start
  for t in $(route 4 "$start" | tail -n +2); do
    click_tab "$t"
    name=tab$t-after-tab$prev prev=$t
    [ -z "${seen[$name]:-}" ] || continue
    seen[$name]=1
    shoot "$name"
    [ -n "${looked[$t]:-}" ] || { looked[$t]=1; looks "$name"; }
    if [ -z "${first[$t]:-}" ]; then
      first[$t]=$name
    else
      same "${first[$t]}" "$name" "$body" && pass ||
        fail "$name.png differs from ${first[$t]}.png: $count pixels (diff-$name.png)"
    fi
  done
  # "New" on the tables tab shows the project tab of a new project, as it looks after a visit to
  # the tables tab.
  click_tab 1
  click_ctl "${ctl[btnNew]}"
  ask current
  t=$answer
  click_tab "$t"
  shoot "tab$t-after-new"
  click_tab 1
  click_tab "$t"
  shoot "tab$t-after-new-and-tab1"
  same "tab$t-after-new-and-tab1" "tab$t-after-new" "$body" && pass ||
    fail "tab$t-after-new.png differs from tab$t-after-new-and-tab1.png: $count pixels (diff-tab$t-after-new.png)"
  close_designer
else
  fail "the designer did not open on bookshop.json"
fi

# ---- Designer: clicking a shown edit and typing changes that value and nothing else ----
section "designer: clicking a shown edit and typing changes that value and nothing else"

# json_changes OLD NEW: "path=value" for every value NEW adds or changes, "path gone" for removed ones.
json_changes() {
  php -r '
    function flat($v, $path, &$out) {
      if (!is_array($v)) { $out[$path] = is_string($v) ? $v : json_encode($v); return; }
      if (!$v) $out[$path] = "[]";
      foreach ($v as $k => $x) flat($x, $path === "" ? "$k" : "$path.$k", $out);
    }
    $a = []; $b = [];
    flat(json_decode(file_get_contents($argv[1]), true), "", $a);
    flat(json_decode(file_get_contents($argv[2]), true), "", $b);
    $lines = [];
    foreach ($b as $k => $v) if (!array_key_exists($k, $a) || $a[$k] !== $v) $lines[] = "$k=$v";
    foreach ($a as $k => $v) if (!array_key_exists($k, $b)) $lines[] = "$k gone";
    sort($lines);
    echo implode("; ", $lines);' "$1" "$2"
}

# save NAME: clicks "Save"; the file it wrote becomes NAME.json.
save() {
  rm -f "$work/bookshop.json"
  click_ctl "${ctl[btnSave]}"
  mv "$work/bookshop.json" "$work/$1.json" 2>/dev/null
}

# TAB CONTROL [ROW COL of the pages grid] | what the saved file then changes ("" for nothing).
# The keys typed are End and 7. bookshop.json opens on categories and its first field, title.
entity=database.entities
input_cases=(
  "1 edTableId | $entity.0.fields.1.lookup.entity=categories7; $entity.0.id=categories7; $entity.2.fields.3.lookup.entity=categories7"
  "1 edTableName | $entity.0.name=Categories7"
  "1 edPageSize | $entity.0.pageSize=207"
  "1 edFieldName | $entity.0.displayField=title7; $entity.0.fields.0.name=title7; $entity.0.fields.1.lookup.field=title7; $entity.2.fields.3.lookup.field=title7"
  "1 edFieldLabel | $entity.0.fields.0.label=Title7"
  "1 edLength | $entity.0.fields.0.length=807"
  "1 edDefault | $entity.0.fields.0.default=7"
  "1 edHelp | $entity.0.fields.0.help=7"
  "0 edProjectId | project.id=bookshop7"
  "0 edProjectName | project.name=Corner Bookshop7"
  "0 edVersion | project.version=1.0.07"
  "0 edOutput | build.outputDirectory=./build/bookshop7"
  "0 edHost | "
  "0 edPort | "
  "0 edDBName | "
  "0 edUser | "
  "0 edPassword | "
  "2 grid 0 0 | pages.0.id=home7"
  "2 grid 0 1 | pages.0.title=Welcome7"
  "2 grid 0 2 | pages.0.route=/7"
  "2 edPageContent | pages.0.content=Browse our books, authors and categories.7"
  "3 mmPreview | "
)

# aim CASE: where a case of input_cases clicks (in $answer), the control that then has the focus
# ($id) and its name ($label).
aim() {
  IFS='|' read -r where expected <<<"$1"
  read -r tab name row col <<<"$where"
  expected=$(echo "$expected" | sed 's/^ *//; s/ *$//')
  if [ "$name" = grid ]; then
    ask cell "${ctl[sgPages]}" "$row" "$col"
    id=$(header kPagesGridEditor) label="pages grid row $row column $col"
  else
    ask ctl "${ctl[$name]}"
    id=${ctl[$name]} label=$name
  fi
}

cp examples/bookshop.json "$work/bookshop.json"
if host QuillbarrowDesigner design "$(winpath "$work/bookshop.json")"; then
  ask current
  shown_tab=$answer
  save before
  for case in "${input_cases[@]}"; do
    aim "$case"
    [ "$tab" = "$shown_tab" ] || { click_tab "$tab"; aim "$case"; }
    [ "$answer" = none ] && { fail "$label: not found"; continue; }
    # Enabled controls take the focus wherever they are clicked: near either end.
    enabled=$([[ $answer == *" enabled"* || $name == grid ]] && echo yes)
    read -r x y w h _ <<<"$answer"
    for point in "$((x + 3)) $((y + h / 2))" "$((x + w - 4)) $((y + h / 2))"; do
      click_at $point
      [ -n "$enabled" ] || continue
      ask focus
      [ "${answer%% *}" = "$id" ] && pass || fail "a click into $label at $point focused control ${answer%% *} instead"
    done
    keys End
    typed 7
    focus_tab
    save after
    if [ ! -f "$work/after.json" ]; then
      fail "$label: Save wrote no file"
      continue
    fi
    changes=$(json_changes "$work/before.json" "$work/after.json")
    [ "$changes" = "$expected" ] && pass || fail "typing into $label changed: ${changes:-nothing}; expected: ${expected:-nothing}"
    mv "$work/after.json" "$work/before.json"
  done
  # After a message box a control has the focus again.
  click_ctl "${ctl[btnValidate]}"
  if target '#32770'; then
    click_ctl 1
    target QuillbarrowDesigner
    park
    settle
    focus_inside "the Validate message box"
  else
    fail "Validate showed no message box"
  fi
  close_designer
else
  fail "the designer did not open on bookshop.json"
fi

# ---- Designer: access by role answers real clicks ----
section "designer: access by role answers real clicks"

# A role added, a table's access limited and one of its boxes clicked: the saved file says so.
# Taken back step by step, the tables tab looks as it opened.
cp examples/bookshop.json "$work/bookshop.json"
if host QuillbarrowDesigner design "$(winpath "$work/bookshop.json")"; then
  ask tab 0
  read -r _ y _ h _ <<<"$answer"
  body=${cw}x$((ch - y - h + cy - 2))+0+$((y + h - cy + 2))
  click_tab 1
  shoot access-opened
  save before
  click_tab 0
  click_ctl "${ctl[btnAddRole]}"
  click_tab 1
  click_ctl "${ctl[chkLimitAccess]}"
  ask cell "${ctl[lvAccess]}" 1 2
  [[ $answer == *shown ]] && click_at $(centre)
  focus_tab
  save after
  a=database.entities.0.access
  expected="$a.add=[]; $a.delete.0=role_1; $a.edit.0=role_1; $a.ownRecordsOnly=[]; $a.view.0=role_1; security.roles.0=role_1; security.signIn=false"
  changes=$(json_changes "$work/before.json" "$work/after.json" 2>/dev/null)
  [ "$changes" = "$expected" ] && pass || fail "access by role: the clicks changed: ${changes:-nothing}; expected: $expected"
  ask cell "${ctl[lvAccess]}" 1 2
  [[ $answer == *shown ]] && click_at $(centre)
  click_ctl "${ctl[chkLimitAccess]}"
  click_tab 0
  click_ctl "${ctl[btnRemoveRole]}"
  click_tab 1
  shoot access-taken-back
  same access-opened access-taken-back "$body" && pass ||
    fail "access-taken-back.png differs from access-opened.png: $count pixels (diff-access-taken-back.png)"
  close_designer
else
  fail "the designer did not open on bookshop.json"
fi

# ---- Designer: the list options answer real clicks ----
section "designer: the list options answer real clicks"

# bookshop.json opens on categories and its title (a string, which the filter bar cannot offer):
# a click on its Filter box changes nothing; parent_id (a lookup) takes it, the table takes CSV
# export and import. Cleared again, the file and the tables tab are as they opened.
cp examples/bookshop.json "$work/bookshop.json"
if host QuillbarrowDesigner design "$(winpath "$work/bookshop.json")"; then
  ask tab 0
  read -r _ y _ h _ <<<"$answer"
  body=${cw}x$((ch - y - h + cy - 2))+0+$((y + h - cy + 2))
  click_tab 1
  shoot list-options-opened
  save before
  click_ctl "${ctl[chkFilter]}"
  click_field 1
  for name in chkFilter chkExportCsv chkImportCsv; do click_ctl "${ctl[$name]}"; done
  focus_tab
  shoot list-options-ticked
  save after
  e=database.entities.0
  expected="$e.export=true; $e.fields.1.filter=true; $e.import=true"
  changes=$(json_changes "$work/before.json" "$work/after.json" 2>/dev/null)
  [ "$changes" = "$expected" ] && pass || fail "list options: the clicks changed: ${changes:-nothing}; expected: $expected"
  for name in chkFilter chkExportCsv chkImportCsv; do click_ctl "${ctl[$name]}"; done
  click_field 0
  focus_tab
  shoot list-options-taken-back
  save again
  changes=$(json_changes "$work/before.json" "$work/again.json" 2>/dev/null)
  [ -f "$work/again.json" ] && [ -z "$changes" ] && pass ||
    fail "list options: cleared again, the saved file still changed: ${changes:-no file written}"
  same list-options-opened list-options-taken-back "$body" && pass ||
    fail "list-options-taken-back.png differs from list-options-opened.png: $count pixels (diff-list-options-taken-back.png)"
  close_designer
else
  fail "the designer did not open on bookshop.json"
fi

# ---- Designer: the relation settings answer real clicks ----
section "designer: the relation settings answer real clicks"

# bookshop.json opens on categories: a click on the closed Index of description (long text) changes
# nothing; title takes an index, parent_id (a lookup of categories) is listed on the parent's page
# and deleted with it (chosen with the keyboard in the opened list), the table takes a detail page
# and full-text search. Cleared again and "Refuse" chosen, the file and the tables tab are as they
# opened.
cp examples/bookshop.json "$work/bookshop.json"
if host QuillbarrowDesigner design "$(winpath "$work/bookshop.json")"; then
  ask tab 0
  read -r _ y _ h _ <<<"$answer"
  body=${cw}x$((ch - y - h + cy - 2))+0+$((y + h - cy + 2))
  click_tab 1
  shoot relations-opened
  save before
  click_field 2
  click_ctl "${ctl[chkIndex]}"
  click_field 0
  click_ctl "${ctl[chkIndex]}"
  click_field 1
  click_ctl "${ctl[chkListOnParent]}"
  click_ctl "${ctl[cbOnDelete]}" && keys Down Down Return
  for name in chkDetailPage chkFullTextSearch; do click_ctl "${ctl[$name]}"; done
  focus_tab
  shoot relations-set
  looks relations-set
  save after
  e=database.entities.0
  expected="$e.detailPage=true; $e.fields.0.index=true; $e.fields.1.listOnParent=true; $e.fields.1.onDelete=cascade; $e.fullTextSearch=true"
  changes=$(json_changes "$work/before.json" "$work/after.json" 2>/dev/null)
  [ "$changes" = "$expected" ] && pass || fail "relations: the clicks changed: ${changes:-nothing}; expected: $expected"
  click_ctl "${ctl[chkListOnParent]}"
  click_ctl "${ctl[cbOnDelete]}" && keys Up Up Return
  for name in chkDetailPage chkFullTextSearch; do click_ctl "${ctl[$name]}"; done
  click_field 0
  click_ctl "${ctl[chkIndex]}"
  focus_tab
  shoot relations-taken-back
  save again
  changes=$(json_changes "$work/before.json" "$work/again.json" 2>/dev/null)
  [ -f "$work/again.json" ] && [ -z "$changes" ] && pass ||
    fail "relations: cleared again, the saved file still changed: ${changes:-no file written}"
  same relations-opened relations-taken-back "$body" && pass ||
    fail "relations-taken-back.png differs from relations-opened.png: $count pixels (diff-relations-taken-back.png)"
  close_designer
else
  fail "the designer did not open on bookshop.json"
fi

# ---- Designer: Tab only visits the shown controls of the shown tab ----
section "designer: Tab only visits the shown controls of the shown tab"

# From the first edit of each tab's cases (the opening tab first), twelve presses of Tab.
cp examples/bookshop.json "$work/bookshop.json"
if host QuillbarrowDesigner design "$(winpath "$work/bookshop.json")"; then
  ask current
  shown_tab=$answer
  for t in "$shown_tab" $(seq 0 3 | grep -vx "$shown_tab"); do
    for case in "${input_cases[@]}"; do [ "${case%% *}" = "$t" ] && break; done
    aim "$case"
    [ "$tab" = "$shown_tab" ] || { click_tab "$tab"; aim "$case"; }
    click_at $(centre)
    strayed=
    for i in $(seq 12); do
      keys Tab
      ask focus
      read -r id _ where shown page _ <<<"$answer"
      if [ "$where" != inside ] || [ "$shown" != visible ] || { [ "$page" != -1 ] && [ "$page" != "$tab" ]; }; then
        strayed="press $i reached control $id ($answer)"
        break
      fi
    done
    [ -z "$strayed" ] && pass || fail "Tab on tab $tab from $label: $strayed"
  done
  close_designer
else
  fail "the designer did not open on bookshop.json"
fi

# ---- Designer: a field's editor looks the same whichever field was selected before ----
section "designer: a field's editor looks the same whichever field was selected before"

types=$(php -r '$p = json_decode(file_get_contents($argv[1]), true);
  echo implode(" ", array_column($p["database"]["entities"][0]["fields"], "type"));' tests/windows/every_field_type.json)
[ "$types" = "${field_types[*]}" ] || fail "tests/windows/every_field_type.json holds the types $types, not ${field_types[*]}"

# select_field ROW: clicks a row of the field list, scrolling it into view with the wheel. The
# pointer stays on the list, outside the pictures of the field's editor. A row scrolled to where
# the last click went waits out the double-click time, which would take the click for a double one.
last_row_click=
select_field() {
  local i
  for i in $(seq 10); do
    ask cell "${ctl[lvFields]}" "$1" 0
    case $answer in
      *shown) break ;;
      *above) ask ctl "${ctl[lvFields]}"; xdotool mousemove $(centre) click 4; settle ;;
      *below) ask ctl "${ctl[lvFields]}"; xdotool mousemove $(centre) click 5; settle ;;
    esac
  done
  [ "$(centre)" != "$last_row_click" ] || sleep 0.6
  last_row_click=$(centre)
  xdotool mousemove $(centre) click 1
  settle
}

cp tests/windows/every_field_type.json "$work/fields.json"
if host QuillbarrowDesigner design "$(winpath "$work/fields.json")"; then
  click_tab 0
  click_tab 1
  ask ctl "${ctl[grpField]}"
  editor=$(geometry)
  # The selected row stays marked when the list has not the focus.
  select_field 0
  focus_tab
  ask cell "${ctl[lvFields]}" 0 0
  row=$(geometry)
  shoot row0-selected "$row"
  select_field 1
  focus_tab
  shoot row0-not-selected "$row"
  # Counted are the pixels whose colours differ by more than a tenth of the range: a fainter mark
  # cannot be told from an unmarked row.
  count=$(compare -metric AE -fuzz 10% "$pixels/row0-selected.png" "$pixels/row0-not-selected.png" null: 2>&1)
  set -- ${row//[x+]/ }
  [ "${count%%.*}" -gt $(($1 * $2 / 4)) ] 2>/dev/null && pass ||
    fail "the selected field row looks like an unselected one without the focus: $count pixels differ"
  # The first picture of each type is the one the others are compared with, in the background.
  compare_field() { develop "$3" "$editor"; same "$2" "$3" || echo "$1 ${3#*-after-} ($count)" >>"$work/differing"; }
  first=() seen=() differing=()
  prev=${field_types[1]}
  for r in $(route ${#field_types[@]} 0); do
    select_field "$r"
    name=field-${field_types[$r]}-after-$prev prev=${field_types[$r]}
    [ -z "${seen[$name]:-}" ] || continue
    seen[$name]=1
    xwd -silent -id "$xid" -out "$work/$name.xwd"
    if [ -z "${first[$r]:-}" ]; then
      first[$r]=$name
      develop "$name" "$editor"
    else
      in_background compare_field "$r" "${first[$r]}" "$name"
    fi
  done
  wait_background
  touch "$work/differing"
  while read -r r rest; do differing[$r]+=" $rest"; done <"$work/differing"
  for r in "${!field_types[@]}"; do
    [ -z "${differing[$r]:-}" ] && pass ||
      fail "the ${field_types[$r]} field's editor differs from ${first[$r]}.png after:${differing[$r]} (diff-field-${field_types[$r]}-after-*.png)"
  done
  close_designer
else
  fail "the designer did not open on every_field_type.json"
fi

# ---- Properties dialog: round trips that change nothing leave it as it opened ----
section "properties dialog: round trips that change nothing leave it as it opened"

# ACTION | its slots (comma-separated) | what OK returns after the round trips | a row button that
# opens a dialog, as ROW KIND, and that dialog's Cancel button
kDemo='C:\QuillbarrowDemo'
dialog_cases=(
  "1 | | [KTBVersion] | 0 VariableSelector 1"
  "5 | p.json,,[Plan] | p.json|$kDemo\\output\\library-demo-plan.json|[Plan] | 0 Browse 2"
  "7 | ,,,,, | $kDemo\\demo.json|$kDemo\\output\\library-pro|studio|dashboard|#2563eb|[KTBCRUDResult] | 4 ChooseColour 2"
)

# Clicking into the first row's edit near its left end puts the focus and the caret in one place.
focus_first_edit() {
  ask ctl "$(row_id 0 "$(header kRowEdit)")"
  set -- $answer
  click_at $(($1 + 6)) $(($2 + $4 / 2))
}

# dialog_round_trip NAME BUTTON CANCEL: a dialog or message box BUTTON opens is cancelled; the
# window then has the focus and looks as opened.
dialog_round_trip() {
  click_ctl "$2"
  if target '#32770'; then
    click_ctl "$3"
  else
    fail "$1: no dialog opened"
  fi
  target QuillbarrowActionEditor
  park
  settle
  focus_inside "$1"
  focus_first_edit
  shoot "$1"
  same "$name-opened" "$1" && pass || fail "$1.png differs from $name-opened.png: $count pixels (diff-$1.png)"
}

for case in "${dialog_cases[@]}"; do
  IFS='|' read -r action slots rest <<<"$case"
  action=${action// /} slots=$(echo "$slots" | sed 's/^ *//; s/ *$//')
  returned=$(echo "${rest% | *}" | sed 's/^ *//; s/ *$//')
  read -r row kind cancel <<<"${rest##* | }"
  IFS=, read -r -a slot_list <<<"$slots,"
  [ -z "$slots" ] && slot_list=("")
  name=action$action
  if ! host QuillbarrowActionEditor edit "$action" "${slot_list[@]}"; then
    fail "$name: the properties dialog did not open"
    continue
  fi
  focus_first_edit
  shoot "$name-opened"
  looks "$name-opened"
  # Typing a character and taking it back.
  ask ctl "$(row_id 0 "$(header kRowEdit)")"
  click_at $(centre)
  keys End
  typed 7
  keys BackSpace
  focus_first_edit
  shoot "$name-typed-and-restored"
  same "$name-opened" "$name-typed-and-restored" && pass ||
    fail "$name-typed-and-restored.png differs from $name-opened.png: $count pixels (diff-$name-typed-and-restored.png)"
  dialog_round_trip "$name-after-message" "$(header kPublicationButton)" 1
  dialog_round_trip "$name-after-$kind" "$(button_id "$row" "$kind")" "$cancel"
  click_ctl 1
  closed
  [ "$result" = "closed 1 $returned" ] && pass || fail "$name: OK returned '${result#closed }', expected '1 $returned'"
done

echo "designer pixel test: $passed passed, $failed failed; pictures in $pixels/"
[ $failed -eq 0 ]
