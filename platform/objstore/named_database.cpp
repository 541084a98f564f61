#include "named_database.h"

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

}  // namespace platform
