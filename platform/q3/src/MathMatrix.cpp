// MathMatrix.cpp: 3x3 and 4x4 matrices for row vectors (p x M), worked in
// double precision and rounded once into the float records.
#include <cfloat>
#include <utility>

#include "MathSupport.h"

using namespace q3::math;

namespace {
template <int N> struct DM { double m[N][N]; };

template <int N> DM<N> identity() {
  DM<N> r{};
  for (int i = 0; i < N; ++i) r.m[i][i] = 1.0;
  return r;
}

template <int N, typename M> DM<N> load(const M &src) {
  DM<N> r;
  for (int i = 0; i < N; ++i)
    for (int j = 0; j < N; ++j) r.m[i][j] = src.value[i][j];
  return r;
}

template <int N, typename M> void store(M &dst, const DM<N> &src) {
  for (int i = 0; i < N; ++i)
    for (int j = 0; j < N; ++j) dst.value[i][j] = static_cast<float>(src.m[i][j]);
}

template <int N> DM<N> multiply(const DM<N> &a, const DM<N> &b) {
  DM<N> r;
  for (int i = 0; i < N; ++i)
    for (int j = 0; j < N; ++j) {
      double s = 0.0;
      for (int k = 0; k < N; ++k) s += a.m[i][k] * b.m[k][j];
      r.m[i][j] = s;
    }
  return r;
}

// By cofactors: every product of two float elements is exact in double, so
// integer and other short-mantissa matrices get exact determinants (a
// singular one exactly 0), which elimination with its divisions would not.
double determinant(const DM<3> &a) {
  return a.m[0][0] * (a.m[1][1] * a.m[2][2] - a.m[1][2] * a.m[2][1]) -
         a.m[0][1] * (a.m[1][0] * a.m[2][2] - a.m[1][2] * a.m[2][0]) +
         a.m[0][2] * (a.m[1][0] * a.m[2][1] - a.m[1][1] * a.m[2][0]);
}

double determinant(const DM<4> &a) {
  // 2x2 minors of the top two rows against the complementary ones of the bottom two.
  const auto minor = [&](int r, int c1, int c2) { return a.m[r][c1] * a.m[r + 1][c2] - a.m[r][c2] * a.m[r + 1][c1]; };
  return minor(0, 0, 1) * minor(2, 2, 3) - minor(0, 0, 2) * minor(2, 1, 3) + minor(0, 0, 3) * minor(2, 1, 2) +
         minor(0, 1, 2) * minor(2, 0, 3) - minor(0, 1, 3) * minor(2, 0, 2) + minor(0, 2, 3) * minor(2, 0, 1);
}

// Pivots this small, after each row was scaled to a largest element of 1, only
// arise from rounding in a matrix whose float elements are singular.
constexpr double kSingularPivot = 1e-12;

// Gauss-Jordan elimination with partial pivoting on the row-equilibrated
// matrix. False when the matrix is singular, holds a non-finite element, or
// its inverse does not fit in single precision.
template <int N> bool invert(const DM<N> &src, DM<N> &inverse) {
  DM<N> a = src;
  double rowScale[N];
  for (int i = 0; i < N; ++i) {
    double largest = 0.0;
    for (int j = 0; j < N; ++j) {
      if (!std::isfinite(a.m[i][j])) return false;
      largest = std::fmax(largest, std::fabs(a.m[i][j]));
    }
    if (largest == 0.0) return false;
    rowScale[i] = largest;
    for (int j = 0; j < N; ++j) a.m[i][j] /= largest;
  }
  DM<N> inv = identity<N>();
  for (int c = 0; c < N; ++c) {
    int p = c;
    for (int r = c + 1; r < N; ++r)
      if (std::fabs(a.m[r][c]) > std::fabs(a.m[p][c])) p = r;
    if (std::fabs(a.m[p][c]) < kSingularPivot) return false;
    for (int j = 0; j < N; ++j) {
      std::swap(a.m[p][j], a.m[c][j]);
      std::swap(inv.m[p][j], inv.m[c][j]);
    }
    const double pivot = a.m[c][c];
    for (int j = 0; j < N; ++j) {
      a.m[c][j] /= pivot;
      inv.m[c][j] /= pivot;
    }
    for (int r = 0; r < N; ++r) {
      if (r == c || a.m[r][c] == 0.0) continue;
      const double f = a.m[r][c];
      for (int j = 0; j < N; ++j) {
        a.m[r][j] -= f * a.m[c][j];
        inv.m[r][j] -= f * inv.m[c][j];
      }
    }
  }
  // A = S A', so A^-1 = A'^-1 S^-1: column j of A'^-1 divided by row scale j.
  for (int i = 0; i < N; ++i)
    for (int j = 0; j < N; ++j) {
      inv.m[i][j] /= rowScale[j];
      if (!(std::fabs(inv.m[i][j]) <= FLT_MAX)) return false;
    }
  inverse = inv;
  return true;
}

template <int N, typename M> M *invertRecord(const M *matrix, M *result) {
  if (missing(matrix, result)) return nullptr;
  DM<N> inv;
  if (!invert(load<N>(*matrix), inv)) {
    q3::postError(kQ3ErrorNonInvertibleMatrix);
    return nullptr;
  }
  store(*result, inv);
  return result;
}

DM<4> fromRotation(const DMatrix3 &r) {
  DM<4> m = identity<4>();
  for (int i = 0; i < 3; ++i)
    for (int j = 0; j < 3; ++j) m.m[i][j] = r.m[i][j];
  return m;
}

// Rotation about an axis through origin: p -> (p - o) R + o, so the fourth
// row holds o - o R.
void placeAt(DM<4> &m, D3 origin) {
  const double o[3] = {origin.x, origin.y, origin.z};
  for (int j = 0; j < 3; ++j) m.m[3][j] = o[j] - (o[0] * m.m[0][j] + o[1] * m.m[1][j] + o[2] * m.m[2][j]);
}

// Row-vector rotations: positive angles turn y to z, z to x, x to y.
DM<4> rotateX(double angle) {
  const double c = std::cos(angle), s = std::sin(angle);
  DM<4> m = identity<4>();
  m.m[1][1] = c, m.m[1][2] = s;
  m.m[2][1] = -s, m.m[2][2] = c;
  return m;
}
DM<4> rotateY(double angle) {
  const double c = std::cos(angle), s = std::sin(angle);
  DM<4> m = identity<4>();
  m.m[0][0] = c, m.m[0][2] = -s;
  m.m[2][0] = s, m.m[2][2] = c;
  return m;
}
DM<4> rotateZ(double angle) {
  const double c = std::cos(angle), s = std::sin(angle);
  DM<4> m = identity<4>();
  m.m[0][0] = c, m.m[0][1] = s;
  m.m[1][0] = -s, m.m[1][1] = c;
  return m;
}
DM<4> rotateXYZ(double x, double y, double z) { return multiply(multiply(rotateX(x), rotateY(y)), rotateZ(z)); }
} // namespace

Q3_EXTERN_API_C(TQ3Matrix3x3 *) Q3Matrix3x3_Copy(const TQ3Matrix3x3 *matrix3x3, TQ3Matrix3x3 *result) {
  if (missing(matrix3x3, result)) return nullptr;
  *result = *matrix3x3;
  return result;
}

Q3_EXTERN_API_C(TQ3Matrix4x4 *) Q3Matrix4x4_Copy(const TQ3Matrix4x4 *matrix4x4, TQ3Matrix4x4 *result) {
  if (missing(matrix4x4, result)) return nullptr;
  *result = *matrix4x4;
  return result;
}

Q3_EXTERN_API_C(TQ3Matrix3x3 *) Q3Matrix3x3_SetIdentity(TQ3Matrix3x3 *matrix3x3) {
  if (missing(matrix3x3)) return nullptr;
  store(*matrix3x3, identity<3>());
  return matrix3x3;
}

Q3_EXTERN_API_C(TQ3Matrix4x4 *) Q3Matrix4x4_SetIdentity(TQ3Matrix4x4 *matrix4x4) {
  if (missing(matrix4x4)) return nullptr;
  store(*matrix4x4, identity<4>());
  return matrix4x4;
}

Q3_EXTERN_API_C(TQ3Matrix3x3 *) Q3Matrix3x3_Transpose(const TQ3Matrix3x3 *matrix3x3, TQ3Matrix3x3 *result) {
  if (missing(matrix3x3, result)) return nullptr;
  const TQ3Matrix3x3 m = *matrix3x3;
  for (int i = 0; i < 3; ++i)
    for (int j = 0; j < 3; ++j) result->value[i][j] = m.value[j][i];
  return result;
}

Q3_EXTERN_API_C(TQ3Matrix4x4 *) Q3Matrix4x4_Transpose(const TQ3Matrix4x4 *matrix4x4, TQ3Matrix4x4 *result) {
  if (missing(matrix4x4, result)) return nullptr;
  const TQ3Matrix4x4 m = *matrix4x4;
  for (int i = 0; i < 4; ++i)
    for (int j = 0; j < 4; ++j) result->value[i][j] = m.value[j][i];
  return result;
}

Q3_EXTERN_API_C(TQ3Matrix3x3 *) Q3Matrix3x3_Invert(const TQ3Matrix3x3 *matrix3x3, TQ3Matrix3x3 *result) {
  return invertRecord<3>(matrix3x3, result);
}

Q3_EXTERN_API_C(TQ3Matrix4x4 *) Q3Matrix4x4_Invert(const TQ3Matrix4x4 *matrix4x4, TQ3Matrix4x4 *result) {
  return invertRecord<4>(matrix4x4, result);
}

Q3_EXTERN_API_C(TQ3Matrix3x3 *) Q3Matrix3x3_Adjoint(const TQ3Matrix3x3 *matrix3x3, TQ3Matrix3x3 *result) {
  if (missing(matrix3x3, result)) return nullptr;
  const DM<3> a = load<3>(*matrix3x3);
  DM<3> adj;
  for (int i = 0; i < 3; ++i)
    for (int j = 0; j < 3; ++j) {
      // Cofactor of element (j, i), from the cyclic successors of row j and column i.
      const int r1 = (j + 1) % 3, r2 = (j + 2) % 3, c1 = (i + 1) % 3, c2 = (i + 2) % 3;
      adj.m[i][j] = a.m[r1][c1] * a.m[r2][c2] - a.m[r1][c2] * a.m[r2][c1];
    }
  store(*result, adj);
  return result;
}

Q3_EXTERN_API_C(TQ3Matrix3x3 *)
Q3Matrix3x3_Multiply(const TQ3Matrix3x3 *matrixA, const TQ3Matrix3x3 *matrixB, TQ3Matrix3x3 *result) {
  if (missing(matrixA, matrixB, result)) return nullptr;
  store(*result, multiply(load<3>(*matrixA), load<3>(*matrixB)));
  return result;
}

Q3_EXTERN_API_C(TQ3Matrix4x4 *)
Q3Matrix4x4_Multiply(const TQ3Matrix4x4 *matrixA, const TQ3Matrix4x4 *matrixB, TQ3Matrix4x4 *result) {
  if (missing(matrixA, matrixB, result)) return nullptr;
  store(*result, multiply(load<4>(*matrixA), load<4>(*matrixB)));
  return result;
}

Q3_EXTERN_API_C(float) Q3Matrix3x3_Determinant(const TQ3Matrix3x3 *matrix3x3) {
  if (missing(matrix3x3)) return 0.0f;
  return static_cast<float>(determinant(load<3>(*matrix3x3)));
}

Q3_EXTERN_API_C(float) Q3Matrix4x4_Determinant(const TQ3Matrix4x4 *matrix4x4) {
  if (missing(matrix4x4)) return 0.0f;
  return static_cast<float>(determinant(load<4>(*matrix4x4)));
}

Q3_EXTERN_API_C(TQ3Matrix3x3 *) Q3Matrix3x3_SetTranslate(TQ3Matrix3x3 *matrix3x3, float xTrans, float yTrans) {
  if (missing(matrix3x3)) return nullptr;
  DM<3> m = identity<3>();
  m.m[2][0] = xTrans, m.m[2][1] = yTrans;
  store(*matrix3x3, m);
  return matrix3x3;
}

Q3_EXTERN_API_C(TQ3Matrix3x3 *) Q3Matrix3x3_SetScale(TQ3Matrix3x3 *matrix3x3, float xScale, float yScale) {
  if (missing(matrix3x3)) return nullptr;
  DM<3> m = identity<3>();
  m.m[0][0] = xScale, m.m[1][1] = yScale;
  store(*matrix3x3, m);
  return matrix3x3;
}

Q3_EXTERN_API_C(TQ3Matrix3x3 *)
Q3Matrix3x3_SetRotateAboutPoint(TQ3Matrix3x3 *matrix3x3, const TQ3Point2D *origin, float angle) {
  if (missing(matrix3x3, origin)) return nullptr;
  const double c = std::cos(angle), s = std::sin(angle), ox = origin->x, oy = origin->y;
  DM<3> m = identity<3>();
  m.m[0][0] = c, m.m[0][1] = s;
  m.m[1][0] = -s, m.m[1][1] = c;
  m.m[2][0] = ox - (ox * c - oy * s);
  m.m[2][1] = oy - (ox * s + oy * c);
  store(*matrix3x3, m);
  return matrix3x3;
}

Q3_EXTERN_API_C(TQ3Matrix4x4 *)
Q3Matrix4x4_SetTranslate(TQ3Matrix4x4 *matrix4x4, float xTrans, float yTrans, float zTrans) {
  if (missing(matrix4x4)) return nullptr;
  DM<4> m = identity<4>();
  m.m[3][0] = xTrans, m.m[3][1] = yTrans, m.m[3][2] = zTrans;
  store(*matrix4x4, m);
  return matrix4x4;
}

Q3_EXTERN_API_C(TQ3Matrix4x4 *)
Q3Matrix4x4_SetScale(TQ3Matrix4x4 *matrix4x4, float xScale, float yScale, float zScale) {
  if (missing(matrix4x4)) return nullptr;
  DM<4> m = identity<4>();
  m.m[0][0] = xScale, m.m[1][1] = yScale, m.m[2][2] = zScale;
  store(*matrix4x4, m);
  return matrix4x4;
}

Q3_EXTERN_API_C(TQ3Matrix4x4 *) Q3Matrix4x4_SetRotate_X(TQ3Matrix4x4 *matrix4x4, float angle) {
  if (missing(matrix4x4)) return nullptr;
  store(*matrix4x4, rotateX(angle));
  return matrix4x4;
}

Q3_EXTERN_API_C(TQ3Matrix4x4 *) Q3Matrix4x4_SetRotate_Y(TQ3Matrix4x4 *matrix4x4, float angle) {
  if (missing(matrix4x4)) return nullptr;
  store(*matrix4x4, rotateY(angle));
  return matrix4x4;
}

Q3_EXTERN_API_C(TQ3Matrix4x4 *) Q3Matrix4x4_SetRotate_Z(TQ3Matrix4x4 *matrix4x4, float angle) {
  if (missing(matrix4x4)) return nullptr;
  store(*matrix4x4, rotateZ(angle));
  return matrix4x4;
}

Q3_EXTERN_API_C(TQ3Matrix4x4 *)
Q3Matrix4x4_SetRotate_XYZ(TQ3Matrix4x4 *matrix4x4, float xAngle, float yAngle, float zAngle) {
  if (missing(matrix4x4)) return nullptr;
  store(*matrix4x4, rotateXYZ(xAngle, yAngle, zAngle));
  return matrix4x4;
}

Q3_EXTERN_API_C(TQ3Matrix4x4 *)
Q3Matrix4x4_SetRotateAboutPoint(TQ3Matrix4x4 *matrix4x4, const TQ3Point3D *origin, float xAngle, float yAngle,
                                float zAngle) {
  if (missing(matrix4x4, origin)) return nullptr;
  DM<4> m = rotateXYZ(xAngle, yAngle, zAngle);
  placeAt(m, load3(*origin));
  store(*matrix4x4, m);
  return matrix4x4;
}

Q3_EXTERN_API_C(TQ3Matrix4x4 *)
Q3Matrix4x4_SetRotateAboutAxis(TQ3Matrix4x4 *matrix4x4, const TQ3Point3D *origin, const TQ3Vector3D *orientation,
                               float angle) {
  if (missing(matrix4x4, origin, orientation)) return nullptr;
  // Rodrigues' rotation, transposed for row vectors: c I + (1 - c) k k^T + s [k]x^T.
  const D3 k = load3(*orientation);
  const double c = std::cos(angle), s = std::sin(angle), t = 1.0 - c;
  DM<4> m = identity<4>();
  m.m[0][0] = c + t * k.x * k.x, m.m[0][1] = t * k.x * k.y + s * k.z, m.m[0][2] = t * k.x * k.z - s * k.y;
  m.m[1][0] = t * k.y * k.x - s * k.z, m.m[1][1] = c + t * k.y * k.y, m.m[1][2] = t * k.y * k.z + s * k.x;
  m.m[2][0] = t * k.z * k.x + s * k.y, m.m[2][1] = t * k.z * k.y - s * k.x, m.m[2][2] = c + t * k.z * k.z;
  placeAt(m, load3(*origin));
  store(*matrix4x4, m);
  return matrix4x4;
}

Q3_EXTERN_API_C(TQ3Matrix4x4 *)
Q3Matrix4x4_SetRotateVectorToVector(TQ3Matrix4x4 *matrix4x4, const TQ3Vector3D *v1, const TQ3Vector3D *v2) {
  if (missing(matrix4x4, v1, v2)) return nullptr;
  store(*matrix4x4, fromRotation(rotationOfQuaternion(quaternionVectorToVector(load3(*v1), load3(*v2)))));
  return matrix4x4;
}

Q3_EXTERN_API_C(TQ3Matrix4x4 *) Q3Matrix4x4_SetQuaternion(TQ3Matrix4x4 *matrix, const TQ3Quaternion *quaternion) {
  if (missing(matrix, quaternion)) return nullptr;
  store(*matrix, fromRotation(rotationOfQuaternion(loadQ(*quaternion))));
  return matrix;
}
