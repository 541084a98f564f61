# Build helpers shared by every folder.

# selvane_tests(NAME SOURCES... LIBS...): one GoogleTest executable under CTest.
# Tests run against a fresh device in a temporary folder; the fixture sets
# SELVANE_DEVICE itself, so nothing here touches the user's device.
function(selvane_tests name)
  cmake_parse_arguments(T "" "" "SOURCES;LIBS" ${ARGN})
  add_executable(${name} ${T_SOURCES})
  target_link_libraries(${name} PRIVATE ${T_LIBS} GTest::gtest GTest::gtest_main GTest::gmock)
  set_target_properties(${name} PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/tests)
  # A parameterised test's CTest name is its GoogleTest name, which its
  # parameter's PrintTo makes readable; CMake would otherwise append the
  # printed value to every name its generator gave.
  gtest_discover_tests(${name} NO_PRETTY_VALUES
    PROPERTIES ENVIRONMENT "SELVANE_DISPLAY=headless;SELVANE_BIN=${CMAKE_BINARY_DIR}/bin"
    DISCOVERY_TIMEOUT 60)
endfunction()

# Resource scripts are compiled by llvm-rc (Debian's llvm package), after the
# C compiler has preprocessed them as a Windows resource compiler does: as C,
# RC_INVOKED defined, seeing the platform's Win32 headers and nothing of the
# host's. The preprocessor's dependency list tracks the headers a script
# includes.
find_program(SELVANE_LLVM_RC NAMES llvm-rc llvm-rc-19 llvm-rc-18 llvm-rc-17 llvm-rc-16 llvm-rc-15 llvm-rc-14)
if(NOT SELVANE_LLVM_RC)
  message(FATAL_ERROR "llvm-rc, the resource compiler, was not found: install Debian's llvm package "
                      "(apt-get install llvm, or bash scripts/install-deps.sh)")
endif()
set(SELVANE_WIN32_HEADERS ${CMAKE_SOURCE_DIR}/platform/include)
set(SELVANE_EMBED_RESOURCES ${CMAKE_CURRENT_LIST_DIR}/embed_resources.cmake)

# selvane_resources(TARGET SCRIPT.rc): compiles the resource script and
# links its resources into the executable TARGET, where FindResourceW finds
# them. Bitmap files are looked up beside the script. Editing the script, a
# header it includes or a bitmap it names (on a BITMAP line of the script
# itself) rebuilds.
function(selvane_resources target script)
  get_filename_component(script_path ${script} ABSOLUTE)
  get_filename_component(script_dir ${script_path} DIRECTORY)
  get_filename_component(script_file ${script_path} NAME)
  get_filename_component(script_name ${script_path} NAME_WE)
  set(stem ${target}_${script_name})
  set(output ${CMAKE_CURRENT_BINARY_DIR}/${stem}_resources.cpp)

  # The bitmaps the script names, read again whenever the script changes.
  set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS ${script_path})
  file(STRINGS ${script_path} bitmap_lines REGEX "[ \t]BITMAP[ \t]")
  set(bitmaps)
  foreach(line IN LISTS bitmap_lines)
    if(line MATCHES "\"([^\"]+)\"")
      list(APPEND bitmaps ${script_dir}/${CMAKE_MATCH_1})
    endif()
  endforeach()

  # llvm-rc runs in the binary folder on file names without a folder, so that
  # no path can be taken for one of its "/" options.
  add_custom_command(
    OUTPUT ${output}
    COMMAND ${CMAKE_C_COMPILER} -E -xc -DRC_INVOKED -nostdinc -I ${SELVANE_WIN32_HEADERS}
            -MD -MF ${output}.d -MT ${output} ${script_path} -o ${stem}.rcpp
    COMMAND ${SELVANE_LLVM_RC} -no-preprocess -I ${script_dir} -FO ${stem}.res ${stem}.rcpp
    COMMAND ${CMAKE_COMMAND} -DRES=${stem}.res -DSCRIPT=${script_file} -DOUTPUT=${output}
            -P ${SELVANE_EMBED_RESOURCES}
    DEPENDS ${script_path} ${bitmaps} ${SELVANE_EMBED_RESOURCES}
    DEPFILE ${output}.d
    WORKING_DIRECTORY ${CMAKE_CURRENT_BINARY_DIR}
    COMMENT "Compiling resources ${script}"
    VERBATIM)
  target_sources(${target} PRIVATE ${output})
endfunction()
