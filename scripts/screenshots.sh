#!/usr/bin/env bash
# Pictures of the desktop host for the README (docs/screenshots/*.png), taken under Xvfb: the main window
# with the sample town coloured by FILLING_PERCENT after the main job, the transit and total flow dialog and
# the automatic dimensioning with its results. Builds the town as make demo does (in a temporary folder),
# then runs gui_screenshots on the X server of xvfb-run. Installs xvfb (and xauth) when missing.
#   screenshots.sh [BUILD_DIR]      (a build with sewercalc-gui, that is with Qt 6; default build/release)
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
build="${1:-build/release}"
case "$build" in /*) ;; *) build="$root/$build";; esac

missing=()
for p in xvfb xauth; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
  echo "Installing missing packages: ${missing[*]}"
  SUDO=""; [ "$(id -u)" -eq 0 ] || SUDO="sudo"
  $SUDO apt-get update -qq
  DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi

cmake --build "$build" --target sewercalc gui_screenshots >/dev/null
shots="$build/tests/gui/gui_screenshots"
[ -x "$shots" ] || { echo "screenshots: $shots not built (is Qt 6 installed?)" >&2; exit 2; }

work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
# The main job's scripts write their export file to ../../build/demo/ from where they run.
mkdir -p "$work/a/b" "$work/build/demo"
drawing="$work/town.gpkg"
"$build/sewercalc" import "$drawing" "$root/examples/town/town.geojson" >/dev/null
"$build/sewercalc" import "$drawing" "$root/examples/catalogue/pipe_series.csv" >/dev/null
for script in "$root"/examples/town/[0-9][0-9]_*.sc; do
  (cd "$work/a/b" && "$build/sewercalc" run "$drawing" "$script" >/dev/null)
done

mkdir -p "$root/docs/screenshots"
QT_QPA_PLATFORM=xcb xvfb-run -a -s "-screen 0 1600x1200x24" \
  "$shots" "$build/TAVXSewageCalculations.so" "$drawing" "$root/docs/screenshots"
