// The look of the phone's controls, in one painter that every control draws
// through: each function paints one kind of control from its state, in the
// colours its dialog chose, into the control's own rectangle (0, 0, w, h).
#pragma once

#include <string_view>
#include <vector>

#include "../gdi/raster.h"

namespace platform {

// The colours a colour message gave a control: the brush behind it, the
// text colour and the text background of the device context.
struct ControlColors {
  Pixel background = 0xFFFFFF;
  Pixel text = 0x000000;
  Pixel textBackground = 0xFFFFFF;
  bool opaqueText = true;  // text background painted behind the text
};

namespace look {
constexpr Pixel kBlack = 0x000000;
constexpr Pixel kWhite = 0xFFFFFF;
constexpr Pixel kGreyText = 0x808080;
constexpr Pixel kShadow = 0x808080;
constexpr Pixel kFace = 0xD6D3CE;
constexpr Pixel kHighlight = 0x0A246A;
constexpr Pixel kHighlightText = 0xFFFFFF;
constexpr int kCheckBoxSize = 13;
}  // namespace look

enum class TextAlign { Left, Center, Right };

struct ButtonState {
  bool enabled = true;
  bool pressed = false;
  bool focused = false;
  bool isDefault = false;
};

struct EditState {
  std::u16string_view text;
  bool enabled = true;
  bool focused = false;
  bool password = false;
  bool border = true;
  TextAlign align = TextAlign::Left;
  int selectionStart = 0;  // in characters; start == end: no selection
  int selectionEnd = 0;
  int caret = 0;  // shown while focused
};

struct ComboState {
  EditState edit;  // the edit part
  bool open = false;
  std::vector<std::u16string_view> items;
  int selection = -1;  // the entry highlighted in the open list
  int topItem = 0;  // first item shown in the open list
};

// The parts of an open list's scroll bar, in the list's coordinates.
struct ListScrollBar {
  RECT up{}, down{}, thumb{};
  RECT track{};  // between the arrows: above the thumb pages up, below pages down
};

enum class TrackbarTicks { None, Ends, Every };

struct TrackbarState {
  int minimum = 0;
  int maximum = 100;
  int position = 0;
  bool enabled = true;
  bool focused = false;
  TrackbarTicks ticks = TrackbarTicks::Ends;
};

namespace painter {

// The height of one line of a drop-down's open list.
int ListItemHeight();
// Where the open list of a drop-down whose closed part is `closed` lies,
// for `visibleItems` lines (relative to the same origin as `closed`).
RECT ComboListRect(const RECT& closed, int visibleItems);
// The scroll bar of an open list of `count` entries showing `visible` from
// `topItem`; false when every entry fits and there is none.
bool ComboListScrollBar(const RECT& list, int count, int visible, int topItem, ListScrollBar* bar);
// The first entry shown when the thumb's top is dragged to y.
int ComboListTopAt(const ListScrollBar& bar, int count, int visible, int thumbTop);
// The width of the arrow button at the right of a drop-down.
int ComboButtonWidth(int closedHeight);
// The trackbar position under x (the control's own coordinates).
int TrackbarPositionAt(const RECT& bounds, const TrackbarState& state, int x);

void PushButton(Canvas& canvas, const RECT& r, std::u16string_view text, const ButtonState& state,
                const ControlColors& colors);
void CheckBox(Canvas& canvas, const RECT& r, std::u16string_view text, bool checked,
              const ButtonState& state, const ControlColors& colors);
void GroupBox(Canvas& canvas, const RECT& r, std::u16string_view caption, bool enabled,
              const ControlColors& colors);
// Static text: lines split at "\n" and wrapped at word boundaries, or one
// line centred from top to bottom (`middle`).
void StaticText(Canvas& canvas, const RECT& r, std::u16string_view text, TextAlign align,
                bool middle, bool enabled, const ControlColors& colors);
void Edit(Canvas& canvas, const RECT& r, const EditState& state, const ControlColors& colors);
// The closed part; the open list is painted by ComboList above everything.
void ComboBox(Canvas& canvas, const RECT& closed, const ComboState& state,
              const ControlColors& colors);
void ComboList(Canvas& canvas, const RECT& list, const ComboState& state);
void Trackbar(Canvas& canvas, const RECT& r, const TrackbarState& state,
              const ControlColors& colors);

}  // namespace painter
}  // namespace platform
