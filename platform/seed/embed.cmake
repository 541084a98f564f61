# Compiles the recorded sound files of platform/seed into the platform, so a
# fresh device gets them wherever the binaries are run from.
file(GLOB SEED_RECORDINGS CONFIGURE_DEPENDS ${CMAKE_CURRENT_LIST_DIR}/*.wma)
list(SORT SEED_RECORDINGS)
set(SEED_SOURCE ${CMAKE_CURRENT_BINARY_DIR}/seed_recordings.cpp)
set(SEED_ARRAYS "")
set(SEED_TABLE "")
set(SEED_INDEX 0)
foreach(recording IN LISTS SEED_RECORDINGS)
  get_filename_component(recording_name ${recording} NAME)
  file(READ ${recording} recording_hex HEX)
  string(REGEX REPLACE "([0-9a-f][0-9a-f])" "0x\\1," recording_bytes "${recording_hex}")
  string(APPEND SEED_ARRAYS "const unsigned char kRecording${SEED_INDEX}[] = {${recording_bytes}};\n")
  string(APPEND SEED_TABLE "    {\"${recording_name}\", kRecording${SEED_INDEX}, sizeof kRecording${SEED_INDEX}},\n")
  math(EXPR SEED_INDEX "${SEED_INDEX} + 1")
endforeach()
file(CONFIGURE OUTPUT ${SEED_SOURCE} CONTENT
"// Generated at configure time from platform/seed: recorded sounds of a fresh device.
#include \"platform/files/files_seed.h\"

namespace platform {
namespace {
${SEED_ARRAYS}}  // namespace

const SeedRecording kSeedRecordings[] = {
${SEED_TABLE}};
const size_t kSeedRecordingCount = ${SEED_INDEX};

}  // namespace platform
")
