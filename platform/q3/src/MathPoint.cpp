// MathPoint.cpp: setting points, changing their dimension, distances,
// ratios, point-vector arithmetic and affine combinations.
#include "MathSupport.h"

using namespace q3::math;

namespace {
// The records with x, y coordinates and with u, v coordinates read alike here.
D2 get(const TQ3Point2D &p) { return load2(p); }
D2 get(const TQ3Vector2D &p) { return load2(p); }
D2 get(const TQ3Param2D &p) { return loadParam(p); }
void put(TQ3Point2D &p, D2 v) { store2(p, v); }
void put(TQ3Vector2D &p, D2 v) { store2(p, v); }
void put(TQ3Param2D &p, D2 v) { storeParam(p, v); }

template <typename P> TQ3Vector2D *subtract2(const P *p1, const P *p2, TQ3Vector2D *result) {
  if (missing(p1, p2, result)) return nullptr;
  const D2 a = get(*p1), b = get(*p2);
  put(*result, D2{a.x - b.x, a.y - b.y});
  return result;
}

template <typename P> double distanceSquared2(const P *p1, const P *p2) {
  const D2 a = get(*p1), b = get(*p2);
  const double dx = a.x - b.x, dy = a.y - b.y;
  return dx * dx + dy * dy;
}

template <typename P> P *ratio2(const P *p1, const P *p2, float r1, float r2, P *result) {
  if (missing(p1, p2, result)) return nullptr;
  const double sum = static_cast<double>(r1) + r2;
  if (sum == 0.0) {
    q3::postError(kQ3ErrorParameterOutOfRange);
    return nullptr;
  }
  const double f = r1 / sum;
  const D2 a = get(*p1), b = get(*p2);
  put(*result, D2{a.x + (b.x - a.x) * f, a.y + (b.y - a.y) * f});
  return result;
}

template <typename P> P *addVector2(const P *p, const TQ3Vector2D *v, double sign, P *result) {
  if (missing(p, v, result)) return nullptr;
  const D2 a = get(*p), b = get(*v);
  put(*result, D2{a.x + sign * b.x, a.y + sign * b.y});
  return result;
}

template <typename P> P *affine2(const P *points, const float *weights, TQ3Uns32 n, P *result) {
  if (missing(result) || (n > 0 && missing(points, weights))) return nullptr;
  D2 sum{0.0, 0.0};
  for (TQ3Uns32 i = 0; i < n; ++i) {
    const D2 p = get(points[i]);
    sum.x += weights[i] * p.x;
    sum.y += weights[i] * p.y;
  }
  put(*result, sum);
  return result;
}
} // namespace

Q3_EXTERN_API_C(TQ3Point2D *) Q3Point2D_Set(TQ3Point2D *point2D, float x, float y) {
  if (missing(point2D)) return nullptr;
  *point2D = {x, y};
  return point2D;
}

Q3_EXTERN_API_C(TQ3Param2D *) Q3Param2D_Set(TQ3Param2D *param2D, float u, float v) {
  if (missing(param2D)) return nullptr;
  *param2D = {u, v};
  return param2D;
}

Q3_EXTERN_API_C(TQ3Point3D *) Q3Point3D_Set(TQ3Point3D *point3D, float x, float y, float z) {
  if (missing(point3D)) return nullptr;
  *point3D = {x, y, z};
  return point3D;
}

Q3_EXTERN_API_C(TQ3RationalPoint3D *) Q3RationalPoint3D_Set(TQ3RationalPoint3D *point3D, float x, float y, float w) {
  if (missing(point3D)) return nullptr;
  *point3D = {x, y, w};
  return point3D;
}

Q3_EXTERN_API_C(TQ3RationalPoint4D *)
Q3RationalPoint4D_Set(TQ3RationalPoint4D *point4D, float x, float y, float z, float w) {
  if (missing(point4D)) return nullptr;
  *point4D = {x, y, z, w};
  return point4D;
}

Q3_EXTERN_API_C(TQ3Vector2D *) Q3Vector2D_Set(TQ3Vector2D *vector2D, float x, float y) {
  if (missing(vector2D)) return nullptr;
  *vector2D = {x, y};
  return vector2D;
}

Q3_EXTERN_API_C(TQ3Vector3D *) Q3Vector3D_Set(TQ3Vector3D *vector3D, float x, float y, float z) {
  if (missing(vector3D)) return nullptr;
  *vector3D = {x, y, z};
  return vector3D;
}

Q3_EXTERN_API_C(TQ3Point3D *) Q3Point2D_To3D(const TQ3Point2D *point2D, TQ3Point3D *result) {
  if (missing(point2D, result)) return nullptr;
  *result = {point2D->x, point2D->y, 1.0f};
  return result;
}

Q3_EXTERN_API_C(TQ3Point2D *) Q3RationalPoint3D_To2D(const TQ3RationalPoint3D *point3D, TQ3Point2D *result) {
  if (missing(point3D, result)) return nullptr;
  const double s = homogeneousScale(point3D->w);
  store2(*result, D2{point3D->x * s, point3D->y * s});
  return result;
}

Q3_EXTERN_API_C(TQ3RationalPoint4D *) Q3Point3D_To4D(const TQ3Point3D *point3D, TQ3RationalPoint4D *result) {
  if (missing(point3D, result)) return nullptr;
  *result = {point3D->x, point3D->y, point3D->z, 1.0f};
  return result;
}

Q3_EXTERN_API_C(TQ3Point3D *) Q3RationalPoint4D_To3D(const TQ3RationalPoint4D *point4D, TQ3Point3D *result) {
  if (missing(point4D, result)) return nullptr;
  store3(*result, load3(*point4D) * homogeneousScale(point4D->w));
  return result;
}

Q3_EXTERN_API_C(TQ3Vector2D *) Q3Point2D_Subtract(const TQ3Point2D *p1, const TQ3Point2D *p2, TQ3Vector2D *result) {
  return subtract2(p1, p2, result);
}

Q3_EXTERN_API_C(TQ3Vector2D *) Q3Param2D_Subtract(const TQ3Param2D *p1, const TQ3Param2D *p2, TQ3Vector2D *result) {
  return subtract2(p1, p2, result);
}

Q3_EXTERN_API_C(TQ3Vector3D *) Q3Point3D_Subtract(const TQ3Point3D *p1, const TQ3Point3D *p2, TQ3Vector3D *result) {
  if (missing(p1, p2, result)) return nullptr;
  store3(*result, load3(*p1) - load3(*p2));
  return result;
}

Q3_EXTERN_API_C(float) Q3Point2D_Distance(const TQ3Point2D *p1, const TQ3Point2D *p2) {
  if (missing(p1, p2)) return 0.0f;
  return static_cast<float>(std::sqrt(distanceSquared2(p1, p2)));
}

Q3_EXTERN_API_C(float) Q3Point2D_DistanceSquared(const TQ3Point2D *p1, const TQ3Point2D *p2) {
  if (missing(p1, p2)) return 0.0f;
  return static_cast<float>(distanceSquared2(p1, p2));
}

Q3_EXTERN_API_C(float) Q3Param2D_Distance(const TQ3Param2D *p1, const TQ3Param2D *p2) {
  if (missing(p1, p2)) return 0.0f;
  return static_cast<float>(std::sqrt(distanceSquared2(p1, p2)));
}

Q3_EXTERN_API_C(float) Q3Param2D_DistanceSquared(const TQ3Param2D *p1, const TQ3Param2D *p2) {
  if (missing(p1, p2)) return 0.0f;
  return static_cast<float>(distanceSquared2(p1, p2));
}

Q3_EXTERN_API_C(float) Q3Point3D_Distance(const TQ3Point3D *p1, const TQ3Point3D *p2) {
  if (missing(p1, p2)) return 0.0f;
  return static_cast<float>(length(load3(*p1) - load3(*p2)));
}

Q3_EXTERN_API_C(float) Q3Point3D_DistanceSquared(const TQ3Point3D *p1, const TQ3Point3D *p2) {
  if (missing(p1, p2)) return 0.0f;
  const D3 d = load3(*p1) - load3(*p2);
  return static_cast<float>(dot(d, d));
}

Q3_EXTERN_API_C(TQ3Point2D *)
Q3Point2D_RRatio(const TQ3Point2D *p1, const TQ3Point2D *p2, float r1, float r2, TQ3Point2D *result) {
  return ratio2(p1, p2, r1, r2, result);
}

Q3_EXTERN_API_C(TQ3Param2D *)
Q3Param2D_RRatio(const TQ3Param2D *p1, const TQ3Param2D *p2, float r1, float r2, TQ3Param2D *result) {
  return ratio2(p1, p2, r1, r2, result);
}

Q3_EXTERN_API_C(TQ3Point3D *)
Q3Point3D_RRatio(const TQ3Point3D *p1, const TQ3Point3D *p2, float r1, float r2, TQ3Point3D *result) {
  if (missing(p1, p2, result)) return nullptr;
  const double sum = static_cast<double>(r1) + r2;
  if (sum == 0.0) {
    q3::postError(kQ3ErrorParameterOutOfRange);
    return nullptr;
  }
  const D3 a = load3(*p1);
  store3(*result, a + (load3(*p2) - a) * (r1 / sum));
  return result;
}

Q3_EXTERN_API_C(TQ3RationalPoint4D *)
Q3RationalPoint4D_RRatio(const TQ3RationalPoint4D *p1, const TQ3RationalPoint4D *p2, float r1, float r2,
                         TQ3RationalPoint4D *result) {
  if (missing(p1, p2, result)) return nullptr;
  const double sum = static_cast<double>(r1) + r2;
  if (sum == 0.0) {
    q3::postError(kQ3ErrorParameterOutOfRange);
    return nullptr;
  }
  const double f = r1 / sum;
  const D3 a = load3(*p1);
  const double w = p1->w + (static_cast<double>(p2->w) - p1->w) * f;
  store3(*result, a + (load3(*p2) - a) * f);
  result->w = static_cast<float>(w);
  return result;
}

Q3_EXTERN_API_C(TQ3Point2D *)
Q3Point2D_Vector2D_Add(const TQ3Point2D *point2D, const TQ3Vector2D *vector2D, TQ3Point2D *result) {
  return addVector2(point2D, vector2D, 1.0, result);
}

Q3_EXTERN_API_C(TQ3Param2D *)
Q3Param2D_Vector2D_Add(const TQ3Param2D *param2D, const TQ3Vector2D *vector2D, TQ3Param2D *result) {
  return addVector2(param2D, vector2D, 1.0, result);
}

Q3_EXTERN_API_C(TQ3Point3D *)
Q3Point3D_Vector3D_Add(const TQ3Point3D *point3D, const TQ3Vector3D *vector3D, TQ3Point3D *result) {
  if (missing(point3D, vector3D, result)) return nullptr;
  store3(*result, load3(*point3D) + load3(*vector3D));
  return result;
}

Q3_EXTERN_API_C(TQ3Point2D *)
Q3Point2D_Vector2D_Subtract(const TQ3Point2D *point2D, const TQ3Vector2D *vector2D, TQ3Point2D *result) {
  return addVector2(point2D, vector2D, -1.0, result);
}

Q3_EXTERN_API_C(TQ3Param2D *)
Q3Param2D_Vector2D_Subtract(const TQ3Param2D *param2D, const TQ3Vector2D *vector2D, TQ3Param2D *result) {
  return addVector2(param2D, vector2D, -1.0, result);
}

Q3_EXTERN_API_C(TQ3Point3D *)
Q3Point3D_Vector3D_Subtract(const TQ3Point3D *point3D, const TQ3Vector3D *vector3D, TQ3Point3D *result) {
  if (missing(point3D, vector3D, result)) return nullptr;
  store3(*result, load3(*point3D) - load3(*vector3D));
  return result;
}

Q3_EXTERN_API_C(TQ3Point2D *)
Q3Point2D_AffineComb(const TQ3Point2D *points2D, const float *weights, TQ3Uns32 numPoints, TQ3Point2D *result) {
  return affine2(points2D, weights, numPoints, result);
}

Q3_EXTERN_API_C(TQ3Param2D *)
Q3Param2D_AffineComb(const TQ3Param2D *params2D, const float *weights, TQ3Uns32 numPoints, TQ3Param2D *result) {
  return affine2(params2D, weights, numPoints, result);
}

Q3_EXTERN_API_C(TQ3Point3D *)
Q3Point3D_AffineComb(const TQ3Point3D *points3D, const float *weights, TQ3Uns32 numPoints, TQ3Point3D *result) {
  if (missing(result) || (numPoints > 0 && missing(points3D, weights))) return nullptr;
  D3 sum{0.0, 0.0, 0.0};
  for (TQ3Uns32 i = 0; i < numPoints; ++i) sum = sum + load3(points3D[i]) * weights[i];
  store3(*result, sum);
  return result;
}
