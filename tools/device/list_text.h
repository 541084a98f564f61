// Text the object-store commands (calendar, contacts) take and print alike:
// one-line arguments, categories joined as the phone keeps them, and the
// tab-separated fields of a `list` line.
#pragma once

#include <string>
#include <vector>

bool HasControlCharacter(const std::string& text);

// A field of a `list` line: kept on its line and in its column.
std::string ListField(const std::u16string& text);

// The categories joined as the phone keeps them: "Business, Personal". A
// category is trimmed of blanks and must be a non-empty name without
// commas (a UsageError otherwise).
std::u16string CategoriesArgument(const std::vector<std::string>& categories);
