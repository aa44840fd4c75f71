// Object3D.h: the script class for everything placed in a scene.
//
// Contract
//   - Object3DData is the plugin block of every Object3D and of the Object3D
//     part of every Group3D (44 bytes, offsets pinned below; the host reads
//     and writes the direct properties at those offsets).
//   - The record holds one host reference to Position and one to Orientation
//     (made by the constructor, or assigned by a script through the host),
//     and one q3 reference per ShapeList element, disposed at the end.
//   - A nil Position reads as the origin and a nil Orientation as the
//     identity everywhere: scripts may assign nil to both.
//   - The placement operations below change the data in place and are what
//     groups, submission and the camera use.
#pragma once

#include "Q3.h"
#include "plugin/HostServices.h"
#include "plugin/Records.h"
#include "util/SimpleVector.h"

#include <cstddef>

namespace du3v {

struct Object3DData {
  HostObject Position;    // Vector3D
  HostObject Orientation; // Quaternion
  HostObject Bounds;      // Bounds3D or nil, written by the host
  float Scale;
  int32_t Shape;
  uint8_t Visible;
  uint8_t NullShader;
  uint8_t RenderBackFaces;
  uint8_t IsGroup;
  SimpleVector<TQ3Object> ShapeList;
  uint32_t spare;
};
static_assert(sizeof(Object3DData) == 44, "the Object3D block is 44 bytes");
static_assert(offsetof(Object3DData, Orientation) == 4 && offsetof(Object3DData, Bounds) == 8 &&
                  offsetof(Object3DData, Scale) == 12 && offsetof(Object3DData, Shape) == 16 &&
                  offsetof(Object3DData, Visible) == 20 && offsetof(Object3DData, NullShader) == 21 &&
                  offsetof(Object3DData, RenderBackFaces) == 22 && offsetof(Object3DData, IsGroup) == 23 &&
                  offsetof(Object3DData, ShapeList) == 24,
              "Object3D field offsets");

extern ClassDefinition Object3DClass;

// The Object3D block of an Object3D or Group3D instance; nullptr for nil.
inline Object3DData *Object3DOf(HostObject object) {
  return object ? static_cast<Object3DData *>(ClassData(object, Object3DClass)) : nullptr;
}

// The current placement, nil fields read as origin and identity.
TQ3Point3D PositionOf(const Object3DData &data);
TQ3Quaternion OrientationOf(const Object3DData &data);

// Placement operations on the data of one object.
void TranslateBy(Object3DData &data, const TQ3Vector3D &vector); // no-op with a nil Position
void SetPosition(Object3DData &data, const TQ3Point3D &point);   // no-op with a nil Position
void RotatePoint(const Object3DData &data, TQ3Point3D &point);
void RotateVector(const Object3DData &data, TQ3Vector3D &vector);
void LocalToWorld(const Object3DData &data, TQ3Point3D &point);
void WorldToLocal(const Object3DData &data, TQ3Point3D &point);
// Turns Orientation about a world-space axis (no-op with a nil Orientation).
void RotateAboutAxis(HostObject instance, const TQ3Vector3D &axis, double radians);

} // namespace du3v
