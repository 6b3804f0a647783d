# cmake -DINPUT=file -DOUTPUT=file_data.cpp -DHEADER=gfx/x.h -DDATA=XData -DSIZE=XSize
#       -P embed_bytes.cmake
# Writes a file's bytes as a C++ array behind the functions DATA() and SIZE() that HEADER
# declares: the built-in font and the precompiled built-in Lua chunks.
file(READ ${INPUT} hex HEX)
string(LENGTH "${hex}" digits)
math(EXPR size "${digits} / 2")
string(REGEX REPLACE "([0-9a-f][0-9a-f])" "0x\\1," bytes "${hex}")
string(REGEX REPLACE "((0x..,){24})" "\\1\n" bytes "${bytes}")
file(WRITE ${OUTPUT}.part
  "// Generated from ${INPUT} by gfx/embed_bytes.cmake; do not edit.\n"
  "#include \"${HEADER}\"\n\n"
  "namespace {\nconst uint8_t kImage[${size}] = {\n${bytes}\n};\n}  // namespace\n\n"
  "const uint8_t* ${DATA}() { return kImage; }\n"
  "size_t ${SIZE}() { return sizeof(kImage); }\n")
file(RENAME ${OUTPUT}.part ${OUTPUT})
