// Windows and dialogs: placement from dialog units and by the shell,
// visibility, focus, painting, window timers, platform windows and the
// end of windows.
#include <aygshell.h>
#include <gtest/gtest.h>
#include <windows.h>

#include <array>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

#include "../setup/device_setup.h"
#include "../testing/device_fixture.h"
#include "tests/windows/probe_ids.h"
#include "window_model.h"

namespace {

std::vector<UINT> g_heard;  // messages the dialog procedure received
std::vector<UINT_PTR> g_timers;

INT_PTR CALLBACK ListeningProc(HWND, UINT message, WPARAM wParam, LPARAM) {
  if (message == WM_PAINT || message == WM_DESTROY) g_heard.push_back(message);
  if (message == WM_TIMER) g_timers.push_back(wParam);
  return message == WM_INITDIALOG;
}

std::vector<std::pair<UINT, WPARAM>> g_platformHeard;

LRESULT CALLBACK PlatformProc(HWND, UINT message, WPARAM wParam, LPARAM) {
  g_platformHeard.emplace_back(message, wParam);
  return 0;
}

class WindowsTest : public testing_support::DeviceTest {
 protected:
  void SetUp() override {
    DeviceTest::SetUp();
    g_heard.clear();
    g_timers.clear();
    dialog_ = CreateDialogParamW(nullptr, MAKEINTRESOURCEW(IDD_PROBE), nullptr, ListeningProc, 0);
    ASSERT_NE(dialog_, nullptr);
  }
  void TearDown() override {
    if (IsWindow(dialog_)) DestroyWindow(dialog_);
    MSG msg;
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
    }
    DeviceTest::TearDown();
  }
  // Dispatches whatever paint is asked for, so that every window is valid.
  void PaintAll() {
    MSG msg;
    while (PeekMessageW(&msg, nullptr, WM_PAINT, WM_PAINT, PM_REMOVE)) DispatchMessageW(&msg);
  }
  // left, top, right, bottom on the screen
  std::array<LONG, 4> Rect(HWND window) {
    RECT r;
    GetWindowRect(window, &r);
    return {r.left, r.top, r.right, r.bottom};
  }
  HWND dialog_ = nullptr;
};

TEST_F(WindowsTest, ShellDialogFillsTheScreenBetweenTheBarsAndControlsMoveWithIt) {
  HWND name = GetDlgItem(dialog_, IDC_NAME);
  SHINITDLGINFO info = {SHIDIM_FLAGS, dialog_, SHIDIF_DONEBUTTON | SHIDIF_SIZEDLG};
  ASSERT_TRUE(SHInitDialog(&info));
  EXPECT_EQ(Rect(dialog_), (std::array<LONG, 4>{0, 26, 240, 294}));
  // 10, 70 dialog units of Tahoma 8 inside the one-pixel frame.
  EXPECT_EQ(Rect(name), (std::array<LONG, 4>{16, 141, 106, 161}));
  SetWindowPos(dialog_, nullptr, 10, 40, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
  EXPECT_EQ(Rect(name), (std::array<LONG, 4>{26, 155, 116, 175}));
  // A control is placed in its dialog's client coordinates.
  MoveWindow(name, 0, 0, 50, 10, TRUE);
  EXPECT_EQ(Rect(name), (std::array<LONG, 4>{11, 41, 61, 51}));
  EXPECT_EQ(GetDlgItem(dialog_, 4242), nullptr);
}

TEST_F(WindowsTest, ExtremePositionsAndSizesAreKeptWithinReach) {
  HWND control = GetDlgItem(dialog_, IDC_AUTO);
  ShowWindow(dialog_, SW_SHOW);
  const int most = 2147483647, least = -2147483647 - 1;
  RECT rect;
  for (auto [x, y, cx, cy] : std::vector<std::array<int, 4>>{{most, most, most, most},
                                                             {least, least, least, least},
                                                             {0, most, 240, most}}) {
    ASSERT_TRUE(SetWindowPos(dialog_, nullptr, x, y, cx, cy, SWP_NOZORDER));
    ASSERT_TRUE(MoveWindow(control, x, y, cx, cy, TRUE));
    RECT everything{least, least, most, most};
    InvalidateRect(control, &everything, TRUE);
    UpdateWindow(dialog_);  // painted whole, however far it reaches
    for (HWND window : {dialog_, control}) {
      ASSERT_TRUE(GetWindowRect(window, &rect));
      EXPECT_LE(rect.left, rect.right);
      EXPECT_LE(rect.top, rect.bottom);
      EXPECT_LT(static_cast<int64_t>(rect.right) - rect.left, int64_t{1} << 24);
      EXPECT_LT(std::abs(static_cast<int64_t>(rect.top)), int64_t{1} << 24);
    }
  }
}

TEST_F(WindowsTest, ControlsShowOnlyInsideAShownDialogAndDisabledOnesLoseTheFocus) {
  HWND name = GetDlgItem(dialog_, IDC_NAME);
  EXPECT_FALSE(IsWindowVisible(name));
  EXPECT_FALSE(ShowWindow(dialog_, SW_SHOW));
  EXPECT_TRUE(IsWindowVisible(name));
  EXPECT_EQ(GetForegroundWindow(), dialog_);
  EXPECT_TRUE(ShowWindow(name, SW_HIDE));
  EXPECT_FALSE(IsWindowVisible(name));
  ShowWindow(name, SW_SHOW);
  SetFocus(name);
  EXPECT_EQ(GetFocus(), name);
  EXPECT_FALSE(EnableWindow(name, FALSE));
  EXPECT_FALSE(IsWindowEnabled(name));
  EXPECT_EQ(GetFocus(), nullptr);
  EXPECT_TRUE(EnableWindow(name, TRUE));
}

TEST_F(WindowsTest, AControlTakesInputOnlyWhileNoWindowAboveItIsDisabled) {
  HWND name = GetDlgItem(dialog_, IDC_NAME);
  EXPECT_TRUE(platform::WindowUsable(name));
  EnableWindow(dialog_, FALSE);
  EXPECT_FALSE(platform::WindowUsable(name));
  EXPECT_TRUE(IsWindowEnabled(name));  // its own style is untouched
  EnableWindow(dialog_, TRUE);
  EnableWindow(name, FALSE);
  EXPECT_FALSE(platform::WindowUsable(name));
  EXPECT_TRUE(platform::WindowUsable(dialog_));
  EXPECT_FALSE(platform::WindowUsable(nullptr));
}

TEST_F(WindowsTest, PaintIsAskedForUntilTheWindowIsValid) {
  ShowWindow(dialog_, SW_SHOW);
  PaintAll();
  g_heard.clear();
  MSG msg;
  EXPECT_FALSE(PeekMessageW(&msg, nullptr, WM_PAINT, WM_PAINT, PM_NOREMOVE));
  InvalidateRect(dialog_, nullptr, TRUE);
  ASSERT_TRUE(PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE));
  EXPECT_EQ(msg.hwnd, dialog_);
  EXPECT_EQ(msg.message, static_cast<UINT>(WM_PAINT));
  DispatchMessageW(&msg);
  EXPECT_FALSE(PeekMessageW(&msg, nullptr, WM_PAINT, WM_PAINT, PM_NOREMOVE));
  // UpdateWindow paints at once, and only what needs it.
  InvalidateRect(dialog_, nullptr, FALSE);
  UpdateWindow(dialog_);
  UpdateWindow(dialog_);
  EXPECT_EQ(g_heard, (std::vector<UINT>{WM_PAINT, WM_PAINT}));
  // A hidden window is not painted.
  ShowWindow(dialog_, SW_HIDE);
  InvalidateRect(dialog_, nullptr, TRUE);
  EXPECT_FALSE(PeekMessageW(&msg, dialog_, WM_PAINT, WM_PAINT, PM_NOREMOVE));
}

TEST_F(WindowsTest, WindowTimersReachTheirDialogAndEndWithIt) {
  ASSERT_NE(SetTimer(dialog_, 5, 100, nullptr), 0u);
  MSG msg;
  ASSERT_TRUE(GetMessageW(&msg, nullptr, 0, 0));
  EXPECT_EQ(msg.hwnd, dialog_);
  EXPECT_EQ(msg.message, static_cast<UINT>(WM_TIMER));
  DispatchMessageW(&msg);
  EXPECT_EQ(g_timers, (std::vector<UINT_PTR>{5}));
  HWND name = GetDlgItem(dialog_, IDC_NAME);
  SetFocus(name);
  DestroyWindow(dialog_);
  EXPECT_EQ(g_heard, (std::vector<UINT>{WM_DESTROY}));
  EXPECT_FALSE(IsWindow(name));
  EXPECT_EQ(GetFocus(), nullptr);
  EXPECT_FALSE(KillTimer(dialog_, 5));
  EXPECT_EQ(SetTimer(dialog_, 6, 100, nullptr), 0u);
}

TEST_F(WindowsTest, PlatformWindowsAreFoundAndRunTheirTimersInAnyLoop) {
  HWND tray = platform::RegisterPlatformWindow(u"WCE_TEST", u"Console", PlatformProc);
  g_platformHeard.clear();
  EXPECT_EQ(FindWindowW(u"wce_test", u"Console"), tray);
  EXPECT_EQ(FindWindowW(u"WCE_TEST", u"Other"), nullptr);
  EXPECT_EQ(FindWindowW(nullptr, u"Probe"), dialog_);
  SendMessageW(tray, WM_COMMAND, 0x1002, 0);
  SetTimer(tray, 1, 500, nullptr);
  // A loop that waits on its own dialog's messages still runs the phone's timers.
  Sleep(500);
  MSG msg;
  EXPECT_FALSE(PeekMessageW(&msg, dialog_, 0, 0x3FF, PM_REMOVE));
  EXPECT_EQ(g_platformHeard,
            (std::vector<std::pair<UINT, WPARAM>>{{WM_COMMAND, 0x1002}, {WM_TIMER, 1}}));
  DestroyWindow(tray);
  EXPECT_EQ(FindWindowW(u"WCE_TEST", nullptr), nullptr);
}

TEST_F(WindowsTest, WaitingOnOneWindowLeavesTheQuitRequestForTheMainLoop) {
  PostQuitMessage(0);
  PostMessageW(dialog_, WM_COMMAND, IDCANCEL, 0);
  MSG msg;
  ASSERT_TRUE(PeekMessageW(&msg, dialog_, 0, 0x3FF, PM_REMOVE));
  EXPECT_EQ(msg.message, static_cast<UINT>(WM_COMMAND));
  EXPECT_FALSE(PeekMessageW(&msg, dialog_, 0, 0x3FF, PM_REMOVE));
  ASSERT_TRUE(PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE));
  EXPECT_EQ(msg.message, static_cast<UINT>(WM_QUIT));
}

}  // namespace

// The screen's size is read once for each connection to the device, so a
// device replaced in the same process shows its own size.
TEST(ScreenMetrics, TheScreenIsThatOfTheDeviceInUseAlsoAfterItIsReplaced) {
  testing_support::TempDevice device(platform::DeviceOptions{.screenWidth = 320, .screenHeight = 240});
  EXPECT_EQ(GetSystemMetrics(SM_CXSCREEN), 320);
  EXPECT_EQ(GetSystemMetrics(SM_CYSCREEN), 240);
  std::string error;
  ASSERT_TRUE(platform::CreateDevice(platform::DeviceOptions{.screenWidth = 480, .screenHeight = 640}, true, &error))
      << error;
  EXPECT_EQ(GetSystemMetrics(SM_CXSCREEN), 480);
  EXPECT_EQ(GetSystemMetrics(SM_CYSCREEN), 640);
}
