system town 0 active
node N1 0 0
node N2 10 0
section S1 N1 N2
attr S9 FLOW_TOTAL 1
