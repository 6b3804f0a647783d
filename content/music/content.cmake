# Music: every piece of notation content/music/<name>.abc becomes audio/music/<name>.ogg,
# rendered with fluidsynth, looped and levelled by make_music.py. One command per piece,
# so pieces render in parallel and only changed ones again. Measurements go to
# content/music/<name>.txt in the build folder.
set(music_dir ${CMAKE_CURRENT_LIST_DIR})
file(GLOB music_sources CONFIGURE_DEPENDS ${music_dir}/*.abc)
list(SORT music_sources)
foreach(source IN LISTS music_sources)
  get_filename_component(name ${source} NAME_WE)
  set(output ${MC_CONTENT_STAGE}/audio/music/${name}.ogg)
  add_custom_command(
    OUTPUT ${output}
    COMMAND ${MC_PYTHON} ${music_dir}/make_music.py ${source} ${output}
            ${CMAKE_BINARY_DIR}/content/music/${name}.txt
    DEPENDS ${source} ${music_dir}/make_music.py ${music_dir}/../audio/audio_common.py
    COMMENT "Music ${name}")
  set_property(GLOBAL APPEND PROPERTY MC_CONTENT_OUTPUTS ${output})
endforeach()
