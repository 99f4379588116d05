#!/usr/bin/env bash
# Runs every libFuzzer target of a fuzz build for a short time on its committed seed corpus
# (fuzz/corpus/<target>/, plus fuzz/dict/<target>.dict when present) and fails when any target
# crashes or cannot be found. New inputs go to a scratch directory, not into the committed corpus;
# the inputs of a failure are kept in <build>/fuzz-artifacts/<target>/.
#   usage: scripts/fuzz.sh FUZZ_BUILD_DIR        (FUZZ_SECONDS overrides the 20 s per target)
set -euo pipefail

build_dir=${1:?usage: scripts/fuzz.sh FUZZ_BUILD_DIR}
seconds=${FUZZ_SECONDS:-20}
root=$(cd "$(dirname "$0")/.." && pwd)
targets=(fuzz_xml_document fuzz_config_name_unescape fuzz_numeric_validity)
# The importers: any bytes as a SWMM input file and as GeoJSON.
targets+=(fuzz_swmm_reader fuzz_geojson_reader)
# The intensity-duration curve file of the rain calculation.
targets+=(fuzz_idf_curve_file)
# The Turkish rain stations' file.
targets+=(fuzz_turkish_stations)
# The drawing loader: any bytes as a drawing file.
targets+=(fuzz_drawing_loader)

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

failed=()
for target in "${targets[@]}"; do
  binary=$(find "$build_dir" -type f -name "$target" -perm -u+x 2>/dev/null | head -n 1)
  if [ -z "$binary" ]; then
    echo "fuzz: $target is not built in $build_dir" >&2
    failed+=("$target")
    continue
  fi
  mkdir -p "$work/$target/new" "$work/$target/artifacts"
  options=(-max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048 -print_final_stats=1
           -artifact_prefix="$work/$target/artifacts/")
  if [ -f "$root/fuzz/dict/$target.dict" ]; then options+=(-dict="$root/fuzz/dict/$target.dict"); fi
  echo "== $target (${seconds} s)"
  if "$binary" "${options[@]}" "$work/$target/new" "$root/fuzz/corpus/$target" >"$work/$target/log" 2>&1; then
    grep -E '^stat::number_of_executed_units|^Done ' "$work/$target/log" || true
  else
    echo "fuzz: $target FAILED" >&2
    tail -n 60 "$work/$target/log" >&2
    mkdir -p "$build_dir/fuzz-artifacts/$target"
    cp -r "$work/$target/artifacts/." "$build_dir/fuzz-artifacts/$target/" 2>/dev/null || true
    cp "$work/$target/log" "$build_dir/fuzz-artifacts/$target/log"
    failed+=("$target")
  fi
done

if [ ${#failed[@]} -gt 0 ]; then
  echo "fuzz: failed: ${failed[*]}" >&2
  exit 1
fi
echo "fuzz: all ${#targets[@]} targets ran without a crash"
