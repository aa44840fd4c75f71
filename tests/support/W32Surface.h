// W32Surface.h: a memory DC with a DIB section selected, for pixel tests that
// run the same on the Win32 layer and on Windows (under Wine).
#pragma once

#include <windows.h>

#include <cstdint>

struct W32Surface {
  HDC dc = nullptr;
  HBITMAP bitmap = nullptr;
  HGDIOBJ previous = nullptr;
  uint8_t *bits = nullptr;
  int width, height, bpp;

  // height > 0 is bottom-up, as in a BITMAPINFOHEADER.
  W32Surface(int w, int h, int bitsPerPixel = 32) : width(w), height(h < 0 ? -h : h), bpp(bitsPerPixel) {
    struct {
      BITMAPINFOHEADER header;
      RGBQUAD colors[256];
    } info{};
    info.header.biSize = sizeof(BITMAPINFOHEADER);
    info.header.biWidth = w;
    info.header.biHeight = h;
    info.header.biPlanes = 1;
    info.header.biBitCount = static_cast<WORD>(bitsPerPixel);
    info.header.biCompression = BI_RGB;
    if (bitsPerPixel == 8) {
      info.header.biClrUsed = 256;
      for (int i = 0; i < 256; ++i) info.colors[i] = RGBQUAD{BYTE(i), BYTE(255 - i), BYTE(i / 2), 0};
    }
    void *p = nullptr;
    dc = CreateCompatibleDC(nullptr);
    bitmap = CreateDIBSection(dc, reinterpret_cast<BITMAPINFO *>(&info), DIB_RGB_COLORS, &p, nullptr, 0);
    bits = static_cast<uint8_t *>(p);
    previous = SelectObject(dc, bitmap);
  }
  ~W32Surface() {
    SelectObject(dc, previous);
    DeleteObject(bitmap);
    DeleteDC(dc);
  }
  W32Surface(const W32Surface &) = delete;
  W32Surface &operator=(const W32Surface &) = delete;

  int stride() const { return ((width * bpp + 31) / 32) * 4; }
  void fill(COLORREF c) {
    HBRUSH b = CreateSolidBrush(c);
    RECT r{0, 0, width, height};
    FillRect(dc, &r, b);
    DeleteObject(b);
  }
};
