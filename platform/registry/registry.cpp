// Registry calls (RegOpenKeyExW ... RegCloseKey) over the tables reg_keys and
// reg_values of phone.db. Every call works on the database afresh.
#include <windows.h>

#include <algorithm>
#include <cstring>
#include <exception>
#include <mutex>
#include <optional>
#include <string>
#include <unordered_set>
#include <vector>

#include "../device/call_failure.h"
#include "../device/device.h"
#include "../text/text_fold.h"
#include "../text/utf.h"
#include "registry.h"

// Where an enumeration of a key last stood: entry `index` was `folded`,
// read on connection `connection` while the database was at `version` and
// that connection had made `changes` changes. While all three still hold,
// entry index + 1 is the first one after `folded`, found by a keyed seek.
struct EnumCursor {
  uint64_t connection = 0;
  int64_t version = 0;
  int64_t changes = 0;
  DWORD index = 0;
  std::string folded;
};

// A handle is a small process-side object naming a key by its row id. Ids are
// never reused (AUTOINCREMENT), so a handle to a deleted key stays deleted
// even when a key of the same name is created again. It keeps the position
// of its enumerations, so that walking a key of n entries reads n entries,
// not n * n / 2.
struct HKEY__ {
  int64_t key;
  EnumCursor subkeys;
  EnumCursor values;
};

namespace {

using platform::Statement;

// Row ids of the four root keys; created with the tables.
constexpr int64_t kClassesRootId = 1;
constexpr int64_t kCurrentUserId = 2;
constexpr int64_t kLocalMachineId = 3;
constexpr int64_t kUsersId = 4;

std::mutex g_handlesMutex;
std::unordered_set<HKEY> g_handles;

// One key or value name: as written (UTF-8) and case-folded (UTF-8).
struct Name {
  std::string text;
  std::string folded;
};

Name MakeName(std::u16string_view name) {
  return {platform::Utf16ToUtf8(name), platform::Utf16ToUtf8(platform::FoldCase(name))};
}

// The key id of a predefined root handle, or 0 when the handle is none.
int64_t RootKey(HKEY handle) {
  if (handle == HKEY_CLASSES_ROOT) return kClassesRootId;
  if (handle == HKEY_CURRENT_USER) return kCurrentUserId;
  if (handle == HKEY_LOCAL_MACHINE) return kLocalMachineId;
  if (handle == HKEY_USERS) return kUsersId;
  return 0;
}

// The key id a handle stands for, or 0 when the handle is not valid.
int64_t HandleKey(HKEY handle) {
  if (int64_t root = RootKey(handle)) return root;
  std::lock_guard<std::mutex> lock(g_handlesMutex);
  return g_handles.count(handle) ? handle->key : 0;
}

bool IsRootHandle(HKEY handle) { return RootKey(handle) != 0; }

HKEY NewHandle(int64_t key) {
  HKEY handle = new HKEY__{key, {}, {}};
  std::lock_guard<std::mutex> lock(g_handlesMutex);
  g_handles.insert(handle);
  return handle;
}

// Splits a key path at "\"; leading, trailing and doubled separators are
// ignored (the phone accepts a leading "\"). A component longer than the
// name limit makes the whole path invalid.
bool SplitPath(LPCWSTR path, std::vector<std::u16string_view>* parts) {
  parts->clear();
  if (!path) return true;
  std::u16string_view rest(path);
  while (!rest.empty()) {
    size_t end = rest.find(u'\\');
    std::u16string_view part = rest.substr(0, end);
    if (part.size() > REG_MAX_NAME_LENGTH) return false;
    if (!part.empty()) parts->push_back(part);
    if (end == std::u16string_view::npos) break;
    rest.remove_prefix(end + 1);
  }
  return true;
}

// A value name: null means the default value (""); longer than the limit is invalid.
bool ValueName(LPCWSTR name, Name* out) {
  std::u16string_view view = name ? std::u16string_view(name) : std::u16string_view();
  if (view.size() > REG_MAX_NAME_LENGTH) return false;
  *out = MakeName(view);
  return true;
}

bool KeyExists(sqlite3* db, int64_t key) {
  Statement q(db, "SELECT 1 FROM reg_keys WHERE id = ?", Statement::Cached);
  q.Bind(1, key);
  return q.Step();
}

std::optional<int64_t> FindChild(sqlite3* db, int64_t parent, const std::string& folded) {
  Statement q(db, "SELECT id FROM reg_keys WHERE parent = ? AND folded = ?", Statement::Cached);
  q.Bind(1, parent).Bind(2, folded);
  if (!q.Step()) return std::nullopt;
  return q.Int(0);
}

// Walks a path down from `start`. Each step's lookup proves its parent still
// existed at that moment, since a deletion removes a whole branch at once.
LONG ResolvePath(sqlite3* db, int64_t start, const std::vector<std::u16string_view>& parts, int64_t* key) {
  int64_t current = start;
  for (const auto& part : parts) {
    auto child = FindChild(db, current, MakeName(part).folded);
    if (!child) return KeyExists(db, start) ? ERROR_FILE_NOT_FOUND : ERROR_KEY_DELETED;
    current = *child;
  }
  if (parts.empty() && !KeyExists(db, start)) return ERROR_KEY_DELETED;
  *key = current;
  return ERROR_SUCCESS;
}

// A read of several statements that must see one moment: its own read
// transaction, unless the caller already holds one. One transaction also
// takes the database's locks once for the whole call rather than once for
// each statement.
class ReadScope {
 public:
  explicit ReadScope(sqlite3* db) : db_(db), own_(sqlite3_get_autocommit(db) != 0) {
    if (own_) Statement(db_, "BEGIN", Statement::Cached).Run();
  }
  ~ReadScope() {
    if (!own_) return;
    try {
      Statement(db_, "COMMIT", Statement::Cached).Run();
    } catch (const std::exception&) {
      sqlite3_exec(db_, "ROLLBACK", nullptr, nullptr, nullptr);
    }
  }
  ReadScope(const ReadScope&) = delete;
  ReadScope& operator=(const ReadScope&) = delete;

 private:
  sqlite3* db_;
  bool own_;
};

// Runs the body of a registry call; a failure of the device becomes the
// call's error code rather than an exception crossing into the caller.
template <typename Body>
LONG Guarded(Body body) {
  try {
    return body(platform::DeviceDb());
  } catch (...) {
    return static_cast<LONG>(platform::CurrentFailureCode());
  }
}

// The state of the database as this connection sees it, for EnumCursor.
EnumCursor DatabaseMark(sqlite3* db) {
  Statement q(db, "PRAGMA data_version", Statement::Cached);
  q.Step();
  return {platform::DeviceDbSerial(), q.Int(0), sqlite3_total_changes64(db), 0, {}};
}

// The folded name after which entry `index` lies, when the handle's cursor
// stands on entry index - 1 of a database unchanged since; else nothing,
// and the entry is counted from the start. Root handles keep no cursor.
std::optional<std::string> SeekAfter(HKEY handle, EnumCursor HKEY__::*which, DWORD index, const EnumCursor& now) {
  if (IsRootHandle(handle) || index == 0) return std::nullopt;
  std::lock_guard<std::mutex> lock(g_handlesMutex);
  if (!g_handles.count(handle)) return std::nullopt;
  const EnumCursor& cursor = handle->*which;
  if (cursor.connection != now.connection || cursor.version != now.version || cursor.changes != now.changes ||
      cursor.index + 1 != index)
    return std::nullopt;
  return cursor.folded;
}

void MoveCursor(HKEY handle, EnumCursor HKEY__::*which, DWORD index, EnumCursor now, std::string folded) {
  if (IsRootHandle(handle)) return;
  now.index = index;
  now.folded = std::move(folded);
  std::lock_guard<std::mutex> lock(g_handlesMutex);
  if (g_handles.count(handle)) handle->*which = std::move(now);
}

// Reads entry `index` of a key's subkeys or values into *q: by the keyed
// seek `after` past the handle's cursor when that stands on the entry
// before, else by `at`, counting from the start. Both queries take the
// key's id, then the folded name or the index, and give the folded name
// last. Called inside a read transaction in which the key was looked up, so
// that the mark taken in *now belongs to the snapshot the entry comes from.
bool ReadEntry(sqlite3* db, HKEY handle, int64_t key, EnumCursor HKEY__::*which, DWORD index, const char* after,
               const char* at, std::optional<Statement>* q, EnumCursor* now) {
  *now = DatabaseMark(db);
  auto folded = SeekAfter(handle, which, index, *now);
  q->emplace(db, folded ? after : at, Statement::Cached);
  (*q)->Bind(1, key);
  if (folded)
    (*q)->Bind(2, *folded);
  else
    (*q)->Bind(2, static_cast<int64_t>(index));
  return (*q)->Step();
}

// Copies a stored UTF-8 name into a caller's buffer of *size characters.
LONG CopyName(const std::string& stored, LPWSTR buffer, LPDWORD size) {
  std::u16string name = platform::Utf8ToUtf16(stored);
  if (*size < name.size() + 1) {
    *size = static_cast<DWORD>(name.size() + 1);
    return ERROR_MORE_DATA;
  }
  std::memcpy(buffer, name.data(), name.size() * sizeof(WCHAR));
  buffer[name.size()] = u'\0';
  *size = static_cast<DWORD>(name.size());
  return ERROR_SUCCESS;
}

}  // namespace

namespace platform {

void CreateRegistryTables(sqlite3* db) {
  Exec(db,
       "CREATE TABLE IF NOT EXISTS reg_keys(id INTEGER PRIMARY KEY AUTOINCREMENT,"
       " parent INTEGER NOT NULL, name TEXT NOT NULL, folded TEXT NOT NULL, UNIQUE(parent, folded));"
       "CREATE TABLE IF NOT EXISTS reg_values(key INTEGER NOT NULL, name TEXT NOT NULL,"
       " folded TEXT NOT NULL, type INTEGER NOT NULL, data BLOB NOT NULL, PRIMARY KEY(key, folded)) WITHOUT ROWID;"
       "INSERT OR IGNORE INTO reg_keys(id, parent, name, folded) VALUES"
       " (1, 0, 'HKEY_CLASSES_ROOT', 'hkey_classes_root'),"
       " (2, 0, 'HKEY_CURRENT_USER', 'hkey_current_user'),"
       " (3, 0, 'HKEY_LOCAL_MACHINE', 'hkey_local_machine'),"
       " (4, 0, 'HKEY_USERS', 'hkey_users');");
}

}  // namespace platform

LONG RegOpenKeyExW(HKEY hKey, LPCWSTR lpSubKey, DWORD, REGSAM, PHKEY phkResult) {
  if (!phkResult) return ERROR_INVALID_PARAMETER;
  int64_t start = HandleKey(hKey);
  if (!start) return ERROR_INVALID_HANDLE;
  std::vector<std::u16string_view> parts;
  if (!SplitPath(lpSubKey, &parts)) return ERROR_INVALID_PARAMETER;
  return Guarded([&](sqlite3* db) -> LONG {
    ReadScope read(db);
    int64_t key = 0;
    LONG status = ResolvePath(db, start, parts, &key);
    if (status == ERROR_SUCCESS) *phkResult = NewHandle(key);
    return status;
  });
}

LONG RegCreateKeyExW(HKEY hKey, LPCWSTR lpSubKey, DWORD, LPWSTR, DWORD, REGSAM, LPSECURITY_ATTRIBUTES,
                     PHKEY phkResult, LPDWORD lpdwDisposition) {
  if (!phkResult) return ERROR_INVALID_PARAMETER;
  int64_t start = HandleKey(hKey);
  if (!start) return ERROR_INVALID_HANDLE;
  std::vector<std::u16string_view> parts;
  if (!SplitPath(lpSubKey, &parts)) return ERROR_INVALID_PARAMETER;
  return Guarded([&](sqlite3* db) -> LONG {
    platform::Transaction write(db);
    if (!KeyExists(db, start)) return ERROR_KEY_DELETED;
    int64_t current = start;
    DWORD disposition = REG_OPENED_EXISTING_KEY;
    for (const auto& part : parts) {
      Name name = MakeName(part);
      auto child = FindChild(db, current, name.folded);
      if (child) {
        current = *child;
        disposition = REG_OPENED_EXISTING_KEY;
        continue;
      }
      Statement insert(db, "INSERT INTO reg_keys(parent, name, folded) VALUES(?, ?, ?)", Statement::Cached);
      insert.Bind(1, current).Bind(2, name.text).Bind(3, name.folded).Run();
      current = sqlite3_last_insert_rowid(db);
      disposition = REG_CREATED_NEW_KEY;
    }
    write.Commit();
    *phkResult = NewHandle(current);
    if (lpdwDisposition) *lpdwDisposition = disposition;
    return ERROR_SUCCESS;
  });
}

LONG RegQueryValueExW(HKEY hKey, LPCWSTR lpValueName, LPDWORD, LPDWORD lpType, LPBYTE lpData, LPDWORD lpcbData) {
  int64_t key = HandleKey(hKey);
  if (!key) return ERROR_INVALID_HANDLE;
  if (lpData && !lpcbData) return ERROR_INVALID_PARAMETER;
  Name name;
  if (!ValueName(lpValueName, &name)) return ERROR_INVALID_PARAMETER;
  return Guarded([&](sqlite3* db) -> LONG {
    // One statement, one moment: no row when the key is gone, a row without
    // a type when the key stands without the value.
    Statement q(db,
                "SELECT v.type, v.data FROM reg_keys k"
                " LEFT JOIN reg_values v ON v.key = k.id AND v.folded = ?2 WHERE k.id = ?1",
                Statement::Cached);
    q.Bind(1, key).Bind(2, name.folded);
    if (!q.Step()) return ERROR_KEY_DELETED;
    if (q.IsNull(0)) return ERROR_FILE_NOT_FOUND;
    std::string data = q.Blob(1);
    if (lpType) *lpType = static_cast<DWORD>(q.Int(0));
    LONG status = ERROR_SUCCESS;
    if (lpData) {
      if (*lpcbData < data.size()) {
        status = ERROR_MORE_DATA;
      } else if (!data.empty()) {
        std::memcpy(lpData, data.data(), data.size());
      }
    }
    if (lpcbData) *lpcbData = static_cast<DWORD>(data.size());
    return status;
  });
}

LONG RegSetValueExW(HKEY hKey, LPCWSTR lpValueName, DWORD, DWORD dwType, const BYTE* lpData, DWORD cbData) {
  int64_t key = HandleKey(hKey);
  if (!key) return ERROR_INVALID_HANDLE;
  if ((!lpData && cbData) || cbData > REG_MAX_DATA_SIZE) return ERROR_INVALID_PARAMETER;
  Name name;
  if (!ValueName(lpValueName, &name)) return ERROR_INVALID_PARAMETER;
  return Guarded([&](sqlite3* db) -> LONG {
    // One statement, atomic by itself: the value is written only while its
    // key exists. A value keeps the spelling of its first writer; later
    // writes replace only its type and data, and a write of the type and
    // data already stored changes nothing, so that it adds nothing to the
    // log. Key ids are never reused, so a key found missing after a write
    // that changed nothing was missing for the write too.
    Statement q(db,
                "INSERT INTO reg_values(key, name, folded, type, data)"
                " SELECT ?1, ?2, ?3, ?4, ?5 WHERE EXISTS(SELECT 1 FROM reg_keys WHERE id = ?1)"
                " ON CONFLICT(key, folded) DO UPDATE SET type = excluded.type, data = excluded.data"
                " WHERE type IS NOT excluded.type OR data IS NOT excluded.data",
                Statement::Cached);
    q.Bind(1, key).Bind(2, name.text).Bind(3, name.folded).Bind(4, static_cast<int64_t>(dwType));
    q.BindBlob(5, lpData, cbData).Run();
    if (sqlite3_changes(db) > 0) return ERROR_SUCCESS;
    return KeyExists(db, key) ? ERROR_SUCCESS : ERROR_KEY_DELETED;
  });
}

LONG RegQueryInfoKeyW(HKEY hKey, LPWSTR lpClass, LPDWORD lpcchClass, LPDWORD, LPDWORD lpcSubKeys,
                      LPDWORD lpcchMaxSubKeyLen, LPDWORD lpcchMaxClassLen, LPDWORD lpcValues,
                      LPDWORD lpcchMaxValueNameLen, LPDWORD lpcbMaxValueLen, LPDWORD lpcbSecurityDescriptor,
                      PFILETIME lpftLastWriteTime) {
  int64_t key = HandleKey(hKey);
  if (!key) return ERROR_INVALID_HANDLE;
  return Guarded([&](sqlite3* db) -> LONG {
    ReadScope read(db);
    if (!KeyExists(db, key)) return ERROR_KEY_DELETED;
    DWORD subKeys = 0, maxSubKey = 0, values = 0, maxValueName = 0, maxValue = 0;
    Statement keys(db, "SELECT name FROM reg_keys WHERE parent = ?");
    keys.Bind(1, key);
    while (keys.Step()) {
      ++subKeys;
      maxSubKey = std::max(maxSubKey, static_cast<DWORD>(platform::Utf8ToUtf16(keys.Text(0)).size()));
    }
    Statement vals(db, "SELECT name, length(data) FROM reg_values WHERE key = ?");
    vals.Bind(1, key);
    while (vals.Step()) {
      ++values;
      maxValueName = std::max(maxValueName, static_cast<DWORD>(platform::Utf8ToUtf16(vals.Text(0)).size()));
      maxValue = std::max(maxValue, static_cast<DWORD>(vals.Int(1)));
    }
    if (lpClass && lpcchClass && *lpcchClass) lpClass[0] = u'\0';
    if (lpcchClass) *lpcchClass = 0;
    if (lpcSubKeys) *lpcSubKeys = subKeys;
    if (lpcchMaxSubKeyLen) *lpcchMaxSubKeyLen = maxSubKey;
    if (lpcchMaxClassLen) *lpcchMaxClassLen = 0;
    if (lpcValues) *lpcValues = values;
    if (lpcchMaxValueNameLen) *lpcchMaxValueNameLen = maxValueName;
    if (lpcbMaxValueLen) *lpcbMaxValueLen = maxValue;
    if (lpcbSecurityDescriptor) *lpcbSecurityDescriptor = 0;
    if (lpftLastWriteTime) *lpftLastWriteTime = FILETIME{0, 0};
    return ERROR_SUCCESS;
  });
}

LONG RegEnumKeyExW(HKEY hKey, DWORD dwIndex, LPWSTR lpName, LPDWORD lpcchName, LPDWORD, LPWSTR lpClass,
                   LPDWORD lpcchClass, PFILETIME lpftLastWriteTime) {
  int64_t key = HandleKey(hKey);
  if (!key) return ERROR_INVALID_HANDLE;
  if (!lpName || !lpcchName) return ERROR_INVALID_PARAMETER;
  return Guarded([&](sqlite3* db) -> LONG {
    ReadScope read(db);
    if (!KeyExists(db, key)) return ERROR_KEY_DELETED;
    EnumCursor now;
    std::optional<Statement> q;
    if (!ReadEntry(db, hKey, key, &HKEY__::subkeys, dwIndex,
                   "SELECT name, folded FROM reg_keys WHERE parent = ? AND folded > ? ORDER BY folded LIMIT 1",
                   "SELECT name, folded FROM reg_keys WHERE parent = ? ORDER BY folded LIMIT 1 OFFSET ?", &q, &now))
      return ERROR_NO_MORE_ITEMS;
    LONG status = CopyName(q->Text(0), lpName, lpcchName);
    if (status != ERROR_SUCCESS) return status;
    MoveCursor(hKey, &HKEY__::subkeys, dwIndex, now, q->Text(1));
    if (lpClass && lpcchClass && *lpcchClass) lpClass[0] = u'\0';
    if (lpcchClass) *lpcchClass = 0;
    if (lpftLastWriteTime) *lpftLastWriteTime = FILETIME{0, 0};
    return ERROR_SUCCESS;
  });
}

LONG RegEnumValueW(HKEY hKey, DWORD dwIndex, LPWSTR lpValueName, LPDWORD lpcchValueName, LPDWORD, LPDWORD lpType,
                   LPBYTE lpData, LPDWORD lpcbData) {
  int64_t key = HandleKey(hKey);
  if (!key) return ERROR_INVALID_HANDLE;
  if (!lpValueName || !lpcchValueName || (lpData && !lpcbData)) return ERROR_INVALID_PARAMETER;
  return Guarded([&](sqlite3* db) -> LONG {
    ReadScope read(db);
    if (!KeyExists(db, key)) return ERROR_KEY_DELETED;
    EnumCursor now;
    std::optional<Statement> q;
    if (!ReadEntry(db, hKey, key, &HKEY__::values, dwIndex,
                   "SELECT name, type, data, folded FROM reg_values WHERE key = ? AND folded > ? ORDER BY folded LIMIT 1",
                   "SELECT name, type, data, folded FROM reg_values WHERE key = ? ORDER BY folded LIMIT 1 OFFSET ?", &q,
                   &now))
      return ERROR_NO_MORE_ITEMS;
    std::u16string name = platform::Utf8ToUtf16(q->Text(0));
    std::string data = q->Blob(2);
    bool nameFits = *lpcchValueName >= name.size() + 1;
    bool dataFits = !lpData || *lpcbData >= data.size();
    if (lpType) *lpType = static_cast<DWORD>(q->Int(1));
    if (lpcbData) *lpcbData = static_cast<DWORD>(data.size());
    if (!nameFits || !dataFits) {
      if (!nameFits) *lpcchValueName = static_cast<DWORD>(name.size() + 1);
      return ERROR_MORE_DATA;
    }
    std::memcpy(lpValueName, name.data(), name.size() * sizeof(WCHAR));
    lpValueName[name.size()] = u'\0';
    *lpcchValueName = static_cast<DWORD>(name.size());
    if (lpData && !data.empty()) std::memcpy(lpData, data.data(), data.size());
    MoveCursor(hKey, &HKEY__::values, dwIndex, now, q->Text(3));
    return ERROR_SUCCESS;
  });
}

LONG RegDeleteKeyW(HKEY hKey, LPCWSTR lpSubKey) {
  int64_t start = HandleKey(hKey);
  if (!start) return ERROR_INVALID_HANDLE;
  std::vector<std::u16string_view> parts;
  if (!SplitPath(lpSubKey, &parts) || parts.empty()) return ERROR_INVALID_PARAMETER;
  return Guarded([&](sqlite3* db) -> LONG {
    platform::Transaction write(db);
    int64_t key = 0;
    LONG status = ResolvePath(db, start, parts, &key);
    if (status != ERROR_SUCCESS) return status;
    // The phone deletes a key with its whole branch, in one transaction.
    static const char* const kBranch =
        "WITH RECURSIVE branch(id) AS (SELECT ? UNION ALL"
        " SELECT k.id FROM reg_keys k JOIN branch b ON k.parent = b.id) ";
    Statement values(db, (std::string(kBranch) + "DELETE FROM reg_values WHERE key IN branch").c_str());
    values.Bind(1, key).Run();
    Statement keys(db, (std::string(kBranch) + "DELETE FROM reg_keys WHERE id IN branch").c_str());
    keys.Bind(1, key).Run();
    write.Commit();
    return ERROR_SUCCESS;
  });
}

LONG RegDeleteValueW(HKEY hKey, LPCWSTR lpValueName) {
  int64_t key = HandleKey(hKey);
  if (!key) return ERROR_INVALID_HANDLE;
  Name name;
  if (!ValueName(lpValueName, &name)) return ERROR_INVALID_PARAMETER;
  return Guarded([&](sqlite3* db) -> LONG {
    platform::Transaction write(db);
    if (!KeyExists(db, key)) return ERROR_KEY_DELETED;
    Statement q(db, "DELETE FROM reg_values WHERE key = ? AND folded = ?", Statement::Cached);
    q.Bind(1, key).Bind(2, name.folded).Run();
    bool deleted = sqlite3_changes(db) > 0;
    write.Commit();
    return deleted ? ERROR_SUCCESS : ERROR_FILE_NOT_FOUND;
  });
}

LONG RegCloseKey(HKEY hKey) {
  if (IsRootHandle(hKey)) return ERROR_SUCCESS;
  {
    std::lock_guard<std::mutex> lock(g_handlesMutex);
    if (!g_handles.erase(hKey)) return ERROR_INVALID_HANDLE;
  }
  delete hKey;
  return ERROR_SUCCESS;
}
