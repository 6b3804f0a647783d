# Particle effects: the Lua scripts under effects/ are compiled by our own compiler
# (lua50 -c) and staged precompiled under the same names ("gamepiece/dust.lua"), as the
# game loads them. They are compiled from their folder so that the chunk names its source
# "gamepiece/dust.lua" wherever the tree lies. Their pictures are drawn by
# content/pictures/gen/particles.py.
file(GLOB_RECURSE mc_effect_scripts CONFIGURE_DEPENDS ${CMAKE_CURRENT_LIST_DIR}/*.lua)
set(mc_effect_outputs "")
foreach(source IN LISTS mc_effect_scripts)
  file(RELATIVE_PATH name ${CMAKE_CURRENT_LIST_DIR} ${source})
  set(target ${MC_CONTENT_STAGE}/${name})
  get_filename_component(folder ${target} DIRECTORY)
  add_custom_command(OUTPUT ${target}
    COMMAND ${CMAKE_COMMAND} -E make_directory ${folder}
    COMMAND lua50 -c ${name} ${target}
    WORKING_DIRECTORY ${CMAKE_CURRENT_LIST_DIR}
    DEPENDS ${source} lua50
    COMMENT "Compiling the effect ${name}")
  list(APPEND mc_effect_outputs ${target})
endforeach()
set_property(GLOBAL APPEND PROPERTY MC_CONTENT_OUTPUTS ${mc_effect_outputs})
