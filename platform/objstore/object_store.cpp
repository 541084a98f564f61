// The object store: databases of records with typed properties, kept in
// phone.db (ce_objects for databases and records, ce_properties for the
// values), and the fresh device's calendar categories.
#include "object_store.h"

#include <algorithm>
#include <cstring>
#include <stdexcept>
#include <string>
#include <vector>

#include <emulated_calendar.h>
#include <windbase.h>
#include <windows.h>

#include "../device/call_failure.h"
#include "../kernel/clock.h"
#include "../kernel/kernel_objects.h"
#include "../time/civil_time.h"

namespace platform {

namespace {

// The categories a new phone's calendar offers, in the order it made them.
const char* const kFreshCategories[] = {"Business", "Personal", "Holiday", "Ideas",
                                        "Miscellaneous", "Gifts", "Guests"};
// Category records: the category's name and its number.
const CEPROPID kCategoryName = (1u << 16) | CEVT_LPWSTR;
const CEPROPID kCategoryNumber = (2u << 16) | CEVT_UI4;

class DatabaseEnumeration : public KernelObject {
 public:
  std::vector<CEOID> databases;  // taken when the enumeration starts
  size_t next = 0;
};

class OpenDatabase : public KernelObject {
 public:
  CEOID oid = 0;
  bool autoIncrement = false;
  int64_t position = 0;  // index of the current record
};

void CreateObjectStoreTables() {
  Exec(DeviceDb(),
       "CREATE TABLE IF NOT EXISTS ce_objects(oid INTEGER PRIMARY KEY AUTOINCREMENT, kind INTEGER NOT NULL,"
       " parent INTEGER, name TEXT, type INTEGER, modified INTEGER NOT NULL DEFAULT 0);"
       "CREATE TABLE IF NOT EXISTS ce_properties(id INTEGER PRIMARY KEY AUTOINCREMENT,"
       " record INTEGER NOT NULL, propid INTEGER NOT NULL, value);"
       "CREATE INDEX IF NOT EXISTS ce_properties_record ON ce_properties(record);"
       "CREATE INDEX IF NOT EXISTS ce_objects_parent ON ce_objects(parent);");
}

// Database names compare without regard to case (ASCII letters).
bool SameDatabaseName(const std::u16string& a, const std::u16string& b) {
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size(); ++i) {
    char16_t x = a[i] >= u'a' && a[i] <= u'z' ? a[i] - 32 : a[i];
    char16_t y = b[i] >= u'a' && b[i] <= u'z' ? b[i] - 32 : b[i];
    if (x != y) return false;
  }
  return true;
}

bool IsDatabase(CEOID oid) {
  Statement q(DeviceDb(), "SELECT 1 FROM ce_objects WHERE oid = ? AND kind = ?", Statement::Cached);
  q.Bind(1, oid).Bind(2, OBJTYPE_DATABASE);
  return q.Step();
}

int64_t RecordCount(CEOID database) {
  Statement q(DeviceDb(), "SELECT count(*) FROM ce_objects WHERE parent = ? AND kind = ?", Statement::Cached);
  q.Bind(1, database).Bind(2, OBJTYPE_RECORD);
  q.Step();
  return q.Int(0);
}

// The identifier of the record at `index` (0 first), or 0.
CEOID RecordAt(CEOID database, int64_t index) {
  if (index < 0) return 0;
  Statement q(DeviceDb(), "SELECT oid FROM ce_objects WHERE parent = ? AND kind = ? ORDER BY oid LIMIT 1 OFFSET ?",
                          Statement::Cached);
  q.Bind(1, database).Bind(2, OBJTYPE_RECORD).Bind(3, index);
  return q.Step() ? static_cast<CEOID>(q.Int(0)) : 0;
}

// The index of `record` among the database's records, or -1 when it is
// not one of them.
int64_t RecordIndex(CEOID database, CEOID record) {
  Statement member(DeviceDb(), "SELECT 1 FROM ce_objects WHERE oid = ? AND parent = ? AND kind = ?", Statement::Cached);
  member.Bind(1, record).Bind(2, database).Bind(3, OBJTYPE_RECORD);
  if (!member.Step()) return -1;
  Statement before(DeviceDb(), "SELECT count(*) FROM ce_objects WHERE parent = ? AND kind = ? AND oid < ?",
                               Statement::Cached);
  before.Bind(1, database).Bind(2, OBJTYPE_RECORD).Bind(3, record);
  before.Step();
  return before.Int(0);
}

void TouchDatabase(CEOID database) {
  Statement q(DeviceDb(), "UPDATE ce_objects SET modified = ? WHERE oid = ?", Statement::Cached);
  q.Bind(1, DeviceNowMs()).Bind(2, database).Run();
}

FILETIME ToFileTime(int64_t localMs) {
  const uint64_t ticks = static_cast<uint64_t>(FileTimeTicksOf(TimeOfDeviceMs(localMs)));
  return FILETIME{static_cast<DWORD>(ticks), static_cast<DWORD>(ticks >> 32)};
}

// One stored property. Integers (and FILETIMEs) are stored as integers,
// everything else as bytes: texts as UTF-16 code units without terminator,
// doubles as their eight bytes, blobs as they are.
struct StoredProperty {
  CEPROPID propid;
  int64_t integer = 0;
  std::string bytes;
};

bool KnownType(WORD type) {
  switch (type) {
    case CEVT_I2: case CEVT_UI2: case CEVT_I4: case CEVT_UI4: case CEVT_BOOL:
    case CEVT_R8: case CEVT_LPWSTR: case CEVT_FILETIME: case CEVT_BLOB:
      return true;
  }
  return false;
}

bool StoredAsInteger(WORD type) { return type != CEVT_R8 && type != CEVT_LPWSTR && type != CEVT_BLOB; }

std::vector<StoredProperty> RecordProperties(CEOID record) {
  std::vector<StoredProperty> properties;
  Statement q(DeviceDb(), "SELECT propid, value FROM ce_properties WHERE record = ? ORDER BY id", Statement::Cached);
  q.Bind(1, record);
  while (q.Step()) {
    StoredProperty p{static_cast<CEPROPID>(q.Int(0)), 0, {}};
    if (StoredAsInteger(TypeFromPropID(p.propid)))
      p.integer = q.Int(1);
    else
      p.bytes = q.Blob(1);
    properties.push_back(std::move(p));
  }
  return properties;
}

// The property as it goes into the store; false for a value it cannot hold.
bool ToStored(const CEPROPVAL& value, StoredProperty* stored) {
  stored->propid = value.propid;
  switch (TypeFromPropID(value.propid)) {
    case CEVT_I2: stored->integer = value.val.iVal; return true;
    case CEVT_UI2: stored->integer = value.val.uiVal; return true;
    case CEVT_I4: stored->integer = value.val.lVal; return true;
    case CEVT_UI4: stored->integer = value.val.ulVal; return true;
    case CEVT_BOOL: stored->integer = value.val.boolVal; return true;
    case CEVT_FILETIME:
      stored->integer = static_cast<int64_t>((static_cast<uint64_t>(value.val.filetime.dwHighDateTime) << 32) |
                                             value.val.filetime.dwLowDateTime);
      return true;
    case CEVT_R8:
      stored->bytes.assign(reinterpret_cast<const char*>(&value.val.dblVal), sizeof(double));
      return true;
    case CEVT_LPWSTR: {
      const WCHAR* text = value.val.lpwstr ? value.val.lpwstr : u"";
      const size_t units = std::char_traits<char16_t>::length(text);
      if ((units + 1) * sizeof(WCHAR) > CEDB_MAXPROPDATASIZE) return false;
      stored->bytes.assign(reinterpret_cast<const char*>(text), units * sizeof(WCHAR));
      return true;
    }
    case CEVT_BLOB:
      if (!value.val.blob.lpb && value.val.blob.dwCount) return false;
      if (value.val.blob.dwCount > CEDB_MAXPROPDATASIZE) return false;
      stored->bytes.assign(reinterpret_cast<const char*>(value.val.blob.lpb), value.val.blob.dwCount);
      return true;
  }
  return false;
}

void InsertProperty(CEOID record, const StoredProperty& p) {
  Statement q(DeviceDb(), "INSERT INTO ce_properties(record, propid, value) VALUES(?, ?, ?)", Statement::Cached);
  q.Bind(1, record).Bind(2, p.propid);
  if (StoredAsInteger(TypeFromPropID(p.propid)))
    q.Bind(3, p.integer);
  else
    q.BindBlob(3, p.bytes.data(), p.bytes.size());
  q.Run();
}

// Bytes a property's data takes after the CEPROPVAL array.
size_t DataSize(const StoredProperty& p) {
  switch (TypeFromPropID(p.propid)) {
    case CEVT_LPWSTR: return p.bytes.size() + sizeof(WCHAR);
    case CEVT_BLOB: return p.bytes.size();
  }
  return 0;
}

// Lays the properties out in `buffer`: the values, then texts, then blobs
// (texts first keeps them aligned).
void FillRecordBuffer(const std::vector<StoredProperty>& properties, const std::vector<bool>& found,
                      LPBYTE buffer) {
  auto* values = reinterpret_cast<CEPROPVAL*>(buffer);
  LPBYTE data = buffer + properties.size() * sizeof(CEPROPVAL);
  for (int pass = 0; pass < 2; ++pass) {
    for (size_t i = 0; i < properties.size(); ++i) {
      const StoredProperty& p = properties[i];
      const WORD type = TypeFromPropID(p.propid);
      CEPROPVAL& v = values[i];
      if (pass == 0) {
        v = CEPROPVAL{};
        v.propid = p.propid;
        if (!found[i]) {
          v.wFlags = CEDB_PROPNOTFOUND;
          continue;
        }
        switch (type) {
          case CEVT_I2: v.val.iVal = static_cast<short>(p.integer); break;
          case CEVT_UI2: v.val.uiVal = static_cast<unsigned short>(p.integer); break;
          case CEVT_I4: v.val.lVal = static_cast<LONG>(p.integer); break;
          case CEVT_UI4: v.val.ulVal = static_cast<ULONG>(p.integer); break;
          case CEVT_BOOL: v.val.boolVal = static_cast<BOOL>(p.integer); break;
          case CEVT_FILETIME:
            v.val.filetime.dwLowDateTime = static_cast<DWORD>(p.integer);
            v.val.filetime.dwHighDateTime = static_cast<DWORD>(static_cast<uint64_t>(p.integer) >> 32);
            break;
          case CEVT_R8:
            if (p.bytes.size() == sizeof(double)) std::memcpy(&v.val.dblVal, p.bytes.data(), sizeof(double));
            break;
          case CEVT_LPWSTR:
            v.val.lpwstr = reinterpret_cast<LPWSTR>(data);
            std::memcpy(data, p.bytes.data(), p.bytes.size());
            std::memset(data + p.bytes.size(), 0, sizeof(WCHAR));
            v.wLenData = static_cast<WORD>(std::min<size_t>(DataSize(p), 0xFFFF));
            data += DataSize(p);
            break;
        }
      } else if (type == CEVT_BLOB && found[i]) {
        v.val.blob.dwCount = static_cast<DWORD>(p.bytes.size());
        v.val.blob.lpb = data;
        if (!p.bytes.empty()) std::memcpy(data, p.bytes.data(), p.bytes.size());
        v.wLenData = static_cast<WORD>(std::min<size_t>(p.bytes.size(), 0xFFFF));
        data += p.bytes.size();
      }
    }
  }
}

// A step of seeding the store that failed: making the device fails whole.
void SeedFailed(const char* what) {
  throw std::runtime_error(std::string("cannot seed the object store: ") + what + " (error " +
                           std::to_string(GetLastError()) + ")");
}

}  // namespace

void SeedObjectStore(const DeviceOptions& options) {
  CreateObjectStoreTables();
  if (options.empty) return;
  if (!CeCreateDatabase(u"Contacts Database", 0, 0, nullptr)) SeedFailed("Contacts Database");
  if (!CeCreateDatabase(APPOINTMENTS_DATABASE_NAME, 0, 0, nullptr)) SeedFailed("Appointments Database");
  CEOID categories = CeCreateDatabase(u"Categories Database", 0, 0, nullptr);
  HANDLE database = categories ? CeOpenDatabase(&categories, nullptr, 0, 0, nullptr) : INVALID_HANDLE_VALUE;
  if (database == INVALID_HANDLE_VALUE) SeedFailed("Categories Database");
  ULONG number = 0;
  for (const char* name : kFreshCategories) {
    std::u16string text(name, name + std::strlen(name));
    CEPROPVAL values[2] = {};
    values[0].propid = kCategoryName;
    values[0].val.lpwstr = text.data();
    values[1].propid = kCategoryNumber;
    values[1].val.ulVal = number++;
    if (!CeWriteRecordProps(database, 0, 2, values)) {
      CloseHandle(database);
      SeedFailed(name);
    }
  }
  CloseHandle(database);
}

}  // namespace platform

using namespace platform;

HANDLE CeFindFirstDatabase(DWORD dwDbaseType) try {
  auto enumeration = std::make_shared<DatabaseEnumeration>();
  Statement q(DeviceDb(), "SELECT oid FROM ce_objects WHERE kind = ? AND (? = 0 OR type = ?) ORDER BY oid",
                          Statement::Cached);
  q.Bind(1, OBJTYPE_DATABASE).Bind(2, dwDbaseType).Bind(3, dwDbaseType);
  while (q.Step()) enumeration->databases.push_back(static_cast<CEOID>(q.Int(0)));
  return AddHandle(enumeration);
} catch (...) {
  return platform::FailedCall(INVALID_HANDLE_VALUE);
}

CEOID CeFindNextDatabase(HANDLE hEnum) try {
  auto enumeration = FindHandleOf<DatabaseEnumeration>(hEnum);
  if (!enumeration) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return 0;
  }
  // Databases deleted since the enumeration began are passed over.
  while (enumeration->next < enumeration->databases.size()) {
    CEOID oid = enumeration->databases[enumeration->next++];
    if (IsDatabase(oid)) return oid;
  }
  SetLastError(ERROR_NO_MORE_ITEMS);
  return 0;
} catch (...) {
  return platform::FailedCall(CEOID{0});
}

BOOL CeOidGetInfo(CEOID oid, CEOIDINFO* poidInfo) try {
  if (!poidInfo) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return FALSE;
  }
  Statement q(DeviceDb(), "SELECT kind, parent, name, type, modified FROM ce_objects WHERE oid = ?", Statement::Cached);
  q.Bind(1, oid);
  if (!q.Step()) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return FALSE;
  }
  *poidInfo = CEOIDINFO{};
  poidInfo->wObjType = static_cast<WORD>(q.Int(0));
  if (poidInfo->wObjType == OBJTYPE_RECORD) {
    poidInfo->infRecord.oidParent = static_cast<CEOID>(q.Int(1));
    return TRUE;
  }
  CEDBASEINFO& info = poidInfo->infDatabase;
  info.dwFlags = CEDB_VALIDNAME | CEDB_VALIDTYPE | CEDB_VALIDSORTSPEC | CEDB_VALIDMODTIME;
  const std::string name = q.Blob(2);
  const size_t units = std::min<size_t>(name.size() / 2, CEDB_MAXDBASENAMELEN - 1);
  std::memcpy(info.szDbaseName, name.data(), units * 2);
  info.szDbaseName[units] = 0;
  info.dwDbaseType = static_cast<DWORD>(q.Int(3));
  info.ftLastModified = ToFileTime(q.Int(4));
  const int64_t records = RecordCount(oid);
  info.wNumRecords = static_cast<WORD>(std::min<int64_t>(records, 0xFFFF));
  Statement size(DeviceDb(),
                 "SELECT coalesce(sum(length(value)), 0) FROM ce_properties WHERE record IN"
                 " (SELECT oid FROM ce_objects WHERE parent = ?)", Statement::Cached);
  size.Bind(1, oid);
  size.Step();
  info.dwSize = static_cast<DWORD>(size.Int(0));
  return TRUE;
} catch (...) {
  return platform::FailedCall(FALSE);
}

HANDLE CeOpenDatabase(PCEOID poid, LPCWSTR lpszName, CEPROPID propid, DWORD dwFlags, HWND) try {
  if (!poid || propid != 0 || (*poid == 0 && (!lpszName || !*lpszName))) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return INVALID_HANDLE_VALUE;
  }
  CEOID oid = *poid;
  if (oid == 0) {
    const std::u16string name(lpszName);
    Statement q(DeviceDb(), "SELECT oid, name FROM ce_objects WHERE kind = ? ORDER BY oid", Statement::Cached);
    q.Bind(1, OBJTYPE_DATABASE);
    while (q.Step() && oid == 0) {
      const std::string stored = q.Blob(1);
      std::u16string candidate(stored.size() / 2, u'\0');
      std::memcpy(candidate.data(), stored.data(), candidate.size() * 2);
      if (SameDatabaseName(candidate, name)) oid = static_cast<CEOID>(q.Int(0));
    }
  }
  if (oid == 0 || !IsDatabase(oid)) {
    SetLastError(ERROR_FILE_NOT_FOUND);
    return INVALID_HANDLE_VALUE;
  }
  auto database = std::make_shared<OpenDatabase>();
  database->oid = oid;
  database->autoIncrement = (dwFlags & CEDB_AUTOINCREMENT) != 0;
  *poid = oid;
  return AddHandle(database);
} catch (...) {
  return platform::FailedCall(INVALID_HANDLE_VALUE);
}

CEOID CeSeekDatabase(HANDLE hDatabase, DWORD dwSeekType, DWORD dwValue, LPDWORD lpdwIndex) try {
  auto database = FindHandleOf<OpenDatabase>(hDatabase);
  if (!database) {
    SetLastError(ERROR_INVALID_HANDLE);
    return 0;
  }
  const int64_t count = RecordCount(database->oid);
  const LONG offset = static_cast<LONG>(dwValue);
  int64_t target;
  switch (dwSeekType) {
    case CEDB_SEEK_BEGINNING: target = dwValue; break;
    case CEDB_SEEK_END: target = count - 1 - offset; break;
    case CEDB_SEEK_CURRENT: target = database->position + offset; break;
    case CEDB_SEEK_CEOID: target = RecordIndex(database->oid, dwValue); break;
    default:
      SetLastError(ERROR_INVALID_PARAMETER);
      return 0;
  }
  if (target < 0 || target >= count) {
    SetLastError(ERROR_SEEK);
    return 0;
  }
  database->position = target;
  if (lpdwIndex) *lpdwIndex = static_cast<DWORD>(target);
  return RecordAt(database->oid, target);
} catch (...) {
  return platform::FailedCall(CEOID{0});
}

CEOID CeReadRecordPropsEx(HANDLE hDbase, DWORD dwFlags, LPWORD lpcPropID, CEPROPID* rgPropID, LPBYTE* lplpBuffer,
                          LPDWORD lpcbBuffer, HANDLE hHeap) try {
  auto database = FindHandleOf<OpenDatabase>(hDbase);
  if (!database) {
    SetLastError(ERROR_INVALID_HANDLE);
    return 0;
  }
  if (!lpcPropID || !lplpBuffer || !lpcbBuffer || hHeap) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return 0;
  }
  const CEOID record = RecordAt(database->oid, database->position);
  if (!record) {
    SetLastError(ERROR_NO_MORE_ITEMS);
    return 0;
  }

  std::vector<StoredProperty> properties = RecordProperties(record);
  std::vector<bool> found(properties.size(), true);
  if (rgPropID) {
    std::vector<StoredProperty> chosen;
    std::vector<bool> chosenFound;
    for (WORD i = 0; i < *lpcPropID; ++i) {
      auto match = std::find_if(properties.begin(), properties.end(),
                                [&](const StoredProperty& p) { return p.propid == rgPropID[i]; });
      chosen.push_back(match != properties.end() ? *match : StoredProperty{rgPropID[i], 0, {}});
      chosenFound.push_back(match != properties.end());
    }
    properties.swap(chosen);
    found.swap(chosenFound);
  }
  if (properties.size() > 0xFFFF) {
    SetLastError(ERROR_INVALID_DATA);
    return 0;
  }

  size_t needed = properties.size() * sizeof(CEPROPVAL);
  for (size_t i = 0; i < properties.size(); ++i)
    if (found[i]) needed += DataSize(properties[i]);
  if (needed > 0xFFFFFFFFu) {
    SetLastError(ERROR_INVALID_DATA);
    return 0;
  }
  if (!*lplpBuffer || *lpcbBuffer < needed) {
    if (!(dwFlags & CEDB_ALLOWREALLOC)) {
      *lpcbBuffer = static_cast<DWORD>(needed);
      SetLastError(ERROR_INSUFFICIENT_BUFFER);
      return 0;
    }
    const UINT size = static_cast<UINT>(std::max<size_t>(needed, 1));
    HLOCAL grown = *lplpBuffer ? LocalReAlloc(*lplpBuffer, size, LMEM_MOVEABLE) : LocalAlloc(LMEM_FIXED, size);
    if (!grown) {
      SetLastError(ERROR_NOT_ENOUGH_MEMORY);
      return 0;
    }
    *lplpBuffer = static_cast<LPBYTE>(grown);
    *lpcbBuffer = size;
  }
  FillRecordBuffer(properties, found, *lplpBuffer);
  *lpcPropID = static_cast<WORD>(properties.size());
  if (database->autoIncrement) ++database->position;
  return record;
} catch (...) {
  return platform::FailedCall(CEOID{0});
}

CEOID CeCreateDatabase(LPCWSTR lpszName, DWORD dwDbaseType, WORD wNumSortOrder, SORTORDERSPEC*) try {
  if (!lpszName || !*lpszName || std::char_traits<char16_t>::length(lpszName) >= CEDB_MAXDBASENAMELEN) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return 0;
  }
  if (wNumSortOrder != 0) {
    SetLastError(ERROR_NOT_SUPPORTED);
    return 0;
  }
  CEOID existing = 0;
  HANDLE open = CeOpenDatabase(&existing, lpszName, 0, 0, nullptr);
  if (open != INVALID_HANDLE_VALUE) {
    CloseHandle(open);
    SetLastError(ERROR_DUP_NAME);
    return 0;
  }
  const std::u16string name(lpszName);
  Statement q(DeviceDb(), "INSERT INTO ce_objects(kind, name, type, modified) VALUES(?, ?, ?, ?)", Statement::Cached);
  q.Bind(1, OBJTYPE_DATABASE).BindBlob(2, name.data(), name.size() * 2).Bind(3, dwDbaseType).Bind(4, DeviceNowMs());
  q.Run();
  return static_cast<CEOID>(sqlite3_last_insert_rowid(DeviceDb()));
} catch (...) {
  return platform::FailedCall(CEOID{0});
}

BOOL CeDeleteDatabase(CEOID oid) try {
  if (!IsDatabase(oid)) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return FALSE;
  }
  Transaction remove(DeviceDb());
  Statement properties(DeviceDb(),
                       "DELETE FROM ce_properties WHERE record IN (SELECT oid FROM ce_objects WHERE parent = ?)",
                       Statement::Cached);
  properties.Bind(1, oid).Run();
  Statement objects(DeviceDb(), "DELETE FROM ce_objects WHERE oid = ? OR parent = ?", Statement::Cached);
  objects.Bind(1, oid).Bind(2, oid).Run();
  remove.Commit();
  return TRUE;
} catch (...) {
  return platform::FailedCall(FALSE);
}

CEOID CeWriteRecordProps(HANDLE hDbase, CEOID oidRecord, WORD cPropID, CEPROPVAL* rgPropVal) try {
  auto database = FindHandleOf<OpenDatabase>(hDbase);
  if (!database) {
    SetLastError(ERROR_INVALID_HANDLE);
    return 0;
  }
  if (cPropID && !rgPropVal) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return 0;
  }
  std::vector<StoredProperty> values(cPropID);
  for (WORD i = 0; i < cPropID; ++i) {
    if (!KnownType(TypeFromPropID(rgPropVal[i].propid)) ||
        (!(rgPropVal[i].wFlags & CEDB_PROPDELETE) && !ToStored(rgPropVal[i], &values[i]))) {
      SetLastError(ERROR_INVALID_PARAMETER);
      return 0;
    }
    values[i].propid = rgPropVal[i].propid;
  }

  Transaction write(DeviceDb());
  CEOID record = oidRecord;
  if (record == 0) {
    Statement q(DeviceDb(), "INSERT INTO ce_objects(kind, parent, modified) VALUES(?, ?, ?)", Statement::Cached);
    q.Bind(1, OBJTYPE_RECORD).Bind(2, database->oid).Bind(3, DeviceNowMs()).Run();
    record = static_cast<CEOID>(sqlite3_last_insert_rowid(DeviceDb()));
  } else {
    Statement q(DeviceDb(), "SELECT 1 FROM ce_objects WHERE oid = ? AND kind = ? AND parent = ?", Statement::Cached);
    q.Bind(1, record).Bind(2, OBJTYPE_RECORD).Bind(3, database->oid);
    if (!q.Step()) {
      SetLastError(ERROR_INVALID_PARAMETER);
      return 0;
    }
  }
  for (WORD i = 0; i < cPropID; ++i) {
    Statement existing(DeviceDb(), "SELECT id FROM ce_properties WHERE record = ? AND propid = ?", Statement::Cached);
    existing.Bind(1, record).Bind(2, values[i].propid);
    const bool present = existing.Step();
    const int64_t id = present ? existing.Int(0) : 0;
    if (rgPropVal[i].wFlags & CEDB_PROPDELETE) {
      Statement q(DeviceDb(), "DELETE FROM ce_properties WHERE id = ?", Statement::Cached);
      q.Bind(1, id).Run();
    } else if (present) {
      // A changed property keeps its place in the record.
      Statement q(DeviceDb(), "UPDATE ce_properties SET value = ? WHERE id = ?", Statement::Cached);
      if (StoredAsInteger(TypeFromPropID(values[i].propid)))
        q.Bind(1, values[i].integer);
      else
        q.BindBlob(1, values[i].bytes.data(), values[i].bytes.size());
      q.Bind(2, id).Run();
    } else {
      InsertProperty(record, values[i]);
    }
  }
  TouchDatabase(database->oid);
  write.Commit();
  return record;
} catch (...) {
  return platform::FailedCall(CEOID{0});
}

BOOL CeDeleteRecord(HANDLE hDatabase, CEOID oidRecord) try {
  auto database = FindHandleOf<OpenDatabase>(hDatabase);
  if (!database) {
    SetLastError(ERROR_INVALID_HANDLE);
    return FALSE;
  }
  const int64_t index = RecordIndex(database->oid, oidRecord);
  if (index < 0) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return FALSE;
  }
  Transaction remove(DeviceDb());
  Statement properties(DeviceDb(), "DELETE FROM ce_properties WHERE record = ?", Statement::Cached);
  properties.Bind(1, oidRecord).Run();
  Statement record(DeviceDb(), "DELETE FROM ce_objects WHERE oid = ?", Statement::Cached);
  record.Bind(1, oidRecord).Run();
  TouchDatabase(database->oid);
  remove.Commit();
  if (index < database->position) --database->position;
  return TRUE;
} catch (...) {
  return platform::FailedCall(FALSE);
}
