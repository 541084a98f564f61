// Checks of the CE layer under Wine, compiled as the programs are (the
// phone's versions of the desktop calls under their desktop names): what
// each call does to the registry, the journal file and the hardware state.
// Run in a scratch hardware key and journal of its own; prints each failed
// check and "N checks, N failed", and exits non-zero on any failure.
#include <windows.h>
#include <bthutil.h>
#include <extapi.h>
#include <notify.h>
#include <simmgr.h>
#include <tapi.h>
#include <windbase.h>

#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

namespace {

const WCHAR kPhoneKey[] = L"Software\\Selvane\\Phone";
const WCHAR kJournal[] = L"C:\\ce-layer-checks-journal.txt";
const WCHAR kScratchKey[] = L"\\Software\\Selvane\\Checks";

int g_checks = 0;
int g_failed = 0;

void Check(bool ok, const char* what, int line) {
  ++g_checks;
  if (ok) return;
  ++g_failed;
  std::printf("ce_layer_checks.cpp:%d: %s\n", line, what);
}
#define CHECK(condition) Check((condition), #condition, __LINE__)

void SetPhoneText(LPCWSTR name, LPCWSTR text) {
  HKEY key;
  RegCreateKeyExW(HKEY_LOCAL_MACHINE, kPhoneKey, 0, nullptr, 0, 0, nullptr, &key, nullptr);
  RegSetValueExW(key, name, 0, REG_SZ, reinterpret_cast<const BYTE*>(text), (lstrlenW(text) + 1) * sizeof(WCHAR));
  RegCloseKey(key);
}

DWORD PhoneDword(LPCWSTR subKey, LPCWSTR name, DWORD fallback) {
  std::wstring path = std::wstring(kPhoneKey) + (subKey ? std::wstring(L"\\") + subKey : L"");
  DWORD value = fallback, size = sizeof value;
  RegGetValueW(HKEY_LOCAL_MACHINE, path.c_str(), name, RRF_RT_REG_DWORD, nullptr, &value, &size);
  return value;
}

// The journal's lines since the last call.
std::vector<std::string> TakeJournal() {
  std::vector<std::string> lines;
  FILE* file = _wfopen(kJournal, L"rb");
  if (file) {
    char line[512];
    while (std::fgets(line, sizeof line, file)) {
      std::string text(line);
      while (!text.empty() && (text.back() == '\n' || text.back() == '\r')) text.pop_back();
      lines.push_back(text);
    }
    std::fclose(file);
  }
  DeleteFileW(kJournal);
  return lines;
}

void RegistryPaths() {
  HKEY key = nullptr;
  // A leading "\" names the root, as on the phone; access 0 still writes.
  CHECK(RegCreateKeyExW(HKEY_LOCAL_MACHINE, L"\\Software\\Selvane\\Checks\\Deep\\Er", 0, nullptr, 0, 0, nullptr,
                        &key, nullptr) == ERROR_SUCCESS);
  RegCloseKey(key);
  CHECK(RegOpenKeyExW(HKEY_LOCAL_MACHINE, kScratchKey, 0, 0, &key) == ERROR_SUCCESS);
  DWORD value = 7;
  CHECK(RegSetValueExW(key, L"Written", 0, REG_DWORD, reinterpret_cast<BYTE*>(&value), sizeof value) ==
        ERROR_SUCCESS);
  RegCloseKey(key);
  // Deleting a key deletes what lies below it.
  CHECK(RegDeleteKeyW(HKEY_LOCAL_MACHINE, kScratchKey) == ERROR_SUCCESS);
  CHECK(RegOpenKeyExW(HKEY_LOCAL_MACHINE, kScratchKey, 0, 0, &key) == ERROR_FILE_NOT_FOUND);
  CHECK(RegDeleteKeyW(HKEY_LOCAL_MACHINE, L"\\") == ERROR_INVALID_PARAMETER);
}

void ProgramStarts(const std::wstring& self) {
  // No start-up or process information, and the arguments alone.
  std::wstring arguments = L"child 42";
  CHECK(CreateProcessW(self.c_str(), arguments.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, nullptr,
                       nullptr));
  PROCESS_INFORMATION started = {};
  std::wstring again = L"child 43";
  CHECK(CreateProcessW(self.c_str(), again.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, nullptr, &started));
  WaitForSingleObject(started.hProcess, 10000);
  DWORD status = 0;
  GetExitCodeProcess(started.hProcess, &status);
  CHECK(status == 43);
  CloseHandle(started.hThread);
  CloseHandle(started.hProcess);
  CHECK(!CreateProcessW(L"\\Program files\\Selvane\\Missing.exe", nullptr, nullptr, nullptr, FALSE, 0, nullptr,
                        nullptr, nullptr, nullptr));
  std::vector<std::string> journal = TakeJournal();
  CHECK(journal.size() == 3);
  if (journal.size() == 3) {
    CHECK(journal[1].find("\" \"child 43\"") != std::string::npos);
    CHECK(journal[2] == "CeLayerChecks CreateProcessW \"\\Program files\\Selvane\\Missing.exe\" \"\" failed");
  }
}

void TimedStarts() {
  SYSTEMTIME at = {};
  at.wYear = 2026, at.wMonth = 12, at.wDay = 9, at.wHour = 22, at.wMinute = 30, at.wSecond = 5;
  CHECK(CeRunAppAtTime(L"\\Program files\\Selvane\\Lumist.exe", &at));
  at.wHour = 23;
  CHECK(CeRunAppAtTime(L"\\PROGRAM FILES\\Selvane\\Lumist.exe", &at));
  SYSTEMTIME impossible = at;
  impossible.wMonth = 2, impossible.wDay = 30;
  CHECK(!CeRunAppAtTime(L"\\Program files\\Selvane\\Lumist.exe", &impossible));
  CHECK(GetLastError() == ERROR_INVALID_PARAMETER);
  WCHAR when[64] = {};
  DWORD size = sizeof when;
  // One registration per path, at the last time given.
  CHECK(RegGetValueW(HKEY_LOCAL_MACHINE, L"Software\\Selvane\\Phone\\Timed Starts",
                     L"\\Program files\\Selvane\\Lumist.exe", RRF_RT_REG_SZ, nullptr, when, &size) == ERROR_SUCCESS);
  CHECK(lstrcmpW(when, L"2026-12-09 23:30:05") == 0);
  CHECK(CeRunAppAtTime(L"\\Program files\\Selvane\\Lumist.exe", nullptr));
  size = sizeof when;
  CHECK(RegGetValueW(HKEY_LOCAL_MACHINE, L"Software\\Selvane\\Phone\\Timed Starts",
                     L"\\Program files\\Selvane\\Lumist.exe", RRF_RT_REG_SZ, nullptr, when, &size) != ERROR_SUCCESS);
  std::vector<std::string> journal = TakeJournal();
  CHECK(journal.size() == 4);
  if (journal.size() == 4) {
    CHECK(journal[2] == "CeLayerChecks CeRunAppAtTime \"\\Program files\\Selvane\\Lumist.exe\" 2026-02-30 23:30:05 failed");
    CHECK(journal[3] == "CeLayerChecks CeRunAppAtTime \"\\Program files\\Selvane\\Lumist.exe\" none");
  }
}

void Events() {
  HANDLE named = CreateEventW(nullptr, FALSE, FALSE, L"CheckEvent");
  HANDLE unnamed = CreateEventW(nullptr, TRUE, FALSE, nullptr);
  CHECK(EventModify(named, EVENT_SET));
  CHECK(EventModify(named, EVENT_RESET));
  CHECK(EventModify(unnamed, EVENT_SET));
  CHECK(WaitForSingleObject(unnamed, 0) == WAIT_OBJECT_0);
  CHECK(!EventModify(named, 9));
  CHECK(PhoneDword(L"Events", L"CheckEvent", 0) == 1);
  CloseHandle(named);
  CloseHandle(unnamed);
  std::vector<std::string> journal = TakeJournal();
  CHECK((journal == std::vector<std::string>{"CeLayerChecks EventModify \"CheckEvent\" 3",
                                             "CeLayerChecks EventModify \"CheckEvent\" 2"}));
}

void RadioAndSim() {
  HLINEAPP app = 0;
  DWORD devices = 0;
  CHECK(lineInitialize(&app, nullptr, [](DWORD, DWORD, DWORD_PTR, DWORD_PTR, DWORD_PTR, DWORD_PTR) {}, L"checks", &devices) == 0);
  CHECK(devices == 1);
  HLINE line = 0;
  CHECK(lineOpen(app, 0, &line, TAPI_CURRENT_VERSION, 0, 0, LINECALLPRIVILEGE_NONE, LINEMEDIAMODE_DATAMODEM,
                 nullptr) == 0);
  // The minimum state locks the SIM: no registration until the PIN is in.
  CHECK(lineSetEquipmentState(line, LINEEQUIPSTATE_MINIMUM) == 0);
  CHECK(lineSetEquipmentState(line, LINEEQUIPSTATE_FULL) == 0);
  CHECK(lineRegister(line, LINEREGMODE_AUTOMATIC, nullptr, LINEOPFORMAT_NONE) == LINEERR_OPERATIONFAILED);
  HSIM sim = nullptr;
  CHECK(SimInitialize(0, nullptr, 0, &sim) == S_OK);
  CHECK(SimUnlockPhone(sim, L"0000", nullptr) == SIM_E_INCORRECTPASSWORD);
  CHECK(SimUnlockPhone(sim, L"1234", nullptr) == S_OK);
  CHECK(SimDeinitialize(sim) == S_OK);
  CHECK(lineRegister(line, LINEREGMODE_AUTOMATIC, nullptr, LINEOPFORMAT_NONE) == 0);
  CHECK(PhoneDword(nullptr, L"RadioRegistered", 0) == 1);
  CHECK(lineShutdown(app) == 0);
  CHECK(lineClose(line) == LINEERR_INVALLINEHANDLE);
  std::vector<std::string> journal = TakeJournal();
  CHECK((journal == std::vector<std::string>{
                        "CeLayerChecks lineSetEquipmentState 1", "CeLayerChecks lineSetEquipmentState 5",
                        "CeLayerChecks lineRegister 1", "CeLayerChecks SimUnlockPhone \"0000\" failed",
                        "CeLayerChecks SimUnlockPhone \"1234\" ok", "CeLayerChecks lineRegister 1"}));
}

void Bluetooth() {
  CHECK(BthSetMode(BTH_DISCOVERABLE) == ERROR_SUCCESS);
  DWORD mode = 0;
  CHECK(BthGetMode(&mode) == ERROR_SUCCESS && mode == BTH_DISCOVERABLE);
  CHECK(FindWindowW(L"WCE_BTTRAY", L"Bluetooth Console") == nullptr);
  // On the Widcomm stack the Microsoft calls fail and the tray switches.
  SetPhoneText(L"BluetoothStack", L"widcomm");
  CHECK(BthSetMode(BTH_POWER_OFF) == ERROR_SERVICE_NOT_ACTIVE);
  HWND tray = FindWindowW(L"WCE_BTTRAY", L"Bluetooth Console");
  CHECK(tray != nullptr);
  SendMessageW(tray, WM_COMMAND, 0x1002, 0);
  DWORD stack = 0, size = sizeof stack;
  RegGetValueW(HKEY_LOCAL_MACHINE, L"SOFTWARE\\Widcomm\\BtConfig\\General", L"StackMode", RRF_RT_REG_DWORD, nullptr,
               &stack, &size);
  CHECK(stack == 1);
  SetPhoneText(L"BluetoothStack", L"microsoft");
  std::vector<std::string> journal = TakeJournal();
  CHECK((journal == std::vector<std::string>{"CeLayerChecks BthSetMode 2", "CeLayerChecks BthSetMode 0 failed",
                                             "CeLayerChecks WCE_BTTRAY WM_COMMAND 0x1002"}));
}

// A database of two records written into the hardware key, then read.
void ObjectStore() {
  HKEY key;
  RegCreateKeyExW(HKEY_LOCAL_MACHINE, L"Software\\Selvane\\Phone\\Databases\\Checks Database\\Records\\0001", 0,
                  nullptr, 0, KEY_WRITE, nullptr, &key, nullptr);
  RegSetValueExW(key, L"0001001F", 0, REG_SZ, reinterpret_cast<const BYTE*>(L"First"), 12);
  DWORD number = 5;
  RegSetValueExW(key, L"00020013", 0, REG_DWORD, reinterpret_cast<BYTE*>(&number), sizeof number);
  RegCloseKey(key);
  RegCreateKeyExW(HKEY_LOCAL_MACHINE, L"Software\\Selvane\\Phone\\Databases\\Checks Database\\Records\\0002", 0,
                  nullptr, 0, KEY_WRITE, nullptr, &key, nullptr);
  // Stored without its terminator.
  RegSetValueExW(key, L"0001001F", 0, REG_SZ, reinterpret_cast<const BYTE*>(L"Second"), 12);
  RegCloseKey(key);
  RegOpenKeyExW(HKEY_LOCAL_MACHINE, L"Software\\Selvane\\Phone\\Databases\\Checks Database", 0, KEY_WRITE, &key);
  DWORD oid = 77, type = 9;
  RegSetValueExW(key, L"Oid", 0, REG_DWORD, reinterpret_cast<BYTE*>(&oid), sizeof oid);
  RegSetValueExW(key, L"Type", 0, REG_DWORD, reinterpret_cast<BYTE*>(&type), sizeof type);
  RegCloseKey(key);

  HANDLE enumeration = CeFindFirstDatabase(9);
  CHECK(CeFindNextDatabase(enumeration) == 77);
  CHECK(CeFindNextDatabase(enumeration) == 0 && GetLastError() == ERROR_NO_MORE_ITEMS);
  CHECK(CloseHandle(enumeration));
  CEOIDINFO info;
  CHECK(CeOidGetInfo(77, &info) && info.wObjType == OBJTYPE_DATABASE && info.infDatabase.wNumRecords == 2 &&
        lstrcmpW(info.infDatabase.szDbaseName, L"Checks Database") == 0);

  CEOID database = 0;
  HANDLE opened = CeOpenDatabase(&database, L"checks database", 0, 0, nullptr);
  CHECK(opened != INVALID_HANDLE_VALUE && database == 77);
  DWORD index = 9;
  CHECK(CeSeekDatabase(opened, CEDB_SEEK_BEGINNING, 0, &index) != 0 && index == 0);
  // Too small a buffer, not to be grown: refused with the size needed.
  BYTE small[8];
  LPBYTE buffer = small;
  DWORD size = sizeof small;
  WORD count = 0;
  CHECK(CeReadRecordPropsEx(opened, 0, &count, nullptr, &buffer, &size, nullptr) == 0 &&
        GetLastError() == ERROR_INSUFFICIENT_BUFFER && size > sizeof small);
  buffer = nullptr;
  size = 0;
  CEOID first = CeReadRecordPropsEx(opened, CEDB_ALLOWREALLOC, &count, nullptr, &buffer, &size, nullptr);
  CHECK(first != 0 && count == 2);
  auto values = reinterpret_cast<CEPROPVAL*>(buffer);
  CHECK(count == 2 && lstrcmpW(values[0].val.lpwstr, L"First") == 0 && values[1].val.ulVal == 5);
  CHECK(CeOidGetInfo(first, &info) && info.wObjType == OBJTYPE_RECORD && info.infRecord.oidParent == 77);
  CEPROPID wanted[] = {0x0001001F, 0x00020013};
  count = 2;
  CHECK(CeReadRecordPropsEx(opened, CEDB_ALLOWREALLOC, &count, wanted, &buffer, &size, nullptr) != 0);
  values = reinterpret_cast<CEPROPVAL*>(buffer);
  CHECK(lstrcmpW(values[0].val.lpwstr, L"Second") == 0 && (values[1].wFlags & CEDB_PROPNOTFOUND));
  CHECK(CeReadRecordPropsEx(opened, CEDB_ALLOWREALLOC, &count, nullptr, &buffer, &size, nullptr) == 0 &&
        GetLastError() == ERROR_NO_MORE_ITEMS);
  CHECK(CeSeekDatabase(opened, CEDB_SEEK_CURRENT, 5, &index) == 0);
  LocalFree(buffer);
  CHECK(CloseHandle(opened));
  RegDeleteKeyW(HKEY_LOCAL_MACHINE, L"\\Software\\Selvane\\Phone\\Databases");
}

void Sounds() {
  CHECK(waveOutSetVolume(nullptr, 0x0000FFFF) == MMSYSERR_NOERROR);
  CHECK(PhoneDword(nullptr, L"WaveVolume", 0) == 0x0000FFFF);
  AudioUpdateFromRegistry();
  CHECK(PhoneDword(nullptr, L"AudioUpdates", 0) == 1);
  keybd_event(VK_F24, 0, KEYEVENTF_KEYUP | KEYEVENTF_SILENT, 0);
  std::vector<std::string> journal = TakeJournal();
  CHECK((journal == std::vector<std::string>{"CeLayerChecks waveOutSetVolume 0x0000FFFF",
                                             "CeLayerChecks AudioUpdateFromRegistry",
                                             "CeLayerChecks keybd_event 0x87 0 0x6 0"}));
}

}  // namespace

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPWSTR commandLine, int) {
  // A child started by ProgramStarts: its command line is its arguments.
  if (wcsncmp(commandLine, L"child ", 6) == 0) return _wtoi(commandLine + 6);

  RegDeleteKeyW(HKEY_LOCAL_MACHINE, L"\\Software\\Selvane");
  SetPhoneText(L"JournalFile", kJournal);
  DeleteFileW(kJournal);
  WCHAR self[MAX_PATH];
  GetModuleFileNameW(nullptr, self, MAX_PATH);

  RegistryPaths();
  ProgramStarts(self);
  TimedStarts();
  Events();
  RadioAndSim();
  Bluetooth();
  ObjectStore();
  Sounds();

  RegDeleteKeyW(HKEY_LOCAL_MACHINE, L"\\Software\\Selvane");
  DeleteFileW(kJournal);
  std::printf("%d checks, %d failed\n", g_checks, g_failed);
  return g_failed ? 1 : 0;
}
