// MathTransform.cpp: points and vectors times 3x3 and 4x4 matrices (row
// vectors on the left), one at a time and in arrays.
#include <cstdint>
#include <cstring>
#include <new>

#include "MathSupport.h"

using namespace q3::math;

namespace {
struct D4 {
  double x, y, z, w;
};

// (x, y, z, w) x M.
D4 times4(D4 p, const TQ3Matrix4x4 &m) {
  double r[4];
  for (int j = 0; j < 4; ++j)
    r[j] = p.x * m.value[0][j] + p.y * m.value[1][j] + p.z * m.value[2][j] + p.w * m.value[3][j];
  return {r[0], r[1], r[2], r[3]};
}

// (x, y, w) x M.
D3 times3(D3 p, const TQ3Matrix3x3 &m) {
  double r[3];
  for (int j = 0; j < 3; ++j) r[j] = p.x * m.value[0][j] + p.y * m.value[1][j] + p.z * m.value[2][j];
  return {r[0], r[1], r[2]};
}

D3 transformPoint(D3 p, const TQ3Matrix4x4 &m) {
  const D4 r = times4({p.x, p.y, p.z, 1.0}, m);
  const double s = homogeneousScale(r.w);
  return {r.x * s, r.y * s, r.z * s};
}

D2 transformPoint2(D2 p, const TQ3Matrix3x3 &m) {
  const D3 r = times3({p.x, p.y, 1.0}, m);
  const double s = homogeneousScale(r.z);
  return {r.x * s, r.y * s};
}

void store4(TQ3RationalPoint4D &p, D4 v) {
  p = {static_cast<float>(v.x), static_cast<float>(v.y), static_cast<float>(v.z), static_cast<float>(v.w)};
}

bool overlaps(const void *a, size_t aBytes, const void *b, size_t bBytes) {
  const auto pa = reinterpret_cast<uintptr_t>(a), pb = reinterpret_cast<uintptr_t>(b);
  return pa < pb + bBytes && pb < pa + aBytes;
}

// Runs op(in element, out element) over strided arrays. An output that
// overlaps its input other than element for element in place would overwrite
// points before they are read, so the input is copied first.
template <typename In, typename Out, typename Op>
TQ3Status transformArray(const In *in, const TQ3Matrix4x4 *matrix, Out *out, TQ3Uns32 n, TQ3Uns32 inStride,
                         TQ3Uns32 outStride, Op op) {
  if (missing(matrix) || (n > 0 && missing(in, out))) return kQ3Failure;
  if (inStride < sizeof(In) || outStride < sizeof(Out)) {
    q3::postError(kQ3ErrorParameterOutOfRange);
    return kQ3Failure;
  }
  if (n == 0) return kQ3Success;
  const size_t inBytes = size_t(n - 1) * inStride + sizeof(In);
  const size_t outBytes = size_t(n - 1) * outStride + sizeof(Out);
  const unsigned char *src = reinterpret_cast<const unsigned char *>(in);
  unsigned char *copy = nullptr;
  // Element for element in place, each read and write stays within its own slot.
  const bool inPlace = static_cast<const void *>(in) == static_cast<void *>(out) && inStride == outStride;
  if (!inPlace && overlaps(in, inBytes, out, outBytes)) {
    copy = new (std::nothrow) unsigned char[inBytes];
    if (!copy) {
      q3::postError(kQ3ErrorOutOfMemory);
      return kQ3Failure;
    }
    std::memcpy(copy, in, inBytes);
    src = copy;
  }
  const TQ3Matrix4x4 m = *matrix; // the matrix itself may lie in the output
  unsigned char *dst = reinterpret_cast<unsigned char *>(out);
  for (TQ3Uns32 i = 0; i < n; ++i) {
    In p;
    std::memcpy(&p, src + size_t(i) * inStride, sizeof p);
    Out r;
    op(p, m, r);
    std::memcpy(dst + size_t(i) * outStride, &r, sizeof r);
  }
  delete[] copy;
  return kQ3Success;
}
} // namespace

Q3_EXTERN_API_C(TQ3Vector2D *)
Q3Vector2D_Transform(const TQ3Vector2D *vector2D, const TQ3Matrix3x3 *matrix3x3, TQ3Vector2D *result) {
  if (missing(vector2D, matrix3x3, result)) return nullptr;
  const D3 r = times3({vector2D->x, vector2D->y, 0.0}, *matrix3x3);
  store2(*result, D2{r.x, r.y});
  return result;
}

Q3_EXTERN_API_C(TQ3Vector3D *)
Q3Vector3D_Transform(const TQ3Vector3D *vector3D, const TQ3Matrix4x4 *matrix4x4, TQ3Vector3D *result) {
  if (missing(vector3D, matrix4x4, result)) return nullptr;
  const D4 r = times4({vector3D->x, vector3D->y, vector3D->z, 0.0}, *matrix4x4);
  store3(*result, D3{r.x, r.y, r.z});
  return result;
}

Q3_EXTERN_API_C(TQ3Point2D *)
Q3Point2D_Transform(const TQ3Point2D *point2D, const TQ3Matrix3x3 *matrix3x3, TQ3Point2D *result) {
  if (missing(point2D, matrix3x3, result)) return nullptr;
  store2(*result, transformPoint2(load2(*point2D), *matrix3x3));
  return result;
}

Q3_EXTERN_API_C(TQ3Param2D *)
Q3Param2D_Transform(const TQ3Param2D *param2D, const TQ3Matrix3x3 *matrix3x3, TQ3Param2D *result) {
  if (missing(param2D, matrix3x3, result)) return nullptr;
  storeParam(*result, transformPoint2(loadParam(*param2D), *matrix3x3));
  return result;
}

Q3_EXTERN_API_C(TQ3Point3D *)
Q3Point3D_Transform(const TQ3Point3D *point3D, const TQ3Matrix4x4 *matrix4x4, TQ3Point3D *result) {
  if (missing(point3D, matrix4x4, result)) return nullptr;
  store3(*result, transformPoint(load3(*point3D), *matrix4x4));
  return result;
}

Q3_EXTERN_API_C(TQ3RationalPoint3D *)
Q3RationalPoint3D_Transform(const TQ3RationalPoint3D *point3D, const TQ3Matrix3x3 *matrix3x3,
                            TQ3RationalPoint3D *result) {
  if (missing(point3D, matrix3x3, result)) return nullptr;
  const D3 r = times3({point3D->x, point3D->y, point3D->w}, *matrix3x3);
  *result = {static_cast<float>(r.x), static_cast<float>(r.y), static_cast<float>(r.z)};
  return result;
}

Q3_EXTERN_API_C(TQ3RationalPoint4D *)
Q3RationalPoint4D_Transform(const TQ3RationalPoint4D *point4D, const TQ3Matrix4x4 *matrix4x4,
                            TQ3RationalPoint4D *result) {
  if (missing(point4D, matrix4x4, result)) return nullptr;
  store4(*result, times4({point4D->x, point4D->y, point4D->z, point4D->w}, *matrix4x4));
  return result;
}

Q3_EXTERN_API_C(TQ3Status)
Q3Point3D_To3DTransformArray(const TQ3Point3D *inPoint3D, const TQ3Matrix4x4 *matrix, TQ3Point3D *outPoint3D,
                             TQ3Uns32 numPoints, TQ3Uns32 inStructSize, TQ3Uns32 outStructSize) {
  return transformArray(
      inPoint3D, matrix, outPoint3D, numPoints, inStructSize, outStructSize,
      [](const TQ3Point3D &p, const TQ3Matrix4x4 &m, TQ3Point3D &r) { store3(r, transformPoint(load3(p), m)); });
}

Q3_EXTERN_API_C(TQ3Status)
Q3Point3D_To4DTransformArray(const TQ3Point3D *inPoint3D, const TQ3Matrix4x4 *matrix, TQ3RationalPoint4D *outPoint4D,
                             TQ3Uns32 numPoints, TQ3Uns32 inStructSize, TQ3Uns32 outStructSize) {
  return transformArray(inPoint3D, matrix, outPoint4D, numPoints, inStructSize, outStructSize,
                        [](const TQ3Point3D &p, const TQ3Matrix4x4 &m, TQ3RationalPoint4D &r) {
                          store4(r, times4({p.x, p.y, p.z, 1.0}, m));
                        });
}

Q3_EXTERN_API_C(TQ3Status)
Q3RationalPoint4D_To4DTransformArray(const TQ3RationalPoint4D *inPoint4D, const TQ3Matrix4x4 *matrix,
                                     TQ3RationalPoint4D *outPoint4D, TQ3Uns32 numPoints, TQ3Uns32 inStructSize,
                                     TQ3Uns32 outStructSize) {
  return transformArray(inPoint4D, matrix, outPoint4D, numPoints, inStructSize, outStructSize,
                        [](const TQ3RationalPoint4D &p, const TQ3Matrix4x4 &m, TQ3RationalPoint4D &r) {
                          store4(r, times4({p.x, p.y, p.z, p.w}, m));
                        });
}
