# fonts/default.mvec: the package's default font, DejaVu Sans with Latin, Greek and Cyrillic
# (the built-in font holds Latin-1 only, so this one also serves as the glyph fallback).
if(TARGET tvtool)
  set(default_font ${MC_CONTENT_STAGE}/fonts/default.mvec)
  add_custom_command(
    OUTPUT ${default_font}
    COMMAND tvtool mvec ${MC_FONT_SOURCE} ${default_font} --chars
            "32-126,160-591,0x370-0x3FF,0x400-0x4FF,0x2010-0x205E,0x20A0-0x20BF,0x2122"
    DEPENDS tvtool ${MC_FONT_SOURCE}
    COMMENT "Converting fonts/default.mvec")
  set_property(GLOBAL APPEND PROPERTY MC_CONTENT_OUTPUTS ${default_font})
endif()
