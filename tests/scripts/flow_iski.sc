# ISKI waste water: two streets U1 (10 ha of houses at 100 inhabitants/ha) and U2 (5 ha at 200/ha) join
# into D. By hand, with 200 l per inhabitant and day of which 0.8 reaches the sewer:
#   1000 inhabitants: Qavg = 1000 x 200 x 0.8 / 86400 = 1.851852 l/s, k = 1.5 + 2.5 / sqrt(Qavg) = 3.337117
#   2000 inhabitants on D: Qavg = 3.703704 l/s, k = 2.799038; peak = k x Qavg / 1000 m3/s
system town 0 active
node n1 0 0
node n2 0 100
node n3 50 50
node n4 100 50
section U1 n1 n3
section U2 n2 n3
section D n3 n4
catchment H1 U1 2 10 100
catchment H2 U2 2 5 200
command CalcWasteWaterTurkishISKI
expect-title "Peak waste-water flow, ISKI method"
dump IDC_PROPERTY_GRID
echo == nothing selected: alert 658, nothing written
click IDC_BUTTON_RUN
click IDC_BUTTON_RESET_DATA
expect-attr D FLOW_ISKI_PEAK missing
echo == the whole network
pick U1 U2 D
click IDC_BUTTON_SELECT
click IDC_BUTTON_RUN
expect-attr U1 FLOW_ISKI_PEAK 0.00617985 1e-8
expect-attr D FLOW_ISKI_PEAK 0.01036681 1e-8
dump IDC_PREVIEW_LIST
echo == a value that is not a number is refused; a largest peak factor of 3 caps the streets at k = 3
set-property IDC_PROPERTY_GRID "Largest peak factor [-]" 3,0
set-property IDC_PROPERTY_GRID "Largest peak factor [-]" 3
expect-cell IDC_PROPERTY_GRID 2 1 3.000000
click IDC_BUTTON_RUN
echo == U1: 3 x 1.851852 / 1000; D keeps k = 2.799038 below the cap
expect-attr U1 FLOW_ISKI_PEAK 0.00555556 1e-8
expect-attr D FLOW_ISKI_PEAK 0.01036681 1e-8
echo == zoom to and mark the marked rows U1 and D, then reset the streets
select IDC_PREVIEW_LIST 0 2
click IDC_BUTTON_ZOOM
click IDC_BUTTON_MARK
pick U1 U2
click IDC_BUTTON_SELECT
click IDC_BUTTON_RESET_DATA
expect-attr U1 FLOW_ISKI_PEAK missing
expect-attr D FLOW_ISKI_PEAK 0.01036681 1e-8
dump IDC_PREVIEW_LIST
close
