// Support for the settings program's end-to-end tests: runs SelvaneSettings
// on the test device with a script of user actions, and reads its dumps, the store and the journal.
#pragma once

#include <gtest/gtest.h>
#include <windows.h>

#include <filesystem>
#include <fstream>
#include <nlohmann/json.hpp>
#include <optional>
#include <string>
#include <vector>

#include "platform/kernel/clock.h"
#include "platform/kernel/journal.h"
#include "platform/testing/device_fixture.h"
#include "platform/testing/registry_values.h"
#include "platform/text/utf.h"

namespace settings_test {

using nlohmann::json;

// The settings store's keys, as a user of the store sees them.
inline const std::u16string kStoreRoot = u"\\Software\\Microsoft\\Today\\Items\\Selvane";
inline std::u16string ModeKey(int mode) { return kStoreRoot + u"\\Mode " + platform::Utf8ToUtf16(std::to_string(mode)); }

using testing_support::DeleteValue;
using testing_support::GetDword;
using testing_support::GetText;
using testing_support::SetDword;
using testing_support::SetText;

inline std::optional<DWORD> ModeDword(int mode, const char16_t* name) {
  return GetDword(HKEY_LOCAL_MACHINE, ModeKey(mode), name);
}
inline std::optional<std::string> ModeText(int mode, const char16_t* name) {
  return GetText(HKEY_LOCAL_MACHINE, ModeKey(mode), name);
}
inline void SetModeDword(int mode, const char16_t* name, DWORD value) {
  SetDword(HKEY_LOCAL_MACHINE, ModeKey(mode), name, value);
}
inline void SetModeText(int mode, const char16_t* name, const std::u16string& text) {
  SetText(HKEY_LOCAL_MACHINE, ModeKey(mode), name, text);
}
inline std::u16string EntryKey(int mode, const std::u16string& event) {
  return ModeKey(mode) + u"\\Notifications\\" + event;
}

// One run of the settings program: its result and the dumps its script asked for.
struct SettingsRun {
  testing_support::ProgramResult result;
  std::vector<json> dumps;
  std::vector<std::filesystem::path> screenshots;
};

// Runs SelvaneSettings headless with the script. A line that is just "dump"
// or "screenshot" writes the next dump or picture into a folder beside the
// test device, so that they go when the device goes; they are read back into
// the run.
inline SettingsRun RunSettings(const std::vector<std::string>& script) {
  static int runs = 0;
  std::filesystem::path folder = platform::DeviceFolder().parent_path() /
                                 ("selvane-settings-" + std::to_string(getpid()) + "-" + std::to_string(++runs));
  std::filesystem::create_directories(folder);
  std::string text;
  std::vector<std::filesystem::path> dumpFiles;
  SettingsRun run;
  for (const std::string& line : script) {
    if (line == "dump") {
      dumpFiles.push_back(folder / ("dump" + std::to_string(dumpFiles.size()) + ".json"));
      text += "dump " + dumpFiles.back().string() + "\n";
    } else if (line == "screenshot") {
      run.screenshots.push_back(folder / ("screen" + std::to_string(run.screenshots.size()) + ".png"));
      text += "screenshot " + run.screenshots.back().string() + "\n";
    } else {
      text += line + "\n";
    }
  }
  std::filesystem::path input = testing_support::WriteFile(folder / "script.txt", text);
  run.result = testing_support::RunProgram("SelvaneSettings", {}, {{"SELVANE_INPUT", input.string()}});
  for (const auto& file : dumpFiles) {
    if (std::filesystem::exists(file))
      run.dumps.push_back(json::parse(testing_support::ReadFile(file)));
    else
      run.dumps.push_back(json());
  }
  return run;
}

// The settings dialog in a dump, and one of its controls (null json when missing).
inline const json& SettingsWindow(const json& dump) {
  static const json none;
  if (!dump.is_object() || !dump.contains("windows")) return none;
  for (const json& window : dump["windows"])
    if (window.value("title", "") == "Selvane Settings") return window;
  return none;
}

inline const json& Control(const json& dump, int id) {
  static const json none;
  const json& window = SettingsWindow(dump);
  if (window.is_null()) return none;
  for (const json& control : window["controls"])
    if (control.value("id", -1) == id) return control;
  return none;
}

// A field of a control, or the fallback when the control or field is missing.
template <typename T>
T Field(const json& dump, int id, const char* name, T fallback) {
  const json& control = Control(dump, id);
  if (!control.is_object() || !control.contains(name)) return fallback;
  return control[name].get<T>();
}

inline bool Visible(const json& dump, int id) { return Field(dump, id, "visible", false); }
inline bool Enabled(const json& dump, int id) { return Field(dump, id, "enabled", false); }
inline bool Checked(const json& dump, int id) { return Field(dump, id, "checked", false); }
inline bool Focused(const json& dump, int id) { return Field(dump, id, "focused", false); }
inline std::string Text(const json& dump, int id) { return Field(dump, id, "text", std::string()); }
inline int Selection(const json& dump, int id) { return Field(dump, id, "selection", -2); }
inline int Position(const json& dump, int id) { return Field(dump, id, "position", -1); }
inline std::vector<std::string> Items(const json& dump, int id) {
  return Field(dump, id, "items", std::vector<std::string>());
}
inline std::vector<int> Rect(const json& dump, int id) { return Field(dump, id, "rect", std::vector<int>{0, 0, 0, 0}); }
inline bool SipShown(const json& dump) { return dump.is_object() && dump.value("sip", false); }

// The journal lines of the settings program, texts only.
inline std::vector<std::string> SettingsJournal() {
  std::vector<std::string> lines;
  for (const auto& line : platform::JournalRead())
    if (line.program == "SelvaneSettings") lines.push_back(line.text);
  return lines;
}

// A test on a fresh device whose store has been prepared by a first run of
// the program, with "DefaultMode" naming the mode under test.
class SettingsTest : public testing_support::DeviceTest {
 protected:
  void SetUp() override {
    DeviceTest::SetUp();
    SettingsRun first = RunSettings({});
    ASSERT_EQ(first.result.status, 0) << first.result.err;
  }
  void OpenOnMode(int mode) { SetDword(HKEY_LOCAL_MACHINE, kStoreRoot, u"DefaultMode", (DWORD)mode); }
};

}  // namespace settings_test
