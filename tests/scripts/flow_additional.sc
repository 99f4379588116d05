# Additional flows on three sections: A (150 m, a household area of 2 ha with 50 inhabitants/ha), B (40 m,
# household and industrial waste water stored) and C (30 m, nothing).
system town 0 active
node n1 0 0
node n2 150 0
node n3 190 0
node n4 220 0
section A n1 n2
section B n2 n3
section C n3 n4
catchment HA A 2 2 50
attr B FLOW_WASTE_HOME 0.004
attr B FLOW_WASTE_IND 0.001
command CalcFlowAdditional
expect IDC_COMBO_CONFIG Default
expect-checked IDC_RADIO_SINGLE 1
expect IDC_STATIC_SECTION A
expect-enabled IDC_BUTTON_PREVIOUS 0
expect-enabled IDC_BUTTON_NEXT 1
expect-enabled IDC_EDIT_KOEF_FLOW 0
echo == single section A: foreign water by specific flow 0.2 l/s/m over 150 m, overflow of 5 l/s
check IDC_CHECK_FOREIGN 1
expect-enabled IDC_EDIT_KOEF_FLOW 1
check IDC_RADIO_FOREIGN_SPECIFIC 1
expect-enabled IDC_EDIT_KOEF_FLOW 0
expect-enabled IDC_EDIT_SPECIFIC 1
set IDC_EDIT_SPECIFIC 0.2
check IDC_CHECK_POINT 1
check IDC_RADIO_OVERFLOW 1
expect-enabled IDC_EDIT_INFLOW 0
set IDC_EDIT_OVERFLOW 5
set IDC_COMBO_CONFIG "Relief"
click IDOK
expect IDC_STATIC_STATUS "Calculation finished: the results were written to the sections."
expect-attr A FLOW_FOREIGN 0.03 1e-12
expect-attr A FLOW_POINT -0.005 1e-12
expect-attr B FLOW_FOREIGN missing
echo == next section B: foreign water as a share of its waste water (m = 0.1), shown with a zoom
click IDC_BUTTON_NEXT
expect IDC_STATIC_SECTION B
expect-enabled IDC_BUTTON_PREVIOUS 1
check IDC_RADIO_FOREIGN_SHARE 1
check IDC_CHECK_POINT 0
click IDC_BUTTON_SHOW
click IDOK
expect-attr B FLOW_FOREIGN 0.0005 1e-12
expect-attr B FLOW_POINT missing
echo == all sections: additional rain flow (inhabitants x 0.2 / 1000) and a user flow of 2 l/s
check IDC_CHECK_FOREIGN 0
check IDC_RADIO_ALL 1
expect IDC_STATIC_SECTION "A - C"
expect-enabled IDC_BUTTON_NEXT 0
check IDC_CHECK_ADDITIONAL 1
check IDC_CHECK_USER 1
set IDC_EDIT_USER 2
click IDOK
close
expect-attr A FLOW_ADDITIONAL 0.02 1e-12
expect-attr C FLOW_ADDITIONAL 0 1e-12
expect-attr C FLOW_USER 0.002 1e-12
expect-attr C FLOW_FOREIGN missing
echo == the set and the choices come back
command CalcFlowAdditional
expect IDC_COMBO_CONFIG Relief
expect IDC_EDIT_SPECIFIC 0.2
expect IDC_EDIT_OVERFLOW 5
expect IDC_EDIT_USER 2
expect-checked IDC_RADIO_ALL 1
expect-checked IDC_CHECK_ADDITIONAL 1
expect-checked IDC_CHECK_FOREIGN 0
expect-checked IDC_RADIO_FOREIGN_SHARE 1
expect-enabled IDC_EDIT_FAKTOR_M 0
close
