# The command frame: no active system, a system of another function, then a sewage system.
command CalcWasteWaterPercent
system water 1 active
command CalcHydraulicsSewage
command InputPipeRoughness
command fman
expect-title "Flow calculations manager"
close
system town 0 active
node N1 0 0 100
node N2 30 40 99.5
section S1 N1 N2
command InputPipeRoughness
command CalcFlowTotal
close
attr S1 FLOW_TOTAL 0.05
expect-attr S1 FLOW_TOTAL 0.05
print S1 FLOW_TOTAL FLOW_TRANSIT
