// Off-screen pictures of the Zu3ROzuvu control's scene.
#include "view/View3D.h"

#include <cstdlib>

namespace du3v {

HostPicture GetPictureOfSize(HostControl control, int32_t width, int32_t height, int32_t depth) {
  View3DData &data = ViewDataOf(control);
  // The picture borrows the window view's camera and lights: none before the
  // first redraw made them.
  if (!data.QuesaView) return nullptr;
  HostRect bounds{};
  GetControlBounds(control, &bounds);
  int32_t w = bounds.right - bounds.left, h = bounds.bottom - bounds.top;
  if (width > 0) w = width;
  if (height > 0) h = height;
  // Sizes live in 16-bit fields on the host's side; nothing to draw into at 0.
  if (w <= 0 || h <= 0 || w > 32767 || h > 32767) return nullptr;
  const uint32_t rowBytes = 3u * static_cast<uint32_t>(w);
  void *buffer = std::calloc(static_cast<size_t>(h), rowBytes);
  if (!buffer) return nullptr;

  TQ3PixmapDrawContextData pixmap{};
  pixmap.drawContextData.clearImageMethod = data.DrawContextData.drawContextData.clearImageMethod;
  pixmap.drawContextData.clearImageColor = data.DrawContextData.drawContextData.clearImageColor;
  pixmap.drawContextData.paneState = kQ3False;
  pixmap.drawContextData.maskState = kQ3False;
  pixmap.drawContextData.doubleBufferState = kQ3False;
  pixmap.pixmap =
      TQ3Pixmap{buffer,       static_cast<TQ3Uns32>(w), static_cast<TQ3Uns32>(h), rowBytes, 24, kQ3PixelTypeRGB24,
                kQ3EndianBig, kQ3EndianLittle};
  TQ3DrawContextObject drawContext = Q3PixmapDrawContext_New(&pixmap);

  TQ3ViewObject pictureView = Q3View_New();
  Q3View_SetDrawContext(pictureView, drawContext);
  Q3Object_Dispose(drawContext);
  TQ3CameraObject camera = nullptr;
  Q3View_GetCamera(data.QuesaView, &camera);
  Q3View_SetCamera(pictureView, camera);
  Q3Object_Dispose(camera);
  TQ3RendererObject renderer =
      Q3Renderer_NewFromType(data.Wireframe ? kQ3RendererTypeWireFrame : kQ3RendererTypeInteractive);
  Q3View_SetRenderer(pictureView, renderer);
  Q3Object_Dispose(renderer);
  TQ3GroupObject lights = nullptr;
  Q3View_GetLightGroup(data.QuesaView, &lights);
  Q3View_SetLightGroup(pictureView, lights);
  Q3Object_Dispose(lights);

  TQ3ViewObject windowView = data.QuesaView;
  data.QuesaView = pictureView;
  RenderScene(data);
  data.QuesaView = windowView;
  Q3Object_Dispose(pictureView);

  HostPicture picture = KIVOBuildPictureFromBuffer(w, h, 2, buffer, static_cast<int32_t>(rowBytes));
  std::free(buffer);
  (void)depth; // every picture is built from 24-bit pixels
  return picture;
}

HostPicture View3D_GetPicture(HostControl control) { return GetPictureOfSize(control, 0, 0, 0); }

HostPicture View3D_GetPictureSized(HostControl control, int32_t width, int32_t height, int32_t depth) {
  return GetPictureOfSize(control, width, height, depth);
}

} // namespace du3v
