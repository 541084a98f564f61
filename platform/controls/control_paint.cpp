// The default painting of controls: reads each control's record (class,
// style, text, state, focus), asks its dialog for colours as Windows does
// (WM_CTLCOLORBTN, WM_CTLCOLORSTATIC, WM_CTLCOLOREDIT) and paints through
// the control painter.
#include "control_paint.h"

#include <mutex>

#include <commctrl.h>

#include "../gdi/gdi_objects.h"
#include "../user/paint.h"
#include "../user/window_model.h"
#include "drop_list.h"

namespace platform {
namespace {

constexpr Pixel kDefaultBackground = 0xFFFFFF;

// The text a button or label shows: "&" marks the next letter as its
// shortcut and is not shown ("&&" shows one "&").
std::u16string ShownText(const Window& w, bool prefixes) {
  if (!prefixes) return w.text;
  std::u16string shown;
  for (size_t i = 0; i < w.text.size(); ++i) {
    if (w.text[i] == u'&' && i + 1 < w.text.size()) ++i;
    shown += w.text[i];
  }
  return shown;
}

// Which colour message a control sends: disabled and read-only edits ask
// for a label's colours, as on Windows.
UINT ColorMessageOf(const Window& w, bool usable) {
  switch (w.kind) {
    case WindowKind::Button:
      return (w.style & BS_TYPEMASK) <= BS_DEFPUSHBUTTON ? WM_CTLCOLORBTN : WM_CTLCOLORSTATIC;
    case WindowKind::Edit:
    case WindowKind::ComboBox:
      return usable && !(w.style & ES_READONLY) ? WM_CTLCOLOREDIT : WM_CTLCOLORSTATIC;
    default:
      return WM_CTLCOLORSTATIC;
  }
}

RECT LocalRect(const Window& w) { return RECT{0, 0, w.rect.right - w.rect.left, w.rect.bottom - w.rect.top}; }

EditState EditStateOf(const Window& w, bool usable, bool focused) {
  EditState edit;
  edit.text = w.text;
  edit.enabled = usable;
  edit.focused = focused;
  edit.password = (w.style & ES_PASSWORD) != 0;
  edit.border = w.kind == WindowKind::ComboBox || (w.style & WS_BORDER) || (w.exStyle & WS_EX_CLIENTEDGE);
  // A drop-down's style bits are its own: its edit part is always left aligned.
  if (w.kind == WindowKind::Edit)
    edit.align = (w.style & ES_CENTER) ? TextAlign::Center : (w.style & ES_RIGHT) ? TextAlign::Right : TextAlign::Left;
  edit.selectionStart = w.control.selStart;
  edit.selectionEnd = w.control.selEnd;
  edit.caret = w.control.selEnd;
  return edit;
}

void PaintButton(Canvas& canvas, const Window& w, bool usable, bool focused, const ControlColors& colors) {
  RECT r = LocalRect(w);
  ButtonState state;
  state.enabled = usable;
  state.pressed = w.control.pushed;
  state.focused = focused;
  DWORD type = w.style & BS_TYPEMASK;
  std::u16string text = ShownText(w, true);
  switch (type) {
    case BS_GROUPBOX:
      painter::GroupBox(canvas, r, text, usable, colors);
      break;
    case BS_CHECKBOX:
    case BS_AUTOCHECKBOX:
    case BS_3STATE:
    case BS_AUTO3STATE:
    case BS_RADIOBUTTON:
    case BS_AUTORADIOBUTTON:
      painter::CheckBox(canvas, r, text, w.control.check != BST_UNCHECKED, state, colors);
      break;
    default:
      state.isDefault = type == BS_DEFPUSHBUTTON;
      painter::PushButton(canvas, r, text, state, colors);
      break;
  }
}

void PaintStatic(Canvas& canvas, const Window& w, bool usable, const ControlColors& colors) {
  DWORD type = w.style & SS_TYPEMASK;
  TextAlign align = type == SS_CENTER ? TextAlign::Center : type == SS_RIGHT ? TextAlign::Right : TextAlign::Left;
  painter::StaticText(canvas, LocalRect(w), ShownText(w, !(w.style & SS_NOPREFIX)), align,
                      (w.style & SS_CENTERIMAGE) != 0, usable, colors);
}

ComboState ComboStateOf(const Window& w, bool usable, bool focused) {
  ComboState combo;
  combo.edit = EditStateOf(w, usable, focused);
  combo.selection = w.control.selection;
  for (const std::u16string& item : w.control.items) combo.items.push_back(item);
  return combo;
}

}  // namespace

ControlColors ColorsFor(HWND control, HDC dc) {
  ControlColors colors;
  colors.background = kDefaultBackground;
  Window* w = FindWindowRecord(control);
  DeviceContext* context = ContextFromHandle(dc);
  if (!w || !context) return colors;
  Window* parent = FindWindowRecord(w->parent);
  LRESULT brush = 0;
  if (parent && parent->proc)
    brush = parent->proc(parent->handle, ColorMessageOf(*w, WindowUsable(control)), reinterpret_cast<WPARAM>(dc),
                         reinterpret_cast<LPARAM>(control));
  if (GdiBrush* b = BrushFromHandle(reinterpret_cast<HGDIOBJ>(brush))) colors.background = PixelFromColorRef(b->color);
  colors.text = PixelFromColorRef(context->textColor);
  colors.textBackground = PixelFromColorRef(context->bkColor);
  colors.opaqueText = context->bkMode == OPAQUE;
  return colors;
}

void PaintControl(HWND handle) {
  Window* w = FindWindowRecord(handle);
  if (!w) return;
  if (w->kind == WindowKind::Dialog || w->kind == WindowKind::Generic) {
    PAINTSTRUCT paint;
    if (BeginPaint(handle, &paint)) EndPaint(handle, &paint);
    return;
  }
  ValidateWindow(handle);
  if (!WindowShown(handle)) return;
  RECT onScreen = w->rect;
  HDC dc = CreateSurfaceDC(ScreenSurface(), POINT{onScreen.left, onScreen.top}, VisibleClientRect(handle), handle);
  ControlColors colors = ColorsFor(handle, dc);
  std::optional<Canvas> canvas = CanvasOf(dc);
  if ((w = FindWindowRecord(handle)) != nullptr && canvas) {
    bool usable = WindowUsable(handle);
    bool focused = FocusedWindow() == handle;
    switch (w->kind) {
      case WindowKind::Button:
        PaintButton(*canvas, *w, usable, focused, colors);
        break;
      case WindowKind::Static:
        PaintStatic(*canvas, *w, usable, colors);
        break;
      case WindowKind::Edit:
        painter::Edit(*canvas, LocalRect(*w), EditStateOf(*w, usable, focused), colors);
        break;
      case WindowKind::ComboBox: {
        ComboState combo = ComboStateOf(*w, usable, focused);
        combo.open = OpenDropDown() == handle;
        painter::ComboBox(*canvas, LocalRect(*w), combo, colors);
        break;
      }
      case WindowKind::Trackbar: {
        TrackbarState bar;
        bar.minimum = w->control.rangeMin;
        bar.maximum = w->control.rangeMax;
        bar.position = w->control.position;
        bar.enabled = usable;
        bar.focused = focused;
        // Automatic ticks mark every position; without, the ends only.
        bar.ticks = (w->style & TBS_NOTICKS) ? TrackbarTicks::None
                    : (w->style & TBS_AUTOTICKS) ? TrackbarTicks::Every : TrackbarTicks::Ends;
        painter::Trackbar(*canvas, LocalRect(*w), bar, colors);
        break;
      }
      default:
        break;
    }
  }
  DeleteDC(dc);
}

void InstallControlPainter() {
  static std::once_flag once;
  std::call_once(once, [] { SetDefaultPainter(PaintControl); });
}

}  // namespace platform
