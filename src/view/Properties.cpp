// The view-setup properties of the Zu3ROzuvu control: clipping range, lens,
// sky colour, fog start and the renderer. Setters push to q3 at once while
// the view exists; before that they only store.
#include "util/Diagnostics.h"
#include "view/View3D.h"

#include <cstdint>

namespace du3v {

namespace {
// Hither and FogStart never go below half a unit once a script sets them.
float AtLeastHalf(int32_t value) { return value < 1 ? 0.5f : static_cast<float>(value); }

void UpdateFogStart(View3DData &data) {
  data.FogStyle.fogStart = data.FogStart < data.Hither ? data.Hither : data.FogStart;
}

void PushRange(const View3DData &data) {
  if (!data.QuesaCamera) return;
  const TQ3CameraRange range{data.Hither, data.Yon};
  Q3Camera_SetRange(data.QuesaCamera, &range);
}

float &FloatField(HostControl control, uint32_t offset) {
  return *reinterpret_cast<float *>(reinterpret_cast<uint8_t *>(&ViewDataOf(control)) + offset);
}
} // namespace

int32_t View3D_GetTruncatedFloat(HostControl control, uint32_t offset) {
  // Truncation toward zero; values beyond the Integer range read as its ends.
  const float value = FloatField(control, offset);
  if (!(value > -2147483648.0f)) return value != value ? 0 : INT32_MIN;
  if (value >= 2147483648.0f) return INT32_MAX;
  return static_cast<int32_t>(value);
}

void View3D_SetHither(HostControl control, uint32_t, int32_t value) {
  View3DData &data = ViewDataOf(control);
  data.Hither = AtLeastHalf(value);
  UpdateFogStart(data);
  PushRange(data);
}

void View3D_SetYon(HostControl control, uint32_t, int32_t value) {
  View3DData &data = ViewDataOf(control);
  data.Yon = static_cast<float>(value);
  data.FogStyle.fogEnd = data.Yon;
  PushRange(data);
}

void View3D_SetFogStart(HostControl control, uint32_t, int32_t value) {
  View3DData &data = ViewDataOf(control);
  data.FogStart = AtLeastHalf(value);
  UpdateFogStart(data);
}

void View3D_SetFieldOfView(HostControl control, uint32_t, int32_t value) {
  View3DData &data = ViewDataOf(control);
  data.FieldOfView = value < 5 ? 5 : value > 160 ? 160 : value;
  if (data.QuesaCamera)
    Q3ViewAngleAspectCamera_SetFOV(data.QuesaCamera, static_cast<float>(data.FieldOfView * 0.017453292519943295));
}

void View3D_SetWireframe(HostControl control, uint32_t, int32_t value) {
  View3DData &data = ViewDataOf(control);
  data.Wireframe = value != 0;
  if (!KIVOinRuntime() || !data.Renderer) return;
  Q3Object_Dispose(data.Renderer);
  data.Renderer = Q3Renderer_NewFromType(data.Wireframe ? kQ3RendererTypeWireFrame : kQ3RendererTypeInteractive);
  CheckQuesa(Q3View_SetRenderer(data.QuesaView, data.Renderer), DiagnosticSite::ViewSetRendererAfterWireframe);
}

void View3D_SetSkyColor(HostControl control, uint32_t, uint32_t value) {
  View3DData &data = ViewDataOf(control);
  data.SkyColor = value;
  if (!KIVOinRuntime()) return KIVOInvalidateControl(control);
  if (!data.QuesaView) return;
  TQ3DrawContextObject drawContext = nullptr;
  Q3View_GetDrawContext(data.QuesaView, &drawContext);
  if (!drawContext) return;
  const TQ3ColorARGB colour = SkyColorARGB(value);
  Q3DrawContext_SetClearImageColor(drawContext, &colour);
  data.DrawContextData.drawContextData.clearImageColor = colour;
  data.FogStyle.color = colour;
  Q3Object_Dispose(drawContext);
}

} // namespace du3v
