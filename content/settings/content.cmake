# settings.xml: the shipped settings, copied beside the package as a loose file.
add_custom_command(
  OUTPUT ${MC_ASSETS_DIR}/settings.xml
  COMMAND ${CMAKE_COMMAND} -E copy ${CMAKE_CURRENT_LIST_DIR}/settings.xml ${MC_ASSETS_DIR}/settings.xml
  DEPENDS ${CMAKE_CURRENT_LIST_DIR}/settings.xml
  COMMENT "settings.xml")
set_property(GLOBAL APPEND PROPERTY MC_CONTENT_OUTPUTS ${MC_ASSETS_DIR}/settings.xml)
