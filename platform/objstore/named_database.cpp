// Opening and reading a database of the object store by its name.
#include "named_database.h"

#include <vector>

namespace platform {

HANDLE OpenNamedDatabase(LPCWSTR name, DWORD flags) {
  CEOID oid = 0;
  return CeOpenDatabase(&oid, name, 0, flags, nullptr);
}

HANDLE OpenOrCreateNamedDatabase(LPCWSTR name) {
  HANDLE database = OpenNamedDatabase(name, 0);
  if (database != INVALID_HANDLE_VALUE) return database;
  CeCreateDatabase(name, 0, 0, nullptr);
  return OpenNamedDatabase(name, 0);
}

DWORD ReadEveryRecord(LPCWSTR name, const CEPROPID* wanted, WORD count,
                      const std::function<void(CEOID, const CEPROPVAL*, WORD)>& take) {
  HANDLE database = OpenNamedDatabase(name, CEDB_AUTOINCREMENT);
  if (database == INVALID_HANDLE_VALUE) return GetLastError() == ERROR_FILE_NOT_FOUND ? ERROR_SUCCESS : GetLastError();
  std::vector<CEPROPID> properties(wanted, wanted + count);
  LPBYTE buffer = nullptr;
  DWORD size = 0;
  // An empty database gives ERROR_SEEK, the end of the records
  // ERROR_NO_MORE_ITEMS; any other error is a failure of the store.
  DWORD error = ERROR_SUCCESS;
  if (CeSeekDatabase(database, CEDB_SEEK_BEGINNING, 0, nullptr)) {
    for (;;) {
      WORD read = count;
      const CEOID record =
          CeReadRecordPropsEx(database, CEDB_ALLOWREALLOC, &read, properties.data(), &buffer, &size, nullptr);
      if (!record) {
        if (GetLastError() != ERROR_NO_MORE_ITEMS) error = GetLastError();
        break;
      }
      take(record, reinterpret_cast<const CEPROPVAL*>(buffer), read);
    }
  } else if (GetLastError() != ERROR_SEEK) {
    error = GetLastError();
  }
  if (buffer) LocalFree(buffer);
  CloseHandle(database);
  return error;
}

}  // namespace platform
