# Simple rain flow on three sections: A with a corrected area of 2 ha (2.5 ha at runoff 0.8) and no
# coefficients, B with 1 ha, runoff 0.5 and reduction 0.9 stored, and C without a catchment area.
system town 0 active
node n1 0 0
node n2 50 0
node n3 100 0
node n4 150 0
section A n1 n2
section B n2 n3
section C n3 n4
catchment RA A 1 2.5 0 0.8
catchment RB B 1 1 0 1
attr B FLOW_COEFRET 0.5
attr B FLOW_COEFRED 0.9
command CalcRainSimple
expect-title "Simple rain flow"
expect IDC_COMBO_CONFIG Default
expect IDC_EDIT_INTENSITY 120
expect-checked IDC_RADIO_STANDARD 1
echo == standard method: 0.9 x 0.5 x 1 x 120 / 1000 on B, 2 x 120 / 1000 on A
set IDC_COMBO_CONFIG "Storm 2y"
click IDOK
expect IDC_STATIC_STATUS "Calculation finished: the results were written to the sections."
expect-attr A FLOW_RAIN 0.24 1e-12
expect-attr B FLOW_RAIN 0.054 1e-12
expect-attr A FLOW_IDF_INTENSITY 120
expect-attr C FLOW_RAIN missing
echo == ATV method with n = 1 and T = 1 on A: (1 - 0.3684) x 38 / 10 = 2.40008, so 0.12 x 2.40008 x 2
attr A FLOW_ATV_N 1
attr A FLOW_ATV_T 1
echo == B has a frequency of 0: no flow, its standard flow stays
attr B FLOW_ATV_N 0
check IDC_RADIO_ATV 1
click IDOK
expect-attr A FLOW_RAIN 0.5760192 1e-12
expect-attr B FLOW_RAIN 0.054 1e-12
close
echo == the intensity is kept under the set's name
command CalcRainSimple
expect IDC_COMBO_CONFIG "Storm 2y"
set IDC_EDIT_INTENSITY 150
set IDC_COMBO_CONFIG "Storm 5y"
click IDOK
choose IDC_COMBO_CONFIG 0
expect IDC_EDIT_INTENSITY 120
close
