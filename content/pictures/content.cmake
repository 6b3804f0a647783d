# Pictures: tile faces, blanks, slot backgrounds, signs, cursors, level backgrounds, the
# decorative animations' sprite sheets and the particle pictures,
# drawn by the Python generators in gen/. Each generator writes its pictures into the
# stage and a stamp file that lists them; a check then makes sure that every picture the
# game asks for is there, and the review sheets go to ${CMAKE_BINARY_DIR}/content/review.

set(pic_gen ${CMAKE_CURRENT_LIST_DIR}/gen)
set(pic_stamps ${CMAKE_BINARY_DIR}/content/pictures)
set(pic_review ${CMAKE_BINARY_DIR}/content/review)
set(pic_catalogue ${CMAKE_SOURCE_DIR}/content/catalogue/faces.csv)
file(MAKE_DIRECTORY ${pic_stamps})

set(pic_common ${pic_gen}/paint.py ${pic_gen}/vector.py)
set(pic_face_sources
    ${pic_common} ${pic_gen}/faces.py ${pic_gen}/canvas.py ${pic_gen}/catalogue.py
    ${pic_gen}/recipes.py ${pic_gen}/vector2.py ${pic_gen}/vector3.py ${pic_catalogue})

# The faces are the bulk of the work: two halves that can run side by side.
set(pic_face_parts 2)
set(pic_face_stamps "")
math(EXPR last "${pic_face_parts} - 1")
foreach(part RANGE ${last})
  set(stamp ${pic_stamps}/faces_${part}.stamp)
  add_custom_command(
    OUTPUT ${stamp}
    COMMAND ${MC_PYTHON} ${pic_gen}/faces.py ${pic_catalogue} ${MC_CONTENT_STAGE} ${stamp}
            --part ${part}/${pic_face_parts}
    DEPENDS ${pic_face_sources}
    COMMENT "Drawing tile faces (part ${part} of ${pic_face_parts})"
    VERBATIM)
  list(APPEND pic_face_stamps ${stamp})
endforeach()

add_custom_command(
  OUTPUT ${pic_stamps}/blanks.stamp
  COMMAND ${MC_PYTHON} ${pic_gen}/blanks.py ${MC_CONTENT_STAGE} ${pic_stamps}/blanks.stamp
  DEPENDS ${pic_common} ${pic_gen}/blanks.py
  COMMENT "Drawing tile blanks"
  VERBATIM)

add_custom_command(
  OUTPUT ${pic_stamps}/signs.stamp
  COMMAND ${MC_PYTHON} ${pic_gen}/signs.py ${MC_CONTENT_STAGE} ${pic_stamps}/signs.stamp
  DEPENDS ${pic_common} ${pic_gen}/signs.py
  COMMENT "Drawing cursors and signs"
  VERBATIM)

add_custom_command(
  OUTPUT ${pic_stamps}/backgrounds.stamp
  COMMAND ${MC_PYTHON} ${pic_gen}/backgrounds.py ${MC_CONTENT_STAGE} ${pic_stamps}/backgrounds.stamp
  DEPENDS ${pic_common} ${pic_gen}/backgrounds.py ${pic_gen}/scene.py
  COMMENT "Drawing level backgrounds"
  VERBATIM)

add_custom_command(
  OUTPUT ${MC_CONTENT_STAGE}/credits.txt
  COMMAND ${CMAKE_COMMAND} -E copy ${CMAKE_CURRENT_LIST_DIR}/credits.txt ${MC_CONTENT_STAGE}/credits.txt
  DEPENDS ${CMAKE_CURRENT_LIST_DIR}/credits.txt
  COMMENT "Staging credits.txt"
  VERBATIM)

add_custom_command(
  OUTPUT ${pic_stamps}/widgets.stamp
  COMMAND ${MC_PYTHON} ${pic_gen}/widgets.py ${MC_CONTENT_STAGE} ${pic_stamps}/widgets.stamp
  DEPENDS ${pic_gen}/paint.py ${pic_gen}/widgets.py
  COMMENT "Drawing widget pictures"
  VERBATIM)

add_custom_command(
  OUTPUT ${pic_stamps}/playscreen.stamp
  COMMAND ${MC_PYTHON} ${pic_gen}/playscreen.py ${MC_CONTENT_STAGE} ${pic_stamps}/playscreen.stamp
  DEPENDS ${pic_common} ${pic_gen}/playscreen.py
  COMMENT "Drawing the play screen's buttons, plaques, drawer and preview card"
  VERBATIM)

add_custom_command(
  OUTPUT ${pic_stamps}/hiscore.stamp
  COMMAND ${MC_PYTHON} ${pic_gen}/hiscore.py ${MC_CONTENT_STAGE} ${pic_stamps}/hiscore.stamp
  DEPENDS ${pic_common} ${pic_gen}/hiscore.py ${pic_gen}/signs.py
  COMMENT "Drawing the high-score screens' pictures"
  VERBATIM)

add_custom_command(
  OUTPUT ${pic_stamps}/animations.stamp
  COMMAND ${MC_PYTHON} ${pic_gen}/animations.py ${MC_CONTENT_STAGE} ${pic_stamps}/animations.stamp
  DEPENDS ${pic_common} ${pic_gen}/animations.py
  COMMENT "Drawing the decorative animations"
  VERBATIM)

add_custom_command(
  OUTPUT ${pic_stamps}/particles.stamp
  COMMAND ${MC_PYTHON} ${pic_gen}/particles.py ${MC_CONTENT_STAGE} ${pic_stamps}/particles.stamp
  DEPENDS ${pic_common} ${pic_gen}/particles.py ${pic_gen}/animations.py
  COMMENT "Drawing the particle pictures"
  VERBATIM)

add_custom_command(
  OUTPUT ${pic_stamps}/menus.stamp
  COMMAND ${MC_PYTHON} ${pic_gen}/menus.py ${MC_CONTENT_STAGE} ${pic_stamps}/menus.stamp
  DEPENDS ${pic_common} ${pic_gen}/menus.py
  COMMENT "Drawing the menu screens' pictures"
  VERBATIM)

add_custom_command(
  OUTPUT ${pic_stamps}/citymap.stamp
  COMMAND ${MC_PYTHON} ${pic_gen}/citymap.py ${MC_CONTENT_STAGE} ${pic_stamps}/citymap.stamp
  DEPENDS ${pic_common} ${pic_gen}/citymap.py ${pic_gen}/menus.py
  COMMENT "Drawing the city map"
  VERBATIM)

add_custom_command(
  OUTPUT ${pic_stamps}/appraisers.stamp
  COMMAND ${MC_PYTHON} ${pic_gen}/appraisers.py ${MC_CONTENT_STAGE} ${pic_stamps}/appraisers.stamp
  DEPENDS ${pic_common} ${pic_gen}/appraisers.py ${pic_gen}/menus.py
  COMMENT "Drawing the appraisers and the end-of-level pieces"
  VERBATIM)

set(pic_all_stamps ${pic_face_stamps} ${pic_stamps}/blanks.stamp ${pic_stamps}/signs.stamp
    ${pic_stamps}/backgrounds.stamp ${pic_stamps}/widgets.stamp ${pic_stamps}/playscreen.stamp
    ${pic_stamps}/animations.stamp ${pic_stamps}/particles.stamp ${pic_stamps}/menus.stamp
    ${pic_stamps}/citymap.stamp ${pic_stamps}/appraisers.stamp ${pic_stamps}/hiscore.stamp)

# Fails the build when a picture the game asks for is missing or has the wrong size.
add_custom_command(
  OUTPUT ${pic_stamps}/check.stamp
  COMMAND ${MC_PYTHON} ${pic_gen}/check.py ${pic_catalogue} ${MC_CONTENT_STAGE} ${pic_stamps}/check.stamp
  DEPENDS ${pic_all_stamps} ${pic_gen}/check.py ${pic_gen}/catalogue.py ${pic_catalogue}
          ${pic_gen}/animations.py ${pic_gen}/particles.py
  COMMENT "Checking the staged pictures"
  VERBATIM)

add_custom_command(
  OUTPUT ${pic_stamps}/review.stamp
  COMMAND ${MC_PYTHON} ${pic_gen}/sheets.py ${pic_catalogue} ${MC_CONTENT_STAGE} ${pic_review}
          ${pic_stamps}/review.stamp
  DEPENDS ${pic_stamps}/check.stamp ${pic_gen}/sheets.py
  COMMENT "Writing review sheets to ${pic_review}"
  VERBATIM)

set_property(GLOBAL APPEND PROPERTY MC_CONTENT_OUTPUTS
             ${pic_all_stamps} ${pic_stamps}/check.stamp ${pic_stamps}/review.stamp
             ${MC_CONTENT_STAGE}/credits.txt)
