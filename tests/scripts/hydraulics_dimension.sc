# args: run --dry-run {src}/tests/scripts/data/hydraulics_pipes.gpkg {script}
# Automatic dimensioning by minimum diameter, without conditions, over the first pipe group of the sample
# catalogue (PVC-U SN8). Two branches join at N3; S2 has a total flow of 0 and S4 no slope, so both fail
# with their status in red while the others get the smallest pipe that carries their flow.
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
command CalcHydraulicsSewage
expect-title "Hydraulic calculation of sewer sections: pipes and slopes"
expect IDC_EDIT_VISCOSITY 0.0000013100
expect-enabled IDC_CHECK_FILLING 0
expect-enabled IDC_COMBO_PRECISION 0
expect IDC_COMBO_GROUP "PVC-U SN8 EN 1401"
click IDC_CALCULATE
dump IDC_RESULTS
expect-cell IDC_RESULTS 2 1 296.60
echo == marking rows 0 and 2 in colour 5, then zooming to them (the factor is limited to 10)
color 5
click IDC_MARK_COLOR
select IDC_RESULTS 0 2
click IDC_MARK
set IDC_EDIT_ZOOM 20
click IDC_ZOOM
echo
expect IDC_EDIT_ZOOM 10.0
click IDOK
echo == written: the pipe and the eight results; S2 and S4 keep nothing
expect-attr S1 FILLING_PERCENT 80.616 0.001
expect-attr S3 VELOCITY_PARTIALFILLED 0.8647 0.0001
expect-attr S2 PIPE_REF missing
expect-attr S4 FILLING_HEIGHT missing
print S3 SECTION_SLOPE FILLING_HEIGHT FILLING_PERCENT FLOW_FULLFILLED FLOW_PERCENT VELOCITY_PARTIALFILLED VELOCITY_FULLFILLED VELOCITY_PERCENT FLOWTIME
echo == the settings come back: colour, zoom factor and the automatic page
command CalcHydraulicsSewage
expect IDC_EDIT_ZOOM 10.0
dump IDC_MARK_COLOR
close
