// The object store's databases, read from the hardware key's "Databases":
// one subkey per database (its name), holding "Oid" (its object identifier,
// which orders the databases by creation) and "Type", and below "Records"
// one subkey per record, in the order of their names. A record's values
// are its properties, named by the property identifier in eight hex digits
// ("0001001F"): text as REG_SZ, the integer types as REG_DWORD, FILETIME as
// REG_QWORD, doubles and blobs as REG_BINARY. A record's identifier is its
// database's with its position above bit 20.
#include <algorithm>
#include <cstring>
#include <cwchar>
#include <string>
#include <vector>

#include <windbase.h>

#include "layer_handles.h"
#include "phone_hardware.h"

namespace {

const WCHAR kDatabasesSection[] = L"Databases";
const WCHAR kRecordsKey[] = L"Records";
const WCHAR kOidValue[] = L"Oid";
const WCHAR kTypeValue[] = L"Type";
const int kRecordShift = 20;

struct DatabaseEntry {
  std::wstring name;
  CEOID oid = 0;
  DWORD type = 0;
};

HKEY OpenKey(const std::wstring& path) {
  HKEY key = nullptr;
  return RegOpenKeyExW(HKEY_LOCAL_MACHINE, path.c_str(), 0, KEY_READ, &key) == ERROR_SUCCESS ? key : nullptr;
}

std::wstring DatabasesPath() { return std::wstring(ce_layer::kPhoneKey) + L"\\" + kDatabasesSection; }

DWORD ReadDword(HKEY key, LPCWSTR name) {
  DWORD value = 0, type = 0, size = sizeof value;
  if (RegQueryValueExW(key, name, nullptr, &type, reinterpret_cast<BYTE*>(&value), &size) != ERROR_SUCCESS ||
      type != REG_DWORD)
    return 0;
  return value;
}

std::vector<std::wstring> SubkeyNames(HKEY key) {
  std::vector<std::wstring> names;
  for (DWORD index = 0;; ++index) {
    WCHAR name[256];
    DWORD units = 256;
    if (RegEnumKeyExW(key, index, name, &units, nullptr, nullptr, nullptr, nullptr) != ERROR_SUCCESS) break;
    names.emplace_back(name, units);
  }
  std::sort(names.begin(), names.end());
  return names;
}

// Every database with an identifier, in the order of creation.
std::vector<DatabaseEntry> Databases() {
  std::vector<DatabaseEntry> databases;
  HKEY root = OpenKey(DatabasesPath());
  if (!root) return databases;
  for (const std::wstring& name : SubkeyNames(root)) {
    HKEY key = OpenKey(DatabasesPath() + L"\\" + name);
    if (!key) continue;
    DatabaseEntry entry{name, ReadDword(key, kOidValue), ReadDword(key, kTypeValue)};
    RegCloseKey(key);
    if (entry.oid != 0 && entry.oid < (1u << kRecordShift)) databases.push_back(entry);
  }
  RegCloseKey(root);
  std::sort(databases.begin(), databases.end(),
            [](const DatabaseEntry& a, const DatabaseEntry& b) { return a.oid < b.oid; });
  return databases;
}

bool FindDatabase(CEOID oid, LPCWSTR name, DatabaseEntry* found) {
  for (const DatabaseEntry& entry : Databases()) {
    if ((oid != 0 && entry.oid == oid) || (oid == 0 && name && _wcsicmp(entry.name.c_str(), name) == 0)) {
      *found = entry;
      return true;
    }
  }
  return false;
}

std::wstring RecordsPath(const DatabaseEntry& database) {
  return DatabasesPath() + L"\\" + database.name + L"\\" + kRecordsKey;
}

std::vector<std::wstring> RecordNames(const DatabaseEntry& database) {
  HKEY key = OpenKey(RecordsPath(database));
  if (!key) return {};
  std::vector<std::wstring> names = SubkeyNames(key);
  RegCloseKey(key);
  return names;
}

struct Enumeration : ce_layer::LayerObject {
  std::vector<CEOID> oids;
  size_t next = 0;
};

struct OpenDatabase : ce_layer::LayerObject {
  DatabaseEntry database;
  std::vector<std::wstring> records;
  size_t current = 0;
};

CEOID RecordOid(const OpenDatabase& open, size_t index) {
  return open.database.oid | static_cast<CEOID>((index + 1) << kRecordShift);
}

struct Property {
  CEPROPID propid = 0;
  DWORD type = 0;
  std::vector<BYTE> data;
};

// The record's properties in the order they were written.
std::vector<Property> ReadProperties(const OpenDatabase& open, size_t index) {
  std::vector<Property> properties;
  HKEY key = OpenKey(RecordsPath(open.database) + L"\\" + open.records[index]);
  if (!key) return properties;
  for (DWORD i = 0;; ++i) {
    WCHAR name[32];
    DWORD units = 32, type = 0, bytes = 0;
    if (RegEnumValueW(key, i, name, &units, nullptr, &type, nullptr, &bytes) != ERROR_SUCCESS) break;
    Property property;
    property.type = type;
    property.data.resize(bytes);
    units = 32;
    if (RegEnumValueW(key, i, name, &units, nullptr, &type, property.data.data(), &bytes) != ERROR_SUCCESS) break;
    property.data.resize(bytes);
    property.propid = static_cast<CEPROPID>(wcstoul(name, nullptr, 16));
    properties.push_back(std::move(property));
  }
  RegCloseKey(key);
  return properties;
}

size_t Align(size_t size) { return (size + 7) & ~size_t{7}; }

// The bytes a property's data takes after the value array: text with its
// terminator, blob bytes.
size_t ExtraBytes(const Property& property) {
  switch (TypeFromPropID(property.propid)) {
    case CEVT_LPWSTR: return Align((property.data.size() / sizeof(WCHAR) + 1) * sizeof(WCHAR));
    case CEVT_BLOB: return Align(property.data.size());
    default: return 0;
  }
}

// Fills one value of the buffer; text and blobs go to `extra`.
void FillValue(const Property& property, CEPROPVAL* value, BYTE** extra) {
  value->propid = property.propid;
  value->wFlags = 0;
  value->wLenData = 0;
  DWORD number = 0;
  if (property.data.size() >= sizeof number) std::memcpy(&number, property.data.data(), sizeof number);
  switch (TypeFromPropID(property.propid)) {
    case CEVT_I2: value->val.iVal = static_cast<short>(number); break;
    case CEVT_UI2: value->val.uiVal = static_cast<unsigned short>(number); break;
    case CEVT_I4: value->val.lVal = static_cast<LONG>(number); break;
    case CEVT_UI4: value->val.ulVal = number; break;
    case CEVT_BOOL: value->val.boolVal = number != 0; break;
    case CEVT_FILETIME:
      if (property.data.size() >= sizeof(FILETIME)) std::memcpy(&value->val.filetime, property.data.data(), sizeof(FILETIME));
      break;
    case CEVT_R8:
      if (property.data.size() >= sizeof(double)) std::memcpy(&value->val.dblVal, property.data.data(), sizeof(double));
      break;
    case CEVT_LPWSTR: {
      const size_t units = property.data.size() / sizeof(WCHAR);
      auto text = reinterpret_cast<WCHAR*>(*extra);
      std::memcpy(text, property.data.data(), units * sizeof(WCHAR));
      text[units] = 0;
      // Stored with or without its terminator: the text ends at the first.
      value->val.lpwstr = text;
      *extra += ExtraBytes(property);
      break;
    }
    case CEVT_BLOB:
      std::memcpy(*extra, property.data.data(), property.data.size());
      value->val.blob.dwCount = static_cast<DWORD>(property.data.size());
      value->val.blob.lpb = *extra;
      *extra += ExtraBytes(property);
      break;
    default: value->wFlags = CEDB_PROPNOTFOUND; break;
  }
}

}  // namespace

HANDLE CeFindFirstDatabase(DWORD dwDbaseType) {
  auto enumeration = new Enumeration;
  for (const DatabaseEntry& entry : Databases())
    if (dwDbaseType == 0 || entry.type == dwDbaseType) enumeration->oids.push_back(entry.oid);
  return ce_layer::AddLayerHandle(enumeration);
}

CEOID CeFindNextDatabase(HANDLE hEnum) {
  auto enumeration = ce_layer::FindLayerObject<Enumeration>(hEnum);
  if (!enumeration) {
    SetLastError(ERROR_INVALID_HANDLE);
    return 0;
  }
  if (enumeration->next >= enumeration->oids.size()) {
    SetLastError(ERROR_NO_MORE_ITEMS);
    return 0;
  }
  return enumeration->oids[enumeration->next++];
}

BOOL CeOidGetInfo(CEOID oid, CEOIDINFO* poidInfo) {
  if (!poidInfo) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return FALSE;
  }
  const CEOID databaseOid = oid & ((1u << kRecordShift) - 1);
  DatabaseEntry database;
  if (oid == 0 || !FindDatabase(databaseOid, nullptr, &database)) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return FALSE;
  }
  const size_t records = RecordNames(database).size();
  *poidInfo = CEOIDINFO{};
  if (oid != databaseOid) {
    if ((oid >> kRecordShift) > records) {
      SetLastError(ERROR_INVALID_PARAMETER);
      return FALSE;
    }
    poidInfo->wObjType = OBJTYPE_RECORD;
    poidInfo->infRecord.oidParent = databaseOid;
    return TRUE;
  }
  poidInfo->wObjType = OBJTYPE_DATABASE;
  CEDBASEINFO& info = poidInfo->infDatabase;
  info.dwFlags = CEDB_VALIDNAME | CEDB_VALIDTYPE;
  wcsncpy(info.szDbaseName, database.name.c_str(), CEDB_MAXDBASENAMELEN - 1);
  info.szDbaseName[CEDB_MAXDBASENAMELEN - 1] = 0;
  info.dwDbaseType = database.type;
  info.wNumRecords = static_cast<WORD>(std::min<size_t>(records, 0xFFFF));
  return TRUE;
}

HANDLE CeOpenDatabase(PCEOID poid, LPCWSTR lpszName, CEPROPID propid, DWORD, HWND) {
  if (!poid || propid != 0 || (*poid == 0 && !lpszName)) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return INVALID_HANDLE_VALUE;
  }
  DatabaseEntry database;
  if (!FindDatabase(*poid, lpszName, &database)) {
    SetLastError(ERROR_FILE_NOT_FOUND);
    return INVALID_HANDLE_VALUE;
  }
  *poid = database.oid;
  auto open = new OpenDatabase;
  open->database = database;
  open->records = RecordNames(database);
  return ce_layer::AddLayerHandle(open);
}

CEOID CeSeekDatabase(HANDLE hDatabase, DWORD dwSeekType, DWORD dwValue, LPDWORD lpdwIndex) {
  auto open = ce_layer::FindLayerObject<OpenDatabase>(hDatabase);
  if (!open) {
    SetLastError(ERROR_INVALID_HANDLE);
    return 0;
  }
  long long target = -1;
  const long long count = static_cast<long long>(open->records.size());
  switch (dwSeekType) {
    case CEDB_SEEK_BEGINNING: target = dwValue; break;
    case CEDB_SEEK_CURRENT: target = static_cast<long long>(open->current) + static_cast<LONG>(dwValue); break;
    case CEDB_SEEK_END: target = count - 1 - static_cast<long long>(dwValue); break;
    case CEDB_SEEK_CEOID:
      for (long long i = 0; i < count; ++i)
        if (RecordOid(*open, static_cast<size_t>(i)) == dwValue) target = i;
      break;
    default: SetLastError(ERROR_INVALID_PARAMETER); return 0;
  }
  if (target < 0 || target >= count) {
    SetLastError(ERROR_SEEK);
    return 0;
  }
  open->current = static_cast<size_t>(target);
  if (lpdwIndex) *lpdwIndex = static_cast<DWORD>(target);
  return RecordOid(*open, open->current);
}

CEOID CeReadRecordPropsEx(HANDLE hDbase, DWORD dwFlags, LPWORD lpcPropID, CEPROPID* rgPropID, LPBYTE* lplpBuffer,
                          LPDWORD lpcbBuffer, HANDLE hHeap) {
  auto open = ce_layer::FindLayerObject<OpenDatabase>(hDbase);
  if (!open) {
    SetLastError(ERROR_INVALID_HANDLE);
    return 0;
  }
  if (!lpcPropID || !lplpBuffer || !lpcbBuffer || hHeap || (rgPropID && *lpcPropID == 0)) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return 0;
  }
  if (open->current >= open->records.size()) {
    SetLastError(ERROR_NO_MORE_ITEMS);
    return 0;
  }
  const std::vector<Property> stored = ReadProperties(*open, open->current);
  // The properties asked for, in the order asked; a missing one is flagged.
  std::vector<Property> chosen;
  if (!rgPropID) {
    chosen = stored;
  } else {
    for (WORD i = 0; i < *lpcPropID; ++i) {
      auto found = std::find_if(stored.begin(), stored.end(),
                                [&](const Property& property) { return property.propid == rgPropID[i]; });
      Property property;
      property.propid = found != stored.end() ? found->propid : rgPropID[i];
      if (found != stored.end()) property = *found;
      chosen.push_back(property);
    }
  }
  if (chosen.size() > 0xFFFF) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return 0;
  }
  size_t needed = Align(chosen.size() * sizeof(CEPROPVAL));
  for (const Property& property : chosen) needed += ExtraBytes(property);
  if (needed > 0xFFFFFFFFu) {
    SetLastError(ERROR_NOT_ENOUGH_MEMORY);
    return 0;
  }
  if (*lpcbBuffer < needed || !*lplpBuffer) {
    if (!(dwFlags & CEDB_ALLOWREALLOC)) {
      SetLastError(ERROR_INSUFFICIENT_BUFFER);
      *lpcbBuffer = static_cast<DWORD>(needed);
      return 0;
    }
    HLOCAL grown = *lplpBuffer ? LocalReAlloc(*lplpBuffer, needed, LMEM_MOVEABLE) : LocalAlloc(LMEM_FIXED, needed);
    if (!grown) {
      SetLastError(ERROR_NOT_ENOUGH_MEMORY);
      return 0;
    }
    *lplpBuffer = static_cast<LPBYTE>(grown);
    *lpcbBuffer = static_cast<DWORD>(needed);
  }
  auto values = reinterpret_cast<CEPROPVAL*>(*lplpBuffer);
  BYTE* extra = *lplpBuffer + Align(chosen.size() * sizeof(CEPROPVAL));
  for (size_t i = 0; i < chosen.size(); ++i) {
    const bool missing = rgPropID && chosen[i].data.empty() && chosen[i].type == 0;
    if (missing) {
      values[i] = CEPROPVAL{};
      values[i].propid = chosen[i].propid;
      values[i].wFlags = CEDB_PROPNOTFOUND;
      continue;
    }
    FillValue(chosen[i], &values[i], &extra);
  }
  *lpcPropID = static_cast<WORD>(chosen.size());
  const CEOID oid = RecordOid(*open, open->current);
  ++open->current;
  return oid;
}
