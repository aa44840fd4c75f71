// MathVector.cpp: 2D and 3D vector arithmetic.
#include "MathSupport.h"

using namespace q3::math;

namespace {
double dot2(D2 a, D2 b) { return a.x * b.x + a.y * b.y; }

// Divides by the length computed in double: the squared length of any finite
// float vector is representable there, so tiny and huge vectors normalise too.
D3 normalized(D3 v) {
  const double len = length(v);
  return len > 0.0 ? v * (1.0 / len) : v;
}
} // namespace

Q3_EXTERN_API_C(TQ3Vector2D *) Q3Vector2D_Scale(const TQ3Vector2D *vector2D, float scalar, TQ3Vector2D *result) {
  if (missing(vector2D, result)) return nullptr;
  const D2 v = load2(*vector2D);
  store2(*result, D2{v.x * scalar, v.y * scalar});
  return result;
}

Q3_EXTERN_API_C(TQ3Vector3D *) Q3Vector3D_Scale(const TQ3Vector3D *vector3D, float scalar, TQ3Vector3D *result) {
  if (missing(vector3D, result)) return nullptr;
  store3(*result, load3(*vector3D) * scalar);
  return result;
}

Q3_EXTERN_API_C(float) Q3Vector2D_Length(const TQ3Vector2D *vector2D) {
  if (missing(vector2D)) return 0.0f;
  const D2 v = load2(*vector2D);
  return static_cast<float>(std::sqrt(dot2(v, v)));
}

Q3_EXTERN_API_C(float) Q3Vector3D_Length(const TQ3Vector3D *vector3D) {
  if (missing(vector3D)) return 0.0f;
  return static_cast<float>(length(load3(*vector3D)));
}

Q3_EXTERN_API_C(float) Q3Vector2D_LengthSquared(const TQ3Vector2D *vector2D) {
  if (missing(vector2D)) return 0.0f;
  const D2 v = load2(*vector2D);
  return static_cast<float>(dot2(v, v));
}

Q3_EXTERN_API_C(float) Q3Vector3D_LengthSquared(const TQ3Vector3D *vector3D) {
  if (missing(vector3D)) return 0.0f;
  const D3 v = load3(*vector3D);
  return static_cast<float>(dot(v, v));
}

Q3_EXTERN_API_C(TQ3Vector2D *) Q3Vector2D_Normalize(const TQ3Vector2D *vector2D, TQ3Vector2D *result) {
  if (missing(vector2D, result)) return nullptr;
  const D3 n = normalized(D3{vector2D->x, vector2D->y, 0.0});
  store2(*result, D2{n.x, n.y});
  return result;
}

Q3_EXTERN_API_C(TQ3Vector3D *) Q3Vector3D_Normalize(const TQ3Vector3D *vector3D, TQ3Vector3D *result) {
  if (missing(vector3D, result)) return nullptr;
  store3(*result, normalized(load3(*vector3D)));
  return result;
}

Q3_EXTERN_API_C(TQ3Vector2D *) Q3Vector2D_Add(const TQ3Vector2D *v1, const TQ3Vector2D *v2, TQ3Vector2D *result) {
  if (missing(v1, v2, result)) return nullptr;
  const D2 a = load2(*v1), b = load2(*v2);
  store2(*result, D2{a.x + b.x, a.y + b.y});
  return result;
}

Q3_EXTERN_API_C(TQ3Vector3D *) Q3Vector3D_Add(const TQ3Vector3D *v1, const TQ3Vector3D *v2, TQ3Vector3D *result) {
  if (missing(v1, v2, result)) return nullptr;
  store3(*result, load3(*v1) + load3(*v2));
  return result;
}

Q3_EXTERN_API_C(TQ3Vector2D *)
Q3Vector2D_Subtract(const TQ3Vector2D *v1, const TQ3Vector2D *v2, TQ3Vector2D *result) {
  if (missing(v1, v2, result)) return nullptr;
  const D2 a = load2(*v1), b = load2(*v2);
  store2(*result, D2{a.x - b.x, a.y - b.y});
  return result;
}

Q3_EXTERN_API_C(TQ3Vector3D *)
Q3Vector3D_Subtract(const TQ3Vector3D *v1, const TQ3Vector3D *v2, TQ3Vector3D *result) {
  if (missing(v1, v2, result)) return nullptr;
  store3(*result, load3(*v1) - load3(*v2));
  return result;
}

Q3_EXTERN_API_C(TQ3Vector2D *) Q3Vector2D_Negate(const TQ3Vector2D *vector2D, TQ3Vector2D *result) {
  if (missing(vector2D, result)) return nullptr;
  *result = {-vector2D->x, -vector2D->y};
  return result;
}

Q3_EXTERN_API_C(TQ3Vector3D *) Q3Vector3D_Negate(const TQ3Vector3D *vector3D, TQ3Vector3D *result) {
  if (missing(vector3D, result)) return nullptr;
  *result = {-vector3D->x, -vector3D->y, -vector3D->z};
  return result;
}

Q3_EXTERN_API_C(float) Q3Vector2D_Dot(const TQ3Vector2D *v1, const TQ3Vector2D *v2) {
  if (missing(v1, v2)) return 0.0f;
  return static_cast<float>(dot2(load2(*v1), load2(*v2)));
}

Q3_EXTERN_API_C(float) Q3Vector3D_Dot(const TQ3Vector3D *v1, const TQ3Vector3D *v2) {
  if (missing(v1, v2)) return 0.0f;
  return static_cast<float>(dot(load3(*v1), load3(*v2)));
}

Q3_EXTERN_API_C(float) Q3Vector2D_Cross(const TQ3Vector2D *v1, const TQ3Vector2D *v2) {
  if (missing(v1, v2)) return 0.0f;
  return static_cast<float>(static_cast<double>(v1->x) * v2->y - static_cast<double>(v1->y) * v2->x);
}

Q3_EXTERN_API_C(TQ3Vector3D *) Q3Vector3D_Cross(const TQ3Vector3D *v1, const TQ3Vector3D *v2, TQ3Vector3D *result) {
  if (missing(v1, v2, result)) return nullptr;
  store3(*result, cross(load3(*v1), load3(*v2)));
  return result;
}

Q3_EXTERN_API_C(TQ3Vector3D *)
Q3Point3D_CrossProductTri(const TQ3Point3D *point1, const TQ3Point3D *point2, const TQ3Point3D *point3,
                          TQ3Vector3D *crossVector) {
  if (missing(point1, point2, point3, crossVector)) return nullptr;
  const D3 a = load3(*point1);
  store3(*crossVector, cross(load3(*point2) - a, load3(*point3) - a));
  return crossVector;
}
