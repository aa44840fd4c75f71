// View3D.h: the Zu3ROzuvu control: its data block and the operations the
// control's modules share.
//
// Contract
//   - View3DData is the control's block: 440 bytes declared, the first 424
//     used, every offset pinned below (the host reads and writes several
//     fields directly at their offsets).
//   - At design time (KIVOinRuntime false) the control never touches q3.
//   - The control owns one host reference to each of Background, Camera,
//     Objects, FloodDirection and every Lights slot, and one q3 reference to
//     each q3 object it holds; CloseControl gives all of them back.
//   - Nil Camera, Position or Orientation read as a new camera, the origin
//     and the identity.
#pragma once

#include "Q3.h"
#include "plugin/HostServices.h"
#include "plugin/Records.h"
#include "util/SimpleVector.h"

#include <cstddef>

namespace du3v {

struct View3DData {
  float Hither;
  float Yon;
  int32_t FieldOfView;
  uint32_t SkyColor;
  HostObject Background;
  HostObject Camera;
  HostObject Objects;
  int32_t AmbientLight;
  uint32_t AmbientColor;
  int32_t FloodLight;
  uint32_t FloodColor;
  HostObject FloodDirection;
  uint8_t Wireframe;
  uint8_t DebugCube;
  uint8_t FogVisible;
  uint8_t pad1;
  float FogStart;
  TQ3ViewObject QuesaView;
  TQ3DrawContextObject DrawContext;
  TQ3RendererObject Renderer;
  TQ3CameraObject QuesaCamera;
  float LastCameraPosition[3];
  float LastCameraOrientation[4]; // w, x, y, z
  float LastFloodDirection[3];
  uint32_t InterpolationStyle;
  uint32_t BackfacingStyle;
  uint32_t FillStyle;
  TQ3FogStyleData FogStyle;
  TQ3ShaderObject IlluminationShader;
  TQ3GroupObject LightGroup;
  TQ3GroupObject DebugCubeGroup;
  SimpleVector<HostObject> Lights;
  TQ3Matrix4x4 WorldToFrustum;
  float FrustumPlanes[6][4];
  uint8_t FrustumPlanesValid;
  uint8_t pad2[3];
  TQ3Win32DCDrawContextData DrawContextData;
  uint8_t spare[16];
};
static_assert(sizeof(View3DData) == 440, "the control block is 440 bytes");
static_assert(offsetof(View3DData, spare) == 424, "the first 424 bytes are used");
static_assert(offsetof(View3DData, Yon) == 4 && offsetof(View3DData, FieldOfView) == 8 &&
                  offsetof(View3DData, SkyColor) == 12 && offsetof(View3DData, Background) == 16 &&
                  offsetof(View3DData, Camera) == 20 && offsetof(View3DData, Objects) == 24 &&
                  offsetof(View3DData, AmbientLight) == 28 && offsetof(View3DData, AmbientColor) == 32 &&
                  offsetof(View3DData, FloodLight) == 36 && offsetof(View3DData, FloodColor) == 40 &&
                  offsetof(View3DData, FloodDirection) == 44 && offsetof(View3DData, Wireframe) == 48 &&
                  offsetof(View3DData, DebugCube) == 49 && offsetof(View3DData, FogVisible) == 50 &&
                  offsetof(View3DData, FogStart) == 52,
              "the fields the host reads and writes directly");
static_assert(offsetof(View3DData, QuesaView) == 56 && offsetof(View3DData, LastCameraPosition) == 72 &&
                  offsetof(View3DData, LastCameraOrientation) == 84 &&
                  offsetof(View3DData, LastFloodDirection) == 100 && offsetof(View3DData, InterpolationStyle) == 112 &&
                  offsetof(View3DData, FogStyle) == 124 && offsetof(View3DData, IlluminationShader) == 160 &&
                  offsetof(View3DData, Lights) == 172 && offsetof(View3DData, WorldToFrustum) == 188 &&
                  offsetof(View3DData, FrustumPlanes) == 252 && offsetof(View3DData, FrustumPlanesValid) == 348 &&
                  offsetof(View3DData, DrawContextData) == 352,
              "the fields that follow, in order");

extern ControlDefinition View3DControl;

inline View3DData &ViewDataOf(HostControl control) {
  return *static_cast<View3DData *>(ControlData(control, View3DControl));
}

// A q3 colour from a script colour 0xRRGGBB (red shifted, not masked).
TQ3ColorARGB SkyColorARGB(uint32_t color);

// Rendering and camera.
void PlaceCamera(View3DData &data);
void RenderScene(View3DData &data);
extern "C" void View3D_Update(HostControl control);

// View-setup properties: getters and setters as registered.
extern "C" int32_t View3D_GetTruncatedFloat(HostControl control, uint32_t offset);
extern "C" void View3D_SetHither(HostControl control, uint32_t offset, int32_t value);
extern "C" void View3D_SetYon(HostControl control, uint32_t offset, int32_t value);
extern "C" void View3D_SetFogStart(HostControl control, uint32_t offset, int32_t value);
extern "C" void View3D_SetFieldOfView(HostControl control, uint32_t offset, int32_t value);
extern "C" void View3D_SetWireframe(HostControl control, uint32_t offset, int32_t value);
extern "C" void View3D_SetSkyColor(HostControl control, uint32_t offset, uint32_t value);

// Off-screen pictures: a picture of the scene, or nil.
HostPicture GetPictureOfSize(HostControl control, int32_t width, int32_t height, int32_t depth);
extern "C" HostPicture View3D_GetPicture(HostControl control);
extern "C" HostPicture View3D_GetPictureSized(HostControl control, int32_t width, int32_t height, int32_t depth);

} // namespace du3v
