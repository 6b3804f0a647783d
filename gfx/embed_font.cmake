# cmake -DINPUT=font.mvec -DOUTPUT=builtin_font_data.cpp -P embed_font.cmake
# Writes the built-in font image as a C++ array behind BuiltinFontData()/BuiltinFontSize().
file(READ ${INPUT} hex HEX)
string(LENGTH "${hex}" digits)
math(EXPR size "${digits} / 2")
string(REGEX REPLACE "([0-9a-f][0-9a-f])" "0x\\1," bytes "${hex}")
string(REGEX REPLACE "((0x..,){24})" "\\1\n" bytes "${bytes}")
file(WRITE ${OUTPUT}.part
  "// Generated from ${INPUT} by gfx/embed_font.cmake; do not edit.\n"
  "#include \"gfx/builtin_font.h\"\n\n"
  "namespace {\nconst uint8_t kImage[${size}] = {\n${bytes}\n};\n}  // namespace\n\n"
  "const uint8_t* BuiltinFontData() { return kImage; }\n"
  "size_t BuiltinFontSize() { return sizeof(kImage); }\n")
file(RENAME ${OUTPUT}.part ${OUTPUT})
