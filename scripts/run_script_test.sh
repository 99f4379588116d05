#!/usr/bin/env bash
# Runs one end-to-end script through sewercalc and compares its output with the expected one.
#   run_script_test.sh SEWERCALC SCRIPT.sc
# The script's first line may give the sewercalc arguments: "# args: run {tmp}/town.gpkg {script}"
# ({script} is the script's path, {tmp} a fresh temporary folder, {src} the source tree); the default is
# "run - {script}". Output (stdout and stderr) and a last line "exit: N" must equal SCRIPT.expected.
set -u
exe="$1"; script="$2"
expected="${script%.sc}.expected"
src="$(cd "$(dirname "$0")/.." && pwd)"
tmp="$(mktemp -d)"; trap 'rm -rf "$tmp"' EXIT
# Per-user files (the workspace store, the rain stations) go to the scratch folder, not the home folder.
export TAVX_CONFIG_DIR="$tmp/config"
args="run - {script}"
first="$(head -n 1 "$script")"
case "$first" in "# args: "*) args="${first#\# args: }";; esac
args="${args//\{script\}/$(basename "$script")}"; args="${args//\{tmp\}/$tmp}"; args="${args//\{src\}/$src}"
# shellcheck disable=SC2086
actual="$(cd "$(dirname "$script")" && "$exe" $args 2>&1; echo "exit: $?")"
if [ ! -f "$expected" ]; then
  echo "no expected output $expected; the output was:"; echo "$actual"; exit 1
fi
if ! diff -u "$expected" <(echo "$actual"); then
  echo "output of $script differs from $expected"; exit 1
fi
