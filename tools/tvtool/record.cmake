# The record command reads players' progress with the game's own record (no windows).
target_link_libraries(tvtool PRIVATE mc_campaign_record)
