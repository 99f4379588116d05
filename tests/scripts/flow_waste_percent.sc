# Waste water by percent on three sections of 30, 40 and 50 m; B counts twice per metre (density
# coefficient 2), C has no coefficient and counts once. Defaults: 5000 inhabitants, 2 % for 30 years,
# 150 l/day, kd = kh = 1.5, about 35.4 l/s in all; with the Fedorov coefficient about 61.8 l/s.
system town 0 active
node n1 0 0
node n2 30 0
node n3 30 40
node n4 80 40
section A n1 n2
section B n2 n3
section C n3 n4
attr B FLOW_COEFDEN 2
command CalcWasteWaterPercent
expect-title "Waste water by percent of population"
expect IDC_COMBO_CONFIG Default
expect-enabled IDC_EDIT_KP 0
click IDC_BUTTON_PREVIEW
expect-cell IDC_LIST_RESULTS 14 1 160.0000
expect-cell IDC_LIST_RESULTS 15 1 0.2211
echo an empty set name saves nothing
set IDC_COMBO_CONFIG "  "
click IDOK
echo a new name creates the set
set IDC_COMBO_CONFIG "Old town"
click IDOK
expect IDC_STATIC_STATUS "Calculation finished: the results were written to the sections."
close
# 35.3782 l/s over Lw = 160 m: A 30 m, B 2 x 40 m, C 50 m (m3/s below).
expect-attr A FLOW_WASTE_PER 0.0066334042387 1e-12
expect-attr B FLOW_WASTE_PER 0.0176890779698 1e-12
expect-attr C FLOW_WASTE_PER 0.0110556737311 1e-12
expect-attr C SPECIFIC_FLOW 0.000221113474622 1e-14
echo the stored set comes back; Fedorov on, the same name updates it
command CalcWasteWaterPercent
expect IDC_COMBO_CONFIG "Old town"
expect-count IDC_COMBO_CONFIG 1
check IDC_CHECK_FEDOROV 1
click IDC_BUTTON_PREVIEW
expect-cell IDC_LIST_RESULTS 12 1 1.7473
click IDOK
set IDC_EDIT_N 6000
set IDC_COMBO_CONFIG "New town"
check IDC_CHECK_FEDOROV 0
click IDOK
close
command CalcWasteWaterPercent
expect-count IDC_COMBO_CONFIG 2
choose IDC_COMBO_CONFIG "New town"
expect IDC_EDIT_N 6000
close
# The last save: 6000 inhabitants without Fedorov, 42.45 l/s.
print A FLOW_WASTE_PER SPECIFIC_FLOW
print B FLOW_WASTE_PER SPECIFIC_FLOW
print C FLOW_WASTE_PER SPECIFIC_FLOW
