// MathBounds.cpp: bounding boxes and spheres. Spheres built from points are
// minimal (Welzl's algorithm in double precision), then rounded outwards so
// the single-precision sphere still holds every point.
#include <cstdint>
#include <cstring>
#include <new>
#include <type_traits>
#include <utility>
#include <vector>

#include "MathSupport.h"

using namespace q3::math;

namespace {
bool isEmpty(TQ3Boolean flag) { return flag != kQ3False; }

// Reads a strided array into finite 3D points; rational points are divided by
// their weight. Points with a non-finite coordinate cannot be bounded and are
// left out.
template <typename P> bool gather(const P *points, TQ3Uns32 n, TQ3Uns32 stride, std::vector<D3> &out) {
  const unsigned char *bytes = reinterpret_cast<const unsigned char *>(points);
  try {
    out.reserve(n);
  } catch (const std::bad_alloc &) {
    q3::postError(kQ3ErrorOutOfMemory);
    return false;
  }
  for (TQ3Uns32 i = 0; i < n; ++i) {
    P p;
    std::memcpy(&p, bytes + size_t(i) * stride, sizeof p);
    D3 v;
    if constexpr (std::is_same_v<P, TQ3RationalPoint4D>)
      v = load3(p) * homogeneousScale(p.w);
    else
      v = load3(p);
    if (isFinite(v)) out.push_back(v);
  }
  return true;
}

D3 pointOf(const TQ3RationalPoint4D &p) { return load3(p) * homogeneousScale(p.w); }

// --- boxes ---

TQ3BoundingBox emptyBox() { return {{0, 0, 0}, {0, 0, 0}, kQ3True}; }

TQ3BoundingBox boxWithPoint(const TQ3BoundingBox &box, D3 p) {
  if (!isFinite(p)) return box;
  TQ3Point3D q;
  store3(q, p);
  if (isEmpty(box.isEmpty)) return {q, q, kQ3False};
  TQ3BoundingBox r = box;
  r.min = {std::fmin(r.min.x, q.x), std::fmin(r.min.y, q.y), std::fmin(r.min.z, q.z)};
  r.max = {std::fmax(r.max.x, q.x), std::fmax(r.max.y, q.y), std::fmax(r.max.z, q.z)};
  return r;
}

template <typename P>
TQ3BoundingBox *boxFromPoints(TQ3BoundingBox *bBox, const P *points, TQ3Uns32 n, TQ3Uns32 structSize) {
  if (missing(bBox) || (n > 0 && missing(points))) return nullptr;
  if (n > 0 && structSize < sizeof(P)) {
    q3::postError(kQ3ErrorParameterOutOfRange);
    return nullptr;
  }
  std::vector<D3> pts;
  if (!gather(points, n, structSize, pts)) return nullptr;
  TQ3BoundingBox box = emptyBox();
  for (const D3 &p : pts) box = boxWithPoint(box, p);
  *bBox = box;
  return bBox;
}

// --- spheres ---

struct Ball {
  D3 centre;
  double radius2; // squared radius; negative for "no ball yet"
};

// Rounding in the circumcentre formulas must not throw out a point that lies
// on the sphere.
bool holds(const Ball &b, D3 p) {
  const D3 d = p - b.centre;
  return dot(d, d) <= b.radius2 * (1.0 + 1e-10);
}

Ball diametral(D3 a, D3 b) {
  const D3 d = b - a;
  return {(a + b) * 0.5, dot(d, d) / 4.0};
}

Ball smallestHolding(const Ball *candidates, int count, const D3 *points, int n) {
  Ball best{{0, 0, 0}, -1.0};
  for (int i = 0; i < count; ++i) {
    bool all = true;
    for (int j = 0; j < n && all; ++j) all = holds(candidates[i], points[j]);
    if (all && (best.radius2 < 0.0 || candidates[i].radius2 < best.radius2)) best = candidates[i];
  }
  return best;
}

// The circle through three points, as a sphere; collinear points give the
// sphere on their farthest pair.
Ball circumcircle(D3 a, D3 b, D3 c) {
  const D3 u = b - a, v = c - a, w = cross(u, v);
  const double ww = dot(w, w);
  if (ww <= 1e-24 * dot(u, u) * dot(v, v)) {
    const Ball pairs[3] = {diametral(a, b), diametral(a, c), diametral(b, c)};
    const D3 pts[3] = {a, b, c};
    return smallestHolding(pairs, 3, pts, 3);
  }
  const D3 offset = (cross(v, w) * dot(u, u) + cross(w, u) * dot(v, v)) * (1.0 / (2.0 * ww));
  return {a + offset, dot(offset, offset)};
}

// The sphere through four points; coplanar points give the smallest sphere
// through two or three of them that holds all four.
Ball circumsphere(D3 a, D3 b, D3 c, D3 d) {
  const D3 u = b - a, v = c - a, w = d - a;
  const double det = dot(u, cross(v, w));
  if (std::fabs(det) <= 1e-12 * length(u) * length(v) * length(w)) {
    const Ball candidates[10] = {
        diametral(a, b), diametral(a, c),       diametral(a, d),       diametral(b, c),       diametral(b, d),
        diametral(c, d), circumcircle(a, b, c), circumcircle(a, b, d), circumcircle(a, c, d), circumcircle(b, c, d)};
    const D3 pts[4] = {a, b, c, d};
    return smallestHolding(candidates, 10, pts, 4);
  }
  const D3 offset = (cross(v, w) * dot(u, u) + cross(w, u) * dot(v, v) + cross(u, v) * dot(w, w)) * (1.0 / (2.0 * det));
  return {a + offset, dot(offset, offset)};
}

Ball ballThrough(const D3 *boundary, int n) {
  switch (n) {
  case 0: return {{0, 0, 0}, -1.0};
  case 1: return {boundary[0], 0.0};
  case 2: return diametral(boundary[0], boundary[1]);
  case 3: return circumcircle(boundary[0], boundary[1], boundary[2]);
  default: return circumsphere(boundary[0], boundary[1], boundary[2], boundary[3]);
  }
}

// The smallest ball holding points[0..n) with the boundary points on its
// surface. Recursion only deepens with the boundary, so at most five levels.
Ball welzl(const std::vector<D3> &points, size_t n, D3 *boundary, int onBoundary) {
  Ball ball = ballThrough(boundary, onBoundary);
  if (onBoundary == 4) return ball;
  for (size_t i = 0; i < n; ++i) {
    if (ball.radius2 >= 0.0 && holds(ball, points[i])) continue;
    boundary[onBoundary] = points[i];
    ball = welzl(points, i, boundary, onBoundary + 1);
  }
  return ball;
}

// The float record of a sphere about centre, with the radius measured from
// the rounded centre and rounded up so nothing it must hold falls outside.
template <typename Reach> TQ3BoundingSphere sphereAbout(D3 centre, Reach reach) {
  TQ3BoundingSphere s{{0, 0, 0}, 0.0f, kQ3False};
  store3(s.origin, centre);
  s.radius = roundUp(reach(load3(s.origin)));
  return s;
}

TQ3BoundingSphere sphereOfPoints(std::vector<D3> &pts) {
  if (pts.empty()) return {{0, 0, 0}, 0.0f, kQ3True};
  // A fixed shuffle gives Welzl its expected linear time on ordered input
  // (mesh vertices) while keeping results the same on every run.
  uint32_t state = 0x9E3779B9u;
  for (size_t i = pts.size() - 1; i > 0; --i) {
    state ^= state << 13, state ^= state >> 17, state ^= state << 5;
    std::swap(pts[i], pts[state % (i + 1)]);
  }
  D3 boundary[4];
  const Ball ball = welzl(pts, pts.size(), boundary, 0);
  return sphereAbout(ball.centre, [&](D3 c) {
    double far = 0.0;
    for (const D3 &p : pts) far = std::fmax(far, length(p - c));
    return far;
  });
}

double radiusOf(const TQ3BoundingSphere &s) { return std::fmax(static_cast<double>(s.radius), 0.0); }

TQ3BoundingSphere sphereWithPoint(const TQ3BoundingSphere &s, D3 p) {
  if (!isFinite(p)) return s;
  if (isEmpty(s.isEmpty)) return sphereAbout(p, [&](D3 c) { return length(p - c); });
  const D3 c = load3(s.origin);
  const double r = radiusOf(s), d = length(p - c);
  if (d <= r) return s;
  // The new sphere touches the old one's far side and the point.
  const double grown = (r + d) / 2.0;
  return sphereAbout(c + (p - c) * ((grown - r) / d),
                     [&](D3 n) { return std::fmax(length(n - c) + r, length(p - n)); });
}

template <typename P>
TQ3BoundingSphere *sphereFromPoints(TQ3BoundingSphere *bSphere, const P *points, TQ3Uns32 n, TQ3Uns32 structSize) {
  if (missing(bSphere) || (n > 0 && missing(points))) return nullptr;
  if (n > 0 && structSize < sizeof(P)) {
    q3::postError(kQ3ErrorParameterOutOfRange);
    return nullptr;
  }
  std::vector<D3> pts;
  if (!gather(points, n, structSize, pts)) return nullptr;
  *bSphere = sphereOfPoints(pts);
  return bSphere;
}
} // namespace

Q3_EXTERN_API_C(TQ3BoundingBox *) Q3BoundingBox_Copy(const TQ3BoundingBox *src, TQ3BoundingBox *dest) {
  if (missing(src, dest)) return nullptr;
  *dest = *src;
  return dest;
}

Q3_EXTERN_API_C(TQ3BoundingBox *) Q3BoundingBox_Reset(TQ3BoundingBox *bBox) {
  if (missing(bBox)) return nullptr;
  *bBox = emptyBox();
  return bBox;
}

Q3_EXTERN_API_C(TQ3BoundingBox *)
Q3BoundingBox_Set(TQ3BoundingBox *bBox, const TQ3Point3D *min, const TQ3Point3D *max, TQ3Boolean isEmpty) {
  if (missing(bBox, min, max)) return nullptr;
  *bBox = {*min, *max, isEmpty};
  return bBox;
}

Q3_EXTERN_API_C(TQ3BoundingBox *)
Q3BoundingBox_Union(const TQ3BoundingBox *v1, const TQ3BoundingBox *v2, TQ3BoundingBox *result) {
  if (missing(v1, v2, result)) return nullptr;
  const TQ3BoundingBox a = *v1, b = *v2;
  if (isEmpty(a.isEmpty) || isEmpty(b.isEmpty)) {
    *result = !isEmpty(a.isEmpty) ? a : !isEmpty(b.isEmpty) ? b : emptyBox();
    return result;
  }
  *result = {{std::fmin(a.min.x, b.min.x), std::fmin(a.min.y, b.min.y), std::fmin(a.min.z, b.min.z)},
             {std::fmax(a.max.x, b.max.x), std::fmax(a.max.y, b.max.y), std::fmax(a.max.z, b.max.z)},
             kQ3False};
  return result;
}

Q3_EXTERN_API_C(TQ3BoundingBox *)
Q3BoundingBox_UnionPoint3D(const TQ3BoundingBox *bBox, const TQ3Point3D *point3D, TQ3BoundingBox *result) {
  if (missing(bBox, point3D, result)) return nullptr;
  *result = boxWithPoint(*bBox, load3(*point3D));
  return result;
}

Q3_EXTERN_API_C(TQ3BoundingBox *)
Q3BoundingBox_UnionRationalPoint4D(const TQ3BoundingBox *bBox, const TQ3RationalPoint4D *point4D,
                                   TQ3BoundingBox *result) {
  if (missing(bBox, point4D, result)) return nullptr;
  *result = boxWithPoint(*bBox, pointOf(*point4D));
  return result;
}

Q3_EXTERN_API_C(TQ3BoundingBox *)
Q3BoundingBox_SetFromPoints3D(TQ3BoundingBox *bBox, const TQ3Point3D *points3D, TQ3Uns32 numPoints,
                              TQ3Uns32 structSize) {
  return boxFromPoints(bBox, points3D, numPoints, structSize);
}

Q3_EXTERN_API_C(TQ3BoundingBox *)
Q3BoundingBox_SetFromRationalPoints4D(TQ3BoundingBox *bBox, const TQ3RationalPoint4D *points4D, TQ3Uns32 numPoints,
                                      TQ3Uns32 structSize) {
  return boxFromPoints(bBox, points4D, numPoints, structSize);
}

Q3_EXTERN_API_C(TQ3BoundingSphere *) Q3BoundingSphere_Copy(const TQ3BoundingSphere *src, TQ3BoundingSphere *dest) {
  if (missing(src, dest)) return nullptr;
  *dest = *src;
  return dest;
}

Q3_EXTERN_API_C(TQ3BoundingSphere *) Q3BoundingSphere_Reset(TQ3BoundingSphere *bSphere) {
  if (missing(bSphere)) return nullptr;
  *bSphere = {{0, 0, 0}, 0.0f, kQ3True};
  return bSphere;
}

Q3_EXTERN_API_C(TQ3BoundingSphere *)
Q3BoundingSphere_Set(TQ3BoundingSphere *bSphere, const TQ3Point3D *origin, float radius, TQ3Boolean isEmpty) {
  if (missing(bSphere, origin)) return nullptr;
  *bSphere = {*origin, radius, isEmpty};
  return bSphere;
}

Q3_EXTERN_API_C(TQ3BoundingSphere *)
Q3BoundingSphere_Union(const TQ3BoundingSphere *s1, const TQ3BoundingSphere *s2, TQ3BoundingSphere *result) {
  if (missing(s1, s2, result)) return nullptr;
  const TQ3BoundingSphere a = *s1, b = *s2;
  if (isEmpty(a.isEmpty) || isEmpty(b.isEmpty)) {
    if (!isEmpty(a.isEmpty))
      *result = a;
    else if (!isEmpty(b.isEmpty))
      *result = b;
    else
      *result = {{0, 0, 0}, 0.0f, kQ3True};
    return result;
  }
  const D3 ca = load3(a.origin), cb = load3(b.origin);
  const double ra = radiusOf(a), rb = radiusOf(b), d = length(cb - ca);
  if (ra >= d + rb)
    *result = a;
  else if (rb >= d + ra)
    *result = b;
  else {
    // The sphere from a's far side to b's far side along the line of centres.
    const double r = (d + ra + rb) / 2.0;
    *result = sphereAbout(ca + (cb - ca) * ((r - ra) / d),
                          [&](D3 c) { return std::fmax(length(c - ca) + ra, length(c - cb) + rb); });
  }
  return result;
}

Q3_EXTERN_API_C(TQ3BoundingSphere *)
Q3BoundingSphere_UnionPoint3D(const TQ3BoundingSphere *bSphere, const TQ3Point3D *point3D, TQ3BoundingSphere *result) {
  if (missing(bSphere, point3D, result)) return nullptr;
  *result = sphereWithPoint(*bSphere, load3(*point3D));
  return result;
}

Q3_EXTERN_API_C(TQ3BoundingSphere *)
Q3BoundingSphere_UnionRationalPoint4D(const TQ3BoundingSphere *bSphere, const TQ3RationalPoint4D *point4D,
                                      TQ3BoundingSphere *result) {
  if (missing(bSphere, point4D, result)) return nullptr;
  *result = sphereWithPoint(*bSphere, pointOf(*point4D));
  return result;
}

Q3_EXTERN_API_C(TQ3BoundingSphere *)
Q3BoundingSphere_SetFromPoints3D(TQ3BoundingSphere *bSphere, const TQ3Point3D *points3D, TQ3Uns32 numPoints,
                                 TQ3Uns32 structSize) {
  return sphereFromPoints(bSphere, points3D, numPoints, structSize);
}

Q3_EXTERN_API_C(TQ3BoundingSphere *)
Q3BoundingSphere_SetFromRationalPoints4D(TQ3BoundingSphere *bSphere, const TQ3RationalPoint4D *points4D,
                                         TQ3Uns32 numPoints, TQ3Uns32 structSize) {
  return sphereFromPoints(bSphere, points4D, numPoints, structSize);
}
