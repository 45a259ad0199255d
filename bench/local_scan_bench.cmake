# The folder scan against find on a 100,000-file tree, and the idle scan worker's CPU (plain main).
add_executable(local_scan_bench ${CMAKE_CURRENT_SOURCE_DIR}/local_scan_bench.cpp)
target_link_libraries(local_scan_bench PRIVATE ravelo_library)
