// The phone's shell on desktop windows: full-screen dialogs sized to the
// phone's screen below its top bar, pictures from BMP files, the input
// panel, and the record of the Today item's switches.
#include <string>

#include <aygshell.h>
#include <emulated_shell.h>
#include <sipapi.h>

#include "phone_hardware.h"
#include "phone_state_names.h"

namespace {

// The shell's top bar and menu bar, each this many pixels high.
const int kBarHeight = 26;

}  // namespace

BOOL SHInitDialog(PSHINITDLGINFO info) {
  if (!info || !(info->dwMask & SHIDIM_FLAGS) || !IsWindow(info->hDlg)) return FALSE;
  // The shell shows a dialog's title in its own top bar: the window has no
  // title bar of its own, as a desktop dialog with a CAPTION line has.
  const LONG style = GetWindowLongW(info->hDlg, GWL_STYLE);
  if ((style & WS_CAPTION) == WS_CAPTION) {
    SetWindowLongW(info->hDlg, GWL_STYLE, style & ~WS_CAPTION);
    SetWindowPos(info->hDlg, nullptr, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED);
  }
  if (!(info->dwFlags & (SHIDIF_SIZEDLG | SHIDIF_SIZEDLGFULLSCREEN | SHIDIF_FULLSCREENNOMENUBAR))) return TRUE;
  // The dialog takes the space of the phone's screen between the shell's
  // bars (no menu bar for the full-screen kinds).
  const int width = static_cast<int>(ce_layer::PhoneDword(nullptr, ce_layer::kScreenWidth, 240));
  const int height = static_cast<int>(ce_layer::PhoneDword(nullptr, ce_layer::kScreenHeight, 320));
  const bool menuBar = !(info->dwFlags & (SHIDIF_SIZEDLGFULLSCREEN | SHIDIF_FULLSCREENNOMENUBAR));
  const int bottom = height - (menuBar ? kBarHeight : 0);
  SetWindowPos(info->hDlg, nullptr, 0, kBarHeight, width, bottom - kBarHeight, SWP_NOZORDER | SWP_NOACTIVATE);
  return TRUE;
}

HBITMAP SHLoadDIBitmap(LPCWSTR path) {
  if (!path || !*path) return nullptr;
  return static_cast<HBITMAP>(LoadImageW(nullptr, path, IMAGE_BITMAP, 0, 0, LR_LOADFROMFILE | LR_CREATEDIBSECTION));
}

// Desktop Windows has no input panel to raise; the call is recorded.
BOOL SipShowIM(DWORD flags) {
  ce_layer::JournalAppend((flags & SIPF_ON) ? "SipShowIM 1" : "SipShowIM 0");
  return TRUE;
}

BOOL ShellRecordModeSwitch(DWORD mode, LPCWSTR modeName, LPCWSTR reason) {
  if (!modeName || !reason) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return FALSE;
  }
  ce_layer::JournalAppend("ModeSwitch " + std::to_string(mode) + " \"" + ce_layer::ToUtf8(modeName) + "\" " +
                          ce_layer::ToUtf8(reason));
  return TRUE;
}

BOOL ShellRecordModeException(LPCWSTR number, LPCWSTR callerName, LPCWSTR reason) {
  if (!number || !callerName || !reason) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return FALSE;
  }
  ce_layer::JournalAppend("ModeException " + ce_layer::ToUtf8(number) + " \"" + ce_layer::ToUtf8(callerName) +
                          "\" rings: " + ce_layer::ToUtf8(reason));
  return TRUE;
}
