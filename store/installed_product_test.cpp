// The store's names and what a fresh device has installed come from one
// manifest by two generated paths: they must name the same things.
#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "platform/device/installed_product.h"
#include "platform/testing/device_fixture.h"
#include "store/install_folder.h"
#include "store/mode_record.h"
#include "store/mode_store.h"

namespace {

bool DeviceFileExists(const std::u16string& path) { return GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES; }

std::u16string ReadText(HKEY root, const WCHAR* keyPath, const WCHAR* name) {
  HKEY key = nullptr;
  if (RegOpenKeyExW(root, keyPath, 0, 0, &key) != ERROR_SUCCESS) return u"(no key)";
  WCHAR text[MAX_PATH] = {};
  DWORD bytes = sizeof text - sizeof(WCHAR);
  LONG status = RegQueryValueExW(key, name, nullptr, nullptr, reinterpret_cast<BYTE*>(text), &bytes);
  RegCloseKey(key);
  return status == ERROR_SUCCESS ? std::u16string(text) : u"(no value)";
}

// Checks what the product installs, on a typical device or a bare one.
void ExpectProductInstalled() {
  const platform::InstalledProduct& product = platform::kInstalledProduct;
  EXPECT_EQ(std::u16string(STORE_ROOT_KEY), product.todayItemKey);
  EXPECT_EQ(std::u16string(DEFAULT_INSTALL_FOLDER), product.installFolder);
  EXPECT_EQ(ReadText(HKEY_LOCAL_MACHINE, STORE_ROOT_KEY, DLL_VALUE),
            std::u16string(DEFAULT_INSTALL_FOLDER) + PLUGIN_FILE_SUFFIX);
  WCHAR folder[MAX_PATH];
  EXPECT_EQ(LocateInstallFolder(folder, MAX_PATH), static_cast<int>(wcslen(DEFAULT_INSTALL_FOLDER)));
  EXPECT_EQ(std::u16string(folder), DEFAULT_INSTALL_FOLDER);
  ASSERT_GT(product.programCount, 0u);
  for (size_t i = 0; i < product.programCount; ++i) {
    std::u16string name(product.programs[i], product.programs[i] + strlen(product.programs[i]));
    EXPECT_TRUE(DeviceFileExists(std::u16string(DEFAULT_INSTALL_FOLDER) + u"\\" + name + u".exe")) << product.programs[i];
  }
}

}  // namespace

TEST(InstalledProductTest, ATypicalPhoneHasTheProductAndRingsItsFactoryTone) {
  testing_support::TempDevice device;
  ExpectProductInstalled();
  EXPECT_EQ(ReadText(HKEY_CURRENT_USER, u"\\ControlPanel\\Sounds\\RingTone0", u"Sound"), DEFAULT_RING_TONE);
  EXPECT_TRUE(DeviceFileExists(std::u16string(u"\\windows\\rings\\") + DEFAULT_RING_TONE));
}

TEST(InstalledProductTest, ABarePhoneHasTheProductButNoSounds) {
  testing_support::TempDevice device(platform::DeviceOptions{.empty = true});
  ExpectProductInstalled();
  EXPECT_FALSE(DeviceFileExists(std::u16string(u"\\windows\\rings\\") + DEFAULT_RING_TONE));
}
