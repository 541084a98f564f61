// Drawing calls as a program makes them: bitmaps loaded from device files,
// memory contexts, brushes and TransparentImage's transparent colour.
#include <aygshell.h>
#include <gtest/gtest.h>
#include <windows.h>

#include "../files/files.h"
#include "../testing/device_fixture.h"
#include "gdi_objects.h"

using platform::Pixel;

namespace {

// A 24 × 24, 24-bit BMP: magenta background with a dark blue 8 × 8 square
// at (8, 8), stored bottom-up as Windows writes it.
std::string PictureWithMagentaBackground() {
  const int side = 24, stride = side * 3;
  std::string b(54 + stride * side, '\0');
  auto put32 = [&](size_t at, uint32_t v) {
    for (int i = 0; i < 4; ++i) b[at + i] = char(v >> (8 * i));
  };
  b[0] = 'B';
  b[1] = 'M';
  put32(2, uint32_t(b.size()));
  put32(10, 54);
  put32(14, 40);
  put32(18, side);
  put32(22, side);
  b[26] = 1;
  b[28] = 24;
  for (int row = 0; row < side; ++row) {
    int y = side - 1 - row;
    for (int x = 0; x < side; ++x) {
      bool square = x >= 8 && x < 16 && y >= 8 && y < 16;
      size_t at = 54 + size_t(row) * stride + 3 * x;
      b[at] = char(square ? 0x80 : 0xFF);      // blue
      b[at + 1] = char(square ? 0x00 : 0x00);  // green
      b[at + 2] = char(square ? 0x00 : 0xFF);  // red
    }
  }
  return b;
}

class GdiTest : public testing_support::DeviceTest {};

}  // namespace

TEST_F(GdiTest, MagentaBackgroundStaysTransparent) {
  platform::WriteDeviceFile(u"\\Program files\\Selvane\\1.bmp", PictureWithMagentaBackground());
  HBITMAP picture = SHLoadDIBitmap(u"\\program files\\selvane\\1.BMP");
  ASSERT_NE(picture, nullptr);
  BITMAP info{};
  ASSERT_EQ(GetObjectW(picture, sizeof info, &info), int(sizeof info));
  EXPECT_EQ(info.bmWidth, 24);
  EXPECT_EQ(info.bmHeight, 24);
  EXPECT_EQ(info.bmBitsPixel, 24);

  // Draw onto a grey 40 × 40 target through a memory context, as programs do.
  platform::Surface target(40, 40, 0xC0C0C0);
  HDC screen = platform::CreateSurfaceDC(target, POINT{0, 0}, target.bounds(), nullptr);
  HDC memory = CreateCompatibleDC(screen);
  HGDIOBJ previous = SelectObject(memory, picture);
  ASSERT_NE(previous, nullptr);
  EXPECT_TRUE(TransparentImage(screen, 10, 12, 24, 24, memory, 0, 0, 24, 24, RGB(255, 0, 255)));
  SelectObject(memory, previous);
  DeleteDC(memory);
  DeleteDC(screen);
  EXPECT_TRUE(DeleteObject(picture));

  EXPECT_EQ(target.at(10, 12), 0xC0C0C0u);  // background corner: untouched
  EXPECT_EQ(target.at(33, 35), 0xC0C0C0u);
  EXPECT_EQ(target.at(18, 20), 0x000080u);  // the square, moved by (10, 12)
  EXPECT_EQ(target.at(25, 27), 0x000080u);
  EXPECT_EQ(target.at(26, 28), 0xC0C0C0u);
  for (int y = 0; y < 40; ++y)
    for (int x = 0; x < 40; ++x) ASSERT_NE(target.at(x, y), 0xFF00FFu) << x << "," << y;
}

TEST_F(GdiTest, UnreadablePicturesGiveNoBitmap) {
  std::string good = PictureWithMagentaBackground();
  platform::WriteDeviceFile(u"\\cut.bmp", good.substr(0, good.size() / 2));
  platform::WriteDeviceFile(u"\\header.bmp", good.substr(0, 20));
  platform::WriteDeviceFile(u"\\text.bmp", "Mode 1 picture, but only words");
  platform::WriteDeviceFile(u"\\empty.bmp", "");
  for (const char16_t* path : {u"\\cut.bmp", u"\\header.bmp", u"\\text.bmp", u"\\empty.bmp",
                               u"\\missing.bmp", u"\\windows", u"relative.bmp", u"\\..\\escape.bmp"})
    EXPECT_EQ(SHLoadDIBitmap(path), nullptr) << std::string(path, path + std::char_traits<char16_t>::length(path));
  EXPECT_EQ(SHLoadDIBitmap(nullptr), nullptr);
}

TEST_F(GdiTest, ObjectsFollowWindowsRules) {
  HBITMAP bitmap = platform::CreateBitmapFromPixels(platform::Surface(4, 4, 0x112233), 24);
  HDC memory = CreateCompatibleDC(nullptr);
  HGDIOBJ original = SelectObject(memory, bitmap);
  ASSERT_NE(original, nullptr);
  // A bitmap in a context cannot be deleted nor selected into a second one.
  EXPECT_FALSE(DeleteObject(bitmap));
  HDC other = CreateCompatibleDC(nullptr);
  EXPECT_EQ(SelectObject(other, bitmap), nullptr);
  DeleteDC(other);

  HBRUSH brush = CreateSolidBrush(RGB(140, 165, 200));
  RECT part{1, 1, 3, 3};
  EXPECT_EQ(FillRect(memory, &part, brush), 1);
  EXPECT_EQ(platform::BitmapFromHandle(bitmap)->pixels.at(1, 1), 0x8CA5C8u);
  EXPECT_EQ(platform::BitmapFromHandle(bitmap)->pixels.at(3, 3), 0x112233u);

  EXPECT_EQ(SetBkColor(memory, RGB(1, 2, 3)), RGB(255, 255, 255));
  EXPECT_EQ(GetBkColor(memory), RGB(1, 2, 3));
  EXPECT_EQ(SetTextColor(memory, RGB(255, 255, 255)), RGB(0, 0, 0));
  EXPECT_EQ(SetBkMode(memory, TRANSPARENT), OPAQUE);

  SelectObject(memory, original);
  EXPECT_TRUE(DeleteDC(memory));
  EXPECT_TRUE(DeleteObject(bitmap));
  EXPECT_TRUE(DeleteObject(brush));
  // Stale handles are refused, not followed.
  EXPECT_FALSE(DeleteObject(bitmap));
  EXPECT_FALSE(DeleteDC(memory));
  EXPECT_EQ(FillRect(memory, &part, brush), 0);
  EXPECT_EQ(GetObjectW(bitmap, sizeof(BITMAP), nullptr), 0);
}

// DrawTextW keeps to its rectangle: text too wide is cut with "...", and
// nothing is drawn outside, whatever the alignment.
TEST_F(GdiTest, TextAndBackgroundColoursAreKeptApartWithoutTheTopByte) {
  HDC memory = CreateCompatibleDC(nullptr);
  EXPECT_EQ(SetTextColor(memory, 0xFF102030), RGB(0, 0, 0));
  EXPECT_EQ(GetTextColor(memory), 0x00102030u);
  EXPECT_EQ(GetBkColor(memory), RGB(255, 255, 255));
  EXPECT_EQ(SetBkColor(memory, RGB(4, 5, 6)), RGB(255, 255, 255));
  EXPECT_EQ(GetTextColor(memory), 0x00102030u);
  EXPECT_TRUE(DeleteDC(memory));
  // A stale context has no colours to give or take.
  EXPECT_EQ(SetTextColor(memory, RGB(1, 1, 1)), CLR_INVALID);
  EXPECT_EQ(GetBkColor(memory), CLR_INVALID);
}

TEST_F(GdiTest, DrawTextStaysInItsRectangleAndCutsWithAnEllipsis) {
  platform::Surface target(120, 30, 0xFFFFFF);
  HDC dc = platform::CreateSurfaceDC(target, POINT{0, 0}, target.bounds(), nullptr);
  SetBkMode(dc, TRANSPARENT);
  SetTextColor(dc, RGB(0, 0, 0));

  RECT measured = {0, 0, 0, 0};
  const WCHAR* longName = u"A very long mode name indeed";
  int height = DrawTextW(dc, longName, -1, &measured, DT_SINGLELINE | DT_CALCRECT);
  EXPECT_GT(height, 0);
  EXPECT_GT(measured.right, 40);
  RECT cut = {0, 0, 40, 0};
  DrawTextW(dc, longName, -1, &cut, DT_SINGLELINE | DT_CALCRECT | DT_END_ELLIPSIS);
  EXPECT_LE(cut.right, 40);
  EXPECT_GT(cut.right, 10);

  RECT cell = {10, 5, 50, 25};
  EXPECT_EQ(DrawTextW(dc, longName, -1, &cell, DT_CENTER | DT_SINGLELINE | DT_END_ELLIPSIS), height);
  int inside = 0, outside = 0;
  for (int y = 0; y < target.height(); ++y)
    for (int x = 0; x < target.width(); ++x)
      if (target.at(x, y) != 0xFFFFFF) ++(x >= 10 && x < 50 && y >= 5 && y < 25 ? inside : outside);
  EXPECT_GT(inside, 20);
  EXPECT_EQ(outside, 0);
  // A short text that fits is drawn whole.
  RECT whole = {0, 0, 40, 0};
  DrawTextW(dc, u"Car", -1, &whole, DT_SINGLELINE | DT_CALCRECT | DT_END_ELLIPSIS);
  RECT plain = {0, 0, 0, 0};
  DrawTextW(dc, u"Car", -1, &plain, DT_SINGLELINE | DT_CALCRECT);
  EXPECT_EQ(whole.right, plain.right);
  DeleteDC(dc);
}
