// Incoming calls as the programs see them: a monitoring line is offered each
// new call and told of its end, lineGetCallInfo gives the caller ID, and the
// ringer waits until the monitoring program has heard of the call.
#include <gtest/gtest.h>
#include <tapi.h>
#include <windows.h>

#include <string>
#include <vector>

#include "../testing/device_fixture.h"
#include "calls.h"

using testing_support::DeviceTest;

namespace {

struct Heard {
  HCALL call;
  DWORD_PTR state;
};
std::vector<Heard> g_heard;

void CALLBACK RecordLineEvent(DWORD device, DWORD message, DWORD_PTR, DWORD_PTR state, DWORD_PTR, DWORD_PTR) {
  if (message == LINE_CALLSTATE) g_heard.push_back(Heard{device, state});
}

void DeliverMessages() {
  MSG msg;
  while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessageW(&msg);
}

// A line opened with `privileges`, shut down at the end of the test.
struct Line {
  explicit Line(DWORD privileges) {
    DWORD devices = 0;
    EXPECT_EQ(lineInitialize(&app, nullptr, RecordLineEvent, u"test", &devices), 0);
    LINEEXTENSIONID extension;
    DWORD version = 0;
    EXPECT_EQ(lineNegotiateAPIVersion(app, 0, 0x00010004, 0x00020000, &version, &extension), 0);
    EXPECT_EQ(lineOpen(app, 0, &line, version, 0, 0, privileges, LINEMEDIAMODE_INTERACTIVEVOICE, nullptr), 0);
  }
  ~Line() { lineShutdown(app); }
  HLINEAPP app = 0;
  HLINE line = 0;
};

std::u16string CallerId(HCALL call) {
  struct {
    LINECALLINFO info;
    WCHAR room[64];
  } buffer = {};
  buffer.info.dwTotalSize = sizeof buffer;
  if (lineGetCallInfo(call, &buffer.info) != 0 || !(buffer.info.dwCallerIDFlags & LINECALLPARTYID_ADDRESS))
    return u"<none>";
  return reinterpret_cast<const WCHAR*>(reinterpret_cast<const BYTE*>(&buffer) + buffer.info.dwCallerIDOffset);
}

}  // namespace

TEST_F(DeviceTest, AMonitoringLineIsOfferedACallAndToldOfItsEnd) {
  g_heard.clear();
  Line owner(LINECALLPRIVILEGE_OWNER);
  Line monitor(LINECALLPRIVILEGE_MONITOR);
  const int64_t id = platform::OfferCall("5551234");
  EXPECT_FALSE(platform::CallHeardByMonitors(id));
  platform::LookAtCallsNow();
  DeliverMessages();
  ASSERT_EQ(g_heard.size(), 1u);
  EXPECT_EQ(g_heard[0].state, static_cast<DWORD_PTR>(LINECALLSTATE_OFFERING));
  const HCALL call = g_heard[0].call;
  EXPECT_EQ(CallerId(call), u"5551234");
  EXPECT_TRUE(platform::CallHeardByMonitors(id));

  EXPECT_EQ(platform::EndCalls(""), 1);
  platform::LookAtCallsNow();
  DeliverMessages();
  ASSERT_EQ(g_heard.size(), 3u);
  EXPECT_EQ(g_heard[1].state, static_cast<DWORD_PTR>(LINECALLSTATE_DISCONNECTED));
  EXPECT_EQ(g_heard[2].state, static_cast<DWORD_PTR>(LINECALLSTATE_IDLE));
  LINECALLINFO info = {};
  info.dwTotalSize = sizeof info;
  EXPECT_EQ(lineGetCallInfo(call, &info), LINEERR_INVALCALLHANDLE);
}

TEST_F(DeviceTest, CallInfoTooSmallForTheCallerIdSaysTheSizeNeeded) {
  g_heard.clear();
  Line monitor(LINECALLPRIVILEGE_MONITOR);
  platform::OfferCall("+4455");
  platform::OfferCall("");
  platform::LookAtCallsNow();
  DeliverMessages();
  ASSERT_EQ(g_heard.size(), 2u);

  LINECALLINFO info = {};
  info.dwTotalSize = sizeof info - 1;
  EXPECT_EQ(lineGetCallInfo(g_heard[0].call, &info), LINEERR_STRUCTURETOOSMALL);
  info.dwTotalSize = sizeof info;
  ASSERT_EQ(lineGetCallInfo(g_heard[0].call, &info), 0);
  EXPECT_EQ(info.dwCallerIDFlags, static_cast<DWORD>(LINECALLPARTYID_ADDRESS));
  EXPECT_EQ(info.dwCallerIDSize, 0u);
  EXPECT_EQ(info.dwNeededSize, sizeof info + 6 * sizeof(WCHAR));

  EXPECT_EQ(CallerId(g_heard[1].call), u"<none>");
  info.dwTotalSize = sizeof info;
  ASSERT_EQ(lineGetCallInfo(g_heard[1].call, &info), 0);
  EXPECT_EQ(info.dwCallerIDFlags, static_cast<DWORD>(LINECALLPARTYID_BLOCKED));
}
