// Times RegEnumValueW over keys of 1,000 and 10,000 values, and `reg export`
// of those keys as a whole: the time per value must not grow with the key.
#include "bench/enumeration_bench.h"

#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>
#include <windows.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <string>
#include <vector>

#include "platform/device/device.h"
#include "platform/kernel/processes.h"
#include "platform/text/utf.h"

extern char** environ;

namespace {

// A key under HKLM\Software with `count` DWORD values, written in one transaction.
HKEY WideKey(int count) {
  HKEY key = nullptr;
  std::u16string path = u"Software\\Wide" + platform::Utf8ToUtf16(std::to_string(count));
  RegCreateKeyExW(HKEY_LOCAL_MACHINE, path.c_str(), 0, nullptr, 0, KEY_WRITE, nullptr, &key, nullptr);
  platform::Transaction batch(platform::DeviceDb());
  for (int i = 0; i < count; ++i) {
    std::u16string name = u"Value " + platform::Utf8ToUtf16(std::to_string(i));
    DWORD value = static_cast<DWORD>(i);
    RegSetValueExW(key, name.c_str(), 0, REG_DWORD, reinterpret_cast<const BYTE*>(&value), sizeof value);
  }
  batch.Commit();
  return key;
}

// Microseconds per value of walking the key's values with their data, the
// fastest of five walks.
double PerValue(HKEY key, int count) {
  std::vector<double> walks;
  for (int walk = 0; walk < 5; ++walk) {
    auto start = std::chrono::steady_clock::now();
    WCHAR name[REG_MAX_NAME_LENGTH + 1];
    BYTE data[16];
    for (DWORD index = 0;; ++index) {
      DWORD nameSize = REG_MAX_NAME_LENGTH + 1, dataSize = sizeof data, type = 0;
      if (RegEnumValueW(key, index, name, &nameSize, nullptr, &type, data, &dataSize) != ERROR_SUCCESS) break;
    }
    std::chrono::duration<double, std::micro> spent = std::chrono::steady_clock::now() - start;
    walks.push_back(spent.count() / count);
  }
  return *std::min_element(walks.begin(), walks.end());
}

// Milliseconds of one `selvane-device reg export KEY` on this device, its
// output thrown away; negative when it failed.
double ExportMs(const std::string& key) {
  const std::string tool = (platform::ProgramBinaryFolder() / "selvane-device").string();
  std::vector<std::string> words{tool, "reg", "export", key};
  std::vector<char*> argv;
  for (std::string& word : words) argv.push_back(word.data());
  argv.push_back(nullptr);
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_addopen(&actions, 1, "/dev/null", O_WRONLY, 0);
  auto start = std::chrono::steady_clock::now();
  pid_t pid = -1;
  int failed = posix_spawn(&pid, tool.c_str(), &actions, nullptr, argv.data(), environ);
  posix_spawn_file_actions_destroy(&actions);
  int status = 0;
  if (!failed) waitpid(pid, &status, 0);
  std::chrono::duration<double, std::milli> spent = std::chrono::steady_clock::now() - start;
  return failed || !WIFEXITED(status) || WEXITSTATUS(status) != 0 ? -1 : spent.count();
}

}  // namespace

void ReportEnumeration() {
  double firstWalk = 0, firstExport = 0;
  for (int count : {1000, 10000}) {
    HKEY key = WideKey(count);
    double walk = PerValue(key, count);
    RegCloseKey(key);
    platform::CloseDeviceDb();
    double exportUs = ExportMs("HKLM\\Software\\Wide" + std::to_string(count)) * 1000 / count;
    std::string walkLabel = "RegEnumValueW, a key of " + std::to_string(count) + " values";
    std::string exportLabel = "reg export, a key of " + std::to_string(count) + " values";
    if (!firstWalk) {
      firstWalk = walk;
      firstExport = exportUs;
      std::printf("%-34s %10.2f us a value\n", walkLabel.c_str(), walk);
      std::printf("%-34s %10.2f us a value (the tool's start included)\n", exportLabel.c_str(), exportUs);
    } else {
      std::printf("%-34s %10.2f us a value  (%.2f x the 1,000-value key)\n", walkLabel.c_str(), walk,
                  walk / firstWalk);
      std::printf("%-34s %10.2f us a value  (%.2f x the 1,000-value key)\n", exportLabel.c_str(), exportUs,
                  exportUs / firstExport);
    }
  }
}
