// The device tool's view of the phone hardware: `selvane-device state`
// after the programs changed it.
#include <gtest/gtest.h>
#include <mmsystem.h>
#include <windows.h>

#include <string>

#include "platform/device/device.h"
#include "platform/testing/device_fixture.h"

using testing_support::RunProgram;
using testing_support::TempDevice;

namespace {

std::string State() {
  auto result = RunProgram("selvane-device", {"state"});
  EXPECT_EQ(result.status, 0) << result.err;
  return result.out;
}

void ExpectLines(const std::string& state, std::initializer_list<const char*> lines) {
  for (const char* line : lines) EXPECT_NE(state.find(std::string(line) + "\n"), std::string::npos) << line << "\n" << state;
}

TEST(PhoneStateTest, FreshPhoneShowsItsHardware) {
  TempDevice device;
  ExpectLines(State(), {"radio: full (equipment state 5), registered", "sim: unlocked, PIN \"1234\"",
                        "bluetooth: Microsoft stack, off", "headset: on", "wave volume: 0xFFFFFFFF",
                        "events: none"});
}

TEST(PhoneStateTest, ChangesMadeByProgramsShow) {
  platform::DeviceOptions options;
  options.widcomm = true;
  TempDevice device(options);
  ExpectLines(State(), {"bluetooth: Widcomm stack, off"});
  ASSERT_EQ(RunProgram("Kestrow", {"4"}).status, 0);
  HANDLE event = CreateEventW(nullptr, FALSE, TRUE, u"BackLightChangeEvent");
  SetEvent(event);
  SetEvent(event);
  CloseHandle(event);
  waveOutSetVolume(nullptr, 0x3333);
  platform::SetDeviceValue("radio.equipment", "1");
  platform::SetDeviceValue("radio.registered", "0");
  platform::SetDeviceValue("sim.locked", "1");
  ExpectLines(State(), {"bluetooth: Widcomm stack, on", "radio: minimum (equipment state 1), not registered",
                        "sim: locked, PIN \"1234\"", "wave volume: 0x00003333", "events:",
                        "  \"BackLightChangeEvent\" signalled 2 times"});
}

}  // namespace
