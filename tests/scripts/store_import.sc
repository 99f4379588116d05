# args: import {tmp}/small.gpkg {src}/tests/data/store/small_us.inp
# Imports a hand-made EPA SWMM network into a new drawing and prints the import report.
