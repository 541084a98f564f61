// The phone's control look: flat black-framed buttons and boxes, white edit
// fields, drop-downs with their arrow button and list, trackbars with a
// pointed thumb, all in the colours the dialog chose; disabled ones grey.
#include "control_painter.h"

#include <algorithm>
#include <string>

#include "../gdi/font.h"

namespace platform::painter {
namespace {

using namespace look;

const Font& TextFont() { return DialogFont(); }
int LineHeight() { return TextFont().metrics().height; }

int Width(const RECT& r) { return r.right - r.left; }
int Height(const RECT& r) { return r.bottom - r.top; }
RECT Inset(const RECT& r, int by) { return RECT{r.left + by, r.top + by, r.right - by, r.bottom - by}; }

// One line of text into `box`, aligned and vertically centred, clipped to box.
void TextLine(Canvas& canvas, const RECT& box, std::u16string_view text, TextAlign align,
              Pixel color) {
  Canvas inside = canvas.Sub(0, 0, box);
  int width = TextFont().TextWidth(text);
  int x = box.left;
  if (align == TextAlign::Center) x = box.left + (Width(box) - width) / 2;
  if (align == TextAlign::Right) x = box.right - width;
  int y = box.top + (Height(box) - LineHeight()) / 2;
  TextFont().Draw(inside, x, y, text, color);
}

// Splits text into lines that fit `width`: at "\n", and between words.
std::vector<std::u16string_view> WrapLines(std::u16string_view text, int width) {
  std::vector<std::u16string_view> lines;
  size_t start = 0;
  while (start <= text.size()) {
    size_t end = text.find(u'\n', start);
    if (end == std::u16string_view::npos) end = text.size();
    std::u16string_view paragraph = text.substr(start, end - start);
    if (!paragraph.empty() && paragraph.back() == u'\r') paragraph.remove_suffix(1);
    // Greedy word wrap; a word longer than the line stays whole.
    while (TextFont().TextWidth(paragraph) > width) {
      size_t cut = paragraph.size();
      while (cut > 0) {
        size_t space = paragraph.rfind(u' ', cut - 1);
        if (space == std::u16string_view::npos || space == 0) {
          cut = 0;
          break;
        }
        cut = space;
        if (TextFont().TextWidth(paragraph.substr(0, cut)) <= width) break;
      }
      if (cut == 0) break;
      lines.push_back(paragraph.substr(0, cut));
      size_t next = cut;
      while (next < paragraph.size() && paragraph[next] == u' ') ++next;
      paragraph = paragraph.substr(next);
    }
    lines.push_back(paragraph);
    start = end + 1;
  }
  return lines;
}

// A frame without its four corner pixels: the phone's softened buttons.
void RoundedFrame(Canvas& canvas, const RECT& r, Pixel color) {
  canvas.HLine(r.left + 1, r.right - 2, r.top, color);
  canvas.HLine(r.left + 1, r.right - 2, r.bottom - 1, color);
  canvas.VLine(r.left, r.top + 1, r.bottom - 2, color);
  canvas.VLine(r.right - 1, r.top + 1, r.bottom - 2, color);
}

// A small solid triangle pointing down, centred on (cx, cy).
void DownArrow(Canvas& canvas, int cx, int cy, Pixel color) {
  for (int row = 0; row < 4; ++row) canvas.HLine(cx - 3 + row, cx + 3 - row, cy - 1 + row, color);
}
void UpArrow(Canvas& canvas, int cx, int cy, Pixel color) {
  for (int row = 0; row < 4; ++row) canvas.HLine(cx - row, cx + row, cy - 2 + row, color);
}

// A raised box: white on the top and left, shadow and black on the bottom and right.
void RaisedBox(Canvas& canvas, const RECT& r) {
  canvas.Fill(r, kFace);
  canvas.HLine(r.left, r.right - 2, r.top, kWhite);
  canvas.VLine(r.left, r.top, r.bottom - 2, kWhite);
  canvas.HLine(r.left, r.right - 1, r.bottom - 1, kBlack);
  canvas.VLine(r.right - 1, r.top, r.bottom - 1, kBlack);
  canvas.HLine(r.left + 1, r.right - 2, r.bottom - 2, kShadow);
  canvas.VLine(r.right - 2, r.top + 1, r.bottom - 2, kShadow);
}

// Edit text, with the selection highlighted and the caret, scrolled so that
// the caret stays inside.
void EditText(Canvas& canvas, const RECT& box, const EditState& state, Pixel textColor) {
  std::u16string shown(state.text);
  if (state.password) shown.assign(state.text.size(), u'\u2022');
  const Font& font = TextFont();
  int count = int(shown.size());
  auto prefix = [&](int n) { return font.TextWidth(std::u16string_view(shown).substr(0, std::clamp(n, 0, count))); };
  int total = prefix(count);
  int x = box.left;
  if (state.align == TextAlign::Center) x = box.left + (Width(box) - total) / 2;
  if (state.align == TextAlign::Right) x = box.right - 1 - total;
  int caretX = x + prefix(state.caret);
  if (caretX >= box.right) x -= caretX - box.right + 1;
  if (caretX < box.left) x += box.left - caretX;
  int y = box.top + (Height(box) - LineHeight()) / 2;

  Canvas inside = canvas.Sub(0, 0, box);
  int selFrom = std::clamp(std::min(state.selectionStart, state.selectionEnd), 0, count);
  int selTo = std::clamp(std::max(state.selectionStart, state.selectionEnd), 0, count);
  bool selected = state.focused && selFrom < selTo;
  std::u16string_view view(shown);
  int pen = font.Draw(inside, x, y, view.substr(0, selected ? selFrom : count), textColor);
  if (selected) {
    int selWidth = font.TextWidth(view.substr(selFrom, selTo - selFrom));
    inside.Fill(MakeRect(pen, y, selWidth, LineHeight()), kHighlight);
    pen = font.Draw(inside, pen, y, view.substr(selFrom, selTo - selFrom), kHighlightText);
    font.Draw(inside, pen, y, view.substr(selTo), textColor);
  }
  if (state.focused && state.enabled) {
    int cx = x + prefix(state.caret);
    inside.VLine(cx, y, y + LineHeight() - 1, kBlack);
  }
}

}  // namespace

int ListItemHeight() { return LineHeight() + 1; }
int ComboButtonWidth(int closedHeight) { return std::clamp(closedHeight - 6, 9, 13); }

RECT ComboListRect(const RECT& closed, int visibleItems) {
  return RECT{closed.left, closed.bottom - 1, closed.right,
              closed.bottom + 1 + std::max(visibleItems, 1) * ListItemHeight()};
}

void PushButton(Canvas& canvas, const RECT& r, std::u16string_view text, const ButtonState& state,
                const ControlColors& colors) {
  bool down = state.pressed && state.enabled;
  canvas.Fill(r, colors.background);
  canvas.Fill(Inset(r, 1), down ? kBlack : colors.background);
  RoundedFrame(canvas, r, state.enabled ? kBlack : kGreyText);
  if (state.isDefault && state.enabled) canvas.Frame(Inset(r, 1), kBlack);
  Pixel textColor = !state.enabled ? kGreyText : down ? kWhite : colors.text;
  TextLine(canvas, Inset(r, 1), text, TextAlign::Center, textColor);
  if (state.focused && !down && Height(r) >= 18) canvas.DottedFrame(Inset(r, 3), colors.text);
}

void CheckBox(Canvas& canvas, const RECT& r, std::u16string_view text, bool checked,
              const ButtonState& state, const ControlColors& colors) {
  canvas.Fill(r, colors.background);
  int top = r.top + (Height(r) - kCheckBoxSize) / 2;
  RECT box = MakeRect(r.left, top, kCheckBoxSize, kCheckBoxSize);
  canvas.Fill(box, state.enabled && !state.pressed ? kWhite : kFace);
  canvas.Frame(box, state.enabled ? kBlack : kGreyText);
  if (checked) {
    // The tick: a short stroke down to the right, then a long one up, 3 pixels thick.
    Pixel mark = state.enabled ? kBlack : kGreyText;
    int x = box.left + 3, y = box.top + 5;
    for (int i = 0; i < 7; ++i) {
      int dy = i < 3 ? i : 4 - i;
      canvas.VLine(x + i, y + dy, y + dy + 2, mark);
    }
  }
  if (text.empty()) return;
  RECT label{box.right + 4, r.top, r.right, r.bottom};
  int textWidth = TextFont().TextWidth(text);
  int y = r.top + (Height(r) - LineHeight()) / 2;
  if (colors.opaqueText)
    canvas.Fill(IntersectRects(MakeRect(label.left, y, textWidth, LineHeight()), label),
                colors.textBackground);
  TextLine(canvas, label, text, TextAlign::Left, state.enabled ? colors.text : kGreyText);
  if (state.focused)
    canvas.DottedFrame(IntersectRects(MakeRect(label.left - 1, y, textWidth + 2, LineHeight()), label),
                       colors.text);
}

void GroupBox(Canvas& canvas, const RECT& r, std::u16string_view caption, bool enabled,
              const ControlColors& colors) {
  int lineY = r.top + LineHeight() / 2;
  canvas.Frame(RECT{r.left, lineY, r.right, r.bottom}, enabled ? kBlack : kGreyText);
  if (caption.empty()) return;
  int width = std::min(TextFont().TextWidth(caption), Width(r) - 16);
  RECT label = MakeRect(r.left + 6, r.top, width + 4, LineHeight());
  canvas.Fill(label, colors.opaqueText ? colors.textBackground : colors.background);
  TextLine(canvas, RECT{label.left + 2, label.top, label.right - 1, label.bottom}, caption,
           TextAlign::Left, enabled ? colors.text : kGreyText);
}

void StaticText(Canvas& canvas, const RECT& r, std::u16string_view text, TextAlign align,
                bool middle, bool enabled, const ControlColors& colors) {
  canvas.Fill(r, colors.background);
  Canvas inside = canvas.Sub(0, 0, r);
  std::vector<std::u16string_view> lines =
      middle ? std::vector<std::u16string_view>{text} : WrapLines(text, Width(r));
  int y = middle ? r.top + (Height(r) - LineHeight()) / 2 : r.top;
  for (std::u16string_view line : lines) {
    int width = TextFont().TextWidth(line);
    int x = r.left;
    if (align == TextAlign::Center) x = r.left + (Width(r) - width) / 2;
    if (align == TextAlign::Right) x = r.right - width;
    if (colors.opaqueText && width > 0)
      inside.Fill(MakeRect(x, y, width, LineHeight()), colors.textBackground);
    TextFont().Draw(inside, x, y, line, enabled ? colors.text : kGreyText);
    y += LineHeight();
  }
}

void Edit(Canvas& canvas, const RECT& r, const EditState& state, const ControlColors& colors) {
  canvas.Fill(r, colors.background);
  RECT inner = r;
  if (state.border) {
    canvas.Frame(r, state.enabled ? kBlack : kGreyText);
    inner = Inset(r, 1);
  }
  RECT text{inner.left + 2, inner.top, inner.right - 2, inner.bottom};
  EditText(canvas, text, state, state.enabled ? colors.text : kGreyText);
}

void ComboBox(Canvas& canvas, const RECT& closed, const ComboState& state,
              const ControlColors& colors) {
  const EditState& edit = state.edit;
  canvas.Fill(closed, colors.background);
  Pixel line = edit.enabled ? kBlack : kGreyText;
  canvas.Frame(closed, line);
  int buttonWidth = ComboButtonWidth(Height(closed));
  RECT button{closed.right - 1 - buttonWidth, closed.top + 1, closed.right - 1, closed.bottom - 1};
  canvas.Fill(button, state.open ? kBlack : kWhite);
  canvas.VLine(button.left - 1, closed.top, closed.bottom - 1, line);
  DownArrow(canvas, (button.left + button.right - 1) / 2, (button.top + button.bottom) / 2,
            state.open ? kWhite : line);
  RECT text{closed.left + 3, closed.top + 1, button.left - 2, closed.bottom - 1};
  EditText(canvas, text, edit, edit.enabled ? colors.text : kGreyText);
}

void ComboList(Canvas& canvas, const RECT& list, const ComboState& state) {
  canvas.Fill(list, kWhite);
  canvas.Frame(list, kBlack);
  int itemHeight = ListItemHeight();
  int visible = std::max(1, (Height(list) - 2) / itemHeight);
  int count = int(state.items.size());
  int right = list.right - 1;
  ListScrollBar bar;
  if (ComboListScrollBar(list, count, visible, state.topItem, &bar)) {
    canvas.Fill(RECT{bar.up.left, bar.up.top, bar.up.right, bar.down.bottom}, 0xE8E8E8);
    RaisedBox(canvas, bar.up);
    RaisedBox(canvas, bar.down);
    int half = (bar.up.right - bar.up.left) / 2;
    UpArrow(canvas, bar.up.left + half, bar.up.top + half, kBlack);
    DownArrow(canvas, bar.down.left + half, bar.down.top + half - 1, kBlack);
    RaisedBox(canvas, bar.thumb);
    right = bar.up.left;
  }
  Canvas inside = canvas.Sub(0, 0, RECT{list.left + 1, list.top + 1, right, list.bottom - 1});
  for (int i = 0; i < visible && state.topItem + i < count; ++i) {
    int index = state.topItem + i;
    RECT item{list.left + 1, list.top + 1 + i * itemHeight, right, list.top + 1 + (i + 1) * itemHeight};
    bool chosen = index == state.selection;
    if (chosen) inside.Fill(item, kHighlight);
    TextLine(inside, RECT{item.left + 2, item.top, item.right, item.bottom}, state.items[index],
             TextAlign::Left, chosen ? kHighlightText : kBlack);
  }
}

bool ComboListScrollBar(const RECT& list, int count, int visible, int topItem, ListScrollBar* bar) {
  if (count <= visible) return false;
  // Arrow boxes at both ends, the thumb sized by the part shown.
  constexpr int kBarWidth = 11;
  int left = list.right - 1 - kBarWidth, top = list.top + 1, bottom = list.bottom - 1;
  bar->up = MakeRect(left, top, kBarWidth, kBarWidth);
  bar->down = MakeRect(left, bottom - kBarWidth, kBarWidth, kBarWidth);
  bar->track = RECT{left, bar->up.bottom, left + kBarWidth, bar->down.top};
  int track = Height(bar->track);
  int thumb = std::max(6, track * visible / count);
  int range = count - visible;
  int thumbTop = bar->track.top + (track - thumb) * std::clamp(topItem, 0, range) / range;
  bar->thumb = RECT{left, thumbTop, left + kBarWidth, thumbTop + thumb};
  return true;
}

int ComboListTopAt(const ListScrollBar& bar, int count, int visible, int thumbTop) {
  int range = std::max(0, count - visible);
  int travel = Height(bar.track) - Height(bar.thumb);
  if (travel <= 0 || range == 0) return 0;
  int moved = std::clamp(thumbTop - int(bar.track.top), 0, travel);
  // Rounded to the nearest entry, so that the thumb lands where it is let go.
  return (moved * range + travel / 2) / travel;
}

namespace {

constexpr int kThumbWidth = 11;

// The channel's ends: the thumb's centre at the minimum and at the maximum.
void ChannelSpan(const RECT& r, int* from, int* to) {
  *from = r.left + kThumbWidth / 2 + 2;
  *to = std::max(*from, r.right - 1 - kThumbWidth / 2 - 2);
}

int XOfPosition(const RECT& r, const TrackbarState& s, int position) {
  int from, to;
  ChannelSpan(r, &from, &to);
  int span = s.maximum - s.minimum;
  if (span <= 0) return from;
  int p = std::clamp(position, s.minimum, s.maximum) - s.minimum;
  return from + int((int64_t(p) * (to - from) + span / 2) / span);
}

}  // namespace

int TrackbarPositionAt(const RECT& bounds, const TrackbarState& state, int x) {
  int from, to;
  ChannelSpan(bounds, &from, &to);
  int span = state.maximum - state.minimum;
  if (span <= 0 || to == from) return state.minimum;
  int offset = std::clamp(x, from, to) - from;
  return state.minimum + int((int64_t(offset) * span + (to - from) / 2) / (to - from));
}

void Trackbar(Canvas& canvas, const RECT& r, const TrackbarState& state,
              const ControlColors& colors) {
  canvas.Fill(r, colors.background);
  int point = kThumbWidth / 2;
  int thumbTop = r.top + 2;
  int thumbTip = r.bottom - 6;  // leaves room for the ticks below
  int bodyBottom = std::max(thumbTop + 3, thumbTip - point);
  int from, to;
  ChannelSpan(r, &from, &to);

  // The sunken channel, centred on the thumb's body.
  int channelY = (thumbTop + bodyBottom) / 2 - 1;
  RECT channel{from - 2, channelY, to + 3, channelY + 4};
  canvas.Fill(channel, kWhite);
  canvas.HLine(channel.left, channel.right - 1, channel.top, kShadow);
  canvas.VLine(channel.left, channel.top, channel.bottom - 1, kShadow);
  canvas.HLine(channel.left + 1, channel.right - 2, channel.top + 1, kBlack);

  // Ticks under the channel: both ends, or every position while they stand
  // at least three pixels apart.
  Pixel tick = state.enabled ? kBlack : kGreyText;
  int tickTop = std::min(thumbTip + 2, r.bottom - 3);
  auto drawTick = [&](int position) {
    canvas.VLine(XOfPosition(r, state, position), tickTop, std::min(tickTop + 2, int(r.bottom) - 1), tick);
  };
  if (state.ticks != TrackbarTicks::None) {
    drawTick(state.minimum);
    drawTick(state.maximum);
  }
  int span = state.maximum - state.minimum;
  if (state.ticks == TrackbarTicks::Every && span > 0 && (to - from) / span >= 3)
    for (int p = state.minimum + 1; p < state.maximum; ++p) drawTick(p);

  // The thumb: a raised body with a point towards the ticks.
  int cx = XOfPosition(r, state, state.position);
  int left = cx - kThumbWidth / 2, right = cx + kThumbWidth / 2;
  Pixel edge = state.enabled ? kBlack : kShadow;
  canvas.Fill(RECT{left, thumbTop, right + 1, bodyBottom + 1}, kFace);
  for (int i = 1; i <= point && bodyBottom + i <= thumbTip; ++i)
    canvas.HLine(left + i, right - i, bodyBottom + i, kFace);
  canvas.HLine(left, right - 1, thumbTop, kWhite);
  canvas.VLine(left, thumbTop, bodyBottom, kWhite);
  canvas.VLine(right, thumbTop, bodyBottom, edge);
  canvas.VLine(right - 1, thumbTop + 1, bodyBottom, kShadow);
  for (int i = 1; i <= point && bodyBottom + i <= thumbTip; ++i) {
    canvas.Plot(left + i - 1, bodyBottom + i, kWhite);
    canvas.Plot(right - i + 1, bodyBottom + i, edge);
    canvas.Plot(right - i, bodyBottom + i, kShadow);
  }
  if (!state.enabled)
    for (int y = thumbTop + 2; y < bodyBottom; y += 2)
      for (int x = left + 2 + (y & 1); x < right - 1; x += 2) canvas.Plot(x, y, kShadow);
}

}  // namespace platform::painter
