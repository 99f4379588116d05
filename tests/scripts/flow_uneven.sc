# Uneven waste water with the Fedorov coefficient through its dialog: populations read from the sections of a
# chain whose mean flows add up (100 inhabitants each, q = 250 l/day, t = 24 h: 0.2894 l/s each), a division
# whose main outlet the person picks, a halved outflow duration, the refusal of t = 0, and populations
# spread from N, p and T over a selection.
system town 0 active
node n1 0 0
node n2 100 0
node n3 200 0
node n4 300 0
node l 400 50
node r 400 -50
section A n1 n2
section B n2 n3
section C n3 n4
section L n4 l
section R n4 r
attr A FLOW_SECTION_POPULATION 100
attr B FLOW_SECTION_POPULATION 100
attr C FLOW_SECTION_POPULATION 100
attr R FLOW_WASTE_UNEVEN 9
command CalcWasteWaterUneven
expect IDC_EDIT_WATER_AMOUNT 250
expect IDC_EDIT_FLOW_TIME 24
expect-enabled IDC_EDIT_POPULATION 1
choose IDC_COMBO_MODE 0
expect-enabled IDC_EDIT_POPULATION 0
expect-enabled IDC_EDIT_INCREMENT 0
echo nothing selected: the whole network; at the division below C the person picks R
pick R
click IDOK
expect-attr A FLOW_QSR_TOTAL 0.289352 0.000001
expect-attr B FLOW_QSR_TOTAL 0.578704 0.000001
expect-attr C FLOW_QSR_TOTAL 0.868056 0.000001
expect-attr C FLOW_FEDOROV 2.736453 0.000001
expect-attr C FLOW_WASTE_UNEVEN 0.002375 0.000001
expect-attr R FLOW_QSR_TOTAL 0.868056 0.000001
expect-attr L FLOW_QSR_TOTAL 0
expect-attr L FLOW_FEDOROV 0
print A FLOW_QSR_TOTAL FLOW_FEDOROV FLOW_WASTE_UNEVEN
print C FLOW_QSR_TOTAL FLOW_FEDOROV FLOW_WASTE_UNEVEN
print R FLOW_QSR_TOTAL FLOW_FEDOROV FLOW_WASTE_UNEVEN
echo t halved: every mean flow doubles; the stored main outlet answers, nobody is asked
set IDC_EDIT_FLOW_TIME 12
click IDOK
expect-attr C FLOW_QSR_TOTAL 1.736111 0.000001
expect-attr R FLOW_QSR_TOTAL 1.736111 0.000001
echo t = 0 is refused and nothing changes
set IDC_EDIT_FLOW_TIME 0
click IDOK
expect-attr C FLOW_QSR_TOTAL 1.736111 0.000001
set IDC_EDIT_FLOW_TIME 24
close
echo the values are kept in the drawing
command CalcWasteWaterUneven
expect IDC_EDIT_FLOW_TIME 24
expect-enabled IDC_EDIT_POPULATION 0
echo mode 1 on A and B (100 m each): Nf = 1000 x 1.03^30 = 2427.26 spread by length; C and R below get the flow
choose IDC_COMBO_MODE 1
pick A B
click IDC_BUTTON_SELECT
click IDOK
close
expect-attr A FLOW_SECTION_POPULATION 1213.631236 0.000001
expect-attr C FLOW_SECTION_POPULATION 100
expect-attr B FLOW_QSR_TOTAL 7.023329 0.000001
expect-attr R FLOW_QSR_TOTAL 7.023329 0.000001
print B FLOW_SECTION_POPULATION FLOW_QSR_TOTAL FLOW_FEDOROV FLOW_WASTE_UNEVEN
