// The Zu3ROzuvu control (module View3D): its record, its life cycle and the
// q3 view behind it.
#include "view/View3D.h"

#include "math/Quaternion.h"
#include "math/Vector3D.h"
#include "plugin/Registration.h"
#include "scene/Object3D.h"
#include "util/Zu3ZOdoz.h"

#include <windows.h>

namespace du3v {

TQ3ColorARGB SkyColorARGB(uint32_t color) {
  return TQ3ColorARGB{0.0f, static_cast<float>((color >> 16) / 255.0), static_cast<float>(((color >> 8) & 255) / 255.0),
                      static_cast<float>((color & 255) / 255.0)};
}

namespace {
// Start values of every field that is not zero.
extern "C" void InitControl(HostControl control) {
  View3DData &data = ViewDataOf(control);
  data.Hither = 5.0f;
  data.Yon = 5000.0f;
  data.FieldOfView = 50;
  data.SkyColor = 0xC8C8FF;
  data.AmbientLight = 30;
  data.AmbientColor = 0xFFFFFF;
  data.FloodLight = 90;
  data.FloodColor = 0xFFFFFF;
  data.InterpolationStyle = kQ3InterpolationStyleVertex;
  data.BackfacingStyle = kQ3BackfacingStyleRemove;
  data.FillStyle = kQ3FillStyleFilled;
  data.FogStyle = TQ3FogStyleData{kQ3On, kQ3FogModeLinear, data.Hither, data.Yon, 1.0f, {0, 0, 0, 0}};
  data.Lights.increment = 8;
}

extern "C" void OpenControl(HostControl control) {
  if (!KIVOinRuntime()) return;
  View3DData &data = ViewDataOf(control);
  AcquireQuesa();
  data.Camera = PluginNewInstance("Object3D");
  if (Object3DData *camera = Object3DOf(data.Camera))
    if (QuaternionData *q = QuaternionOf(camera->Orientation)) {
      const TQ3Vector3D up{0, 1, 0};
      Q3Quaternion_SetRotateAboutAxis(AsQ3Quaternion(*q), &up, 3.1415927f);
    }
  data.Objects = PluginNewInstance("Group3D");
  if (!data.Objects) ReportAssertion(DiagnosticSite::ObjectsGroupNewGaveNone);
  data.FloodDirection = PluginNewInstance("Vector3D");
  if (Vector3DData *v = Vector3DOf(data.FloodDirection)) *v = {0.18f, -0.8f, 0.22f};
}

HostRect BoundsOf(HostControl control) {
  HostRect bounds{};
  GetControlBounds(control, &bounds);
  return bounds;
}

float AspectRatio(const HostRect &bounds) {
  // A control without height keeps a square aspect instead of dividing by zero.
  if (bounds.bottom == bounds.top) return 1.0f;
  return static_cast<float>(bounds.right - bounds.left) / static_cast<float>(bounds.bottom - bounds.top);
}

TQ3RendererObject NewRenderer(const View3DData &data) {
  return Q3Renderer_NewFromType(data.Wireframe ? kQ3RendererTypeWireFrame : kQ3RendererTypeInteractive);
}

void CreateView(View3DData &data, const HostRect &bounds, HostControl control) {
  data.QuesaView = Q3View_New();
  if (!data.QuesaView) ReportAssertion(DiagnosticSite::ViewNewGaveNoView);

  TQ3DrawContextData &dc = data.DrawContextData.drawContextData;
  dc.clearImageMethod = kQ3ClearMethodWithColor;
  dc.clearImageColor = SkyColorARGB(data.SkyColor);
  dc.pane = TQ3Area{{static_cast<float>(bounds.left), static_cast<float>(bounds.top)},
                    {static_cast<float>(bounds.right), static_cast<float>(bounds.bottom)}};
  dc.paneState = kQ3False;
  dc.mask = TQ3Bitmap{};
  dc.maskState = kQ3False;
  dc.doubleBufferState = kQ3True;
  data.DrawContextData.hdc = GetDC(KIVOGetControlHandle(control));
  if (!data.DrawContextData.hdc) ReportAssertion(DiagnosticSite::WindowGaveNoDeviceContext);
  data.DrawContext = Q3Win32DCDrawContext_New(&data.DrawContextData);
  if (!data.DrawContext) ReportAssertion(DiagnosticSite::DrawContextNewGaveNone);

  data.FogStyle.color = dc.clearImageColor;

  TQ3ViewAngleAspectCameraData camera{};
  camera.cameraData.placement = {{0, 1, 10}, {0, 0, 0}, {0, 1, 0}};
  camera.cameraData.range.hither = data.Hither > 0 ? data.Hither : 0.1f;
  camera.cameraData.range.yon = data.Yon > 0 ? data.Yon : 10000.0f;
  camera.cameraData.viewPort = {{-1, 1}, 2, 2};
  camera.fov = static_cast<float>(data.FieldOfView * 0.017453292519943295);
  camera.aspectRatioXToY = AspectRatio(bounds);
  data.QuesaCamera = Q3ViewAngleAspectCamera_New(&camera);
  if (!data.QuesaCamera) ReportAssertion(DiagnosticSite::CameraNewGaveNone);

  data.Renderer = NewRenderer(data);
  if (!data.Renderer) ReportAssertion(DiagnosticSite::RendererNewGaveNone);

  CheckQuesa(Q3View_SetDrawContext(data.QuesaView, data.DrawContext), DiagnosticSite::ViewSetDrawContextAtCreation);
  CheckQuesa(Q3View_SetCamera(data.QuesaView, data.QuesaCamera), DiagnosticSite::ViewSetCameraAtCreation);
  CheckQuesa(Q3View_SetRenderer(data.QuesaView, data.Renderer), DiagnosticSite::ViewSetRendererAtCreation);

  data.LightGroup = Q3LightGroup_New();
  Q3View_SetLightGroup(data.QuesaView, data.LightGroup);
  TQ3LightData ambient{kQ3True, static_cast<float>(data.AmbientLight / 100.0), {1, 1, 1}};
  TQ3LightObject light = Q3AmbientLight_New(&ambient);
  Q3Group_AddObject(data.LightGroup, light);
  Q3Object_Dispose(light);
  TQ3DirectionalLightData flood{};
  flood.lightData = {kQ3True, static_cast<float>(data.FloodLight / 100.0), {1, 1, 1}};
  flood.castsShadows = kQ3False;
  const Vector3DData *direction = Vector3DOf(data.FloodDirection);
  flood.direction =
      direction ? TQ3Vector3D{direction->X, direction->Y, direction->Z} : TQ3Vector3D{0.18f, 0.22f, -0.8f};
  Q3Vector3D_Normalize(&flood.direction, &flood.direction);
  light = Q3DirectionalLight_New(&flood);
  Q3Group_AddObject(data.LightGroup, light);
  Q3Object_Dispose(light);

  data.IlluminationShader = Q3PhongIllumination_New();
  if (!data.IlluminationShader) ReportAssertion(DiagnosticSite::PhongIlluminationNewGaveNone);
}

void UpdateDrawContext(View3DData &data, const HostRect &bounds) {
  TQ3Area &pane = data.DrawContextData.drawContextData.pane;
  if (static_cast<float>(bounds.left) == pane.min.x && static_cast<float>(bounds.right) == pane.max.x &&
      static_cast<float>(bounds.top) == pane.min.y && static_cast<float>(bounds.bottom) == pane.max.y)
    return;
  pane = TQ3Area{{static_cast<float>(bounds.left), static_cast<float>(bounds.top)},
                 {static_cast<float>(bounds.right), static_cast<float>(bounds.bottom)}};
  if (data.DrawContext) Q3Object_Dispose(data.DrawContext);
  data.DrawContext = Q3Win32DCDrawContext_New(&data.DrawContextData);
  CheckQuesa(Q3View_SetDrawContext(data.QuesaView, data.DrawContext), DiagnosticSite::ViewSetDrawContextAfterResize);
  if (!data.QuesaCamera) ReportAssertion(DiagnosticSite::ViewHasNoCameraForAspect);
  Q3ViewAngleAspectCamera_SetAspectRatio(data.QuesaCamera, AspectRatio(bounds));
}

void DrawPlaceholder(const HostRect &bounds, const View3DData &data, HostGraphics graphics) {
  HDC dc = KIVOGraphicsDC(graphics);
  RECT r;
  SetRect(&r, bounds.left, bounds.top, bounds.right, bounds.bottom);
  FrameRect(dc, &r, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
  InflateRect(&r, -1, -1);
  HBRUSH sky = CreateSolidBrush(RGB((data.SkyColor >> 16) & 255, (data.SkyColor >> 8) & 255, data.SkyColor & 255));
  FillRect(dc, &r, sky);
  DeleteObject(sky);
}

extern "C" void Redraw(HostControl control, HostGraphics graphics) {
  View3DData &data = ViewDataOf(control);
  const HostRect bounds = BoundsOf(control);
  if (!KIVOinRuntime()) return DrawPlaceholder(bounds, data, graphics);
  if (!data.QuesaView) CreateView(data, bounds, control);
  UpdateDrawContext(data, bounds);
  PlaceCamera(data);
  RenderScene(data);
}

extern "C" void DrawIntoGraphics(HostControl control, HostGraphics graphics) {
  View3DData &data = ViewDataOf(control);
  const HostRect bounds = BoundsOf(control);
  if (!KIVOinRuntime()) return DrawPlaceholder(bounds, data, graphics);
  HostPicture picture = GetPictureOfSize(control, 0, 0, 0);
  if (!picture) return;
  drawPicturePrimitive(KIVOGraphicsDC(graphics), picture, &bounds, 0);
  KIVOUnlockObject(picture);
}

template <class T> void DisposeAndClear(T &object) {
  if (object) Q3Object_Dispose(object);
  object = nullptr;
}

void UnlockAndClear(HostObject &object) {
  HostObject held = object;
  object = nullptr;
  KIVOUnlockObject(held);
}

extern "C" void CloseControl(HostControl control) {
  if (!KIVOinRuntime()) return;
  View3DData &data = ViewDataOf(control);
  DisposeAndClear(data.Renderer);
  DisposeAndClear(data.QuesaCamera);
  DisposeAndClear(data.DrawContext);
  DisposeAndClear(data.QuesaView);
  DisposeAndClear(data.IlluminationShader);
  DisposeAndClear(data.LightGroup);
  DisposeAndClear(data.DebugCubeGroup);
  UnlockAndClear(data.Background);
  UnlockAndClear(data.Camera);
  UnlockAndClear(data.Objects);
  UnlockAndClear(data.FloodDirection);
  for (uint32_t i = 0; i < data.Lights.Count(); ++i) UnlockAndClear(data.Lights[i]);
  ReleaseQuesa();
  if (data.DrawContextData.hdc) ReleaseDC(KIVOGetControlHandle(control), data.DrawContextData.hdc);
  data.DrawContextData.hdc = nullptr;
}

ControlBehaviour behaviour = [] {
  ControlBehaviour b{};
  b.slots[kInitControlSlot] = Fn(InitControl);
  b.slots[kRedrawSlot] = Fn(Redraw);
  b.slots[kOpenControlSlot] = Fn(OpenControl);
  b.slots[kCloseControlSlot] = Fn(CloseControl);
  b.slots[kDrawIntoGraphicsSlot] = Fn(DrawIntoGraphics);
  return b;
}();

// In record order; the light properties, picking and mouse events join as
// they are built.
PropertyDefinition properties[] = {
    {"Initial State", "Hither", "Integer", 0, Fn(View3D_GetTruncatedFloat), Fn(View3D_SetHither), 0, {}},
    {"Initial State", "Yon", "Integer", 0, Fn(View3D_GetTruncatedFloat), Fn(View3D_SetYon), 4, {}},
    {"Initial State", "FieldOfView", "Integer", 0, HostAccess(), Fn(View3D_SetFieldOfView), 8, {}},
    {"Initial State", "SkyColor", "Color", 0, HostAccess(), Fn(View3D_SetSkyColor), 12, {}},
    {"Initial State", "FloodDirection", "Vector3D", 2, HostAccess(), HostAccess(), 44, {}},
    {"Initial State", "FogVisible", "Boolean", 0, HostAccess(), HostAccess(), 50, {}},
    {"Initial State", "FogStart", "Integer", 0, Fn(View3D_GetTruncatedFloat), Fn(View3D_SetFogStart), 52, {}},
    {"Initial State", "Wireframe", "Boolean", 0, HostAccess(), Fn(View3D_SetWireframe), 48, {}},
    {"Initial State", "DebugCube", "Boolean", 0, HostAccess(), HostAccess(), 49, {}},
    {"Runtime State", "Background", "Object3D", 2, HostAccess(), HostAccess(), 16, {}},
    {"Runtime State", "Camera", "Object3D", 2, HostAccess(), HostAccess(), 20, {}},
    {"Runtime State", "Objects", "Group3D", 2, HostAccess(), HostAccess(), 24, {}},
};

MethodDefinition methods[] = {
    {Fn(View3D_Update), nullptr, "Update", 0},
    {Fn(View3D_GetPicture), nullptr, "GetPicture as Picture", 0},
    {Fn(View3D_GetPictureSized), nullptr,
     "GetPicture(width as Integer, height as Integer, depth as Integer) as Picture", 0},
};
} // namespace

ControlDefinition View3DControl = {
    kRecordVersion,
    "Zu3ROzuvu",
    440, // View3DData: 424 bytes used, 16 spare
    8,   // control flags
    128, // icon picture
    129, // icon picture, pressed
    256, // default width
    256, // default height
    properties,
    sizeof properties / sizeof properties[0],
    methods,
    sizeof methods / sizeof methods[0],
    nullptr,
    0,
    &behaviour,
    0,
    {},
};

} // namespace du3v
