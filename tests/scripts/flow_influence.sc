# Turkish influence areas. A chain S1 -> S2 -> S3 and a separate section M, with household areas and
# densities: S1 10 ha at 100 inhabitants/ha (1000), S2 5 ha at 60 (300), S3 none, M 45 ha at 100 (4500).
# Parameters q = 144 l/inhabitant/day, ci = 0.1 l/s/ha, ca = 0.25, Kmin,d = 0.7, Kmax,d = 1.3.
system town 0 active
node n1 0 0
node n2 100 0
node n3 200 0
node n4 300 0
node m1 0 100
node m2 100 100
section S1 n1 n2
section S2 n2 n3
section S3 n3 n4
section M m1 m2
attr S1 HOUSE_WASTE 10
attr S1 POP_DENSITY_AREA 100
attr S2 HOUSE_WASTE 5
attr S2 POP_DENSITY_AREA 60
attr M HOUSE_WASTE 45
attr M POP_DENSITY_AREA 100
attr S1 FLOW_POINT 0.002
attr S3 FLOW_TOTAL 9
command CalcInfluenceAreasTurkish
expect-title "Turkish influence areas"
expect IDC_EDIT_HOUSE_WASTE_WATER_FLOW 144
expect IDC_EDIT_INFILTRATION 0.1
expect IDC_EDIT_ADDITIONAL_WATER 0.25
expect IDC_EDIT_KMIN 0.7
expect IDC_EDIT_KMAX 1.3
echo == Set parameters before a pick writes nothing
click IDC_BUTTON_SET_PARAMETERS
expect-attr S1 TUR_INF_FLOW_PER_POP missing
echo == the parameters on S1, S2 and M
pick S1 S2 M
click IDC_BUTTON_SELECT
click IDC_BUTTON_SET_PARAMETERS
expect IDC_STATIC_STATUS "Calculation finished: the results were written to the sections."
expect-attr S1 TUR_INF_FLOW_PER_POP 144
expect-attr M TUR_KMAX_D 1.3
expect-attr S3 TUR_KMIN_D missing
echo == S3 has none: alert 2155, nothing changed
choose IDC_TAB 1
expect-checked IDC_CHECK_POINT_FLOW 0
click IDC_BUTTON_CALCULATE
expect-attr S1 FLOW_TOTAL missing
expect-attr S3 FLOW_TOTAL 9
echo == S3 gets them too, then the whole system is calculated
choose IDC_TAB 0
pick S3
click IDC_BUTTON_SELECT
click IDC_BUTTON_SET_PARAMETERS
choose IDC_TAB 1
click IDC_BUTTON_CALCULATE
expect IDC_STATIC_STATUS "Calculation finished: the results were written to the sections."
echo == S1: Qh = 144 x 1000 / 86400 = 1.666667 l/s, Qinf 1, Qadd 0.416667; Qh below 5: Kmax,h 2.5, Kmin,h 0.38
echo == summer 1.666667 x 1.3 x 2.5 + 1 = 6.416667, winter 1.666667 x 0.7 x 0.38 + 1.416667 = 1.86
expect-attr S1 POP_PER_SECTION_C 1000
expect-attr S1 TUR_INF_FLOW_PER_SECT 1.666667 1e-6
expect-attr S1 TUR_INF_FLOW_SECT_SUMMER 6.416667 1e-6
expect-attr S1 TUR_INF_FLOW_SECT_WINTER 1.86 1e-6
expect-attr S1 FLOW_TOTAL 0.006416667 1e-9
echo == the shared flows in m3/s: household 0.001666667, infiltration 0.001
expect-attr S1 FLOW_TUR_WASTE_HOME 0.001666667 1e-9
expect-attr S1 FLOW_TUR_WASTE_INF 0.001 1e-12
echo == S3 carries S1 and S2: 15 ha, 1300 inhabitants, Qh 2.166667, summer 2.166667 x 3.25 + 1.5 = 8.541667
expect-attr S3 AREA_CUMULATIVE_INF 15 1e-12
expect-attr S3 POP_PER_SECTION_C 1300
expect-attr S3 TUR_INF_FLOW_PER_SECT 0
expect-attr S3 TUR_INF_FLOW_ADDITIONAL 0.541667 1e-6
expect-attr S3 FLOW_TOTAL 0.008541667 1e-9
echo == M: Qh 7.5 l/s, Kmax,h 2.3 and Kmin,h 0.415 between the table's 5 and 10; summer 26.925
expect-attr M TUR_KMAX_H 2.3 1e-12
expect-attr M TUR_KMIN_H 0.415 1e-12
expect-attr M FLOW_TOTAL 0.026925 1e-9
print S1 TUR_KMAX_H TUR_KMIN_H FLOW_TOTAL
echo == with the point flows: S1's 0.002 m3/s reaches S2 and S3
check IDC_CHECK_POINT_FLOW 1
click IDC_BUTTON_CALCULATE
expect-attr S3 FLOW_TOTAL 0.010541667 1e-9
expect-attr M FLOW_TOTAL 0.026925 1e-9
echo == Close keeps the typed values
choose IDC_TAB 0
set IDC_EDIT_HOUSE_WASTE_WATER_FLOW 200
close
command CalcInfluenceAreasTurkish
expect IDC_EDIT_HOUSE_WASTE_WATER_FLOW 200
expect IDC_EDIT_KMAX 1.3
choose IDC_TAB 1
expect-checked IDC_CHECK_POINT_FLOW 0
close
