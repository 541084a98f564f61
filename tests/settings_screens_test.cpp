// The nine pages of the settings dialog as the phone shows them, in both
// layouts, compared pixel for pixel with their golden pictures.
#include "platform/gdi/png_file.h"
#include "settings/resource.h"
#include "tests/golden_pictures.h"
#include "tests/settings_support.h"

namespace settings_test {
namespace {

using testing_support::TempDevice;

// Runs the program on the first-run device through its nine pages, one
// screenshot each, compared with tests/golden/settings_<layout>_page<N>.png.
void CompareAllPages(const std::string& layout) {
  int64_t now = 0;
  ASSERT_TRUE(platform::ParseLocalTime("2005-03-01 10:00:00", &now));
  platform::SetDeviceClock(now, true);
  std::vector<std::string> script;
  for (int page = 1; page <= 9; ++page) script.insert(script.end(), {"screenshot", "click 1028"});
  SettingsRun run = RunSettings(script);
  ASSERT_EQ(run.result.status, 0) << run.result.err;
  ASSERT_EQ(run.screenshots.size(), 9u);
  for (int page = 1; page <= 9; ++page)
    ExpectGolden(run.screenshots[page - 1], "settings_" + layout + "_page" + std::to_string(page));
}

TEST(SettingsScreens, PortraitPagesMatchTheirGoldenPictures) {
  TempDevice device(platform::DeviceOptions{.screenWidth = 240, .screenHeight = 320});
  CompareAllPages("portrait");
}

TEST(SettingsScreens, LandscapePagesMatchTheirGoldenPictures) {
  TempDevice device(platform::DeviceOptions{.screenWidth = 320, .screenHeight = 240});
  CompareAllPages("landscape");
}

// The callers dialog over the first page, with the categories of two
// contacts, in each layout: tests/golden/callers_<layout>.png.
void CompareCallersDialog(const std::string& layout) {
  int64_t now = 0;
  ASSERT_TRUE(platform::ParseLocalTime("2005-03-01 10:00:00", &now));
  platform::SetDeviceClock(now, true);
  testing_support::RunProgram("selvane-device", {"contacts", "add", "Mum", "5551234", "--category", "Family"});
  testing_support::RunProgram("selvane-device", {"contacts", "add", "Ann", "5558888", "--category", "Work"});
  platform::CloseDeviceDb();
  SettingsRun run = RunSettings({"click " + std::to_string(IDC_CALLERS), "screenshot"});
  ASSERT_EQ(run.result.status, 0) << run.result.err;
  ASSERT_EQ(run.screenshots.size(), 1u);
  ExpectGolden(run.screenshots[0], "callers_" + layout);
}

TEST(SettingsScreens, PortraitCallersDialogMatchesItsGoldenPicture) {
  TempDevice device(platform::DeviceOptions{.screenWidth = 240, .screenHeight = 320});
  CompareCallersDialog("portrait");
}

TEST(SettingsScreens, LandscapeCallersDialogMatchesItsGoldenPicture) {
  TempDevice device(platform::DeviceOptions{.screenWidth = 320, .screenHeight = 240});
  CompareCallersDialog("landscape");
}

// The mode picture stands at the top left in portrait and at (255, 5) of the
// dialog in landscape; the built-in house of mode 4 has a red roof.
bool RedNear(const platform::Surface& screen, int x, int y) {
  for (int dy = 0; dy < 24; ++dy)
    for (int dx = 0; dx < 24; ++dx) {
      platform::Pixel p = screen.at(x + dx, y + dy);
      if (((p >> 16) & 0xff) > 150 && ((p >> 8) & 0xff) < 80 && (p & 0xff) < 80) return true;
    }
  return false;
}

TEST(SettingsScreens, ModePictureStandsWhereTheLayoutLeavesRoom) {
  for (int width : {240, 320}) {
    TempDevice device(platform::DeviceOptions{.screenWidth = width, .screenHeight = 560 - width});
    SettingsRun run = RunSettings({"screenshot", "dump"});
    ASSERT_EQ(run.result.status, 0) << run.result.err;
    platform::Surface screen;
    std::string error;
    ASSERT_TRUE(platform::ReadPng(run.screenshots[0].string(), &screen, &error)) << error;
    std::vector<int> dialog = SettingsWindow(run.dumps[0]).value("rect", std::vector<int>{0, 0, 0, 0});
    if (width == 240) {
      EXPECT_TRUE(RedNear(screen, dialog[0] + 10, dialog[1] + 12));
    } else {
      EXPECT_TRUE(RedNear(screen, dialog[0] + 255, dialog[1] + 5));
      EXPECT_FALSE(RedNear(screen, dialog[0] + 10, dialog[1] + 12));
    }
  }
}

}  // namespace
}  // namespace settings_test
