# Turkish waste water: U (10 ha of houses at 600 inhabitants/ha: 6000) drains into S (10 ha at 400: 4000
# more, and 10 ha of industry); BARE has no catchment. q = 150 l per inhabitant and day, c = 1.5, F = 2.
system town 0 active
node n1 0 0
node n2 100 0
node n3 200 0
node n4 0 100
node n5 100 100
section U n1 n2
section S n2 n3
section BARE n4 n5
catchment H1 U 2 10 600
catchment H2 S 2 10 400
catchment I1 S 4 10
command CalcWasteWaterTurkish
expect-title "Turkish waste water"
expect IDC_COMBO_CONFIG Default
expect IDC_COMBO_COEFFICIENT 0.5
expect IDC_EDIT_CONSUMPTION 1
expect IDC_EDIT_PEAK 2
expect-enabled IDC_EDIT_CONSUMPTION 0
expect-enabled IDC_COMBO_COEFFICIENT 0
echo == the switches enable their fields; infiltration enables nothing
check IDC_CHECK_HOME 1
expect-enabled IDC_EDIT_CONSUMPTION 1
expect-enabled IDC_EDIT_PEAK 0
check IDC_CHECK_INDUSTRIAL 1
expect-enabled IDC_COMBO_COEFFICIENT 1
expect-enabled IDC_EDIT_PEAK 1
check IDC_CHECK_INFILTRATION 1
echo == a set without a name: alert 2059, nothing stored or written
set IDC_COMBO_CONFIG " "
click IDC_BUTTON_SAVE
expect-attr S FLOW_TUR_WASTE_HOME missing
echo == all three flows
set IDC_EDIT_CONSUMPTION 150
choose IDC_COMBO_COEFFICIENT "1.5"
set IDC_COMBO_CONFIG Town
click IDC_BUTTON_SAVE
expect IDC_STATIC_STATUS "Calculation finished: the results were written to the sections."
close
echo == S serves 10,000: M = 5 / 10^0.2 = 3.154787, Q = 10000 x 150 / 86400 x M / 1000 = 0.0547706 m3/s
expect-attr S FLOW_BABBIT 3.154787 1e-6
expect-attr S FLOW_TUR_WASTE_HOME 0.0547706 1e-7
echo == industrial 10 x 1.5 x 2 / 1000 = 0.03, infiltration 10 x 0.1 / 1000 = 0.001
expect-attr S FLOW_TUR_WASTE_IND 0.03 1e-12
expect-attr S FLOW_TUR_WASTE_INF 0.001 1e-12
echo == U alone: 6000, M = 5 / 6^0.2 = 3.494136, Q = 0.0363972; no industry
expect-attr U FLOW_BABBIT 3.494136 1e-6
expect-attr U FLOW_TUR_WASTE_HOME 0.0363972 1e-7
expect-attr U FLOW_TUR_WASTE_IND 0
echo == BARE has nobody: the coefficient takes its cap 5, the flow is 0
expect-attr BARE FLOW_BABBIT 5
expect-attr BARE FLOW_TUR_WASTE_HOME 0
print S FLOW_BABBIT FLOW_TUR_WASTE_HOME FLOW_TUR_WASTE_IND FLOW_TUR_WASTE_INF
echo == the set comes back with its coefficient entry; the switches do not
command CalcWasteWaterTurkish
expect IDC_COMBO_CONFIG Town
expect IDC_EDIT_CONSUMPTION 150
expect IDC_COMBO_COEFFICIENT 1.5
expect-checked IDC_CHECK_HOME 0
close
echo == transit reads the industrial and infiltration flows in m3/s
command CalcFlowTotal
click IDC_BUTTON_CLEAR_ALL
check IDC_CHECK_WASTE_IND_TUR 1
check IDC_CHECK_INFILTRATION 1
click IDOK
close
echo == S: own 0.03 + 0.001 = 0.031, carried in from U its infiltration 0.001
expect-attr S FLOW_SECT_TOTAL 0.031 1e-12
expect-attr S FLOW_TRANSIT 0.001 1e-12
print S FLOW_SECT_TOTAL FLOW_TRANSIT
