#!/usr/bin/env bash
# Installs the program folder into a fresh prefix and runs the example there,
# as a user of the installed copy would: the two programs with examples/,
# help/ and manual/ beside them and nothing else, and the engine reaching
# " end" on the shipped example job.
set -euo pipefail
build="$1"
prefix=$(mktemp -d)
trap 'rm -rf "$prefix"' EXIT
cmake --install "$build" --prefix "$prefix" >/dev/null

expected="VORM VORMCALC examples help manual"
found=$(cd "$prefix" && ls | sort | tr '\n' ' ' | sed 's/ $//')
if [ "$found" != "$expected" ]; then
  echo "the installed folder holds '$found', not '$expected'"
  exit 1
fi
for f in examples/EXAMPLE.CMD examples/EXAMPLE.DAT help/Topic.htm manual/uguide.pdf manual/techman.pdf; do
  [ -s "$prefix/$f" ] || { echo "missing or empty: $f"; exit 1; }
done

mkdir "$prefix/work"
(cd "$prefix/examples" && ../VORMCALC EXAMPLE.CMD ../work/ >/dev/null)
status=$(head -n 1 "$prefix/work/status")
if [ "$status" != " end" ]; then
  echo "the installed engine ended with status '$status'"
  exit 1
fi
grep -q "MARGINAL LOG-LIKELIHOOD" "$prefix/work/FT06F001"
