system town 0 active
node N1 0 0
frobnicate N1
