// The Win32 errors that the device's failures stand for, for the calls'
// edges (call_failure.h).
#include "call_failure.h"

#include <sqlite3.h>

#include <exception>
#include <new>
#include <system_error>

#include "device.h"

namespace platform {

namespace {

DWORD ErrorFromSqlite(int code) {
  switch (code & 0xFF) {
    case SQLITE_FULL: return ERROR_DISK_FULL;
    case SQLITE_READONLY: return ERROR_WRITE_PROTECT;
    case SQLITE_PERM:
    case SQLITE_AUTH: return ERROR_ACCESS_DENIED;
    case SQLITE_NOMEM: return ERROR_NOT_ENOUGH_MEMORY;
  }
  return ERROR_GEN_FAILURE;
}

}  // namespace

DWORD ErrorFromErrno(int error, DWORD otherwise) {
  switch (error) {
    case ENOSPC:
    case EFBIG:
    case EDQUOT: return ERROR_DISK_FULL;
    case EROFS: return ERROR_WRITE_PROTECT;
    case EACCES:
    case EPERM: return ERROR_ACCESS_DENIED;
    case ENOENT: return ERROR_FILE_NOT_FOUND;
    case ENOTDIR: return ERROR_PATH_NOT_FOUND;
    case ENOMEM: return ERROR_NOT_ENOUGH_MEMORY;
  }
  return otherwise;
}

DWORD CurrentFailureCode() {
  try {
    throw;
  } catch (const DeviceError& e) {
    return ErrorFromSqlite(e.code());
  } catch (const std::system_error& e) {
    return e.code().category() == std::generic_category() || e.code().category() == std::system_category()
               ? ErrorFromErrno(e.code().value())
               : ERROR_GEN_FAILURE;
  } catch (const std::bad_alloc&) {
    return ERROR_NOT_ENOUGH_MEMORY;
  } catch (...) {
    return ERROR_GEN_FAILURE;
  }
}

}  // namespace platform
