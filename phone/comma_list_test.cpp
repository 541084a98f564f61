#include "phone/comma_list.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

std::vector<std::u16string> Entries(const char16_t* list) {
  std::vector<std::u16string> entries;
  LPCWSTR entry;
  size_t length;
  for (LPCWSTR cursor = list; NextListEntry(&cursor, &entry, &length);) entries.emplace_back(entry, length);
  return entries;
}

using Texts = std::vector<std::u16string>;

TEST(CommaList, BlanksAroundAnEntryAreLeftOutAndBlanksInsideKept) {
  EXPECT_EQ(Entries(u"Business,  Personal ,Holiday Cards"), (Texts{u"Business", u"Personal", u"Holiday Cards"}));
}

TEST(CommaList, EmptyEntriesAreGivenAndTheListEndsAtItsTerminator) {
  EXPECT_EQ(Entries(u""), Texts{});
  EXPECT_EQ(Entries(u"   "), Texts{u""});
  EXPECT_EQ(Entries(u"a,,b,"), (Texts{u"a", u"", u"b"}));
  EXPECT_EQ(Entries(u" , "), (Texts{u"", u""}));
}

}  // namespace
