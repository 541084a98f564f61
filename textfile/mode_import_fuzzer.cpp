// libFuzzer target for the mode text import: any bytes as the file, read
// through the platform's wide-character streams, imported as "Mode 2".
#include <cstdint>
#include <cstdio>
#include <vector>

#include "textfile/mode_text.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  // The stream reads a private copy, so the input stays read-only; an empty
  // input is one empty byte string, which a memory stream cannot hold.
  std::vector<uint8_t> copy(data, data + size);
  if (copy.empty()) return 0;
  FILE* file = fmemopen(copy.data(), copy.size(), "rb");
  if (!file) return 0;
  ImportModeText(file, u"Mode 2");
  fclose(file);
  return 0;
}
