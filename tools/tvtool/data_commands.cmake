# xml, strings, currency, prefs and computerid read the engine's data formats.
target_link_libraries(tvtool PRIVATE mc_data)
