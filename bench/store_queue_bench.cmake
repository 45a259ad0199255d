# The library database's command queue against direct prepared inserts (plain main, prints a ratio).
add_executable(store_queue_bench ${CMAKE_CURRENT_SOURCE_DIR}/store_queue_bench.cpp)
target_link_libraries(store_queue_bench PRIVATE ravelo_store SQLite::SQLite3)
