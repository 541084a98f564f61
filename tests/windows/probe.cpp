// The probe program: shows a dialog with every kind of control under the
// real program entry and reports on standard output what its dialog
// procedure hears, so that tests can drive it with scripts and dumps.
#include <aygshell.h>
#include <commctrl.h>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <windows.h>

#include "platform/text/utf.h"
#include "tests/windows/probe_ids.h"

namespace {

// Ticks each timer gives before the probe stops it.
constexpr int kTicksPerTimer = 3;
constexpr UINT_PTR kWindowTimer = 1;

HWND g_dialog;
int g_windowTicks;
int g_threadTicks;
UINT_PTR g_threadTimer;

void Report(const std::string& line) {
  std::printf("%s\n", line.c_str());
  std::fflush(stdout);
}

std::string TextOf(HWND window) {
  WCHAR text[256];
  GetWindowTextW(window, text, 256);
  return platform::Utf16ToUtf8(text);
}

VOID CALLBACK ThreadTick(HWND, UINT, UINT_PTR id, DWORD) {
  Report("thread timer at " + std::to_string(GetTickCount()));
  if (++g_threadTicks == kTicksPerTimer) KillTimer(nullptr, id);
}

INT_PTR CALLBACK ProbeProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_INITDIALOG:
      Report("init");
      return TRUE;
    case WM_COMMAND:
      if (LOWORD(wParam) == IDOK) {
        Report("done");
        DestroyWindow(dialog);
        PostQuitMessage(0);
        return TRUE;
      }
      Report("command " + std::to_string(LOWORD(wParam)) + " " + std::to_string(HIWORD(wParam)) + " " +
             TextOf(reinterpret_cast<HWND>(lParam)));
      return TRUE;
    case WM_HSCROLL:
      Report("scroll " + std::to_string(LOWORD(wParam)) + " " +
             std::to_string(SendMessageW(reinterpret_cast<HWND>(lParam), TBM_GETPOS, 0, 0)));
      return TRUE;
    case WM_LBUTTONDOWN:
      Report("tap " + std::to_string(LOWORD(lParam)) + " " + std::to_string(HIWORD(lParam)));
      return TRUE;
    case WM_TIMER:
      Report("window timer at " + std::to_string(GetTickCount()));
      if (++g_windowTicks == kTicksPerTimer) KillTimer(dialog, kWindowTimer);
      return TRUE;
    default:
      return FALSE;
  }
}

void Fill(HWND combo, std::initializer_list<const char16_t*> entries) {
  for (const char16_t* entry : entries) SendMessageW(combo, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(entry));
}

}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPWSTR commandLine, int) {
  // The script belongs to this program alone: what it starts must not see it.
  if (std::getenv("SELVANE_INPUT")) Report("script visible to children");
  // A screen wider than 240 pixels takes the landscape layout, as the programs do.
  int layout = GetSystemMetrics(SM_CXSCREEN) > 240 ? IDD_PROBE_LANDSCAPE : IDD_PROBE;
  g_dialog = CreateDialogParamW(instance, MAKEINTRESOURCEW(layout), nullptr, ProbeProc, 0);
  if (!g_dialog) return 3;
  SHINITDLGINFO shell = {SHIDIM_FLAGS, g_dialog, SHIDIF_DONEBUTTON | SHIDIF_SIZEDLG};
  SHInitDialog(&shell);
  ShowWindow(g_dialog, SW_SHOW);
  SetForegroundWindow(g_dialog);
  Fill(GetDlgItem(g_dialog, IDC_PLAIN), {u"One", u"Two", u"Three"});
  Fill(GetDlgItem(g_dialog, IDC_SORTED), {u"pear", u"Apple", u"fig", u"banana"});
  SendDlgItemMessageW(g_dialog, IDC_CODE, EM_LIMITTEXT, PROBE_CODE_LIMIT, 0);
  SendDlgItemMessageW(g_dialog, IDC_SLIDER, TBM_SETRANGE, TRUE, MAKELPARAM(0, 10));
  SendDlgItemMessageW(g_dialog, IDC_SLIDER, TBM_SETPOS, TRUE, 3);
  if (std::u16string(commandLine) == u"timers") {
    SetTimer(g_dialog, kWindowTimer, 300, nullptr);
    g_threadTimer = SetTimer(nullptr, 0, 200, ThreadTick);
  }
  MSG msg;
  while (GetMessageW(&msg, nullptr, 0, 0)) {
    TranslateMessage(&msg);
    DispatchMessageW(&msg);
  }
  Report("quit " + std::to_string(msg.wParam));
  return static_cast<int>(msg.wParam);
}
