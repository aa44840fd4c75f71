// RasterMath.h: double-precision matrices and the few transcendental
// functions the engine needs, written out here so that both targets compute
// bit-identical results (their C libraries round tan, exp and pow
// differently in the last place, which would move pixels).
//
// Conventions: row vectors, p x M, translation in row 3; a 4x4 product
// a * b applies a first.
#pragma once

#include "Q3Base.h"

#include <cmath>
#include <cstdint>
#include <cstring>

namespace q3 {
// The integer a caller stored in an enum field or argument. C callers may
// pass any value; reading it as the enum type first would be undefined.
template <typename E> uint32_t rawEnum(const E &e) {
  static_assert(sizeof(E) == 4, "the interface's enums are 32-bit");
  uint32_t r;
  std::memcpy(&r, &e, sizeof r);
  return r;
}
} // namespace q3

namespace q3::raster {

struct V3 {
  double x, y, z;
};
inline V3 operator+(V3 a, V3 b) { return {a.x + b.x, a.y + b.y, a.z + b.z}; }
inline V3 operator-(V3 a, V3 b) { return {a.x - b.x, a.y - b.y, a.z - b.z}; }
inline V3 operator*(V3 a, double s) { return {a.x * s, a.y * s, a.z * s}; }
inline V3 operator-(V3 a) { return {-a.x, -a.y, -a.z}; }
inline double dot(V3 a, V3 b) { return a.x * b.x + a.y * b.y + a.z * b.z; }
inline V3 cross(V3 a, V3 b) { return {a.y * b.z - a.z * b.y, a.z * b.x - a.x * b.z, a.x * b.y - a.y * b.x}; }
inline double length(V3 a) { return std::sqrt(dot(a, a)); }
// Unit vector; zero stays zero.
inline V3 normalized(V3 a) {
  const double l = length(a);
  return l > 0.0 ? a * (1.0 / l) : V3{0, 0, 0};
}
template <typename T> V3 toV3(const T &p) { return {p.x, p.y, p.z}; }
inline TQ3Point3D toPoint(V3 v) { return {float(v.x), float(v.y), float(v.z)}; }
inline TQ3Vector3D toVector(V3 v) { return {float(v.x), float(v.y), float(v.z)}; }

struct V4 {
  double x, y, z, w;
};

struct M4 {
  double m[4][4];

  static M4 identity() {
    M4 r{};
    for (int i = 0; i < 4; ++i) r.m[i][i] = 1.0;
    return r;
  }
  static M4 of(const TQ3Matrix4x4 &f) {
    M4 r;
    for (int i = 0; i < 4; ++i)
      for (int j = 0; j < 4; ++j) r.m[i][j] = f.value[i][j];
    return r;
  }
  TQ3Matrix4x4 toFloat() const {
    TQ3Matrix4x4 f;
    for (int i = 0; i < 4; ++i)
      for (int j = 0; j < 4; ++j) f.value[i][j] = float(m[i][j]);
    return f;
  }
  V4 apply(V3 p) const {
    return {p.x * m[0][0] + p.y * m[1][0] + p.z * m[2][0] + m[3][0],
            p.x * m[0][1] + p.y * m[1][1] + p.z * m[2][1] + m[3][1],
            p.x * m[0][2] + p.y * m[1][2] + p.z * m[2][2] + m[3][2],
            p.x * m[0][3] + p.y * m[1][3] + p.z * m[2][3] + m[3][3]};
  }
  // The point, divided by w unless w is 0 or 1 (the library's point rule).
  V3 point(V3 p) const {
    const V4 h = apply(p);
    const double s = (h.w != 0.0 && h.w != 1.0) ? 1.0 / h.w : 1.0;
    return {h.x * s, h.y * s, h.z * s};
  }
  V3 vector(V3 v) const {
    return {v.x * m[0][0] + v.y * m[1][0] + v.z * m[2][0], v.x * m[0][1] + v.y * m[1][1] + v.z * m[2][1],
            v.x * m[0][2] + v.y * m[1][2] + v.z * m[2][2]};
  }
};

inline M4 operator*(const M4 &a, const M4 &b) {
  M4 r;
  for (int i = 0; i < 4; ++i)
    for (int j = 0; j < 4; ++j)
      r.m[i][j] = a.m[i][0] * b.m[0][j] + a.m[i][1] * b.m[1][j] + a.m[i][2] * b.m[2][j] + a.m[i][3] * b.m[3][j];
  return r;
}

// Inverse by Gauss-Jordan with partial pivoting; false when singular.
bool invert(const M4 &a, M4 &out);

// The matrix that carries normals: the inverse transpose of the upper 3x3
// (the upper 3x3 itself when that is singular).
M4 normalMatrix(const M4 &a);

// Deterministic replacements for the C library's functions.
double detExp(double x);
double detLog(double x);           // x > 0
double detPow(double x, double y); // x >= 0
double detTan(double x);           // |x| < pi/2

} // namespace q3::raster
