// The file-open window driven as a user would, by an automation script:
// what it lists, what a choice returns, and what cancels or fails.
#include <commdlg.h>
#include <emulated_limits.h>
#include <gtest/gtest.h>
#include <windows.h>

#include <nlohmann/json.hpp>

#include "../automation/automation.h"
#include "../files/files.h"
#include "../testing/device_fixture.h"

namespace {

constexpr WCHAR kFilter[] = u"exe (*.exe)\0*.exe\0,lnk (*.lnk)\0*.lnk\0";

class FileOpenDialogTest : public testing_support::DeviceTest {
 protected:
  void SetUp() override {
    DeviceTest::SetUp();
    for (const char16_t* file : {u"\\Apps\\b.exe", u"\\Apps\\a.EXE", u"\\Apps\\c.lnk", u"\\Apps\\notes.txt",
                                 u"\\Apps\\Sub\\d.exe"})
      platform::WriteDeviceFile(file, "x");
    dialog_.lStructSize = OPENFILENAME_PHONE_SIZE;
    dialog_.lpstrFilter = kFilter;
    dialog_.nFilterIndex = 1;
    dialog_.lpstrFile = chosen_;
    dialog_.nMaxFile = 150;
    dialog_.lpstrTitle = u"Executable files";
    dialog_.lpstrInitialDir = u"\\Apps";
  }
  // Runs the window with the script; the dump it wrote, control by control.
  BOOL Run(const std::string& script) {
    platform::SetAutomationScript(script, "test");
    return GetOpenFileNameW(&dialog_);
  }
  nlohmann::json Control(const std::string& dump, int id) {
    auto windows = nlohmann::json::parse(testing_support::ReadFile(dumpPath(dump)))["windows"];
    for (auto& control : windows[0]["controls"])
      if (control["id"] == id) return control;
    return {};
  }
  std::string dumpPath(const std::string& name) { return (device_->folder() / name).string(); }
  OPENFILENAMEW dialog_ = {};
  WCHAR chosen_[150] = {};
};

TEST_F(FileOpenDialogTest, ListsFoldersThenFilesOfTheTypeAndReturnsTheChosenPath) {
  ASSERT_TRUE(Run("dump " + dumpPath("a.json") + "\nselect 1120 2\nclick 1\n"));
  EXPECT_EQ(std::u16string(u"\\Apps\\b.exe"), chosen_);
  EXPECT_EQ(6, dialog_.nFileOffset);
  EXPECT_EQ(8, dialog_.nFileExtension);
  EXPECT_EQ(1u, dialog_.nFilterIndex);
  EXPECT_EQ(nlohmann::json::array({"Sub\\", "a.EXE", "b.exe"}), Control("a.json", IDC_OPEN_ENTRIES)["items"]);
  EXPECT_EQ(nlohmann::json::array({"\\", "\\Apps"}), Control("a.json", IDC_OPEN_FOLDER)["items"]);
  EXPECT_EQ(nlohmann::json::array({"exe (*.exe)", ",lnk (*.lnk)"}), Control("a.json", IDC_OPEN_TYPE)["items"]);
  auto windows = nlohmann::json::parse(testing_support::ReadFile(dumpPath("a.json")))["windows"];
  EXPECT_EQ("Executable files", windows[0]["title"]);
  EXPECT_EQ(0u, CommDlgExtendedError());
}

TEST_F(FileOpenDialogTest, FoldersOpenAndTypesChangeUntilCancel) {
  ASSERT_FALSE(Run("select 1120 0\ndump " + dumpPath("sub.json") + "\nselect 1137 0\nselect 1136 1\n"
                   "type 1152 Apps\nclick 1\ndump " + dumpPath("lnk.json") + "\nclick 2\n"));
  EXPECT_EQ(std::u16string(u""), chosen_);
  EXPECT_EQ(0u, CommDlgExtendedError());
  EXPECT_EQ(nlohmann::json::array({"\\", "\\Apps", "\\Apps\\Sub"}), Control("sub.json", IDC_OPEN_FOLDER)["items"]);
  EXPECT_EQ(nlohmann::json::array({"d.exe"}), Control("sub.json", IDC_OPEN_ENTRIES)["items"]);
  // Typing a folder's name and OK opens it; the list shows the shortcuts now.
  EXPECT_EQ(nlohmann::json::array({"Sub\\", "c.lnk"}), Control("lnk.json", IDC_OPEN_ENTRIES)["items"]);
}

TEST_F(FileOpenDialogTest, PathLongerThanTheBufferIsNotChosen) {
  dialog_.nMaxFile = 8;
  ASSERT_FALSE(Run("type 1152 \\Apps\\b.exe\nclick 1\n"));
  EXPECT_EQ(static_cast<DWORD>(FNERR_BUFFERTOOSMALL), CommDlgExtendedError());
  EXPECT_EQ(std::u16string(u""), chosen_);

  dialog_.lStructSize = 0;
  EXPECT_FALSE(GetOpenFileNameW(&dialog_));
  EXPECT_EQ(static_cast<DWORD>(CDERR_STRUCTSIZE), CommDlgExtendedError());
}

}  // namespace
