// The open list of a drop-down as a user drives it: opened on the entry the
// field shows, scrolled by its scroll bar and the wheel without closing,
// keys moving the highlight, Return or a tap picking, Escape cancelling, and
// the notifications the dialog hears in Windows' order.
#include "drop_list.h"

#include <commctrl.h>
#include <gtest/gtest.h>
#include <windows.h>

#include <string>
#include <vector>

#include "../testing/device_fixture.h"
#include "controls.h"
#include "tests/windows/probe_ids.h"

namespace {

std::vector<int> g_codes;  // the drop-down's notifications, focus ones left out

INT_PTR CALLBACK RecordingProc(HWND, UINT message, WPARAM wParam, LPARAM) {
  if (message == WM_COMMAND && LOWORD(wParam) == IDC_PLAIN && HIWORD(wParam) != CBN_SETFOCUS &&
      HIWORD(wParam) != CBN_KILLFOCUS)
    g_codes.push_back(HIWORD(wParam));
  return message == WM_INITDIALOG;
}

class DropListTest : public testing_support::DeviceTest {
 protected:
  void SetUp() override {
    DeviceTest::SetUp();
    dialog_ = CreateDialogParamW(nullptr, MAKEINTRESOURCEW(IDD_PROBE), nullptr, RecordingProc, 0);
    ASSERT_NE(dialog_, nullptr);
    ShowWindow(dialog_, SW_SHOW);
    combo_ = GetDlgItem(dialog_, IDC_PLAIN);
    // Hours as the settings dialog lists them: more than the list shows.
    for (int hour = 0; hour < 24; ++hour) {
      std::u16string text = {char16_t(u'0' + hour / 10), char16_t(u'0' + hour % 10)};
      SendMessageW(combo_, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(text.c_str()));
    }
    SendMessageW(combo_, CB_SETCURSEL, 5, 0);
    g_codes.clear();
  }
  void TearDown() override {
    platform::CloseDropList(false);
    DestroyWindow(dialog_);
    DeviceTest::TearDown();
  }
  platform::DropListView View() {
    platform::DropListView view;
    EXPECT_TRUE(platform::ViewOpenDropList(&view));
    return view;
  }
  void TapArrow() {
    RECT box;
    GetWindowRect(combo_, &box);
    ASSERT_TRUE(platform::TapDropList(box.right - 3, (box.top + box.bottom) / 2));
  }
  static void TapCentre(const RECT& r) {
    ASSERT_TRUE(platform::TapDropList((r.left + r.right) / 2, (r.top + r.bottom) / 2));
  }
  void Key(WPARAM key) { SendMessageW(combo_, WM_KEYDOWN, key, 1); }
  int Selection() { return int(SendMessageW(combo_, CB_GETCURSEL, 0, 0)); }
  std::u16string Text() {
    WCHAR text[16];
    GetWindowTextW(combo_, text, 16);
    return text;
  }
  HWND dialog_ = nullptr;
  HWND combo_ = nullptr;
};

TEST_F(DropListTest, OpensOnTheEntryTheFieldShowsAndKeysPickInWindowsOrder) {
  // The user typed "17": the list opens there, not on the selection.
  SetWindowTextW(combo_, u"17");
  TapArrow();
  EXPECT_EQ(SendMessageW(combo_, CB_GETDROPPEDSTATE, 0, 0), TRUE);
  platform::DropListView view = View();
  EXPECT_EQ(view.highlight, 17);
  EXPECT_TRUE(view.scrolls);
  EXPECT_LE(view.top, 17);
  EXPECT_GT(view.top + view.visible, 17);
  EXPECT_EQ(g_codes, std::vector<int>{CBN_DROPDOWN});

  // Keys move the highlight only; the field and the dialog hear nothing yet.
  Key(VK_DOWN);
  Key(VK_DOWN);
  Key(VK_UP);
  EXPECT_EQ(View().highlight, 18);
  Key(VK_END);
  EXPECT_EQ(View().highlight, 23);
  EXPECT_EQ(View().top, 24 - view.visible);
  Key(VK_DOWN);  // stays on the last entry
  Key(VK_HOME);
  EXPECT_EQ(View().top, 0);
  Key(VK_NEXT);
  EXPECT_EQ(View().highlight, view.visible - 1);
  Key(VK_NEXT);
  Key(VK_PRIOR);
  EXPECT_EQ(View().highlight, view.visible - 1);
  EXPECT_EQ(Text(), u"17");
  EXPECT_EQ(g_codes, std::vector<int>{CBN_DROPDOWN});

  Key(VK_RETURN);
  EXPECT_EQ(SendMessageW(combo_, CB_GETDROPPEDSTATE, 0, 0), FALSE);
  EXPECT_EQ(Selection(), view.visible - 1);
  EXPECT_EQ((std::vector<int>{CBN_DROPDOWN, CBN_SELENDOK, CBN_SELCHANGE, CBN_CLOSEUP}), g_codes);
}

TEST_F(DropListTest, EscapeFocusLossAndTapsElsewhereCloseWithoutPicking) {
  TapArrow();
  EXPECT_EQ(View().highlight, 5);
  Key(VK_DOWN);
  Key(VK_ESCAPE);
  EXPECT_FALSE(platform::OpenDropDown());
  EXPECT_EQ(Selection(), 5);
  EXPECT_EQ(Text(), u"05");
  EXPECT_EQ((std::vector<int>{CBN_DROPDOWN, CBN_SELENDCANCEL, CBN_CLOSEUP}), g_codes);

  // A tap outside the list closes it and is taken by it; so does the arrow again.
  TapArrow();
  ASSERT_TRUE(platform::TapDropList(1, 1));
  EXPECT_FALSE(platform::OpenDropDown());
  TapArrow();
  TapArrow();
  EXPECT_FALSE(platform::OpenDropDown());

  // The focus going to another control closes it unpicked.
  TapArrow();
  g_codes.clear();
  SetFocus(GetDlgItem(dialog_, IDC_NAME));
  EXPECT_FALSE(platform::OpenDropDown());
  EXPECT_EQ((std::vector<int>{CBN_SELENDCANCEL, CBN_CLOSEUP}), g_codes);
  EXPECT_EQ(Selection(), 5);
}

TEST_F(DropListTest, ScrollBarAndWheelScrollWithoutClosingAndATapPicksTheLineShown) {
  SendMessageW(combo_, CB_SETCURSEL, 0, 0);
  TapArrow();
  platform::DropListView view = View();
  ASSERT_TRUE(view.scrolls);
  ASSERT_EQ(view.top, 0);
  int last = 24 - view.visible;

  TapCentre(view.bar.down);
  TapCentre(view.bar.down);
  EXPECT_EQ(View().top, 2);
  TapCentre(View().bar.up);
  EXPECT_EQ(View().top, 1);
  TapCentre(View().bar.up);
  TapCentre(View().bar.up);  // already at the top
  EXPECT_EQ(View().top, 0);

  // The track below the thumb pages down, above it pages up.
  view = View();
  ASSERT_TRUE(platform::TapDropList((view.bar.thumb.left + view.bar.thumb.right) / 2, view.bar.down.top - 1));
  EXPECT_EQ(View().top, std::min(view.visible, last));
  view = View();
  ASSERT_TRUE(platform::TapDropList((view.bar.thumb.left + view.bar.thumb.right) / 2, view.bar.up.bottom));
  EXPECT_EQ(View().top, 0);

  // The thumb dragged to the bottom shows the last entries; a drag without
  // holding the thumb does nothing.
  view = View();
  TapCentre(view.bar.thumb);
  EXPECT_TRUE(platform::DragDropList(view.bar.thumb.left, view.bar.down.top + 40));
  platform::ReleaseDropList();
  EXPECT_EQ(View().top, last);
  EXPECT_FALSE(platform::DragDropList(view.bar.thumb.left, view.bar.up.bottom));
  EXPECT_EQ(View().top, last);

  EXPECT_TRUE(platform::ScrollDropList(-3));
  EXPECT_EQ(View().top, last - 3);
  EXPECT_TRUE(platform::OpenDropDown());
  EXPECT_EQ(View().highlight, 0);  // scrolling moves no highlight
  EXPECT_EQ(g_codes, std::vector<int>{CBN_DROPDOWN});

  // A tap on the second line shown picks that entry.
  view = View();
  int line = (view.rect.bottom - view.rect.top - 2) / view.visible;
  ASSERT_TRUE(platform::TapDropList(view.rect.left + 5, view.rect.top + 1 + line + line / 2));
  EXPECT_FALSE(platform::OpenDropDown());
  EXPECT_EQ(Selection(), last - 2);
  EXPECT_EQ((std::vector<int>{CBN_DROPDOWN, CBN_SELENDOK, CBN_SELCHANGE, CBN_CLOSEUP}), g_codes);
  EXPECT_FALSE(platform::ScrollDropList(3));
}

TEST_F(DropListTest, ArrowKeysOnAClosedDropDownSelectAtOnceAndTabMovesTheFocus) {
  SetFocus(combo_);
  Key(VK_DOWN);
  EXPECT_EQ(Selection(), 6);
  EXPECT_EQ(Text(), u"06");
  Key(VK_UP);
  EXPECT_EQ(Selection(), 5);
  // Home and End move the caret of the edit part; Up on the first entry does nothing.
  Key(VK_HOME);
  EXPECT_EQ(Selection(), 5);
  EXPECT_EQ(SendMessageW(combo_, CB_GETEDITSEL, 0, 0), MAKELONG(0, 0));
  Key(VK_END);
  Key(VK_LEFT);
  EXPECT_EQ(SendMessageW(combo_, CB_GETEDITSEL, 0, 0), MAKELONG(1, 1));
  SendMessageW(combo_, CB_SETCURSEL, 0, 0);
  Key(VK_UP);
  EXPECT_EQ(Selection(), 0);
  EXPECT_EQ((std::vector<int>{CBN_SELENDOK, CBN_SELCHANGE, CBN_SELENDOK, CBN_SELCHANGE}), g_codes);

  // The tab stops of the dialog in template order, round to the first.
  HWND sorted = GetDlgItem(dialog_, IDC_SORTED);
  EXPECT_EQ(GetNextDlgTabItem(dialog_, combo_, FALSE), sorted);
  EXPECT_EQ(GetNextDlgTabItem(dialog_, sorted, TRUE), combo_);
  HWND first = GetNextDlgTabItem(dialog_, nullptr, FALSE);
  ASSERT_NE(first, nullptr);
  HWND back = GetNextDlgTabItem(dialog_, first, TRUE);
  EXPECT_EQ(GetNextDlgTabItem(dialog_, back, FALSE), first);
}

TEST_F(DropListTest, EditSelectionOfTheEditPartIsSetAndRead) {
  SetWindowTextW(combo_, u"12345");
  EXPECT_EQ(SendMessageW(combo_, CB_SETEDITSEL, 0, MAKELPARAM(1, 3)), TRUE);
  DWORD start = 0, end = 0;
  EXPECT_EQ(SendMessageW(combo_, CB_GETEDITSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end)),
            MAKELONG(1, 3));
  EXPECT_EQ(start, 1u);
  EXPECT_EQ(end, 3u);
  SendMessageW(combo_, CB_SETEDITSEL, 0, MAKELPARAM(0, -1));
  EXPECT_EQ(SendMessageW(combo_, CB_GETEDITSEL, 0, 0), MAKELONG(0, 5));
}

TEST_F(DropListTest, KeysMoveAFocusedTrackbarAndItsDialogHearsTheStep) {
  HWND slider = GetDlgItem(dialog_, IDC_SLIDER);
  SendMessageW(slider, TBM_SETRANGE, TRUE, MAKELPARAM(0, 10));
  SendMessageW(slider, TBM_SETPOS, TRUE, 5);
  SendMessageW(slider, WM_KEYDOWN, VK_RIGHT, 1);
  EXPECT_EQ(SendMessageW(slider, TBM_GETPOS, 0, 0), 6);
  SendMessageW(slider, WM_KEYDOWN, VK_PRIOR, 1);
  EXPECT_EQ(SendMessageW(slider, TBM_GETPOS, 0, 0), 4);
  SendMessageW(slider, WM_KEYDOWN, VK_END, 1);
  EXPECT_EQ(SendMessageW(slider, TBM_GETPOS, 0, 0), 10);
  SendMessageW(slider, WM_KEYDOWN, VK_DOWN, 1);  // stays at the end
  EXPECT_EQ(SendMessageW(slider, TBM_GETPOS, 0, 0), 10);
  SendMessageW(slider, WM_KEYDOWN, VK_HOME, 1);
  EXPECT_EQ(SendMessageW(slider, TBM_GETPOS, 0, 0), 0);
}

}  // namespace
