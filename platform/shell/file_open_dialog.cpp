// GetOpenFileNameW: the phone's file-open window, a dialog of the program
// built from a template in memory and run modally by a nested message loop.
#include <algorithm>
#include <string>
#include <vector>

#include <aygshell.h>
#include <commdlg.h>
#include <emulated_limits.h>
#include <strsafe.h>
#include <windows.h>

#include "../files/files.h"
#include "dialog_template.h"

namespace {

constexpr WCHAR kDefaultTitle[] = u"Open";
constexpr WCHAR kAllFilesPattern[] = u"*";
constexpr char16_t kSeparator = u'\\';

DWORD g_lastError = 0;

// What the window shows and what it has chosen.
struct OpenState {
  LPOPENFILENAMEW request = nullptr;
  HWND window = nullptr;
  std::u16string folder = u"\\";                      // device path, "\" or "\a\b"
  std::vector<std::u16string> filterNames, filterPatterns;
  int filter = 0;                                      // index into the two lists
  std::vector<std::u16string> folders, files;          // what the entry list holds, in order
  bool done = false;
  BOOL result = FALSE;
};

// The layout: four rows of a label and a field, then OK and Cancel.
void WriteTemplate(platform::TemplateWriter* out, const std::u16string& title) {
  out->Header(WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_SETFONT, 10, 159, 110, title);
  out->Item(SS_LEFT, 4, 8, 30, 10, IDC_STATIC, platform::kStaticClass, u"Folder:");
  out->Item(CBS_DROPDOWNLIST | WS_VSCROLL | WS_TABSTOP, 36, 6, 119, 80, IDC_OPEN_FOLDER, platform::kComboClass, u"");
  out->Item(SS_LEFT, 4, 26, 30, 10, IDC_STATIC, platform::kStaticClass, u"Files:");
  out->Item(CBS_DROPDOWNLIST | WS_VSCROLL | WS_TABSTOP, 36, 24, 119, 90, IDC_OPEN_ENTRIES, platform::kComboClass, u"");
  out->Item(SS_LEFT, 4, 44, 30, 10, IDC_STATIC, platform::kStaticClass, u"Name:");
  out->Item(ES_AUTOHSCROLL | WS_BORDER | WS_TABSTOP, 36, 42, 119, 12, IDC_OPEN_NAME, platform::kEditClass, u"");
  out->Item(SS_LEFT, 4, 62, 30, 10, IDC_STATIC, platform::kStaticClass, u"Type:");
  out->Item(CBS_DROPDOWNLIST | WS_VSCROLL | WS_TABSTOP, 36, 60, 119, 60, IDC_OPEN_TYPE, platform::kComboClass, u"");
  out->Item(BS_DEFPUSHBUTTON | WS_TABSTOP, 60, 84, 45, 14, IDOK, platform::kButtonClass, u"OK");
  out->Item(BS_PUSHBUTTON | WS_TABSTOP, 110, 84, 45, 14, IDCANCEL, platform::kButtonClass, u"Cancel");
}

// The pairs of a filter text "name\0pattern\0...\0"; "*" when there are none.
void ReadFilters(LPCWSTR filter, OpenState* state) {
  while (filter && *filter) {
    std::u16string name = filter;
    filter += name.size() + 1;
    if (!*filter) break;
    std::u16string pattern = filter;
    filter += pattern.size() + 1;
    state->filterNames.push_back(name);
    state->filterPatterns.push_back(pattern);
  }
  if (state->filterNames.empty()) {
    state->filterNames.push_back(u"*");
    state->filterPatterns.push_back(kAllFilesPattern);
  }
  DWORD index = state->request->nFilterIndex;
  state->filter = index >= 1 && index <= state->filterNames.size() ? static_cast<int>(index) - 1 : 0;
}

std::u16string Join(const std::u16string& folder, const std::u16string& name) {
  return folder == u"\\" ? folder + name : folder + kSeparator + name;
}

bool IsFolder(const std::u16string& path) {
  DWORD attributes = GetFileAttributesW(path.c_str());
  return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
}

bool NameOrder(const std::u16string& a, const std::u16string& b) {
  return platform::FoldName(a) < platform::FoldName(b);
}

// The names that FindFirstFileW gives for a pattern in the folder, with or
// without folders.
void FindNames(const std::u16string& folder, const std::u16string& pattern, bool wantFolders,
               std::vector<std::u16string>* names) {
  WIN32_FIND_DATAW found;
  HANDLE search = FindFirstFileW(Join(folder, pattern).c_str(), &found);
  if (search == INVALID_HANDLE_VALUE) return;
  do {
    bool folderEntry = (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
    if (folderEntry == wantFolders) names->push_back(found.cFileName);
  } while (FindNextFileW(search, &found));
  FindClose(search);
}

void FillCombo(HWND window, int id, const std::vector<std::u16string>& items, int selection) {
  SendDlgItemMessageW(window, id, CB_RESETCONTENT, 0, 0);
  for (const auto& item : items)
    SendDlgItemMessageW(window, id, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(item.c_str()));
  SendDlgItemMessageW(window, id, CB_SETCURSEL, static_cast<WPARAM>(selection), 0);
}

// The folder path from "\" down to the one shown.
std::vector<std::u16string> FolderChain(const std::u16string& folder) {
  std::vector<std::u16string> chain = {u"\\"};
  for (size_t at = folder.find(kSeparator, 1); folder.size() > 1; at = folder.find(kSeparator, at + 1)) {
    chain.push_back(folder.substr(0, at));
    if (at == std::u16string::npos) break;
  }
  return chain;
}

// Lists the folder: its chain, its subfolders, and its files of the type.
void ShowFolder(OpenState* state) {
  std::vector<std::u16string> chain = FolderChain(state->folder);
  FillCombo(state->window, IDC_OPEN_FOLDER, chain, static_cast<int>(chain.size()) - 1);

  state->folders.clear();
  state->files.clear();
  FindNames(state->folder, kAllFilesPattern, true, &state->folders);
  std::u16string patterns = state->filterPatterns[state->filter];
  for (size_t start = 0; start <= patterns.size();) {
    size_t end = std::min(patterns.find(u';', start), patterns.size());
    std::u16string pattern = patterns.substr(start, end - start);
    while (!pattern.empty() && pattern.front() == u' ') pattern.erase(pattern.begin());
    if (!pattern.empty()) FindNames(state->folder, pattern, false, &state->files);
    start = end + 1;
  }
  for (auto* names : {&state->folders, &state->files}) {
    std::sort(names->begin(), names->end(), NameOrder);
    names->erase(std::unique(names->begin(), names->end()), names->end());
  }
  std::vector<std::u16string> entries;
  for (const auto& name : state->folders) entries.push_back(name + kSeparator);
  for (const auto& name : state->files) entries.push_back(name);
  FillCombo(state->window, IDC_OPEN_ENTRIES, entries, -1);
}

void OpenFolder(OpenState* state, const std::u16string& folder) {
  state->folder = folder;
  SetDlgItemTextW(state->window, IDC_OPEN_NAME, u"");
  ShowFolder(state);
}

void Finish(OpenState* state, BOOL result, DWORD error) {
  state->done = true;
  state->result = result;
  g_lastError = error;
}

// OK: a folder's name opens it; any other name is the choice.
void TakeName(OpenState* state) {
  WCHAR typed[MAX_PATH];
  GetDlgItemTextW(state->window, IDC_OPEN_NAME, typed, MAX_PATH);
  std::u16string name = typed;
  if (name.empty()) return;
  std::u16string path = name[0] == kSeparator || name[0] == u'/' ? name : Join(state->folder, name);
  if (IsFolder(path)) {
    OpenFolder(state, path);
    return;
  }
  LPOPENFILENAMEW request = state->request;
  request->nFilterIndex = static_cast<DWORD>(state->filter + 1);
  if (path.size() + 1 > request->nMaxFile) {
    Finish(state, FALSE, FNERR_BUFFERTOOSMALL);
    return;
  }
  std::copy(path.begin(), path.end(), request->lpstrFile);
  request->lpstrFile[path.size()] = 0;
  size_t nameStart = path.find_last_of(u"\\/") + 1;
  size_t dot = path.find_last_of(u'.');
  request->nFileOffset = static_cast<WORD>(nameStart);
  request->nFileExtension = static_cast<WORD>(dot != std::u16string::npos && dot >= nameStart ? dot + 1 : 0);
  if (request->lpstrFileTitle && request->nMaxFileTitle > 0)
    StringCchCopyW(request->lpstrFileTitle, request->nMaxFileTitle, path.c_str() + nameStart);
  Finish(state, TRUE, 0);
}

void EntryPicked(OpenState* state) {
  LRESULT picked = SendDlgItemMessageW(state->window, IDC_OPEN_ENTRIES, CB_GETCURSEL, 0, 0);
  if (picked < 0) return;
  size_t index = static_cast<size_t>(picked);
  if (index < state->folders.size())
    OpenFolder(state, Join(state->folder, state->folders[index]));
  else if (index - state->folders.size() < state->files.size())
    SetDlgItemTextW(state->window, IDC_OPEN_NAME, state->files[index - state->folders.size()].c_str());
}

// The one file-open window of the thread that is open; the window is modal,
// so there is never a second.
thread_local OpenState* g_open = nullptr;

INT_PTR CALLBACK OpenProc(HWND, UINT message, WPARAM wParam, LPARAM) {
  OpenState* state = g_open;
  if (!state || message != WM_COMMAND) return message == WM_INITDIALOG;
  int id = LOWORD(wParam);
  int code = HIWORD(wParam);
  if (id == IDOK)
    TakeName(state);
  else if (id == IDCANCEL)
    Finish(state, FALSE, 0);
  else if (id == IDC_OPEN_ENTRIES && code == CBN_SELCHANGE)
    EntryPicked(state);
  else if (id == IDC_OPEN_FOLDER && code == CBN_SELCHANGE) {
    std::vector<std::u16string> chain = FolderChain(state->folder);
    LRESULT picked = SendDlgItemMessageW(state->window, IDC_OPEN_FOLDER, CB_GETCURSEL, 0, 0);
    if (picked >= 0 && static_cast<size_t>(picked) < chain.size()) OpenFolder(state, chain[picked]);
  } else if (id == IDC_OPEN_TYPE && code == CBN_SELCHANGE) {
    LRESULT picked = SendDlgItemMessageW(state->window, IDC_OPEN_TYPE, CB_GETCURSEL, 0, 0);
    if (picked >= 0 && static_cast<size_t>(picked) < state->filterNames.size()) {
      state->filter = static_cast<int>(picked);
      ShowFolder(state);
    }
  }
  return TRUE;
}

// The folder shown first: the one asked for when it is a folder, else "\".
std::u16string StartFolder(LPCWSTR asked) {
  if (!asked || !*asked) return u"\\";
  std::u16string folder = asked;
  while (folder.size() > 1 && (folder.back() == kSeparator || folder.back() == u'/')) folder.pop_back();
  if (folder[0] != kSeparator || !IsFolder(folder)) return u"\\";
  return folder;
}

}  // namespace

BOOL GetOpenFileNameW(LPOPENFILENAMEW request) {
  if (!request || (request->lStructSize != OPENFILENAME_PHONE_SIZE && request->lStructSize != sizeof(OPENFILENAMEW))) {
    g_lastError = CDERR_STRUCTSIZE;
    return FALSE;
  }
  if (!request->lpstrFile || request->nMaxFile == 0 || g_open) {
    g_lastError = CDERR_INITIALIZATION;
    return FALSE;
  }
  OpenState state;
  state.request = request;
  state.folder = StartFolder(request->lpstrInitialDir);
  ReadFilters(request->lpstrFilter, &state);

  platform::TemplateWriter layout;
  WriteTemplate(&layout, request->lpstrTitle ? request->lpstrTitle : kDefaultTitle);
  HWND previous = GetForegroundWindow();
  g_open = &state;
  state.window = CreateDialogIndirectParamW(request->hInstance, layout.Data(), request->hwndOwner, OpenProc, 0);
  if (!state.window) {
    g_open = nullptr;
    g_lastError = CDERR_INITIALIZATION;
    return FALSE;
  }
  SHINITDLGINFO shell = {SHIDIM_FLAGS, state.window, SHIDIF_SIZEDLG};
  SHInitDialog(&shell);
  FillCombo(state.window, IDC_OPEN_TYPE, state.filterNames, state.filter);
  ShowFolder(&state);
  if (request->hwndOwner) EnableWindow(request->hwndOwner, FALSE);
  ShowWindow(state.window, SW_SHOW);
  SetForegroundWindow(state.window);
  SetFocus(GetDlgItem(state.window, IDC_OPEN_NAME));

  // The program's message loop runs on inside the window until a choice;
  // a quit message ends the window and is handed on to the outer loop.
  MSG msg;
  while (!state.done) {
    BOOL got = GetMessageW(&msg, nullptr, 0, 0);
    if (got == 0) {
      Finish(&state, FALSE, 0);
      PostQuitMessage(static_cast<int>(msg.wParam));
      break;
    }
    if (got < 0) {
      Finish(&state, FALSE, CDERR_INITIALIZATION);
      break;
    }
    TranslateMessage(&msg);
    DispatchMessageW(&msg);
  }
  if (request->hwndOwner) EnableWindow(request->hwndOwner, TRUE);
  DestroyWindow(state.window);
  g_open = nullptr;
  if (previous && IsWindow(previous)) SetForegroundWindow(previous);
  return state.result;
}

DWORD CommDlgExtendedError() { return g_lastError; }
