#!/usr/bin/env bash
# Runs every benchmark program of a release build (argument: the build folder) and keeps the results in
# BUILD/bench-results/.
set -euo pipefail
build="${1:-build/release}"
mkdir -p "$build/bench-results"
for b in "$build"/bench/*_bench; do
  [ -x "$b" ] || continue
  name="$(basename "$b")"
  echo "== $name"
  "$b" --benchmark_counters_tabular=true | tee "$build/bench-results/$name.txt"
done
