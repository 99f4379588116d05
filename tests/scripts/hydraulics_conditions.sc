# args: run --dry-run {src}/tests/scripts/data/hydraulics_pipes.gpkg {script}
# Dimensioning by conditions and by minimum slope on a chain S0 -> S1 -> S2. S0 keeps its DN 500 pipe and
# has no flow; S1 needs little more than the smallest pipe, S2 a DN 315.
system town 0 active
node N0 0 0 102
node N1 50 0 101.5
node N2 100 0 101
node N3 150 0 100.5
section S0 N0 N1
section S1 N1 N2
section S2 N2 N3
attr S0 PIPE_REF {0A14246B-2511-589C-97D6-51719813E04E}
attr S1 FLOW_TOTAL 0.01
attr S2 FLOW_TOTAL 0.05
attr S1 SECTION_SLOPE 5
attr S2 SECTION_SLOPE 5
echo == by conditions: not smaller than the upstream pipe (S1 follows S0, S2 follows the new S1)
command CalcHydraulicsSewage
click IDC_RADIO_CONDITIONS
expect-enabled IDC_CHECK_UPSTREAM 1
check IDC_CHECK_UPSTREAM 1
click IDC_CALCULATE
dump IDC_RESULTS
echo == and a filling below 1 %, never reached: the upstream stage succeeded, so the rows succeed with the largest pipe tried
check IDC_CHECK_FILLING 1
set IDC_EDIT_FILLING 1
click IDC_CALCULATE
dump IDC_RESULTS
echo == filling alone: the row says the target was not reached, and the largest pipe is written all the same
check IDC_CHECK_UPSTREAM 0
click IDC_CALCULATE
dump IDC_RESULTS
print S1 PIPE_REF FILLING_PERCENT
echo == filling below 50 %
set IDC_EDIT_FILLING 50
click IDC_CALCULATE
dump IDC_RESULTS
echo == minimum slope, rounded up to 0.1 per mille
click IDC_RADIO_MIN_SLOPE
click IDC_RADIO_WITHOUT_CONDITIONS
expect-enabled IDC_COMBO_PRECISION 1
expect-enabled IDC_COMBO_GROUP 0
choose IDC_COMBO_PRECISION "0.0"
click IDC_CALCULATE
dump IDC_RESULTS
echo == minimum slope by conditions: a velocity of at least 0.8 m/s
click IDC_RADIO_CONDITIONS
expect IDC_CHECK_MINIMUM "Smallest velocity (m/s)"
check IDC_CHECK_FILLING 0
check IDC_CHECK_MINIMUM 1
set IDC_EDIT_MINIMUM 0.8
click IDC_CALCULATE
dump IDC_RESULTS
click IDOK
print S2 SECTION_SLOPE VELOCITY_PARTIALFILLED FILLING_PERCENT
echo == by existing diameters is still chosen when the mode turns to minimum slope: nothing is calculated
command CalcHydraulicsSewage
click IDC_RADIO_MIN_DIAMETER
click IDC_RADIO_EXISTING_DIAMETERS
click IDC_RADIO_MIN_SLOPE
expect-enabled IDC_RADIO_EXISTING_DIAMETERS 0
click IDC_CALCULATE
dump IDC_RESULTS
close
