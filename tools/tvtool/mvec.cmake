# The font converter reads TrueType and OpenType outlines with FreeType (used nowhere else).
find_package(Freetype REQUIRED)
target_link_libraries(tvtool PRIVATE Freetype::Freetype)
