# Numeric fields of a dialog: the validity rule on set text, typing at the caret, the clipboard keys.
system town 0 active
node N1 0 0
node N2 100 0
section S1 N1 N2
command CalcWasteWaterPercent
expect IDC_EDIT_Q 150
caret IDC_EDIT_Q 0 3
clipboard 1a2.3c
key IDC_EDIT_Q ctrl+v
expect IDC_EDIT_Q 12.3
set IDC_EDIT_N 123456789.12345
expect IDC_EDIT_N 12345678.1234
set IDC_EDIT_Q -2.5
expect IDC_EDIT_Q 2.5
set IDC_EDIT_P -2.5
expect IDC_EDIT_P -2.5
caret IDC_EDIT_N 0 8
key IDC_EDIT_N ctrl+x
expect IDC_EDIT_N .1234
set IDC_EDIT_KD 12.5
caret IDC_EDIT_KD 0
type IDC_EDIT_KD .
type IDC_EDIT_KD 7
expect IDC_EDIT_KD 12.75
caret IDC_EDIT_KD 5
key IDC_EDIT_KD backspace
expect IDC_EDIT_KD 12.7
close
