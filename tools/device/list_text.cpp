// One-line arguments, joined categories and list fields of the object-store commands.
#include "tools/device/list_text.h"

#include "platform/text/utf.h"
#include "tools/device/commands.h"

bool HasControlCharacter(const std::string& text) {
  for (char c : text)
    if (static_cast<unsigned char>(c) < 0x20 || c == 0x7F) return true;
  return false;
}

std::string ListField(const std::u16string& text) {
  std::string shown = platform::Utf16ToUtf8(text);
  for (char& c : shown)
    if (static_cast<unsigned char>(c) < 0x20 || c == 0x7F) c = ' ';
  return shown;
}

std::u16string CategoriesArgument(const std::vector<std::string>& categories) {
  std::string joined;
  for (const std::string& given : categories) {
    const size_t first = given.find_first_not_of(' ');
    const size_t last = given.find_last_not_of(' ');
    const std::string category = first == std::string::npos ? "" : given.substr(first, last - first + 1);
    if (category.empty() || category.find(',') != std::string::npos || HasControlCharacter(category))
      throw UsageError("--category: a category is a non-empty name without commas: \"" + given + "\"");
    joined += (joined.empty() ? "" : ", ") + category;
  }
  return platform::Utf8ToUtf16(joined);
}
