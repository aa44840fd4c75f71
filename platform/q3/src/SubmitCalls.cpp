// SubmitCalls.cpp: the immediate-mode submit calls. Each checks that the
// view is inside a loop (kQ3ErrorViewNotStarted otherwise) and its
// arguments, then acts on the view's current pass.
#include "Group.h"
#include "MathSupport.h"
#include "Shader.h"
#include "View.h"

#include <cmath>

namespace {
using q3::raster::M4;

q3::View *inLoop(TQ3ViewObject ref) {
  q3::View *v = q3::validate<q3::View>(ref);
  return v && v->readyForSubmit() ? v : nullptr;
}

bool finite3(const TQ3Vector3D &v) {
  if (std::isfinite(v.x) && std::isfinite(v.y) && std::isfinite(v.z)) return true;
  q3::postError(kQ3ErrorInvalidParameter);
  return false;
}

TQ3Status transformView(TQ3ViewObject view, const M4 &m) {
  q3::View *v = inLoop(view);
  if (!v) return kQ3Failure;
  v->transformBy(m);
  return kQ3Success;
}

template <typename E> bool inRange(const E &value, E low, E high) {
  const uint32_t raw = q3::rawEnum(value);
  if (raw >= uint32_t(low) && raw <= uint32_t(high)) return true;
  q3::postError(kQ3ErrorInvalidParameter);
  return false;
}
} // namespace

Q3_EXTERN_API_C(TQ3Status) Q3Object_Submit(TQ3Object object, TQ3ViewObject view) {
  q3::View *v = q3::validate<q3::View>(view);
  if (!v) return kQ3Failure;
  const q3::Object *obj = q3::validate<q3::Object>(object);
  if (!obj) return kQ3Failure;
  if (!obj->isDrawable() && !obj->isType(kQ3ShapeTypeLight) && !obj->isType(kQ3ShapeTypeCamera)) {
    q3::postError(kQ3ErrorInvalidObjectType);
    return kQ3Failure;
  }
  if (!v->readyForSubmit()) return kQ3Failure;
  q3::submitObject(*obj, *v);
  return kQ3Success;
}

Q3_EXTERN_API_C(TQ3Status) Q3DisplayGroup_Submit(TQ3GroupObject group, TQ3ViewObject view) {
  q3::View *v = q3::validate<q3::View>(view);
  if (!v) return kQ3Failure;
  const q3::Group *g = q3::validate<q3::Group>(group, kQ3GroupTypeDisplay);
  if (!g || !v->readyForSubmit()) return kQ3Failure;
  g->submit(*v);
  return kQ3Success;
}

Q3_EXTERN_API_C(TQ3Status) Q3Shader_Submit(TQ3ShaderObject shader, TQ3ViewObject view) {
  q3::View *v = q3::validate<q3::View>(view);
  if (!v) return kQ3Failure;
  const q3::Shader *s = q3::validate<q3::Shader>(shader);
  if (!s || !v->readyForSubmit()) return kQ3Failure;
  s->submit(*v);
  return kQ3Success;
}

Q3_EXTERN_API_C(TQ3Status) Q3Push_Submit(TQ3ViewObject view) {
  q3::View *v = inLoop(view);
  if (!v) return kQ3Failure;
  v->push();
  return kQ3Success;
}

Q3_EXTERN_API_C(TQ3Status) Q3Pop_Submit(TQ3ViewObject view) {
  q3::View *v = inLoop(view);
  if (!v) return kQ3Failure;
  if (!v->canPop()) {
    q3::postError(kQ3ErrorNothingToPop);
    return kQ3Failure;
  }
  v->pop();
  return kQ3Success;
}

Q3_EXTERN_API_C(TQ3Status) Q3TranslateTransform_Submit(const TQ3Vector3D *translate, TQ3ViewObject view) {
  if (!q3::validate<q3::View>(view) || !q3::requirePointer(translate) || !finite3(*translate)) return kQ3Failure;
  M4 m = M4::identity();
  m.m[3][0] = translate->x, m.m[3][1] = translate->y, m.m[3][2] = translate->z;
  return transformView(view, m);
}

Q3_EXTERN_API_C(TQ3Status) Q3ScaleTransform_Submit(const TQ3Vector3D *scale, TQ3ViewObject view) {
  if (!q3::validate<q3::View>(view) || !q3::requirePointer(scale) || !finite3(*scale)) return kQ3Failure;
  M4 m = M4::identity();
  m.m[0][0] = scale->x, m.m[1][1] = scale->y, m.m[2][2] = scale->z;
  return transformView(view, m);
}

Q3_EXTERN_API_C(TQ3Status) Q3QuaternionTransform_Submit(const TQ3Quaternion *quaternion, TQ3ViewObject view) {
  if (!q3::validate<q3::View>(view) || !q3::requirePointer(quaternion)) return kQ3Failure;
  const q3::math::DQ q = q3::math::loadQ(*quaternion);
  if (!std::isfinite(q.w) || !std::isfinite(q.x) || !std::isfinite(q.y) || !std::isfinite(q.z)) {
    q3::postError(kQ3ErrorInvalidParameter);
    return kQ3Failure;
  }
  const q3::math::DMatrix3 r = q3::math::rotationOfQuaternion(q);
  M4 m = M4::identity();
  for (int i = 0; i < 3; ++i)
    for (int j = 0; j < 3; ++j) m.m[i][j] = r.m[i][j];
  return transformView(view, m);
}

Q3_EXTERN_API_C(TQ3Status) Q3MatrixTransform_Submit(const TQ3Matrix4x4 *matrix, TQ3ViewObject view) {
  if (!q3::validate<q3::View>(view) || !q3::requirePointer(matrix)) return kQ3Failure;
  for (const auto &row : matrix->value)
    for (float f : row)
      if (!std::isfinite(f)) {
        q3::postError(kQ3ErrorInvalidParameter);
        return kQ3Failure;
      }
  return transformView(view, M4::of(*matrix));
}

Q3_EXTERN_API_C(TQ3Status) Q3ResetTransform_Submit(TQ3ViewObject view) {
  q3::View *v = inLoop(view);
  if (!v) return kQ3Failure;
  v->resetTransform();
  return kQ3Success;
}

Q3_EXTERN_API_C(TQ3Status) Q3BackfacingStyle_Submit(TQ3BackfacingStyle style, TQ3ViewObject view) {
  q3::View *v = q3::validate<q3::View>(view);
  if (!v || !inRange(style, kQ3BackfacingStyleBoth, kQ3BackfacingStyleFlip) || !v->readyForSubmit()) return kQ3Failure;
  v->backfacing(style);
  return kQ3Success;
}

Q3_EXTERN_API_C(TQ3Status) Q3InterpolationStyle_Submit(TQ3InterpolationStyle style, TQ3ViewObject view) {
  q3::View *v = q3::validate<q3::View>(view);
  if (!v || !inRange(style, kQ3InterpolationStyleNone, kQ3InterpolationStylePixel) || !v->readyForSubmit())
    return kQ3Failure;
  v->interpolation(style);
  return kQ3Success;
}

Q3_EXTERN_API_C(TQ3Status) Q3FillStyle_Submit(TQ3FillStyle style, TQ3ViewObject view) {
  q3::View *v = q3::validate<q3::View>(view);
  if (!v || !inRange(style, kQ3FillStyleFilled, kQ3FillStylePoints) || !v->readyForSubmit()) return kQ3Failure;
  v->fill(style);
  return kQ3Success;
}

Q3_EXTERN_API_C(TQ3Status) Q3OrientationStyle_Submit(TQ3OrientationStyle style, TQ3ViewObject view) {
  q3::View *v = q3::validate<q3::View>(view);
  if (!v || !inRange(style, kQ3OrientationStyleCounterClockwise, kQ3OrientationStyleClockwise) || !v->readyForSubmit())
    return kQ3Failure;
  v->orientation(style);
  return kQ3Success;
}

Q3_EXTERN_API_C(TQ3Status) Q3FogStyle_Submit(const TQ3FogStyleData *fogData, TQ3ViewObject view) {
  q3::View *v = q3::validate<q3::View>(view);
  if (!v || !q3::requirePointer(fogData)) return kQ3Failure;
  const TQ3FogStyleData &f = *fogData;
  if (!std::isfinite(f.fogStart) || !std::isfinite(f.fogEnd) || !std::isfinite(f.density)) {
    q3::postError(kQ3ErrorInvalidParameter);
    return kQ3Failure;
  }
  if (!inRange(f.state, kQ3Off, kQ3On) || !inRange(f.mode, kQ3FogModeLinear, kQ3FogModeAlpha)) return kQ3Failure;
  if (!v->readyForSubmit()) return kQ3Failure;
  v->fog(f);
  return kQ3Success;
}

Q3_EXTERN_API_C(TQ3Status) Q3PickIDStyle_Submit(TQ3Uns32 id, TQ3ViewObject view) {
  q3::View *v = inLoop(view);
  if (!v) return kQ3Failure;
  v->pickID(id);
  return kQ3Success;
}
