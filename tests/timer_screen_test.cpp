// What the timer bar looks like: screenshots compared pixel for pixel with
// the golden pictures kept beside this file, in both orientations, with and
// without a pending switch; and the install folder's own pictures, a larger
// one among them, drawn in their cells.
#include <gtest/gtest.h>
#include <windows.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

#include <strings.h>

#include "platform/gdi/png_file.h"
#include "platform/testing/device_fixture.h"
#include "platform/testing/registry_values.h"

namespace {

namespace fs = std::filesystem;
using platform::Pixel;
using platform::Surface;
using testing_support::ProgramResult;
using testing_support::RunProgram;
using testing_support::SetDword;
using testing_support::SetText;
using testing_support::TempDevice;
using testing_support::WriteFile;

const Pixel BarColour = 0x8CA5C8;  // RGB(140, 165, 200)
const int BarTop = 150;

fs::path GoldenFolder() { return fs::path(SELVANE_SOURCE_DIR) / "tests" / "golden"; }

platform::DeviceOptions Screen(int width, int height) {
  platform::DeviceOptions options;
  options.screenWidth = width;
  options.screenHeight = height;
  return options;
}

std::u16string ModeKey(int mode) {
  return std::u16string(u"\\Software\\Microsoft\\Today\\Items\\Selvane\\Mode ") + char16_t(u'0' + mode);
}

// Runs the bar at 10:00 on the current device and takes a screenshot of it.
Surface Screenshot(const TempDevice& device) {
  ProgramResult clock = RunProgram("selvane-device", {"clock", "set", "2005-03-01 10:00:00", "--frozen"});
  EXPECT_EQ(clock.status, 0) << clock.err;
  fs::path shot = device.folder().parent_path() / "bar.png";
  fs::path script = WriteFile(device.folder().parent_path() / "script.txt", "screenshot " + shot.string() + "\n");
  ProgramResult run = RunProgram("SelvaneTimer", {"2:3", "24:150"}, {{"SELVANE_INPUT", script.string()}});
  EXPECT_EQ(run.status, 0) << run.err;
  Surface surface;
  std::string error;
  EXPECT_TRUE(platform::ReadPng(shot.string(), &surface, &error)) << error;
  return surface;
}

// Compares with the golden picture; SELVANE_UPDATE_GOLDEN=1 writes it anew.
void ExpectGolden(const Surface& shot, const std::string& name) {
  fs::path golden = GoldenFolder() / name;
  std::string error;
  const char* update = std::getenv("SELVANE_UPDATE_GOLDEN");
  if (update != nullptr && std::string(update) == "1") {
    ASSERT_TRUE(platform::WritePng(shot, golden.string(), &error)) << error;
  }
  Surface expected;
  ASSERT_TRUE(platform::ReadPng(golden.string(), &expected, &error)) << error;
  ASSERT_EQ(shot.width(), expected.width());
  ASSERT_EQ(shot.height(), expected.height());
  int differing = 0;
  for (int y = 0; y < shot.height(); ++y) {
    for (int x = 0; x < shot.width(); ++x) differing += shot.at(x, y) != expected.at(x, y);
  }
  EXPECT_EQ(differing, 0) << name << ": " << differing << " pixels differ";
}

struct GoldenCase {
  const char* name;
  int width;
  int height;
  bool pending;
  const char* golden;
};

// A case prints as its name: in the test's name and in a failure's message.
void PrintTo(const GoldenCase& c, std::ostream* out) { *out << c.name; }

class TimerScreen : public ::testing::TestWithParam<GoldenCase> {};

TEST_P(TimerScreen, LooksLikeItsGoldenPicture) {
  const GoldenCase& c = GetParam();
  TempDevice device(Screen(c.width, c.height));
  if (c.pending) {
    SetDword(HKEY_LOCAL_MACHINE, ModeKey(2), u"StopHourTemp", 9);
    SetDword(HKEY_LOCAL_MACHINE, ModeKey(2), u"StopMinutesTemp", 5);
    SetDword(HKEY_LOCAL_MACHINE, ModeKey(2), u"ModeBackTemp", 4);
    SetText(HKEY_LOCAL_MACHINE, ModeKey(4), u"Mode Name", u"Home");
  }
  Surface shot = Screenshot(device);
  ExpectGolden(shot, c.golden);
  // The bar spans the screen, its inside the bar's colour at its ends.
  EXPECT_EQ(shot.at(1, BarTop + 1), BarColour);
  EXPECT_EQ(shot.at(c.width - 2, BarTop + 22), BarColour);
}

INSTANTIATE_TEST_SUITE_P(Orientations, TimerScreen,
                         ::testing::Values(GoldenCase{"Portrait", 240, 320, false, "timer_bar_portrait.png"},
                                           GoldenCase{"Landscape", 320, 240, false, "timer_bar_landscape.png"},
                                           GoldenCase{"PendingPortrait", 240, 320, true, "timer_pending_portrait.png"},
                                           GoldenCase{"PendingLandscape", 320, 240, true, "timer_pending_landscape.png"}),
                         ::testing::PrintToStringParamName());

// A 24-bit BMP of one colour with a magenta top-left pixel.
std::string SolidBmp(int width, int height, BYTE r, BYTE g, BYTE b) {
  int stride = (width * 3 + 3) / 4 * 4;
  std::string pixels(size_t(stride) * height, '\0');
  for (int y = 0; y < height; ++y) {
    for (int x = 0; x < width; ++x) {
      bool corner = x == 0 && y == height - 1;  // rows are stored bottom-up
      char* p = &pixels[size_t(y) * stride + x * 3];
      p[0] = char(corner ? 255 : b);
      p[1] = char(corner ? 0 : g);
      p[2] = char(corner ? 255 : r);
    }
  }
  auto le32 = [](uint32_t v) { return std::string{char(v), char(v >> 8), char(v >> 16), char(v >> 24)}; };
  auto le16 = [](uint16_t v) { return std::string{char(v), char(v >> 8)}; };
  std::string file = "BM" + le32(54 + uint32_t(pixels.size())) + le32(0) + le32(54);
  file += le32(40) + le32(width) + le32(height) + le16(1) + le16(24) + le32(0) + le32(uint32_t(pixels.size())) +
          le32(2835) + le32(2835) + le32(0) + le32(0);
  return file + pixels;
}

// The install folder as the fresh device has it, whatever the case on disk.
fs::path InstallFolder(const TempDevice& device) {
  for (const auto& top : fs::directory_iterator(device.fs())) {
    if (strcasecmp(top.path().filename().c_str(), "program files") != 0) continue;
    for (const auto& inner : fs::directory_iterator(top.path())) {
      if (strcasecmp(inner.path().filename().c_str(), "selvane") == 0) return inner.path();
    }
  }
  return device.fs() / "Program files" / "Selvane";
}

TEST(TimerPictures, FilesInTheInstallFolderReplaceTheBuiltInPicturesWithinTheirCells) {
  TempDevice device(Screen(240, 320));
  fs::path folder = InstallFolder(device);
  WriteFile(folder / "15.bmp", SolidBmp(24, 24, 0, 0, 200));
  WriteFile(folder / "0.bmp", SolidBmp(60, 60, 0, 160, 0));
  Surface shot = Screenshot(device);

  // The 15 picture from its file, its magenta corner left out.
  EXPECT_EQ(shot.at(1 + 5 + 12, BarTop + 12), 0x0000C8u);
  EXPECT_EQ(shot.at(1 + 5, BarTop), BarColour);
  // The 0 picture, larger than its cell, fills the cell and no more.
  for (int y = BarTop; y < BarTop + 24; ++y) {
    EXPECT_EQ(shot.at(1 + 204, y), 0x00A000u) << y;
    EXPECT_EQ(shot.at(1 + 237, y), 0x00A000u) << y;
    EXPECT_NE(shot.at(1 + 203, y), 0x00A000u) << y;
  }
  EXPECT_NE(shot.at(1 + 238, BarTop + 12), 0x00A000u);

  // The cells between stay as the built-in pictures draw them.
  Surface golden;
  std::string error;
  ASSERT_TRUE(platform::ReadPng((GoldenFolder() / "timer_bar_portrait.png").string(), &golden, &error)) << error;
  for (int y = BarTop - 1; y <= BarTop + 24; ++y) {
    for (int x = 1 + 34; x < 1 + 204; ++x) ASSERT_EQ(shot.at(x, y), golden.at(x, y)) << x << "," << y;
  }
}

}  // namespace
