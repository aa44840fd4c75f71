#include <gtest/gtest.h>
#include <windows.h>

#include <vector>

namespace {
LRESULT CALLBACK windowProc(HWND w, UINT m, WPARAM wp, LPARAM lp) { return DefWindowProcA(w, m, wp, lp); }

// A borderless top-level window whose client area is the whole window.
HWND makeWindow(int w, int h) {
  static bool registered = false;
  if (!registered) {
    WNDCLASSA wc{};
    wc.lpfnWndProc = windowProc;
    wc.hInstance = GetModuleHandleA(nullptr);
    wc.hbrBackground = static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH));
    wc.lpszClassName = "Du3VTestWindow";
    registered = RegisterClassA(&wc) != 0;
  }
  HWND window = CreateWindowExA(0, "Du3VTestWindow", "test", WS_POPUP, 0, 0, w, h, nullptr, nullptr,
                                GetModuleHandleA(nullptr), nullptr);
  ShowWindow(window, SW_SHOWNOACTIVATE);
  UpdateWindow(window);
  return window;
}
} // namespace

TEST(Window, ClientAreaDrawAndReadBack) {
  HWND window = makeWindow(64, 48);
  ASSERT_NE(window, nullptr);
  RECT client;
  ASSERT_TRUE(GetClientRect(window, &client));
  EXPECT_EQ(client.right - client.left, 64);
  EXPECT_EQ(client.bottom - client.top, 48);

  HDC dc = GetDC(window);
  ASSERT_NE(dc, nullptr);
  RECT all{0, 0, 64, 48}, inner{10, 5, 20, 15};
  FillRect(dc, &all, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
  HBRUSH red = CreateSolidBrush(RGB(255, 0, 0));
  FillRect(dc, &inner, red);
  InflateRect(&inner, 2, 2);
  FrameRect(dc, &inner, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
  EXPECT_EQ(GetPixel(dc, 10, 5), RGB(255, 0, 0));
  EXPECT_EQ(GetPixel(dc, 19, 14), RGB(255, 0, 0));
  EXPECT_EQ(GetPixel(dc, 8, 3), RGB(0, 0, 0));
  EXPECT_EQ(GetPixel(dc, 21, 16), RGB(0, 0, 0));
  EXPECT_EQ(GetPixel(dc, 9, 4), RGB(255, 255, 255));
  EXPECT_EQ(GetPixel(dc, 22, 17), RGB(255, 255, 255));
  DeleteObject(red);
  EXPECT_EQ(ReleaseDC(window, dc), 1);
  EXPECT_TRUE(DestroyWindow(window));
  EXPECT_FALSE(IsWindow(window));
  EXPECT_EQ(GetDC(window), nullptr);
}

TEST(Window, PixelBlockCopyIntoWindow) {
  HWND window = makeWindow(32, 32);
  HDC dc = GetDC(window);
  // A 4x2 top-down 32-bit block: pixel (x, y) = RGB(x * 60, y * 100, 50).
  BITMAPINFO info{};
  info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
  info.bmiHeader.biWidth = 4;
  info.bmiHeader.biHeight = -2;
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  std::vector<uint32_t> pixels(8);
  for (int y = 0; y < 2; ++y)
    for (int x = 0; x < 4; ++x) pixels[y * 4 + x] = (x * 60u) << 16 | (y * 100u) << 8 | 50u;
  EXPECT_EQ(SetDIBitsToDevice(dc, 5, 6, 4, 2, 0, 0, 0, 2, pixels.data(), &info, DIB_RGB_COLORS), 2);
  for (int y = 0; y < 2; ++y)
    for (int x = 0; x < 4; ++x) EXPECT_EQ(GetPixel(dc, 5 + x, 6 + y), RGB(x * 60, y * 100, 50));
  ReleaseDC(window, dc);
  DestroyWindow(window);
}
