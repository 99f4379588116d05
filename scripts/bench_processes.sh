#!/usr/bin/env bash
# Whole processes, timed with hyperfine: what a person waits for, beside what they would use instead. On a
# generated SWMM network (a tree with a relief conduit at every tenth junction, bench/make_divided_network):
#   - import of the .inp;
#   - transit + total (`sewercalc run` of the flow main dialog) beside bench/networkx_flows.py, a short
#     networkx script that reads the same drawing with sqlite3, computes the same flows and writes them back;
#   - opening and saving an unchanged drawing beside the sqlite3 shell reading every section and node row;
#   - the automatic dimensioning, method 0, over the first pipe group of examples/catalogue;
#   - the Turkish waste-water save (all three flows on every section), the uneven waste-water calculation
#     (populations spread over the whole network, main outlets as transit stored them) and the Turkish
#     influence areas' Calculate, each a whole `sewercalc run` on the network with its inputs set.
# Results go to BUILD/bench-processes/*.md.
#   bench_processes.sh [BUILD_DIR] [CONDUITS]       (defaults: build/release, 200000)
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
build="${1:-build/release}"
case "$build" in /*) ;; *) build="$root/$build";; esac
conduits="${2:-200000}"

# Only this script needs hyperfine and networkx: installed here when missing, not by the two main commands.
missing=()
for p in hyperfine python3-networkx sqlite3; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
  SUDO=""; [ "$(id -u)" -eq 0 ] || SUDO="sudo"
  $SUDO apt-get update -qq
  DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi

exe="$build/sewercalc"
gen="$build/bench/make_divided_network"
for f in "$exe" "$gen"; do
  [ -x "$f" ] || { echo "bench_processes: $f not found; build the release with benchmarks (make release)" >&2; exit 2; }
done
work="$build/bench-processes"
rm -rf "$work"
mkdir -p "$work"
cd "$work"

"$gen" "$conduits" net.inp
"$exe" import net.gpkg net.inp > import.txt
"$exe" set net.gpkg FLOW_WASTE_PER=0.0001 > /dev/null
# The imported network's system is named after the drawing.
cat > flows.sc <<'SC'
active net
command CalcFlowTotal
click IDC_BUTTON_SELECT_ALL
click IDOK
choose IDC_TAB 1
click IDC_BUTTON_SELECT_ALL
click IDC_BUTTON_CALC_TOTAL
close
SC
echo "active net" > open_save.sc
cat > dimension.sc <<'SC'
active net
command CalcHydraulicsSewage
choose IDC_TAB 1
click IDC_RADIO_MIN_DIAMETER
click IDC_RADIO_WITHOUT_CONDITIONS
choose IDC_COMBO_GROUP 0
click IDC_CALCULATE
click IDOK
SC
cp net.gpkg dim.gpkg
"$exe" import dim.gpkg "$root/examples/catalogue/pipe_series.csv" > /dev/null
"$exe" run dim.gpkg flows.sc > /dev/null

hyperfine --warmup 1 --runs 5 --export-markdown flows.md --prepare "cp net.gpkg run.gpkg" \
  -n "sewercalc run: transit + total" "'$exe' run run.gpkg flows.sc" \
  -n "networkx script: transit + total" "python3 '$root/bench/networkx_flows.py' run.gpkg" \
  -n "sewercalc run: open and save" "'$exe' run run.gpkg open_save.sc" \
  -n "sqlite3: read every section and node" "sqlite3 run.gpkg 'SELECT * FROM sections; SELECT * FROM nodes;' > /dev/null"
hyperfine --runs 3 --export-markdown dimension.md --prepare "cp dim.gpkg run.gpkg" \
  -n "sewercalc run: automatic dimensioning, method 0" "'$exe' run run.gpkg dimension.sc"
# The methods' inputs on every section; main outlets at the relief divisions stored by a transit run.
cp net.gpkg methods.gpkg
"$exe" run methods.gpkg flows.sc > /dev/null
"$exe" set methods.gpkg HOUSE_WASTE=0.5 POP_DENSITY_AREA=120 TUR_INF_FLOW_PER_POP=144 TUR_COEFF_INF=0.1 \
  TUR_COEFF_ADD=0.25 TUR_KMIN_D=0.7 TUR_KMAX_D=1.3 > /dev/null
cat > turkish.sc <<'SC'
active net
command CalcWasteWaterTurkish
check IDC_CHECK_HOME 1
check IDC_CHECK_INDUSTRIAL 1
check IDC_CHECK_INFILTRATION 1
set IDC_COMBO_CONFIG Bench
click IDC_BUTTON_SAVE
close
SC
cat > uneven.sc <<'SC'
active net
command CalcWasteWaterUneven
choose IDC_COMBO_MODE 1
click IDOK
close
SC
cat > influence.sc <<'SC'
active net
command CalcInfluenceAreasTurkish
choose IDC_TAB 1
click IDC_BUTTON_CALCULATE
close
SC
hyperfine --runs 3 --export-markdown methods.md --prepare "cp methods.gpkg run.gpkg" \
  -n "sewercalc run: Turkish waste water" "'$exe' run run.gpkg turkish.sc" \
  -n "sewercalc run: uneven waste water" "'$exe' run run.gpkg uneven.sc" \
  -n "sewercalc run: Turkish influence areas" "'$exe' run run.gpkg influence.sc"
hyperfine --runs 3 --export-markdown import.md --prepare "rm -f imported.gpkg" \
  -n "sewercalc import" "'$exe' import imported.gpkg net.inp"
echo "== results in $work/*.md"
