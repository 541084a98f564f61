# Checks that each family of the platform includes only the public headers
# and the families listed before it in FAMILIES (bottom up), so that the
# layering written in platform/CMakeLists.txt holds. Tests are left out:
# they may use anything. Run as
#   cmake -DPLATFORM=<platform folder> -DFAMILIES="text;device;..." -P check_layering.cmake
set(failures "")
set(index 0)
foreach(family IN LISTS FAMILIES)
  file(GLOB sources ${PLATFORM}/${family}/*.cpp ${PLATFORM}/${family}/*.h)
  list(FILTER sources EXCLUDE REGEX "_test\\.cpp$")
  foreach(source IN LISTS sources)
    file(STRINGS ${source} includes REGEX "^#include \"[a-z]+/")
    foreach(line IN LISTS includes)
      string(REGEX REPLACE "^#include \"([a-z]+)/.*" "\\1" included "${line}")
      list(FIND FAMILIES ${included} position)
      if(position GREATER index)
        file(RELATIVE_PATH name ${PLATFORM} ${source})
        string(APPEND failures "  ${name} includes ${included}/, which lies above ${family}/\n")
      endif()
    endforeach()
  endforeach()
  math(EXPR index "${index} + 1")
endforeach()
if(failures)
  message(FATAL_ERROR "the platform's families include upwards:\n${failures}")
endif()
