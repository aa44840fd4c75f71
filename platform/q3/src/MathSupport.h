// MathSupport.h: what the math modules share: double-precision working
// values, loading and storing the float records, and argument checks.
#pragma once

#include <cmath>

#include "Errors.h"
#include "Q3Math.h"

namespace q3::math {

// Posts kQ3ErrorNULLParameter when any argument is null; calls then return
// without writing anything.
template <typename... P> bool missing(const P *...p) {
  if ((!p || ...)) {
    q3::postError(kQ3ErrorNULLParameter);
    return true;
  }
  return false;
}

struct D2 {
  double x, y;
};
struct D3 {
  double x, y, z;
};
struct DQ {
  double w, x, y, z;
};

inline D3 operator+(D3 a, D3 b) { return {a.x + b.x, a.y + b.y, a.z + b.z}; }
inline D3 operator-(D3 a, D3 b) { return {a.x - b.x, a.y - b.y, a.z - b.z}; }
inline D3 operator*(D3 a, double s) { return {a.x * s, a.y * s, a.z * s}; }
inline double dot(D3 a, D3 b) { return a.x * b.x + a.y * b.y + a.z * b.z; }
inline D3 cross(D3 a, D3 b) { return {a.y * b.z - a.z * b.y, a.z * b.x - a.x * b.z, a.x * b.y - a.y * b.x}; }
inline double length(D3 a) { return std::sqrt(dot(a, a)); }
inline bool isFinite(D3 a) { return std::isfinite(a.x) && std::isfinite(a.y) && std::isfinite(a.z); }

// Points and vectors share the x, y, z layout.
template <typename T> D3 load3(const T &p) { return {p.x, p.y, p.z}; }
template <typename T> void store3(T &p, D3 v) {
  p.x = static_cast<float>(v.x);
  p.y = static_cast<float>(v.y);
  p.z = static_cast<float>(v.z);
}
template <typename T> D2 load2(const T &p) { return {p.x, p.y}; }
template <typename T> void store2(T &p, D2 v) {
  p.x = static_cast<float>(v.x);
  p.y = static_cast<float>(v.y);
}
inline D2 loadParam(const TQ3Param2D &p) { return {p.u, p.v}; }
inline void storeParam(TQ3Param2D &p, D2 v) {
  p.u = static_cast<float>(v.x);
  p.v = static_cast<float>(v.y);
}

inline DQ loadQ(const TQ3Quaternion &q) { return {q.w, q.x, q.y, q.z}; }
inline void storeQ(TQ3Quaternion &q, DQ v) {
  q.w = static_cast<float>(v.w);
  q.x = static_cast<float>(v.x);
  q.y = static_cast<float>(v.y);
  q.z = static_cast<float>(v.z);
}

// The divide-by-w rule of point transforms: a w of 0 (a point at infinity) or
// 1 leaves the coordinates as they are.
inline double homogeneousScale(double w) { return (w != 0.0 && w != 1.0) ? 1.0 / w : 1.0; }

// The smallest float not below v, so a rounded radius still encloses.
inline float roundUp(double v) {
  float f = static_cast<float>(v);
  if (static_cast<double>(f) < v) f = std::nextafter(f, HUGE_VALF);
  return f;
}

// Rotation in double, shared by the matrix and quaternion modules.
struct DMatrix3 {
  double m[3][3];
};
// Row-vector rotation matrix of q (p x M = q p q^-1); identity for zero q.
DMatrix3 rotationOfQuaternion(DQ q);
// Unit quaternion taking direction a to direction b (identity if either is 0).
DQ quaternionVectorToVector(D3 a, D3 b);
// The quaternion turning by angle about the given (unit) axis.
DQ quaternionAboutAxis(D3 axis, double angle);
// The product "a, then b" (Hamilton b a).
DQ quaternionThen(DQ a, DQ b);

} // namespace q3::math
