# Pipe hydraulics of the sample town from its design flows (FLOW_TOTAL of 20_flows.sc, rain included):
# automatic dimensioning by minimum diameter without conditions over the concrete pipes of the catalogue
# (EN 1916, DN 300 to DN 1500: a combined sewer's trunk outgrows the plastic series), upstream sections first; each section gets the smallest pipe of the group that carries
# its flow full at its slope, and its filling, velocities and flow time. Then the export file for other
# tools, and a table of every section: pipe inner diameter (mm), slope (per mille), filling (%), velocity at
# partial filling (m/s) and status. Everything upstream of the division at MH-MS24 drains both to the
# plant and to the storm relief; the upstream-first visit dimensions each section once, the first time it
# reaches it, so every section has one row in the table.
echo == automatic dimensioning: minimum diameter, without conditions, pipe group Concrete EN 1916
command CalcHydraulicsSewage
choose IDC_TAB 1
click IDC_RADIO_MIN_DIAMETER
click IDC_RADIO_WITHOUT_CONDITIONS
choose IDC_COMBO_GROUP "Concrete EN 1916"
expect IDC_COMBO_GROUP "Concrete EN 1916"
click IDC_CALCULATE
echo == sections: name, inner diameter (mm), slope (per mille), filling (%), velocity (m/s), status
dump IDC_RESULTS
click IDOK
echo == checks: every pipe carries its flow full at its slope, so no flow is above 100 % of the full-bore
echo == flow and no filling above the 82 % at which a partly filled pipe carries as much as a full one
expect-attr MS-PLANT FLOW_PERCENT 50 50
expect-attr MS-PLANT FILLING_PERCENT 41 41
expect-attr MS24 FLOW_PERCENT 50 50
expect-attr RELIEF4 FLOW_PERCENT 50 50
expect-attr OAK01 FILLING_PERCENT 41 41
echo == export file: build/demo/town_export.txt
command WriteHydraulicsToFile
set IDC_EDIT_PATH ../../build/demo/town_export.txt
click IDOK
