// Scene rendering and the camera of the Zu3ROzuvu control.
#include "math/Quaternion.h"
#include "math/Vector3D.h"
#include "scene/Object3D.h"
#include "scene/Submission.h"
#include "util/Zu3ZOdoz.h"
#include "view/View3D.h"

namespace du3v {

namespace {
constexpr int kMaxPasses = 100;

// The packed debug cube arrives with its own module; until then there is
// no cube to draw and DebugCube switches itself off.
TQ3GroupObject LoadDebugCube() { return nullptr; }
} // namespace

void PlaceCamera(View3DData &data) {
  if (!data.Camera) data.Camera = PluginNewInstance("Object3D");
  if (!data.QuesaCamera) return;
  Object3DData *camera = Object3DOf(data.Camera);
  if (!camera) return;
  const TQ3Point3D p = PositionOf(*camera);
  const TQ3Quaternion q = OrientationOf(*camera);
  const float *lp = data.LastCameraPosition, *lq = data.LastCameraOrientation;
  if (p.x == lp[0] && p.y == lp[1] && p.z == lp[2] && q.w == lq[0] && q.x == lq[1] && q.y == lq[2] && q.z == lq[3])
    return;
  TQ3CameraPlacement placement;
  placement.cameraLocation = p;
  TQ3Point3D forward{0, 0, 1};
  RotatePoint(*camera, forward);
  placement.pointOfInterest = {p.x + forward.x, p.y + forward.y, p.z + forward.z};
  TQ3Vector3D up{0, 1, 0};
  RotateVector(*camera, up);
  placement.upVector = up;
  CheckQuesa(Q3Camera_SetPlacement(data.QuesaCamera, &placement), DiagnosticSite::CameraSetPlacement);
  Q3Camera_GetWorldToFrustum(data.QuesaCamera, &data.WorldToFrustum);
  data.FrustumPlanesValid = 0;
  if (Object3DData *background = Object3DOf(data.Background)) SetPosition(*background, p);
  data.LastCameraPosition[0] = p.x, data.LastCameraPosition[1] = p.y, data.LastCameraPosition[2] = p.z;
  data.LastCameraOrientation[0] = q.w, data.LastCameraOrientation[1] = q.x, data.LastCameraOrientation[2] = q.y,
  data.LastCameraOrientation[3] = q.z;
}

void RenderScene(View3DData &data) {
  TQ3ViewObject view = data.QuesaView;
  CheckQuesa(Q3View_StartRendering(view), DiagnosticSite::ViewStartRendering);
  for (int pass = 1;; ++pass) {
    Q3InterpolationStyle_Submit(static_cast<TQ3InterpolationStyle>(data.InterpolationStyle), view);
    Q3BackfacingStyle_Submit(static_cast<TQ3BackfacingStyle>(data.BackfacingStyle), view);
    Q3FillStyle_Submit(static_cast<TQ3FillStyle>(data.FillStyle), view);
    if (data.FogVisible) Q3FogStyle_Submit(&data.FogStyle, view);
    if (data.Background) SubmitObject(data.Background, view);
    if (data.DebugCube) {
      if (!data.DebugCubeGroup) data.DebugCubeGroup = LoadDebugCube();
      if (data.DebugCubeGroup) {
        const TQ3Vector3D at{data.LastCameraPosition[0], data.LastCameraPosition[1], data.LastCameraPosition[2]};
        const float s = static_cast<float>(data.Yon * 0.6 * 0.01);
        const TQ3Vector3D scale{s, s, s};
        Q3Push_Submit(view);
        Q3TranslateTransform_Submit(&at, view);
        Q3ScaleTransform_Submit(&scale, view);
        CheckQuesa(Q3DisplayGroup_Submit(data.DebugCubeGroup, view), DiagnosticSite::DebugCubeSubmit);
        Q3Pop_Submit(view);
      } else {
        data.DebugCube = 0;
      }
    }
    Q3Shader_Submit(data.IlluminationShader, view);
    if (data.Objects) SubmitObject(data.Objects, view);
    // Another pass only while q3 asks for one, and never more than 100.
    if (Q3View_EndRendering(view) != kQ3ViewStatusRetraverse || pass >= kMaxPasses) break;
  }
}

void View3D_Update(HostControl control) {
  View3DData &data = ViewDataOf(control);
  if (!data.QuesaView) return;
  PlaceCamera(data);
  RenderScene(data);
  if (data.Objects) Object3D_UpdateBounds(data.Objects);
}

} // namespace du3v
