# The installed product, described once in product/manifest.json: where its
# programs are installed, which programs there are, the store's root key
# (also the key of its Today item, whose "DLL" names the item's library) and
# the ring tone its factory modes ring with, which a fresh phone ships.
#
# product_manifest_header(): generates generated/product/product_manifest.h,
# the names as text macros for the programs (TEXT(PRODUCT_ROOT_KEY "\\%s")).
# product_image_source(VARIABLE): generates the source that gives the
# platform the product to install on a fresh device, and names it in
# VARIABLE.
#
# Run as a script (cmake -DPRODUCT_MANIFEST=FILE -P product.cmake) it only
# checks a manifest.
if(NOT PRODUCT_MANIFEST)
  set(PRODUCT_MANIFEST ${CMAKE_CURRENT_LIST_DIR}/manifest.json)
endif()
set(PRODUCT_GENERATED ${CMAKE_BINARY_DIR}/generated)
if(NOT CMAKE_SCRIPT_MODE_FILE)
  set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS ${PRODUCT_MANIFEST})
endif()
file(READ ${PRODUCT_MANIFEST} product_json)

# product_text(VARIABLE PATTERN KEY...): the text at KEY... of the manifest,
# which must match PATTERN; a missing or malformed entry stops the build.
function(product_text variable pattern)
  string(JSON value ERROR_VARIABLE failure GET "${product_json}" ${ARGN})
  if(failure)
    message(FATAL_ERROR "${PRODUCT_MANIFEST}: ${failure}")
  endif()
  if(NOT value MATCHES "${pattern}")
    string(JOIN "." entry ${ARGN})
    message(FATAL_ERROR "${PRODUCT_MANIFEST}: \"${entry}\" is \"${value}\", which does not match ${pattern}")
  endif()
  set(${variable} "${value}" PARENT_SCOPE)
endfunction()

# A device path from the root, and a file name on the device: printable
# ASCII without double quotes.
set(product_path_pattern "^\\\\[ !#-~]+$")
set(product_file_pattern "^[ !#-~]+$")
# A built binary's name.
set(product_binary_pattern "^[A-Za-z0-9_-]+$")

product_text(PRODUCT_INSTALL_FOLDER "${product_path_pattern}" installFolder)
product_text(PRODUCT_TODAY_SCREEN "${product_binary_pattern}" todayScreen)
product_text(PRODUCT_ROOT_KEY "${product_path_pattern}" storeRootKey)
product_text(PRODUCT_LIBRARY "${product_file_pattern}" todayItemLibrary)
product_text(PRODUCT_RING_TONE "${product_file_pattern}" ringTone)
# A path's every folder has a name: no "\\" within, no "\" at the end.
foreach(path IN ITEMS "${PRODUCT_INSTALL_FOLDER}" "${PRODUCT_ROOT_KEY}")
  if(path MATCHES "\\\\\\\\|\\\\$")
    message(FATAL_ERROR "${PRODUCT_MANIFEST}: \"${path}\" has a folder without a name")
  endif()
endforeach()
foreach(name IN ITEMS "${PRODUCT_LIBRARY}" "${PRODUCT_RING_TONE}")
  string(FIND "${name}" "\\" separator)
  if(NOT separator EQUAL -1)
    message(FATAL_ERROR "${PRODUCT_MANIFEST}: \"${name}\" is a path, where a file name belongs")
  endif()
endforeach()
string(JSON product_program_count ERROR_VARIABLE failure LENGTH "${product_json}" programs)
if(failure OR product_program_count EQUAL 0)
  message(FATAL_ERROR "${PRODUCT_MANIFEST}: \"programs\" must list the installed programs")
endif()
set(PRODUCT_PROGRAMS)
math(EXPR product_last "${product_program_count} - 1")
foreach(index RANGE ${product_last})
  product_text(program "${product_binary_pattern}" programs ${index})
  list(APPEND PRODUCT_PROGRAMS ${program})
endforeach()

# C text of a manifest value: its backslashes doubled.
function(product_c_text variable value)
  string(REPLACE "\\" "\\\\" value "${value}")
  set(${variable} "\"${value}\"" PARENT_SCOPE)
endfunction()
product_c_text(PRODUCT_INSTALL_FOLDER_C "${PRODUCT_INSTALL_FOLDER}")
product_c_text(PRODUCT_ROOT_KEY_C "${PRODUCT_ROOT_KEY}")
product_c_text(PRODUCT_LIBRARY_C "${PRODUCT_LIBRARY}")
product_c_text(PRODUCT_RING_TONE_C "${PRODUCT_RING_TONE}")

function(product_manifest_header)
  file(CONFIGURE OUTPUT ${PRODUCT_GENERATED}/product/product_manifest.h CONTENT
"// Generated from product/manifest.json: the names the programs are installed under.
#pragma once

// The folder of the programs and the Today item's library.
#define PRODUCT_INSTALL_FOLDER ${PRODUCT_INSTALL_FOLDER_C}
// The store's root key under HKEY_LOCAL_MACHINE, also the Today item's key.
#define PRODUCT_ROOT_KEY ${PRODUCT_ROOT_KEY_C}
// The Today item's library file, in the install folder.
#define PRODUCT_LIBRARY ${PRODUCT_LIBRARY_C}
// The ring tone of the factory modes, one of the phone's own (\\windows\\rings).
#define PRODUCT_RING_TONE ${PRODUCT_RING_TONE_C}
")
endfunction()

function(product_image_source variable)
  set(programs "")
  foreach(program IN LISTS PRODUCT_PROGRAMS)
    string(APPEND programs "\"${program}\", ")
  endforeach()
  set(source ${PRODUCT_GENERATED}/installed_product.cpp)
  file(CONFIGURE OUTPUT ${source} CONTENT
"// Generated from product/manifest.json: the product a fresh device gets.
#include \"platform/device/installed_product.h\"

namespace platform {

namespace {
const char* const kPrograms[] = {${programs}};
}  // namespace

const InstalledProduct kInstalledProduct = {
    u${PRODUCT_INSTALL_FOLDER_C},
    kPrograms,
    ${product_program_count},
    \"${PRODUCT_TODAY_SCREEN}\",
    u${PRODUCT_ROOT_KEY_C},
    u${PRODUCT_INSTALL_FOLDER_C} u\"\\\\\" u${PRODUCT_LIBRARY_C},
    u${PRODUCT_RING_TONE_C},
};

}  // namespace platform
")
  set(${variable} ${source} PARENT_SCOPE)
endfunction()
