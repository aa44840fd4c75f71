// Bounds3D.h: the script class for a bounding volume.
//
// Contract
//   - The data block (52 bytes) holds the Type (1 sphere, 2 box, anything
//     else: neither) and both representations side by side, each laid out as
//     q3's bounding record with its own isEmpty flag, so q3's bounding loops
//     can write them in place (Q3View_EndBoundingBox(view, &BoxOf(...))).
//   - Type says which part is authoritative. Whoever fills one part marks the
//     other empty (isEmpty = kQ3True); the class derives the missing part from
//     the authoritative one when a getter or a test needs it.
//   - A part marked empty holds nothing: a test on it answers false or nil.
//   - Bounds3DOf gives the block inside a Bounds3D instance, nil for nil.
//
// Usage
//   Bounds3DData *b = Bounds3DOf(bounds);
//   b->Type = kBoundsSphere;
//   Q3View_EndBoundingSphere(view, &b->sphere);
//   b->box.isEmpty = kQ3True;
#pragma once

#include "Q3Base.h"
#include "plugin/HostServices.h"
#include "plugin/Records.h"

#include <cstddef>
#include <cstdint>

namespace du3v {

constexpr int32_t kBoundsSphere = 1;
constexpr int32_t kBoundsBox = 2;

struct Bounds3DData {
  int32_t Type;
  TQ3BoundingBox box;
  TQ3BoundingSphere sphere;
};
static_assert(sizeof(Bounds3DData) == 52, "the Bounds3D block is 52 bytes");
static_assert(offsetof(Bounds3DData, Type) == 0 && offsetof(Bounds3DData, box) == 4 &&
                  offsetof(Bounds3DData, sphere) == 32,
              "Type, then the box at 4, then the sphere at 32");
static_assert(offsetof(TQ3BoundingBox, max) == 12 && offsetof(TQ3BoundingBox, isEmpty) == 24 &&
                  offsetof(TQ3BoundingSphere, radius) == 12 && offsetof(TQ3BoundingSphere, isEmpty) == 16,
              "q3's bounding records as the block holds them");

extern ClassDefinition Bounds3DClass;

// The block inside a Bounds3D instance; nullptr for nil.
inline Bounds3DData *Bounds3DOf(HostObject bounds) {
  return bounds ? static_cast<Bounds3DData *>(ClassData(bounds, Bounds3DClass)) : nullptr;
}

} // namespace du3v
