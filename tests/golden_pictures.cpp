#include "tests/golden_pictures.h"

#include <gtest/gtest.h>

#include <cstdlib>

#include "platform/gdi/png_file.h"

namespace fs = std::filesystem;

platform::Surface LoadPng(const fs::path& path) {
  platform::Surface s;
  std::string error;
  EXPECT_TRUE(platform::ReadPng(path.string(), &s, &error)) << path << ": " << error;
  return s;
}

void ExpectGolden(const fs::path& shot, const std::string& name) {
  fs::path golden = fs::path(SELVANE_SOURCE_DIR) / "tests" / "golden" / (name + ".png");
  if (std::getenv("SELVANE_UPDATE_GOLDEN")) {
    fs::create_directories(golden.parent_path());
    fs::copy_file(shot, golden, fs::copy_options::overwrite_existing);
    return;
  }
  ASSERT_TRUE(fs::exists(golden)) << golden << " is missing (SELVANE_UPDATE_GOLDEN=1 makes it)";
  platform::Surface actual = LoadPng(shot), expected = LoadPng(golden);
  ASSERT_EQ(actual.width(), expected.width()) << name;
  ASSERT_EQ(actual.height(), expected.height()) << name;
  int differing = 0, firstX = -1, firstY = -1;
  for (int y = 0; y < actual.height(); ++y)
    for (int x = 0; x < actual.width(); ++x)
      if (actual.at(x, y) != expected.at(x, y) && differing++ == 0) firstX = x, firstY = y;
  if (differing) {
    fs::path kept = fs::current_path() / "golden-actual" / (name + ".png");
    fs::create_directories(kept.parent_path());
    fs::copy_file(shot, kept, fs::copy_options::overwrite_existing);
    ADD_FAILURE() << name << ": " << differing << " pixels differ, first at " << firstX << "," << firstY
                  << "; new picture in " << kept;
  }
}

