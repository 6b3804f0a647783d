# strings.xml: the string table, built from the readable sources content/strings/*.txt
# and checked against the face catalogue (every face's appraisal texts, every suit name,
# the spread of appraisal amounts over the diamond ratings). A failed check stops the
# build. The table is a loose file beside the package.
set(strings_dir ${CMAKE_CURRENT_LIST_DIR})
file(GLOB strings_sources CONFIGURE_DEPENDS ${strings_dir}/*.txt)
list(SORT strings_sources)
set(strings_catalogue ${strings_dir}/../catalogue/faces.csv)
set(strings_settings ${strings_dir}/../settings/settings.xml)
add_custom_command(
  OUTPUT ${MC_ASSETS_DIR}/strings.xml
  COMMAND ${MC_PYTHON} ${strings_dir}/make_strings.py ${strings_catalogue} ${strings_settings}
          ${MC_ASSETS_DIR}/strings.xml ${strings_sources}
  DEPENDS ${strings_dir}/make_strings.py ${strings_sources} ${strings_catalogue}
          ${strings_settings}
  COMMENT "strings.xml")
set_property(GLOBAL APPEND PROPERTY MC_CONTENT_OUTPUTS ${MC_ASSETS_DIR}/strings.xml)
