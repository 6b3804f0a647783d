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
  OUTPUT ${MC_CONTENT_STAGE}/credits.txt
  COMMAND ${CMAKE_COMMAND} -E copy ${CMAKE_CURRENT_LIST_DIR}/credits.txt ${MC_CONTENT_STAGE}/credits.txt
  DEPENDS ${CMAKE_CURRENT_LIST_DIR}/credits.txt
  COMMENT "Staging credits.txt"
  VERBATIM)

# One generator: gen/NAME.py draws its pictures into the stage and lists them in NAME.stamp;
# it runs again when the script or any of the other files named after the comment change.
# The stamp joins pic_step_stamps, which the check below waits for.
set(pic_step_stamps "")
function(mc_picture_step name comment)
  set(stamp ${pic_stamps}/${name}.stamp)
  add_custom_command(
    OUTPUT ${stamp}
    COMMAND ${MC_PYTHON} ${pic_gen}/${name}.py ${MC_CONTENT_STAGE} ${stamp}
    DEPENDS ${pic_gen}/${name}.py ${ARGN}
    COMMENT "${comment}"
    VERBATIM)
  set(pic_step_stamps ${pic_step_stamps} ${stamp} PARENT_SCOPE)
endfunction()

mc_picture_step(blanks "Drawing tile blanks" ${pic_common})
mc_picture_step(signs "Drawing cursors and signs" ${pic_common})
mc_picture_step(backgrounds "Drawing level backgrounds" ${pic_common} ${pic_gen}/scene.py)
mc_picture_step(widgets "Drawing widget pictures" ${pic_gen}/paint.py)
mc_picture_step(playscreen "Drawing the play screen's buttons, plaques, drawer and preview card" ${pic_common})
mc_picture_step(hiscore "Drawing the high-score screens' pictures" ${pic_common} ${pic_gen}/signs.py)
mc_picture_step(animations "Drawing the decorative animations" ${pic_common})
mc_picture_step(particles "Drawing the particle pictures" ${pic_common} ${pic_gen}/animations.py)
mc_picture_step(menus "Drawing the menu screens' pictures" ${pic_common})
mc_picture_step(citymap "Drawing the city map" ${pic_common} ${pic_gen}/menus.py)
mc_picture_step(appraisers "Drawing the appraisers and the end-of-level pieces" ${pic_common} ${pic_gen}/menus.py)
mc_picture_step(editor "Drawing the layout chooser and editor pictures" ${pic_common} ${pic_gen}/menus.py)

set(pic_all_stamps ${pic_face_stamps} ${pic_step_stamps})

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
