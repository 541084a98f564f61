// Links planted in a device folder lead nowhere: the settings program's
// Export refuses a mode file that is a link, and a phone.db or log that is a
// link is refused as a damaged device; the host files they point at stay as
// they were, byte for byte. A command refused on a damaged device leaves its
// files as they were, too.
#include <gtest/gtest.h>

#include <filesystem>
#include <map>
#include <string>
#include <vector>

#include "tests/device_tool_support.h"
#include "tests/settings_support.h"

namespace fs = std::filesystem;
using device_tool::Tool;
using testing_support::ProgramResult;
using testing_support::ReadFile;
using testing_support::WriteFile;

namespace {

constexpr int kExport = 1081;

// The database and its log with their bytes, and which of the device
// folder's files there are. (The log's index, phone.db-shm, is SQLite's
// shared memory, which any reader may bring up to date.)
std::map<std::string, std::string> DeviceFiles(const fs::path& folder) {
  std::map<std::string, std::string> files;
  for (const auto& entry : fs::directory_iterator(folder)) {
    std::string name = entry.path().filename().string();
    files[name] = name == "phone.db" || name == "phone.db-wal" ? ReadFile(entry.path()) : "";
  }
  return files;
}

class DeviceLinksTest : public settings_test::SettingsTest {};

}  // namespace

TEST_F(DeviceLinksTest, ExportWritesNoHostFileThroughALinkedModeFile) {
  const fs::path host = WriteFile(device_->folder().parent_path() / "host-notes.txt", "the host's own\n");
  const fs::path absent = device_->folder().parent_path() / "host-new.txt";
  fs::path selvane = device_->fs() / "Program files" / "Selvane";
  fs::create_symlink(host, selvane / "SelvaneMode4.txt");
  fs::create_symlink(absent, selvane / "SelvaneMode2.txt");
  for (int mode : {4, 2}) {
    SCOPED_TRACE(mode);
    OpenOnMode(mode);
    settings_test::SettingsRun run = settings_test::RunSettings({"click " + std::to_string(kExport)});
    EXPECT_EQ(run.result.status, 0) << run.result.err;
  }
  EXPECT_EQ(ReadFile(host), "the host's own\n");
  EXPECT_FALSE(fs::exists(fs::symlink_status(absent)));
  fs::remove(host);
}

TEST_F(DeviceLinksTest, ADatabaseOrLogThatIsALinkIsRefusedAndItsTargetUntouched) {
  const fs::path folder = device_->folder();
  ASSERT_EQ(Tool({"reg", "set", "HKLM\\Software\\T", "v", "--dword", "1"}).status, 0);
  for (const char* name : {"phone.db", "phone.db-wal", "phone.db-shm"}) {
    SCOPED_TRACE(name);
    ASSERT_EQ(Tool({"init", "--force"}).status, 0);
    ASSERT_EQ(Tool({"reg", "set", "HKLM\\Software\\T", "v", "--dword", "1"}).status, 0);
    const fs::path target = folder.parent_path() / (std::string("host-") + name);
    if (fs::exists(folder / name)) fs::rename(folder / name, target);
    else WriteFile(target, "");
    const std::string before = ReadFile(target);
    fs::create_symlink(target, folder / name);
    for (const std::vector<std::string>& args :
         {std::vector<std::string>{"reg", "set", "HKLM\\Software\\T", "v", "--dword", "2"},
          std::vector<std::string>{"state"}}) {
      ProgramResult result = Tool(args);
      EXPECT_EQ(result.status, 1) << result.out;
      EXPECT_NE(result.err.find((folder / name).string() + " is not a device's database (it is a symbolic link); "
                                "`selvane-device init --force` makes a fresh device"),
                std::string::npos)
          << result.err;
    }
    ProgramResult program = testing_support::RunProgram("Kestrow", {"2"});
    EXPECT_EQ(program.status, 1);
    EXPECT_EQ(ReadFile(target), before);
    fs::remove(folder / name);
    fs::remove(target);
  }
}

TEST_F(DeviceLinksTest, ACommandRefusedOnADamagedDeviceLeavesItsFilesAsTheyWere) {
  const fs::path folder = device_->folder();
  struct Damage {
    const char* what;
    void (*apply)(const fs::path& database);
  };
  const Damage damages[] = {
      {"a truncated phone.db", [](const fs::path& database) { fs::resize_file(database, fs::file_size(database) / 3); }},
      {"a phone.db of garbage",
       [](const fs::path& database) { WriteFile(database, std::string(3 * 4096, '\x5a')); }},
  };
  for (const Damage& damage : damages) {
    SCOPED_TRACE(damage.what);
    ASSERT_EQ(Tool({"init", "--force"}).status, 0);
    damage.apply(folder / "phone.db");
    const std::map<std::string, std::string> before = DeviceFiles(folder);
    ASSERT_TRUE(before.count("phone.db-wal"));
    for (const std::vector<std::string>& args :
         {std::vector<std::string>{"reg", "set", "HKLM\\Software\\T", "v", "--dword", "2"},
          std::vector<std::string>{"reg", "delete", "HKLM\\Software\\T"},
          std::vector<std::string>{"clock", "set", "2005-03-01 10:00"}, std::vector<std::string>{"state"}}) {
      ProgramResult result = Tool(args);
      EXPECT_EQ(result.status, 1) << testing::PrintToString(args);
      EXPECT_TRUE(DeviceFiles(folder) == before) << testing::PrintToString(args);
    }
    EXPECT_EQ(testing_support::RunProgram("Kestrow", {"2"}).status, 1);
    EXPECT_TRUE(DeviceFiles(folder) == before);
  }
}
