// The on-screen keyboard: SipShowIM, its five rows of keys scaled to the
// screen's width, and the characters its keys send to the focused window.
#include "input_panel.h"

#include <atomic>
#include <vector>

#include <sipapi.h>
#include <windows.h>

#include "../device/call_failure.h"
#include "../gdi/font.h"
#include "../kernel/journal.h"
#include "../user/window_model.h"
#include "shell.h"

namespace platform {
namespace {

constexpr int kRows = 5;
constexpr int kUnitsPerRow = 30;  // key widths are in half keys; a row is 15 keys wide
constexpr int kRowHeight = kInputPanelHeight / kRows;

enum class Special { None, Backspace, Tab, Enter, Shift, Caps, Space };

struct Key {
  const char16_t* label;   // what the key shows
  char16_t normal;         // what it types
  char16_t shifted;        // with Shift or Caps Lock
  int units;               // width in half keys
  Special special = Special::None;
};

const std::vector<std::vector<Key>>& Layout() {
  static const std::vector<std::vector<Key>> rows = {
      {{u"`", u'`', u'~', 2}, {u"1", u'1', u'!', 2}, {u"2", u'2', u'@', 2}, {u"3", u'3', u'#', 2},
       {u"4", u'4', u'$', 2}, {u"5", u'5', u'%', 2}, {u"6", u'6', u'^', 2}, {u"7", u'7', u'&', 2},
       {u"8", u'8', u'*', 2}, {u"9", u'9', u'(', 2}, {u"0", u'0', u')', 2}, {u"-", u'-', u'_', 2},
       {u"=", u'=', u'+', 2}, {u"", 8, 8, 4, Special::Backspace}},
      {{u"Tab", 9, 9, 3, Special::Tab}, {u"q", u'q', u'Q', 2}, {u"w", u'w', u'W', 2},
       {u"e", u'e', u'E', 2}, {u"r", u'r', u'R', 2}, {u"t", u't', u'T', 2}, {u"y", u'y', u'Y', 2},
       {u"u", u'u', u'U', 2}, {u"i", u'i', u'I', 2}, {u"o", u'o', u'O', 2}, {u"p", u'p', u'P', 2},
       {u"[", u'[', u'{', 2}, {u"]", u']', u'}', 2}, {u"\\", u'\\', u'|', 3}},
      {{u"CAP", 0, 0, 4, Special::Caps}, {u"a", u'a', u'A', 2}, {u"s", u's', u'S', 2},
       {u"d", u'd', u'D', 2}, {u"f", u'f', u'F', 2}, {u"g", u'g', u'G', 2}, {u"h", u'h', u'H', 2},
       {u"j", u'j', u'J', 2}, {u"k", u'k', u'K', 2}, {u"l", u'l', u'L', 2}, {u";", u';', u':', 2},
       {u"'", u'\'', u'"', 2}, {u"", 13, 13, 4, Special::Enter}},
      {{u"Shift", 0, 0, 5, Special::Shift}, {u"z", u'z', u'Z', 2}, {u"x", u'x', u'X', 2},
       {u"c", u'c', u'C', 2}, {u"v", u'v', u'V', 2}, {u"b", u'b', u'B', 2}, {u"n", u'n', u'N', 2},
       {u"m", u'm', u'M', 2}, {u",", u',', u'<', 2}, {u".", u'.', u'>', 2}, {u"/", u'/', u'?', 2},
       {u"Shift", 0, 0, 5, Special::Shift}},
      {{u"*", u'*', u'*', 3}, {u"@", u'@', u'@', 3}, {u"", u' ', u' ', 18, Special::Space},
       {u"(", u'(', u'(', 3}, {u")", u')', u')', 3}},
  };
  return rows;
}

std::atomic<bool> g_shown{false};
bool g_shift = false;
bool g_caps = false;

// The key's rectangle on the screen, for row `row` starting at `unit`.
RECT KeyRect(const RECT& panel, int row, int unit, int units) {
  int width = panel.right - panel.left;
  int left = panel.left + unit * width / kUnitsPerRow;
  int right = panel.left + (unit + units) * width / kUnitsPerRow;
  int top = panel.top + row * kRowHeight;
  return RECT{left, top, right, top + kRowHeight};
}

// Finds the key at (x, y); false when there is none.
bool FindKey(int x, int y, const Key** found, RECT* where) {
  if (!g_shown) return false;
  RECT panel = InputPanelRect();
  if (!RectContains(panel, x, y)) return false;
  int row = (y - panel.top) / kRowHeight;
  int unit = 0;
  for (const Key& key : Layout()[row]) {
    RECT r = KeyRect(panel, row, unit, key.units);
    if (x >= r.left && x < r.right) {
      *found = &key;
      *where = r;
      return true;
    }
    unit += key.units;
  }
  return false;
}

// The arrows of Backspace (pointing left) and Enter (down, then left),
// drawn since the dialog font has no arrow characters.
void PaintArrow(Canvas& canvas, const RECT& face, Special special, Pixel ink) {
  int cx = (face.left + face.right) / 2, cy = (face.top + face.bottom) / 2;
  int left = cx - 6, right = cx + 6;
  if (special == Special::Enter) {
    canvas.VLine(right, cy - 4, cy, ink);
    canvas.HLine(left, right, cy, ink);
  } else {
    canvas.HLine(left, right, cy, ink);
  }
  for (int i = 1; i <= 3; ++i) canvas.VLine(left + i, cy - i, cy + i, ink);
}

bool Lifted(const Key& key) {
  bool letter = key.normal >= u'a' && key.normal <= u'z';
  return g_shift != (g_caps && letter);
}

}  // namespace

bool InputPanelShown() { return g_shown; }

void ShowInputPanel(bool shown) {
  if (g_shown.exchange(shown) != shown) NoteWindowModelChanged();
}

RECT InputPanelRect() {
  int width = GetSystemMetrics(SM_CXSCREEN);
  int bottom = GetSystemMetrics(SM_CYSCREEN) - kMenuBarHeight;
  return RECT{0, bottom - kInputPanelHeight, width, bottom};
}

void PaintInputPanel(Canvas& screen) {
  if (!g_shown) return;
  RECT panel = InputPanelRect();
  screen.Fill(panel, 0xD6D3CE);
  const Font& font = DialogFont();
  for (int row = 0; row < kRows; ++row) {
    int unit = 0;
    for (const Key& key : Layout()[row]) {
      RECT r = KeyRect(panel, row, unit, key.units);
      unit += key.units;
      bool latched = (key.special == Special::Shift && g_shift) || (key.special == Special::Caps && g_caps);
      RECT face{r.left, r.top, r.right - 1, r.bottom - 1};
      screen.Fill(face, latched ? 0x000000 : 0xFFFFFF);
      screen.HLine(r.left, r.right - 1, r.bottom - 1, 0x808080);
      screen.VLine(r.right - 1, r.top, r.bottom - 1, 0x808080);
      std::u16string label = key.label;
      if (key.special == Special::None && Lifted(key)) label = std::u16string(1, key.shifted);
      Canvas inside = screen.Sub(0, 0, face);
      int x = face.left + (face.right - face.left - font.TextWidth(label)) / 2;
      int y = face.top + (face.bottom - face.top - font.metrics().height) / 2;
      font.Draw(inside, x, y, label, latched ? 0xFFFFFF : 0x000000);
      if (key.special == Special::Backspace || key.special == Special::Enter)
        PaintArrow(inside, face, key.special, 0x000000);
    }
  }
  screen.HLine(panel.left, panel.right - 1, panel.top, 0x808080);
}

bool TapInputPanel(int x, int y) {
  const Key* key = nullptr;
  RECT where;
  if (!FindKey(x, y, &key, &where)) return RectContains(InputPanelRect(), x, y) && g_shown;
  switch (key->special) {
    case Special::Shift:
      g_shift = !g_shift;
      NoteWindowModelChanged();
      return true;
    case Special::Caps:
      g_caps = !g_caps;
      NoteWindowModelChanged();
      return true;
    default:
      break;
  }
  char16_t c = Lifted(*key) ? key->shifted : key->normal;
  if (g_shift) {
    g_shift = false;
    NoteWindowModelChanged();
  }
  if (HWND focus = FocusedWindow()) PostMessageW(focus, WM_CHAR, c, 1);
  return true;
}

std::u16string InputPanelKeyAt(int x, int y) {
  const Key* key = nullptr;
  RECT where;
  return FindKey(x, y, &key, &where) ? std::u16string(key->label) : std::u16string();
}

}  // namespace platform

BOOL SipShowIM(DWORD flags) try {
  bool on = (flags & SIPF_ON) != 0;
  platform::JournalAppend(on ? "SipShowIM 1" : "SipShowIM 0");
  platform::ShowInputPanel(on);
  return TRUE;
} catch (...) {
  return platform::FailedCall(FALSE);
}
