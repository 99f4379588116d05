# Waste water by area: two streets U1 and U2 (5 ha of houses each at 100 inhabitants/ha) join into D, which
# drains an industrial area of 1 ha. Coefficients kH = 4, kI = 1.
system town 0 active
node n1 0 0
node n2 0 100
node n3 50 50
node n4 100 50
section U1 n1 n3
section U2 n2 n3
section D n3 n4
catchment H1 U1 2 5 100
catchment H2 U2 2 5 100
catchment I1 D 4 1
command CalcWasteWaterArea
expect-title "Waste water by area"
expect IDC_COMBO_STANDARD General
expect-checked IDC_CHECK_HOME 0
expect-enabled IDC_EDIT_HOME 0
expect IDC_EDIT_HOME 4
expect IDC_EDIT_INDUSTRIAL 1
echo == both switches off: nothing is written
set IDC_COMBO_CONFIG "Town"
click IDOK
expect IDC_STATIC_STATUS "No results were written."
echo == general standard: 100 x 5 x 4 / 10^6 on U1 and U2, 1 x 1 / 1000 on D
check IDC_CHECK_HOME 1
expect-enabled IDC_EDIT_HOME 1
check IDC_CHECK_INDUSTRIAL 1
click IDOK
expect IDC_STATIC_STATUS "Calculation finished: the results were written to the sections."
expect-attr U1 FLOW_WASTE_HOME 0.002 1e-12
expect-attr D FLOW_WASTE_HOME missing
expect-attr D FLOW_WASTE_IND 0.001 1e-12
echo == Bulgarian standard without factors: alert 6131, nothing written
choose IDC_COMBO_STANDARD BLG
click IDOK
expect-attr D FLOW_WASTE_HOME_BG missing
close
echo == Bulgarian standard: on D, P = 100 x 10 x 4 / 1000 = 4 from both streets, K = 1 + 2.5 / 4^0.22
attr D FLOW_BLG_WASTE 1
attr U1 FLOW_BLG_WASTE 1
command CalcWasteWaterArea
expect IDC_COMBO_CONFIG Town
check IDC_CHECK_HOME 1
check IDC_CHECK_INDUSTRIAL 1
choose IDC_COMBO_STANDARD BLG
click IDOK
close
expect-attr D FLOW_BLG_WASTE_HOME_KOMAX 2.84284 1e-5
expect-attr D FLOW_WASTE_HOME_BG 0.0113714 1e-7
echo == the industrial coefficient for QI = 0.001 is not capped: 1 + 2.5 / 0.001^0.22 = 12.427
expect-attr D FLOW_WASTE_IND 0.0124272 1e-7
echo == U2 has no factor and keeps what it had; U1 alone: P = 2, K = 1 + 2.5 / 2^0.22 = 3.14641
expect-attr U2 FLOW_WASTE_HOME_BG missing
expect-attr U1 FLOW_WASTE_HOME_BG 0.0062928 1e-7
