# Checks product.cmake's reading of a manifest: the tree's own passes, and
# each faulty one stops with a message that names its fault. Run as
#   cmake -DWORK=<scratch folder> -P product_test.cmake
set(failures "")
set(checker ${CMAKE_CURRENT_LIST_DIR}/product.cmake)
file(REMOVE_RECURSE ${WORK})
file(MAKE_DIRECTORY ${WORK})

# check(NAME EXPECTED JSON): EXPECTED "" for a manifest that must pass, else
# a pattern the refusal must match.
function(check name expected json)
  set(manifest ${WORK}/${name}.json)
  file(WRITE ${manifest} "${json}")
  execute_process(COMMAND ${CMAKE_COMMAND} -DPRODUCT_MANIFEST=${manifest} -P ${checker}
                  RESULT_VARIABLE status ERROR_VARIABLE message OUTPUT_QUIET)
  # CMake wraps its messages: compare them as one line.
  string(REGEX REPLACE "[ \n]+" " " message "${message}")
  if(expected STREQUAL "" AND NOT status EQUAL 0)
    string(APPEND failures "  ${name}: refused: ${message}\n")
  elseif(NOT expected STREQUAL "" AND (status EQUAL 0 OR NOT message MATCHES "${expected}"))
    string(APPEND failures "  ${name}: expected a refusal matching \"${expected}\", got status ${status}: ${message}\n")
  endif()
  set(failures "${failures}" PARENT_SCOPE)
endfunction()

# A manifest of the tree's form with one entry replaced.
function(manifest variable entry value)
  set(json [=[{"installFolder": "\\Program files\\App", "programs": ["One", "Two"], "todayScreen": "Shell",
    "storeRootKey": "\\Software\\Microsoft\\Today\\Items\\App", "todayItemLibrary": "App.dll",
    "ringTone": "Bell .wma"}]=])
  if(entry)
    string(JSON json SET "${json}" ${entry} "${value}")
  endif()
  set(${variable} "${json}" PARENT_SCOPE)
endfunction()

file(READ ${CMAKE_CURRENT_LIST_DIR}/manifest.json tree_manifest)
check(tree "" "${tree_manifest}")
manifest(good "" "")
check(good "" "${good}")

# A program name is joined to the program folder: no path may reach
# another binary of the host.
manifest(json programs [=[["One", "../bin/tool"]]=])
check(program_path "\"programs\\.1\" is \"\\.\\./bin/tool\"" "${json}")
manifest(json todayScreen [=["/bin/sh"]=])
check(shell_path "\"todayScreen\" is \"/bin/sh\"" "${json}")
manifest(json programs "[]")
check(no_programs "\"programs\" must list" "${json}")
# The names become C text: a quote or a character beyond ASCII is refused.
manifest(json ringTone [=["Bell\" .wma"]=])
check(quoted_tone "\"ringTone\" is" "${json}")
manifest(json todayItemLibrary [=["Äpp.dll"]=])
check(wide_library "\"todayItemLibrary\" is" "${json}")
manifest(json ringTone [=["rings\\Bell .wma"]=])
check(tone_path "is a path, where a file name belongs" "${json}")
manifest(json installFolder [=["Program files\\App"]=])
check(relative_folder "\"installFolder\" is" "${json}")
manifest(json installFolder [=["\\Program files\\"]=])
check(folder_ending "has a folder without a name" "${json}")
manifest(json storeRootKey [=["\\Software\\\\App"]=])
check(key_gap "has a folder without a name" "${json}")
string(JSON json REMOVE "${good}" storeRootKey)
check(missing_key "storeRootKey" "${json}")
check(not_json "not_json\\.json: failed parsing" "{\"programs\": [")

file(REMOVE_RECURSE ${WORK})
if(failures)
  message(FATAL_ERROR "product manifests read wrongly:\n${failures}")
endif()
