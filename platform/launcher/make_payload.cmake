# Builds the launcher's payload: the cabinet (MSZIP) of the game installation.
# -DPROGRAM= the game program, -DASSETS= its assets folder, -DREADME= README.md,
# -DEULA= the licence text, -DSTAGE= a folder to gather the files in, -DOUTPUT= the cabinet.
file(REMOVE_RECURSE ${STAGE})
file(MAKE_DIRECTORY ${STAGE}/assets)
file(COPY ${EULA} DESTINATION ${STAGE})
file(COPY ${PROGRAM} DESTINATION ${STAGE})
foreach(name assets.tvp settings.xml strings.xml)
  file(COPY ${ASSETS}/${name} DESTINATION ${STAGE}/assets)
endforeach()

# readme.htm: the README as preformatted text.
file(READ ${README} text)
string(REPLACE "&" "&amp;" text "${text}")
string(REPLACE "<" "&lt;" text "${text}")
string(REPLACE ">" "&gt;" text "${text}")
file(WRITE ${STAGE}/readme.htm
     "<!DOCTYPE html>\n<html><head><meta charset=\"utf-8\"><title>Mahjong Curio Mar</title></head>\n"
     "<body><pre>\n${text}</pre></body></html>\n")

get_filename_component(program_name ${PROGRAM} NAME)
execute_process(COMMAND gcab -c -z ${OUTPUT}.new EULA.txt ${program_name} readme.htm
                        assets/assets.tvp assets/settings.xml assets/strings.xml
                WORKING_DIRECTORY ${STAGE} RESULT_VARIABLE result)
if(NOT result EQUAL 0)
  message(FATAL_ERROR "gcab could not build ${OUTPUT}")
endif()
file(RENAME ${OUTPUT}.new ${OUTPUT})
file(REMOVE_RECURSE ${STAGE})
