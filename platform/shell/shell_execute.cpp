// ShellExecuteEx: the shell's start of a program or of the target of a
// Windows CE shortcut (".lnk"), through CreateProcessW's program mapping.
#include <cctype>
#include <fstream>
#include <sstream>
#include <string>

#include <emulated_limits.h>
#include <shellapi.h>
#include <windows.h>

#include "../device/call_failure.h"
#include "../files/files.h"
#include "../kernel/journal.h"
#include "../text/utf.h"

namespace {

// A shortcut that names another shortcut is followed this many times at most.
constexpr int kShortcutDepth = 4;
// Shortcut files are a line of text; anything longer is no shortcut.
constexpr size_t kShortcutLimit = 4096;

bool EndsWithNoCase(std::u16string_view text, std::u16string_view ending) {
  if (text.size() < ending.size()) return false;
  std::u16string_view tail = text.substr(text.size() - ending.size());
  return platform::FoldName(tail) == platform::FoldName(ending);
}

// The text of a device file, or nothing when it cannot be read.
bool ReadDeviceText(std::u16string_view path, std::string* text) {
  return platform::ReadDeviceFile(path, kShortcutLimit, text);
}

// Where an unquoted target path ends: after the first ".exe" or ".lnk" that
// ends a word (paths such as "\Program files\x.exe" hold blanks), else at
// the first blank.
size_t UnquotedPathEnd(const std::string& rest) {
  std::string folded = rest;
  for (char& c : folded) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  for (size_t at = 0; at + 4 <= folded.size(); at++) {
    std::string_view ending(folded.data() + at, 4);
    if ((ending == ".exe" || ending == ".lnk") && (at + 4 == folded.size() || folded[at + 4] == ' ')) return at + 4;
  }
  return rest.find(' ');
}

// Splits a shortcut's text "N#target args" into the target path and its
// arguments. N, the length of what follows "#", is not trusted: the text
// after "#" up to the line end is taken, the path quoted or unquoted.
bool ParseShortcut(const std::string& text, std::u16string* target, std::u16string* arguments) {
  size_t hash = text.find('#');
  if (hash == std::string::npos || hash == 0) return false;
  for (size_t i = 0; i < hash; i++)
    if (text[i] < '0' || text[i] > '9') return false;
  std::string rest = text.substr(hash + 1);
  rest = rest.substr(0, rest.find_first_of("\r\n"));
  std::string path, args;
  if (!rest.empty() && rest[0] == '"') {
    size_t close = rest.find('"', 1);
    if (close == std::string::npos) return false;
    path = rest.substr(1, close - 1);
    args = rest.substr(close + 1);
  } else {
    size_t end = UnquotedPathEnd(rest);
    path = rest.substr(0, end);
    args = end == std::string::npos ? "" : rest.substr(end);
  }
  while (!args.empty() && args.front() == ' ') args.erase(args.begin());
  if (path.empty()) return false;
  *target = platform::Utf8ToUtf16(path);
  *arguments = platform::Utf8ToUtf16(args);
  return true;
}

// Starts `file` with `arguments`, following shortcuts; the error code, or
// ERROR_SUCCESS with the process handle in *process.
DWORD OpenFile(std::u16string file, std::u16string arguments, HANDLE* process) {
  for (int depth = 0; depth <= kShortcutDepth; depth++) {
    if (EndsWithNoCase(file, u".lnk")) {
      std::string text;
      if (!ReadDeviceText(file, &text)) return ERROR_FILE_NOT_FOUND;
      std::u16string target, targetArguments;
      if (!ParseShortcut(text, &target, &targetArguments)) return ERROR_FILE_NOT_FOUND;
      file = target;
      arguments = targetArguments;
      continue;
    }
    if (!EndsWithNoCase(file, u".exe")) return ERROR_NO_ASSOCIATION;
    PROCESS_INFORMATION info = {};
    if (!CreateProcessW(file.c_str(), arguments.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, nullptr,
                        &info)) {
      DWORD error = GetLastError();
      return error ? error : ERROR_FILE_NOT_FOUND;
    }
    CloseHandle(info.hThread);
    *process = info.hProcess;
    return ERROR_SUCCESS;
  }
  return ERROR_FILE_NOT_FOUND;
}

HINSTANCE ErrorInstance(DWORD error) {
  ULONG_PTR code = error == ERROR_NO_ASSOCIATION ? SE_ERR_NOASSOC
                   : error == ERROR_PATH_NOT_FOUND ? SE_ERR_PNF
                                                   : SE_ERR_FNF;
  return reinterpret_cast<HINSTANCE>(code);
}

}  // namespace

BOOL ShellExecuteEx(LPSHELLEXECUTEINFO info) try {
  if (!info || (info->cbSize != SHELLEXECUTEINFO_PHONE_SIZE && info->cbSize != sizeof(SHELLEXECUTEINFO)) ||
      !info->lpFile) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return FALSE;
  }
  std::ostringstream line;
  line << "ShellExecuteEx \"" << platform::Utf16ToUtf8(info->lpFile) << "\" " << info->nShow;
  platform::JournalAppend(line.str());

  HANDLE process = nullptr;
  DWORD error = OpenFile(info->lpFile, info->lpParameters ? info->lpParameters : u"", &process);
  if (error != ERROR_SUCCESS) {
    info->hInstApp = ErrorInstance(error);
    SetLastError(error);
    return FALSE;
  }
  // Any value above 32 tells success.
  info->hInstApp = reinterpret_cast<HINSTANCE>(static_cast<ULONG_PTR>(33));
  if (info->fMask & SEE_MASK_NOCLOSEPROCESS)
    info->hProcess = process;
  else
    CloseHandle(process);
  return TRUE;
} catch (...) {
  return platform::FailedCall(FALSE);
}
