# Results that are not finite numbers are never written: waste water by percent growing 100 % a year for
# 1100 years (beyond the range of a double), and two own flows of 1e308 m3/s joining in the transit and
# total flows. The sections keep what they held; alert 3455 names them with their values.
system town 0 active
node a 0 0
node b 0 20
node j 20 10
node k 40 10
node o 60 10
section A a j
section B b j
section C j k
section D k o
attr A FLOW_WASTE_PER 0.004
command CalcWasteWaterPercent
set IDC_EDIT_P 100
set IDC_EDIT_T 1100
click IDOK
expect IDC_STATIC_STATUS ""
close
expect-attr A FLOW_WASTE_PER 0.004
expect-attr B FLOW_WASTE_PER missing
expect-attr C SPECIFIC_FLOW missing
echo two flows of 1e308 join at j
attr A FLOW_WASTE_PER 1e308
attr B FLOW_WASTE_PER 1e308
attr C FLOW_WASTE_PER 0.001
attr D FLOW_TOTAL 5
command CalcFlowTotal
check IDC_CHECK_HOME_PERCENT 1
click IDOK
close
print A FLOW_SECT_TOTAL FLOW_TRANSIT FLOW_TOTAL
print C FLOW_SECT_TOTAL FLOW_TRANSIT FLOW_TOTAL
print D FLOW_SECT_TOTAL FLOW_TRANSIT FLOW_TOTAL
