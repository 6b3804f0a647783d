# The anim command reads and writes both animation file forms.
target_link_libraries(tvtool PRIVATE mc_gfx_formats)
