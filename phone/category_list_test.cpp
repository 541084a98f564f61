// FillCategoryList: the categories of the object store's calendar database
// reach a drop-down list, in record order.

#include <windbase.h>
#include <windows.h>

#include "phone/category_list.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "platform/testing/device_fixture.h"

namespace {

// A hidden dialog with one drop-down list (id 10), from a template built
// here the way a resource compiler lays it out.
class CategoryListTest : public ::testing::Test {
 protected:
  void SetUp() override {
    device_ = std::make_unique<testing_support::TempDevice>(options_);
    std::vector<WORD> words;
    auto put32 = [&](DWORD value) {
      words.push_back(LOWORD(value));
      words.push_back(HIWORD(value));
    };
    auto putText = [&](const char16_t* text) {
      for (; *text; ++text) words.push_back(*text);
      words.push_back(0);
    };
    put32(WS_POPUP);  // dialog style
    put32(0);
    words.insert(words.end(), {1, 0, 0, 100, 100});  // one item, x, y, cx, cy
    words.insert(words.end(), {0, 0, 0});            // no menu, default class, no title
    if (words.size() % 2) words.push_back(0);        // items on a DWORD boundary
    put32(WS_CHILD | WS_VISIBLE | CBS_DROPDOWNLIST);
    put32(0);
    words.insert(words.end(), {0, 0, 90, 60, 10});
    putText(u"COMBOBOX");
    putText(u"");
    words.push_back(0);  // no creation data
    template_ = words;
    dialog_ = CreateDialogIndirectParamW(nullptr, reinterpret_cast<LPCDLGTEMPLATEW>(template_.data()), nullptr,
                                         nullptr, 0);
    ASSERT_NE(dialog_, nullptr);
    list_ = GetDlgItem(dialog_, 10);
    ASSERT_NE(list_, nullptr);
  }
  void TearDown() override {
    if (dialog_) DestroyWindow(dialog_);
    device_.reset();
  }

  std::vector<std::u16string> Items() {
    std::vector<std::u16string> items;
    LRESULT count = SendMessageW(list_, CB_GETCOUNT, 0, 0);
    for (LRESULT i = 0; i < count; ++i) {
      WCHAR text[256] = {};
      SendMessageW(list_, CB_GETLBTEXT, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(text));
      items.push_back(text);
    }
    return items;
  }

  platform::DeviceOptions options_;
  std::unique_ptr<testing_support::TempDevice> device_;
  std::vector<WORD> template_;
  HWND dialog_ = nullptr;
  HWND list_ = nullptr;
};

TEST_F(CategoryListTest, FreshPhoneListsItsCalendarCategories) {
  EXPECT_EQ(FillCategoryList(list_), 1);
  EXPECT_EQ(Items(), (std::vector<std::u16string>{u"Business", u"Personal", u"Holiday", u"Ideas", u"Miscellaneous",
                                                  u"Gifts", u"Guests"}));
}

TEST_F(CategoryListTest, EveryTextPropertyCountsAndOtherTypesAddNothing) {
  // A database made earlier whose name only contains the one searched for
  // is the first match in enumeration order.
  HANDLE enumeration = CeFindFirstDatabase(0);
  while (CEOID oid = CeFindNextDatabase(enumeration)) {
    CEOIDINFO info;
    CeOidGetInfo(oid, &info);
    if (std::u16string(info.infDatabase.szDbaseName) == CATEGORIES_DATABASE) {
      HANDLE database = CeOpenDatabase(&oid, nullptr, 0, 0, nullptr);
      std::u16string texts[3] = {u"Work", u"Home", u"Travel"};
      CEPROPVAL values[5] = {};
      for (int i = 0; i < 3; ++i) {
        values[i].propid = (static_cast<DWORD>(i + 1) << 16) | CEVT_LPWSTR;
        values[i].val.lpwstr = texts[i].data();
      }
      values[3].propid = (4u << 16) | CEVT_UI4;
      values[4].propid = (5u << 16) | CEVT_FILETIME;
      CeWriteRecordProps(database, 0, 5, values);
      CloseHandle(database);
    }
  }
  CloseHandle(enumeration);
  auto items = (FillCategoryList(list_), Items());
  ASSERT_EQ(items.size(), 10u);
  EXPECT_EQ(std::vector<std::u16string>(items.end() - 3, items.end()),
            (std::vector<std::u16string>{u"Work", u"Home", u"Travel"}));
}

TEST_F(CategoryListTest, NameContainingTheDatabaseNameMatchesAndAnEmptyOneAddsNothing) {
  // Without the fresh phone's database, a later one whose name contains it.
  CEOID categories = 0;
  HANDLE found = CeOpenDatabase(&categories, CATEGORIES_DATABASE, 0, 0, nullptr);
  ASSERT_NE(found, INVALID_HANDLE_VALUE);
  CloseHandle(found);
  ASSERT_TRUE(CeDeleteDatabase(categories));
  ASSERT_NE(CeCreateDatabase(u"Old Categories Database", 0, 0, nullptr), 0u);
  EXPECT_EQ(FillCategoryList(list_), 1);
  EXPECT_TRUE(Items().empty());
}

class EmptyPhoneCategoryListTest : public CategoryListTest {
 protected:
  void SetUp() override {
    options_.empty = true;
    CategoryListTest::SetUp();
  }
};

TEST_F(EmptyPhoneCategoryListTest, WithoutTheDatabaseNothingIsAddedAndTheResultIs0) {
  EXPECT_EQ(FillCategoryList(list_), 0);
  EXPECT_TRUE(Items().empty());
}

}  // namespace
