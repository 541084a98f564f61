# Compiles one resource script into a C++ source of the program, whose table
# the platform's FindResourceW searches (platform/user/resources.h):
#   cmake -DCOMPILER=CC -DLLVM_RC=LLVM-RC -DHEADERS=DIR -DSCRIPT=PATH.rc
#         -DOUTPUT=OUT.cpp [-DDEPFILE=OUT.d] -P compile_resources.cmake
# The C compiler preprocesses the script as a Windows resource compiler does
# (as C, RC_INVOKED defined, seeing the platform's headers in HEADERS and
# nothing of the host's) and lists the headers it read in DEPFILE; llvm-rc
# compiles the result into a .res file (bitmaps looked up beside the script);
# this script then writes the .res file's resources out as C++ arrays.
#
# A .res file is a row of DWORD-aligned entries: DataSize and HeaderSize
# (DWORDs), the type and the name (each 0xFFFF and a WORD number, or a
# zero-terminated UTF-16 text), the rest of the header, then the data. The
# first entry, of type 0, only marks the file as 32-bit.

cmake_minimum_required(VERSION 3.25)

get_filename_component(script_dir ${SCRIPT} DIRECTORY)
get_filename_component(script_file ${SCRIPT} NAME)
get_filename_component(work_dir ${OUTPUT} DIRECTORY)
get_filename_component(stem ${OUTPUT} NAME_WE)
set(depfile_options)
if(DEPFILE)
  set(depfile_options -MD -MF ${DEPFILE} -MT ${OUTPUT})
endif()
execute_process(
  COMMAND ${COMPILER} -E -xc -DRC_INVOKED -nostdinc -I ${HEADERS} ${depfile_options} ${SCRIPT} -o ${stem}.rcpp
  WORKING_DIRECTORY ${work_dir}
  RESULT_VARIABLE failed)
if(failed)
  message(FATAL_ERROR "${script_file}: the preprocessor stopped")
endif()
# llvm-rc is given file names without a folder, so that no path can be taken
# for one of its "/" options.
execute_process(
  COMMAND ${LLVM_RC} -no-preprocess -I ${script_dir} -FO ${stem}.res ${stem}.rcpp
  WORKING_DIRECTORY ${work_dir}
  RESULT_VARIABLE failed)
if(failed)
  message(FATAL_ERROR "${script_file}: llvm-rc stopped")
endif()
set(RES ${work_dir}/${stem}.res)

file(READ ${RES} res HEX)
string(LENGTH "${res}" res_digits)
math(EXPR res_size "${res_digits} / 2")

# The little-endian WORD or DWORD at byte `offset`.
function(read_le offset bytes out)
  math(EXPR at "${offset} * 2")
  math(EXPR digits "${bytes} * 2")
  string(SUBSTRING "${res}" ${at} ${digits} hex)
  if(bytes EQUAL 4)
    string(REGEX REPLACE "(..)(..)(..)(..)" "\\4\\3\\2\\1" hex "${hex}")
  else()
    string(REGEX REPLACE "(..)(..)" "\\2\\1" hex "${hex}")
  endif()
  math(EXPR value "0x${hex}")
  set(${out} ${value} PARENT_SCOPE)
endfunction()

set(arrays "")
set(entries "")
set(keys "")  # the type and name of each resource so far
set(count 0)
set(offset 0)
while(offset LESS res_size)
  math(EXPR fixed_end "${offset} + 16")
  if(fixed_end GREATER res_size)
    message(FATAL_ERROR "${RES}: the resource file ends inside an entry's header")
  endif()
  read_le(${offset} 4 data_size)
  math(EXPR at "${offset} + 4")
  read_le(${at} 4 header_size)
  math(EXPR data_at "${offset} + ${header_size}")
  math(EXPR next "${data_at} + ${data_size}")
  if(header_size LESS 16 OR next GREATER res_size)
    message(FATAL_ERROR "${RES}: the resource file ends inside an entry")
  endif()

  # The loader finds types by number only, as the phone's programs ask.
  math(EXPR at "${offset} + 8")
  read_le(${at} 2 type_mark)
  if(NOT type_mark EQUAL 65535)
    message(FATAL_ERROR "${script_file}: a resource type given by name is not supported; use a numbered type")
  endif()
  math(EXPR at "${offset} + 10")
  read_le(${at} 2 type_id)

  math(EXPR at "${offset} + 12")
  read_le(${at} 2 name_mark)
  if(name_mark EQUAL 65535)
    math(EXPR at "${offset} + 14")
    read_le(${at} 2 name_id)
    set(name nullptr)
  else()
    # A text name, stored upper-case by the compiler: copied with its terminator.
    set(name_id 0)
    set(units "")
    set(text "")
    set(unit ${name_mark})
    while(NOT unit EQUAL 0)
      string(APPEND units "${unit}, ")
      if(unit GREATER 32 AND unit LESS 127)
        string(ASCII ${unit} char)
        string(APPEND text "${char}")
      else()
        string(APPEND text "?")
      endif()
      math(EXPR at "${at} + 2")
      if(at GREATER_EQUAL data_at)
        message(FATAL_ERROR "${RES}: a resource name runs past its header")
      endif()
      read_le(${at} 2 unit)
    endwhile()
    string(APPEND arrays "const WCHAR kName${count}[] = {${units}0};\n")
    set(name kName${count})
  endif()

  if(NOT type_id EQUAL 0)
    # llvm-rc keeps both copies of a resource defined twice; the loader would
    # find only the first, so the mistake is refused here.
    if(name STREQUAL "nullptr")
      set(key "${type_id} #${name_id}")
      set(shown "number ${name_id}")
    else()
      set(key "${type_id} ${units}")
      set(shown "name ${text}")
    endif()
    if(key IN_LIST keys)
      message(FATAL_ERROR "${script_file}: two resources of type ${type_id} have the ${shown}")
    endif()
    list(APPEND keys "${key}")
    math(EXPR at "${data_at} * 2")
    math(EXPR digits "${data_size} * 2")
    string(SUBSTRING "${res}" ${at} ${digits} data)
    string(REGEX REPLACE "([0-9a-f][0-9a-f])" "0x\\1," data "${data}")
    string(APPEND arrays "alignas(4) const unsigned char kResource${count}[] = {${data}};\n")
    string(APPEND entries "    {${type_id}, ${name_id}, ${name}, kResource${count}, sizeof kResource${count}},\n")
    math(EXPR count "${count} + 1")
  endif()
  math(EXPR offset "(${next} + 3) / 4 * 4")
endwhile()

if(count EQUAL 0)
  set(entries "    {0, 0, nullptr, nullptr, 0},\n")
endif()

# Written only when it changes, so an unchanged script recompiles nothing.
file(CONFIGURE OUTPUT ${OUTPUT} CONTENT
"// Resources of ${script_file}, compiled by cmake/compile_resources.cmake
// at build time: change the script, not this file.
#include \"platform/user/resources.h\"

namespace {

${arrays}
const platform::ResourceEntry kResources[] = {
${entries}};

const platform::ResourceRegistration kRegistration(kResources, ${count});

}  // namespace
" @ONLY)
