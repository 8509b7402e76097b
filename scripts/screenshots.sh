#!/usr/bin/env bash
# Runs the real VORM under a virtual X display, as a user would, and keeps one
# picture per window in build/screenshots/, each cropped to its window: the
# splash and the main window with each menu open; every job page that a menu
# or a Next button reaches (page-*.png), shown on the example job; the run
# monitor after a run that succeeds, after one that succeeds with a warning
# (the example with 5 outer cycles) and after one whose data file is missing;
# the four report viewers, the response frequency chart and the ten plot
# windows of the example run with plots and fit statistics, and the chart
# again after it was stepped through and closed; the category probability
# plot and the response frequencies of 10-category items; a help page.
# The program runs from a copy of build/bin whose work folder exists already
# (no first-start questions), with a throw-away home holding the user's copy
# of the examples.  scripts/check-screenshots.sh checks the pictures.
set -euo pipefail
cd "$(dirname "$0")/.."

if [ "${1:-}" != "--inside" ]; then
  scripts/install-deps.sh
  cmake -S . -B build -DCMAKE_BUILD_TYPE=Release >/dev/null
  cmake --build build -j"$(nproc)" --target VORM VORMCALC make_example vorm_help vorm_manual >/dev/null
  rm -rf build/screenshots
  mkdir -p build/screenshots
  exec xvfb-run -a -s "-screen 0 1100x760x24" bash "$0" --inside
fi

out=build/screenshots
root=$(mktemp -d /tmp/vXXX)
app=$root/VORM
home=$root/home
pid=
trap '[ -n "$pid" ] && kill "$pid" 2>/dev/null || true; rm -rf "$root"' EXIT
mkdir -p "$app/TEMPFILE"
cp -r build/bin/VORM build/bin/VORMCALC build/bin/help build/bin/examples build/bin/manual "$app"/

# The user's copy of the examples, as the first start makes it, with jobs
# that name their data files beside them, as the shipped example does: the
# example with plots and fit statistics, a small job of ten categories per
# item, the example with 5 outer cycles, too few to converge, and the
# example with a data file that does not exist.
jobs="$home/VORM2004/Examples"
mkdir -p "$jobs"
cp build/bin/examples/EXAMPLE.DAT "$jobs"/
build/tests/bin/make_example "$jobs" TENCAT 6 10 600
# Job file $1 with the data file $2.DAT named $3, and plots and fit
# statistics asked for with the user's guide's answers.
with_results() {
  sed -e "s#^$2.DAT#$3#" \
    -e 's/^N\( *plots\)/Y\1\r\n10            theta groups\r\n20            theta-delta groups/' \
    -e 's/^N\( *fit statistics\)/Y\1\r\n5             fit groups\r\nN             print all persons\r\n2.576         item t cutoff\r\n0.01          item chi-square alpha\r\n3.291         person t cutoff\r\n0.001         person alpha\r\n2.576         localized cutoff/' \
    "$1"
}
with_results build/bin/examples/EXAMPLE.CMD EXAMPLE EXAMPLE.DAT >"$jobs/EXAMPLE.CMD"
with_results "$jobs/TENCAT.CMD" TENCAT TENCAT.DAT >"$jobs/TENCAT.RUN"
mv "$jobs/TENCAT.RUN" "$jobs/TENCAT.CMD"
with_results build/bin/examples/EXAMPLE.CMD EXAMPLE EXAMPLE.DAT | sed 's/^50\( *outer cycles\)/5\1/' >"$jobs/FIVE.CMD"
with_results build/bin/examples/EXAMPLE.CMD EXAMPLE "MISSING.DAT" >"$jobs/MISSING.CMD"

# The id of the visible window titled exactly $1, waiting for it to appear;
# a window that never comes fails the script instead of hanging it.
window() {
  timeout 20 xdotool search --sync --onlyvisible --limit 1 --name "^$1\$" ||
    { echo "screenshots: no window \"$1\"" >&2; exit 1; }
}
# Photographs the screen cropped to the smallest rectangle holding the
# windows $2...: menus and message boxes lie above a window of their own.
shoot() {
  local name=$1 x0=99999 y0=99999 x1=0 y1=0 id X Y WIDTH HEIGHT
  shift
  sleep 0.4
  for id in "$@"; do
    [ -n "$id" ] || { echo "screenshots: no window for $name" >&2; exit 1; }
    eval "$(xdotool getwindowgeometry --shell "$id")"
    ((X < x0)) && x0=$X
    ((Y < y0)) && y0=$Y
    ((X + WIDTH > x1)) && x1=$((X + WIDTH))
    ((Y + HEIGHT > y1)) && y1=$((Y + HEIGHT))
  done
  read -r screen_width screen_height < <(xdotool getdisplaygeometry)
  if ((x0 < 0 || y0 < 0 || x1 > screen_width || y1 > screen_height)); then
    echo "screenshots: $name reaches beyond the screen" >&2
    exit 1
  fi
  import -window root -crop "$((x1 - x0))x$((y1 - y0))+$x0+$y0" +repage "$out/$name.png"
}
# Without a window manager a window does not get the keyboard by itself.
focus() {
  xdotool windowraise "$1"
  xdotool windowfocus --sync "$1"
}

HOME="$home" LC_ALL=C.UTF-8 "$app/VORM" &
pid=$!
splash=$(timeout 20 xdotool search --sync --onlyvisible --limit 1 --class VORM)
shoot splash "$splash"
win=$(window VORM2004)
xdotool windowmove "$win" 40 30
focus "$win"
shoot main-window "$win"

# Whether the window $1 is on the screen.
visible() {
  xdotool search --onlyvisible --name '' 2>/dev/null | grep -qx "$1"
}
# Opens the job file $1 through File > Open: its file chooser takes the
# keyboard when it comes, and is gone once the job is read.
open_job() {
  local chooser tenths=0
  focus "$win"
  xdotool key ctrl+o
  until chooser=$(xdotool getwindowfocus) && [ "$chooser" != "$win" ] && visible "$chooser"; do
    ((++tenths < 200)) || { echo "screenshots: no file chooser" >&2; exit 1; }
    sleep 0.1
  done
  xdotool type --delay 10 "$1"
  xdotool key Return
  while visible "$chooser"; do
    ((++tenths < 400)) || { echo "screenshots: the file chooser stays" >&2; exit 1; }
    sleep 0.1
  done
  sleep 0.3
}
# Runs the job with File > Run and waits until the monitor has read the
# engine's outcome from the status file: it looks once a second, from its
# third second on.
run_job() {
  rm -f "$app/TEMPFILE/status"
  focus "$win"
  xdotool key alt+f r
  local tenths=0
  until [ -s "$app/TEMPFILE/status" ] && ! grep -qx ' start' "$app/TEMPFILE/status"; do
    ((++tenths < 300)) || { echo "screenshots: the run did not end" >&2; exit 1; }
    sleep 0.1
  done
  local wait=$((tenths + 12 > 36 ? 12 : 36 - tenths))
  sleep "$((wait / 10)).$((wait % 10))"
}

open_job "$jobs/EXAMPLE.CMD"

# The menus, opened with their access keys.
menu() {
  local name=$1
  shift
  focus "$win"
  xdotool key "$@"
  shoot "$name" "$win"
  xdotool key Escape Escape Escape
}
menu main-file-menu alt+f
menu main-data-menu alt+d d
menu main-estimate-menu alt+e m
menu main-fit-menu alt+i s
menu main-output-menu alt+o g
menu main-help-menu alt+h

# Photographs the page titled $1 into page-$2.png: the keys $3 open a page;
# for a page that only Next reaches, $4 is the title of the page that they
# open and $5 the keys typed there to reach the page photographed.  Escape
# then cancels it, which ends its walk and leaves the job as it was.
page() {
  local title=$1 name=$2 open=$3 first=${4:-} then=${5:-} id
  focus "$win"
  # shellcheck disable=SC2086
  xdotool key --delay 100 $open
  if [ -n "$first" ]; then
    focus "$(window "$first")"
    # shellcheck disable=SC2086
    xdotool key --delay 100 $then
  fi
  id=$(window "$title")
  focus "$id"
  shoot "page-$name" "$id"
  xdotool key Escape
  sleep 0.3
}
page "Read Data" read-data "alt+d r"
page "Item Definitions" item-definitions "alt+d i"
page "Response Cutoffs" response-cutoffs "alt+d d c"
page "Delete Items" delete-items "alt+d d i"
page "Delete Respondents" delete-respondents "alt+d d r"
page "Initial Signs" initial-signs "alt+e i"
page "Quadrature" quadrature "alt+e q"
page "Algorithm" algorithm "alt+e a"
page "Constraints" constraints "alt+e c"
page "Fit Groups" fit-groups "alt+i s f"
page "Item Fit" item-fit "alt+i s i"
page "Person Fit" person-fit "alt+i s p"
page "Plot Requests" plot-requests "alt+i p"
# The pages that only Next opens, reached by the keyboard: a page opens with
# the focus on its first control, and its four buttons come last in the tab
# order, Next the fourth; the list pages open with the focus on the grid.
next="Tab Tab Tab Tab space"
page "Response Category Definitions" categories "alt+d i" "Item Definitions" "ctrl+a 3 Tab Down $next 4 Return 3"
page "Choose Items to Delete" choose-items "alt+d d i" "Delete Items" "Left Tab $next 2"
page "Choose Respondents to Delete" choose-respondents "alt+d d r" "Delete Respondents" \
  "Left Tab ctrl+a 3 $next 1 0 1 7 Return"
page "Initial Sign Assignment" sign-assignment "alt+e i" "Initial Signs" "Tab space $next plus Return"

run_job
shoot monitor-success "$(window Running)"
xdotool key Escape   # the monitor's OK

# The result windows of the run: each opens modally from the Output menu,
# and Escape closes it.  A viewer is made larger so that more of its file
# shows, as a reader would make it.  The item parameters' viewer stays about
# as wide as the user's guide's text: its picture is printed at that width,
# and a wider one would shrink the report's letters below reading size.
viewer() {
  local title=$1 name=$2 key=$3 width=${4:-760} id
  focus "$win"
  xdotool key alt+o t "$key"
  id=$(window "$title")
  xdotool windowmove "$id" 40 30
  xdotool windowsize "$id" "$width" 420
  focus "$id"
  shoot "report-$name" "$id"
  xdotool key Escape
}
viewer "Execution Information" execution-information e
viewer "Item Parameters" item-parameters i 590
viewer "Person Parameters" person-parameters p
viewer "Fit Statistics" fit-statistics f

# The Graph Output entries in menu order, reached with Down: several share
# an access key.
graph() {
  local title=$1 name=$2 downs=$3 id
  focus "$win"
  xdotool key alt+o g
  for ((k = 0; k < downs; ++k)); do xdotool key Down; done
  xdotool key Return
  id=$(window "$title")
  shoot "$name" "$id"
  focus "$id"
  xdotool key Escape
}
graph "Response Frequency" frequency-chart 0
# The chart once more after Next three times and a close: it shows the first
# item again, as a new chart does, with nothing of the fourth left over.
focus "$win"
xdotool key alt+o g Return
id=$(window "Response Frequency")
# Next, in the chart's own coordinates (twips 4320, 4560 and 975 by 375).
for ((k = 0; k < 3; ++k)); do xdotool mousemove --window "$id" 320 316 click 1; sleep 0.2; done
focus "$id"
xdotool key Escape
graph "Response Frequency" frequency-chart-reopened 0
graph "Plot Fit" plot-item-fit 1
graph "Category Probability Curves" plot-category-probability 2
graph "Item Expected Value" plot-item-characteristic 3
graph "Test Characteristic Curve" plot-test-characteristic 4
graph "Item Information Curve" plot-item-information 5
graph "Test Information Curve" plot-test-information 6
graph "Expected/Observed Grouped Average Responses" plot-expected-observed 7
graph "EAP Estimate Distribution" plot-eap-estimates 8
graph "Item Location Estimates" plot-item-locations 9
graph "Latent Trait Distribution" plot-latent-trait 10

open_job "$jobs/TENCAT.CMD"
run_job
xdotool key Escape
graph "Category Probability Curves" plot-category-probability-10 2
graph "Response Frequency" frequency-chart-10 0

open_job "$jobs/FIVE.CMD"
run_job
shoot monitor-success-warnings "$(window Running)"
xdotool key Escape

open_job "$jobs/MISSING.CMD"
run_job
# The engine's message comes in a box of its own, which has the keyboard;
# the monitor behind it shows the outcome once the box is closed.
shoot monitor-error "$(xdotool getwindowfocus)"
xdotool key Return
monitor=$(window Running)
shoot monitor-error-outcome "$monitor"
focus "$monitor"
xdotool key Escape

# Help > Help Topic opens in a window of its own, last: there is no window
# manager to close it with.
focus "$win"
xdotool key alt+h h
shoot help-topics "$(window 'VORM2004 help topics')"
echo "screenshots: $(ls "$out" | wc -l) pictures in $out"
