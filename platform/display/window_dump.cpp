// Dumps the program's windows as JSON: the program, the screen, the input
// panel and, front to back, each window with its controls and their state.
#include "window_dump.h"

#include <nlohmann/json.hpp>

#include "../controls/drop_list.h"
#include "../kernel/program.h"
#include "../shell/input_panel.h"
#include "../text/utf.h"
#include "../user/window_model.h"
#include "shared_screen.h"

namespace platform {

namespace {

using Json = nlohmann::ordered_json;

Json Rect(const RECT& r) { return Json::array({r.left, r.top, r.right - r.left, r.bottom - r.top}); }

bool IsCheckBox(const Window& w) {
  if (w.kind != WindowKind::Button) return false;
  DWORD type = w.style & BS_TYPEMASK;
  return type != BS_PUSHBUTTON && type != BS_DEFPUSHBUTTON && type != BS_GROUPBOX && type != BS_OWNERDRAW;
}

Json Control(const Window& w) {
  Json control;
  control["id"] = static_cast<WORD>(w.id);
  control["class"] = Utf16ToUtf8(w.className);
  control["text"] = Utf16ToUtf8(w.text);
  control["visible"] = (w.style & WS_VISIBLE) != 0;
  control["enabled"] = !(w.style & WS_DISABLED);
  control["focused"] = FocusedWindow() == w.handle;
  control["rect"] = Rect(w.rect);
  const ControlState& s = w.control;
  switch (w.kind) {
    case WindowKind::Button:
      if (IsCheckBox(w)) control["checked"] = s.check == BST_CHECKED;
      break;
    case WindowKind::ComboBox: {
      Json items = Json::array();
      for (const std::u16string& item : s.items) items.push_back(Utf16ToUtf8(item));
      control["items"] = items;
      control["selection"] = s.selection;
      DropListView list;
      if (ViewOpenDropList(&list) && list.combo == w.handle) {
        // The open list: where it lies, the entries it shows and the one highlighted.
        Json open = {{"rect", Rect(list.rect)}, {"top", list.top}, {"visible", list.visible},
                     {"highlight", list.highlight}};
        if (list.scrolls)
          open["scrollbar"] = {{"up", Rect(list.bar.up)}, {"down", Rect(list.bar.down)},
                               {"thumb", Rect(list.bar.thumb)}};
        control["list"] = open;
      }
      break;
    }
    case WindowKind::Trackbar:
      control["position"] = s.position;
      control["range"] = Json::array({s.rangeMin, s.rangeMax});
      break;
    case WindowKind::Edit:
      control["modified"] = s.modified;
      break;
    default:
      break;
  }
  return control;
}

Json OwnWindows() {
  Json windows = Json::array();
  for (HWND handle : TopLevelWindows()) {
    Window* w = FindWindowRecord(handle);
    if (!w) continue;
    Json window;
    window["program"] = ProgramName();
    window["title"] = Utf16ToUtf8(w->text);
    window["visible"] = (w->style & WS_VISIBLE) != 0;
    window["rect"] = Rect(w->rect);
    Json controls = Json::array();
    for (HWND child : w->children)
      if (Window* c = FindWindowRecord(child)) controls.push_back(Control(*c));
    window["controls"] = controls;
    windows.push_back(window);
  }
  return windows;
}

// Appends the windows of another program's dump; one that cannot be read
// (its program is just ending) is left out.
void AppendDump(Json& windows, const std::string& text) {
  Json other = Json::parse(text, nullptr, false);
  if (!other.is_array()) return;
  for (Json& window : other) windows.push_back(std::move(window));
}

}  // namespace

std::string DumpOwnWindows() { return OwnWindows().dump(); }

std::string DumpWindows() {
  Json dump;
  dump["program"] = ProgramName();
  dump["screen"] = {{"width", GetSystemMetrics(SM_CXSCREEN)}, {"height", GetSystemMetrics(SM_CYSCREEN)}};
  dump["sip"] = InputPanelShown();
  Json windows = Json::array();
  for (const std::string& text : WindowDumpsAbove()) AppendDump(windows, text);
  for (Json& window : OwnWindows()) windows.push_back(std::move(window));
  for (const std::string& text : WindowDumpsBelow()) AppendDump(windows, text);
  dump["windows"] = windows;
  return dump.dump(1) + "\n";
}

}  // namespace platform
