// The painting probe: a dialog in the colours a program chooses with the
// colour messages, which draws a picture resource and a picture file with
// a transparent colour on every paint and raises the input panel from a
// button, so that tests can look at the screen it makes.
#include <aygshell.h>
#include <commctrl.h>
#include <initializer_list>
#include <sipapi.h>
#include <windows.h>

#include "tests/screen/paint_probe_ids.h"

namespace {

const COLORREF kBackground = RGB(140, 165, 200);
const COLORREF kTransparent = RGB(255, 0, 255);
HINSTANCE g_instance;
HBRUSH g_brush;
bool g_keyboard;
bool g_landscape;  // a screen wider than 240 pixels: the landscape layout

// Draws a whole bitmap at (x, y) with its magenta left out.
void DrawPicture(HDC dc, HBITMAP picture, int x, int y) {
  if (!picture) return;
  BITMAP size;
  GetObjectW(picture, sizeof size, &size);
  HDC memory = CreateCompatibleDC(dc);
  HGDIOBJ previous = SelectObject(memory, picture);
  TransparentImage(dc, x, y, size.bmWidth, size.bmHeight, memory, 0, 0, size.bmWidth, size.bmHeight, kTransparent);
  SelectObject(memory, previous);
  DeleteDC(memory);
  DeleteObject(picture);
}

INT_PTR CALLBACK PaintProbeProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_INITDIALOG:
      return TRUE;
    case WM_PAINT: {
      PAINTSTRUCT paint;
      HDC dc = BeginPaint(dialog, &paint);
      DrawPicture(dc, LoadBitmapW(g_instance, MAKEINTRESOURCEW(IDB_PAINT_PICTURE)), g_landscape ? 255 : 5, 5);
      DrawPicture(dc, SHLoadDIBitmap(u"\\paint probe.bmp"), g_landscape ? 285 : 200, 5);
      EndPaint(dialog, &paint);
      return TRUE;
    }
    case WM_CTLCOLORDLG:
    case WM_CTLCOLORBTN:
    case WM_CTLCOLORSTATIC: {
      HDC dc = reinterpret_cast<HDC>(wParam);
      SetBkColor(dc, kBackground);
      if (reinterpret_cast<HWND>(lParam) == GetDlgItem(dialog, IDC_WHITE_LABEL)) SetTextColor(dc, RGB(255, 255, 255));
      return reinterpret_cast<INT_PTR>(g_brush);
    }
    case WM_COMMAND:
      if (LOWORD(wParam) == IDOK) {
        DestroyWindow(dialog);
        PostQuitMessage(0);
      } else if (LOWORD(wParam) == IDC_KEYBOARD) {
        g_keyboard = !g_keyboard;
        SipShowIM(g_keyboard ? SIPF_ON : SIPF_OFF);
        if (g_keyboard) {
          // Typing replaces the whole name, as the settings dialog arranges it.
          SetFocus(GetDlgItem(dialog, IDC_MODE_NAME));
          SendDlgItemMessageW(dialog, IDC_MODE_NAME, EM_SETSEL, 0, -1);
        }
      }
      return TRUE;
    default:
      return FALSE;
  }
}

}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPWSTR, int) {
  g_instance = instance;
  g_brush = CreateSolidBrush(kBackground);
  g_landscape = GetSystemMetrics(SM_CXSCREEN) > 240;
  int layout = g_landscape ? IDD_PAINT_PROBE_LANDSCAPE : IDD_PAINT_PROBE;
  HWND dialog = CreateDialogParamW(instance, MAKEINTRESOURCEW(layout), nullptr, PaintProbeProc, 0);
  if (!dialog) return 3;
  SHINITDLGINFO shell = {SHIDIM_FLAGS, dialog, SHIDIF_DONEBUTTON | SHIDIF_SIZEDLG};
  SHInitDialog(&shell);
  ShowWindow(dialog, SW_SHOW);
  SetForegroundWindow(dialog);
  SetWindowTextW(GetDlgItem(dialog, IDC_MODE_NAME), u"Home");
  HWND ring = GetDlgItem(dialog, IDC_RING);
  for (const char16_t* entry : {u"Ring Once", u"Ascending Ring", u"Vibrate"})
    SendMessageW(ring, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(entry));
  SendMessageW(ring, CB_SETCURSEL, 1, 0);
  SendDlgItemMessageW(dialog, IDC_RINGS, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(u"3"));
  SendDlgItemMessageW(dialog, IDC_RINGS, CB_SETCURSEL, 0, 0);
  SendDlgItemMessageW(dialog, IDC_VOLUME, TBM_SETRANGE, TRUE, MAKELPARAM(0, 5));
  SendDlgItemMessageW(dialog, IDC_VOLUME, TBM_SETPOS, TRUE, 3);
  SendDlgItemMessageW(dialog, IDC_SIM_CHECK, BM_SETCHECK, BST_CHECKED, 0);
  SetWindowTextW(GetDlgItem(dialog, IDC_SIM_CODE), u"1234");
  MSG msg;
  while (GetMessageW(&msg, nullptr, 0, 0)) {
    TranslateMessage(&msg);
    DispatchMessageW(&msg);
  }
  DeleteObject(g_brush);
  return static_cast<int>(msg.wParam);
}
