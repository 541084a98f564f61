# Checks the include roots of the tree. Tests and their support are left
# out: they may use anything. Run as
#   cmake -DROOT=<repository> -DFAMILIES="text;device;..." -DTOP="entry;testing"
#         -DSYSTEM="store;phone;..." -P check_layering.cmake
#
# - Each family of the platform includes the families listed before it in
#   FAMILIES (bottom up, as platform/CMakeLists.txt lays them out) as
#   "../family/file.h", its own folder's headers as "file.h", and the public
#   headers as <name.h>; nothing else of the tree. The folders in TOP sit
#   above every family; the CE layer (ce_on_win32) includes only its own
#   folder and portable/, which both builds compile.
# - The system's folders (SYSTEM) include one another from the repository
#   root, "store/mode_store.h", and the platform only through its public
#   headers, <windows.h>.
cmake_minimum_required(VERSION 3.25)
set(failures "")
set(platform ${ROOT}/platform)
set(tree_folders ${SYSTEM} platform tools tests bench windows)

function(project_sources variable folder recurse)
  if(recurse)
    file(GLOB_RECURSE found ${folder}/*.cpp ${folder}/*.h)
  else()
    file(GLOB found ${folder}/*.cpp ${folder}/*.h)
  endif()
  list(FILTER found EXCLUDE REGEX "(_test|_test_support|_fuzzer)\\.(cpp|h)$|/fuzz_[^/]*$")
  set(${variable} ${found} PARENT_SCOPE)
endfunction()

# Angle includes of the tree's own folders ("<store/x.h>") pass for neither side.
function(check_angle_includes source)
  file(STRINGS ${source} includes REGEX "^#include <[a-z_]+/")
  foreach(line IN LISTS includes)
    string(REGEX REPLACE "^#include <([a-z_]+)/.*" "\\1" first "${line}")
    if(first IN_LIST tree_folders OR first IN_LIST FAMILIES)
      file(RELATIVE_PATH name ${ROOT} ${source})
      string(APPEND failures "  ${name}: ${line}, a folder of the tree as a system header\n")
    endif()
  endforeach()
  set(failures "${failures}" PARENT_SCOPE)
endfunction()

# The names SOURCE includes in quotes.
function(quoted_includes variable source)
  file(STRINGS ${source} lines REGEX "^#include \"")
  list(TRANSFORM lines REPLACE "^#include \"([^\"]+)\".*" "\\1")
  set(${variable} ${lines} PARENT_SCOPE)
endfunction()

# check_platform_folder(FOLDER ALLOWED): FOLDER's sources include only their
# own folder and the families in ALLOWED.
function(check_platform_folder folder allowed)
  project_sources(sources ${platform}/${folder} FALSE)
  foreach(source IN LISTS sources)
    file(RELATIVE_PATH name ${ROOT} ${source})
    check_angle_includes(${source})
    quoted_includes(includes ${source})
    foreach(included IN LISTS includes)
      if(included MATCHES "^[a-z_0-9]+\\.h$")
        if(NOT EXISTS ${platform}/${folder}/${included})
          string(APPEND failures "  ${name} includes \"${included}\", which is not in ${folder}/\n")
        endif()
      elseif(included MATCHES "^\\.\\./([a-z_]+)/[a-z_0-9]+\\.h$")
        set(family ${CMAKE_MATCH_1})
        if(NOT family IN_LIST allowed)
          if(family IN_LIST FAMILIES)
            string(APPEND failures "  ${name} includes ${family}/, which lies above ${folder}/\n")
          else()
            string(APPEND failures "  ${name} includes ${family}/, which is not a family of the platform\n")
          endif()
        endif()
      else()
        string(APPEND failures "  ${name} includes \"${included}\", which is not a family of the platform\n")
      endif()
    endforeach()
  endforeach()
  set(failures "${failures}" PARENT_SCOPE)
endfunction()

set(below "")
foreach(family IN LISTS FAMILIES)
  list(APPEND below ${family})
  check_platform_folder(${family} "${below}")
endforeach()
foreach(folder IN LISTS TOP)
  check_platform_folder(${folder} "${FAMILIES}")
endforeach()
check_platform_folder(ce_on_win32 "portable")

foreach(folder IN LISTS SYSTEM)
  project_sources(sources ${ROOT}/${folder} TRUE)
  foreach(source IN LISTS sources)
    file(RELATIVE_PATH name ${ROOT} ${source})
    check_angle_includes(${source})
    quoted_includes(includes ${source})
    foreach(included IN LISTS includes)
      string(REGEX REPLACE "/.*" "" first "${included}")
      if(NOT included MATCHES "/" OR NOT first IN_LIST SYSTEM)
        string(APPEND failures "  ${name} includes \"${included}\", which is not a folder of the system\n")
      endif()
    endforeach()
  endforeach()
endforeach()

if(failures)
  message(FATAL_ERROR "includes outside the layering:\n${failures}")
endif()
