// Conformance of the registry calls with the Windows CE registry, and its
// behaviour when several processes share it or one is killed mid-write.
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>
#include <windows.h>

#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>
#include <set>
#include <string>
#include <thread>
#include <vector>

#include "../device/device.h"
#include "../testing/device_fixture.h"
#include "../text/utf.h"

using testing_support::DeviceTest;

namespace {

class RegistryTest : public DeviceTest {
 protected:
  HKEY Create(HKEY root, const char16_t* path, DWORD* disposition = nullptr) {
    HKEY key = nullptr;
    EXPECT_EQ(RegCreateKeyExW(root, path, 0, nullptr, 0, KEY_WRITE, nullptr, &key, disposition), ERROR_SUCCESS);
    return key;
  }
  LONG Open(HKEY root, const char16_t* path, HKEY* key) { return RegOpenKeyExW(root, path, 0, 0, key); }
  static LONG SetDword(HKEY key, const char16_t* name, DWORD value) {
    return RegSetValueExW(key, name, 0, REG_DWORD, reinterpret_cast<const BYTE*>(&value), 4);
  }
  static LONG SetText(HKEY key, const char16_t* name, const std::u16string& text) {
    return RegSetValueExW(key, name, 0, REG_SZ, reinterpret_cast<const BYTE*>(text.c_str()),
                          static_cast<DWORD>((text.size() + 1) * 2));
  }
  static DWORD GetDword(HKEY key, const char16_t* name, LONG* status = nullptr) {
    DWORD value = 0, size = 4;
    LONG rc = RegQueryValueExW(key, name, nullptr, nullptr, reinterpret_cast<BYTE*>(&value), &size);
    if (status) *status = rc;
    return value;
  }
  static std::u16string EnumKey(HKEY key, DWORD index) {
    WCHAR name[256];
    DWORD size = 256;
    if (RegEnumKeyExW(key, index, name, &size, nullptr, nullptr, nullptr, nullptr) != ERROR_SUCCESS) return u"";
    return std::u16string(name, size);
  }
};

TEST_F(RegistryTest, NamesDifferingInCaseReachTheSameKeyAndValueAndKeepTheirFirstSpelling) {
  HKEY key = Create(HKEY_LOCAL_MACHINE, u"\\Software\\Test\\Mode 1");
  ASSERT_EQ(SetDword(key, u"BrightNess", 8), ERROR_SUCCESS);
  EXPECT_EQ(GetDword(key, u"Brightness"), 8u);
  ASSERT_EQ(SetDword(key, u"BRIGHTNESS", 3), ERROR_SUCCESS);
  EXPECT_EQ(GetDword(key, u"brightness"), 3u);

  WCHAR name[64];
  DWORD nameSize = 64, values = 0;
  ASSERT_EQ(RegEnumValueW(key, 0, name, &nameSize, nullptr, nullptr, nullptr, nullptr), ERROR_SUCCESS);
  EXPECT_EQ(std::u16string(name, nameSize), u"BrightNess");
  RegQueryInfoKeyW(key, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, &values, nullptr, nullptr, nullptr,
                   nullptr);
  EXPECT_EQ(values, 1u);
  RegCloseKey(key);

  DWORD disposition = 0;
  HKEY same = Create(HKEY_LOCAL_MACHINE, u"SOFTWARE\\test\\MODE 1", &disposition);
  EXPECT_EQ(disposition, static_cast<DWORD>(REG_OPENED_EXISTING_KEY));
  EXPECT_EQ(GetDword(same, u"BrightNess"), 3u);
  RegCloseKey(same);
  HKEY parent;
  ASSERT_EQ(Open(HKEY_LOCAL_MACHINE, u"Software\\Test", &parent), ERROR_SUCCESS);
  EXPECT_EQ(EnumKey(parent, 0), u"Mode 1");
  RegCloseKey(parent);
}

TEST_F(RegistryTest, PathsIgnoreLeadingTrailingAndDoubledSeparators) {
  DWORD disposition = 0;
  HKEY key = Create(HKEY_CURRENT_USER, u"\\A\\\\B\\", &disposition);
  EXPECT_EQ(disposition, static_cast<DWORD>(REG_CREATED_NEW_KEY));
  SetDword(key, u"x", 1);
  RegCloseKey(key);
  for (const char16_t* path : {u"A\\B", u"\\\\a\\b\\\\", u"A\\B\\"}) {
    HKEY again;
    ASSERT_EQ(Open(HKEY_CURRENT_USER, path, &again), ERROR_SUCCESS);
    EXPECT_EQ(GetDword(again, u"x"), 1u);
    RegCloseKey(again);
  }
  HKEY missing = nullptr;
  EXPECT_EQ(Open(HKEY_CURRENT_USER, u"A\\B\\C", &missing), ERROR_FILE_NOT_FOUND);
  EXPECT_EQ(missing, nullptr);
}

TEST_F(RegistryTest, CreateMakesEveryMissingIntermediateKey) {
  DWORD disposition = 0;
  HKEY deep = Create(HKEY_LOCAL_MACHINE, u"One\\Two\\Three", &disposition);
  EXPECT_EQ(disposition, static_cast<DWORD>(REG_CREATED_NEW_KEY));
  RegCloseKey(deep);
  HKEY two;
  ASSERT_EQ(Open(HKEY_LOCAL_MACHINE, u"One\\Two", &two), ERROR_SUCCESS);
  EXPECT_EQ(EnumKey(two, 0), u"Three");
  HKEY three = Create(two, u"Three", &disposition);
  EXPECT_EQ(disposition, static_cast<DWORD>(REG_OPENED_EXISTING_KEY));
  RegCloseKey(three);
  RegCloseKey(two);
}

TEST_F(RegistryTest, QueryReportsTheSizeAndLeavesATooSmallBufferUntouched) {
  HKEY key = Create(HKEY_LOCAL_MACHINE, u"Q");
  ASSERT_EQ(SetText(key, u"Mode Name", u"Office hours"), ERROR_SUCCESS);

  DWORD type = 0, size = 0;
  ASSERT_EQ(RegQueryValueExW(key, u"Mode Name", nullptr, &type, nullptr, &size), ERROR_SUCCESS);
  EXPECT_EQ(type, static_cast<DWORD>(REG_SZ));
  EXPECT_EQ(size, 26u);

  BYTE buffer[20];
  std::memset(buffer, 0xAB, sizeof buffer);
  size = sizeof buffer;
  EXPECT_EQ(RegQueryValueExW(key, u"Mode Name", nullptr, nullptr, buffer, &size), ERROR_MORE_DATA);
  EXPECT_EQ(size, 26u);
  for (BYTE b : buffer) EXPECT_EQ(b, 0xAB);

  WCHAR text[13];
  size = sizeof text;
  ASSERT_EQ(RegQueryValueExW(key, u"Mode Name", nullptr, nullptr, reinterpret_cast<BYTE*>(text), &size),
            ERROR_SUCCESS);
  EXPECT_EQ(std::u16string(text), u"Office hours");
  RegCloseKey(key);
}

TEST_F(RegistryTest, DataComeBackExactlyAsStored) {
  HKEY key = Create(HKEY_LOCAL_MACHINE, u"Raw");
  const BYTE odd[] = {'a', 0, 'b'};  // text without terminator, odd length
  ASSERT_EQ(RegSetValueExW(key, u"Odd", 0, REG_SZ, odd, 3), ERROR_SUCCESS);
  ASSERT_EQ(RegSetValueExW(key, nullptr, 0, REG_BINARY, nullptr, 0), ERROR_SUCCESS);
  BYTE out[8] = {};
  DWORD size = sizeof out, type = 0;
  ASSERT_EQ(RegQueryValueExW(key, u"Odd", nullptr, &type, out, &size), ERROR_SUCCESS);
  EXPECT_EQ(size, 3u);
  EXPECT_EQ(std::memcmp(out, odd, 3), 0);
  size = sizeof out;
  ASSERT_EQ(RegQueryValueExW(key, u"", nullptr, &type, out, &size), ERROR_SUCCESS);
  EXPECT_EQ(type, static_cast<DWORD>(REG_BINARY));
  EXPECT_EQ(size, 0u);
  RegCloseKey(key);
}

TEST_F(RegistryTest, NamesAndDataAreLimited) {
  HKEY key = Create(HKEY_LOCAL_MACHINE, u"Limits");
  std::u16string longest(255, u'n'), tooLong(256, u'n');
  EXPECT_EQ(SetDword(key, longest.c_str(), 1), ERROR_SUCCESS);
  EXPECT_EQ(SetDword(key, tooLong.c_str(), 1), ERROR_INVALID_PARAMETER);
  HKEY sub = nullptr;
  EXPECT_EQ(RegCreateKeyExW(key, tooLong.c_str(), 0, nullptr, 0, 0, nullptr, &sub, nullptr), ERROR_INVALID_PARAMETER);
  std::vector<BYTE> data(REG_MAX_DATA_SIZE + 1, 7);
  EXPECT_EQ(RegSetValueExW(key, u"big", 0, REG_BINARY, data.data(), REG_MAX_DATA_SIZE), ERROR_SUCCESS);
  EXPECT_EQ(RegSetValueExW(key, u"bigger", 0, REG_BINARY, data.data(), REG_MAX_DATA_SIZE + 1),
            ERROR_INVALID_PARAMETER);
  LONG status;
  GetDword(key, u"bigger", &status);
  EXPECT_EQ(status, ERROR_FILE_NOT_FOUND);
  RegCloseKey(key);
}

// Writing the type and data a value already holds succeeds and adds
// nothing to the log; a change of the type alone or the data alone is
// written.
TEST_F(RegistryTest, RewritingAStoredValueSucceedsWithoutWritingAndAChangeIsWritten) {
  HKEY key = Create(HKEY_LOCAL_MACHINE, u"Software\\Test\\Same");
  ASSERT_EQ(SetDword(key, u"Volume", 3), ERROR_SUCCESS);
  const std::filesystem::path log = device_->folder() / "phone.db-wal";
  const uintmax_t before = std::filesystem::file_size(log);
  for (int i = 0; i < 20; ++i) ASSERT_EQ(SetDword(key, u"VOLUME", 3), ERROR_SUCCESS);
  EXPECT_EQ(std::filesystem::file_size(log), before);

  DWORD three = 3;
  ASSERT_EQ(RegSetValueExW(key, u"Volume", 0, REG_BINARY, reinterpret_cast<const BYTE*>(&three), 4), ERROR_SUCCESS);
  DWORD type = 0;
  EXPECT_EQ(RegQueryValueExW(key, u"Volume", nullptr, &type, nullptr, nullptr), ERROR_SUCCESS);
  EXPECT_EQ(type, static_cast<DWORD>(REG_BINARY));
  ASSERT_EQ(RegSetValueExW(key, u"Volume", 0, REG_BINARY, reinterpret_cast<const BYTE*>(&three), 2), ERROR_SUCCESS);
  DWORD size = 0;
  EXPECT_EQ(RegQueryValueExW(key, u"Volume", nullptr, nullptr, nullptr, &size), ERROR_SUCCESS);
  EXPECT_EQ(size, 2u);
  EXPECT_GT(std::filesystem::file_size(log), before);

  ASSERT_EQ(RegDeleteKeyW(HKEY_LOCAL_MACHINE, u"Software\\Test\\Same"), ERROR_SUCCESS);
  EXPECT_EQ(RegSetValueExW(key, u"Volume", 0, REG_BINARY, reinterpret_cast<const BYTE*>(&three), 2),
            ERROR_KEY_DELETED);
  RegCloseKey(key);
}

TEST_F(RegistryTest, DeletingAKeyRemovesItsWholeBranchAndItsHandlesReportIt) {
  HKEY top = Create(HKEY_LOCAL_MACHINE, u"Root\\Mode 1");
  HKEY leaf = Create(top, u"Notifications\\Reminders");
  SetDword(leaf, u"Options", 5);
  HKEY sibling = Create(HKEY_LOCAL_MACHINE, u"Root\\Mode 2");
  RegCloseKey(sibling);

  ASSERT_EQ(RegDeleteKeyW(HKEY_LOCAL_MACHINE, u"root\\mode 1"), ERROR_SUCCESS);
  HKEY gone;
  EXPECT_EQ(Open(HKEY_LOCAL_MACHINE, u"Root\\Mode 1\\Notifications", &gone), ERROR_FILE_NOT_FOUND);
  LONG status;
  GetDword(leaf, u"Options", &status);
  EXPECT_EQ(status, ERROR_KEY_DELETED);
  EXPECT_EQ(SetDword(leaf, u"Options", 1), ERROR_KEY_DELETED);
  HKEY child;
  EXPECT_EQ(RegCreateKeyExW(top, u"X", 0, nullptr, 0, 0, nullptr, &child, nullptr), ERROR_KEY_DELETED);

  // A key of the same name made again is a new key: old handles stay dead.
  HKEY again = Create(HKEY_LOCAL_MACHINE, u"Root\\Mode 1\\Notifications\\Reminders");
  GetDword(leaf, u"Options", &status);
  EXPECT_EQ(status, ERROR_KEY_DELETED);
  GetDword(again, u"Options", &status);
  EXPECT_EQ(status, ERROR_FILE_NOT_FOUND);
  RegCloseKey(again);
  EXPECT_EQ(RegCloseKey(leaf), ERROR_SUCCESS);
  EXPECT_EQ(RegCloseKey(top), ERROR_SUCCESS);

  HKEY root;
  ASSERT_EQ(Open(HKEY_LOCAL_MACHINE, u"Root", &root), ERROR_SUCCESS);
  EXPECT_EQ(EnumKey(root, 0), u"Mode 1");
  EXPECT_EQ(EnumKey(root, 1), u"Mode 2");
  EXPECT_EQ(RegDeleteKeyW(root, u"Mode 9"), ERROR_FILE_NOT_FOUND);
  EXPECT_EQ(RegDeleteKeyW(root, u""), ERROR_INVALID_PARAMETER);
  RegCloseKey(root);
}

TEST_F(RegistryTest, EnumerationFollowsCaseFoldedOrder) {
  HKEY key = Create(HKEY_LOCAL_MACHINE, u"Order");
  for (const char16_t* name : {u"beta", u"Alpha", u"GAMMA", u"alphabet"}) {
    RegCloseKey(Create(key, name));
    SetDword(key, name, 0);
  }
  EXPECT_EQ(EnumKey(key, 0), u"Alpha");
  EXPECT_EQ(EnumKey(key, 1), u"alphabet");
  EXPECT_EQ(EnumKey(key, 2), u"beta");
  EXPECT_EQ(EnumKey(key, 3), u"GAMMA");
  WCHAR name[8];
  DWORD size = 8;
  EXPECT_EQ(RegEnumKeyExW(key, 4, name, &size, nullptr, nullptr, nullptr, nullptr), ERROR_NO_MORE_ITEMS);

  size = 8;
  DWORD dataSize = 4, data = 0;
  ASSERT_EQ(RegEnumValueW(key, 2, name, &size, nullptr, nullptr, reinterpret_cast<BYTE*>(&data), &dataSize),
            ERROR_SUCCESS);
  EXPECT_EQ(std::u16string(name, size), u"beta");
  size = 5;  // "alphabet" needs 9 with its terminator
  std::memset(name, 0, sizeof name);
  EXPECT_EQ(RegEnumValueW(key, 1, name, &size, nullptr, nullptr, nullptr, nullptr), ERROR_MORE_DATA);
  EXPECT_EQ(size, 9u);
  EXPECT_EQ(name[0], 0);

  DWORD subKeys = 0, maxSubKey = 0, values = 0, maxName = 0, maxData = 0;
  ASSERT_EQ(RegQueryInfoKeyW(key, nullptr, nullptr, nullptr, &subKeys, &maxSubKey, nullptr, &values, &maxName,
                             &maxData, nullptr, nullptr),
            ERROR_SUCCESS);
  EXPECT_EQ(subKeys, 4u);
  EXPECT_EQ(maxSubKey, 8u);
  EXPECT_EQ(values, 4u);
  EXPECT_EQ(maxName, 8u);
  EXPECT_EQ(maxData, 4u);
  RegCloseKey(key);
}

// Counts the SQLite virtual-machine steps that `work` makes on this
// thread's connection: a measure of work that no machine load disturbs.
template <typename Work>
long DatabaseSteps(Work work) {
  long steps = 0;
  sqlite3* db = platform::DeviceDb();
  sqlite3_progress_handler(
      db, 100, [](void* count) { return ++*static_cast<long*>(count), 0; }, &steps);
  work();
  sqlite3_progress_handler(db, 0, nullptr, nullptr);
  return steps;
}

// Steps to enumerate every value and then every subkey of a key of `count` each.
long EnumerationSteps(int count) {
  HKEY key = nullptr;
  std::u16string path = u"Walk" + platform::Utf8ToUtf16(std::to_string(count));
  RegCreateKeyExW(HKEY_LOCAL_MACHINE, path.c_str(), 0, nullptr, 0, 0, nullptr, &key, nullptr);
  {
    platform::Transaction batch(platform::DeviceDb());
    for (int i = 0; i < count; ++i) {
      std::u16string name = u"v" + platform::Utf8ToUtf16(std::to_string(i));
      DWORD value = static_cast<DWORD>(i);
      RegSetValueExW(key, name.c_str(), 0, REG_DWORD, reinterpret_cast<const BYTE*>(&value), 4);
      HKEY child;
      RegCreateKeyExW(key, name.c_str(), 0, nullptr, 0, 0, nullptr, &child, nullptr);
      RegCloseKey(child);
    }
    batch.Commit();
  }
  long steps = DatabaseSteps([&] {
    WCHAR name[REG_MAX_NAME_LENGTH + 1];
    DWORD index = 0, size = REG_MAX_NAME_LENGTH + 1;
    while (RegEnumValueW(key, index, name, &size, nullptr, nullptr, nullptr, nullptr) == ERROR_SUCCESS) {
      ++index;
      size = REG_MAX_NAME_LENGTH + 1;
    }
    EXPECT_EQ(index, static_cast<DWORD>(count));
    index = 0;
    while (RegEnumKeyExW(key, index, name, &size, nullptr, nullptr, nullptr, nullptr) == ERROR_SUCCESS) {
      ++index;
      size = REG_MAX_NAME_LENGTH + 1;
    }
    EXPECT_EQ(index, static_cast<DWORD>(count));
  });
  RegCloseKey(key);
  return steps;
}

TEST_F(RegistryTest, EnumeratingAKeyEntryByEntryTakesTimeInProportionToItsSize) {
  long small = EnumerationSteps(200);
  long large = EnumerationSteps(2000);
  // Ten times the entries: ten times the work, give or take the deeper
  // index, not a hundred times as when each entry is counted from the start.
  EXPECT_LT(large, small * 15) << small << " steps for 200, " << large << " for 2000";
}

TEST_F(RegistryTest, EnumerationSeesChangesMadeBetweenItsCalls) {
  HKEY key = Create(HKEY_LOCAL_MACHINE, u"Moving");
  for (const char16_t* name : {u"b", u"d", u"f"}) SetDword(key, name, 0);
  auto valueAt = [&](HKEY handle, DWORD index) {
    WCHAR name[8];
    DWORD size = 8;
    LONG status = RegEnumValueW(handle, index, name, &size, nullptr, nullptr, nullptr, nullptr);
    return status == ERROR_SUCCESS ? std::u16string(name, size) : u"<" + platform::Utf8ToUtf16(std::to_string(status)) + u">";
  };
  EXPECT_EQ(valueAt(key, 0), u"b");
  EXPECT_EQ(valueAt(key, 1), u"d");
  // A value written before the position moves the entries along, as on the phone.
  SetDword(key, u"a", 0);
  EXPECT_EQ(valueAt(key, 2), u"d");
  // So does one written by another connection (another thread, another process).
  std::thread([] {
    HKEY other;
    RegOpenKeyExW(HKEY_LOCAL_MACHINE, u"Moving", 0, 0, &other);
    DWORD zero = 0;
    RegSetValueExW(other, u"c", 0, REG_DWORD, reinterpret_cast<const BYTE*>(&zero), 4);
    RegCloseKey(other);
    platform::CloseDeviceDb();
  }).join();
  EXPECT_EQ(valueAt(key, 3), u"d");
  EXPECT_EQ(valueAt(key, 4), u"f");
  EXPECT_EQ(valueAt(key, 5), u"<259>");
  // Going back, asking twice, or a second handle: each index is its entry.
  EXPECT_EQ(valueAt(key, 1), u"b");
  EXPECT_EQ(valueAt(key, 1), u"b");
  HKEY second;
  ASSERT_EQ(Open(HKEY_LOCAL_MACHINE, u"Moving", &second), ERROR_SUCCESS);
  EXPECT_EQ(valueAt(second, 0), u"a");
  EXPECT_EQ(valueAt(key, 2), u"c");
  EXPECT_EQ(valueAt(second, 1), u"b");
  EXPECT_EQ(RegDeleteValueW(key, u"b"), ERROR_SUCCESS);
  EXPECT_EQ(valueAt(key, 3), u"f");
  RegCloseKey(second);
  RegCloseKey(key);
}

TEST_F(RegistryTest, BadHandlesAndMissingValuesGiveTheWindowsCodes) {
  HKEY key = Create(HKEY_LOCAL_MACHINE, u"Codes");
  ASSERT_EQ(RegCloseKey(key), ERROR_SUCCESS);
  EXPECT_EQ(SetDword(key, u"x", 1), ERROR_INVALID_HANDLE);
  EXPECT_EQ(RegCloseKey(key), ERROR_INVALID_HANDLE);
  EXPECT_EQ(SetDword(reinterpret_cast<HKEY>(0x1234), u"x", 1), ERROR_INVALID_HANDLE);
  EXPECT_EQ(RegCloseKey(HKEY_LOCAL_MACHINE), ERROR_SUCCESS);

  ASSERT_EQ(Open(HKEY_LOCAL_MACHINE, u"Codes", &key), ERROR_SUCCESS);
  LONG status;
  GetDword(key, u"absent", &status);
  EXPECT_EQ(status, ERROR_FILE_NOT_FOUND);
  EXPECT_EQ(RegDeleteValueW(key, u"absent"), ERROR_FILE_NOT_FOUND);
  SetDword(key, u"Present", 2);
  EXPECT_EQ(RegDeleteValueW(key, u"PRESENT"), ERROR_SUCCESS);
  GetDword(key, u"Present", &status);
  EXPECT_EQ(status, ERROR_FILE_NOT_FOUND);
  DWORD size = 4;
  EXPECT_EQ(RegQueryValueExW(key, u"x", nullptr, nullptr, reinterpret_cast<BYTE*>(&size), nullptr),
            ERROR_INVALID_PARAMETER);
  RegCloseKey(key);
}

TEST_F(RegistryTest, WritesInsideACallersTransactionRollBackWithIt) {
  {
    platform::Transaction batch(platform::DeviceDb());
    HKEY key = Create(HKEY_LOCAL_MACHINE, u"Batch");
    SetDword(key, u"x", 1);
    RegCloseKey(key);
  }  // left without Commit
  HKEY key;
  EXPECT_EQ(Open(HKEY_LOCAL_MACHINE, u"Batch", &key), ERROR_FILE_NOT_FOUND);
}

TEST_F(RegistryTest, AFreshPhoneHoldsItsControlPanelKeysAndTheProductsItem) {
  HKEY key;
  ASSERT_EQ(Open(HKEY_LOCAL_MACHINE, u"\\Software\\Microsoft\\Today\\Items\\Selvane", &key), ERROR_SUCCESS);
  WCHAR dll[100];
  DWORD size = sizeof dll;
  ASSERT_EQ(RegQueryValueExW(key, u"DLL", nullptr, nullptr, reinterpret_cast<BYTE*>(dll), &size), ERROR_SUCCESS);
  EXPECT_EQ(std::u16string(dll), u"\\Program files\\Selvane\\Selvane.dll");
  RegCloseKey(key);

  for (const char16_t* path : {u"\\ControlPanel\\Volume", u"\\ControlPanel\\SoundCategories\\Ring",
                               u"\\ControlPanel\\Phone", u"\\ControlPanel\\Sounds\\RingTone0",
                               u"\\ControlPanel\\AutoPickUp", u"\\ControlPanel\\BackLight",
                               u"\\Software\\HTC\\BTProfile"}) {
    ASSERT_EQ(Open(HKEY_CURRENT_USER, path, &key), ERROR_SUCCESS) << platform::Utf16ToUtf8(path);
    RegCloseKey(key);
  }

  ASSERT_EQ(Open(HKEY_CURRENT_USER, u"\\ControlPanel\\Notifications", &key), ERROR_SUCCESS);
  DWORD events = 0;
  RegQueryInfoKeyW(key, nullptr, nullptr, nullptr, &events, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr,
                   nullptr);
  EXPECT_GE(events, 18u);
  EXPECT_LE(events, 25u);
  int unnamed = 0;
  bool phone = false;
  for (DWORD i = 0; i < events; ++i) {
    std::u16string name = EnumKey(key, i);
    phone = phone || name == u"Phone";
    HKEY event;
    ASSERT_EQ(Open(key, name.c_str(), &event), ERROR_SUCCESS);
    LONG status;
    GetDword(event, u"Options", &status);
    EXPECT_EQ(status, ERROR_SUCCESS);
    size = 0;
    if (RegQueryValueExW(event, nullptr, nullptr, nullptr, nullptr, &size) == ERROR_FILE_NOT_FOUND) ++unnamed;
    RegCloseKey(event);
  }
  EXPECT_TRUE(phone);
  EXPECT_EQ(unnamed, 1);
  RegCloseKey(key);
}

TEST(RegistrySeeding, AnEmptyPhoneHasNoPhoneKeysButTheProductIsInstalled) {
  platform::DeviceOptions options;
  options.empty = true;
  testing_support::TempDevice device(options);
  HKEY key;
  EXPECT_EQ(RegOpenKeyExW(HKEY_CURRENT_USER, u"ControlPanel", 0, 0, &key), ERROR_FILE_NOT_FOUND);
  ASSERT_EQ(RegOpenKeyExW(HKEY_LOCAL_MACHINE, u"Software\\Microsoft\\Today\\Items\\Selvane", 0, 0, &key),
            ERROR_SUCCESS);
  RegCloseKey(key);
}

// Several processes share the registry: a child writes with its own connection.
template <typename Work>
pid_t Spawn(Work work) {
  platform::CloseDeviceDb();
  pid_t pid = fork();
  if (pid == 0) {
    work();
    _exit(0);
  }
  return pid;
}

int WaitFor(pid_t pid) {
  int status = 0;
  waitpid(pid, &status, 0);
  return status;
}

TEST_F(RegistryTest, TwoProcessesWritingTheSameKeyAtOnceLoseNothing) {
  RegCloseKey(Create(HKEY_LOCAL_MACHINE, u"Shared"));
  constexpr int kWrites = 150;
  auto writer = [](char16_t tag) {
    return [tag] {
      HKEY key;
      if (RegOpenKeyExW(HKEY_LOCAL_MACHINE, u"Shared", 0, 0, &key) != ERROR_SUCCESS) _exit(2);
      for (int i = 0; i < kWrites; ++i) {
        std::u16string name = std::u16string(1, tag) + platform::Utf8ToUtf16(std::to_string(i));
        DWORD value = static_cast<DWORD>(i);
        if (RegSetValueExW(key, name.c_str(), 0, REG_DWORD, reinterpret_cast<BYTE*>(&value), 4) != ERROR_SUCCESS)
          _exit(3);
        // Both also create the same subkeys, racing for each.
        HKEY sub;
        std::u16string subName = u"k" + platform::Utf8ToUtf16(std::to_string(i % 10));
        if (RegCreateKeyExW(key, subName.c_str(), 0, nullptr, 0, 0, nullptr, &sub, nullptr) != ERROR_SUCCESS)
          _exit(4);
        RegCloseKey(sub);
      }
      RegCloseKey(key);
    };
  };
  pid_t a = Spawn(writer(u'a'));
  pid_t b = Spawn(writer(u'b'));
  EXPECT_EQ(WaitFor(a), 0);
  EXPECT_EQ(WaitFor(b), 0);

  HKEY key;
  ASSERT_EQ(Open(HKEY_LOCAL_MACHINE, u"Shared", &key), ERROR_SUCCESS);
  DWORD values = 0, subKeys = 0;
  RegQueryInfoKeyW(key, nullptr, nullptr, nullptr, &subKeys, nullptr, nullptr, &values, nullptr, nullptr, nullptr,
                   nullptr);
  EXPECT_EQ(values, 2u * kWrites);
  EXPECT_EQ(subKeys, 10u);
  EXPECT_EQ(GetDword(key, u"a149"), 149u);
  EXPECT_EQ(GetDword(key, u"b77"), 77u);
  RegCloseKey(key);
}

TEST_F(RegistryTest, AWriterKilledMidBurstLeavesEveryReturnedWrite) {
  int acks[2];
  ASSERT_EQ(pipe(acks), 0);
  pid_t writer = Spawn([&] {
    close(acks[0]);
    HKEY key;
    if (RegCreateKeyExW(HKEY_LOCAL_MACHINE, u"Burst", 0, nullptr, 0, 0, nullptr, &key, nullptr)) _exit(2);
    std::vector<BYTE> data(3000, 0x5A);
    for (uint32_t i = 0;; ++i) {
      std::u16string name = u"v" + platform::Utf8ToUtf16(std::to_string(i));
      std::memcpy(data.data(), &i, 4);
      if (RegSetValueExW(key, name.c_str(), 0, REG_BINARY, data.data(), static_cast<DWORD>(data.size())))
        _exit(3);
      if (write(acks[1], &i, 4) != 4) _exit(4);
    }
  });
  close(acks[1]);
  uint32_t last = 0;
  std::set<uint32_t> returned;
  while (returned.size() < 60 && read(acks[0], &last, 4) == 4) returned.insert(last);
  kill(writer, SIGKILL);
  WaitFor(writer);
  // Writes that returned after our last read also count.
  while (read(acks[0], &last, 4) == 4) returned.insert(last);
  close(acks[0]);
  ASSERT_EQ(returned.size() > 0, true);

  platform::Statement check(platform::DeviceDb(), "PRAGMA integrity_check");
  ASSERT_TRUE(check.Step());
  EXPECT_EQ(check.Text(0), "ok");
  HKEY key;
  ASSERT_EQ(Open(HKEY_LOCAL_MACHINE, u"Burst", &key), ERROR_SUCCESS);
  for (uint32_t i : returned) {
    std::u16string name = u"v" + platform::Utf8ToUtf16(std::to_string(i));
    BYTE data[3000];
    DWORD size = sizeof data;
    ASSERT_EQ(RegQueryValueExW(key, name.c_str(), nullptr, nullptr, data, &size), ERROR_SUCCESS) << i;
    uint32_t stored;
    std::memcpy(&stored, data, 4);
    EXPECT_EQ(stored, i);
    EXPECT_EQ(size, 3000u);
  }
  RegCloseKey(key);
}

}  // namespace

// A store that fails under a call gives the call's error code, as Windows
// reports a write-protected or full disk; nothing unwinds into the caller.
TEST_F(DeviceTest, AFailingDeviceGivesTheRegistryCallsTheirErrorCode) {
  HKEY key = nullptr;
  ASSERT_EQ(RegCreateKeyExW(HKEY_CURRENT_USER, u"Software\\Probe", 0, nullptr, 0, 0, nullptr, &key, nullptr),
            ERROR_SUCCESS);
  const DWORD one = 1;
  const auto* data = reinterpret_cast<const BYTE*>(&one);

  testing_support::MakeDeviceReadOnly();
  EXPECT_EQ(RegSetValueExW(key, u"Kept", 0, REG_DWORD, data, sizeof one), ERROR_WRITE_PROTECT);
  EXPECT_EQ(RegDeleteKeyW(HKEY_CURRENT_USER, u"Software\\Probe"), ERROR_WRITE_PROTECT);
  DWORD size = 0;
  EXPECT_EQ(RegQueryValueExW(key, u"Kept", nullptr, nullptr, nullptr, &size), ERROR_FILE_NOT_FOUND);
  platform::CloseDeviceDb();

  // The largest value needs pages the full store cannot give.
  testing_support::MakeDeviceFull();
  const std::vector<BYTE> large(64 * 1024, 0x5A);
  EXPECT_EQ(RegSetValueExW(key, u"Large", 0, REG_BINARY, large.data(), static_cast<DWORD>(large.size())),
            ERROR_DISK_FULL);
  platform::CloseDeviceDb();
  EXPECT_EQ(RegQueryValueExW(key, u"Large", nullptr, nullptr, nullptr, &size), ERROR_FILE_NOT_FOUND);
  EXPECT_EQ(RegSetValueExW(key, u"Kept", 0, REG_DWORD, data, sizeof one), ERROR_SUCCESS);

  testing_support::RemoveDevice();
  EXPECT_EQ(RegSetValueExW(key, u"Kept", 0, REG_DWORD, data, sizeof one), ERROR_GEN_FAILURE);
  EXPECT_EQ(RegQueryValueExW(key, u"Kept", nullptr, nullptr, nullptr, &size), ERROR_GEN_FAILURE);
  RegCloseKey(key);
}
