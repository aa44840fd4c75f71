// The Win32 device-context draw context: the frame lands in the DC at the
// pane, with the same pixels the pixmap context makes.
#include "engine_support.h"

#include <windows.h>

using namespace engine;

namespace {

class EngineWin32 : public Q3Session {};

struct MemoryDC {
  HDC dc = CreateCompatibleDC(nullptr);
  HBITMAP bitmap = nullptr;
  HGDIOBJ old = nullptr;
  MemoryDC(int w, int h) {
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    info.bmiHeader.biWidth = w;
    info.bmiHeader.biHeight = -h;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    void *bits = nullptr;
    bitmap = CreateDIBSection(dc, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    old = SelectObject(dc, bitmap);
  }
  ~MemoryDC() {
    SelectObject(dc, old);
    DeleteObject(bitmap);
    DeleteDC(dc);
  }
  uint32_t rgb(int x, int y) const {
    const COLORREF c = GetPixel(dc, x, y);
    return uint32_t(GetRValue(c)) << 16 | uint32_t(GetGValue(c)) << 8 | GetBValue(c);
  }
};

void drawLitScene(TQ3ViewObject view, TQ3GeometryObject a, TQ3GeometryObject b) {
  render(view, [&] {
    Q3BackfacingStyle_Submit(kQ3BackfacingStyleRemove, view);
    Q3Object_Submit(a, view);
    Q3Object_Submit(b, view);
  });
}

TEST_F(EngineWin32, FrameLandsAtThePaneWithThePixmapsPixels) {
  const int w = 12, h = 10;
  MeshRecipe s1 = square(-1, 0.5f, 0, 2.3f), s2 = square(1.5f, -1, 1, 2.0f);
  s2.normals.assign(4, TQ3Vector3D{0.6f, 0, 0.8f});
  TQ3AttributeSet red = colourSet({1, 0.2f, 0.1f});
  s2.attributes = red;
  TQ3GeometryObject a = makeTriMesh(s1), b = makeTriMesh(s2);
  const TQ3ColorARGB sky{0, 0.78f, 0.78f, 1.0f};

  Canvas canvas(w, h, sky);
  TQ3ViewObject pixmapView = viewFor(canvas, kQ3RendererTypeInteractive, lightGroup(0.3f, 0.9f, {0.2f, -0.3f, -1}),
                                     camera(5.0f, 1.2f, float(w) / h));
  drawLitScene(pixmapView, a, b);

  MemoryDC target(30, 20);
  TQ3Win32DCDrawContextData d{};
  d.drawContextData.clearImageMethod = kQ3ClearMethodWithColor;
  d.drawContextData.clearImageColor = sky;
  d.drawContextData.pane = {{5, 7}, {5.0f + w, 7.0f + h}};
  d.drawContextData.paneState = kQ3False; // the pane still places the frame
  d.drawContextData.doubleBufferState = kQ3True;
  d.hdc = target.dc;
  TQ3DrawContextObject dc = Q3Win32DCDrawContext_New(&d);
  ASSERT_NE(dc, nullptr);
  TQ3ViewObject dcView = Q3View_New();
  TQ3CameraObject cam = camera(5.0f, 1.2f, float(w) / h);
  Q3View_SetCamera(dcView, cam);
  Q3View_SetDrawContext(dcView, dc);
  Q3View_SetRendererByType(dcView, kQ3RendererTypeInteractive);
  TQ3GroupObject lights = lightGroup(0.3f, 0.9f, {0.2f, -0.3f, -1});
  Q3View_SetLightGroup(dcView, lights);
  drawLitScene(dcView, a, b);

  int differing = 0, lit = 0;
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x) {
      differing += target.rgb(5 + x, 7 + y) != canvas.rgb(x, y);
      lit += canvas.rgb(x, y) != 0xC7C7FFu;
    }
  EXPECT_EQ(differing, 0);
  EXPECT_GT(lit, 20);                  // the scene really drew something
  EXPECT_EQ(target.rgb(4, 7), 0u);     // left of the pane
  EXPECT_EQ(target.rgb(5 + w, 7), 0u); // right of it
  EXPECT_EQ(target.rgb(5, 6), 0u);     // above it

  // The clear colour can change between frames.
  const TQ3ColorARGB black{0, 0, 0, 0};
  Q3DrawContext_SetClearImageColor(dc, &black);
  render(dcView, [] {});
  EXPECT_EQ(target.rgb(5, 7), 0u);
  for (TQ3Object o : {a, b, red, pixmapView, dcView, cam, lights, dc, canvas.dc}) Q3Object_Dispose(o);
}

TEST_F(EngineWin32, NoDeviceContextIsRefused) {
  TQ3Win32DCDrawContextData d{};
  d.drawContextData.pane = {{0, 0}, {4, 4}};
  EXPECT_EQ(Q3Win32DCDrawContext_New(&d), nullptr);
  EXPECT_EQ(takeOnlyError(), kQ3ErrorNULLParameter);
}

} // namespace
