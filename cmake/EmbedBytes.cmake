# cmake -DINPUT=file -DOUTPUT=file.cpp -DHEADER=h -DFUNCTION=name -P EmbedBytes.cmake
# Writes a C++ source whose FUNCTION (declared in HEADER) returns INPUT's bytes and their count;
# an empty INPUT gives no bytes.
file(READ ${INPUT} hex HEX)
string(LENGTH "${hex}" digits)
math(EXPR size "${digits} / 2")
# Sixteen bytes to a line.
string(REGEX REPLACE "([0-9a-f][0-9a-f])" "0x\\1," bytes "${hex}")
string(REGEX REPLACE "((0x..,){16})" "\\1\n" bytes "${bytes}")
get_filename_component(name ${INPUT} NAME)
if(size EQUAL 0)
  file(WRITE ${OUTPUT}.part
"// Generated from ${name} by the build: do not edit.
#include \"${HEADER}\"

EmbeddedBytes ${FUNCTION}() {
    return {nullptr, 0};
}
")
  file(COPY_FILE ${OUTPUT}.part ${OUTPUT} ONLY_IF_DIFFERENT)
  file(REMOVE ${OUTPUT}.part)
  return()
endif()
file(WRITE ${OUTPUT}.part
"// Generated from ${name} by the build: do not edit.
#include \"${HEADER}\"

namespace {

alignas(64) const unsigned char kBytes[${size}] = {
${bytes}
};

}  // namespace

EmbeddedBytes ${FUNCTION}() {
    return {kBytes, sizeof kBytes};
}
")
# Only a changed source is rewritten, so that an unchanged kernel does not relink the plug-in.
file(COPY_FILE ${OUTPUT}.part ${OUTPUT} ONLY_IF_DIFFERENT)
file(REMOVE ${OUTPUT}.part)
