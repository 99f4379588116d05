#!/usr/bin/env bash
# The main job on the sample town: builds build/demo/town.gpkg from examples/town (the network and the
# pipe catalogue), prints what it holds, runs every examples/town/NN_*.sc script against it in name order
# (each run saves the drawing) and prints a table of section results. Stops at the first failure.
#   demo.sh BUILD_DIR      (the build folder holding sewercalc, for example build/release)
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
build="${1:-build/release}"
case "$build" in /*) ;; *) build="$root/$build";; esac
exe="$build/sewercalc"
[ -x "$exe" ] || { echo "demo: $exe not found; build the release first (make release)" >&2; exit 2; }

town="$root/examples/town"
out="$root/build/demo"
drawing="$out/town.gpkg"
mkdir -p "$out"
rm -f "$drawing" "$drawing.saving"

echo "== importing the sample town"
"$exe" import "$drawing" "$town/town.geojson"
echo "== importing the pipe catalogue"
"$exe" import "$drawing" "$root/examples/catalogue/pipe_series.csv"
"$exe" info "$drawing"

shopt -s nullglob
for script in "$town"/[0-9][0-9]_*.sc; do
  echo "== running $(basename "$script")"
  (cd "$town" && "$exe" run "$drawing" "$script")
done

echo "== sections"
"$exe" show "$drawing" --attr PIPE_DIA_IN SECTION_SLOPE FLOW_RAIN FLOW_TOTAL FLOW_PERCENT FILLING_PERCENT VELOCITY_PARTIALFILLED \
  --format table
echo "== done: $drawing (open it in QGIS as a vector layer)"
