# Writes the scripts INPUTS ("," between file names), joined in that order,
# as one C string into the source file OUTPUT.
string(REPLACE "," ";" inputs "${INPUTS}")
set(script "")
foreach(input IN LISTS inputs)
  file(READ ${input} part)
  string(APPEND script "${part}\n")
endforeach()
file(WRITE ${OUTPUT} "extern \"C\" const char tavrisk_editing_js[];\nextern \"C\" const char tavrisk_editing_js[] = R\"tavrisk_js(${script})tavrisk_js\";\n")
