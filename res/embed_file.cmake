# Writes a C++ source that holds the bytes of INPUT as `const unsigned char SYMBOL[]` and its
# size as `const std::size_t SYMBOL##Size`. Run with cmake -DINPUT=... -DOUTPUT=... -DSYMBOL=...
file(READ "${INPUT}" content HEX)
string(LENGTH "${content}" hex_length)
math(EXPR size "${hex_length} / 2")
string(REGEX REPLACE "([0-9a-f][0-9a-f])" "0x\\1," bytes "${content}")
string(REGEX REPLACE "(0x[0-9a-f][0-9a-f],0x[0-9a-f][0-9a-f],0x[0-9a-f][0-9a-f],0x[0-9a-f][0-9a-f],0x[0-9a-f][0-9a-f],0x[0-9a-f][0-9a-f],0x[0-9a-f][0-9a-f],0x[0-9a-f][0-9a-f],0x[0-9a-f][0-9a-f],0x[0-9a-f][0-9a-f],0x[0-9a-f][0-9a-f],0x[0-9a-f][0-9a-f],)" "\\1\n  " bytes "${bytes}")
file(WRITE "${OUTPUT}"
  "// Generated from ${INPUT}; do not edit.\n"
  "#include <cstddef>\n\n"
  "extern const unsigned char ${SYMBOL}[] = {\n  ${bytes}\n};\n"
  "extern const std::size_t ${SYMBOL}Size = ${size};\n")
