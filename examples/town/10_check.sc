# The sample town as imported, before any calculation: the division at manhole MH-MS24 sends the trunk
# on in DN 600 and the storm relief off in DN 400; inverts fall downstream at a few per mille.
echo checking the imported sample town
expect-attr MS24 PIPE_DIA_IN 0.6
expect-attr RELIEF1 PIPE_DIA_IN 0.4
expect-attr MS24 SECTION_SLOPE 2.998 0.0005
expect-attr OAK01 PIPE_DIA_IN 0.2966
expect-attr MS-PLANT PIPE_DIA_IN 0.7
print MS24 PIPE_DIA_IN SECTION_SLOPE
print RELIEF1 PIPE_DIA_IN SECTION_SLOPE
