// Vector3D.h: the script class for a point or direction in 3D space.
//
// Contract
//   - The data block is three single-precision floats X, Y, Z (12 bytes), laid
//     out as q3's TQ3Point3D and TQ3Vector3D: hand it to q3 in place through
//     AsQ3Point / AsQ3Vector, never through a copy.
//   - Numerics: every operation reads the floats, computes in double precision
//     and rounds each stored component to single precision once. A Double
//     argument that scales a vector is rounded to single precision first.
//   - NewVector3D makes a new instance (0, 0, 0) holding the one reference
//     creation gave it, which passes to whoever receives it: a member that
//     returns it to a script hands that reference over. It answers nil when
//     the host cannot make one (a missing service or an unknown class).
//   - Vector3DOf gives the block inside a Vector3D instance, nil for nil.
//
// Usage
//   HostObject v = NewVector3D();
//   if (Vector3DData *d = Vector3DOf(v)) *d = {1.0f, 2.0f, 3.0f};
//   Q3TranslateTransform_Submit(AsQ3Vector(*Vector3DOf(position)), view);
//
// Everything runs on the host's thread; the cached class type is a plain
// global.
#pragma once

#include "Q3Base.h"
#include "plugin/HostServices.h"
#include "plugin/Records.h"

#include <cstddef>

namespace du3v {

struct Vector3DData {
  float X;
  float Y;
  float Z;
};
static_assert(sizeof(Vector3DData) == 12, "the Vector3D block is 12 bytes");
static_assert(offsetof(Vector3DData, X) == 0 && offsetof(Vector3DData, Y) == 4 && offsetof(Vector3DData, Z) == 8,
              "X, Y, Z at offsets 0, 4, 8");
static_assert(sizeof(TQ3Point3D) == sizeof(Vector3DData) && offsetof(TQ3Point3D, z) == offsetof(Vector3DData, Z),
              "the block is handed to q3 as a point");

extern ClassDefinition Vector3DClass;

// The block inside a Vector3D instance; nullptr for nil.
inline Vector3DData *Vector3DOf(HostObject vector) {
  return vector ? static_cast<Vector3DData *>(ClassData(vector, Vector3DClass)) : nullptr;
}

inline TQ3Point3D *AsQ3Point(Vector3DData &v) { return reinterpret_cast<TQ3Point3D *>(&v); }
inline const TQ3Point3D *AsQ3Point(const Vector3DData &v) { return reinterpret_cast<const TQ3Point3D *>(&v); }
inline TQ3Vector3D *AsQ3Vector(Vector3DData &v) { return reinterpret_cast<TQ3Vector3D *>(&v); }
inline const TQ3Vector3D *AsQ3Vector(const Vector3DData &v) { return reinterpret_cast<const TQ3Vector3D *>(&v); }

// A new Vector3D (0, 0, 0) with one reference for the caller, or nil.
HostObject NewVector3D();

} // namespace du3v
