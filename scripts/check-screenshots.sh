#!/usr/bin/env bash
# Checks the pictures of scripts/screenshots.sh: every window it must show is
# there, and each picture shows something: more than one colour, some dark
# (text or line) pixels, and little of the bare screen's black, which only
# shows where a picture was not cropped to its window or a window never
# painted.
set -euo pipefail
cd "$(dirname "$0")/.."
dir=${1:-build/screenshots}

expected=(
  splash main-window main-file-menu main-data-menu main-estimate-menu main-fit-menu main-output-menu main-help-menu
  page-read-data page-item-definitions page-categories page-response-cutoffs page-delete-items page-choose-items
  page-delete-respondents page-choose-respondents page-initial-signs page-sign-assignment page-quadrature
  page-algorithm page-constraints page-fit-groups page-item-fit page-person-fit page-plot-requests
  monitor-success monitor-success-warnings monitor-error monitor-error-outcome
  report-execution-information report-item-parameters report-person-parameters report-fit-statistics
  frequency-chart frequency-chart-reopened frequency-chart-10 plot-item-fit plot-category-probability plot-item-characteristic plot-test-characteristic
  plot-item-information plot-test-information plot-expected-observed plot-eap-estimates plot-item-locations
  plot-latent-trait plot-category-probability-10 help-topics
)

# The sparsest picture, the response cutoffs page with its few labels and
# buttons, has about 640 dark pixels.
min_dark=300
passed=0
failed=0
for name in "${expected[@]}"; do
  file="$dir/$name.png"
  problem=
  if [ ! -s "$file" ]; then
    problem="missing"
  else
    colours=$(identify -format '%k' "$file")
    pixels=$(identify -format '%[fx:w*h]' "$file")
    dark=$(convert "$file" -colorspace Gray -threshold 40% -negate -format '%[fx:round(w*h*mean)]' info:)
    black=$(convert "$file" -fill white +opaque black -colorspace Gray -negate -format '%[fx:round(w*h*mean)]' info:)
    if ((colours < 2)); then
      problem="one colour only"
    elif ((dark < min_dark)); then
      problem="only $dark dark pixels"
    elif ((black * 4 > pixels)); then
      problem="$black of $pixels pixels are the bare screen's black"
    fi
  fi
  if [ -n "$problem" ]; then
    echo "FAIL $name: $problem"
    failed=$((failed + 1))
  else
    passed=$((passed + 1))
  fi
done
echo "screenshots: $passed passed, $failed failed"
((failed == 0))
