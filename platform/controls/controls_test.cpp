// The standard controls as Windows has them: drop-downs, edits, trackbars
// and buttons, driven by messages inside one probe dialog.
#include <commctrl.h>
#include <gtest/gtest.h>
#include <windows.h>

#include <stdexcept>
#include <string>
#include <vector>

#include "../testing/device_fixture.h"
#include "controls.h"
#include "tests/windows/probe_ids.h"

namespace {

std::vector<std::pair<int, int>> g_commands;  // (id, notification)

INT_PTR CALLBACK RecordingProc(HWND, UINT message, WPARAM wParam, LPARAM) {
  if (message == WM_COMMAND) g_commands.emplace_back(LOWORD(wParam), HIWORD(wParam));
  return message == WM_INITDIALOG;
}

class ControlsTest : public testing_support::DeviceTest {
 protected:
  void SetUp() override {
    DeviceTest::SetUp();
    dialog_ = CreateDialogParamW(nullptr, MAKEINTRESOURCEW(IDD_PROBE), nullptr, RecordingProc, 0);
    ASSERT_NE(dialog_, nullptr);
    g_commands.clear();
  }
  void TearDown() override {
    DestroyWindow(dialog_);
    DeviceTest::TearDown();
  }
  HWND Item(int id) { return GetDlgItem(dialog_, id); }
  LRESULT Send(int id, UINT message, WPARAM wParam = 0, LPARAM lParam = 0) {
    return SendMessageW(Item(id), message, wParam, lParam);
  }
  LRESULT SendText(int id, UINT message, WPARAM wParam, const char16_t* text) {
    return Send(id, message, wParam, reinterpret_cast<LPARAM>(text));
  }
  std::u16string Text(int id) {
    WCHAR text[128];
    GetWindowTextW(Item(id), text, 128);
    return text;
  }
  HWND dialog_ = nullptr;
};

// The window system has no controls of its own: without the standard ones
// installed, a dialog is refused loudly rather than made with dead controls.
TEST_F(ControlsTest, DialogsNeedTheStandardControlsInstalled) {
  platform::SetControlClasses({});
  EXPECT_THROW(CreateDialogParamW(nullptr, MAKEINTRESOURCEW(IDD_PROBE), nullptr, RecordingProc, 0), std::logic_error);
  platform::InstallStandardControls();
  HWND again = CreateDialogParamW(nullptr, MAKEINTRESOURCEW(IDD_PROBE), nullptr, RecordingProc, 0);
  ASSERT_NE(again, nullptr);
  // The edit has its procedure and its initial state (the default limit).
  EXPECT_EQ(SendMessageW(GetDlgItem(again, IDC_DISABLED_EDIT), EM_GETLIMITTEXT, 0, 0), 30000);
  DestroyWindow(again);
}

TEST_F(ControlsTest, SortedDropDownInsertsInOrderAndSelectionFollowsItsEntry) {
  for (const char16_t* entry : {u"pear", u"Apple", u"fig", u"apple"}) SendText(IDC_SORTED, CB_ADDSTRING, 0, entry);
  EXPECT_EQ(Send(IDC_SORTED, CB_SETCURSEL, 2), 2);
  EXPECT_EQ(Text(IDC_SORTED), u"fig");
  // Equal entries keep the order they came in; inserting never sorts.
  EXPECT_EQ(SendText(IDC_SORTED, CB_FINDSTRINGEXACT, static_cast<WPARAM>(-1), u"APPLE"), 0);
  EXPECT_EQ(SendText(IDC_SORTED, CB_FINDSTRINGEXACT, 0, u"apple"), 1);
  EXPECT_EQ(SendText(IDC_SORTED, CB_INSERTSTRING, 0, u"zebra"), 0);
  EXPECT_EQ(Send(IDC_SORTED, CB_GETCURSEL), 3);
  EXPECT_EQ(Send(IDC_SORTED, CB_DELETESTRING, 0), 4);
  EXPECT_EQ(Send(IDC_SORTED, CB_GETCURSEL), 2);
  WCHAR entry[16];
  EXPECT_EQ(Send(IDC_SORTED, CB_GETLBTEXTLEN, 3), 4);
  EXPECT_EQ(Send(IDC_SORTED, CB_GETLBTEXT, 3, reinterpret_cast<LPARAM>(entry)), 4);
  EXPECT_EQ(std::u16string(entry), u"pear");
  // Deleting the selected entry leaves no selection; the shown text stays.
  Send(IDC_SORTED, CB_DELETESTRING, 2);
  EXPECT_EQ(Send(IDC_SORTED, CB_GETCURSEL), CB_ERR);
  EXPECT_EQ(Text(IDC_SORTED), u"fig");
  EXPECT_EQ(Send(IDC_SORTED, CB_GETLBTEXTLEN, 9), CB_ERR);
  EXPECT_EQ(Send(IDC_SORTED, CB_DELETESTRING, 9), CB_ERR);
  EXPECT_EQ(SendText(IDC_SORTED, CB_FINDSTRINGEXACT, static_cast<WPARAM>(-1), u"fi"), CB_ERR);
  // Emptying the list empties the edit part too.
  EXPECT_EQ(Send(IDC_SORTED, CB_RESETCONTENT), CB_OKAY);
  EXPECT_EQ(Send(IDC_SORTED, CB_GETCOUNT), 0);
  EXPECT_EQ(Text(IDC_SORTED), u"");
  // Programs changing the list hear nothing from it.
  EXPECT_TRUE(g_commands.empty());
}

TEST_F(ControlsTest, DropDownEditPartTakesProgramTextWithoutNotifyingAndLimitsTyping) {
  SendText(IDC_PLAIN, CB_ADDSTRING, 0, u"One");
  Send(IDC_PLAIN, CB_SETCURSEL, 0);
  EXPECT_TRUE(SetWindowTextW(Item(IDC_PLAIN), u"05"));
  EXPECT_EQ(Text(IDC_PLAIN), u"05");
  EXPECT_EQ(Send(IDC_PLAIN, CB_GETCURSEL), 0);
  EXPECT_EQ(Send(IDC_PLAIN, CB_SETCURSEL, 7), CB_ERR);
  EXPECT_EQ(Text(IDC_PLAIN), u"");
  EXPECT_TRUE(g_commands.empty());
  Send(IDC_PLAIN, CB_LIMITTEXT, 2);
  for (char16_t c : std::u16string(u"abc")) Send(IDC_PLAIN, WM_CHAR, c);
  EXPECT_EQ(Text(IDC_PLAIN), u"ab");
  EXPECT_EQ(std::count(g_commands.begin(), g_commands.end(), std::make_pair(IDC_PLAIN, CBN_EDITCHANGE)), 2);
}

TEST_F(ControlsTest, EditLimitBoundsTypingOnlyAndProgramTextIsNoUserChange) {
  Send(IDC_CODE, EM_LIMITTEXT, 3);
  EXPECT_EQ(Send(IDC_CODE, EM_GETLIMITTEXT), 3);
  SetWindowTextW(Item(IDC_CODE), u"123456");
  EXPECT_EQ(Text(IDC_CODE), u"123456");
  EXPECT_FALSE(Send(IDC_CODE, EM_GETMODIFY));
  Send(IDC_CODE, EM_SETSEL, 0, -1);
  for (char16_t c : std::u16string(u"x7")) Send(IDC_CODE, WM_CHAR, c);
  EXPECT_EQ(Text(IDC_CODE), u"7");  // a letter is refused by a number-only field
  EXPECT_TRUE(Send(IDC_CODE, EM_GETMODIFY));
  for (char16_t c : std::u16string(u"8901")) Send(IDC_CODE, WM_CHAR, c);
  EXPECT_EQ(Text(IDC_CODE), u"789");
  Send(IDC_CODE, WM_CHAR, 8);
  EXPECT_EQ(Text(IDC_CODE), u"78");
  Send(IDC_CODE, EM_SETMODIFY, FALSE);
  EXPECT_FALSE(Send(IDC_CODE, EM_GETMODIFY));
  // Setting the text clears the modified flag but tells the dialog.
  SetWindowTextW(Item(IDC_CODE), u"1");
  EXPECT_FALSE(Send(IDC_CODE, EM_GETMODIFY));
  EXPECT_EQ(g_commands.back(), std::make_pair(IDC_CODE, EN_CHANGE));
}

TEST_F(ControlsTest, ATapOnAnEditOrADropDownsEditPartFocusesItAndTypesAfterItsText) {
  for (int id : {IDC_CODE, IDC_PLAIN}) {
    SetWindowTextW(Item(id), u"12");
    // The whole text selected, which typing would replace.
    if (id == IDC_CODE)
      Send(id, EM_SETSEL, 0, -1);
    else
      Send(id, CB_SETEDITSEL, 0, MAKELPARAM(0, -1));
    Send(id, WM_LBUTTONDOWN);
    EXPECT_EQ(GetFocus(), Item(id));
    Send(id, WM_CHAR, u'3');
    EXPECT_EQ(Text(id), u"123") << id;
  }
}

TEST_F(ControlsTest, GetWindowTextStaysInsideTheBuffer) {
  SetWindowTextW(Item(IDC_NAME), u"Selvane");
  WCHAR buffer[6] = {u'#', u'#', u'#', u'#', u'#', u'#'};
  EXPECT_EQ(GetWindowTextW(Item(IDC_NAME), buffer, 4), 3);
  EXPECT_EQ(std::u16string(buffer), u"Sel");
  EXPECT_EQ(buffer[4], u'#');
  EXPECT_EQ(GetWindowTextW(Item(IDC_NAME), buffer, 0), 0);
  EXPECT_EQ(GetWindowTextLengthW(Item(IDC_NAME)), 7);
  EXPECT_EQ(GetWindowTextW(nullptr, buffer, 6), 0);
  EXPECT_EQ(buffer[0], 0);
}

TEST_F(ControlsTest, TrackbarKeepsItsPositionInsideItsRange) {
  Send(IDC_SLIDER, TBM_SETRANGE, TRUE, MAKELPARAM(2, 8));
  Send(IDC_SLIDER, TBM_SETPOS, TRUE, 20);
  EXPECT_EQ(Send(IDC_SLIDER, TBM_GETPOS), 8);
  Send(IDC_SLIDER, TBM_SETPOS, TRUE, -3);
  EXPECT_EQ(Send(IDC_SLIDER, TBM_GETPOS), 2);
  Send(IDC_SLIDER, TBM_SETPOS, TRUE, 6);
  Send(IDC_SLIDER, TBM_SETRANGE, TRUE, MAKELPARAM(0, 4));
  EXPECT_EQ(Send(IDC_SLIDER, TBM_GETPOS), 4);
  EXPECT_EQ(Send(IDC_SLIDER, TBM_GETRANGEMIN), 0);
  EXPECT_EQ(Send(IDC_SLIDER, TBM_GETRANGEMAX), 4);
  EXPECT_TRUE(g_commands.empty());
}

TEST_F(ControlsTest, ButtonsCheckOnlyWhenTheyAreCheckBoxesAndClickOnlyWhenUsable) {
  Send(IDC_PUSH, BM_SETCHECK, BST_CHECKED);
  EXPECT_EQ(Send(IDC_PUSH, BM_GETCHECK), BST_UNCHECKED);
  CheckDlgButton(dialog_, IDC_MANUAL, BST_CHECKED);
  EXPECT_EQ(IsDlgButtonChecked(dialog_, IDC_MANUAL), static_cast<UINT>(BST_CHECKED));
  EXPECT_TRUE(g_commands.empty());
  ShowWindow(dialog_, SW_SHOW);
  Send(IDC_AUTO, BM_CLICK);
  EXPECT_EQ(Send(IDC_AUTO, BM_GETCHECK), BST_CHECKED);
  EXPECT_EQ(g_commands, (std::vector<std::pair<int, int>>{{IDC_AUTO, BN_CLICKED}}));
  EnableWindow(Item(IDC_AUTO), FALSE);
  Send(IDC_AUTO, BM_CLICK);
  EXPECT_EQ(Send(IDC_AUTO, BM_GETCHECK), BST_CHECKED);
  EXPECT_EQ(g_commands.size(), 1u);
}

}  // namespace
