// The Bounds3D script class: a bounding sphere or box. Both representations
// live side by side; Type names the authoritative one and the other is
// derived from it on demand and kept.
#include "math/Bounds3D.h"

#include "Q3Math.h"
#include "math/Numerics.h"
#include "math/Vector3D.h"
#include "plugin/Registration.h"

#include <cmath>
#include <optional>
#include <utility>

namespace du3v {

namespace {

constexpr uint32_t kMinimumParam = offsetof(Bounds3DData, box) + offsetof(TQ3BoundingBox, min);
constexpr uint32_t kMaximumParam = offsetof(Bounds3DData, box) + offsetof(TQ3BoundingBox, max);
constexpr uint32_t kCenterParam = offsetof(Bounds3DData, sphere) + offsetof(TQ3BoundingSphere, origin);
constexpr uint32_t kRadiusParam = offsetof(Bounds3DData, sphere) + offsetof(TQ3BoundingSphere, radius);

HostObject NewVector3DAt(const TQ3Point3D &point) {
  HostObject result = NewVector3D();
  if (Vector3DData *data = Vector3DOf(result)) *data = {point.x, point.y, point.z};
  return result;
}

TQ3Boolean EmptyFlag(TQ3Boolean source) { return source ? kQ3True : kQ3False; }

// A derived part is as empty as the part it comes from.
void DeriveBoxFromSphere(Bounds3DData &b) {
  const TQ3Point3D &o = b.sphere.origin;
  const double r = b.sphere.radius;
  b.box.min = {Single(o.x - r), Single(o.y - r), Single(o.z - r)};
  b.box.max = {Single(o.x + r), Single(o.y + r), Single(o.z + r)};
  b.box.isEmpty = EmptyFlag(b.sphere.isEmpty);
}

void DeriveSphereFromBox(Bounds3DData &b) {
  const TQ3Point3D &lo = b.box.min, &hi = b.box.max;
  b.sphere.origin = {Single((static_cast<double>(lo.x) + hi.x) * 0.5), Single((static_cast<double>(lo.y) + hi.y) * 0.5),
                     Single((static_cast<double>(lo.z) + hi.z) * 0.5)};
  b.sphere.radius = Q3Point3D_Distance(&b.sphere.origin, &b.box.min);
  b.sphere.isEmpty = EmptyFlag(b.box.isEmpty);
}

void EnsureSphere(Bounds3DData &b) {
  if (b.Type != kBoundsSphere && b.sphere.isEmpty) DeriveSphereFromBox(b);
}

void EnsureBox(Bounds3DData &b) {
  if (b.Type != kBoundsBox && b.box.isEmpty) DeriveBoxFromSphere(b);
}

// Inclusive: boxes that only touch overlap.
bool BoxesOverlap(const TQ3BoundingBox &a, const TQ3BoundingBox &b) {
  return a.min.x <= b.max.x && b.min.x <= a.max.x && a.min.y <= b.max.y && b.min.y <= a.max.y && a.min.z <= b.max.z &&
         b.min.z <= a.max.z;
}

// Strict: spheres that only touch do not overlap. The centres' distance is
// compared with the sum of the radii (squared on both sides).
bool SpheresOverlap(const TQ3BoundingSphere &a, const TQ3BoundingSphere &b) {
  const float distanceSquared = Q3Point3D_DistanceSquared(&a.origin, &b.origin);
  const double reach = static_cast<double>(a.radius) + b.radius;
  return reach * reach > distanceSquared;
}

double Dot(const TQ3Point3D &a, const TQ3Point3D &b) {
  return static_cast<double>(a.x) * b.x + static_cast<double>(a.y) * b.y + static_cast<double>(a.z) * b.z;
}

// The line parameter t (pt1 at 0, pt2 at 1) where the line through the two
// points enters the sphere, or nothing when it misses. Two points too close
// to give the line a direction give no line and so no entry point.
std::optional<float> SphereEntry(Bounds3DData &bounds, const Vector3DData &p1, const Vector3DData &p2) {
  EnsureSphere(bounds);
  if (bounds.sphere.isEmpty) return std::nullopt;
  const TQ3Point3D &o = bounds.sphere.origin;
  const TQ3Point3D start{p1.X, p1.Y, p1.Z};
  const double r = bounds.sphere.radius;
  const double dx = static_cast<double>(p2.X) - p1.X, dy = static_cast<double>(p2.Y) - p1.Y,
               dz = static_cast<double>(p2.Z) - p1.Z;
  const double ox = static_cast<double>(p1.X) - o.x, oy = static_cast<double>(p1.Y) - o.y,
               oz = static_cast<double>(p1.Z) - o.z;
  const float a = Single(dx * dx + dy * dy + dz * dz);
  const float b = Single(2.0 * (ox * dx + oy * dy + oz * dz));
  const float k = Single(Dot(o, o) + Dot(start, start) - 2.0 * Dot(o, start) - r * r);
  const float discriminant = Single(static_cast<double>(b) * b - 4.0 * a * k);
  if (discriminant < 0.0f) return std::nullopt;
  const float root = std::sqrt(discriminant);
  const float t = Single((-static_cast<double>(b) - root) / (2.0 * a));
  if (!std::isfinite(t)) return std::nullopt;
  return t;
}

HostObject PointAlong(const Vector3DData &p1, const Vector3DData &p2, float t) {
  const TQ3Point3D point{Single(p1.X + (static_cast<double>(p2.X) - p1.X) * t),
                         Single(p1.Y + (static_cast<double>(p2.Y) - p1.Y) * t),
                         Single(p1.Z + (static_cast<double>(p2.Z) - p1.Z) * t)};
  return NewVector3DAt(point);
}

} // namespace

extern "C" {

// The vector getters make a new vector on every read; its one reference goes
// to the caller.
HostObject Bounds3D_GetCenter(HostObject self, uint32_t) {
  Bounds3DData &b = *Bounds3DOf(self);
  EnsureSphere(b);
  return NewVector3DAt(b.sphere.origin);
}

double Bounds3D_GetRadius(HostObject self, uint32_t) {
  Bounds3DData &b = *Bounds3DOf(self);
  EnsureSphere(b);
  return b.sphere.radius;
}

// Minimum and Maximum, told apart by their parameter.
HostObject Bounds3D_GetCorner(HostObject self, uint32_t param) {
  Bounds3DData &b = *Bounds3DOf(self);
  EnsureBox(b);
  return NewVector3DAt(param == kMaximumParam ? b.box.max : b.box.min);
}

void Bounds3D_ConstructSphere(HostObject self, HostObject center, double radius) {
  const Vector3DData *c = Vector3DOf(center);
  if (!c) return;
  Bounds3DData &b = *Bounds3DOf(self);
  b.Type = kBoundsSphere;
  b.sphere.origin = {c->X, c->Y, c->Z};
  b.sphere.radius = Single(radius);
  b.sphere.isEmpty = kQ3False;
  b.box.isEmpty = kQ3True;
}

// The corners are kept in the order given, not sorted.
void Bounds3D_ConstructBox(HostObject self, HostObject minPoint, HostObject maxPoint) {
  const Vector3DData *lo = Vector3DOf(minPoint), *hi = Vector3DOf(maxPoint);
  if (!lo || !hi) return;
  Bounds3DData &b = *Bounds3DOf(self);
  b.Type = kBoundsBox;
  b.box.min = {lo->X, lo->Y, lo->Z};
  b.box.max = {hi->X, hi->Y, hi->Z};
  b.box.isEmpty = kQ3False;
  b.sphere.isEmpty = kQ3True;
}

bool Bounds3D_Intersects(HostObject self, HostObject other) {
  Bounds3DData *a = Bounds3DOf(self), *b = Bounds3DOf(other);
  if (!b) return false;
  if (a->Type == kBoundsBox && b->Type == kBoundsBox)
    return !a->box.isEmpty && !b->box.isEmpty && BoxesOverlap(a->box, b->box);
  if (a->Type == kBoundsSphere && b->Type == kBoundsSphere)
    return !a->sphere.isEmpty && !b->sphere.isEmpty && SpheresOverlap(a->sphere, b->sphere);
  if (a->Type == kBoundsSphere && b->Type == kBoundsBox) std::swap(a, b);
  if (a->Type != kBoundsBox || b->Type != kBoundsSphere) return false;
  // a is the box, b the sphere: rule out volumes whose spheres are apart, then
  // compare a's box with the box around b's sphere.
  if (a->box.isEmpty || b->sphere.isEmpty) return false;
  if (a->sphere.isEmpty) DeriveSphereFromBox(*a);
  if (!SpheresOverlap(a->sphere, b->sphere)) return false;
  if (b->box.isEmpty) DeriveBoxFromSphere(*b);
  return BoxesOverlap(a->box, b->box);
}

// The sphere's surface is outside, a box's faces inside.
bool Bounds3D_ContainsPoint(HostObject self, HostObject pt) {
  const Vector3DData *p = Vector3DOf(pt);
  if (!p) return false;
  const Bounds3DData &b = *Bounds3DOf(self);
  const TQ3Point3D point{p->X, p->Y, p->Z};
  if (b.Type == kBoundsSphere) {
    if (b.sphere.isEmpty) return false;
    const double r = b.sphere.radius;
    return r * r > Q3Point3D_DistanceSquared(&b.sphere.origin, &point);
  }
  if (b.Type == kBoundsBox) {
    if (b.box.isEmpty) return false;
    const TQ3BoundingBox &box = b.box;
    return box.min.x <= point.x && point.x <= box.max.x && box.min.y <= point.y && point.y <= box.max.y &&
           box.min.z <= point.z && point.z <= box.max.z;
  }
  return false;
}

// The entry point of the line, which may lie before pt1 or beyond pt2.
HostObject Bounds3D_LineIntersection(HostObject self, HostObject pt1, HostObject pt2) {
  const Vector3DData *p1 = Vector3DOf(pt1), *p2 = Vector3DOf(pt2);
  if (!p1 || !p2) return nullptr;
  const std::optional<float> t = SphereEntry(*Bounds3DOf(self), *p1, *p2);
  return t ? PointAlong(*p1, *p2, *t) : nullptr;
}

// As LineIntersection, but only between pt1 and pt2 (both included).
HostObject Bounds3D_LineSegmentIntersection(HostObject self, HostObject pt1, HostObject pt2) {
  const Vector3DData *p1 = Vector3DOf(pt1), *p2 = Vector3DOf(pt2);
  if (!p1 || !p2) return nullptr;
  const std::optional<float> t = SphereEntry(*Bounds3DOf(self), *p1, *p2);
  if (!t || *t < 0.0f || *t > 1.0f) return nullptr;
  return PointAlong(*p1, *p2, *t);
}

} // extern "C"

namespace {
PropertyDefinition bounds3DProperties[] = {
    {nullptr, "Type", "Integer", 0, HostAccess(), HostAccess(), offsetof(Bounds3DData, Type), {}},
    {nullptr, "Center", "Vector3D", 0, Fn(Bounds3D_GetCenter), nullptr, kCenterParam, {}},
    {nullptr, "Radius", "Double", 0, Fn(Bounds3D_GetRadius), nullptr, kRadiusParam, {}},
    {nullptr, "Minimum", "Vector3D", 0, Fn(Bounds3D_GetCorner), nullptr, kMinimumParam, {}},
    {nullptr, "Maximum", "Vector3D", 0, Fn(Bounds3D_GetCorner), nullptr, kMaximumParam, {}},
};

// InView joins this list, after Intersects, with the view's frustum.
MethodDefinition bounds3DMethods[] = {
    {Fn(Bounds3D_ConstructSphere), nullptr, "Bounds3D(center as Vector3D, radius as Double)", 0},
    {Fn(Bounds3D_ConstructBox), nullptr, "Bounds3D(minPoint as Vector3D, maxPoint as Vector3D)", 0},
    {Fn(Bounds3D_Intersects), nullptr, "Intersects(other as Bounds3D) as Boolean", 0},
    {Fn(Bounds3D_ContainsPoint), nullptr, "ContainsPoint(pt as Vector3D) as Boolean", 0},
    {Fn(Bounds3D_LineIntersection), nullptr, "LineIntersection(pt1 as Vector3D, pt2 as Vector3D) as Vector3D", 0},
    {Fn(Bounds3D_LineSegmentIntersection), nullptr,
     "LineSegmentIntersection(pt1 as Vector3D, pt2 as Vector3D) as Vector3D", 0},
};
} // namespace

ClassDefinition Bounds3DClass = {
    kRecordVersion,
    "Bounds3D",
    nullptr,
    sizeof(Bounds3DData),
    0,
    nullptr,
    nullptr,
    bounds3DProperties,
    sizeof bounds3DProperties / sizeof bounds3DProperties[0],
    bounds3DMethods,
    sizeof bounds3DMethods / sizeof bounds3DMethods[0],
    {},
};

} // namespace du3v
