// LocateInstallFolder against the plug-in path that the store holds.
#include "store/install_folder.h"

#include <gtest/gtest.h>

#include <string>

#include "platform/testing/device_fixture.h"

namespace {

class InstallFolderTest : public testing_support::DeviceTest {
 protected:
  // Stores "DLL" as raw bytes, so values without a terminator can be made.
  void SetPluginBytes(const void* data, DWORD bytes) {
    HKEY key;
    ASSERT_EQ(RegCreateKeyExW(HKEY_LOCAL_MACHINE, u"\\Software\\Microsoft\\Today\\Items\\Selvane", 0, nullptr, 0,
                              KEY_WRITE, nullptr, &key, nullptr),
              ERROR_SUCCESS);
    RegSetValueExW(key, u"DLL", 0, REG_SZ, static_cast<const BYTE*>(data), bytes);
    RegCloseKey(key);
  }
  void SetPluginPath(const std::u16string& path) {
    SetPluginBytes(path.c_str(), static_cast<DWORD>((path.size() + 1) * sizeof(WCHAR)));
  }
  std::u16string Folder(int capacity = 300, int* length = nullptr) {
    std::u16string buffer(static_cast<size_t>(capacity) + 1, u'#');
    int full = LocateInstallFolder(buffer.data(), capacity);
    if (length) *length = full;
    EXPECT_EQ(buffer[static_cast<size_t>(capacity)], u'#');  // nothing written past the capacity
    return std::u16string(buffer.c_str());
  }
};

}  // namespace

TEST_F(InstallFolderTest, FolderIsThePluginPathWithoutItsFileName) {
  EXPECT_EQ(Folder(), u"\\Program files\\Selvane");
  SetPluginPath(u"\\Storage Card\\Apps\\Selvane.dll");
  EXPECT_EQ(Folder(), u"\\Storage Card\\Apps");
  // The ending is cut by length only, as the installation always writes it.
  SetPluginPath(u"\\Storage Card\\Apps\\SELVANE.DLL");
  EXPECT_EQ(Folder(), u"\\Storage Card\\Apps");
}

TEST_F(InstallFolderTest, LongPluginPathsAreReadWholeAndCopiesAreBounded) {
  std::u16string folder = u"\\Storage Card\\Programs\\Phone tools\\Profiles\\Selvane profile manager";
  ASSERT_GT(folder.size(), 49u);
  SetPluginPath(folder + u"\\Selvane.dll");
  int length = 0;
  EXPECT_EQ(Folder(300, &length), folder);
  EXPECT_EQ(length, static_cast<int>(folder.size()));
  EXPECT_EQ(Folder(10, &length), folder.substr(0, 9));
  EXPECT_EQ(length, static_cast<int>(folder.size()));
  EXPECT_EQ(LocateInstallFolder(nullptr, 0), static_cast<int>(folder.size()));
}

TEST_F(InstallFolderTest, MissingShortOrUnterminatedPathsAreHandled) {
  SetPluginPath(u"");
  EXPECT_EQ(Folder(), u"\\Program files\\Selvane");
  SetPluginPath(u"x.dll");
  EXPECT_EQ(Folder(), u"\\Program files\\Selvane");
  SetPluginPath(u"\\Selvane.dll");
  EXPECT_EQ(Folder(), u"");
  std::u16string bare = u"\\Apps\\Selvane.dll";
  SetPluginBytes(bare.data(), static_cast<DWORD>(bare.size() * sizeof(WCHAR)) + 1);  // odd, no terminator
  EXPECT_EQ(Folder(), u"\\Apps");
  RegDeleteKeyW(HKEY_LOCAL_MACHINE, u"\\Software\\Microsoft\\Today\\Items\\Selvane");
  EXPECT_EQ(Folder(), u"\\Program files\\Selvane");
}
