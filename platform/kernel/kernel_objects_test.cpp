// Handles, events and threads: the waits a program relies on, and named
// events as the phone's journalled, counted signals.
#include <gtest/gtest.h>
#include <windows.h>

#include <atomic>

#include "../device/device.h"
#include "../testing/device_fixture.h"
#include "journal.h"

using testing_support::DeviceTest;

namespace {

int64_t SignalCount(const std::string& name) {
  platform::Statement q(platform::DeviceDb(), "SELECT count FROM event_signals WHERE name = ?");
  q.Bind(1, name);
  return q.Step() ? q.Int(0) : 0;
}

DWORD WINAPI SetEventLater(LPVOID parameter) {
  Sleep(0);
  SetEvent(static_cast<HANDLE>(parameter));
  return 7;
}

}  // namespace

TEST_F(DeviceTest, AutoResetEventReleasesOneWaitThenStaysReset) {
  HANDLE event = CreateEventW(nullptr, FALSE, TRUE, nullptr);
  ASSERT_NE(event, nullptr);
  EXPECT_EQ(WaitForSingleObject(event, 0), WAIT_OBJECT_0);
  EXPECT_EQ(WaitForSingleObject(event, 0), WAIT_TIMEOUT);
  HANDLE manual = CreateEventW(nullptr, TRUE, TRUE, nullptr);
  EXPECT_EQ(WaitForSingleObject(manual, 0), WAIT_OBJECT_0);
  EXPECT_EQ(WaitForSingleObject(manual, 0), WAIT_OBJECT_0);
  EXPECT_TRUE(CloseHandle(event));
  EXPECT_TRUE(CloseHandle(manual));
  EXPECT_FALSE(CloseHandle(event));
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_HANDLE));
}

TEST_F(DeviceTest, NamedEventIsOneObjectAndEachSignalIsJournalledAndCounted) {
  HANDLE first = CreateEventW(nullptr, FALSE, FALSE, u"BackLightChangeEvent");
  HANDLE second = CreateEventW(nullptr, FALSE, TRUE, u"BackLightChangeEvent");
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_ALREADY_EXISTS));
  // The second creation keeps the first one's state: not signalled.
  EXPECT_EQ(WaitForSingleObject(second, 0), WAIT_TIMEOUT);
  EXPECT_TRUE(EventModify(first, EVENT_SET));
  EXPECT_EQ(WaitForSingleObject(second, 0), WAIT_OBJECT_0);
  EXPECT_TRUE(EventModify(second, EVENT_SET));
  EXPECT_TRUE(EventModify(second, EVENT_RESET));
  EXPECT_FALSE(EventModify(second, 9));
  CloseHandle(first);
  CloseHandle(second);

  EXPECT_EQ(SignalCount("BackLightChangeEvent"), 2);
  auto journal = platform::JournalRead();
  ASSERT_EQ(journal.size(), 3u);
  EXPECT_EQ(journal[0].text, "EventModify \"BackLightChangeEvent\" 3");
  EXPECT_EQ(journal[2].text, "EventModify \"BackLightChangeEvent\" 2");
}

TEST_F(DeviceTest, UnnamedEventsAreNotPhoneEvents) {
  HANDLE event = CreateEventW(nullptr, TRUE, FALSE, nullptr);
  SetEvent(event);
  CloseHandle(event);
  EXPECT_TRUE(platform::JournalRead().empty());
}

TEST_F(DeviceTest, ThreadRunsAndItsHandleSignalsWithTheExitCode) {
  HANDLE event = CreateEventW(nullptr, TRUE, FALSE, nullptr);
  DWORD id = 0;
  HANDLE thread = CreateThread(nullptr, 0, SetEventLater, event, 0, &id);
  ASSERT_NE(thread, nullptr);
  EXPECT_NE(id, 0u);
  HANDLE both[2] = {thread, event};
  EXPECT_LE(WaitForMultipleObjects(2, both, FALSE, 5000), WAIT_OBJECT_0 + 1);
  EXPECT_EQ(WaitForSingleObject(thread, 5000), WAIT_OBJECT_0);
  DWORD code = 0;
  EXPECT_TRUE(GetExitCodeThread(thread, &code));
  EXPECT_EQ(code, 7u);
  EXPECT_EQ(WaitForSingleObject(event, 0), WAIT_OBJECT_0);
  EXPECT_EQ(WaitForMultipleObjects(2, both, TRUE, 0), WAIT_FAILED);
  CloseHandle(thread);
  CloseHandle(event);
}

TEST_F(DeviceTest, PulseReleasesAWaitingThreadAndLeavesTheEventReset) {
  HANDLE event = CreateEventW(nullptr, TRUE, FALSE, nullptr);
  static std::atomic<DWORD> result{0};
  auto waiter = [](LPVOID parameter) -> DWORD {
    result = WaitForSingleObject(static_cast<HANDLE>(parameter), 5000);
    return 0;
  };
  HANDLE thread = CreateThread(nullptr, 0, waiter, event, 0, nullptr);
  // Pulse until the waiter has been released (it may not be waiting yet).
  while (WaitForSingleObject(thread, 10) == WAIT_TIMEOUT) PulseEvent(event);
  EXPECT_EQ(result.load(), WAIT_OBJECT_0);
  EXPECT_EQ(WaitForSingleObject(event, 0), WAIT_TIMEOUT);
  CloseHandle(thread);
  CloseHandle(event);
}
