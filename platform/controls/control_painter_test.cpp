// The control painter and the raster under it: state shows in the pixels,
// text stays inside its control, hidden text stays hidden.
#include <gtest/gtest.h>

#include "../gdi/font.h"
#include "control_painter.h"

using namespace platform;

namespace {

const ControlColors kBlue{MakePixel(140, 165, 200), 0x000000, MakePixel(140, 165, 200), true};

// Paints into a surface with a 10-pixel margin and returns it.
template <typename Paint>
Surface Painted(int width, int height, Paint paint) {
  Surface s(width + 20, height + 20, 0x123456);
  Canvas canvas(s, POINT{10, 10}, MakeRect(10, 10, width, height));
  paint(canvas, MakeRect(0, 0, width, height));
  return s;
}

int CountColor(const Surface& s, Pixel color) {
  int n = 0;
  for (int y = 0; y < s.height(); ++y)
    for (int x = 0; x < s.width(); ++x) n += s.at(x, y) == color;
  return n;
}

// True when nothing was drawn outside the control's rectangle.
bool MarginUntouched(const Surface& s) {
  for (int y = 0; y < s.height(); ++y)
    for (int x = 0; x < s.width(); ++x) {
      bool inside = x >= 10 && x < s.width() - 10 && y >= 10 && y < s.height() - 10;
      if (!inside && s.at(x, y) != 0x123456) return false;
    }
  return true;
}

}  // namespace

TEST(ControlPainter, CheckBoxShowsItsStateAndGreysWhenDisabled) {
  ButtonState on;
  ButtonState off;
  off.enabled = false;
  auto box = [&](bool checked, const ButtonState& state) {
    return Painted(80, 18, [&](Canvas& c, RECT r) { painter::CheckBox(c, r, u"Sim Code", checked, state, kBlue); });
  };
  Surface unchecked = box(false, on), checked = box(true, on), greyed = box(true, off);
  EXPECT_NE(unchecked, checked);
  EXPECT_TRUE(MarginUntouched(checked));
  // The tick changes only the box; the label is the same.
  for (int y = 0; y < checked.height(); ++y)
    for (int x = 10 + look::kCheckBoxSize; x < checked.width(); ++x)
      ASSERT_EQ(checked.at(x, y), unchecked.at(x, y));
  EXPECT_GT(CountColor(checked, look::kBlack), 0);
  EXPECT_EQ(CountColor(greyed, look::kBlack), 0);
  EXPECT_GT(CountColor(greyed, look::kGreyText), 0);
}

TEST(ControlPainter, TextStaysInsideItsControl) {
  std::u16string longText = u"Events (warnings, system events ...) and much more than fits";
  ButtonState state;
  EditState edit;
  edit.text = longText;
  edit.focused = true;
  edit.caret = int(longText.size());
  ComboState combo;
  combo.edit = edit;
  std::vector<Surface> painted = {
      Painted(40, 14, [&](Canvas& c, RECT r) { painter::PushButton(c, r, longText, state, kBlue); }),
      Painted(60, 17, [&](Canvas& c, RECT r) { painter::CheckBox(c, r, longText, true, state, kBlue); }),
      Painted(50, 30, [&](Canvas& c, RECT r) { painter::GroupBox(c, r, longText, true, kBlue); }),
      Painted(45, 20, [&](Canvas& c, RECT r) { painter::StaticText(c, r, longText, TextAlign::Center, false, true, kBlue); }),
      Painted(45, 19, [&](Canvas& c, RECT r) { painter::Edit(c, r, edit, ControlColors{}); }),
      Painted(45, 19, [&](Canvas& c, RECT r) { painter::ComboBox(c, r, combo, ControlColors{}); }),
  };
  for (size_t i = 0; i < painted.size(); ++i) EXPECT_TRUE(MarginUntouched(painted[i])) << "control " << i;
}

TEST(ControlPainter, StaticTextWrapsAtLineBreaksAndWords) {
  const Font& font = DialogFont();
  int lineHeight = font.metrics().height;
  auto rowsWithInk = [&](const Surface& s) {
    int rows = 0;
    for (int y = 0; y < s.height(); ++y)
      for (int x = 0; x < s.width(); ++x)
        if (s.at(x, y) == 0x000000) {
          rows = std::max(rows, (y - 10) / lineHeight + 1);
          break;
        }
    return rows;
  };
  std::u16string question = u"You changed a setting.\nWould you like to save ?";
  Surface wide = Painted(193, 4 * lineHeight, [&](Canvas& c, RECT r) {
    painter::StaticText(c, r, question, TextAlign::Center, false, true, kBlue);
  });
  Surface narrow = Painted(70, 4 * lineHeight, [&](Canvas& c, RECT r) {
    painter::StaticText(c, r, question, TextAlign::Center, false, true, kBlue);
  });
  EXPECT_EQ(rowsWithInk(wide), 2);
  EXPECT_EQ(rowsWithInk(narrow), 4);
}

TEST(ControlPainter, PasswordEditHidesWhatIsTyped) {
  auto edit = [](std::u16string_view text, bool password) {
    EditState state;
    state.text = text;
    state.password = password;
    state.align = TextAlign::Center;
    return Painted(60, 19, [&](Canvas& c, RECT r) { painter::Edit(c, r, state, ControlColors{}); });
  };
  EXPECT_EQ(edit(u"1234", true), edit(u"9876", true));
  EXPECT_NE(edit(u"1234", true), edit(u"12345", true));
  EXPECT_NE(edit(u"1234", false), edit(u"9876", false));
}

TEST(ControlPainter, TrackbarMapsPositionsAcrossItsChannel) {
  TrackbarState bar;
  bar.minimum = 0;
  bar.maximum = 5;
  RECT r = MakeRect(0, 0, 75, 19);
  EXPECT_EQ(painter::TrackbarPositionAt(r, bar, -100), 0);
  EXPECT_EQ(painter::TrackbarPositionAt(r, bar, 1000), 5);
  int last = 0;
  for (int x = 0; x < 75; ++x) {
    int p = painter::TrackbarPositionAt(r, bar, x);
    EXPECT_GE(p, last);
    last = p;
  }
  // Each position draws its thumb somewhere else.
  std::vector<Surface> thumbs;
  for (int p = 0; p <= 5; ++p) {
    bar.position = p;
    thumbs.push_back(Painted(75, 19, [&](Canvas& c, RECT rr) { painter::Trackbar(c, rr, bar, kBlue); }));
    EXPECT_TRUE(MarginUntouched(thumbs.back()));
  }
  for (int p = 1; p <= 5; ++p) EXPECT_NE(thumbs[p], thumbs[p - 1]);
}

TEST(Raster, CanvasClipsAndScalesBlits) {
  Surface source(2, 2);
  source.at(0, 0) = 0xFF0000;
  source.at(1, 0) = 0x00FF00;
  source.at(0, 1) = 0xFF00FF;
  source.at(1, 1) = 0x0000FF;
  Surface target(8, 8, 0xFFFFFF);
  Canvas canvas(target, POINT{2, 2}, MakeRect(2, 2, 3, 3));
  Pixel key = 0xFF00FF;
  canvas.Blit(source, 0, 0, 2, 2, 0, 0, 4, 4, &key);  // doubled, clipped to 3 × 3
  EXPECT_EQ(target.at(2, 2), 0xFF0000u);
  EXPECT_EQ(target.at(4, 2), 0x00FF00u);
  EXPECT_EQ(target.at(2, 4), 0xFFFFFFu);  // transparent
  EXPECT_EQ(target.at(4, 4), 0x0000FFu);
  EXPECT_EQ(target.at(5, 2), 0xFFFFFFu);  // clipped away
  EXPECT_EQ(target.at(2, 5), 0xFFFFFFu);
  canvas.Fill(MakeRect(-100, -100, 1000, 1000), 0);
  EXPECT_EQ(CountColor(target, 0), 9);
}

TEST(DialogFontTest, HasTheDialogBaseUnitsAndDrawsTheSameEveryTime) {
  const Font& font = DialogFont();
  EXPECT_EQ(font.metrics().height, 13);
  EXPECT_EQ(font.metrics().avgWidth, 6);
  auto draw = [&] {
    Surface s(120, 16, 0xFFFFFF);
    Canvas c(s);
    font.Draw(c, 0, 0, u"Selvane Settings", 0);
    return s;
  };
  EXPECT_EQ(draw(), draw());
  EXPECT_GT(font.TextWidth(u"Selvane Settings"), font.TextWidth(u"Selvane"));
}
