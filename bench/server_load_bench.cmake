# ravelo-server's request rate on loopback against a bare cpp-httplib server in the same run
# (plain main, prints both rates and their ratio).
add_executable(server_load_bench ${CMAKE_CURRENT_SOURCE_DIR}/server_load_bench.cpp)
target_link_libraries(server_load_bench PRIVATE ravelo_server_core)
