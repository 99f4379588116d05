# args: run --dry-run {src}/tests/scripts/data/hydraulics_pipes.gpkg {script}
# The hydraulic calculator over the sample catalogue. 35 l/s at 3 per mille with kb 0.75 mm is S3 of
# hydraulics_dimension.sc: the minimum is the 296.6 mm pipe filled 56.7636 % at 0.8647 m/s, as there. The
# slope units convert by hand: 3 per mille is 0.3 % and 1 in 333.3333; 1 in 200 is 5 per mille.
system town 0 active
node N1 0 0 101
node N2 60 0 100.7
node N3 120 0 100.4
section S1 N1 N2
section S2 N2 N3
attr S1 FLOW_TOTAL 0.012
attr S1 SECTION_SLOPE 5
attr S2 FLOW_TOTAL 0.02
attr S2 SECTION_SLOPE 4
attr S2 PIPE_REF {0A14246B-2511-589C-97D6-51719813E04E}
attr S2 PIPE_ROUGHNESS 1.5
command CalcHydraulicsSewage_Calculator
expect-title "Hydraulic calculator"
expect IDC_STATUS "Enter a flow above 0."
set IDC_EDIT_FLOW 35
set IDC_EDIT_SLOPE 3
set IDC_EDIT_ROUGHNESS 0.75
expect IDC_EDIT_MINIMUM 296.6000
expect IDC_EDIT_CHOSEN 296.6000
expect IDC_COMBO_PIPE "PVC-U SN8 DN/OD 315 x 9.2 DN 315"
expect IDC_STATUS ""
dump IDC_RESULTS
expect-cell IDC_RESULTS 1 1 56.7636
expect-cell IDC_RESULTS 6 1 0.8647
echo == a smaller pipe than the minimum: nothing is calculated, and the status line says why
choose IDC_COMBO_PIPE "PVC-U SN8 DN/OD 250 x 7.3 DN 250"
expect IDC_EDIT_CHOSEN 235.4000
expect-cell IDC_RESULTS 1 1 ""
dump IDC_STATUS
echo == the slope in the other units: the same slope, the same minimum
choose IDC_COMBO_SLOPE_UNIT o/o
expect IDC_EDIT_SLOPE 0.3000
choose IDC_COMBO_SLOPE_UNIT 1/n
expect IDC_EDIT_SLOPE 333.3333
expect IDC_EDIT_MINIMUM 296.6000
echo == minimum slope of the 296.6 mm pipe in 1 in n: the chosen n is the whole number below the minimum's
click IDC_RADIO_MIN_SLOPE
expect-enabled IDC_EDIT_SLOPE 0
dump IDC_EDIT_MINIMUM
dump IDC_EDIT_CHOSEN
dump IDC_RESULTS
echo == a flatter slope than the minimum (a larger n) is refused
set IDC_EDIT_CHOSEN 2000
expect-cell IDC_RESULTS 1 1 ""
dump IDC_STATUS
echo == the same minimum in per mille: the chosen slope is the whole number above it
choose IDC_COMBO_SLOPE_UNIT o/oo
dump IDC_EDIT_MINIMUM
dump IDC_EDIT_CHOSEN
echo == a flow the pipe cannot carry at any slope
set IDC_EDIT_FLOW 5000
expect IDC_EDIT_MINIMUM ""
dump IDC_STATUS
echo == S1 has no pipe: its flow and slope come over, the group and the pipe stay (in minimum-slope mode,
echo == where the minimum does not choose a pipe)
choose IDC_COMBO_GROUP "PVC-U SN4 EN 1401"
choose IDC_COMBO_PIPE "PVC-U SN4 DN/OD 400 x 9.8 DN 400"
pick S1
click IDC_PICK_SECTION
expect IDC_EDIT_FLOW 12.0000
expect IDC_EDIT_SLOPE 5.0000
expect IDC_EDIT_ROUGHNESS 0.75
expect IDC_COMBO_GROUP "PVC-U SN4 EN 1401"
expect IDC_COMBO_PIPE "PVC-U SN4 DN/OD 400 x 9.8 DN 400"
dump IDC_EDIT_MINIMUM
echo == S2 has the DN 500 pipe of the other group and its own roughness
pick S2
click IDC_PICK_SECTION
expect IDC_COMBO_PIPE "PVC-U SN8 DN/OD 500 x 14.6 DN 500"
expect IDC_EDIT_ROUGHNESS 1.5000
expect IDC_EDIT_FLOW 20.0000
echo == 1 in 200 is stored as 5 per mille and shown as 200 again
click IDC_RADIO_MIN_DIAMETER
choose IDC_COMBO_SLOPE_UNIT 1/n
set IDC_EDIT_SLOPE 200
click IDC_CLOSE
command CalcHydraulicsSewage_Calculator
expect IDC_COMBO_SLOPE_UNIT 1/n
expect IDC_EDIT_SLOPE 200.0000
expect IDC_EDIT_FLOW 20.0000
expect IDC_EDIT_ROUGHNESS 1.5000
choose IDC_COMBO_SLOPE_UNIT o/oo
expect IDC_EDIT_SLOPE 5.0000
dump IDC_EDIT_MINIMUM
close
echo == the calculator writes nothing to the drawing
expect-attr S2 FILLING_PERCENT missing
expect-attr S1 PIPE_REF missing
