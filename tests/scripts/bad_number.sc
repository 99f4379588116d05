system town 0 active
node N1 0 0
node N2 10,5 0
