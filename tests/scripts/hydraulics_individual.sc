# args: run --dry-run {src}/tests/scripts/data/hydraulics_pipes.gpkg {script}
# The individual section page over the first pipe group of the sample catalogue (PVC-U SN8). The network and
# flows are those of hydraulics_dimension.sc, and the page shows the numbers the automatic page shows there
# (S1: 150.60 mm filled 80.6160 % at 0.7798 m/s; S3: 296.60 mm filled 56.7636 % at 0.8647 m/s): both make
# the same calculation. S4 keeps its DN 400 pipe and a roughness of its own (1.5 mm) for the minimum slope.
system town 0 active
node N1 0 0 101
node N2 0 60 101.2
node N3 80 0 100.5
node N4 160 0 100
node N5 240 0 99.5
section S1 N1 N3
section S2 N2 N3
section S3 N3 N4
section S4 N4 N5
attr S1 FLOW_TOTAL 0.012
attr S2 FLOW_TOTAL 0
attr S3 FLOW_TOTAL 0.035
attr S4 FLOW_TOTAL 0.036
attr S1 SECTION_SLOPE 5
attr S2 SECTION_SLOPE 5
attr S3 SECTION_SLOPE 3
attr S4 SECTION_SLOPE 2
attr S4 PIPE_REF {006256F5-FC8A-54EC-AC3E-1EFF91046EED}
attr S4 PIPE_ROUGHNESS 1.5
echo == the dialog opens on the page it was closed on: choose the individual page and close with OK
command CalcHydraulicsSewage
choose IDC_TAB 0
click IDOK
command CalcHydraulicsSewage
expect IDC_SECTION_NAME S1
expect-enabled IDC_PREVIOUS 0
expect-enabled IDC_NEXT 1
expect IDC_EDIT_FLOW 12.0000
expect IDC_EDIT_SECTION_VALUE 5.0000
expect IDC_EDIT_ROUGHNESS 0.750
expect IDC_EDIT_PIPE_TYPE PVC-U-SN8
expect IDC_EDIT_MINIMUM 150.6000
expect IDC_EDIT_CHOSEN 150.6000
expect-cell IDC_RESULTS 1 1 80.6160
expect-cell IDC_RESULTS 6 1 0.7798
expect-enabled IDC_SAVE 1
click IDC_NEXT
click IDC_NEXT
expect IDC_SECTION_NAME S3
dump IDC_RESULTS
expect-cell IDC_RESULTS 1 1 56.7636
expect-cell IDC_RESULTS 6 1 0.8647
echo == choosing the pipe equal to the minimum empties the chosen value; the next larger pipe is chosen and saved
choose IDC_COMBO_CHOICE "296.600"
expect IDC_EDIT_CHOSEN ""
expect-enabled IDC_SAVE 0
choose IDC_COMBO_CHOICE "376.600"
expect IDC_EDIT_CHOSEN 376.6000
dump IDC_RESULTS
click IDC_SAVE
expect-enabled IDC_SAVE 0
dump IDC_SAVE
echo == S4 by minimum slope: its own pipe and roughness; the minimum rounded up at "0.0"
click IDC_NEXT
click IDC_RADIO_MIN_SLOPE
expect-enabled IDC_NEXT 0
expect IDC_EDIT_SECTION_VALUE 376.600
expect IDC_EDIT_ROUGHNESS 1.500
expect-enabled IDC_COMBO_GROUP 0
choose IDC_COMBO_CHOICE "0.0"
dump IDC_EDIT_MINIMUM
dump IDC_EDIT_CHOSEN
dump IDC_RESULTS
click IDC_SAVE
echo == S1 has no pipe, so in minimum-slope mode nothing is calculated
click IDC_PREVIOUS
click IDC_PREVIOUS
click IDC_PREVIOUS
expect IDC_SECTION_NAME S1
expect IDC_EDIT_SECTION_VALUE ""
expect IDC_EDIT_MINIMUM ""
expect-enabled IDC_SAVE 0
echo == one picked section: both navigation buttons are disabled
pick S2
click IDC_SELECT
expect IDC_SECTION_NAME S2
expect-enabled IDC_PREVIOUS 0
expect-enabled IDC_NEXT 0
click IDOK
echo == written by the sewage core: S3 its new pipe with the results, S4 its new slope; S1 nothing
expect-attr S3 PIPE_REF {006256F5-FC8A-54EC-AC3E-1EFF91046EED}
print S3 FILLING_HEIGHT FILLING_PERCENT FLOW_FULLFILLED FLOW_PERCENT VELOCITY_PARTIALFILLED VELOCITY_FULLFILLED VELOCITY_PERCENT FLOWTIME
print S4 SECTION_SLOPE PIPE_REF FILLING_PERCENT
expect-attr S1 PIPE_REF missing
expect-attr S1 FILLING_PERCENT missing
echo == the page's settings come back: minimum-slope mode at precision "0.0"
command CalcHydraulicsSewage
expect-checked IDC_RADIO_MIN_SLOPE 1
expect IDC_COMBO_CHOICE 0.0
close
