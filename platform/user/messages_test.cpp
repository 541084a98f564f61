// The message loop: posted messages and their filters, the quit request,
// and thread timers in virtual time.
#include <gtest/gtest.h>
#include <windows.h>

#include <utility>
#include <vector>

#include "../kernel/clock.h"
#include "../testing/device_fixture.h"

namespace {

class MessageLoopTest : public testing_support::DeviceTest {
 protected:
  void SetUp() override {
    DeviceTest::SetUp();
    MSG msg;
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
    }
  }
};

std::vector<std::pair<UINT_PTR, int64_t>> g_ticks;

VOID CALLBACK RecordTick(HWND, UINT message, UINT_PTR id, DWORD) {
  if (message == WM_TIMER) g_ticks.emplace_back(id, platform::ProgramElapsedMs());
}

TEST_F(MessageLoopTest, ThreadTimersFireInOrderOfDueTimeInVirtualTime) {
  ASSERT_TRUE(platform::VirtualTime());
  g_ticks.clear();
  UINT_PTR slow = SetTimer(nullptr, 1, 300, RecordTick);
  UINT_PTR fast = SetTimer(nullptr, 2, 100, RecordTick);
  ASSERT_NE(slow, 0u);
  ASSERT_NE(fast, 0u);
  ASSERT_NE(slow, fast);
  int64_t start = platform::ProgramElapsedMs();
  MSG msg;
  for (int i = 0; i < 5; ++i) {
    ASSERT_TRUE(GetMessageW(&msg, nullptr, 0, 0));
    EXPECT_EQ(msg.message, static_cast<UINT>(WM_TIMER));
    DispatchMessageW(&msg);
  }
  // Four ticks of the fast timer and one of the slow one by 400 ms; at
  // 300 ms the slow timer, set earlier, goes first.
  std::vector<std::pair<UINT_PTR, int64_t>> expected = {
      {fast, start + 100}, {fast, start + 200}, {slow, start + 300}, {fast, start + 300}, {fast, start + 400}};
  EXPECT_EQ(g_ticks, expected);
  EXPECT_TRUE(KillTimer(nullptr, slow));
  EXPECT_TRUE(KillTimer(nullptr, fast));
  EXPECT_FALSE(KillTimer(nullptr, fast));
}

TEST_F(MessageLoopTest, ThreadTimerIdentifierIsThePlatformsAndResettingItReplacesTheTimer) {
  g_ticks.clear();
  UINT_PTR id = SetTimer(nullptr, 12, 1000, RecordTick);
  EXPECT_NE(id, 12u);
  int64_t start = platform::ProgramElapsedMs();
  EXPECT_EQ(SetTimer(nullptr, id, 50, RecordTick), id);
  MSG msg;
  ASSERT_TRUE(GetMessageW(&msg, nullptr, 0, 0));
  DispatchMessageW(&msg);
  ASSERT_EQ(g_ticks.size(), 1u);
  EXPECT_EQ(g_ticks[0], std::make_pair(id, start + 50));
  // A due timer is not handed out again before its next period.
  EXPECT_FALSE(PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE));
  Sleep(50);
  EXPECT_TRUE(PeekMessageW(&msg, nullptr, WM_TIMER, WM_TIMER, PM_NOREMOVE));
  EXPECT_TRUE(PeekMessageW(&msg, nullptr, WM_TIMER, WM_TIMER, PM_REMOVE));
  EXPECT_FALSE(PeekMessageW(&msg, nullptr, WM_TIMER, WM_TIMER, PM_REMOVE));
  KillTimer(nullptr, id);
}

TEST_F(MessageLoopTest, PeekMessageTakesOnlyTheRangeAndRemovesOnlyWhenAsked) {
  PostMessageW(nullptr, WM_COMMAND, 7, 0);
  PostMessageW(nullptr, WM_USER + 1, 1, 0);
  PostMessageW(nullptr, WM_USER + 5, 5, 0);
  MSG msg;
  ASSERT_TRUE(PeekMessageW(&msg, nullptr, WM_USER, WM_USER + 2, PM_NOREMOVE));
  EXPECT_EQ(msg.message, static_cast<UINT>(WM_USER + 1));
  ASSERT_TRUE(PeekMessageW(&msg, nullptr, WM_USER, WM_USER + 2, PM_REMOVE));
  EXPECT_EQ(msg.wParam, 1u);
  EXPECT_FALSE(PeekMessageW(&msg, nullptr, WM_USER, WM_USER + 2, PM_REMOVE));
  // What is left comes in the order it was posted.
  ASSERT_TRUE(GetMessageW(&msg, nullptr, 0, 0));
  EXPECT_EQ(msg.message, static_cast<UINT>(WM_COMMAND));
  ASSERT_TRUE(GetMessageW(&msg, nullptr, 0, 0));
  EXPECT_EQ(msg.message, static_cast<UINT>(WM_USER + 5));
  EXPECT_FALSE(PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE));
}

TEST_F(MessageLoopTest, QuitComesAfterPostedMessagesWithItsExitCode) {
  PostQuitMessage(3);
  PostMessageW(nullptr, WM_USER, 0, 0);
  MSG msg;
  ASSERT_TRUE(GetMessageW(&msg, nullptr, 0, 0));
  EXPECT_EQ(msg.message, static_cast<UINT>(WM_USER));
  // Outside the filter's range the quit request still comes.
  ASSERT_TRUE(PeekMessageW(&msg, nullptr, WM_USER, WM_USER, PM_NOREMOVE));
  EXPECT_EQ(msg.message, static_cast<UINT>(WM_QUIT));
  EXPECT_FALSE(GetMessageW(&msg, nullptr, 0, 0));
  EXPECT_EQ(msg.message, static_cast<UINT>(WM_QUIT));
  EXPECT_EQ(msg.wParam, 3u);
  EXPECT_FALSE(PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE));
}

}  // namespace
