// Camera.cpp: view-angle-aspect cameras: their matrices and public calls.
#include "Camera.h"

#include <cmath>

using q3::raster::M4;
using q3::raster::V3;

namespace q3 {

namespace {
bool finite(float v) { return std::isfinite(v); }
bool finitePoint(const TQ3Point3D &p) { return finite(p.x) && finite(p.y) && finite(p.z); }
bool finiteVector(const TQ3Vector3D &p) { return finite(p.x) && finite(p.y) && finite(p.z); }

bool invalidValues() {
  postError(kQ3ErrorInvalidCameraValues);
  return false;
}
} // namespace

bool Camera::validRange(const TQ3CameraRange &r) {
  return (finite(r.hither) && finite(r.yon) && r.hither > 0.0f && r.yon > r.hither) || invalidValues();
}
bool Camera::validViewPort(const TQ3CameraViewPort &p) {
  return (finite(p.origin.x) && finite(p.origin.y) && finite(p.width) && finite(p.height) && p.width > 0.0f &&
          p.height > 0.0f) ||
         invalidValues();
}
bool Camera::validFOV(float fov) { return (finite(fov) && fov > 0.0f && fov < 3.14159265f) || invalidValues(); }
bool Camera::validAspect(float a) { return (finite(a) && a > 0.0f) || invalidValues(); }
bool Camera::validData(const TQ3ViewAngleAspectCameraData &d) {
  const TQ3CameraPlacement &p = d.cameraData.placement;
  if (!finitePoint(p.cameraLocation) || !finitePoint(p.pointOfInterest) || !finiteVector(p.upVector))
    return invalidValues();
  return validRange(d.cameraData.range) && validViewPort(d.cameraData.viewPort) && validFOV(d.fov) &&
         validAspect(d.aspectRatioXToY);
}

M4 Camera::worldToView() const {
  const TQ3CameraPlacement &p = data_.cameraData.placement;
  const V3 loc = raster::toV3(p.cameraLocation);
  V3 f = raster::normalized(raster::toV3(p.pointOfInterest) - loc);
  if (raster::length(f) == 0.0) f = {0, 0, -1};
  // The up vector is orthonormalised against the view direction; when it is
  // parallel (or zero) a world axis stands in so the frame stays valid.
  V3 r = raster::cross(f, raster::toV3(p.upVector));
  const double tiny = 1e-12;
  if (raster::length(r) <= tiny) r = raster::cross(f, V3{0, 1, 0});
  if (raster::length(r) <= tiny) r = raster::cross(f, V3{0, 0, 1});
  r = raster::normalized(r);
  const V3 u = raster::cross(r, f);
  M4 m = M4::identity();
  const V3 axes[3] = {r, u, -f};
  for (int j = 0; j < 3; ++j) {
    m.m[0][j] = axes[j].x;
    m.m[1][j] = axes[j].y;
    m.m[2][j] = axes[j].z;
    m.m[3][j] = -raster::dot(loc, axes[j]);
  }
  return m;
}

M4 Camera::viewToFrustum() const {
  const double tanHalf = raster::detTan(double(data_.fov) * 0.5);
  const double aspect = data_.aspectRatioXToY;
  const double tx = aspect >= 1.0 ? tanHalf * aspect : tanHalf;
  const double ty = aspect >= 1.0 ? tanHalf : tanHalf / aspect;
  const TQ3CameraViewPort &port = data_.cameraData.viewPort;
  const double cx = double(port.origin.x) + double(port.width) / 2.0;
  const double cy = double(port.origin.y) - double(port.height) / 2.0;
  const double hither = data_.cameraData.range.hither, yon = data_.cameraData.range.yon;
  M4 m{};
  m.m[0][0] = 2.0 / (double(port.width) * tx);
  m.m[1][1] = 2.0 / (double(port.height) * ty);
  m.m[2][0] = 2.0 * cx / double(port.width);
  m.m[2][1] = 2.0 * cy / double(port.height);
  // z: 0 at the hither plane, -1 at yon, after the divide by w = -z.
  m.m[2][2] = yon / (yon - hither);
  m.m[3][2] = yon * hither / (yon - hither);
  m.m[2][3] = -1.0;
  return m;
}

} // namespace q3

namespace {
q3::Camera *camera(TQ3CameraObject ref) { return q3::validate<q3::Camera>(ref); }

// Shared shape of the setters: validate, check, change, mark edited.
template <typename T, typename Check, typename Apply>
TQ3Status setCamera(TQ3CameraObject ref, const T *value, Check check, Apply apply) {
  q3::Camera *cam = camera(ref);
  if (!cam || !q3::requirePointer(value) || !check(*value)) return kQ3Failure;
  TQ3ViewAngleAspectCameraData data = cam->data();
  apply(data, *value);
  cam->setData(data);
  return kQ3Success;
}

template <typename T, typename Read> TQ3Status getCamera(TQ3CameraObject ref, T *out, Read read) {
  const q3::Camera *cam = camera(ref);
  if (!cam || !q3::requirePointer(out)) return kQ3Failure;
  *out = read(cam->data());
  return kQ3Success;
}

TQ3Status getMatrix(TQ3CameraObject ref, TQ3Matrix4x4 *out, q3::raster::M4 (q3::Camera::*which)() const) {
  const q3::Camera *cam = camera(ref);
  if (!cam || !q3::requirePointer(out)) return kQ3Failure;
  *out = (cam->*which)().toFloat();
  return kQ3Success;
}

using Data = TQ3ViewAngleAspectCameraData;
} // namespace

Q3_EXTERN_API_C(TQ3CameraObject) Q3ViewAngleAspectCamera_New(const TQ3ViewAngleAspectCameraData *cameraData) {
  if (!q3::requireInitialized() || !q3::requirePointer(cameraData) || !q3::Camera::validData(*cameraData))
    return nullptr;
  return q3::handleOf(q3::create<q3::Camera>(*cameraData));
}

Q3_EXTERN_API_C(TQ3Status)
Q3ViewAngleAspectCamera_SetData(TQ3CameraObject camera, const TQ3ViewAngleAspectCameraData *cameraData) {
  return setCamera(
      camera, cameraData, [](const Data &d) { return q3::Camera::validData(d); },
      [](Data &d, const Data &v) { d = v; });
}

Q3_EXTERN_API_C(TQ3Status) Q3ViewAngleAspectCamera_GetData(TQ3CameraObject camera, TQ3ViewAngleAspectCameraData *out) {
  return getCamera(camera, out, [](const Data &d) { return d; });
}

Q3_EXTERN_API_C(TQ3Status) Q3ViewAngleAspectCamera_SetFOV(TQ3CameraObject camera, float fov) {
  return setCamera(
      camera, &fov, [](float v) { return q3::Camera::validFOV(v); }, [](Data &d, float v) { d.fov = v; });
}

Q3_EXTERN_API_C(TQ3Status) Q3ViewAngleAspectCamera_GetFOV(TQ3CameraObject camera, float *fov) {
  return getCamera(camera, fov, [](const Data &d) { return d.fov; });
}

Q3_EXTERN_API_C(TQ3Status) Q3ViewAngleAspectCamera_SetAspectRatio(TQ3CameraObject camera, float aspect) {
  return setCamera(
      camera, &aspect, [](float v) { return q3::Camera::validAspect(v); },
      [](Data &d, float v) { d.aspectRatioXToY = v; });
}

Q3_EXTERN_API_C(TQ3Status) Q3ViewAngleAspectCamera_GetAspectRatio(TQ3CameraObject camera, float *aspect) {
  return getCamera(camera, aspect, [](const Data &d) { return d.aspectRatioXToY; });
}

Q3_EXTERN_API_C(TQ3ObjectType) Q3Camera_GetType(TQ3CameraObject camera) {
  const q3::Camera *cam = q3::validate<q3::Camera>(camera);
  return cam ? q3::typeBelow(cam->typeInfo(), q3::type::Camera) : kQ3ObjectTypeInvalid;
}

Q3_EXTERN_API_C(TQ3Status) Q3Camera_SetData(TQ3CameraObject camera, const TQ3CameraData *cameraData) {
  return setCamera(
      camera, cameraData,
      [&](const TQ3CameraData &v) {
        Data d{v, 1.0f, 1.0f};
        return q3::Camera::validData(d);
      },
      [](Data &d, const TQ3CameraData &v) { d.cameraData = v; });
}

Q3_EXTERN_API_C(TQ3Status) Q3Camera_GetData(TQ3CameraObject camera, TQ3CameraData *cameraData) {
  return getCamera(camera, cameraData, [](const Data &d) { return d.cameraData; });
}

Q3_EXTERN_API_C(TQ3Status) Q3Camera_SetPlacement(TQ3CameraObject camera, const TQ3CameraPlacement *placement) {
  return setCamera(
      camera, placement,
      [](const TQ3CameraPlacement &p) {
        Data d{{p, {1, 2}, {{-1, 1}, 2, 2}}, 1.0f, 1.0f};
        return q3::Camera::validData(d);
      },
      [](Data &d, const TQ3CameraPlacement &v) { d.cameraData.placement = v; });
}

Q3_EXTERN_API_C(TQ3Status) Q3Camera_GetPlacement(TQ3CameraObject camera, TQ3CameraPlacement *placement) {
  return getCamera(camera, placement, [](const Data &d) { return d.cameraData.placement; });
}

Q3_EXTERN_API_C(TQ3Status) Q3Camera_SetRange(TQ3CameraObject camera, const TQ3CameraRange *range) {
  return setCamera(
      camera, range, [](const TQ3CameraRange &r) { return q3::Camera::validRange(r); },
      [](Data &d, const TQ3CameraRange &v) { d.cameraData.range = v; });
}

Q3_EXTERN_API_C(TQ3Status) Q3Camera_GetRange(TQ3CameraObject camera, TQ3CameraRange *range) {
  return getCamera(camera, range, [](const Data &d) { return d.cameraData.range; });
}

Q3_EXTERN_API_C(TQ3Status) Q3Camera_SetViewPort(TQ3CameraObject camera, const TQ3CameraViewPort *viewPort) {
  return setCamera(
      camera, viewPort, [](const TQ3CameraViewPort &p) { return q3::Camera::validViewPort(p); },
      [](Data &d, const TQ3CameraViewPort &v) { d.cameraData.viewPort = v; });
}

Q3_EXTERN_API_C(TQ3Status) Q3Camera_GetViewPort(TQ3CameraObject camera, TQ3CameraViewPort *viewPort) {
  return getCamera(camera, viewPort, [](const Data &d) { return d.cameraData.viewPort; });
}

Q3_EXTERN_API_C(TQ3Status) Q3Camera_GetWorldToView(TQ3CameraObject camera, TQ3Matrix4x4 *worldToView) {
  return getMatrix(camera, worldToView, &q3::Camera::worldToView);
}

Q3_EXTERN_API_C(TQ3Status) Q3Camera_GetWorldToFrustum(TQ3CameraObject camera, TQ3Matrix4x4 *worldToFrustum) {
  return getMatrix(camera, worldToFrustum, &q3::Camera::worldToFrustum);
}

Q3_EXTERN_API_C(TQ3Status) Q3Camera_GetViewToFrustum(TQ3CameraObject camera, TQ3Matrix4x4 *viewToFrustum) {
  return getMatrix(camera, viewToFrustum, &q3::Camera::viewToFrustum);
}
