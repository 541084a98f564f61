// The bar window: it answers colour requests with its one brush, draws the
// choice pictures, ends after six seconds without a tap, and hands taps to
// HandleChoiceTap.
#include "timer/timer_bar.h"

#include "timer/choice_bitmap.h"
#include "timer/choice_tap.h"
#include "timer/resource.h"
#include "timer/timer_state.h"

// Draws the pictures, each at the place the 0 picture's size gives within its
// cell; while a switch is pending only the 0 picture, the rest staying
// background.
static void PaintBar(HWND bar) {
  PAINTSTRUCT paint;
  HDC dc = BeginPaint(bar, &paint);
  int first = Timer.SwitchPending ? CHOICE_CANCEL : 0;
  for (int i = first; i < CHOICE_COUNT; ++i) {
    int x = Timer.Cells.Left[i] + (Timer.Cells.Width - Timer.PictureWidth) / 2;
    int y = (Timer.Command.BarHeight - Timer.PictureHeight + 1) / 2;
    RECT cell = {Timer.Cells.Left[i], 0, Timer.Cells.Left[i] + Timer.Cells.Width, Timer.Command.BarHeight};
    DrawChoiceBitmap(dc, Timer.PicturePaths[i], x, y, &cell);
  }
  EndPaint(bar, &paint);
}

static void EndBar(HWND bar) {
  DestroyWindow(bar);
  PostQuitMessage(0);
}

// While a switch is pending only the 0 cell, and what lies right of it, answers.
static void TapBar(HWND bar, int x) {
  if (!Timer.SwitchPending || x > Timer.Cells.Left[CHOICE_CANCEL]) HandleChoiceTap(x);
  InvalidateRect(bar, nullptr, TRUE);
  UpdateWindow(bar);
}

INT_PTR CALLBACK BarProc(HWND bar, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_INITDIALOG:
      return TRUE;
    case WM_CTLCOLORDLG:
      SetBkColor((HDC)wParam, BAR_COLOUR);
      return (INT_PTR)Timer.Background;
    case WM_CTLCOLORSTATIC:
      SetBkColor((HDC)wParam, BAR_COLOUR);
      SetTextColor((HDC)wParam, BAR_TEXT_COLOUR);
      return (INT_PTR)Timer.Background;
    case WM_PAINT:
      PaintBar(bar);
      return TRUE;
    case WM_TIMER:
      if (wParam == BAR_TIMER_ID && ++Timer.Ticks >= BAR_LIFETIME_TICKS) EndBar(bar);
      return TRUE;
    case WM_CLOSE:
      EndBar(bar);
      return TRUE;
    case WM_LBUTTONDOWN:
      TapBar(bar, LOWORD(lParam));
      return TRUE;
  }
  return FALSE;
}
