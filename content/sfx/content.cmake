# Sound effects: synthesised from the recipes in sfx_sources.py into audio/sfx/*.ogg,
# levelled to one loudness and checked (peaks below -1 dBFS). The measurements go to
# sfx_loudness.txt in the build folder.
set(sfx_dir ${CMAKE_CURRENT_LIST_DIR})
set(sfx_stamp ${CMAKE_BINARY_DIR}/content/sfx.stamp)
add_custom_command(
  OUTPUT ${sfx_stamp}
  COMMAND ${MC_PYTHON} ${sfx_dir}/make_sfx.py ${MC_CONTENT_STAGE}/audio/sfx
          ${CMAKE_BINARY_DIR}/content/sfx_loudness.txt
  COMMAND ${CMAKE_COMMAND} -E touch ${sfx_stamp}
  DEPENDS ${sfx_dir}/make_sfx.py ${sfx_dir}/sfx_sources.py
          ${CMAKE_CURRENT_LIST_DIR}/../audio/audio_common.py
  COMMENT "Sound effects")
set_property(GLOBAL APPEND PROPERTY MC_CONTENT_OUTPUTS ${sfx_stamp})
