// OutputDebugStringW: the phone hands debug text to an attached debugger;
// the emulated phone's debugger is its journal, so a program's own notes
// show among its hardware calls, in order.
#include <string>

#include <windows.h>

#include "../device/call_failure.h"
#include "../text/utf.h"
#include "journal.h"

void OutputDebugStringW(LPCWSTR lpOutputString) try {
  if (!lpOutputString) return;
  std::u16string text(lpOutputString);
  while (!text.empty() && (text.back() == u'\n' || text.back() == u'\r')) text.pop_back();
  platform::JournalAppend("OutputDebugString " + platform::Utf16ToUtf8(text));
} catch (...) {
  platform::FailedCall();
}
