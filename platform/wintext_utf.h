// Conversions between the programs' UTF-16 text and the UTF-8 of the host
// (file contents, the journal, the device tool). Invalid input never fails:
// bad sequences become U+FFFD.
#pragma once

#include <string>
#include <string_view>

namespace platform {

std::u16string Utf8ToUtf16(std::string_view text);
std::string Utf16ToUtf8(std::u16string_view text);

}  // namespace platform
