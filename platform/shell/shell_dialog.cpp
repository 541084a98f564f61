// SHInitDialog: the shell's full-screen dialogs. The dialog is sized to the
// space between the shell's top bar and its menu bar, and with the Done
// flag the top bar shows "ok", which sends the dialog the command IDOK.
#include <aygshell.h>

#include "../user/window_model.h"
#include "shell.h"

BOOL SHInitDialog(PSHINITDLGINFO info) {
  using namespace platform;
  if (!info || !(info->dwMask & SHIDIM_FLAGS)) return FALSE;
  Window* dialog = FindWindowRecord(info->hDlg);
  if (!dialog || dialog->kind != WindowKind::Dialog) return FALSE;
  if (info->dwFlags & SHIDIF_DONEBUTTON) {
    dialog->doneButton = true;
    NoteWindowModelChanged();
  }
  int width = GetSystemMetrics(SM_CXSCREEN);
  int height = GetSystemMetrics(SM_CYSCREEN);
  int top = kTopBarHeight;
  if (info->dwFlags & (SHIDIF_SIZEDLG | SHIDIF_SIZEDLGFULLSCREEN | SHIDIF_FULLSCREENNOMENUBAR)) {
    bool menuBar = !(info->dwFlags & (SHIDIF_SIZEDLGFULLSCREEN | SHIDIF_FULLSCREENNOMENUBAR));
    int bottom = height - (menuBar ? kMenuBarHeight : 0);
    SetWindowPos(info->hDlg, nullptr, 0, top, width, bottom - top, SWP_NOZORDER | SWP_NOACTIVATE);
  }
  return TRUE;
}
