# The program's windows under a private Xvfb: start-up, idle CPU and wake-ups, memory over page turns,
# latency with a stalled server, each beside a bare Qt window in the same run (plain main).
add_executable(window_bench ${CMAKE_CURRENT_SOURCE_DIR}/window_bench.cpp)
target_include_directories(window_bench PRIVATE ${PROJECT_SOURCE_DIR}/src ${PROJECT_SOURCE_DIR}/tests)
target_link_libraries(window_bench PRIVATE ravelo_gui_common Qt6::Widgets Threads::Threads)
add_dependencies(window_bench ravelo ravelo-server)
target_compile_definitions(window_bench PRIVATE RAVELO_SERVER_EXE="$<TARGET_FILE:ravelo-server>"
                                                RAVELO_EXE="$<TARGET_FILE:ravelo>")
