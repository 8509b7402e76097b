#!/usr/bin/env bash
# The manuals' contents, read back from the PDFs as a reader sees them: every
# level-2 and level-3 heading that follows the heading "Contents" in the HTML
# source is listed there with a page number, and the heading stands on lines
# of its own on that page (one, or two when it wraps).
set -euo pipefail
sources="$1"
pdfs="$2"
failed=0
for name in uguide techman; do
  pdf="$pdfs/$name.pdf"
  # pdftotext writes "fi" and "fl" as their ligatures.
  page_text() { pdftotext -layout -f "$1" -l "$1" "$pdf" - | sed -e 's/ﬁ/fi/g' -e 's/ﬂ/fl/g'; }
  mapfile -t headings < <(sed -n '/<h2>Contents<\/h2>/,$p' "$sources/$name.html" |
    grep -o '<h[23]>[^<]*</h[23]>' | sed -e 's/<[^>]*>//g' -e 's/&amp;/\&/g' | tail -n +2)
  if [ "${#headings[@]}" -eq 0 ]; then
    echo "$name: no headings after a \"Contents\" heading"
    failed=1
    continue
  fi
  # The contents: the lines after "Contents" up to the first heading itself.
  contents=$(for p in 1 2 3; do page_text "$p"; done | awk -v first="${headings[0]}" '
      { line = $0; sub(/^ +/, "", line); sub(/ +$/, "", line) }
      line == first { done = 1 }
      inside && !done { print }
      line == "Contents" { inside = 1 }')
  for heading in "${headings[@]}"; do
    # The contents line: the heading, blanks, the page number.
    line=$(grep -E -m1 "^ *$(printf '%s' "$heading" | sed 's/[][\.*^$?+(){}|/]/\\&/g') +[0-9]+ *$" <<<"$contents" || true)
    if [ -z "$line" ]; then
      echo "$name: the contents do not list \"$heading\" with a page"
      failed=1
      continue
    fi
    page=$(sed -E 's/.* ([0-9]+) *$/\1/' <<<"$line")
    if ! page_text "$page" | awk -v h="$heading" '
        { sub(/^ +/, ""); sub(/ +$/, ""); line[NR] = $0 }
        END { for (i = 1; i <= NR; ++i) if (line[i] == h || line[i] " " line[i + 1] == h) exit 0; exit 1 }'; then
      echo "$name: \"$heading\" is not on page $page, where the contents put it"
      failed=1
    fi
  done
  listed=$(grep -cE ' [0-9]+ *$' <<<"$contents" || true)
  if [ "$listed" -ne "${#headings[@]}" ]; then
    echo "$name: the contents list $listed entries for ${#headings[@]} headings"
    failed=1
  fi
done
exit $failed
