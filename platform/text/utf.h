// Conversions between the programs' UTF-16 text and the UTF-8 of the host
// (file contents, the journal, the device tool), and the code points of
// UTF-16 text. Invalid input never fails: bad sequences become U+FFFD.
#pragma once

#include <cstdio>
#include <string>
#include <string_view>

namespace platform {

constexpr char32_t kReplacementCharacter = 0xFFFD;

constexpr bool IsSurrogate(char32_t c) { return c >= 0xD800 && c <= 0xDFFF; }

// Whole texts. A malformed UTF-8 sequence (a bad or cut sequence, overlong,
// a surrogate, beyond U+10FFFF) becomes one U+FFFD; a lone surrogate in
// UTF-16 becomes U+FFFD.
std::u16string Utf8ToUtf16(std::string_view text);
std::string Utf16ToUtf8(std::u16string_view text);

// The code point of UTF-16 text at `*at`, moving `*at` past it: a surrogate
// pair makes one; a lone surrogate comes back as it is, for the caller to
// replace or refuse.
char32_t NextCodePoint(std::u16string_view text, size_t* at);

// A code point as UTF-16 units (a surrogate pair above U+FFFF); returns
// how many, 1 or 2.
int EncodeUtf16(char32_t code, char16_t units[2]);

// Reads the rest of a UTF-8 sequence from a stream after its lead byte,
// taking only bytes that can continue it: a byte that cannot is left
// unread and the sequence is U+FFFD, so that each malformed part becomes
// one replacement, as Unicode recommends for streams.
char32_t ReadUtf8Sequence(std::FILE* stream, int lead);

}  // namespace platform
