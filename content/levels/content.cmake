# Level layouts: each drawing content/levels/level_NNN.txt becomes the level file
# levels/level_NNN.xml of the package, and tutorial.txt becomes levels/tutorial/tutorial.xml.
# `tvtool levelcheck` checks every layout first; a failing layout stops the build.
set(levels_dir ${CMAKE_CURRENT_LIST_DIR})
file(GLOB level_sources CONFIGURE_DEPENDS ${levels_dir}/level_[0-9][0-9][0-9].txt)
list(SORT level_sources)

set(levels_checked ${CMAKE_BINARY_DIR}/content/levels_checked.stamp)
add_custom_command(
  OUTPUT ${levels_checked}
  COMMAND tvtool levelcheck ${level_sources}
  COMMAND tvtool levelcheck --tutorial ${levels_dir}/tutorial.txt
  COMMAND ${CMAKE_COMMAND} -E touch ${levels_checked}
  DEPENDS ${level_sources} ${levels_dir}/tutorial.txt tvtool
  COMMENT "Checking level layouts")
set_property(GLOBAL APPEND PROPERTY MC_CONTENT_OUTPUTS ${levels_checked})

foreach(source IN LISTS level_sources)
  get_filename_component(name ${source} NAME_WE)
  set(output ${MC_CONTENT_STAGE}/levels/${name}.xml)
  add_custom_command(
    OUTPUT ${output}
    COMMAND tvtool level ${source} ${output}
    DEPENDS ${source} tvtool ${levels_checked}
    COMMENT "Level ${name}")
  set_property(GLOBAL APPEND PROPERTY MC_CONTENT_OUTPUTS ${output})
endforeach()

set(tutorial_output ${MC_CONTENT_STAGE}/levels/tutorial/tutorial.xml)
add_custom_command(
  OUTPUT ${tutorial_output}
  COMMAND tvtool level ${levels_dir}/tutorial.txt ${tutorial_output}
  DEPENDS ${levels_dir}/tutorial.txt tvtool ${levels_checked}
  COMMENT "Tutorial level")
set_property(GLOBAL APPEND PROPERTY MC_CONTENT_OUTPUTS ${tutorial_output})
