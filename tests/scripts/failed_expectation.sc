system town 0 active
node N1 0 0
node N2 10 0
section S1 N1 N2
attr S1 FLOW_TOTAL 0.5
expect-attr S1 FLOW_TOTAL 0.4 0.01
expect-attr S1 FLOW_TRANSIT missing
echo still running
