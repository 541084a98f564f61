// The phone's screen as a user sees it: dialogs photographed with the
// `screenshot` action and compared pixel for pixel with the pictures kept
// in tests/golden, the pictures a program draws, the input panel, the shell.
#include <gtest/gtest.h>

#include <nlohmann/json.hpp>

#include <cstdlib>
#include <fstream>

#include "platform/files/files.h"
#include "platform/gdi/png_file.h"
#include "platform/kernel/clock.h"
#include "platform/kernel/journal.h"
#include "platform/testing/device_fixture.h"
#include "tests/golden_pictures.h"

namespace fs = std::filesystem;
using platform::Pixel;
using platform::Surface;
using testing_support::ReadFile;
using testing_support::RunProgram;
using testing_support::TempDevice;
using testing_support::WriteFile;

namespace {

// The screen shows the clock: a frozen device clock keeps pictures stable.
void FreezeClock() {
  int64_t ms = 0;
  ASSERT_TRUE(platform::ParseLocalTime("2005-03-01 09:41:00", &ms));
  platform::SetDeviceClock(ms, true);
}

platform::DeviceOptions Screen(int width, int height) {
  platform::DeviceOptions options;
  options.screenWidth = width;
  options.screenHeight = height;
  return options;
}

std::string SizeName(int width, int height) { return std::to_string(width) + "x" + std::to_string(height); }

// Runs a program with a script in the device's folder; returns its folder.
testing_support::ProgramResult RunScript(const TempDevice& device, const std::string& program,
                                         const std::string& script) {
  fs::path input = WriteFile(device.folder() / "input.txt", script);
  return RunProgram(program, {}, {{"SELVANE_INPUT", input.string()}});
}

nlohmann::json ControlOf(const nlohmann::json& dump, int id) {
  for (const auto& window : dump["windows"])
    for (const auto& control : window["controls"])
      if (control["id"] == id) return control;
  ADD_FAILURE() << "no control " << id << " in the dump";
  return nlohmann::json::object();
}

// The paint probe's controls (tests/screen/paint_probe_ids.h).
constexpr int kModeName = 1001;
constexpr int kVolume = 1011;
constexpr int kRing = 1007;
constexpr int kAutoPickUp = 1013;

}  // namespace

TEST(Screenshots, DialogsMatchTheirGoldenPicturesInBothOrientations) {
  for (auto [width, height] : {std::pair{240, 320}, std::pair{320, 240}}) {
    TempDevice device(Screen(width, height));
    FreezeClock();
    for (std::string program : {"selvane-probe", "selvane-paint-probe"}) {
      fs::path shot = device.folder() / (program + ".png");
      auto run = RunScript(device, program, "screenshot " + shot.string() + "\n");
      ASSERT_EQ(run.status, 0) << run.err;
      ExpectGolden(shot, program + "_" + SizeName(width, height));
    }
  }
}

TEST(Screenshots, ChangingAControlRepaintsOnlyThatControl) {
  TempDevice device;
  FreezeClock();
  fs::path before = device.folder() / "before.png", checked = device.folder() / "checked.png",
           slid = device.folder() / "slid.png", dump = device.folder() / "dump.json";
  // Each pair of pictures is taken with the focus already on the control
  // that changes, so that only the change itself shows.
  fs::path slidBefore = device.folder() / "slid-before.png";
  auto run = RunScript(device, "selvane-paint-probe",
                       "click 1013\nclick 1013\nscreenshot " + before.string() + "\nclick 1013\nscreenshot " +
                           checked.string() + "\nslide 1011 2\nscreenshot " + slidBefore.string() +
                           "\nslide 1011 5\nscreenshot " + slid.string() + "\ndump " + dump.string() + "\n");
  ASSERT_EQ(run.status, 0) << run.err;
  nlohmann::json state = nlohmann::json::parse(ReadFile(dump));
  ASSERT_EQ(ControlOf(state, kAutoPickUp)["checked"], true);
  ASSERT_EQ(ControlOf(state, kVolume)["position"], 5);

  auto changedOnlyInside = [&](const fs::path& a, const fs::path& b, int id) {
    Surface first = LoadPng(a), second = LoadPng(b);
    auto rect = ControlOf(state, id)["rect"];
    int left = rect[0], top = rect[1], right = left + int(rect[2]), bottom = top + int(rect[3]);
    int inside = 0, outside = 0;
    for (int y = 0; y < first.height(); ++y)
      for (int x = 0; x < first.width(); ++x)
        if (first.at(x, y) != second.at(x, y))
          (x >= left && x < right && y >= top && y < bottom ? inside : outside)++;
    EXPECT_GT(inside, 0) << "control " << id << " looks the same";
    EXPECT_EQ(outside, 0) << "control " << id << " changed pixels outside itself";
  };
  changedOnlyInside(before, checked, kAutoPickUp);
  changedOnlyInside(slidBefore, slid, kVolume);
}

TEST(Screenshots, PicturesKeepTheirTransparentColour) {
  TempDevice device;
  FreezeClock();
  // The probe draws its resource picture at (5, 5) of its dialog and the
  // picture file "\paint probe.bmp" at (200, 5), when it can read it.
  std::string picture = ReadFile(fs::path(SELVANE_SOURCE_DIR) / "tests/screen/paint_probe_picture.bmp");
  fs::path shot = device.folder() / "shot.png";
  for (std::string file : {picture, picture.substr(0, 100), std::string("no picture here")}) {
    platform::WriteDeviceFile(u"\\paint probe.bmp", file);
    auto run = RunScript(device, "selvane-paint-probe", "screenshot " + shot.string() + "\n");
    ASSERT_EQ(run.status, 0) << run.err;
    Surface s = LoadPng(shot);
    const Pixel blue = 0x8CA5C8, yellow = 0xFFD200;
    int top = 26;  // the dialog lies below the shell's top bar
    EXPECT_EQ(s.at(5, top + 5), blue);        // the picture's magenta corner
    EXPECT_EQ(s.at(5 + 12, top + 5 + 12), yellow);
    bool drawn = file.size() == picture.size();
    EXPECT_EQ(s.at(200, top + 5), blue);
    EXPECT_EQ(s.at(200 + 12, top + 5 + 12), drawn ? yellow : blue);
    for (int y = 0; y < s.height(); ++y)
      for (int x = 0; x < s.width(); ++x) ASSERT_NE(s.at(x, y), 0xFF00FFu) << x << "," << y;
  }
}

TEST(Screenshots, InputPanelKeysTypeIntoTheFocusedField) {
  TempDevice device;
  FreezeClock();
  fs::path shot = device.folder() / "keyboard.png", dump = device.folder() / "dump.json";
  // The "..." button raises the panel and selects the whole name; keys of
  // the second row (q, w, e ...) lie at y 230..245, 16 pixels per key from x 24.
  auto run = RunScript(device, "selvane-paint-probe",
                       "click 1004\ntap 30 238\ntap 46 238\nscreenshot " + shot.string() + "\ndump " +
                           dump.string() + "\n");
  ASSERT_EQ(run.status, 0) << run.err;
  nlohmann::json state = nlohmann::json::parse(ReadFile(dump));
  EXPECT_EQ(state["sip"], true);
  EXPECT_EQ(ControlOf(state, kModeName)["text"], "qw");
  auto journal = platform::JournalRead();
  ASSERT_FALSE(journal.empty());
  EXPECT_EQ(journal.back().text, "SipShowIM 1");
  ExpectGolden(shot, "paint_probe_keyboard_240x320");
}

TEST(Screenshots, TheShellsOkClosesADoneDialog) {
  TempDevice device;
  fs::path early = device.folder() / "early.json", late = device.folder() / "late.json";
  // The probe quits on "ok": the script's last line is never reached.
  auto run = RunScript(device, "selvane-paint-probe",
                       "dump " + early.string() + "\ntap 225 12\nwait 10\ndump " + late.string() + "\n");
  ASSERT_EQ(run.status, 0) << run.err;
  EXPECT_TRUE(fs::exists(early));
  EXPECT_FALSE(fs::exists(late));
}

TEST(Screenshots, DropDownArrowOpensItsListAndALinePicksTheEntry) {
  TempDevice device;
  FreezeClock();
  fs::path layout = device.folder() / "layout.json";
  ASSERT_EQ(RunScript(device, "selvane-paint-probe", "dump " + layout.string() + "\n").status, 0);
  auto rect = ControlOf(nlohmann::json::parse(ReadFile(layout)), kRing)["rect"];
  int left = rect[0], top = rect[1], width = rect[2], height = rect[3];
  std::string arrow = std::to_string(left + width - 5) + " " + std::to_string(top + height / 2);
  // The list opens below the box, one line per entry: the third is "Vibrate".
  int lineHeight = 14;
  std::string third = std::to_string(left + 20) + " " + std::to_string(top + height + 2 * lineHeight + lineHeight / 2);

  fs::path open = device.folder() / "open.png", closed = device.folder() / "closed.png",
           picked = device.folder() / "picked.json", still = device.folder() / "still.json";
  auto run = RunScript(device, "selvane-paint-probe",
                       "tap " + arrow + "\nscreenshot " + open.string() + "\ntap " + third + "\nscreenshot " +
                           closed.string() + "\ndump " + picked.string() + "\ntap " + arrow + "\ntap 5 300\ndump " +
                           still.string() + "\n");
  ASSERT_EQ(run.status, 0) << run.err;
  ExpectGolden(open, "paint_probe_open_list_240x320");
  nlohmann::json ring = ControlOf(nlohmann::json::parse(ReadFile(picked)), kRing);
  EXPECT_EQ(ring["text"], "Vibrate");
  EXPECT_EQ(ring["selection"], 2);
  // A tap beside an open list closes it and picks nothing.
  EXPECT_EQ(ControlOf(nlohmann::json::parse(ReadFile(still)), kRing)["selection"], 2);
  EXPECT_NE(LoadPng(open), LoadPng(closed));
}
