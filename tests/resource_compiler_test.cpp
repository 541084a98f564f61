// selvane-rc from outside: a mistake in a resource script stops the build
// with the file and line where it lies; a sound script compiles.
#include <gtest/gtest.h>

#include <string>

#include "testing/device_fixture.h"

using testing_support::ProgramResult;
using testing_support::RunProgram;
using testing_support::WriteFile;

namespace {

class ResourceCompilerTest : public ::testing::Test {
 protected:
  void SetUp() override {
    std::string pattern = (std::filesystem::temp_directory_path() / "selvane-rc-XXXXXX").string();
    ASSERT_NE(mkdtemp(pattern.data()), nullptr);
    folder_ = pattern;
  }
  void TearDown() override { std::filesystem::remove_all(folder_); }

  ProgramResult Compile(const std::string& script) {
    WriteFile(folder_ / "ids.h", "#pragma once\n#define IDD_MAIN 100\n#define IDC_OK 1000\n");
    std::filesystem::path path = WriteFile(folder_ / "app.rc", script);
    return RunProgram("selvane-rc", {path.string(), "-o", (folder_ / "out.cpp").string()});
  }

  std::filesystem::path folder_;
};

const char kHeader[] = "#include \"ids.h\"\nIDD_MAIN DIALOG 0, 0, 50, 40\nBEGIN\n";

TEST_F(ResourceCompilerTest, SoundScriptCompilesIntoASource) {
  ProgramResult run = Compile(std::string(kHeader) +
                              "  DEFPUSHBUTTON \"OK\", IDC_OK, 5, 5, 40, 14, NOT WS_TABSTOP | WS_GROUP\n"
                              "  CONTROL \"\", 1001, \"msctls_trackbar32\", TBS_AUTOTICKS, 5, 20, 40, 12\n"
                              "END\n");
  ASSERT_EQ(run.status, 0) << run.err;
  std::string source = testing_support::ReadFile(folder_ / "out.cpp");
  EXPECT_NE(source.find("{5, 100, nullptr, kResource0"), std::string::npos) << source;
}

TEST_F(ResourceCompilerTest, MistakesAreReportedWithFileAndLine) {
  struct Case {
    std::string body;  // lines after the dialog's BEGIN (line 4 on)
    std::string message;
  };
  std::vector<Case> cases = {
      {"  LISTVIEW \"x\", 1, 0, 0, 9, 9\nEND\n", "app.rc:4: unsupported control statement \"LISTVIEW\""},
      {"  PUSHBUTTON \"x\" 1, 0, 0, 9, 9\nEND\n", "app.rc:4: expected \",\""},
      {"  PUSHBUTTON \"x\", IDC_MISSING, 0, 0, 9, 9\nEND\n", "app.rc:4: unknown name \"IDC_MISSING\""},
      {"\n  LTEXT \"open, 1, 0, 0, 9, 9\nEND\n", "app.rc:5: string is not closed"},
      {"  PUSHBUTTON \"x\", 1, 0, 0, 9, 9, WS_BOGUS\nEND\n", "app.rc:4: unknown name \"WS_BOGUS\""},
      {"  EDITTEXT 1, 0, 0, 9, 0x7FFFF\nEND\n", "app.rc:4: coordinate out of range"},
      {"  PUSHBUTTON \"x\", 1, 0, 0, 9, 9\n", "expected END, found the end of the script"},
      {"END\nIDD_MAIN DIALOG 0, 0, 9, 9\nBEGIN\nEND\n", "app.rc:5: resource #100 is defined twice"},
      {"END\n7 BITMAP \"missing.bmp\"\n", "app.rc:5: cannot read the bitmap missing.bmp"},
      {"END\n#include \"nowhere.h\"\n", "app.rc:5: cannot find the include file nowhere.h"},
      {"END\n#if 1\n", "#if without #endif"},
      {"END\nSTRINGTABLE\nBEGIN\nEND\n", "app.rc:5: unsupported resource statement \"STRINGTABLE\""},
      {"  EDITTEXT 1, 0, 0, 9, 184467440737095516160\nEND\n",
       "app.rc:4: number 184467440737095516160 is larger than 0xFFFFFFFF"},
      {"  EDITTEXT 1, 0, 0, 9, 0x100000000\nEND\n", "app.rc:4: number 0x100000000 is larger than 0xFFFFFFFF"},
      {"END\n7 BITMAP \"pictures\"\n", "app.rc:5: cannot read the bitmap pictures"},
  };
  std::filesystem::create_directories(folder_ / "pictures");
  for (const Case& c : cases) {
    ProgramResult run = Compile(std::string(kHeader) + c.body);
    EXPECT_EQ(run.status, 1) << c.body;
    EXPECT_NE(run.err.find(c.message), std::string::npos) << c.body << " gave: " << run.err;
  }
}

TEST_F(ResourceCompilerTest, MistakeInAnIncludedHeaderNamesTheHeader) {
  WriteFile(folder_ / "bad.h", "#define A 1\n#ifdef\n");
  ProgramResult run = Compile("#include \"bad.h\"\n");
  EXPECT_EQ(run.status, 1);
  EXPECT_NE(run.err.find("bad.h:2: #ifdef needs one name"), std::string::npos) << run.err;
}

TEST_F(ResourceCompilerTest, FileThatIsNoBitmapIsRefused) {
  WriteFile(folder_ / "fake.bmp", "GIF89a this is not a bitmap at all, not even close to one.........");
  ProgramResult run = Compile("5 BITMAP \"fake.bmp\"\n");
  EXPECT_EQ(run.status, 1);
  EXPECT_NE(run.err.find("app.rc:1: fake.bmp is not a BMP file"), std::string::npos) << run.err;
}

}  // namespace
