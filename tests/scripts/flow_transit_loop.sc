# Transit flows that cannot or need not be carried: isolated sections (own flow only, no transit written,
# so no completion status), a division nobody decides (the route ends there), and a closed loop (alert 688,
# nothing written but the deletion of the old transit flows).
system town 0 active
node i1 0 0
node i2 10 0
node i3 0 10
node i4 10 10
section I1 i1 i2
section I2 i3 i4
attr I1 FLOW_WASTE_PER 0.001
attr I2 FLOW_WASTE_PER 0.002
command CalcFlowTotal
check IDC_CHECK_HOME_PERCENT 1
click IDOK
expect IDC_STATIC_STATUS ""
close
expect-attr I1 FLOW_SECT_TOTAL 0.001
expect-attr I2 FLOW_TRANSIT missing
echo a division without diameters, and nobody picks a direction
node u 20 0
node d 30 0
node l 40 10
node r 40 -10
section U u d
section L d l
section R d r
attr U FLOW_WASTE_PER 0.004
command CalcFlowTotal
click IDOK
close
expect-attr U FLOW_SECT_TOTAL 0.004
expect-attr L FLOW_SECT_TOTAL missing
expect-attr R FLOW_TRANSIT missing
echo a closed loop below the division
node k 50 10
section K l k
section BACK k l
attr L FLOW_TRANSIT 9
pick L
command CalcFlowTotal
click IDOK
expect IDC_STATIC_STATUS ""
close
expect-attr L FLOW_TRANSIT missing
expect-attr L FLOW_SECT_TOTAL missing
expect-attr U FLOW_SECT_TOTAL 0.004
