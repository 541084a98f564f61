# Embeds a compiled resource file in the program: writes a C++ source whose
# table the platform's FindResourceW searches (platform/resources.h).
#   cmake -DRES=IN.res -DSCRIPT=NAME.rc -DOUTPUT=OUT.cpp -P embed_resources.cmake
#
# A .res file is a row of DWORD-aligned entries: DataSize and HeaderSize
# (DWORDs), the type and the name (each 0xFFFF and a WORD number, or a
# zero-terminated UTF-16 text), the rest of the header, then the data. The
# first entry, of type 0, only marks the file as 32-bit.

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
    message(FATAL_ERROR "${SCRIPT}: a resource type given by name is not supported; use a numbered type")
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
    set(unit ${name_mark})
    while(NOT unit EQUAL 0)
      string(APPEND units "${unit}, ")
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
"// Resources of ${SCRIPT}, compiled by llvm-rc and embedded by
// cmake/embed_resources.cmake at build time: change the script, not this file.
#include \"platform/resources.h\"

namespace {

${arrays}
const platform::ResourceEntry kResources[] = {
${entries}};

const platform::ResourceRegistration kRegistration(kResources, ${count});

}  // namespace
" @ONLY)
