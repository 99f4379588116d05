# Transit flows through the flow main dialog: a chain, two branches joining, a division decided by the
# larger diameter and one the person decides, and the totals of own plus transit flow (m3/s).
system town 0 active
node a1 0 0
node a2 10 0
node b1 0 20
node b2 10 20
node j 20 10
node t 30 10
node d 40 10
node m 50 10
node s 50 0
node e 60 10
node l 70 20
node r 70 0
node x 80 20
node y 80 0
section A1 a1 a2
section A2 a2 j
section B1 b1 b2
section B2 b2 j
section T1 j t
section T2 t d
section MAIN d m
section SIDE d s
section M2 m e
section LEFT e l
section RIGHT e r
section L2 l x
section R2 r y
attr A1 FLOW_WASTE_PER 0.001
attr A2 FLOW_WASTE_PER 0.002
attr B1 FLOW_WASTE_PER 0.004
attr B2 FLOW_WASTE_PER 0.008
attr T1 FLOW_WASTE_PER 0.016
attr T2 FLOW_WASTE_PER 0.032
attr MAIN FLOW_WASTE_PER 0.064
attr SIDE FLOW_WASTE_PER 0.128
attr M2 FLOW_WASTE_PER 0.256
attr LEFT FLOW_WASTE_PER 0.512
attr RIGHT FLOW_WASTE_PER 1.024
attr L2 FLOW_RAIN 2.048
attr R2 FLOW_WASTE_PER 4.096
attr MAIN PIPE_DIA_IN 0.4
attr SIDE PIPE_DIA_IN 0.3
attr LEFT PIPE_DIA_IN 0.3
attr RIGHT PIPE_DIA_IN 0.3
command CalcFlowTotal
expect-title "Design flow calculation"
expect-enabled IDOK 0
click IDC_BUTTON_SELECT_ALL
expect-enabled IDOK 1
click IDC_BUTTON_CLEAR_ALL
expect-checked IDC_CHECK_SIMPLE 0
expect-enabled IDOK 0
check IDC_CHECK_HOME_PERCENT 1
echo equal diameters at node e: the person picks RIGHT
pick RIGHT
click IDOK
expect IDC_STATIC_STATUS "Calculation finished: the results were written to the sections."
choose IDC_TAB 1
check IDC_CHECK_VLASTITI 1
check IDC_CHECK_TRANZIT 1
click IDC_BUTTON_CALC_TOTAL
close
expect-attr A1 FLOW_TRANSIT missing
expect-attr T1 FLOW_TRANSIT 0.015
expect-attr T2 FLOW_TRANSIT 0.031
expect-attr MAIN FLOW_TRANSIT 0.063
expect-attr SIDE FLOW_TRANSIT missing
expect-attr RIGHT FLOW_TRANSIT 0.383
expect-attr LEFT FLOW_TRANSIT missing
expect-attr L2 FLOW_TRANSIT 0.512
expect-attr L2 FLOW_SECT_TOTAL 0
expect-attr R2 FLOW_TOTAL 5.503
print MAIN FLOW_SECT_TOTAL FLOW_TRANSIT FLOW_TOTAL
print SIDE FLOW_SECT_TOTAL FLOW_TRANSIT FLOW_TOTAL
print R2 FLOW_SECT_TOTAL FLOW_TRANSIT FLOW_TOTAL
echo the choices are kept: nobody is asked again, the results stay the same
command CalcFlowTotal
expect-checked IDC_CHECK_HOME_PERCENT 1
click IDOK
close
expect-attr RIGHT FLOW_TRANSIT 0.383
expect-attr L2 FLOW_TRANSIT 0.512
expect-attr SIDE FLOW_SECT_TOTAL 0.128
