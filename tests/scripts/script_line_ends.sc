# A script saved with a byte-order mark and CR LF, CR and LF line ends alike.
system town 0 active
node N1 0 0node N2 10 0
section S1 N1 N2
attr S1 FLOW_TOTAL 0.035print S1 FLOW_TOTAL
