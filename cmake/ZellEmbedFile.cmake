# cmake -DINPUT=file -DOUTPUT=header -DSYMBOL=name -P ZellEmbedFile.cmake
# Writes the file's bytes as a C++ array, sixteen to a line.
file(READ ${INPUT} hex HEX)
string(LENGTH "${hex}" length)
math(EXPR count "${length} / 2")
string(REGEX REPLACE "([0-9a-f][0-9a-f])" "0x\\1," bytes "${hex}")
string(REGEX REPLACE "((0x[0-9a-f][0-9a-f],){16})" "\\1\n    " bytes "${bytes}")
get_filename_component(name ${INPUT} NAME)
file(WRITE ${OUTPUT}.tmp "// Generated from ${name}; do not edit.
#pragma once
static const unsigned char ${SYMBOL}[${count}] = {
    ${bytes}
};
")
file(COPY_FILE ${OUTPUT}.tmp ${OUTPUT} ONLY_IF_DIFFERENT)
file(REMOVE ${OUTPUT}.tmp)
