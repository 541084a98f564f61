// Case folding of UTF-16 text, shared by the registry's name comparisons
// and the runtime's case-insensitive routines, so both agree.
#pragma once

#include <string>
#include <string_view>

namespace platform {

// The lower-case form of one code unit (Latin, Greek and Cyrillic letters;
// everything else is its own fold).
char16_t FoldCase(char16_t c);
std::u16string FoldCase(std::u16string_view text);

}  // namespace platform
