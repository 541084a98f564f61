// MessageBoxW: a small dialog of the program, centred over the screen with
// the caption in the shell's top bar and the shell's "ok" (and a "Cancel"
// button when asked for), run modally by a nested message loop as the
// file-open window is.
#include <algorithm>
#include <string>

#include <aygshell.h>
#include <windows.h>

#include "dialog_template.h"

namespace {

constexpr WCHAR kDefaultCaption[] = u"Error";
constexpr short kBoxWidth = 150;  // dialog units
constexpr short kTextLeft = 6, kTextTop = 6;
constexpr short kLineHeight = 10;
// Characters per line of the text, an estimate kept low so that the text fits.
constexpr size_t kCharactersPerLine = 30;
constexpr short kButtonHeight = 14, kButtonWidth = 45;
constexpr int kTextId = 0xFFFF;

struct BoxState {
  bool done = false;
  int answer = IDOK;
};

thread_local BoxState* g_box = nullptr;

// Lines the text needs: each paragraph wrapped at about kCharactersPerLine.
short TextLines(const std::u16string& text) {
  size_t lines = 0, paragraph = 0;
  for (char16_t c : text + u'\n') {
    if (c != u'\n') {
      ++paragraph;
      continue;
    }
    lines += std::max<size_t>(1, (paragraph + kCharactersPerLine - 1) / kCharactersPerLine);
    paragraph = 0;
  }
  return static_cast<short>(std::min<size_t>(lines, 12));
}

INT_PTR CALLBACK BoxProc(HWND, UINT message, WPARAM wParam, LPARAM) {
  BoxState* state = g_box;
  if (!state || message != WM_COMMAND) return message == WM_INITDIALOG;
  int id = LOWORD(wParam);
  if (id == IDOK || id == IDCANCEL) {
    state->answer = id;
    state->done = true;
  }
  return TRUE;
}

}  // namespace

int MessageBoxW(HWND owner, LPCWSTR text, LPCWSTR caption, UINT type) {
  using namespace platform;
  if (g_box) return 0;  // one message box at a time
  std::u16string body = text ? text : u"";
  bool cancel = (type & 0xF) == MB_OKCANCEL;
  short textHeight = static_cast<short>(TextLines(body) * kLineHeight);
  short height = static_cast<short>(kTextTop + textHeight + 4 + (cancel ? kButtonHeight + 4 : 0));

  TemplateWriter layout;
  layout.Header(WS_POPUP | WS_CAPTION | DS_CENTER | DS_SETFONT, cancel ? 2 : 1, kBoxWidth, height,
                caption ? caption : kDefaultCaption);
  layout.Item(SS_LEFT, kTextLeft, kTextTop, kBoxWidth - 2 * kTextLeft, textHeight, kTextId, kStaticClass, body);
  if (cancel)
    layout.Item(BS_PUSHBUTTON | WS_TABSTOP, kBoxWidth - kTextLeft - kButtonWidth, short(height - kButtonHeight - 4),
                kButtonWidth, kButtonHeight, IDCANCEL, kButtonClass, u"Cancel");

  BoxState state;
  HWND previous = GetForegroundWindow();
  g_box = &state;
  HWND box = CreateDialogIndirectParamW(nullptr, layout.Data(), owner, BoxProc, 0);
  if (!box) {
    g_box = nullptr;
    return 0;
  }
  SHINITDLGINFO shell = {SHIDIM_FLAGS, box, SHIDIF_DONEBUTTON};
  SHInitDialog(&shell);
  if (owner) EnableWindow(owner, FALSE);
  ShowWindow(box, SW_SHOW);
  SetForegroundWindow(box);
  SetFocus(box);

  // The program's message loop runs on inside the box until it is closed; a
  // quit message closes it and is handed on to the outer loop.
  MSG msg;
  while (!state.done) {
    BOOL got = GetMessageW(&msg, nullptr, 0, 0);
    if (got <= 0) {
      if (got == 0) PostQuitMessage(static_cast<int>(msg.wParam));
      state.answer = cancel ? IDCANCEL : IDOK;
      break;
    }
    TranslateMessage(&msg);
    DispatchMessageW(&msg);
  }
  if (owner) EnableWindow(owner, TRUE);
  DestroyWindow(box);
  g_box = nullptr;
  if (previous && IsWindow(previous)) SetForegroundWindow(previous);
  return state.answer;
}
