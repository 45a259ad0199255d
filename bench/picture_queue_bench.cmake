# The picture queue against plain DownloadFile threads on loopback, and its idle cost (plain main).
add_executable(picture_queue_bench ${CMAKE_CURRENT_SOURCE_DIR}/picture_queue_bench.cpp)
target_link_libraries(picture_queue_bench PRIVATE ravelo_service PkgConfig::CPPHTTPLIB Threads::Threads)
