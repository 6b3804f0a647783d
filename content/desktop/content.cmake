# The game's desktop integration, installed beside the program (cmake/Install.cmake): the
# desktop entry, the AppStream metainfo and the icon in the hicolor theme's sizes, drawn by
# the picture generators. None of it goes into the asset package.

set(MC_DESKTOP_DIR ${CMAKE_BINARY_DIR}/desktop)
set(MC_ICON_SIZES 16 32 48 64 128 256)
configure_file(${CMAKE_CURRENT_LIST_DIR}/mahjongcuriomar.desktop.in
               ${MC_DESKTOP_DIR}/${MC_APP_ID}.desktop @ONLY)
configure_file(${CMAKE_CURRENT_LIST_DIR}/mahjongcuriomar.metainfo.xml.in
               ${MC_DESKTOP_DIR}/${MC_APP_ID}.metainfo.xml @ONLY)

set(MC_ICON_FILES ${MC_DESKTOP_DIR}/icons/hicolor/scalable/apps/${MC_APP_ID}.svg)
foreach(size IN LISTS MC_ICON_SIZES)
  list(APPEND MC_ICON_FILES ${MC_DESKTOP_DIR}/icons/hicolor/${size}x${size}/apps/${MC_APP_ID}.png)
endforeach()
set(icon_gen ${CMAKE_SOURCE_DIR}/content/pictures/gen)
add_custom_command(
  OUTPUT ${MC_ICON_FILES}
  COMMAND ${MC_PYTHON} ${icon_gen}/icon.py ${MC_DESKTOP_DIR}/icons ${MC_APP_ID}
  DEPENDS ${icon_gen}/icon.py ${icon_gen}/blanks.py ${icon_gen}/vector.py ${icon_gen}/paint.py
  COMMENT "Drawing the desktop icon"
  VERBATIM)
add_custom_target(desktop_files ALL DEPENDS ${MC_ICON_FILES})
# cmake/Install.cmake installs these; icons keep their path below icons/.
set_property(GLOBAL PROPERTY MC_DESKTOP_DIR ${MC_DESKTOP_DIR})
set_property(GLOBAL PROPERTY MC_DESKTOP_FILES ${MC_DESKTOP_DIR}/${MC_APP_ID}.desktop
                                              ${MC_DESKTOP_DIR}/${MC_APP_ID}.metainfo.xml ${MC_ICON_FILES})
