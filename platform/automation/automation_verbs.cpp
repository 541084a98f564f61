// The automation verbs that act on windows: click, tap, select, type, slide,
// key, ok and dump. Each acts as the user would, so a hidden or disabled control
// ignores it; naming a control that does not exist is a script mistake.
#include <fstream>

#include "../controls/controls.h"
#include "../display/host_input.h"
#include "../display/shared_screen.h"
#include "../display/taps.h"
#include "../display/window_dump.h"
#include "../shell/shell.h"
#include "../text/utf.h"
#include "../user/input.h"
#include "../user/window_model.h"
#include "automation.h"

namespace platform {

namespace {

constexpr WCHAR kBackspace = 8;

// The control with this identifier in the foreground window.
Window& NamedControl(const std::string& word) {
  long id = AutomationNumber(word);
  Window* foreground = FindWindowRecord(ForegroundWindowHandle());
  if (!foreground) throw AutomationError("no window in the foreground to find control " + word + " in");
  for (HWND child : foreground->children) {
    Window* c = FindWindowRecord(child);
    if (c && c->id == static_cast<WORD>(id)) return *c;
  }
  throw AutomationError("no control " + word + " in the foreground window");
}

bool TakesInput(const Window& control) { return WindowShown(control.handle) && WindowUsable(control.handle); }

void Click(const std::vector<std::string>& words, const std::string&) {
  ExpectWordCount(words, 1, "click ID");
  TapWindow(NamedControl(words[0]).handle);
}

void Tap(const std::vector<std::string>& words, const std::string&) {
  ExpectWordCount(words, 2, "tap X Y");
  DeliverTap(static_cast<int>(AutomationNumber(words[0])), static_cast<int>(AutomationNumber(words[1])));
}

void Select(const std::vector<std::string>& words, const std::string&) {
  ExpectWordCount(words, 2, "select ID N");
  Window& combo = NamedControl(words[0]);
  if (combo.kind != WindowKind::ComboBox) throw AutomationError("control " + words[0] + " is not a drop-down");
  long index = AutomationNumber(words[1]);
  if (index < 0 || index >= static_cast<long>(combo.control.items.size()))
    throw AutomationError("drop-down " + words[0] + " has no entry " + words[1] + " (it has " +
                          std::to_string(combo.control.items.size()) + ")");
  if (TakesInput(combo)) PickComboEntry(combo.handle, static_cast<int>(index));
}

// type ID TEXT: TEXT is everything after the identifier and one space.
void Type(const std::vector<std::string>& words, const std::string& rest) {
  if (words.empty()) throw AutomationError("expected: type ID TEXT");
  size_t idStart = rest.find_first_not_of(" \t");
  size_t idEnd = rest.find_first_of(" \t", idStart);
  std::string text = idEnd == std::string::npos ? "" : rest.substr(idEnd + 1);
  Window& control = NamedControl(words[0]);
  bool editPart = control.kind == WindowKind::ComboBox && (control.style & CBS_DROPDOWNLIST) != CBS_DROPDOWNLIST;
  if (control.kind != WindowKind::Edit && !editPart)
    throw AutomationError("control " + words[0] + " takes no typed text");
  if (!TakesInput(control)) return;
  // The user selects the whole text, deletes it and types the new one.
  HWND handle = control.handle;
  SetFocus(handle);
  if (Window* now = FindWindowRecord(handle)) {
    now->control.selStart = 0;
    now->control.selEnd = static_cast<int>(now->text.size());
  }
  PostMessageW(handle, WM_CHAR, kBackspace, 1);
  for (char16_t c : Utf8ToUtf16(text)) PostMessageW(handle, WM_CHAR, c, 1);
}

void Slide(const std::vector<std::string>& words, const std::string&) {
  ExpectWordCount(words, 2, "slide ID POS");
  Window& trackbar = NamedControl(words[0]);
  if (trackbar.kind != WindowKind::Trackbar) throw AutomationError("control " + words[0] + " is not a trackbar");
  long position = AutomationNumber(words[1]);
  if (!TakesInput(trackbar)) return;
  HWND handle = trackbar.handle;
  SetFocus(handle);
  SlideTrackbar(handle, static_cast<int>(position));
}

// key NAME: the key pressed on the keyboard, for the focused control or its
// open list (of whichever program is on top, as typed keys are).
void Key(const std::vector<std::string>& words, const std::string&) {
  static const std::map<std::string, HostKeyCode> kKeys = {
      {"Up", HostKeyCode::Up},         {"Down", HostKeyCode::Down}, {"PageUp", HostKeyCode::PageUp},
      {"PageDown", HostKeyCode::PageDown}, {"Home", HostKeyCode::Home}, {"End", HostKeyCode::End},
      {"Return", HostKeyCode::Enter},  {"Escape", HostKeyCode::Escape}, {"Tab", HostKeyCode::Tab}};
  ExpectWordCount(words, 1, "key NAME");
  auto found = kKeys.find(words[0]);
  if (found == kKeys.end())
    throw AutomationError("unknown key \"" + words[0] +
                          "\" (Up, Down, PageUp, PageDown, Home, End, Return, Escape or Tab)");
  HostKey(found->second);
}

void Ok(const std::vector<std::string>& words, const std::string&) {
  ExpectWordCount(words, 0, "ok");
  if (!SendOkToScreen()) PressShellOk();
}

void Dump(const std::vector<std::string>& words, const std::string& rest) {
  if (words.empty()) throw AutomationError("expected: dump FILE");
  size_t start = rest.find_first_not_of(" \t");
  size_t end = rest.find_last_not_of(" \t");
  std::string path = rest.substr(start, end - start + 1);
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out << DumpWindows();
  if (!out) throw AutomationError("cannot write the dump " + path);
}

}  // namespace

std::map<std::string, AutomationVerb> WindowVerbs() {
  return {{"click", Click}, {"tap", Tap}, {"select", Select}, {"type", Type},
          {"slide", Slide}, {"key", Key}, {"ok", Ok},         {"dump", Dump}};
}

}  // namespace platform
