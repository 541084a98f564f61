// What an exported call does when the device fails beneath it (a full or
// read-only database, a missing or damaged device, no memory): it returns
// its documented failure value and sets the thread's last error, as a
// Windows API never unwinds into the program that called it. Each call
// catches at its edge and hands over here:
//
//   BOOL PlaySoundW(...) try { ... } catch (...) { return platform::FailedCall(FALSE); }
#pragma once

#include <cerrno>

#include <windows.h>

namespace platform {

// The Win32 error that an errno of a host call stands for; `otherwise` for
// an errno that names no condition of its own.
DWORD ErrorFromErrno(int error, DWORD otherwise = ERROR_GEN_FAILURE);

// The Win32 error that the exception being handled stands for:
// ERROR_DISK_FULL, ERROR_WRITE_PROTECT (a database that takes no writes),
// ERROR_ACCESS_DENIED, ERROR_FILE_NOT_FOUND, ERROR_PATH_NOT_FOUND (a file
// call), ERROR_NOT_ENOUGH_MEMORY, else ERROR_GEN_FAILURE (among them a
// device that is missing or damaged). Only to be called inside a catch.
DWORD CurrentFailureCode();

// Sets the last error to CurrentFailureCode() and gives back `failure`.
template <typename Result>
Result FailedCall(Result failure) {
  SetLastError(CurrentFailureCode());
  return failure;
}

// The same for a call that returns nothing.
inline void FailedCall() { SetLastError(CurrentFailureCode()); }

}  // namespace platform
