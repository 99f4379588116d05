# The flow calculations manager on two streets U1 (1000 inhabitants) and U2 (1000) joining into D: the
# ISKI calculator run with two parameter sets, the sets as tree nodes, the preview, and deleting tags.
# By hand (ISKI, return 0.8): Qavg = P x q x 0.8 / 86400 l/s, k = 1.5 + 2.5 / sqrt(Qavg), peak = k Qavg / 1000.
system town 0 active
node n1 0 0
node n2 0 100
node n3 50 50
node n4 100 50
section U1 n1 n3
section U2 n2 n3
section D n3 n4
catchment H1 U1 2 10 100
catchment H2 U2 2 5 200
command RunFlowCalcManager
expect-title "Flow calculations manager"
expect IDC_STATIC_SELECTED "Selected elements: 0"
dump IDC_TREE_CALCULATORS
dump IDC_COMBO_PREVIEWS
echo == a group is no calculator: alert 11158; a calculator without a selection: alert 658
choose IDC_TREE_CALCULATORS "Waste water"
click IDC_BTN_RUN
choose IDC_TREE_CALCULATORS "Peak waste-water flow, ISKI method"
click IDC_BTN_RUN
echo == the whole network with q = 200: D has 2000 inhabitants, Qavg = 3.703704 l/s, k = 2.799038
pick U1 U2 D
click IDC_BTN_SELECT
expect IDC_STATIC_SELECTED "Selected elements: 3 "
click IDC_BTN_RUN
expect-attr D FLOW_ISKI_PEAK 0.01036681 1e-8
echo == U1 again with q = 150: Qavg = 1.388889 l/s, k = 3.621320, a second parameter set
set-property IDC_PROPERTY_GRID "Water consumption [l/inhabitant/day]" 150
pick U1
click IDC_BTN_SELECT
click IDC_BTN_RUN
expect-attr U1 FLOW_ISKI_PEAK 0.00502961 1e-8
dump IDC_TREE_CALCULATORS
echo == a set node selects exactly its sections and shows its values
choose IDC_TREE_CALCULATORS "Configuration 2 (2 sections)"
expect IDC_STATIC_SELECTED "Selected elements: 2 "
expect-cell IDC_PROPERTY_GRID 0 1 200.000000
echo == the group was chosen first with no preview chosen yet, so the last entry then was kept: Pipe hydraulics
expect IDC_COMBO_PREVIEWS "Pipe hydraulics"
choose IDC_COMBO_PREVIEWS "Peak waste-water flow, ISKI method"
dump IDC_PREVIEW_LIST
echo == the chosen preview stays when another node is chosen
choose IDC_COMBO_PREVIEWS "Design flows"
choose IDC_TREE_CALCULATORS "Configuration 1 (1 sections)"
expect IDC_COMBO_PREVIEWS "Design flows"
dump IDC_PREVIEW_LIST
echo == deleting the set's tags leaves one set; the results stay
choose IDC_TREE_CALCULATORS "Configuration 1 (1 sections)"
click IDC_BTN_DELETE_CONFIG
dump IDC_TREE_CALCULATORS
expect-attr U1 FLOW_ISKI_PEAK 0.00502961 1e-8
echo == reset data of the calculator on U1
choose IDC_TREE_CALCULATORS "Peak waste-water flow, ISKI method"
click IDC_BTN_RESET_DATA
expect-attr U1 FLOW_ISKI_PEAK missing
close
