// The settings program killed in the middle of its first run: the store then
// holds either no "Init" or all five modes whole, and the next start
// finishes the preparation, leaving the modes an uninterrupted run makes.
#include <gtest/gtest.h>

#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <string>
#include <vector>

#include "platform/device/device.h"
#include "platform/testing/device_fixture.h"
#include "tests/kill_support.h"
#include "tests/settings_support.h"

namespace fs = std::filesystem;
using testing_support::ProgramFolder;
using testing_support::RunProgram;
using testing_support::TempDevice;

namespace {

const char* const kStoreKey = "HKLM\\Software\\Microsoft\\Today\\Items\\Selvane";

// The five modes as the device tool exports them.
std::string ModesExport() {
  std::string text;
  for (int mode = 1; mode <= 5; ++mode) {
    auto run = RunProgram("selvane-device", {"reg", "export", std::string(kStoreKey) + "\\Mode " + std::to_string(mode)});
    text += run.status == 0 ? run.out : "(Mode " + std::to_string(mode) + " missing)\n";
  }
  return text;
}

}  // namespace

TEST(SettingsFirstRunKill, AKilledFirstRunLeavesNoHalfPreparedStore) {
  TempDevice device;
  const fs::path saved = device.folder().parent_path() / "fresh-phone.db";
  platform::CloseDeviceDb();
  fs::copy_file(device.folder() / "phone.db", saved);
  const int64_t freshValues = kill_test::StoredValueCount();

  // An uninterrupted first run: the modes every later check expects.
  ASSERT_EQ(RunProgram("SelvaneSettings", {}).status, 0);
  const std::string prepared = ModesExport();
  ASSERT_EQ(settings_test::GetDword(HKEY_LOCAL_MACHINE, settings_test::kStoreRoot, u"Init"), 1u);
  const int64_t written = kill_test::StoredValueCount() - freshValues;
  ASSERT_GT(written, 100);

  // Killed once a share of the first run's values is stored, from the first
  // few up to the last, where "Init" is written.
  const std::string program = (ProgramFolder() / "SelvaneSettings").string();
  for (int share : {1, 10, 25, 50, 75, 90, 98, 100}) {
    SCOPED_TRACE("killed after " + std::to_string(share) + "% of the first run's values");
    kill_test::RestoreDatabase(device.folder(), saved);
    const int64_t threshold = freshValues + written * share / 100 - (share == 100 ? 1 : 0);
    pid_t pid = fork();
    if (pid == 0) {
      setenv("SELVANE_DISPLAY", "headless", 1);
      execl(program.c_str(), program.c_str(), static_cast<char*>(nullptr));
      _exit(127);
    }
    ASSERT_GT(pid, 0);
    // The store is looked at every tenth of a millisecond until the share is
    // written or the program ends; the count of looks only guards against a
    // program that hangs (a minute at the least).
    int status = 0;
    for (int look = 0; look < 600000 && kill_test::StoredValueCount() < threshold && waitpid(pid, &status, WNOHANG) == 0;
         ++look)
      usleep(100);
    kill(pid, SIGKILL);
    waitpid(pid, &status, 0);

    {
      platform::Statement check(platform::DeviceDb(), "PRAGMA integrity_check");
      ASSERT_TRUE(check.Step());
      EXPECT_EQ(check.Text(0), "ok");
    }
    if (settings_test::GetDword(HKEY_LOCAL_MACHINE, settings_test::kStoreRoot, u"Init")) {
      EXPECT_EQ(ModesExport(), prepared) << "the store is marked prepared with modes unfinished";
    }

    // The next start finishes what the killed one began.
    ASSERT_EQ(RunProgram("SelvaneSettings", {}).status, 0);
    EXPECT_EQ(settings_test::GetDword(HKEY_LOCAL_MACHINE, settings_test::kStoreRoot, u"Init"), 1u);
    EXPECT_EQ(ModesExport(), prepared);
  }
  fs::remove(saved);
}
