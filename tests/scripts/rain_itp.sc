# Rain flow by intensity curves (CalcRainITP) on a small network without pipes, so every flow time is 0
# and every time of concentration is the inlet time of 5 min. S1 (2 ha, runoff 0.75: 1.5 ha) and S2
# (1 ha, runoff 0.5: 0.5 ha) join into S3 (0.4 ha, runoff 1): 2.4 ha at S3.
system town 0 active
node n1 0 0
node n2 0 100
node n3 50 50
node n4 150 50
section S1 n1 n3
section S2 n2 n3
section S3 n3 n4
catchment C1 S1 1 2 0 0.75
catchment C2 S2 1 1 0 0.5
catchment C3 S3 1 0.4 0 1
command CalcRainITP
expect-title "Rain flow calculation by intensity-duration curves"
expect-checked IDC_RADIO_CURVES 1
expect-enabled IDC_EDIT_INTENSITY15 0
expect-enabled IDC_COMBO_STATION 0
file data/rain_itp.dat
click IDC_BUTTON_BROWSE
dump IDC_COMBO_RETURN_PERIOD
choose IDC_COMBO_RETURN_PERIOD "5.00"
echo == curve of 5 years at 5 min: 260 l/s/ha; Q3 = 2.4 x 260 / 1000 = 0.624, Q1 = 0.39, Q2 = 0.13
click IDOK
expect-attr S3 FLOW_IDF_INTENSITY 260 1e-12
expect-attr S3 FLOW_RAIN_IDF 0.624 1e-12
expect-attr S1 FLOW_RAIN_IDF 0.39 1e-12
expect-attr S2 FLOW_RAIN_IDF 0.13 1e-12
expect-attr S3 FLOW_IDF_AREA_CORRECTED_TOTAL 2.4 1e-12
expect-attr S3 FLOW_IDF_CONC_TIME 5 1e-12
echo == S2 left out: S3 gets 1.5 + 0.4 = 1.9 ha, Q3 = 0.494; S2 keeps its flow
pick S2
click IDC_BUTTON_SELECT
expect IDC_STATIC_EXCLUDED "Excluded sections: 1"
click IDOK
expect-attr S3 FLOW_RAIN_IDF 0.494 1e-12
expect-attr S2 FLOW_RAIN_IDF 0.13 1e-12
click IDC_BUTTON_CLEAR
expect IDC_STATIC_EXCLUDED "Excluded sections: 0"
echo == Reinhold, r15 = 100, n = 1: 100 x 38 / (5 + 9) x (1 - 0.3684) = 171.434286; Q3 = 0.411442
check IDC_RADIO_REINHOLD 1
expect-enabled IDC_EDIT_PATH 0
click IDOK
expect-attr S3 FLOW_IDF_INTENSITY 171.4342857 1e-6
expect-attr S3 FLOW_RAIN_IDF 0.4114423 1e-7
echo == a Turkish station: Ankara, 10 years: (5 min, 300) (10 min, 200); Q3 = 2.4 x 300 / 1000 = 0.72
check IDC_RADIO_TURKISH 1
click IDC_BUTTON_STATIONS
expect-title "Turkish rain stations"
set IDC_EDIT_NAME Ankara
click IDC_BUTTON_ADD
set IDC_EDIT_PERIOD 10
set IDC_EDIT_DURATION 10
set IDC_EDIT_INTENSITY 200
click IDC_BUTTON_SET_POINT
set IDC_EDIT_DURATION 5
set IDC_EDIT_INTENSITY 300
click IDC_BUTTON_SET_POINT
dump IDC_LIST_TABLE
click IDOK
dump IDC_COMBO_STATION
dump IDC_COMBO_RETURN_PERIOD
click IDOK
expect-attr S3 FLOW_IDF_INTENSITY 300 1e-12
expect-attr S3 FLOW_RAIN_IDF 0.72 1e-12
close
echo == the choices are kept: the Turkish standard with Ankara, the curve file's path
command CalcRainITP
expect-checked IDC_RADIO_TURKISH 1
expect IDC_EDIT_PATH data/rain_itp.dat
dump IDC_COMBO_STATION
close
print S1 FLOW_RAIN_IDF FLOW_IDF_INTENSITY FLOW_IDF_AREA_CORRECTED_SECT
print S3 FLOW_RAIN_IDF FLOW_IDF_INTENSITY FLOW_IDF_AREA_CORRECTED_TOTAL
