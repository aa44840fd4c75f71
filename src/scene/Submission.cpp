#include "scene/Submission.h"

#include "math/Bounds3D.h"
#include "math/Quaternion.h"
#include "math/Vector3D.h"
#include "scene/Group3D.h"
#include "scene/Object3D.h"
#include "util/Zu3ZOdoz.h"

namespace du3v {

namespace {
constexpr int kMaxPasses = 100;

bool HasCurrentShape(const Object3DData &data) { return static_cast<uint32_t>(data.Shape) < data.ShapeList.Count(); }
} // namespace

namespace {
void SubmitAtDepth(HostObject object, TQ3ViewObject view, int depth);
void UpdateBoundsAtDepth(HostObject instance, int depth);
} // namespace

void SubmitObject(HostObject object, TQ3ViewObject view) { SubmitAtDepth(object, view, 0); }

namespace {
void SubmitAtDepth(HostObject object, TQ3ViewObject view, int depth) {
  Object3DData *data = Object3DOf(object);
  if (!data || !data->Visible) return;
  if (data->IsGroup) {
    if (depth >= kMaxGroupDepth) return;
    GroupUpdate(object);
    const Group3DData &group = *Group3DOf(object);
    for (uint32_t i = 0; i < group.children.Count(); ++i) SubmitAtDepth(group.children[i], view, depth + 1);
    return;
  }
  if (!HasCurrentShape(*data)) return;
  // A nil Position or Orientation stands for the origin and the identity.
  const TQ3Point3D position = PositionOf(*data);
  const TQ3Quaternion orientation = OrientationOf(*data);
  const TQ3Vector3D translate{position.x, position.y, position.z};
  const TQ3Vector3D scale{data->Scale, data->Scale, data->Scale};
  Q3Push_Submit(view);
  Q3TranslateTransform_Submit(&translate, view);
  Q3QuaternionTransform_Submit(&orientation, view);
  Q3ScaleTransform_Submit(&scale, view);
  Q3PickIDStyle_Submit(static_cast<TQ3Uns32>(reinterpret_cast<uintptr_t>(object)), view);
  if (data->NullShader) {
    if (!Zu3ZOdoz::NullIlluminationShader) Zu3ZOdoz::NullIlluminationShader = Q3NULLIllumination_New();
    Q3Shader_Submit(Zu3ZOdoz::NullIlluminationShader, view);
  }
  if (data->RenderBackFaces) Q3BackfacingStyle_Submit(kQ3BackfacingStyleFlip, view);
  Q3Object_Submit(data->ShapeList[static_cast<uint32_t>(data->Shape)], view);
  Q3Pop_Submit(view);
}
} // namespace

TQ3ViewObject BoundingView() {
  if (Zu3ZOdoz::BoundingView) return Zu3ZOdoz::BoundingView;
  TQ3ViewObject view = Q3View_New();
  TQ3ViewAngleAspectCameraData camera{};
  camera.cameraData.placement.cameraLocation = {0, 1, 10};
  camera.cameraData.placement.pointOfInterest = {0, 0, 0};
  camera.cameraData.placement.upVector = {0, 1, 0};
  camera.cameraData.range.hither = 1.0f;
  camera.cameraData.range.yon = 10000.0f;
  camera.cameraData.viewPort.origin = {-1, 1};
  camera.cameraData.viewPort.width = 2;
  camera.cameraData.viewPort.height = 2;
  camera.fov = 0.7853982f;
  camera.aspectRatioXToY = 1.0f;
  TQ3CameraObject cameraObject = Q3ViewAngleAspectCamera_New(&camera);
  Q3View_SetCamera(view, cameraObject);
  Q3Object_Dispose(cameraObject);
  Zu3ZOdoz::BoundingView = view;
  return view;
}

void ComputeBoundsInto(HostObject object, HostObject bounds) {
  const Object3DData *data = Object3DOf(object);
  Bounds3DData *b = Bounds3DOf(bounds);
  if (!data || !b || !data->Visible) return;
  if (b->Type == 1) {
    TQ3ViewObject view = BoundingView();
    Q3View_StartBoundingSphere(view, kQ3ComputeBoundsExact);
    for (int pass = 0; pass < kMaxPasses; ++pass) {
      SubmitObject(object, view);
      if (Q3View_EndBoundingSphere(view, &b->sphere) != kQ3ViewStatusRetraverse) break;
    }
    b->box.isEmpty = kQ3True;
  } else if (b->Type == 2) {
    TQ3ViewObject view = BoundingView();
    Q3View_StartBoundingBox(view, kQ3ComputeBoundsExact);
    for (int pass = 0; pass < kMaxPasses; ++pass) {
      SubmitObject(object, view);
      if (Q3View_EndBoundingBox(view, &b->box) != kQ3ViewStatusRetraverse) break;
    }
    b->sphere.isEmpty = kQ3True;
  }
}

HostObject Object3D_ComputeBounds(HostObject instance, int32_t type) {
  if (!HasCurrentShape(*Object3DOf(instance))) return nullptr;
  HostObject result = PluginNewInstance("Bounds3D");
  Bounds3DData *b = Bounds3DOf(result);
  if (!b) return nullptr;
  b->Type = type;
  ComputeBoundsInto(instance, result);
  return result;
}

void Object3D_UpdateBounds(HostObject instance) { UpdateBoundsAtDepth(instance, 0); }

namespace {
void UpdateBoundsAtDepth(HostObject instance, int depth) {
  const Object3DData *data = Object3DOf(instance);
  if (!data || !data->Visible) return;
  if (data->IsGroup) {
    if (depth >= kMaxGroupDepth) return;
    GroupUpdate(instance);
    const Group3DData &group = *Group3DOf(instance);
    for (uint32_t i = 0; i < group.children.Count(); ++i)
      if (group.children[i]) UpdateBoundsAtDepth(group.children[i], depth + 1);
  }
  if (data->Bounds && (data->IsGroup || HasCurrentShape(*data))) ComputeBoundsInto(instance, data->Bounds);
}
} // namespace

} // namespace du3v
