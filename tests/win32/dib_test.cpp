#include <gtest/gtest.h>
#include <windows.h>

#include <vector>

#include "W32Surface.h"

namespace {
// A packed 24-bit DIB whose pixel (x, y) (y from the top) is RGB(x*40, y*40, 7).
struct Dib24 {
  BITMAPINFO info{};
  std::vector<uint8_t> bits;
  Dib24(int w, int h, bool bottomUp) {
    info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    info.bmiHeader.biWidth = w;
    info.bmiHeader.biHeight = bottomUp ? h : -h;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 24;
    info.bmiHeader.biCompression = BI_RGB;
    const int stride = ((w * 24 + 31) / 32) * 4;
    bits.assign(static_cast<size_t>(stride) * h, 0xEE);
    for (int y = 0; y < h; ++y)
      for (int x = 0; x < w; ++x) {
        uint8_t *p = &bits[static_cast<size_t>(bottomUp ? h - 1 - y : y) * stride + 3 * x];
        p[0] = 7, p[1] = static_cast<uint8_t>(y * 40), p[2] = static_cast<uint8_t>(x * 40);
      }
  }
};
COLORREF expected(int x, int y) { return RGB(x * 40, y * 40, 7); }
} // namespace

TEST(Dib, SectionRowsAndPadding) {
  // 24-bit rows of 3 pixels are padded from 9 to 12 bytes; bottom-up by default.
  W32Surface s(3, 2, 24);
  ASSERT_NE(s.bits, nullptr);
  EXPECT_EQ(s.stride(), 12);
  uint8_t *bottomRow = s.bits, *topRow = s.bits + 12;
  bottomRow[6] = 1, bottomRow[7] = 2, bottomRow[8] = 3;
  topRow[0] = 0x30, topRow[1] = 0x20, topRow[2] = 0x10;
  EXPECT_EQ(GetPixel(s.dc, 2, 1), RGB(3, 2, 1));
  EXPECT_EQ(GetPixel(s.dc, 0, 0), RGB(0x10, 0x20, 0x30));

  W32Surface top(2, -2, 32);
  top.bits[0] = 0xAA;
  EXPECT_EQ(GetPixel(top.dc, 0, 0), RGB(0, 0, 0xAA));
}

TEST(Dib, PalettePixels) {
  W32Surface s(4, 1, 8);
  ASSERT_NE(s.bits, nullptr);
  s.bits[2] = 200; // palette entry 200 is B=200, G=55, R=100
  EXPECT_EQ(GetPixel(s.dc, 2, 0), RGB(100, 55, 200));
}

TEST(Dib, SetDIBitsToDeviceCopiesBothOrientations) {
  for (bool bottomUp : {true, false}) {
    Dib24 dib(5, 4, bottomUp);
    W32Surface s(8, 8);
    s.fill(RGB(1, 1, 1));
    EXPECT_EQ(SetDIBitsToDevice(s.dc, 2, 3, 5, 4, 0, 0, 0, 4, dib.bits.data(), &dib.info, DIB_RGB_COLORS), 4)
        << bottomUp;
    for (int y = 0; y < 4; ++y)
      for (int x = 0; x < 5; ++x) ASSERT_EQ(GetPixel(s.dc, 2 + x, 3 + y), expected(x, y)) << x << "," << y;
    EXPECT_EQ(GetPixel(s.dc, 1, 3), RGB(1, 1, 1));
    EXPECT_EQ(GetPixel(s.dc, 2, 7), RGB(1, 1, 1));
  }
}

TEST(Dib, StretchDIBitsCopiesScalesAndClips) {
  for (bool bottomUp : {true, false}) {
    Dib24 dib(4, 3, bottomUp);
    W32Surface s(10, 8);
    s.fill(RGB(1, 1, 1));
    EXPECT_NE(StretchDIBits(s.dc, 0, 0, 4, 3, 0, 0, 4, 3, dib.bits.data(), &dib.info, DIB_RGB_COLORS, SRCCOPY), 0);
    for (int y = 0; y < 3; ++y)
      for (int x = 0; x < 4; ++x) ASSERT_EQ(GetPixel(s.dc, x, y), expected(x, y));
    // Twice the size: each source pixel covers a 2x2 block.
    StretchDIBits(s.dc, 2, 1, 8, 6, 0, 0, 4, 3, dib.bits.data(), &dib.info, DIB_RGB_COLORS, SRCCOPY);
    for (int y = 0; y < 6; ++y)
      for (int x = 0; x < 8; ++x) ASSERT_EQ(GetPixel(s.dc, 2 + x, 1 + y), expected(x / 2, y / 2)) << x << "," << y;
    // Partly outside the surface: the inside part is drawn.
    s.fill(RGB(1, 1, 1));
    StretchDIBits(s.dc, 8, 6, 4, 3, 0, 0, 4, 3, dib.bits.data(), &dib.info, DIB_RGB_COLORS, SRCCOPY);
    EXPECT_EQ(GetPixel(s.dc, 9, 7), expected(1, 1));
    EXPECT_EQ(GetPixel(s.dc, 7, 7), RGB(1, 1, 1));
  }
}

TEST(Dib, BitBltBetweenMemoryDcs) {
  W32Surface from(4, 4), to(4, 4);
  from.fill(RGB(10, 20, 30));
  SetPixel(from.dc, 1, 2, RGB(250, 0, 5));
  to.fill(0);
  EXPECT_TRUE(BitBlt(to.dc, 2, 1, 2, 2, from.dc, 0, 1, SRCCOPY));
  EXPECT_EQ(GetPixel(to.dc, 3, 2), RGB(250, 0, 5));
  EXPECT_EQ(GetPixel(to.dc, 2, 1), RGB(10, 20, 30));
  EXPECT_EQ(GetPixel(to.dc, 1, 1), 0u);
}
