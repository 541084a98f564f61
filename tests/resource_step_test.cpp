// The resource step from outside, run as the build runs it: a sound script
// becomes the table the loader reads, with the headers it read listed for
// the build; a mistake stops the build, names the script and writes nothing.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "platform/testing/device_fixture.h"

using testing_support::ProgramResult;
using testing_support::ReadFile;
using testing_support::RunProgram;
using testing_support::WriteFile;

namespace {

namespace fs = std::filesystem;

class ResourceStep : public ::testing::Test {
 protected:
  void SetUp() override {
    std::string pattern = (fs::temp_directory_path() / "selvane-resources-XXXXXX").string();
    ASSERT_NE(mkdtemp(pattern.data()), nullptr);
    folder_ = pattern;
    WriteFile(folder_ / "ids.h", "#pragma once\n#define IDD_MAIN 100\n#define IDC_OK 1000\n");
    fs::copy_file(fs::path(SELVANE_SOURCE_DIR) / "tests/windows/probe_picture.bmp", folder_ / "picture.bmp");
  }
  void TearDown() override { fs::remove_all(folder_); }

  ProgramResult Compile(const std::string& script) {
    fs::path path = WriteFile(folder_ / "app.rc", "#include <windows.h>\n#include \"ids.h\"\n" + script);
    return RunProgram(SELVANE_CMAKE, {std::string("-DCOMPILER=") + SELVANE_C_COMPILER,
                                      std::string("-DLLVM_RC=") + SELVANE_LLVM_RC,
                                      std::string("-DHEADERS=") + SELVANE_SOURCE_DIR + "/platform/include",
                                      "-DSCRIPT=" + path.string(), "-DOUTPUT=" + Output().string(),
                                      "-DDEPFILE=" + (folder_ / "app.d").string(), "-P",
                                      std::string(SELVANE_SOURCE_DIR) + "/cmake/compile_resources.cmake"});
  }
  fs::path Output() const { return folder_ / "app_resources.cpp"; }

  fs::path folder_;
};

const char kDialog[] = "IDD_MAIN DIALOG 0, 0, 50, 40\nBEGIN\n  DEFPUSHBUTTON \"OK\", IDC_OK, 5, 5, 40, 14\nEND\n";

TEST_F(ResourceStep, SoundScriptBecomesTheLoadersTableAndListsTheHeadersItRead) {
  ProgramResult run = Compile(std::string(kDialog) + "Pic BITMAP \"picture.bmp\"\n");
  ASSERT_EQ(run.status, 0) << run.err;
  std::string source = ReadFile(Output());
  EXPECT_NE(source.find("{5, 100, nullptr, kResource0, sizeof kResource0}"), std::string::npos) << source;
  // Text names are kept upper-case, as the loader compares them.
  EXPECT_NE(source.find("const WCHAR kName1[] = {80, 73, 67, 0};"), std::string::npos) << source;
  EXPECT_NE(source.find("{2, 0, kName1, kResource1, sizeof kResource1}"), std::string::npos) << source;
  std::string depfile = ReadFile(folder_ / "app.d");
  EXPECT_NE(depfile.find((folder_ / "ids.h").string()), std::string::npos) << depfile;
  EXPECT_NE(depfile.find("platform/include/winuser.h"), std::string::npos) << depfile;
}

TEST_F(ResourceStep, MistakesStopTheBuildAndWriteNothing) {
  struct Case {
    std::string script;
    std::string message;
  };
  std::vector<Case> cases = {
      {std::string(kDialog) + kDialog, "app.rc: two resources of type 5 have the number 100"},
      {"Pic BITMAP \"picture.bmp\"\npic BITMAP \"picture.bmp\"\n", "app.rc: two resources of type 2 have the name PIC"},
      {"1 PICTURE \"picture.bmp\"\n", "app.rc: a resource type given by name is not supported"},
      {"7 BITMAP \"missing.bmp\"\n", "missing.bmp"},
      {"#include \"nowhere.h\"\n", "app.rc:3"},
      {"IDD_MAIN DIALOG 0, 0, 50, 40\nSTYLE WS_BOGUS\nBEGIN\nEND\n", "WS_BOGUS"},
      {"#include <stdio.h>\n", "stdio.h"},
  };
  for (const Case& c : cases) {
    fs::remove(Output());
    ProgramResult run = Compile(c.script);
    EXPECT_NE(run.status, 0) << c.script;
    EXPECT_NE(run.err.find(c.message), std::string::npos) << c.script << " gave: " << run.err;
    EXPECT_FALSE(fs::exists(Output())) << c.script;
  }
}

}  // namespace
