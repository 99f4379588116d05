# args: run --dry-run {src}/tests/scripts/data/hydraulics_pipes.gpkg {script}
# The export dialog: the proposed path (no default folder set: "C:\" and the drawing's name), browsing,
# an empty path (4493), a folder that does not exist (4494), and a path that works, stored for next time.
system town 0 active
node N1 0 0 101
node N2 40 30 100.5
section S1 N1 N2
attr S1 FLOW_TOTAL 0.01
attr S1 SECTION_SLOPE 5
command WriteHydraulicsToFile
expect-title "Hydraulics export file"
expect IDC_EDIT_PATH "C:\\hydraulics_pipes.txt"
file /tmp/picked.txt
click IDC_BROWSE
expect IDC_EDIT_PATH /tmp/picked.txt
set IDC_EDIT_PATH ""
click IDOK
command WriteHydraulicsToFile
expect IDC_EDIT_PATH "C:\\hydraulics_pipes.txt"
set IDC_EDIT_PATH /nonexistent-folder-of-the-export-test/town.txt
click IDOK
command WriteHydraulicsToFile
expect IDC_EDIT_PATH /nonexistent-folder-of-the-export-test/town.txt
set IDC_EDIT_PATH /dev/null
click IDOK
command WriteHydraulicsToFile
expect IDC_EDIT_PATH /dev/null
close
