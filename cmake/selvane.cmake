# Build helpers shared by every folder.

# selvane_tests(NAME SOURCES... LIBS... [TIMEOUT SECONDS] [LABELS L...]
#               [REAL_TIME FILTER]): one GoogleTest executable under CTest.
# Tests run against a fresh device in a temporary folder; the fixture sets
# SELVANE_DEVICE itself, so nothing here touches the user's device. TIMEOUT
# gives tests that run the phone for long spans of virtual time more than
# ctest's default; LABELS lets a suite leave them out (ctest -LE). The tests
# that REAL_TIME's GoogleTest filter matches run on the host's own time (its
# audio, an X server) rather than the phone's virtual time: they are labelled
# real_time and run alone (RUN_SERIAL), so that a parallel run, slow under
# the sanitizers, does not starve them.
function(selvane_tests name)
  cmake_parse_arguments(T "" "TIMEOUT;REAL_TIME" "SOURCES;LIBS;LABELS" ${ARGN})
  set(timeout)
  if(T_TIMEOUT)
    set(timeout TIMEOUT ${T_TIMEOUT})
  endif()
  if(T_LABELS)
    list(APPEND timeout LABELS "${T_LABELS}")
  endif()
  add_executable(${name} ${T_SOURCES})
  target_link_libraries(${name} PRIVATE ${T_LIBS} GTest::gtest GTest::gtest_main GTest::gmock)
  set_target_properties(${name} PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/tests)
  # Every property takes one value: the discovered tests' property list is
  # split at each ";", so a list value would turn the properties after it
  # (TIMEOUT, LABELS) into nonsense. The tests find the programs themselves.
  # A parameterised test's CTest name is its GoogleTest name, which its
  # parameter's PrintTo makes readable; CMake would otherwise append the
  # printed value to every name its generator gave.
  set(rest)
  if(T_REAL_TIME)
    set(rest TEST_FILTER "-${T_REAL_TIME}")
    set(real_time)
    if(T_TIMEOUT)
      set(real_time TIMEOUT ${T_TIMEOUT})
    endif()
    gtest_discover_tests(${name} NO_PRETTY_VALUES TEST_FILTER "${T_REAL_TIME}"
      PROPERTIES ENVIRONMENT "SELVANE_DISPLAY=headless" ${real_time} LABELS real_time RUN_SERIAL TRUE
      DISCOVERY_TIMEOUT 60)
  endif()
  gtest_discover_tests(${name} NO_PRETTY_VALUES ${rest}
    PROPERTIES ENVIRONMENT "SELVANE_DISPLAY=headless" ${timeout}
    DISCOVERY_TIMEOUT 60)
endfunction()

# Resource scripts are compiled by llvm-rc (Debian's llvm package), after the
# C compiler has preprocessed them (cmake/compile_resources.cmake).
find_program(SELVANE_LLVM_RC NAMES llvm-rc llvm-rc-19 llvm-rc-18 llvm-rc-17 llvm-rc-16 llvm-rc-15 llvm-rc-14)
if(NOT SELVANE_LLVM_RC)
  message(FATAL_ERROR "llvm-rc, the resource compiler, was not found: install Debian's llvm package "
                      "(apt-get install llvm, or bash scripts/install-deps.sh)")
endif()
set(SELVANE_WIN32_HEADERS ${CMAKE_SOURCE_DIR}/platform/include)
set(SELVANE_COMPILE_RESOURCES ${CMAKE_CURRENT_LIST_DIR}/compile_resources.cmake)

# selvane_resources(TARGET SCRIPT.rc): compiles the resource script and
# links its resources into the executable TARGET, where FindResourceW finds
# them. Bitmap files are looked up beside the script. Editing the script, a
# header it includes or a bitmap it names (on a BITMAP line of the script
# itself) rebuilds.
function(selvane_resources target script)
  get_filename_component(script_path ${script} ABSOLUTE)
  get_filename_component(script_dir ${script_path} DIRECTORY)
  get_filename_component(script_name ${script_path} NAME_WE)
  set(output ${CMAKE_CURRENT_BINARY_DIR}/${target}_${script_name}_resources.cpp)

  # The bitmaps the script names, read again whenever the script changes.
  set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS ${script_path})
  file(STRINGS ${script_path} bitmap_lines REGEX "[ \t]BITMAP[ \t]")
  set(bitmaps)
  foreach(line IN LISTS bitmap_lines)
    if(line MATCHES "\"([^\"]+)\"")
      list(APPEND bitmaps ${script_dir}/${CMAKE_MATCH_1})
    endif()
  endforeach()

  add_custom_command(
    OUTPUT ${output}
    COMMAND ${CMAKE_COMMAND} -DCOMPILER=${CMAKE_C_COMPILER} -DLLVM_RC=${SELVANE_LLVM_RC}
            -DHEADERS=${SELVANE_WIN32_HEADERS} -DSCRIPT=${script_path} -DOUTPUT=${output}
            -DDEPFILE=${output}.d -P ${SELVANE_COMPILE_RESOURCES}
    DEPENDS ${script_path} ${bitmaps} ${SELVANE_COMPILE_RESOURCES}
    DEPFILE ${output}.d
    COMMENT "Compiling resources ${script}"
    VERBATIM)
  target_sources(${target} PRIVATE ${output})
endfunction()
