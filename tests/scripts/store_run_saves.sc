# args: run {tmp}/new.gpkg {script}
# A run against a drawing that does not exist yet builds it and saves it; names with quotes and SQL
# metacharacters are plain names.
system town 0 active
node "A'; DROP TABLE nodes;--" 0 0 101.5
node "B \"two\"" 40 0
section "S1; --" "A'; DROP TABLE nodes;--" "B \"two\""
levels "S1; --" 100 99.8
attr "S1; --" PIPE_DIA_IN 0.3
print "S1; --" PIPE_DIA_IN FLOW_TOTAL
