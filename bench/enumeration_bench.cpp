// Times RegEnumValueW over keys of 1,000 and 10,000 values, as `reg export`
// walks them: the time per value must not grow with the key.
#include "enumeration_bench.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <string>
#include <vector>

#include "device.h"
#include "windows.h"
#include "wintext_utf.h"

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
// median of five walks.
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
  std::sort(walks.begin(), walks.end());
  return walks[walks.size() / 2];
}

}  // namespace

void ReportEnumeration() {
  double first = 0;
  for (int count : {1000, 10000}) {
    HKEY key = WideKey(count);
    double perValue = PerValue(key, count);
    RegCloseKey(key);
    std::string label = "RegEnumValueW, a key of " + std::to_string(count) + " values";
    if (!first) {
      first = perValue;
      std::printf("%-34s %10.2f us a value\n", label.c_str(), perValue);
    } else {
      std::printf("%-34s %10.2f us a value  (%.2f x the 1,000-value key)\n", label.c_str(), perValue,
                  perValue / first);
    }
  }
}
