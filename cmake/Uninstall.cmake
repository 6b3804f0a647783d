# `make uninstall`: removes every file the last `make install` and `make install-tools`
# recorded in the build's install manifests (paths below the prefix, without DESTDIR: give
# uninstall the DESTDIR that install had), then the folders that this left empty, up to
# but not including the prefix's standard folders (bin/, share/, share/applications/, ...),
# which other programs share. The game's own share/<game> and lib/<game> folders go with
# their files.
#
#   cmake -DBUILD_DIR=build -DPREFIX=/usr/local [-DDESTDIR=...] [-DGAME_FOLDER=name]
#         -P cmake/Uninstall.cmake

cmake_minimum_required(VERSION 3.25)

if(NOT BUILD_DIR OR NOT PREFIX)
  message(FATAL_ERROR "usage: cmake -DBUILD_DIR=... -DPREFIX=... [-DDESTDIR=...] -P Uninstall.cmake")
endif()
if(NOT GAME_FOLDER)
  set(GAME_FOLDER mahjongcuriomar)
endif()
cmake_path(SET root NORMALIZE "${DESTDIR}/${PREFIX}/")

set(manifests "")
foreach(name IN ITEMS install_manifest.txt install_manifest_tools.txt)
  if(EXISTS ${BUILD_DIR}/${name})
    list(APPEND manifests ${BUILD_DIR}/${name})
  endif()
endforeach()
if(NOT manifests)
  message(STATUS "Nothing to uninstall: no install manifest in ${BUILD_DIR} (run make install first)")
  return()
endif()

# A folder is kept when it is the prefix, a folder right below it (bin, share, lib) or right
# below one of those (share/applications, share/icons, lib/systemd, ...), unless it is one
# of the game's own folders.
function(prune_empty_folders folder)
  while(TRUE)
    cmake_path(IS_PREFIX root "${folder}" NORMALIZE inside)
    if(NOT inside)
      return()
    endif()
    file(RELATIVE_PATH relative "${root}" "${folder}")
    string(REGEX MATCHALL "[^/]+" parts "${relative}")
    list(LENGTH parts depth)
    if(depth LESS 3 AND NOT relative STREQUAL "share/${GAME_FOLDER}"
       AND NOT relative STREQUAL "lib/${GAME_FOLDER}")
      return()
    endif()
    file(GLOB left "${folder}/*" "${folder}/.*")
    if(left OR NOT IS_DIRECTORY "${folder}")
      return()
    endif()
    file(REMOVE_RECURSE "${folder}")  # empty, as checked above
    if(IS_DIRECTORY "${folder}")
      return()
    endif()
    message(STATUS "Removed folder ${folder}")
    cmake_path(GET folder PARENT_PATH folder)
  endwhile()
endfunction()

foreach(manifest IN LISTS manifests)
  file(STRINGS ${manifest} installed)
  foreach(path IN LISTS installed)
    cmake_path(SET file NORMALIZE "${DESTDIR}/${path}")
    if(NOT EXISTS "${file}" AND NOT IS_SYMLINK "${file}")
      continue()  # removed already
    endif()
    file(REMOVE "${file}")
    if(EXISTS "${file}")
      message(WARNING "Cannot remove ${file}")
      continue()
    endif()
    message(STATUS "Removed ${file}")
    cmake_path(GET file PARENT_PATH folder)
    prune_empty_folders("${folder}")
  endforeach()
endforeach()
