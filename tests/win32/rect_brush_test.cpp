#include <gtest/gtest.h>
#include <windows.h>

#include "W32Surface.h"

TEST(Rect, SetInflateOffset) {
  RECT r;
  ASSERT_TRUE(SetRect(&r, 10, 20, 30, 40));
  EXPECT_EQ(r.left, 10);
  EXPECT_EQ(r.top, 20);
  EXPECT_EQ(r.right, 30);
  EXPECT_EQ(r.bottom, 40);
  ASSERT_TRUE(InflateRect(&r, -3, 5));
  EXPECT_EQ(r.left, 13);
  EXPECT_EQ(r.top, 15);
  EXPECT_EQ(r.right, 27);
  EXPECT_EQ(r.bottom, 45);
  ASSERT_TRUE(OffsetRect(&r, -13, 1));
  EXPECT_EQ(r.left, 0);
  EXPECT_EQ(r.top, 16);
  EXPECT_FALSE(SetRect(nullptr, 0, 0, 1, 1));
  EXPECT_FALSE(InflateRect(nullptr, 1, 1));
  RECT inverted{5, 5, 4, 9};
  EXPECT_TRUE(IsRectEmpty(&inverted));
  EXPECT_FALSE(IsRectEmpty(&r));
}

TEST(Brush, StockBrushColours) {
  const struct {
    int id;
    COLORREF color;
  } cases[] = {{WHITE_BRUSH, RGB(255, 255, 255)},
               {LTGRAY_BRUSH, RGB(192, 192, 192)},
               {GRAY_BRUSH, RGB(128, 128, 128)},
               {DKGRAY_BRUSH, RGB(64, 64, 64)},
               {BLACK_BRUSH, RGB(0, 0, 0)}};
  W32Surface s(4, 4);
  for (const auto &c : cases) {
    s.fill(RGB(1, 2, 3));
    RECT r{0, 0, 4, 4};
    HGDIOBJ brush = GetStockObject(c.id);
    ASSERT_NE(brush, nullptr);
    EXPECT_EQ(GetObjectType(brush), static_cast<DWORD>(OBJ_BRUSH));
    EXPECT_NE(FillRect(s.dc, &r, static_cast<HBRUSH>(brush)), 0);
    EXPECT_EQ(GetPixel(s.dc, 2, 2), c.color) << "stock brush " << c.id;
    // Deleting a stock object is allowed and changes nothing.
    EXPECT_TRUE(DeleteObject(brush));
    EXPECT_EQ(GetStockObject(c.id), brush);
  }
}

TEST(Brush, NullBrushPaintsNothing) {
  W32Surface s(4, 4);
  s.fill(RGB(9, 8, 7));
  RECT r{0, 0, 4, 4};
  EXPECT_NE(FillRect(s.dc, &r, static_cast<HBRUSH>(GetStockObject(NULL_BRUSH))), 0);
  EXPECT_NE(FrameRect(s.dc, &r, static_cast<HBRUSH>(GetStockObject(NULL_BRUSH))), 0);
  EXPECT_EQ(GetPixel(s.dc, 0, 0), RGB(9, 8, 7));
}

TEST(Brush, FillColourByteOrder) {
  W32Surface s(3, 2, 32);
  s.fill(RGB(0, 0, 0));
  HBRUSH b = CreateSolidBrush(RGB(0x12, 0x34, 0x56));
  RECT r{1, 0, 2, 1};
  ASSERT_NE(FillRect(s.dc, &r, b), 0);
  EXPECT_EQ(GetPixel(s.dc, 1, 0), static_cast<COLORREF>(0x563412));
  // Bottom-up: screen row 0 is the last row in memory; pixels are B, G, R, x.
  const uint8_t *p = s.bits + s.stride() * 1 + 4 * 1;
  EXPECT_EQ(p[0], 0x56);
  EXPECT_EQ(p[1], 0x34);
  EXPECT_EQ(p[2], 0x12);
  EXPECT_TRUE(DeleteObject(b));
  // A deleted brush is refused, not used: the DC's own brush (white) paints.
  EXPECT_FALSE(DeleteObject(b));
  RECT all{0, 0, 3, 2};
  FillRect(s.dc, &all, b);
  EXPECT_EQ(GetPixel(s.dc, 1, 0), RGB(255, 255, 255));
}

// Reads the surface as a picture: '#' where the colour is `ink`, '.' elsewhere.
static std::string picture(W32Surface &s, COLORREF ink) {
  std::string out;
  for (int y = 0; y < s.height; ++y) {
    for (int x = 0; x < s.width; ++x) out += GetPixel(s.dc, x, y) == ink ? '#' : '.';
    out += '\n';
  }
  return out;
}

TEST(Brush, FillAndFrameReadBackPixelByPixel) {
  W32Surface s(8, 6);
  const COLORREF ink = RGB(200, 10, 30);
  HBRUSH b = CreateSolidBrush(ink);
  struct Case {
    const char *name;
    bool frame;
    RECT rect;
    const char *expected;
  } cases[] = {
      {"fill", false, {1, 1, 4, 3}, "........\n.###....\n.###....\n........\n........\n........\n"},
      {"fill clipped", false, {-2, 4, 3, 9}, "........\n........\n........\n........\n###.....\n###.....\n"},
      {"fill empty", false, {5, 2, 5, 4}, "........\n........\n........\n........\n........\n........\n"},
      {"frame", true, {1, 1, 7, 5}, "........\n.######.\n.#....#.\n.#....#.\n.######.\n........\n"},
      {"frame one wide", true, {2, 0, 3, 3}, "..#.....\n..#.....\n..#.....\n........\n........\n........\n"},
      {"frame clipped", true, {5, 3, 10, 10}, "........\n........\n........\n.....###\n.....#..\n.....#..\n"},
      {"frame inverted", true, {6, 4, 2, 1}, "........\n........\n........\n........\n........\n........\n"},
  };
  for (const Case &c : cases) {
    s.fill(RGB(255, 255, 255));
    const bool empty = IsRectEmpty(&c.rect);
    // FrameRect reports an empty rectangle as a failure; FillRect never does.
    if (c.frame)
      EXPECT_EQ(FrameRect(s.dc, &c.rect, b) != 0, !empty) << c.name;
    else
      EXPECT_NE(FillRect(s.dc, &c.rect, b), 0) << c.name;
    EXPECT_EQ(picture(s, ink), c.expected) << c.name;
  }
  DeleteObject(b);
}

TEST(Brush, InvalidDcAndPixelOutside) {
  W32Surface s(2, 2);
  RECT r{0, 0, 1, 1};
  HBRUSH b = static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH));
  EXPECT_EQ(FrameRect(nullptr, &r, b), 0);
  EXPECT_EQ(GetPixel(s.dc, 2, 0), CLR_INVALID);
  EXPECT_EQ(GetPixel(s.dc, 0, -1), CLR_INVALID);
  EXPECT_EQ(GetPixel(nullptr, 0, 0), CLR_INVALID);
}
