// The phone's hardware calls: telephony and the radio's state, the SIM's
// PIN, Bluetooth on either stack, the wave device and the object store.
#include <bthutil.h>
#include <extapi.h>
#include <gtest/gtest.h>
#include <mmsystem.h>
#include <simmgr.h>
#include <tapi.h>
#include <windbase.h>
#include <windows.h>

#include <cstring>
#include <string>
#include <vector>

#include "../device/device.h"
#include "../kernel/journal.h"
#include "../testing/device_fixture.h"

using testing_support::DeviceTest;
using testing_support::TempDevice;

namespace {

std::vector<std::string> Journal() {
  std::vector<std::string> lines;
  for (const auto& line : platform::JournalRead()) lines.push_back(line.text);
  return lines;
}

void CALLBACK NoLineEvents(DWORD, DWORD, DWORD_PTR, DWORD_PTR, DWORD_PTR, DWORD_PTR) {}

// An open line on device 0, as a program gets it.
struct OpenLine {
  OpenLine() {
    DWORD devices = 0;
    EXPECT_EQ(lineInitialize(&app, nullptr, NoLineEvents, u"test", &devices), 0);
    EXPECT_EQ(devices, 1u);
    LINEEXTENSIONID extension;
    EXPECT_EQ(lineNegotiateAPIVersion(app, 0, 0x00010004, 0x00020000, &version, &extension), 0);
    opened = lineOpen(app, 0, &line, version, 0, 0, LINECALLPRIVILEGE_OWNER, LINEMEDIAMODE_INTERACTIVEVOICE,
                      nullptr);
  }
  ~OpenLine() { lineShutdown(app); }
  HLINEAPP app = 0;
  HLINE line = 0;
  DWORD version = 0;
  LONG opened = -1;
};

}  // namespace

TEST_F(DeviceTest, EquipmentStatePersistsAndMinimumLocksTheSimAndDropsRegistration) {
  {
    OpenLine open;
    ASSERT_EQ(open.opened, 0);
    EXPECT_EQ(open.version, 0x00020000u);
    DWORD state = 0, support = 0;
    EXPECT_EQ(lineGetEquipmentState(open.line, &state, &support), 0);
    EXPECT_EQ(state, static_cast<DWORD>(LINEEQUIPSTATE_FULL));
    EXPECT_EQ(lineSetEquipmentState(open.line, LINEEQUIPSTATE_MINIMUM), 0);
    EXPECT_EQ(lineSetEquipmentState(open.line, 9), LINEERR_INVALPARAM);
    EXPECT_EQ(lineClose(open.line), 0);
    EXPECT_EQ(lineSetEquipmentState(open.line, LINEEQUIPSTATE_FULL), LINEERR_INVALLINEHANDLE);
  }
  OpenLine again;
  DWORD state = 0, support = 0;
  EXPECT_EQ(lineGetEquipmentState(again.line, &state, &support), 0);
  EXPECT_EQ(state, static_cast<DWORD>(LINEEQUIPSTATE_MINIMUM));
  EXPECT_EQ(platform::DeviceValue("sim.locked"), "1");
  EXPECT_EQ(platform::DeviceValue("radio.registered"), "0");
  // Radio on but the SIM still locked: the registration fails.
  lineSetEquipmentState(again.line, LINEEQUIPSTATE_FULL);
  EXPECT_EQ(lineRegister(again.line, LINEREGMODE_AUTOMATIC, nullptr, 0), LINEERR_OPERATIONFAILED);
  EXPECT_EQ(Journal(), (std::vector<std::string>{"lineSetEquipmentState 1", "lineSetEquipmentState 5",
                                                 "lineRegister 1"}));
}

TEST_F(DeviceTest, LineShutdownClosesItsLinesAndVersionsOutsideTheRangeAreRefused) {
  OpenLine open;
  LINEEXTENSIONID extension;
  DWORD version;
  EXPECT_EQ(lineNegotiateAPIVersion(open.app, 0, 0x00030000, 0x00040000, &version, &extension),
            LINEERR_INCOMPATIBLEAPIVERSION);
  EXPECT_EQ(lineNegotiateAPIVersion(open.app, 1, 0x00010004, 0x00020000, &version, &extension),
            LINEERR_BADDEVICEID);
  EXPECT_EQ(lineShutdown(open.app), 0);
  DWORD state, support;
  EXPECT_EQ(lineGetEquipmentState(open.line, &state, &support), LINEERR_INVALLINEHANDLE);
  EXPECT_EQ(lineShutdown(open.app), LINEERR_INVALAPPHANDLE);
}

TEST_F(DeviceTest, PhoneWithoutALineOffersNoLineDevice) {
  platform::SetDeviceValue("line.devices", "0");
  HLINEAPP app = 0;
  DWORD devices = 9;
  ASSERT_EQ(lineInitialize(&app, nullptr, NoLineEvents, u"test", &devices), 0);
  EXPECT_EQ(devices, 0u);
  HLINE line = 0;
  EXPECT_EQ(lineOpen(app, 0, &line, 0x00020000, 0, 0, LINECALLPRIVILEGE_OWNER, LINEMEDIAMODE_INTERACTIVEVOICE,
                     nullptr),
            LINEERR_BADDEVICEID);
  EXPECT_EQ(lineShutdown(app), 0);
}

TEST(SimTest, OnlyTheDevicesPinUnlocksAndANewPinReplacesIt) {
  platform::DeviceOptions options;
  options.simPin = "4321";
  TempDevice device(options);
  HSIM sim = nullptr;
  ASSERT_EQ(SimInitialize(0, nullptr, 0, &sim), S_OK);
  platform::SetDeviceValue("sim.locked", "1");
  EXPECT_EQ(SimUnlockPhone(sim, u"1234", u""), SIM_E_INCORRECTPASSWORD);
  EXPECT_EQ(SimUnlockPhone(sim, u"", u""), SIM_E_INCORRECTPASSWORD);
  EXPECT_EQ(platform::DeviceValue("sim.locked"), "1");
  EXPECT_EQ(SimUnlockPhone(sim, u"4321", u"12x"), SIM_E_BADPARAM);
  EXPECT_EQ(SimUnlockPhone(sim, u"4321", u""), S_OK);
  EXPECT_EQ(platform::DeviceValue("sim.locked"), "0");
  EXPECT_EQ(SimUnlockPhone(sim, u"4321", u"5678"), S_OK);
  EXPECT_EQ(platform::DeviceValue("sim.pin"), "5678");
  EXPECT_EQ(SimDeinitialize(sim), S_OK);
  EXPECT_EQ(SimUnlockPhone(sim, u"5678", u""), E_INVALIDARG);
  EXPECT_EQ(Journal(), (std::vector<std::string>{"SimUnlockPhone \"1234\" failed", "SimUnlockPhone \"\" failed",
                                                 "SimUnlockPhone \"4321\" ok", "SimUnlockPhone \"4321\" ok"}));
}

TEST(BluetoothTest, BthSetModeWorksOnlyOnTheMicrosoftStack) {
  {
    TempDevice device;
    DWORD mode = 9;
    EXPECT_EQ(BthGetMode(&mode), ERROR_SUCCESS);
    EXPECT_EQ(mode, 0u);
    EXPECT_EQ(BthSetMode(BTH_DISCOVERABLE), ERROR_SUCCESS);
    EXPECT_EQ(BthSetMode(3), ERROR_INVALID_PARAMETER);
    EXPECT_EQ(BthGetMode(&mode), ERROR_SUCCESS);
    EXPECT_EQ(mode, 2u);
    EXPECT_EQ(Journal(), (std::vector<std::string>{"BthSetMode 2", "BthSetMode 3 failed"}));
    HKEY key;
    EXPECT_EQ(RegOpenKeyExW(HKEY_LOCAL_MACHINE, u"SOFTWARE\\Widcomm\\BtConfig\\General", 0, 0, &key),
              ERROR_FILE_NOT_FOUND);
  }
  platform::DeviceOptions widcomm;
  widcomm.widcomm = true;
  TempDevice device(widcomm);
  EXPECT_EQ(BthSetMode(BTH_POWER_OFF), ERROR_SERVICE_NOT_ACTIVE);
  EXPECT_EQ(Journal(), std::vector<std::string>{"BthSetMode 0 failed"});
  HKEY key;
  ASSERT_EQ(RegOpenKeyExW(HKEY_LOCAL_MACHINE, u"SOFTWARE\\Widcomm\\BtConfig\\General", 0, 0, &key), ERROR_SUCCESS);
  DWORD mode = 7, size = sizeof mode;
  EXPECT_EQ(RegQueryValueExW(key, u"StackMode", nullptr, nullptr, reinterpret_cast<BYTE*>(&mode), &size),
            ERROR_SUCCESS);
  EXPECT_EQ(mode, 0u);
  RegCloseKey(key);
}

TEST_F(DeviceTest, WaveVolumeIsKeptAndEachSoundCallJournalled) {
  EXPECT_EQ(waveOutSetVolume(nullptr, 0xFFFF), static_cast<MMRESULT>(MMSYSERR_NOERROR));
  EXPECT_EQ(waveOutSetVolume(reinterpret_cast<HWAVEOUT>(8), 0), static_cast<MMRESULT>(MMSYSERR_INVALHANDLE));
  DWORD volume = 0;
  EXPECT_EQ(waveOutGetVolume(nullptr, &volume), static_cast<MMRESULT>(MMSYSERR_NOERROR));
  EXPECT_EQ(volume, 0xFFFFu);
  AudioUpdateFromRegistry();
  PlaySoundW(u"\\windows\\alarm1.wav", nullptr, SND_ASYNC);
  EXPECT_EQ(Journal(), (std::vector<std::string>{"waveOutSetVolume 0x0000FFFF", "AudioUpdateFromRegistry",
                                                 "PlaySoundW \"\\windows\\alarm1.wav\" 0x1"}));
}

// Reads every record's properties, reusing one buffer as a program does.
std::vector<std::vector<CEPROPVAL>> ReadAll(HANDLE database, LPBYTE* buffer, DWORD* size,
                                            std::vector<std::u16string>* texts) {
  std::vector<std::vector<CEPROPVAL>> records;
  WORD count = 0;
  while (CeReadRecordPropsEx(database, CEDB_ALLOWREALLOC, &count, nullptr, buffer, size, nullptr)) {
    auto* values = reinterpret_cast<CEPROPVAL*>(*buffer);
    records.emplace_back(values, values + count);
    for (WORD i = 0; i < count; ++i)
      if (TypeFromPropID(values[i].propid) == CEVT_LPWSTR) texts->push_back(values[i].val.lpwstr);
  }
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_NO_MORE_ITEMS));
  return records;
}

TEST_F(DeviceTest, FreshPhoneHasItsCalendarCategoriesInTheObjectStore) {
  HANDLE enumeration = CeFindFirstDatabase(0);
  ASSERT_NE(enumeration, INVALID_HANDLE_VALUE);
  std::vector<std::u16string> names;
  CEOID categories = 0;
  while (CEOID oid = CeFindNextDatabase(enumeration)) {
    CEOIDINFO info;
    ASSERT_TRUE(CeOidGetInfo(oid, &info));
    EXPECT_EQ(info.wObjType, OBJTYPE_DATABASE);
    names.push_back(info.infDatabase.szDbaseName);
    if (names.back() == u"Categories Database") {
      categories = oid;
      EXPECT_EQ(info.infDatabase.wNumRecords, 7);
    }
  }
  CloseHandle(enumeration);
  EXPECT_EQ(names.size(), 3u);
  ASSERT_NE(categories, 0u);

  HANDLE database = CeOpenDatabase(&categories, nullptr, 0, CEDB_AUTOINCREMENT, nullptr);
  ASSERT_NE(database, INVALID_HANDLE_VALUE);
  DWORD index = 99;
  EXPECT_NE(CeSeekDatabase(database, CEDB_SEEK_BEGINNING, 0, &index), 0u);
  EXPECT_EQ(index, 0u);
  LPBYTE buffer = nullptr;
  DWORD size = 0;
  std::vector<std::u16string> texts;
  auto records = ReadAll(database, &buffer, &size, &texts);
  EXPECT_EQ(records.size(), 7u);
  EXPECT_EQ(texts, (std::vector<std::u16string>{u"Business", u"Personal", u"Holiday", u"Ideas", u"Miscellaneous",
                                                u"Gifts", u"Guests"}));
  LocalFree(buffer);
  CloseHandle(database);
}

TEST(ObjectStoreTest, EmptyPhoneHasNoDatabases) {
  platform::DeviceOptions options;
  options.empty = true;
  TempDevice device(options);
  HANDLE enumeration = CeFindFirstDatabase(0);
  EXPECT_EQ(CeFindNextDatabase(enumeration), 0u);
  CloseHandle(enumeration);
}

TEST_F(DeviceTest, RecordsKeepTheirPropertiesAndTheBufferGrowsOnlyWhenAllowed) {
  CEOID oid = CeCreateDatabase(u"Test", 7, 0, nullptr);
  ASSERT_NE(oid, 0u);
  EXPECT_EQ(CeCreateDatabase(u"test", 7, 0, nullptr), 0u);
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_DUP_NAME));
  CEOID byName = 0;
  HANDLE database = CeOpenDatabase(&byName, u"TEST", 0, 0, nullptr);
  ASSERT_NE(database, INVALID_HANDLE_VALUE);
  EXPECT_EQ(byName, oid);

  std::u16string longText(300, u'x');
  BYTE blob[3] = {1, 2, 3};
  CEPROPVAL values[4] = {};
  values[0].propid = (1u << 16) | CEVT_LPWSTR;
  values[0].val.lpwstr = longText.data();
  values[1].propid = (2u << 16) | CEVT_I4;
  values[1].val.lVal = -5;
  values[2].propid = (3u << 16) | CEVT_BLOB;
  values[2].val.blob = {3, blob};
  values[3].propid = (4u << 16) | CEVT_R8;
  values[3].val.dblVal = 2.5;
  CEOID record = CeWriteRecordProps(database, 0, 4, values);
  ASSERT_NE(record, 0u);

  // Without CEDB_ALLOWREALLOC a small buffer is refused with the size needed.
  BYTE small[16];
  LPBYTE buffer = small;
  DWORD size = sizeof small;
  WORD count = 0;
  EXPECT_EQ(CeReadRecordPropsEx(database, 0, &count, nullptr, &buffer, &size, nullptr), 0u);
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INSUFFICIENT_BUFFER));
  EXPECT_GT(size, 600u);

  buffer = nullptr;
  size = 0;
  ASSERT_EQ(CeReadRecordPropsEx(database, CEDB_ALLOWREALLOC, &count, nullptr, &buffer, &size, nullptr), record);
  ASSERT_EQ(count, 4);
  auto* read = reinterpret_cast<CEPROPVAL*>(buffer);
  EXPECT_EQ(std::u16string(read[0].val.lpwstr), longText);
  EXPECT_EQ(read[1].val.lVal, -5);
  ASSERT_EQ(read[2].val.blob.dwCount, 3u);
  EXPECT_EQ(std::memcmp(read[2].val.blob.lpb, blob, 3), 0);
  EXPECT_EQ(read[3].val.dblVal, 2.5);
  // Without CEDB_AUTOINCREMENT the current record stays the same.
  EXPECT_EQ(CeReadRecordPropsEx(database, CEDB_ALLOWREALLOC, &count, nullptr, &buffer, &size, nullptr), record);

  // Changing one property keeps its place; deleting one removes it;
  // asking for a missing one marks it not found.
  CEPROPVAL change[2] = {};
  change[0].propid = (2u << 16) | CEVT_I4;
  change[0].val.lVal = 9;
  change[1].propid = (3u << 16) | CEVT_BLOB;
  change[1].wFlags = CEDB_PROPDELETE;
  EXPECT_EQ(CeWriteRecordProps(database, record, 2, change), record);
  CEPROPID wanted[2] = {(2u << 16) | CEVT_I4, (3u << 16) | CEVT_BLOB};
  count = 2;
  ASSERT_EQ(CeReadRecordPropsEx(database, CEDB_ALLOWREALLOC, &count, wanted, &buffer, &size, nullptr), record);
  read = reinterpret_cast<CEPROPVAL*>(buffer);
  EXPECT_EQ(read[0].val.lVal, 9);
  EXPECT_EQ(read[1].wFlags, CEDB_PROPNOTFOUND);
  LocalFree(buffer);

  EXPECT_EQ(CeSeekDatabase(database, CEDB_SEEK_BEGINNING, 1, nullptr), 0u);
  EXPECT_EQ(CeSeekDatabase(database, CEDB_SEEK_CEOID, record, nullptr), record);
  CloseHandle(database);
}

TEST_F(DeviceTest, DeletingARecordTakesItsPropertiesAndKeepsTheCurrentRecord) {
  CEOID oid = CeCreateDatabase(u"Test", 0, 0, nullptr);
  HANDLE database = CeOpenDatabase(&oid, nullptr, 0, 0, nullptr);
  ASSERT_NE(database, INVALID_HANDLE_VALUE);
  CEOID records[3];
  for (ULONG i = 0; i < 3; ++i) {
    CEPROPVAL value{};
    value.propid = (1u << 16) | CEVT_UI4;
    value.val.ulVal = i;
    records[i] = CeWriteRecordProps(database, 0, 1, &value);
  }
  ASSERT_EQ(CeSeekDatabase(database, CEDB_SEEK_BEGINNING, 2, nullptr), records[2]);
  EXPECT_TRUE(CeDeleteRecord(database, records[0]));
  // Still on the third record, now at index 1.
  LPBYTE buffer = nullptr;
  DWORD size = 0;
  WORD count = 0;
  ASSERT_EQ(CeReadRecordPropsEx(database, CEDB_ALLOWREALLOC, &count, nullptr, &buffer, &size, nullptr), records[2]);
  EXPECT_EQ(reinterpret_cast<CEPROPVAL*>(buffer)->val.ulVal, 2u);
  // Deleting the current record makes the next one current: here none.
  EXPECT_TRUE(CeDeleteRecord(database, records[2]));
  EXPECT_EQ(CeReadRecordPropsEx(database, CEDB_ALLOWREALLOC, &count, nullptr, &buffer, &size, nullptr), 0u);
  LocalFree(buffer);

  EXPECT_FALSE(CeDeleteRecord(database, records[0]));
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_PARAMETER));
  EXPECT_FALSE(CeDeleteRecord(database, oid));  // the database is no record of itself
  EXPECT_FALSE(CeDeleteRecord(nullptr, records[1]));
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_HANDLE));
  CEOIDINFO info;
  ASSERT_TRUE(CeOidGetInfo(oid, &info));
  EXPECT_EQ(info.infDatabase.wNumRecords, 1);
  CloseHandle(database);
}

TEST_F(DeviceTest, APropertyLargerThanTheStoreHoldsIsRefused) {
  CEOID oid = CeCreateDatabase(u"Test", 0, 0, nullptr);
  HANDLE database = CeOpenDatabase(&oid, nullptr, 0, 0, nullptr);
  ASSERT_NE(database, INVALID_HANDLE_VALUE);
  std::u16string text(CEDB_MAXPROPDATASIZE / sizeof(WCHAR), u'x');
  CEPROPVAL value{};
  value.propid = (1u << 16) | CEVT_LPWSTR;
  value.val.lpwstr = text.data();
  EXPECT_EQ(CeWriteRecordProps(database, 0, 1, &value), 0u);
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_PARAMETER));
  text.pop_back();  // now it fits with its terminator, and reads back whole
  value.val.lpwstr = text.data();
  ASSERT_NE(CeWriteRecordProps(database, 0, 1, &value), 0u);
  LPBYTE buffer = nullptr;
  DWORD size = 0;
  WORD count = 0;
  ASSERT_NE(CeReadRecordPropsEx(database, CEDB_ALLOWREALLOC, &count, nullptr, &buffer, &size, nullptr), 0u);
  const auto* read = reinterpret_cast<CEPROPVAL*>(buffer);
  EXPECT_EQ(read->wLenData, CEDB_MAXPROPDATASIZE);
  EXPECT_EQ(std::u16string(read->val.lpwstr), text);
  LocalFree(buffer);
  CloseHandle(database);
}

// A hardware call whose state or journal line the device cannot keep fails
// with the call's own failure value and the store's error, never unwinding
// into the program: write-protected, full, and gone.
TEST_F(DeviceTest, HardwareCallsOnAFailingDeviceReturnTheirFailureAndTheError) {
  OpenLine open;
  ASSERT_EQ(open.opened, 0);
  testing_support::MakeDeviceReadOnly();
  SetLastError(ERROR_SUCCESS);
  EXPECT_FALSE(PlaySoundW(u"\\windows\\Alarm1.wav", nullptr, SND_FILENAME | SND_ASYNC));
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_WRITE_PROTECT));
  EXPECT_EQ(waveOutSetVolume(nullptr, 0x11111111), static_cast<MMRESULT>(MMSYSERR_ERROR));
  EXPECT_EQ(lineSetEquipmentState(open.line, LINEEQUIPSTATE_MINIMUM), LINEERR_OPERATIONFAILED);
  EXPECT_EQ(lineRegister(open.line, LINEREGMODE_AUTOMATIC, nullptr, 0), LINEERR_OPERATIONFAILED);
  EXPECT_EQ(BthSetMode(BTH_CONNECTABLE), static_cast<int>(ERROR_WRITE_PROTECT));
  SetLastError(ERROR_SUCCESS);
  EXPECT_NO_THROW(keybd_event(VK_SHIFT, 0, 0, 0));
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_WRITE_PROTECT));
  SetLastError(ERROR_SUCCESS);
  EXPECT_NO_THROW(AudioUpdateFromRegistry());
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_WRITE_PROTECT));
  DWORD volume = 0;
  EXPECT_EQ(waveOutGetVolume(nullptr, &volume), static_cast<MMRESULT>(MMSYSERR_NOERROR));
  EXPECT_EQ(volume, 0xFFFFFFFFu);
  platform::CloseDeviceDb();
  EXPECT_EQ(Journal(), std::vector<std::string>{});

  // Each sound takes a journal line; the line that finds no room fails the call.
  testing_support::MakeDeviceFull();
  int played = 0;
  BOOL done = TRUE;
  while (done && played < 100000) {
    done = PlaySoundW(u"\\windows\\Alarm1.wav", nullptr, SND_FILENAME | SND_ASYNC);
    if (done) ++played;
  }
  EXPECT_FALSE(done);
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_DISK_FULL));
  platform::CloseDeviceDb();
  EXPECT_EQ(Journal().size(), static_cast<size_t>(played));

  testing_support::RemoveDevice();
  EXPECT_EQ(waveOutGetVolume(nullptr, &volume), static_cast<MMRESULT>(MMSYSERR_ERROR));
  DWORD state = 0, support = 0;
  EXPECT_EQ(lineGetEquipmentState(open.line, &state, &support), LINEERR_OPERATIONFAILED);
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_GEN_FAILURE));
  HSIM sim = nullptr;
  ASSERT_EQ(SimInitialize(0, nullptr, 0, &sim), S_OK);
  EXPECT_EQ(SimUnlockPhone(sim, u"1234", nullptr), SIM_E_SIMFAILURE);
  SimDeinitialize(sim);
}
