# The "more games" dialog script, staged as xsell/xsell.lua. No "xsell/xsell.xml" is
# shipped: without it the dialog lists nothing and the main menu does not offer it; a file
# placed beside the program (xsell/xsell.xml) fills it.
set(mc_xsell_source ${CMAKE_CURRENT_LIST_DIR}/xsell.lua)
set(mc_xsell_target ${MC_CONTENT_STAGE}/xsell/xsell.lua)
add_custom_command(OUTPUT ${mc_xsell_target}
  COMMAND ${CMAKE_COMMAND} -E copy ${mc_xsell_source} ${mc_xsell_target}
  DEPENDS ${mc_xsell_source}
  COMMENT "Staging xsell/xsell.lua")
set_property(GLOBAL APPEND PROPERTY MC_CONTENT_OUTPUTS ${mc_xsell_target})
