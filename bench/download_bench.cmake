# Downloads against curl, extraction against unzip, and the scheduler's idle cost (plain main).
add_executable(download_bench ${CMAKE_CURRENT_SOURCE_DIR}/download_bench.cpp)
target_link_libraries(download_bench PRIVATE ravelo_download PkgConfig::MINIZIP)
target_compile_definitions(download_bench PRIVATE RAVELO_SERVER_EXE="$<TARGET_FILE:ravelo-server>")
add_dependencies(download_bench ravelo-server)
