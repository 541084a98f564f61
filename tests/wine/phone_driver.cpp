// The stand-in user for the programs under Wine: starts a program as the
// phone would, then carries out an automation script of the emulated
// phone's form (click, tap, select, type, slide, ok, wait; dump and
// screenshot are left to the emulated phone) by sending the messages a
// user's input would cause, waiting after each line until the program has
// taken it in. Then it switches the phone off, or waits for the program to
// end (--wait), and waits for every program it started to end.
//
//   PhoneDriver [--wait] SCRIPT PROGRAM [COMMAND LINE]
#include <windows.h>
#include <commctrl.h>
#include <tlhelp32.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <set>
#include <sstream>
#include <string>
#include <vector>

namespace {

const DWORD kIdleRoundMs = 50;
const int kIdleRounds = 4;
// Generous bounds: a program that takes longer is stuck.
const DWORD kReplyMs = 10000;
const DWORD kProgramEndMs = 60000;
const wchar_t* const kPhonePrograms[] = {L"SelvaneSettings.exe", L"SelvaneTimer.exe", L"SelvaneToday.exe",
                                         L"Kestrow.exe", L"Lumist.exe"};

struct Failure {
  std::string message;
};

DWORD g_program = 0;

std::wstring Wide(const std::string& text) {
  int size = MultiByteToWideChar(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), nullptr, 0);
  std::wstring wide(size, L'\0');
  MultiByteToWideChar(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), wide.data(), size);
  return wide;
}

struct WindowSearch {
  DWORD process;
  HWND found;
};

BOOL CALLBACK TakeFirstShown(HWND window, LPARAM param) {
  auto search = reinterpret_cast<WindowSearch*>(param);
  DWORD process = 0;
  GetWindowThreadProcessId(window, &process);
  if (process != search->process || !IsWindowVisible(window)) return TRUE;
  search->found = window;
  return FALSE;
}

// The program's topmost shown window, or null.
HWND ShownWindow() {
  WindowSearch search{g_program, nullptr};
  EnumWindows(TakeFirstShown, reinterpret_cast<LPARAM>(&search));
  return search.found;
}

// The program's foreground window: its topmost shown window.
HWND ForegroundWindow() {
  HWND window = ShownWindow();
  if (!window) throw Failure{"the program shows no window"};
  return window;
}

// Waits until the window's thread has taken in what it was sent and
// posted, and what that caused.
void WaitForIdle(HWND window) {
  for (int round = 0; round < kIdleRounds; ++round) {
    DWORD_PTR result = 0;
    if (!IsWindow(window)) return;
    SendMessageTimeoutW(window, WM_NULL, 0, 0, SMTO_NORMAL, kReplyMs, &result);
    Sleep(kIdleRoundMs);
  }
}

HWND NamedControl(const std::string& word) {
  HWND foreground = ForegroundWindow();
  HWND control = GetDlgItem(foreground, std::atoi(word.c_str()));
  if (!control) throw Failure{"no control " + word + " in the foreground window"};
  return control;
}

bool TakesInput(HWND control) { return IsWindowVisible(control) && IsWindowEnabled(control); }

std::wstring ClassOf(HWND window) {
  wchar_t name[64] = {};
  GetClassNameW(window, name, 64);
  return name;
}

void PressAt(HWND window, POINT client) {
  const LPARAM at = MAKELPARAM(client.x, client.y);
  SendMessageTimeoutW(window, WM_LBUTTONDOWN, MK_LBUTTON, at, SMTO_NORMAL, kReplyMs, nullptr);
  SendMessageTimeoutW(window, WM_LBUTTONUP, 0, at, SMTO_NORMAL, kReplyMs, nullptr);
}

void Click(HWND control) {
  if (!TakesInput(control)) return;
  if (_wcsicmp(ClassOf(control).c_str(), L"Button") == 0) {
    SendMessageTimeoutW(control, BM_CLICK, 0, 0, SMTO_NORMAL, kReplyMs, nullptr);
    return;
  }
  RECT rect;
  GetClientRect(control, &rect);
  PressAt(control, POINT{rect.right / 2, rect.bottom / 2});
}

// The window a tap at the screen pixel reaches: a control that lets taps
// through (a static without SS_NOTIFY) passes it to its parent.
void Tap(int x, int y) {
  POINT point{x, y};
  HWND window = WindowFromPoint(point);
  while (window) {
    DWORD_PTR hit = HTCLIENT;
    SendMessageTimeoutW(window, WM_NCHITTEST, 0, MAKELPARAM(x, y), SMTO_NORMAL, kReplyMs, &hit);
    HWND parent = GetParent(window);
    if (static_cast<LRESULT>(hit) != HTTRANSPARENT || !parent) break;
    window = parent;
  }
  if (!window) return;
  ScreenToClient(window, &point);
  PressAt(window, point);
}

void Select(HWND combo, int index) {
  if (!TakesInput(combo)) return;
  LRESULT count = SendMessageW(combo, CB_GETCOUNT, 0, 0);
  if (index < 0 || index >= count) throw Failure{"the drop-down has no entry " + std::to_string(index)};
  SendMessageW(combo, CB_SETCURSEL, index, 0);
  SendMessageW(GetParent(combo), WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(combo), CBN_SELCHANGE),
               reinterpret_cast<LPARAM>(combo));
}

// The user selects the whole text, deletes it and types the new one, key
// by key, so that the control's limits apply.
void Type(HWND control, const std::wstring& text) {
  if (!TakesInput(control)) return;
  HWND edit = control;
  if (_wcsicmp(ClassOf(control).c_str(), L"ComboBox") == 0) edit = FindWindowExW(control, nullptr, L"Edit", nullptr);
  if (!edit) throw Failure{"the control takes no typed text"};
  SendMessageW(edit, EM_SETSEL, 0, -1);
  SendMessageW(edit, WM_CHAR, VK_BACK, 1);
  for (wchar_t c : text) SendMessageW(edit, WM_CHAR, c, 1);
}

void Slide(HWND trackbar, int position) {
  if (!TakesInput(trackbar)) return;
  SendMessageW(trackbar, TBM_SETPOS, TRUE, position);
  const int now = static_cast<int>(SendMessageW(trackbar, TBM_GETPOS, 0, 0));
  const UINT scroll = (GetWindowLongW(trackbar, GWL_STYLE) & TBS_VERT) ? WM_VSCROLL : WM_HSCROLL;
  HWND parent = GetParent(trackbar);
  const LPARAM self = reinterpret_cast<LPARAM>(trackbar);
  SendMessageW(parent, scroll, MAKEWPARAM(TB_THUMBTRACK, now), self);
  SendMessageW(parent, scroll, MAKEWPARAM(TB_THUMBPOSITION, now), self);
  SendMessageW(parent, scroll, MAKEWPARAM(TB_ENDTRACK, 0), self);
}

void RunLine(const std::string& line) {
  std::istringstream words(line);
  std::string verb, first, second;
  words >> verb >> first >> second;
  if (verb == "click") {
    Click(NamedControl(first));
  } else if (verb == "tap") {
    Tap(std::atoi(first.c_str()), std::atoi(second.c_str()));
  } else if (verb == "select") {
    Select(NamedControl(first), std::atoi(second.c_str()));
  } else if (verb == "type") {
    // TEXT is everything after the identifier and one space.
    size_t idStart = line.find_first_not_of(" \t", verb.size());
    size_t idEnd = line.find_first_of(" \t", idStart);
    Type(NamedControl(first), Wide(idEnd == std::string::npos ? "" : line.substr(idEnd + 1)));
  } else if (verb == "slide") {
    Slide(NamedControl(first), std::atoi(second.c_str()));
  } else if (verb == "ok") {
    HWND foreground = ForegroundWindow();
    SendMessageTimeoutW(foreground, WM_COMMAND, IDOK, 0, SMTO_NORMAL, kReplyMs, nullptr);
  } else if (verb == "wait") {
    Sleep(static_cast<DWORD>(std::atoi(first.c_str())));
  } else if (verb == "dump" || verb == "screenshot") {
    // Only the emulated phone writes these.
  } else {
    throw Failure{"unknown line: " + line};
  }
}

// The processes of the phone's programs now running.
std::set<DWORD> PhoneProcesses() {
  std::set<DWORD> found;
  HANDLE snapshot = CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0);
  if (snapshot == INVALID_HANDLE_VALUE) return found;
  PROCESSENTRY32W entry = {};
  entry.dwSize = sizeof entry;
  for (BOOL more = Process32FirstW(snapshot, &entry); more; more = Process32NextW(snapshot, &entry))
    for (const wchar_t* name : kPhonePrograms)
      if (_wcsicmp(entry.szExeFile, name) == 0) found.insert(entry.th32ProcessID);
  CloseHandle(snapshot);
  return found;
}

// Waits for every program on the phone to end; false when one would not.
bool WaitForPhonePrograms() {
  const ULONGLONG deadline = GetTickCount64() + kProgramEndMs;
  while (!PhoneProcesses().empty()) {
    if (GetTickCount64() > deadline) return false;
    Sleep(kIdleRoundMs);
  }
  return true;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  int next = 1;
  bool waitForEnd = false;
  if (next < argc && wcscmp(argv[next], L"--wait") == 0) {
    waitForEnd = true;
    ++next;
  }
  if (argc - next < 2) {
    std::fprintf(stderr, "usage: PhoneDriver [--wait] SCRIPT PROGRAM [COMMAND LINE]\n");
    return 2;
  }
  std::ifstream script(argv[next]);
  if (!script) {
    std::fprintf(stderr, "PhoneDriver: cannot read the script\n");
    return 2;
  }
  // Device paths (\Program files\Selvane) name folders of the current drive:
  // the phone's programs run on drive C:.
  SetCurrentDirectoryW(L"C:\\");
  std::wstring program = argv[next + 1];
  std::wstring commandLine = L"\"" + program + L"\"";
  for (int i = next + 2; i < argc; ++i) commandLine += std::wstring(L" ") + argv[i];

  STARTUPINFOW startup = {};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION started = {};
  if (!CreateProcessW(program.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup,
                      &started)) {
    std::fprintf(stderr, "PhoneDriver: cannot start the program (error %lu)\n", GetLastError());
    return 1;
  }
  CloseHandle(started.hThread);
  g_program = started.dwProcessId;
  WaitForInputIdle(started.hProcess, kReplyMs);
  // The user acts once the program shows its window (a windowless one is
  // left to run).
  const ULONGLONG shown = GetTickCount64() + kReplyMs;
  while (!ShownWindow() && GetTickCount64() < shown && WaitForSingleObject(started.hProcess, 0) == WAIT_TIMEOUT)
    Sleep(kIdleRoundMs);
  if (HWND window = ShownWindow()) WaitForIdle(window);

  int status = 0;
  try {
    std::string line;
    while (std::getline(script, line)) {
      while (!line.empty() && (line.back() == '\r' || line.back() == ' ')) line.pop_back();
      size_t start = line.find_first_not_of(" \t");
      if (start == std::string::npos || line[start] == '#') continue;
      line.erase(0, start);
      RunLine(line);
      if (WaitForSingleObject(started.hProcess, 0) == WAIT_OBJECT_0) continue;
      HWND foreground = nullptr;
      try {
        foreground = ForegroundWindow();
      } catch (const Failure&) {
      }
      if (foreground) WaitForIdle(foreground);
    }
  } catch (const Failure& failure) {
    std::fprintf(stderr, "PhoneDriver: %s\n", failure.message.c_str());
    status = 1;
  }
  // The script done, the phone is switched off: the program ends where it
  // stands, unless it is one that ends by itself.
  if (!waitForEnd || WaitForSingleObject(started.hProcess, kProgramEndMs) != WAIT_OBJECT_0)
    TerminateProcess(started.hProcess, 0);
  WaitForSingleObject(started.hProcess, kReplyMs);
  CloseHandle(started.hProcess);
  if (!WaitForPhonePrograms()) {
    std::fprintf(stderr, "PhoneDriver: a program it started did not end\n");
    status = 1;
  }
  return status;
}
