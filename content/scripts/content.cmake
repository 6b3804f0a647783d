# Dialog scripts: copied as they are into the package under scripts/.
file(GLOB mc_dialog_scripts CONFIGURE_DEPENDS ${CMAKE_CURRENT_LIST_DIR}/*.lua)
set(mc_script_outputs "")
foreach(source IN LISTS mc_dialog_scripts)
  get_filename_component(name ${source} NAME)
  set(target ${MC_CONTENT_STAGE}/scripts/${name})
  add_custom_command(OUTPUT ${target}
    COMMAND ${CMAKE_COMMAND} -E copy ${source} ${target}
    DEPENDS ${source}
    COMMENT "Staging scripts/${name}")
  list(APPEND mc_script_outputs ${target})
endforeach()
set_property(GLOBAL APPEND PROPERTY MC_CONTENT_OUTPUTS ${mc_script_outputs})
