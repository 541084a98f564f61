// Support for the Today screen's end-to-end tests: a phone on a test device
// with its clock standing still, switched on with `selvane-device run` and a
// script, and the journal, store and dumps read back. The store is written
// and read in process, as the programs reach it.
#pragma once

#include <gtest/gtest.h>
#include <windows.h>

#include <nlohmann/json.hpp>

#include <optional>
#include <string>
#include <vector>

#include "platform/device/device.h"
#include "platform/kernel/journal.h"
#include "platform/testing/device_fixture.h"
#include "platform/testing/registry_values.h"
#include "platform/text/utf.h"

namespace today_test {

using testing_support::ProgramResult;
using testing_support::ReadFile;
using testing_support::RunProgram;
using testing_support::TempDevice;
using testing_support::WriteFile;

inline const char* const RootKey = "HKLM\\Software\\Microsoft\\Today\\Items\\Selvane";
inline const int ModeNameLine = 1003;
// The second line: a pending temporary switch, or the next switch of the day.
inline const int SwitchLine = 1004;

// "Days" values; 2026-12-09 is a Wednesday.
inline const DWORD EveryDay = 0x1111111;
inline const DWORD MondayOnly = 0x1000000;
inline const DWORD WednesdayOnly = 0x10000;

inline std::string ModeKey(int mode) { return std::string(RootKey) + "\\Mode " + std::to_string(mode); }

inline std::u16string Wide(const std::string& text) { return platform::Utf8ToUtf16(text); }

// A key written as the device tool takes it, "HKLM\..." or "HKCU\...": its
// root and the path below it.
inline std::u16string RegistryPath(const std::string& key, HKEY* root) {
  const size_t slash = key.find('\\');
  const std::string name = key.substr(0, slash);
  *root = name == "HKCU" ? HKEY_CURRENT_USER : HKEY_LOCAL_MACHINE;
  EXPECT_TRUE(slash != std::string::npos && (name == "HKLM" || name == "HKCU")) << key << " names no root key";
  return slash == std::string::npos ? u"" : Wide(key.substr(slash));
}

// How the settings store of a TodayPhone starts.
enum class Store {
  ByHand,    // five modes named M1 to M5 and nothing else, mode 1 active, "Init" 1
  Fresh,     // as a fresh device has it: never prepared
  Prepared,  // the factory modes of a first run of the item, "Home" active
};

// A phone whose clock stands at `now`; the journal starts empty unless the store is fresh.
class TodayPhone {
 public:
  explicit TodayPhone(const char* now, Store store = Store::ByHand, int width = 240, int height = 320)
      : device_(platform::DeviceOptions{.screenWidth = width, .screenHeight = height}) {
    Tool({"clock", "set", now, "--frozen"});
    if (store == Store::Fresh) return;
    if (store == Store::Prepared) {
      Run("");
    } else {
      for (int mode = 1; mode <= 5; ++mode) SetText(ModeKey(mode), "Mode Name", "M" + std::to_string(mode));
      SetDword(RootKey, "DefaultMode", 1);
      SetDword(RootKey, "Init", 1);
    }
    platform::JournalClear();
  }

  void SetClock(const char* now) { Tool({"clock", "set", now, "--frozen"}); }

  ProgramResult Tool(const std::vector<std::string>& args) {
    ProgramResult result = RunProgram("selvane-device", args);
    EXPECT_EQ(result.status, 0) << result.err;
    return result;
  }
  // Registry values, the key written as the device tool takes it.
  void SetDword(const std::string& key, const std::string& name, DWORD value) {
    HKEY root;
    const std::u16string path = RegistryPath(key, &root);
    testing_support::SetDword(root, path, Wide(name).c_str(), value);
  }
  void SetText(const std::string& key, const std::string& name, const std::string& text) {
    HKEY root;
    const std::u16string path = RegistryPath(key, &root);
    testing_support::SetText(root, path, Wide(name).c_str(), Wide(text));
  }
  void SetDailyStart(int mode, DWORD hour, DWORD minute, DWORD days) {
    SetDword(ModeKey(mode), "StartHour", hour);
    SetDword(ModeKey(mode), "StartMinutes", minute);
    SetDword(ModeKey(mode), "Days", days);
  }
  // Mode N's calendar rule on: an appointment of `status` (4 any) and
  // `category` ("N/A" any) switches to `busyMode`; `everyMinute` has the
  // calendar read each minute rather than at each appointment.
  void SetCalendarRule(int mode, DWORD status, const std::string& category, DWORD busyMode, bool everyMinute = false) {
    SetDword(ModeKey(mode), "OutlookSwitch", 1);
    if (everyMinute) SetDword(ModeKey(mode), "OutlookAutoRefresh", 1);
    SetDword(ModeKey(mode), "Status", status);
    SetText(ModeKey(mode), "Category", category);
    SetDword(ModeKey(mode), "ModeBusy", busyMode);
  }
  std::optional<DWORD> Dword(const std::string& key, const std::string& name) {
    HKEY root;
    const std::u16string path = RegistryPath(key, &root);
    return testing_support::GetDword(root, path, Wide(name).c_str());
  }
  DWORD ActiveMode() { return Dword(RootKey, "DefaultMode").value_or(0); }

  std::string Path(const std::string& name) const { return (device_.folder().parent_path() / name).string(); }

  // Switches the phone on with a script; it is switched off when the script is done.
  void Run(const std::string& script) {
    WriteFile(Path("run.txt"), script);
    ProgramResult result = RunProgram("selvane-device", {"run"}, {{"SELVANE_INPUT", Path("run.txt")}});
    EXPECT_EQ(result.status, 0) << result.err;
  }
  // A tap on mode N's picture in the row of a 240-pixel-wide screen (48 pixels a cell).
  static std::string TapPicture(int mode) { return "tap " + std::to_string(48 * (mode - 1) + 24) + " 124\n"; }
  // Runs the timer bar with a tap at x in its first row, as if the Today screen had started it.
  void TapTimerBar(const std::string& commandLine, int x) {
    WriteFile(Path("bar.txt"), "tap " + std::to_string(x) + " 148\n");
    ProgramResult result = RunProgram("selvane-device", {"start", "--wait", "SelvaneTimer", commandLine},
                                      {{"SELVANE_INPUT", Path("bar.txt")}});
    EXPECT_EQ(result.status, 0) << result.err;
  }
  nlohmann::json Dump(const std::string& name) const { return nlohmann::json::parse(ReadFile(Path(name))); }

 private:
  TempDevice device_;
};

inline std::vector<std::string> JournalOf(const std::string& program) {
  std::vector<std::string> lines;
  for (const auto& line : platform::JournalRead())
    if (line.program == program) lines.push_back(line.text);
  return lines;
}

// Index of the first journal line holding `text`, or -1.
inline int JournalIndex(const std::string& text) {
  auto journal = platform::JournalRead();
  for (size_t i = 0; i < journal.size(); ++i)
    if (journal[i].text.find(text) != std::string::npos) return static_cast<int>(i);
  return -1;
}

inline int Count(const std::vector<std::string>& lines, const std::string& prefix) {
  int count = 0;
  for (const auto& line : lines) count += line.rfind(prefix, 0) == 0;
  return count;
}

// The text of control ID of the program's window in a dump (the Today screen's by default).
inline std::string ControlText(const nlohmann::json& dump, int id, bool* visible = nullptr,
                               const std::string& program = "SelvaneToday") {
  for (const auto& window : dump["windows"]) {
    if (window.value("program", "") != program) continue;
    for (const auto& control : window["controls"]) {
      if (control["id"] != id) continue;
      if (visible) *visible = control["visible"];
      return control["text"];
    }
  }
  return "";
}

}  // namespace today_test
