# A test that no symbol is defined twice across the project's static
# libraries (tests/check_unique_symbols.sh), over every static library that
# the folders define, so a library added or split later is checked too.

# Appends to `out` the static libraries defined in `dir` and below it.
function(selvane_static_libraries dir out)
  set(found ${${out}})
  get_property(targets DIRECTORY ${dir} PROPERTY BUILDSYSTEM_TARGETS)
  foreach(target IN LISTS targets)
    get_target_property(type ${target} TYPE)
    if(type STREQUAL "STATIC_LIBRARY")
      list(APPEND found ${target})
    endif()
  endforeach()
  get_property(subdirectories DIRECTORY ${dir} PROPERTY SUBDIRECTORIES)
  foreach(subdirectory IN LISTS subdirectories)
    selvane_static_libraries(${subdirectory} found)
  endforeach()
  set(${out} ${found} PARENT_SCOPE)
endfunction()

set(SELVANE_STATIC_LIBRARIES "")
selvane_static_libraries(${CMAKE_SOURCE_DIR} SELVANE_STATIC_LIBRARIES)
set(SELVANE_STATIC_LIBRARY_FILES "")
foreach(library IN LISTS SELVANE_STATIC_LIBRARIES)
  list(APPEND SELVANE_STATIC_LIBRARY_FILES $<TARGET_FILE:${library}>)
endforeach()
add_test(NAME UniqueSymbols.NoSymbolDefinedTwiceAcrossLibraries
  COMMAND bash ${CMAKE_SOURCE_DIR}/tests/check_unique_symbols.sh ${SELVANE_STATIC_LIBRARY_FILES})
