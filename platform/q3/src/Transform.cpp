// Transform.cpp: transform and style objects and their public calls.
#include "Transform.h"

#include "Q3Math.h"
#include "Submit.h"

#include <cmath>

namespace q3 {

void Transform::submit(SubmitTarget &target) const {
  if (leafType() == kQ3TransformTypeReset)
    target.resetTransform();
  else
    target.transform(matrix_);
}

void Style::submit(SubmitTarget &target) const {
  switch (leafType()) {
  case kQ3StyleTypeBackfacing: target.backfacing(TQ3BackfacingStyle(value_)); break;
  case kQ3StyleTypeInterpolation: target.interpolation(TQ3InterpolationStyle(value_)); break;
  case kQ3StyleTypeFill: target.fill(TQ3FillStyle(value_)); break;
  case kQ3StyleTypeOrientation: target.orientation(TQ3OrientationStyle(value_)); break;
  case kQ3StyleTypePickID: target.pickID(value_); break;
  case kQ3StyleTypeFog: target.fog(fog_); break;
  default: break;
  }
}

TQ3Matrix4x4 rotateMatrix(TQ3Axis axis, float radians) {
  TQ3Matrix4x4 m;
  if (axis == kQ3AxisX)
    Q3Matrix4x4_SetRotate_X(&m, radians);
  else if (axis == kQ3AxisY)
    Q3Matrix4x4_SetRotate_Y(&m, radians);
  else
    Q3Matrix4x4_SetRotate_Z(&m, radians);
  return m;
}

TQ3Matrix4x4 rotateAboutPointMatrix(TQ3Axis axis, float radians, const TQ3Point3D &about) {
  TQ3Matrix4x4 m;
  Q3Matrix4x4_SetRotateAboutPoint(&m, &about, axis == kQ3AxisX ? radians : 0.0f, axis == kQ3AxisY ? radians : 0.0f,
                                  axis == kQ3AxisZ ? radians : 0.0f);
  return m;
}

} // namespace q3

namespace {
TQ3TransformObject newTransform(const q3::TypeInfo &leaf, const TQ3Matrix4x4 &m) {
  return q3::handleOf(q3::create<q3::Transform>(leaf, m));
}

bool validAxis(TQ3Axis axis) {
  if (axis == kQ3AxisX || axis == kQ3AxisY || axis == kQ3AxisZ) return true;
  q3::postError(kQ3ErrorInvalidParameter);
  return false;
}

TQ3StyleObject newStyle(const q3::TypeInfo &leaf, uint32_t value, uint32_t highest) {
  if (!q3::requireInitialized()) return nullptr;
  if (value > highest) {
    q3::postError(kQ3ErrorInvalidParameter);
    return nullptr;
  }
  return q3::handleOf(q3::create<q3::Style>(leaf, value));
}

template <class T> TQ3Status getStyle(TQ3StyleObject style, TQ3ObjectType type, T *out) {
  const q3::Style *s = q3::validate<q3::Style>(style, type);
  if (!s || !q3::requirePointer(out)) return kQ3Failure;
  *out = T(s->value());
  return kQ3Success;
}
} // namespace

Q3_EXTERN_API_C(TQ3TransformObject) Q3TranslateTransform_New(const TQ3Vector3D *t) {
  if (!q3::requireInitialized() || !q3::requirePointer(t)) return nullptr;
  TQ3Matrix4x4 m;
  Q3Matrix4x4_SetTranslate(&m, t->x, t->y, t->z);
  return newTransform(q3::type::TranslateTransform, m);
}

Q3_EXTERN_API_C(TQ3TransformObject) Q3ScaleTransform_New(const TQ3Vector3D *s) {
  if (!q3::requireInitialized() || !q3::requirePointer(s)) return nullptr;
  TQ3Matrix4x4 m;
  Q3Matrix4x4_SetScale(&m, s->x, s->y, s->z);
  return newTransform(q3::type::ScaleTransform, m);
}

Q3_EXTERN_API_C(TQ3TransformObject) Q3RotateTransform_New(const TQ3RotateTransformData *d) {
  if (!q3::requireInitialized() || !q3::requirePointer(d) || !validAxis(d->axis)) return nullptr;
  return newTransform(q3::type::RotateTransform, q3::rotateMatrix(d->axis, d->radians));
}

Q3_EXTERN_API_C(TQ3TransformObject) Q3RotateAboutPointTransform_New(const TQ3RotateAboutPointTransformData *d) {
  if (!q3::requireInitialized() || !q3::requirePointer(d) || !validAxis(d->axis)) return nullptr;
  return newTransform(q3::type::RotateAboutPointTransform, q3::rotateAboutPointMatrix(d->axis, d->radians, d->about));
}

Q3_EXTERN_API_C(TQ3TransformObject) Q3RotateAboutAxisTransform_New(const TQ3RotateAboutAxisTransformData *d) {
  if (!q3::requireInitialized() || !q3::requirePointer(d)) return nullptr;
  TQ3Matrix4x4 m;
  Q3Matrix4x4_SetRotateAboutAxis(&m, &d->origin, &d->orientation, d->radians);
  return newTransform(q3::type::RotateAboutAxisTransform, m);
}

Q3_EXTERN_API_C(TQ3TransformObject) Q3QuaternionTransform_New(const TQ3Quaternion *q) {
  if (!q3::requireInitialized() || !q3::requirePointer(q)) return nullptr;
  TQ3Matrix4x4 m;
  Q3Matrix4x4_SetQuaternion(&m, q);
  return newTransform(q3::type::QuaternionTransform, m);
}

Q3_EXTERN_API_C(TQ3TransformObject) Q3MatrixTransform_New(const TQ3Matrix4x4 *matrix) {
  if (!q3::requireInitialized() || !q3::requirePointer(matrix)) return nullptr;
  return newTransform(q3::type::MatrixTransform, *matrix);
}

Q3_EXTERN_API_C(TQ3TransformObject) Q3ResetTransform_New(void) {
  if (!q3::requireInitialized()) return nullptr;
  TQ3Matrix4x4 m;
  Q3Matrix4x4_SetIdentity(&m);
  return newTransform(q3::type::ResetTransform, m);
}

Q3_EXTERN_API_C(TQ3ObjectType) Q3Transform_GetType(TQ3TransformObject transform) {
  const q3::Transform *t = q3::validate<q3::Transform>(transform);
  return t ? t->leafType() : kQ3ObjectTypeInvalid;
}

Q3_EXTERN_API_C(TQ3Matrix4x4 *) Q3Transform_GetMatrix(TQ3TransformObject transform, TQ3Matrix4x4 *matrix) {
  const q3::Transform *t = q3::validate<q3::Transform>(transform);
  if (!t || !q3::requirePointer(matrix)) return nullptr;
  *matrix = t->matrix();
  return matrix;
}

Q3_EXTERN_API_C(TQ3StyleObject) Q3BackfacingStyle_New(TQ3BackfacingStyle v) {
  return newStyle(q3::type::BackfacingStyle, uint32_t(v), kQ3BackfacingStyleFlip);
}
Q3_EXTERN_API_C(TQ3StyleObject) Q3InterpolationStyle_New(TQ3InterpolationStyle v) {
  return newStyle(q3::type::InterpolationStyle, uint32_t(v), kQ3InterpolationStylePixel);
}
Q3_EXTERN_API_C(TQ3StyleObject) Q3FillStyle_New(TQ3FillStyle v) {
  return newStyle(q3::type::FillStyle, uint32_t(v), kQ3FillStylePoints);
}
Q3_EXTERN_API_C(TQ3StyleObject) Q3OrientationStyle_New(TQ3OrientationStyle v) {
  return newStyle(q3::type::OrientationStyle, uint32_t(v), kQ3OrientationStyleClockwise);
}
Q3_EXTERN_API_C(TQ3StyleObject) Q3PickIDStyle_New(TQ3Uns32 id) {
  return newStyle(q3::type::PickIDStyle, id, 0xFFFFFFFFu);
}

Q3_EXTERN_API_C(TQ3StyleObject) Q3FogStyle_New(const TQ3FogStyleData *d) {
  if (!q3::requireInitialized() || !q3::requirePointer(d)) return nullptr;
  if (uint32_t(d->state) > kQ3On || uint32_t(d->mode) > kQ3FogModeAlpha) {
    q3::postError(kQ3ErrorInvalidParameter);
    return nullptr;
  }
  return q3::handleOf(q3::create<q3::Style>(*d));
}

Q3_EXTERN_API_C(TQ3ObjectType) Q3Style_GetType(TQ3StyleObject style) {
  const q3::Style *s = q3::validate<q3::Style>(style);
  return s ? s->leafType() : kQ3ObjectTypeInvalid;
}

Q3_EXTERN_API_C(TQ3Status) Q3BackfacingStyle_Get(TQ3StyleObject style, TQ3BackfacingStyle *v) {
  return getStyle(style, kQ3StyleTypeBackfacing, v);
}
Q3_EXTERN_API_C(TQ3Status) Q3InterpolationStyle_Get(TQ3StyleObject style, TQ3InterpolationStyle *v) {
  return getStyle(style, kQ3StyleTypeInterpolation, v);
}
Q3_EXTERN_API_C(TQ3Status) Q3FillStyle_Get(TQ3StyleObject style, TQ3FillStyle *v) {
  return getStyle(style, kQ3StyleTypeFill, v);
}
Q3_EXTERN_API_C(TQ3Status) Q3OrientationStyle_Get(TQ3StyleObject style, TQ3OrientationStyle *v) {
  return getStyle(style, kQ3StyleTypeOrientation, v);
}
Q3_EXTERN_API_C(TQ3Status) Q3PickIDStyle_Get(TQ3StyleObject style, TQ3Uns32 *v) {
  return getStyle(style, kQ3StyleTypePickID, v);
}
Q3_EXTERN_API_C(TQ3Status) Q3FogStyle_GetData(TQ3StyleObject style, TQ3FogStyleData *d) {
  const q3::Style *s = q3::validate<q3::Style>(style, kQ3StyleTypeFog);
  if (!s || !q3::requirePointer(d)) return kQ3Failure;
  *d = s->fog();
  return kQ3Success;
}
