# Build helpers shared by every folder.

# selvane_tests(NAME SOURCES... LIBS...): one GoogleTest executable under CTest.
# Tests run against a fresh device in a temporary folder; the fixture sets
# SELVANE_DEVICE itself, so nothing here touches the user's device.
function(selvane_tests name)
  cmake_parse_arguments(T "" "" "SOURCES;LIBS" ${ARGN})
  add_executable(${name} ${T_SOURCES})
  target_link_libraries(${name} PRIVATE ${T_LIBS} GTest::gtest GTest::gtest_main GTest::gmock)
  set_target_properties(${name} PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/tests)
  gtest_discover_tests(${name}
    PROPERTIES ENVIRONMENT "SELVANE_DISPLAY=headless;SELVANE_BIN=${CMAKE_BINARY_DIR}/bin"
    DISCOVERY_TIMEOUT 60)
endfunction()
