# ravelo_library(NAME SOURCES... DEPENDS targets...)
# One static library per subsystem; its public include root is src/ so that
# code names headers by subsystem ("store/LibraryDatabase.h").
function(ravelo_library name)
  cmake_parse_arguments(ARG "" "" "SOURCES;DEPENDS" ${ARGN})
  add_library(${name} STATIC ${ARG_SOURCES})
  target_include_directories(${name} PUBLIC ${PROJECT_SOURCE_DIR}/src)
  target_link_libraries(${name} PUBLIC ${ARG_DEPENDS})
endfunction()

# ravelo_test(NAME LABEL SOURCES... DEPENDS targets...)
# A GoogleTest executable whose cases are registered with CTest under LABEL.
function(ravelo_test name label)
  cmake_parse_arguments(ARG "" "TIMEOUT" "SOURCES;DEPENDS" ${ARGN})
  add_executable(${name} ${ARG_SOURCES})
  target_include_directories(${name} PRIVATE ${PROJECT_SOURCE_DIR}/src ${PROJECT_SOURCE_DIR}/tests)
  target_link_libraries(${name} PRIVATE ${ARG_DEPENDS} GTest::gtest GTest::gtest_main Threads::Threads)
  # Tests run from their own folder, not the portable program folder.
  set_target_properties(${name} PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_CURRENT_BINARY_DIR})
  if(NOT ARG_TIMEOUT)
    set(ARG_TIMEOUT 120)
  endif()
  gtest_discover_tests(${name}
    PROPERTIES LABELS ${label} TIMEOUT ${ARG_TIMEOUT}
    DISCOVERY_TIMEOUT 30)
endfunction()
