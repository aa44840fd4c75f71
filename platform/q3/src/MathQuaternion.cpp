// MathQuaternion.cpp: quaternions {w, x, y, z} rotating v as q v q^-1.
#include "MathSupport.h"

using namespace q3::math;

namespace {
constexpr DQ kIdentity{1.0, 0.0, 0.0, 0.0};

double dotQ(DQ a, DQ b) { return a.w * b.w + a.x * b.x + a.y * b.y + a.z * b.z; }
DQ scaleQ(DQ q, double s) { return {q.w * s, q.x * s, q.y * s, q.z * s}; }
DQ addQ(DQ a, DQ b) { return {a.w + b.w, a.x + b.x, a.y + b.y, a.z + b.z}; }

DQ normalizedQ(DQ q) {
  const double len = std::sqrt(dotQ(q, q));
  return len > 0.0 ? scaleQ(q, 1.0 / len) : q;
}

// v + (w t + u x t) / |q|^2 with t = 2 u x v: q v q^-1 for any non-zero q.
D3 rotate(D3 v, DQ q) {
  const double n = dotQ(q, q);
  if (n == 0.0) return v;
  const D3 u{q.x, q.y, q.z};
  const D3 t = cross(u, v) * 2.0;
  return v + (t * q.w + cross(u, t)) * (1.0 / n);
}

DQ aboutAxis(double angle, double x, double y, double z) { return quaternionAboutAxis({x, y, z}, angle); }
} // namespace

namespace q3::math {
DMatrix3 rotationOfQuaternion(DQ q) {
  const double n = dotQ(q, q);
  const double s = n > 0.0 ? 2.0 / n : 0.0;
  const double w = q.w, x = q.x, y = q.y, z = q.z;
  return {{{1.0 - s * (y * y + z * z), s * (x * y + w * z), s * (x * z - w * y)},
           {s * (x * y - w * z), 1.0 - s * (x * x + z * z), s * (y * z + w * x)},
           {s * (x * z + w * y), s * (y * z - w * x), 1.0 - s * (x * x + y * y)}}};
}

DQ quaternionAboutAxis(D3 axis, double angle) {
  const double s = std::sin(angle / 2.0);
  return {std::cos(angle / 2.0), axis.x * s, axis.y * s, axis.z * s};
}

DQ quaternionThen(DQ a, DQ b) {
  return {b.w * a.w - b.x * a.x - b.y * a.y - b.z * a.z, b.w * a.x + a.w * b.x + (b.y * a.z - b.z * a.y),
          b.w * a.y + a.w * b.y + (b.z * a.x - b.x * a.z), b.w * a.z + a.w * b.z + (b.x * a.y - b.y * a.x)};
}

DQ quaternionVectorToVector(D3 a, D3 b) {
  const double la = length(a), lb = length(b);
  if (!(la > 0.0) || !(lb > 0.0)) return kIdentity;
  a = a * (1.0 / la);
  b = b * (1.0 / lb);
  const D3 c = cross(a, b);
  const double sine = length(c), cosine = dot(a, b);
  // Below this the cross product is rounding noise and gives no axis: the
  // vectors are parallel (no turn) or opposite (a half turn about any axis
  // perpendicular to a; the one across a's smallest component is well
  // conditioned).
  if (sine <= 1e-12) {
    if (cosine > 0.0) return kIdentity;
    const double ax = std::fabs(a.x), ay = std::fabs(a.y), az = std::fabs(a.z);
    const D3 e = (ax <= ay && ax <= az) ? D3{1, 0, 0} : (ay <= az ? D3{0, 1, 0} : D3{0, 0, 1});
    const D3 axis = cross(a, e) * (1.0 / length(cross(a, e)));
    return {0.0, axis.x, axis.y, axis.z};
  }
  // The angle from atan2 stays accurate near a half turn, where 1 + cos
  // would lose it to cancellation.
  return quaternionAboutAxis(c * (1.0 / sine), std::atan2(sine, cosine));
}
} // namespace q3::math

Q3_EXTERN_API_C(TQ3Quaternion *) Q3Quaternion_Set(TQ3Quaternion *quaternion, float w, float x, float y, float z) {
  if (missing(quaternion)) return nullptr;
  *quaternion = {w, x, y, z};
  return quaternion;
}

Q3_EXTERN_API_C(TQ3Quaternion *) Q3Quaternion_SetIdentity(TQ3Quaternion *quaternion) {
  if (missing(quaternion)) return nullptr;
  *quaternion = {1.0f, 0.0f, 0.0f, 0.0f};
  return quaternion;
}

Q3_EXTERN_API_C(TQ3Quaternion *) Q3Quaternion_Copy(const TQ3Quaternion *quaternion, TQ3Quaternion *result) {
  if (missing(quaternion, result)) return nullptr;
  *result = *quaternion;
  return result;
}

Q3_EXTERN_API_C(TQ3Boolean) Q3Quaternion_IsIdentity(const TQ3Quaternion *quaternion) {
  if (missing(quaternion)) return kQ3False;
  const TQ3Quaternion &q = *quaternion;
  return (q.w == 1.0f && q.x == 0.0f && q.y == 0.0f && q.z == 0.0f) ? kQ3True : kQ3False;
}

Q3_EXTERN_API_C(float) Q3Quaternion_Dot(const TQ3Quaternion *q1, const TQ3Quaternion *q2) {
  if (missing(q1, q2)) return 0.0f;
  return static_cast<float>(dotQ(loadQ(*q1), loadQ(*q2)));
}

Q3_EXTERN_API_C(TQ3Quaternion *) Q3Quaternion_Normalize(const TQ3Quaternion *quaternion, TQ3Quaternion *result) {
  if (missing(quaternion, result)) return nullptr;
  storeQ(*result, normalizedQ(loadQ(*quaternion)));
  return result;
}

Q3_EXTERN_API_C(TQ3Quaternion *) Q3Quaternion_Invert(const TQ3Quaternion *quaternion, TQ3Quaternion *result) {
  if (missing(quaternion, result)) return nullptr;
  const DQ q = loadQ(*quaternion);
  const double n = dotQ(q, q);
  const double s = n > 0.0 ? 1.0 / n : 0.0;
  storeQ(*result, DQ{q.w * s, -q.x * s, -q.y * s, -q.z * s});
  return result;
}

Q3_EXTERN_API_C(TQ3Quaternion *)
Q3Quaternion_Multiply(const TQ3Quaternion *q1, const TQ3Quaternion *q2, TQ3Quaternion *result) {
  if (missing(q1, q2, result)) return nullptr;
  storeQ(*result, quaternionThen(loadQ(*q1), loadQ(*q2)));
  return result;
}

Q3_EXTERN_API_C(TQ3Quaternion *) Q3Quaternion_SetRotate_X(TQ3Quaternion *quaternion, float angle) {
  if (missing(quaternion)) return nullptr;
  storeQ(*quaternion, aboutAxis(angle, 1, 0, 0));
  return quaternion;
}

Q3_EXTERN_API_C(TQ3Quaternion *) Q3Quaternion_SetRotate_Y(TQ3Quaternion *quaternion, float angle) {
  if (missing(quaternion)) return nullptr;
  storeQ(*quaternion, aboutAxis(angle, 0, 1, 0));
  return quaternion;
}

Q3_EXTERN_API_C(TQ3Quaternion *) Q3Quaternion_SetRotate_Z(TQ3Quaternion *quaternion, float angle) {
  if (missing(quaternion)) return nullptr;
  storeQ(*quaternion, aboutAxis(angle, 0, 0, 1));
  return quaternion;
}

Q3_EXTERN_API_C(TQ3Quaternion *)
Q3Quaternion_SetRotate_XYZ(TQ3Quaternion *quaternion, float xAngle, float yAngle, float zAngle) {
  if (missing(quaternion)) return nullptr;
  const DQ xy = quaternionThen(aboutAxis(xAngle, 1, 0, 0), aboutAxis(yAngle, 0, 1, 0));
  storeQ(*quaternion, quaternionThen(xy, aboutAxis(zAngle, 0, 0, 1)));
  return quaternion;
}

Q3_EXTERN_API_C(TQ3Quaternion *)
Q3Quaternion_SetRotateAboutAxis(TQ3Quaternion *quaternion, const TQ3Vector3D *axis, float angle) {
  if (missing(quaternion, axis)) return nullptr;
  storeQ(*quaternion, quaternionAboutAxis(load3(*axis), angle));
  return quaternion;
}

Q3_EXTERN_API_C(TQ3Quaternion *)
Q3Quaternion_SetRotateVectorToVector(TQ3Quaternion *quaternion, const TQ3Vector3D *v1, const TQ3Vector3D *v2) {
  if (missing(quaternion, v1, v2)) return nullptr;
  storeQ(*quaternion, quaternionVectorToVector(load3(*v1), load3(*v2)));
  return quaternion;
}

Q3_EXTERN_API_C(TQ3Quaternion *) Q3Quaternion_SetMatrix(TQ3Quaternion *quaternion, const TQ3Matrix4x4 *matrix) {
  if (missing(quaternion, matrix)) return nullptr;
  // R is the column-vector rotation (the transpose of the row-vector matrix),
  // each axis scaled back to unit length so a scaled rotation reads as the
  // rotation alone.
  double r[3][3];
  for (int i = 0; i < 3; ++i) {
    const D3 row{matrix->value[i][0], matrix->value[i][1], matrix->value[i][2]};
    const double len = length(row);
    if (!(len > 0.0)) {
      storeQ(*quaternion, kIdentity);
      return quaternion;
    }
    for (int j = 0; j < 3; ++j) r[j][i] = matrix->value[i][j] / len;
  }
  // Shepperd: take the root of the largest of the four diagonal combinations.
  DQ q;
  const double trace = r[0][0] + r[1][1] + r[2][2];
  if (trace > 0.0) {
    const double s = 2.0 * std::sqrt(trace + 1.0);
    q = {s / 4.0, (r[2][1] - r[1][2]) / s, (r[0][2] - r[2][0]) / s, (r[1][0] - r[0][1]) / s};
  } else if (r[0][0] > r[1][1] && r[0][0] > r[2][2]) {
    const double s = 2.0 * std::sqrt(1.0 + r[0][0] - r[1][1] - r[2][2]);
    q = {(r[2][1] - r[1][2]) / s, s / 4.0, (r[0][1] + r[1][0]) / s, (r[0][2] + r[2][0]) / s};
  } else if (r[1][1] > r[2][2]) {
    const double s = 2.0 * std::sqrt(1.0 + r[1][1] - r[0][0] - r[2][2]);
    q = {(r[0][2] - r[2][0]) / s, (r[0][1] + r[1][0]) / s, s / 4.0, (r[1][2] + r[2][1]) / s};
  } else {
    const double s = 2.0 * std::sqrt(1.0 + r[2][2] - r[0][0] - r[1][1]);
    q = {(r[1][0] - r[0][1]) / s, (r[0][2] + r[2][0]) / s, (r[1][2] + r[2][1]) / s, s / 4.0};
  }
  if (q.w < 0.0) q = scaleQ(q, -1.0);
  storeQ(*quaternion, normalizedQ(q));
  return quaternion;
}

Q3_EXTERN_API_C(TQ3Quaternion *)
Q3Quaternion_MatchReflection(const TQ3Quaternion *q1, const TQ3Quaternion *q2, TQ3Quaternion *result) {
  if (missing(q1, q2, result)) return nullptr;
  const DQ a = loadQ(*q1);
  storeQ(*result, dotQ(a, loadQ(*q2)) < 0.0 ? scaleQ(a, -1.0) : a);
  return result;
}

Q3_EXTERN_API_C(TQ3Quaternion *)
Q3Quaternion_InterpolateFast(const TQ3Quaternion *q1, const TQ3Quaternion *q2, float t, TQ3Quaternion *result) {
  if (missing(q1, q2, result)) return nullptr;
  // The ends are the operands themselves, not their normalised copies.
  if (t == 0.0f || t == 1.0f) {
    *result = t == 0.0f ? *q1 : *q2;
    return result;
  }
  storeQ(*result, normalizedQ(addQ(scaleQ(loadQ(*q1), 1.0 - t), scaleQ(loadQ(*q2), t))));
  return result;
}

Q3_EXTERN_API_C(TQ3Quaternion *)
Q3Quaternion_InterpolateLinear(const TQ3Quaternion *q1, const TQ3Quaternion *q2, float t, TQ3Quaternion *result) {
  if (missing(q1, q2, result)) return nullptr;
  if (t == 0.0f || t == 1.0f) {
    *result = t == 0.0f ? *q1 : *q2;
    return result;
  }
  const DQ a = loadQ(*q1), b = loadQ(*q2);
  const double la = std::sqrt(dotQ(a, a)), lb = std::sqrt(dotQ(b, b));
  DQ r;
  if (!(la > 0.0) || !(lb > 0.0)) {
    // No arc to follow from or to a zero quaternion: blend linearly.
    r = addQ(scaleQ(a, 1.0 - t), scaleQ(b, t));
  } else {
    // The angle between the directions from the chord lengths stays accurate
    // near 0 and near a half turn, where acos of the dot product would not.
    const DQ ua = scaleQ(a, 1.0 / la), ub = scaleQ(b, 1.0 / lb);
    const DQ chord = addQ(ua, scaleQ(ub, -1.0)), across = addQ(ua, ub);
    const double angle = 2.0 * std::atan2(std::sqrt(dotQ(chord, chord)), std::sqrt(dotQ(across, across)));
    const double sine = std::sin(angle);
    if (sine < 1e-12 && angle < kQ3PiOver2) {
      // The same rotation within rounding: the chord is the arc.
      r = addQ(scaleQ(a, 1.0 - t), scaleQ(b, t));
    } else if (sine < 1e-12) {
      // Opposite quaternions: every great circle through them is shortest;
      // follow the one through a perpendicular quaternion of a's length.
      const DQ p{-a.x, a.w, -a.z, a.y};
      r = addQ(scaleQ(a, std::cos(kQ3Pi * t)), scaleQ(p, std::sin(kQ3Pi * t)));
    } else {
      r = addQ(scaleQ(a, std::sin((1.0 - t) * angle) / sine), scaleQ(b, std::sin(t * angle) / sine));
    }
  }
  storeQ(*result, r);
  return result;
}

Q3_EXTERN_API_C(TQ3Vector3D *)
Q3Vector3D_TransformQuaternion(const TQ3Vector3D *vector3D, const TQ3Quaternion *quaternion, TQ3Vector3D *result) {
  if (missing(vector3D, quaternion, result)) return nullptr;
  store3(*result, rotate(load3(*vector3D), loadQ(*quaternion)));
  return result;
}

Q3_EXTERN_API_C(TQ3Point3D *)
Q3Point3D_TransformQuaternion(const TQ3Point3D *point3D, const TQ3Quaternion *quaternion, TQ3Point3D *result) {
  if (missing(point3D, quaternion, result)) return nullptr;
  store3(*result, rotate(load3(*point3D), loadQ(*quaternion)));
  return result;
}
