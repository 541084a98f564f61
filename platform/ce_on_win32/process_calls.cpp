// Program starts as the phone makes them: CreateProcessW with the arguments
// alone as the command line and optional start-up and process information,
// ShellExecuteEx on a Windows CE shortcut; each journalled as the phone
// journals it.
#include <cwchar>
#include <string>

#include "desktop_calls.h"
#include "phone_hardware.h"

namespace {

// Splits "PROGRAM ARGUMENTS" (the program possibly in quotes) when no image
// name is given.
void SplitCommandLine(const std::wstring& line, std::wstring* program, std::wstring* rest) {
  size_t start = 0, end = 0;
  if (!line.empty() && line[0] == L'"') {
    start = 1;
    end = line.find(L'"', 1);
    if (end == std::wstring::npos) end = line.size();
    *program = line.substr(start, end - start);
    end = end < line.size() ? end + 1 : end;
  } else {
    end = line.find(L' ');
    if (end == std::wstring::npos) end = line.size();
    *program = line.substr(0, end);
  }
  while (end < line.size() && line[end] == L' ') ++end;
  *rest = line.substr(end);
}

bool FileExists(const std::wstring& path) {
  DWORD attributes = GetFileAttributesW(path.c_str());
  return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
}

bool EndsWithNoCase(const std::wstring& text, LPCWSTR ending) {
  size_t length = wcslen(ending);
  return text.size() >= length && _wcsicmp(text.c_str() + text.size() - length, ending) == 0;
}

// The target of a Windows CE shortcut file: "N#target", N the length of the
// target; the target may be quoted and followed by arguments.
bool ReadShortcut(const std::wstring& path, std::wstring* target, std::wstring* arguments) {
  HANDLE file = CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
  if (file == INVALID_HANDLE_VALUE) return false;
  char text[1024];
  DWORD read = 0;
  BOOL ok = ReadFile(file, text, sizeof text - 1, &read, nullptr);
  CloseHandle(file);
  if (!ok) return false;
  std::string content(text, read);
  size_t hash = content.find('#');
  if (hash == std::string::npos) return false;
  std::string line = content.substr(hash + 1);
  while (!line.empty() && (line.back() == '\r' || line.back() == '\n')) line.pop_back();
  SplitCommandLine(ce_layer::FromUtf8(line), target, arguments);
  return !target->empty();
}

}  // namespace

BOOL PhoneCreateProcessW(LPCWSTR imageName, LPWSTR commandLine, LPSECURITY_ATTRIBUTES processAttributes,
                         LPSECURITY_ATTRIBUTES threadAttributes, BOOL inheritHandles, DWORD creationFlags,
                         LPVOID environment, LPWSTR currentDirectory, LPSTARTUPINFOW startupInfo,
                         LPPROCESS_INFORMATION processInformation) {
  std::wstring path, arguments;
  if (imageName) {
    path = imageName;
    if (commandLine) arguments = commandLine;
  } else if (commandLine) {
    SplitCommandLine(commandLine, &path, &arguments);
  }
  std::string entry = "CreateProcessW \"" + ce_layer::ToUtf8(path) + "\" \"" + ce_layer::ToUtf8(arguments) + "\"";
  if (path.empty() || !FileExists(path)) {
    ce_layer::JournalAppend(entry + " failed");
    SetLastError(ERROR_FILE_NOT_FOUND);
    return FALSE;
  }
  // Journalled before the start, so that the program's own lines follow.
  ce_layer::JournalAppend(entry);

  // Desktop Windows passes the whole command line on, its first word taken
  // as the program's name; the started program's entry then sees the rest.
  std::wstring line = L"\"" + path + L"\"";
  if (!arguments.empty()) line += L" " + arguments;
  STARTUPINFOW defaultStartup = {};
  defaultStartup.cb = sizeof defaultStartup;
  PROCESS_INFORMATION started = {};
  if (!CreateProcessW(path.c_str(), line.data(), processAttributes, threadAttributes, inheritHandles, creationFlags,
                      environment, currentDirectory, startupInfo ? startupInfo : &defaultStartup, &started))
    return FALSE;
  if (processInformation) {
    *processInformation = started;
  } else {
    CloseHandle(started.hThread);
    CloseHandle(started.hProcess);
  }
  return TRUE;
}

BOOL PhoneShellExecuteExW(SHELLEXECUTEINFOW* info) {
  if (!info || info->cbSize != sizeof(SHELLEXECUTEINFOW) || !info->lpFile) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return FALSE;
  }
  ce_layer::JournalAppend("ShellExecuteEx \"" + ce_layer::ToUtf8(info->lpFile) + "\" " +
                          std::to_string(info->nShow));
  const std::wstring file = info->lpFile;
  if (!EndsWithNoCase(file, L".lnk")) return ShellExecuteExW(info);

  std::wstring target, arguments;
  if (!ReadShortcut(file, &target, &arguments)) {
    info->hInstApp = reinterpret_cast<HINSTANCE>(static_cast<ULONG_PTR>(SE_ERR_FNF));
    SetLastError(ERROR_FILE_NOT_FOUND);
    return FALSE;
  }
  if (info->lpParameters && *info->lpParameters) arguments = info->lpParameters;
  PROCESS_INFORMATION started = {};
  if (!PhoneCreateProcessW(target.c_str(), arguments.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, nullptr,
                           &started)) {
    info->hInstApp = reinterpret_cast<HINSTANCE>(static_cast<ULONG_PTR>(SE_ERR_FNF));
    return FALSE;
  }
  CloseHandle(started.hThread);
  // Any value above 32 tells success.
  info->hInstApp = reinterpret_cast<HINSTANCE>(static_cast<ULONG_PTR>(33));
  if (info->fMask & SEE_MASK_NOCLOSEPROCESS)
    info->hProcess = started.hProcess;
  else
    CloseHandle(started.hProcess);
  return TRUE;
}
