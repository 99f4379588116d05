system town 0 active
command CalcFlowTotal
click IDC_NO_SUCH_BUTTON
