# The installed layout (`make install`, `make deb`), relative to the prefix:
#   bin/mahjongcuriomar                      the game
#   share/mahjongcuriomar/assets/            its package, settings and string table; the
#                                            game finds them from its own path
#                                            (frame/content_folder.h)
#   share/applications, share/metainfo,      desktop entry, AppStream metainfo, icons
#   share/icons/hicolor/
#   share/doc/mahjongcuriomar/               copyright, credits.txt (outside sources of the
#                                            pictures, fonts and music)
#   bin/hiscored, lib/systemd/system/,       the high-score server (component "server"),
#   share/doc/hiscored/                      its systemd unit and example configuration
#   lib/mahjongcuriomar/activex_host,        the game in a web page (component "pagehost"):
#   lib/mahjongcuriomar/libactivex.so,       the page host, the launcher control it loads from
#   share/mahjongcuriomar/page/              beside itself (carrying its own copy of the game),
#   bin/mahjongcuriomar-page                 the sample page the host opens when given none,
#                                            and a link to the host for the player to start
#   bin/tvtool, bin/lua50                    the developer's tools (component "tools"), only
#                                            when asked for: `make install-tools`
# Component "game" is the game alone, the content of the Debian package; "pagehost" is the
# second package (tools/package/build_deb.sh).

set(MC_SHARE_DIR share/${PROJECT_NAME})

install(TARGETS mahjongcuriomar RUNTIME DESTINATION bin COMPONENT game)

# The package and every loose file the content build puts beside it.
get_property(content_outputs GLOBAL PROPERTY MC_CONTENT_OUTPUTS)
set(asset_files ${MC_BIN_DIR}/assets/assets.tvp)
foreach(file IN LISTS content_outputs)
  cmake_path(IS_PREFIX MC_BIN_DIR ${file} NORMALIZE in_bin)
  if(in_bin AND file MATCHES "/assets/[^/]+$")
    list(APPEND asset_files ${file})
  endif()
endforeach()
list(REMOVE_DUPLICATES asset_files)
install(FILES ${asset_files} DESTINATION ${MC_SHARE_DIR}/assets COMPONENT game)

get_property(desktop_dir GLOBAL PROPERTY MC_DESKTOP_DIR)
get_property(desktop_files GLOBAL PROPERTY MC_DESKTOP_FILES)
foreach(file IN LISTS desktop_files)
  if(file MATCHES "\\.desktop$")
    install(FILES ${file} DESTINATION share/applications COMPONENT game)
  elseif(file MATCHES "\\.metainfo\\.xml$")
    install(FILES ${file} DESTINATION share/metainfo COMPONENT game)
  else()
    file(RELATIVE_PATH relative ${desktop_dir}/icons ${file})
    get_filename_component(folder ${relative} DIRECTORY)
    install(FILES ${file} DESTINATION share/icons/${folder} COMPONENT game)
  endif()
endforeach()
install(FILES ${CMAKE_SOURCE_DIR}/content/desktop/copyright ${CMAKE_SOURCE_DIR}/content/pictures/credits.txt
        DESTINATION share/doc/${PROJECT_NAME} COMPONENT game)

# What `make deb` (tools/package/build_deb.sh) needs to know of this build.
file(WRITE ${CMAKE_BINARY_DIR}/install/package.env
     "package=${PROJECT_NAME}\nversion=${PROJECT_VERSION}\nhomepage=${MC_WEBSITE}\n")

if(TARGET hiscored)
  install(TARGETS hiscored RUNTIME DESTINATION bin COMPONENT server)
  # The unit names the server by its installed path, known only when installing.
  set(unit_source ${CMAKE_SOURCE_DIR}/online/server/hiscored.service)
  set(unit ${CMAKE_BINARY_DIR}/install/hiscored.service)
  install(
    CODE "file(READ \"${unit_source}\" text)
          string(REPLACE \"/usr/local/bin/hiscored\" \"\${CMAKE_INSTALL_PREFIX}/bin/hiscored\" text \"\${text}\")
          file(WRITE \"${unit}\" \"\${text}\")"
    COMPONENT server)
  install(FILES ${unit} DESTINATION lib/systemd/system COMPONENT server)
  install(FILES ${CMAKE_SOURCE_DIR}/online/server/hiscored.example.xml
          DESTINATION share/doc/hiscored COMPONENT server)
endif()

if(TARGET activex_host AND TARGET activex)
  set(MC_LIB_DIR lib/${PROJECT_NAME})
  install(TARGETS activex_host RUNTIME DESTINATION ${MC_LIB_DIR} COMPONENT pagehost)
  install(TARGETS activex LIBRARY DESTINATION ${MC_LIB_DIR} COMPONENT pagehost)
  install(FILES ${CMAKE_SOURCE_DIR}/webcontrol/page/mahjongcuriomar.html
          DESTINATION ${MC_SHARE_DIR}/page COMPONENT pagehost)
  # A relative link, so it holds under any prefix and DESTDIR; the host follows it back to
  # its own folder to find the control and the page.
  set(page_link ${CMAKE_BINARY_DIR}/install/${PROJECT_NAME}-page)
  file(CREATE_LINK ../${MC_LIB_DIR}/activex_host ${page_link} SYMBOLIC)
  install(FILES ${page_link} DESTINATION bin COMPONENT pagehost)
endif()

foreach(tool IN ITEMS tvtool lua50)
  if(TARGET ${tool})
    install(TARGETS ${tool} RUNTIME DESTINATION bin COMPONENT tools EXCLUDE_FROM_ALL)
  endif()
endforeach()
