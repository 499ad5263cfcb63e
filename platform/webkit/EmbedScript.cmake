# Writes the script INPUT as a C string into the source file OUTPUT.
file(READ ${INPUT} script)
file(WRITE ${OUTPUT} "extern \"C\" const char tavrisk_editing_js[];\nextern \"C\" const char tavrisk_editing_js[] = R\"tavrisk_js(${script})tavrisk_js\";\n")
