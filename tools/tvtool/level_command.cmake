# The level commands use the layout model, checker and solver of the game.
target_link_libraries(tvtool PRIVATE mc_game)
