#!/usr/bin/env bash
# Runs the real VORM under a virtual X display and keeps screenshots for a
# person to look at, in build/screenshots/: the splash window, the main window
# with each of its menus open, the report viewer and the response frequency
# chart after a run of the example job, a help page and two plot windows.
# The program runs from a copy of build/bin whose work folder exists already
# (no first-start questions), with a throw-away home.
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
echo "screenshots: $(ls "$out"/*.png | tr '\n' ' ')"
