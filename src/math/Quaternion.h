// Quaternion.h: the script class for a rotation.
//
// Contract
//   - The data block is four single-precision floats W, X, Y, Z (16 bytes),
//     laid out as q3's TQ3Quaternion: hand it to q3 in place through
//     AsQ3Quaternion. A new instance holds the identity (W = 1); a block of
//     zeros is the zero quaternion, which q3 treats as "no rotation".
//   - Rotation arithmetic goes through q3, whose Q3Quaternion_Multiply(a, b)
//     means "a, then b"; only Normalize is the plugin's own (single-precision
//     length, as for Vector3D).
//   - NewQuaternion makes a new identity instance holding the one reference
//     creation gave it, which passes to whoever receives it; nil when the
//     host cannot make one.
//   - QuaternionOf gives the block inside a Quaternion instance, nil for nil.
//
// Usage
//   HostObject q = NewQuaternion();
//   Q3Quaternion_Multiply(AsQ3Quaternion(*QuaternionOf(a)), turn, AsQ3Quaternion(*QuaternionOf(q)));
#pragma once

#include "Q3Base.h"
#include "plugin/HostServices.h"
#include "plugin/Records.h"

#include <cstddef>

namespace du3v {

struct QuaternionData {
  float W;
  float X;
  float Y;
  float Z;
};
static_assert(sizeof(QuaternionData) == 16, "the Quaternion block is 16 bytes");
static_assert(offsetof(QuaternionData, W) == 0 && offsetof(QuaternionData, X) == 4 &&
                  offsetof(QuaternionData, Y) == 8 && offsetof(QuaternionData, Z) == 12,
              "W, X, Y, Z at offsets 0, 4, 8, 12");
static_assert(sizeof(TQ3Quaternion) == sizeof(QuaternionData) && offsetof(TQ3Quaternion, w) == 0 &&
                  offsetof(TQ3Quaternion, z) == offsetof(QuaternionData, Z),
              "the block is handed to q3 as a quaternion");

extern ClassDefinition QuaternionClass;

// The block inside a Quaternion instance; nullptr for nil.
inline QuaternionData *QuaternionOf(HostObject quaternion) {
  return quaternion ? static_cast<QuaternionData *>(ClassData(quaternion, QuaternionClass)) : nullptr;
}

inline TQ3Quaternion *AsQ3Quaternion(QuaternionData &q) { return reinterpret_cast<TQ3Quaternion *>(&q); }
inline const TQ3Quaternion *AsQ3Quaternion(const QuaternionData &q) {
  return reinterpret_cast<const TQ3Quaternion *>(&q);
}

// A new identity Quaternion with one reference for the caller, or nil.
HostObject NewQuaternion();

} // namespace du3v
