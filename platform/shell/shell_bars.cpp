// The shell's two bars: the top bar with the foreground window's title, the
// device clock and "ok" for a Done dialog, and the menu bar at the bottom
// with the button that raises the input panel; taps on them.
#include <string>

#include <windows.h>

#include "../controls/drop_list.h"
#include "../gdi/font.h"
#include "../text/utf.h"
#include "../user/window_model.h"
#include "input_panel.h"
#include "shell.h"

namespace platform {
namespace {

constexpr Pixel kBarTop = 0x2F5FC0;
constexpr Pixel kBarBottom = 0x0A2A7A;
constexpr Pixel kMenuFace = 0xDCE2EE;
constexpr Pixel kMenuLine = 0x6B7A99;

int ScreenWidth() { return GetSystemMetrics(SM_CXSCREEN); }
int ScreenHeight() { return GetSystemMetrics(SM_CYSCREEN); }

// The foreground dialog that shows the shell's "ok", or null.
Window* DoneDialog() {
  Window* w = FindWindowRecord(ForegroundWindowHandle());
  return w && w->doneButton && WindowShown(w->handle) ? w : nullptr;
}

std::u16string ClockText() {
  SYSTEMTIME now;
  GetLocalTime(&now);
  char text[8];
  std::snprintf(text, sizeof text, "%d:%02d", now.wHour % 24, now.wMinute % 60);
  return Utf8ToUtf16(text);
}

void PaintTopBar(Canvas& screen, const ShellBarState& bars) {
  int width = ScreenWidth();
  for (int y = 0; y < kTopBarHeight; ++y)
    screen.HLine(0, width - 1, y, BlendPixel(kBarTop, kBarBottom, y * 255 / (kTopBarHeight - 1)));
  const Font& bold = DialogFont(FontWeight::Bold);
  int textY = (kTopBarHeight - bold.metrics().height) / 2;

  int right = width - 4;
  if (bars.done) {
    RECT ok = ShellOkRect();
    screen.Fill(RECT{ok.left + 1, ok.top + 1, ok.right - 1, ok.bottom - 1}, 0x1A4AA8);
    screen.HLine(ok.left + 2, ok.right - 3, ok.top, 0xFFFFFF);
    screen.HLine(ok.left + 2, ok.right - 3, ok.bottom - 1, 0xFFFFFF);
    screen.VLine(ok.left, ok.top + 2, ok.bottom - 3, 0xFFFFFF);
    screen.VLine(ok.right - 1, ok.top + 2, ok.bottom - 3, 0xFFFFFF);
    screen.Plot(ok.left + 1, ok.top + 1, 0xFFFFFF);
    screen.Plot(ok.right - 2, ok.top + 1, 0xFFFFFF);
    screen.Plot(ok.left + 1, ok.bottom - 2, 0xFFFFFF);
    screen.Plot(ok.right - 2, ok.bottom - 2, 0xFFFFFF);
    int okWidth = bold.TextWidth(u"ok");
    bold.Draw(screen, (ok.left + ok.right - okWidth) / 2, textY, u"ok", 0xFFFFFF);
    right = ok.left - 6;
  }
  std::u16string clock = ClockText();
  int clockX = right - DialogFont().TextWidth(clock);
  DialogFont().Draw(screen, clockX, textY, clock, 0xFFFFFF);

  Canvas titleArea = screen.Sub(0, 0, RECT{0, 0, clockX - 6, kTopBarHeight});
  bold.Draw(titleArea, 6, textY, bars.title, 0xFFFFFF);
}

// A small keyboard drawn in the menu bar's button, with an arrow that says
// which way a tap moves the panel.
void PaintKeyboardButton(Canvas& screen, bool up) {
  RECT button = InputPanelButtonRect();
  if (up) screen.Fill(button, kMenuLine);
  Pixel ink = up ? 0xFFFFFF : 0x000000;
  RECT board = MakeRect(button.left + 5, button.top + 6, 19, 11);
  screen.Frame(board, ink);
  for (int row = 0; row < 2; ++row)
    for (int x = board.left + 2; x < board.right - 2; x += 3) screen.Plot(x, board.top + 2 + 2 * row, ink);
  screen.HLine(board.left + 5, board.right - 6, board.bottom - 3, ink);
  int ax = board.right + 5, ay = button.top + (button.bottom - button.top) / 2;
  for (int i = 0; i < 3; ++i) {
    int y = up ? ay - 1 + i : ay + 1 - i;
    screen.HLine(ax - i, ax + i, y, ink);
  }
}

void PaintMenuBar(Canvas& screen, bool inputPanelUp) {
  int width = ScreenWidth();
  int top = ScreenHeight() - kMenuBarHeight;
  screen.Fill(RECT{0, top, width, top + kMenuBarHeight}, kMenuFace);
  screen.HLine(0, width - 1, top, kMenuLine);
  PaintKeyboardButton(screen, inputPanelUp);
}

}  // namespace

RECT ShellOkRect() {
  int width = ScreenWidth();
  return RECT{width - 30, 3, width - 4, kTopBarHeight - 3};
}

RECT InputPanelButtonRect() {
  int width = ScreenWidth();
  int top = ScreenHeight() - kMenuBarHeight;
  return RECT{width / 2 - 18, top + 1, width / 2 + 18, top + kMenuBarHeight};
}

void PaintShellBars(Canvas& screen, const ShellBarState& bars) {
  PaintTopBar(screen, bars);
  PaintMenuBar(screen, bars.inputPanel);
}

ShellBarState OwnShellBars() {
  ShellBarState bars;
  if (Window* w = FindWindowRecord(ForegroundWindowHandle())) bars.title = w->text;
  bars.done = DoneDialog() != nullptr;
  bars.inputPanel = InputPanelShown();
  return bars;
}

bool PressShellOk() {
  Window* dialog = DoneDialog();
  if (!dialog) return false;
  PostMessageW(dialog->handle, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
  return true;
}

bool TapShell(int x, int y) {
  if (TapInputPanel(x, y) || TapDropList(x, y)) return true;
  if (y < kTopBarHeight) {
    if (RectContains(ShellOkRect(), x, y)) PressShellOk();
    return true;
  }
  if (y >= ScreenHeight() - kMenuBarHeight) {
    if (RectContains(InputPanelButtonRect(), x, y)) ShowInputPanel(!InputPanelShown());
    return true;
  }
  return false;
}

}  // namespace platform
