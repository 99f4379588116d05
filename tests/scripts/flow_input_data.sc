# Flow input data on two sections: U (400 m, a total catchment area of 64 ha) above D (30 m, 0.5 ha).
# The area exponent 6 gives the runoff coefficient 1 / 64^(1/6) = 0.5 on U and 1.0 on D (at most 1 ha),
# and the reduction coefficient 1 - 0.005 x sqrt(400) = 0.9 on U.
system town 0 active
node n1 0 0
node n2 400 0
node n3 430 0
section U n1 n2
section D n2 n3
catchment CU U 1 64
catchment CD D 1 0.5
command InputSewageData
expect-title "Zadavanje podataka protoka"
echo == a new drawing shows the default values; nothing is ticked
dump IDC_LIST_DATA
expect IDC_STATIC_SECTION U
expect-enabled IDC_BUTTON_PREVIOUS 0
expect-enabled IDC_BUTTON_NEXT 1
echo == selecting a row shows its description; the population row keeps it
select IDC_LIST_DATA 1
expect IDC_STATIC_DESCRIPTION "Exponent n of the catchment area: writes the runoff coefficient 1 / A^(1/n) (1 for areas up to 1 ha) and the reduction coefficient 1 - 0.005 x sqrt(length in m)."
select IDC_LIST_DATA 10
expect IDC_STATIC_DESCRIPTION "Exponent n of the catchment area: writes the runoff coefficient 1 / A^(1/n) (1 for areas up to 1 ha) and the reduction coefficient 1 - 0.005 x sqrt(length in m)."
select IDC_LIST_DATA 5
expect IDC_STATIC_DESCRIPTION ""
echo == single section: only U gets the population
check-row IDC_LIST_DATA 10 1
edit-cell IDC_LIST_DATA 10 1 120
click IDC_BUTTON_SAVE
expect IDC_STATIC_STATUS "Calculation finished: the results were written to the sections."
expect-attr U FLOW_SECTION_POPULATION 120
expect-attr D FLOW_SECTION_POPULATION missing
expect-attr U FLOW_COEFRET missing
echo == a ticked value that is not a number writes nothing
click IDC_BUTTON_NEXT
expect IDC_STATIC_SECTION D
edit-cell IDC_LIST_DATA 10 1 "12o"
click IDC_BUTTON_SAVE
expect IDC_STATIC_STATUS ""
expect-attr D FLOW_SECTION_POPULATION missing
echo == all sections: the area exponent and the roughness
check IDC_RADIO_ALL 1
expect IDC_STATIC_SECTION "U - D"
expect-enabled IDC_BUTTON_PREVIOUS 0
check-row IDC_LIST_DATA 10 0
check-row IDC_LIST_DATA 1 1
check-row IDC_LIST_DATA 8 1
edit-cell IDC_LIST_DATA 8 1 1.5
click IDC_BUTTON_SAVE
expect IDC_STATIC_STATUS "Calculation finished: the results were written to the sections."
dump IDC_LIST_DATA
close
expect-attr U FLOW_COEFRET 0.5 1e-12
expect-attr D FLOW_COEFRET 1 1e-12
expect-attr U FLOW_COEFRED 0.9 1e-12
expect-attr U PIPE_ROUGHNESS 1.5
expect-attr D PIPE_ROUGHNESS 1.5
expect-attr D FLOW_SECTION_POPULATION missing
echo == the typed values are kept in the drawing
command InputSewageData
expect-cell IDC_LIST_DATA 8 1 1.5
expect-cell IDC_LIST_DATA 10 1 12o
expect-row-checked IDC_LIST_DATA 8 0
close
