# A script that is not UTF-8 (saved in windows-1250) is refused at its first such line; nothing runs.
system town 0 active
node Šibenik 0 0
