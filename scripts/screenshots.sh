#!/usr/bin/env bash
# Runs the real VORM under a virtual X display and keeps screenshots for a
# person to look at, in build/screenshots/: the splash window, the main window
# with each of its menus open, the report viewer and the response frequency
# chart after a run of the example job, a help page, two plot windows, every
# job page that a menu or a Next button reaches (page-*.png), and the run
# monitor after File > Run of the example job and of a job whose data file
# is missing.  The program runs from a copy of build/bin whose work folder
# exists already (no first-start questions), with a throw-away home.
set -euo pipefail
cd "$(dirname "$0")/.."

if [ "${1:-}" != "--inside" ]; then
  scripts/install-deps.sh
  cmake -S . -B build -DCMAKE_BUILD_TYPE=Release >/dev/null
  cmake --build build -j"$(nproc)" --target VORM VORMCALC vorm_help vorm_manual
  mkdir -p build/screenshots
  exec xvfb-run -a -s "-screen 0 1100x760x24" bash "$0" --inside
fi

out=build/screenshots
app=$(mktemp -d)
home=$(mktemp -d)
pid=
trap '[ -n "$pid" ] && kill "$pid" 2>/dev/null || true; rm -rf "$app" "$home"' EXIT
cp -r build/bin/VORM build/bin/VORMCALC build/bin/help build/bin/examples build/bin/manual "$app"/
mkdir "$app/TEMPFILE"

HOME="$home" LC_ALL=C.UTF-8 "$app/VORM" &
pid=$!
sleep 1   # the splash stays for two seconds
import -window root "$out/splash.png"
win=$(xdotool search --sync --onlyvisible --name '^VORM2004$' | head -n 1)
xdotool windowmove "$win" 40 30
# No window manager gives the window the keyboard: take it directly.
xdotool windowfocus --sync "$win"
sleep 0.5

# Opens a menu with its access keys, photographs the screen, closes it again.
shoot() {
  local name=$1
  shift
  xdotool key "$@"
  sleep 0.5
  import -window root "$out/$name.png"
  xdotool key Escape Escape Escape
  sleep 0.3
}

xdotool key alt+e m 3   # Model 3, to show its check mark
sleep 0.3
shoot main-file-menu alt+f
shoot main-data-menu alt+d d
shoot main-estimate-menu alt+e m
shoot main-fit-menu alt+i s
shoot main-output-menu alt+o g
shoot main-help-menu alt+h

# The start-up cleared the work folder; the example job's outputs go there now.
(cd "$app/examples" && ../VORMCALC EXAMPLE.CMD ../TEMPFILE/ >/dev/null)
xdotool key alt+o t e   # Execution Information
sleep 1
import -window root "$out/report-viewer.png"
xdotool key Escape
sleep 0.3
xdotool windowfocus --sync "$win"
xdotool key alt+o g r   # Response Frequency
sleep 1
import -window root "$out/frequency-chart.png"
xdotool key Escape
sleep 0.3
xdotool windowfocus --sync "$win"
xdotool key alt+h h   # Help Topic opens in a window of its own
sleep 1
import -window root "$out/help-topics.png"
# Photographs the window titled $1 into page-$2.png: the keys $3 open a page;
# for a page that only Next reaches, $4 is the title of the page that they
# open and $5 the keys typed there to reach the window photographed.  Escape
# then cancels it, which ends its walk.
page() {
  local title=$1 name=$2 open=$3 first=${4:-} then=${5:-}
  # shellcheck disable=SC2086
  xdotool key --delay 200 $open
  if [ -n "$first" ]; then
    # Without a window manager a new window does not get the keyboard itself.
    xdotool windowfocus --sync "$(xdotool search --sync --onlyvisible --limit 1 --name "^$first\$")"
    # shellcheck disable=SC2086
    xdotool key --delay 200 $then
  fi
  local id
  id=$(xdotool search --sync --onlyvisible --limit 1 --name "^$title\$")
  xdotool windowfocus --sync "$id"
  sleep 0.5
  import -window "$id" "$out/page-$name.png"
  xdotool key Escape
  sleep 0.5
  xdotool windowfocus --sync "$win"
}

xdotool windowfocus --sync "$win"
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

# Plot windows: the example job run with plots into the work folder (after
# the start-up, which clears old outputs), then Output > Graph Output.
sed 's/^N\( *plots\)/Y\1\r\n10            theta groups\r\n20            theta-delta groups/' \
  "$app/examples/EXAMPLE.CMD" > "$app/examples/PLOTS.CMD"
(cd "$app/examples" && ../VORMCALC PLOTS.CMD ../TEMPFILE/ >/dev/null)
# Without a window manager, the main window comes forward and takes the
# keyboard by hand.
front() {
  xdotool windowraise "$win"
  xdotool windowfocus --sync "$win"
  sleep 0.3
}
front
xdotool key alt+o g c   # Category Probability
sleep 1
import -window root "$out/plot-category-probability.png"
xdotool key Escape
front
xdotool key alt+o g l   # Latent Trait Distribution
sleep 1
import -window root "$out/plot-latent-trait.png"
xdotool key Escape

# No window manager: the help window goes out of the way by hand.
for help in $(xdotool search --onlyvisible --name 'help topics'); do xdotool windowunmap "$help"; done

# Opens a job file through File > Open, runs it with File > Run and, once the
# monitor has read the engine's outcome, photographs the screen.
run_job() {
  local job=$1 name=$2
  front
  xdotool key ctrl+o
  sleep 1
  xdotool type --delay 20 "$job"
  xdotool key Return
  sleep 1
  xdotool key alt+f r
  sleep 5
  import -window root "$out/$name.png"
}
example="$app/example.cmd"
sed "s#^EXAMPLE.DAT#$app/examples/EXAMPLE.DAT#" build/bin/examples/EXAMPLE.CMD > "$example"
run_job "$example" monitor-success
xdotool key Escape   # the monitor's OK
sleep 0.5
missing="$app/missing.cmd"
sed "s#^EXAMPLE.DAT#$app/no such data.dat#" build/bin/examples/EXAMPLE.CMD > "$missing"
run_job "$missing" monitor-error
xdotool key Return   # the error box
sleep 0.5
import -window root "$out/monitor-error-outcome.png"
xdotool key Escape   # the monitor
sleep 0.5
echo "screenshots: $(ls "$out"/*.png | tr '\n' ' ')"
