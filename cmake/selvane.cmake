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

# selvane_resources(TARGET SCRIPT.rc): compiles the resource script with
# selvane-rc and links the resources into the executable TARGET, where
# FindResourceW finds them. Headers the script includes and its BMP files
# are tracked, so changing one rebuilds.
function(selvane_resources target script)
  get_filename_component(script_path ${script} ABSOLUTE)
  get_filename_component(script_name ${script} NAME_WE)
  set(output ${CMAKE_CURRENT_BINARY_DIR}/${target}_${script_name}_resources.cpp)
  add_custom_command(
    OUTPUT ${output}
    COMMAND selvane-rc ${script_path} -o ${output} --depfile ${output}.d -I ${CMAKE_CURRENT_SOURCE_DIR}
    DEPENDS selvane-rc ${script_path}
    DEPFILE ${output}.d
    COMMENT "Compiling resources ${script}"
    VERBATIM)
  target_sources(${target} PRIVATE ${output})
endfunction()
