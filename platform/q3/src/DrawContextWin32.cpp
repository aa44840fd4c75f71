// DrawContextWin32.cpp: the Win32 device-context draw context. Frames are
// drawn in q3's own buffer and copied to the DC at the end of each frame,
// so what reaches the window is always a finished image.
#include "DrawContext.h"

#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <windows.h>

#include <algorithm>
#include <new>

namespace q3 {

PixelArea Win32DCDrawContext::area() const {
  const TQ3Area &pane = data().pane;
  const int x0 = paneEdge(pane.min.x), x1 = paneEdge(pane.max.x);
  const int y0 = paneEdge(pane.min.y), y1 = paneEdge(pane.max.y);
  if (x1 > x0 && y1 > y0) return {x0, y0, x1 - x0, y1 - y0};
  RECT client{};
  HWND window = hdc_ ? WindowFromDC(hdc_) : nullptr;
  if (!window || !GetClientRect(window, &client)) return {};
  return {0, 0, int(client.right - client.left), int(client.bottom - client.top)};
}

void Win32DCDrawContext::loadBackground() {
  if (previousWidth_ == frame_.width && previousHeight_ == frame_.height && !previous_.empty())
    frame_.argb = previous_;
  else
    std::fill(frame_.argb.begin(), frame_.argb.end(), 0xFF000000u);
}

bool Win32DCDrawContext::present() {
  if (frame_.argb.empty()) return false;
  const PixelArea a = area();
  BITMAPINFO info{};
  info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
  info.bmiHeader.biWidth = frame_.width;
  info.bmiHeader.biHeight = -frame_.height; // top-down, like the frame
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  info.bmiHeader.biCompression = BI_RGB;
  // 0xAARRGGBB in memory on a little-endian machine is B, G, R, A: the
  // 32-bit DIB layout.
  const int copied = SetDIBitsToDevice(hdc_, a.x, a.y, DWORD(frame_.width), DWORD(frame_.height), 0, 0, 0,
                                       UINT(frame_.height), frame_.argb.data(), &info, DIB_RGB_COLORS);
  try {
    previous_ = frame_.argb;
    previousWidth_ = frame_.width;
    previousHeight_ = frame_.height;
  } catch (const std::bad_alloc &) {
    previous_.clear();
  }
  if (copied == 0) postError(kQ3ErrorWin32Error);
  return copied != 0;
}

} // namespace q3

Q3_EXTERN_API_C(TQ3DrawContextObject) Q3Win32DCDrawContext_New(const TQ3Win32DCDrawContextData *drawContextData) {
  if (!q3::requireInitialized() || !q3::requirePointer(drawContextData) || !q3::requirePointer(drawContextData->hdc))
    return nullptr;
  q3::Win32DCDrawContext *dc = q3::create<q3::Win32DCDrawContext>(*drawContextData);
  if (dc && !dc->setData(drawContextData->drawContextData)) {
    q3::release(dc);
    return nullptr;
  }
  return q3::handleOf(dc);
}

Q3_EXTERN_API_C(TQ3Status) Q3Win32DCDrawContext_SetDC(TQ3DrawContextObject drawContext, TQ3Win32HDC newHDC) {
  q3::Win32DCDrawContext *dc = q3::validate<q3::Win32DCDrawContext>(drawContext);
  if (!dc || !q3::requirePointer(newHDC)) return kQ3Failure;
  dc->setDC(newHDC);
  return kQ3Success;
}

Q3_EXTERN_API_C(TQ3Status) Q3Win32DCDrawContext_GetDC(TQ3DrawContextObject drawContext, TQ3Win32HDC *curHDC) {
  const q3::Win32DCDrawContext *dc = q3::validate<q3::Win32DCDrawContext>(drawContext);
  if (!dc || !q3::requirePointer(curHDC)) return kQ3Failure;
  *curHDC = dc->dc();
  return kQ3Success;
}
