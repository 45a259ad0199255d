# The UI library painting a main-window-sized layout of 40 game tiles against the same rectangles,
# pictures and texts drawn with plain QPainter calls in the same run (plain main, prints a ratio).
add_executable(ui_paint_bench ${CMAKE_CURRENT_SOURCE_DIR}/ui_paint_bench.cpp)
target_link_libraries(ui_paint_bench PRIVATE ravelo_uilib ravelo_skin)
