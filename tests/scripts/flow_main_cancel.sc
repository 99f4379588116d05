# The flow main dialog keeps the ticks of both tabs in the drawing when it is closed with Cancel, also
# those of the total tab when it was never shown; it opens on the transit tab every time.
system town 0 active
node n1 0 0
node n2 10 0
section S n1 n2
command CalcFlowTotal
controls
check IDC_CHECK_SIMPLE 1
check IDC_CHECK_INFILTRATION 1
close
command CalcFlowTotal
expect-checked IDC_CHECK_SIMPLE 1
expect-checked IDC_CHECK_INFILTRATION 1
expect-checked IDC_CHECK_USER 0
expect-enabled IDOK 1
choose IDC_TAB 1
expect-enabled IDC_BUTTON_CALC_TOTAL 0
click IDC_BUTTON_SELECT_ALL
check IDC_CHECK_ISKI 0
choose IDC_TAB 0
click IDC_BUTTON_CLEAR_ALL
close
command CalcFlowTotal
expect-checked IDC_CHECK_SIMPLE 0
expect-enabled IDOK 0
choose IDC_TAB 1
expect-checked IDC_CHECK_ITP 1
expect-checked IDC_CHECK_ISKI 0
expect-enabled IDC_BUTTON_CALC_TOTAL 1
dump IDC_STATIC_STATUS
click IDC_BUTTON_CALC_TOTAL
dump IDC_STATIC_STATUS
close
expect-attr S FLOW_TOTAL 0
