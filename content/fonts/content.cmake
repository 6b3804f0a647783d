# The package's fonts, converted from Debian's font files with `tvtool mvec`:
#  - fonts/default.mvec: the text face, DejaVu Sans (the same file the built-in font is made
#    from, MC_FONT_SOURCE in gfx/), with Latin, Greek, Cyrillic and more punctuation; the
#    built-in font holds Latin-1 only, so this one also serves as the glyph fallback.
#  - fonts/rosewood_fill.mvec: the display face of titles and signs, Romande ADF Style
#    DemiBold (engraved small capitals of an old shop sign), Latin-1 and shop punctuation.
set(MC_DISPLAY_FONT_SOURCE /usr/share/fonts/truetype/adf/RomandeADFStyleStd-DemiBold.otf
    CACHE FILEPATH "Font file the package's display face fonts/rosewood_fill.mvec is made from")
if(TARGET tvtool)
  set(default_font ${MC_CONTENT_STAGE}/fonts/default.mvec)
  add_custom_command(
    OUTPUT ${default_font}
    COMMAND tvtool mvec ${MC_FONT_SOURCE} ${default_font} --chars
            "32-126,160-591,0x370-0x3FF,0x400-0x4FF,0x2010-0x205E,0x20A0-0x20BF,0x2122"
    DEPENDS tvtool ${MC_FONT_SOURCE}
    COMMENT "Converting fonts/default.mvec")
  set(display_font ${MC_CONTENT_STAGE}/fonts/rosewood_fill.mvec)
  add_custom_command(
    OUTPUT ${display_font}
    COMMAND tvtool mvec ${MC_DISPLAY_FONT_SOURCE} ${display_font} --chars
            "32-126,160-255,0x152-0x153,0x160-0x161,0x178,0x17D-0x17E,0x2013-0x2014,0x2018-0x201E,0x2022,0x2026,0x20AC,0x2122"
    DEPENDS tvtool ${MC_DISPLAY_FONT_SOURCE}
    COMMENT "Converting fonts/rosewood_fill.mvec")
  set_property(GLOBAL APPEND PROPERTY MC_CONTENT_OUTPUTS ${default_font} ${display_font})
endif()
