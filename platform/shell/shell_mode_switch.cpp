// The phone's shell keeps, in the journal, each switch of mode that its
// Today item makes, and each call it lets ring past the mode, so that what
// the phone did and when can be read back.
#include <string>

#include <emulated_shell.h>

#include "../device/call_failure.h"
#include "../kernel/journal.h"
#include "../text/utf.h"

BOOL ShellRecordModeSwitch(DWORD mode, LPCWSTR modeName, LPCWSTR reason) try {
  if (!modeName || !reason) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return FALSE;
  }
  platform::JournalAppend("ModeSwitch " + std::to_string(mode) + " \"" + platform::Utf16ToUtf8(modeName) + "\" " +
                          platform::Utf16ToUtf8(reason));
  return TRUE;
} catch (...) {
  return platform::FailedCall(FALSE);
}

BOOL ShellRecordModeException(LPCWSTR number, LPCWSTR callerName, LPCWSTR reason) {
  if (!number || !callerName || !reason) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return FALSE;
  }
  platform::JournalAppend("ModeException " + platform::Utf16ToUtf8(number) + " \"" +
                          platform::Utf16ToUtf8(callerName) + "\" rings: " + platform::Utf16ToUtf8(reason));
  return TRUE;
}
