// The Object3D script class: record, constructor and destructor, property
// accessors, movement, conversions and Clone.
#include "scene/Object3D.h"

#include "math/Quaternion.h"
#include "math/Vector3D.h"
#include "plugin/Registration.h"
#include "scene/Shapes.h"
#include "scene/Submission.h"
#include "util/Zu3ZOdoz.h"

#include <cstring>

namespace du3v {

namespace {
Vector3DData *positionBlock(const Object3DData &data) { return Vector3DOf(data.Position); }
QuaternionData *orientationBlock(const Object3DData &data) { return QuaternionOf(data.Orientation); }

extern "C" void Object3D_Construct(HostObject instance) {
  Object3DData &data = *Object3DOf(instance);
  data.Position = PluginNewInstance("Vector3D");
  data.Orientation = PluginNewInstance("Quaternion");
  data.Scale = 1.0f;
  SimpleVector<TQ3Object> empty{};
  data.ShapeList.Assign(empty);
  data.Shape = 0;
  data.Visible = 1;
  AcquireQuesa();
}

extern "C" void Object3D_Destruct(HostObject instance) {
  Object3DData &data = *Object3DOf(instance);
  for (uint32_t i = 0; i < data.ShapeList.Count(); ++i) Q3Object_Dispose(data.ShapeList[i]);
  data.ShapeList.Clear();
  // The host releases what a direct property still holds when the instance
  // ends; the fields are cleared so that each reference is dropped once.
  HostObject position = data.Position, orientation = data.Orientation;
  data.Position = nullptr;
  data.Orientation = nullptr;
  KIVOUnlockObject(position);
  KIVOUnlockObject(orientation);
  ReleaseQuesa();
}

extern "C" double Object3D_GetScale(HostObject instance, uint32_t param) {
  float value;
  std::memcpy(&value, reinterpret_cast<uint8_t *>(Object3DOf(instance)) + param, 4);
  return value;
}

extern "C" void Object3D_SetScale(HostObject instance, uint32_t, double value) {
  Object3DOf(instance)->Scale = static_cast<float>(value);
}

extern "C" void Object3D_SetShape(HostObject instance, uint32_t, int32_t value) {
  Object3DData &data = *Object3DOf(instance);
  const uint32_t n = data.ShapeList.Count();
  if (value < 0)
    data.Shape = 0;
  else if (static_cast<uint32_t>(value) >= n)
    data.Shape = static_cast<int32_t>(n - 1);
  else
    data.Shape = value;
}

extern "C" void Object3D_MoveForward(HostObject instance, double distance) {
  Object3DData &data = *Object3DOf(instance);
  TQ3Vector3D v{0, 0, static_cast<float>(distance)};
  RotateVector(data, v);
  TranslateBy(data, v);
}

void TurnAboutLocalAxis(HostObject instance, TQ3Vector3D axis, double radians) {
  RotateVector(*Object3DOf(instance), axis);
  RotateAboutAxis(instance, axis, radians);
}
extern "C" void Object3D_Roll(HostObject instance, double radians) { TurnAboutLocalAxis(instance, {0, 0, 1}, radians); }
extern "C" void Object3D_Pitch(HostObject instance, double radians) {
  TurnAboutLocalAxis(instance, {1, 0, 0}, radians);
}
extern "C" void Object3D_Yaw(HostObject instance, double radians) { TurnAboutLocalAxis(instance, {0, 1, 0}, radians); }

extern "C" HostObject Object3D_Clone(HostObject instance) {
  static HostFunction newOfSameClass{"PluginNewOfSameClass", nullptr};
  auto call = reinterpret_cast<HostObject (*)(HostObject)>(ResolveHostFunction(newOfSameClass));
  HostObject clone = call ? call(instance) : nullptr;
  if (!clone) return nullptr;
  const Object3DData &source = *Object3DOf(instance);
  Object3DData &copy = *Object3DOf(clone);
  const uint32_t n = source.ShapeList.Count();
  if (!copy.ShapeList.Resize(n)) return clone;
  for (uint32_t i = 0; i < n; ++i) copy.ShapeList[i] = Q3Shared_GetReference(source.ShapeList[i]);
  return clone;
}

template <void (*Convert)(const Object3DData &, TQ3Point3D &)>
HostObject Transformed(HostObject instance, HostObject point) {
  const Vector3DData *from = Vector3DOf(point);
  if (!from) return nullptr;
  HostObject result = NewVector3D();
  Vector3DData *to = Vector3DOf(result);
  if (!to) return nullptr;
  *to = *from;
  Convert(*Object3DOf(instance), *AsQ3Point(*to));
  return result;
}
extern "C" HostObject Object3D_ObjectToWorldTransform(HostObject instance, HostObject point) {
  return Transformed<LocalToWorld>(instance, point);
}
extern "C" HostObject Object3D_WorldToObjectTransform(HostObject instance, HostObject point) {
  return Transformed<WorldToLocal>(instance, point);
}

PropertyDefinition properties[] = {
    {nullptr, "Position", "Vector3D", 0, HostAccess(), HostAccess(), 0, {}},
    {nullptr, "Orientation", "Quaternion", 0, HostAccess(), HostAccess(), 4, {}},
    {nullptr, "Scale", "Double", 0, Fn(Object3D_GetScale), Fn(Object3D_SetScale), 12, {}},
    {nullptr, "Shape", "Integer", 0, HostAccess(), Fn(Object3D_SetShape), 16, {}},
    {nullptr, "Visible", "Boolean", 0, HostAccess(), HostAccess(), 20, {}},
    {nullptr, "NullShader", "Boolean", 0, HostAccess(), HostAccess(), 21, {}},
    {nullptr, "RenderBackFaces", "Boolean", 0, HostAccess(), HostAccess(), 22, {}},
    {nullptr, "Bounds", "Bounds3D", 0, HostAccess(), HostAccess(), 8, {}},
};

// In the documented order; the two picture methods join when picture
// shapes are built.
MethodDefinition methods[] = {
    {Fn(Object3D_MoveForward), nullptr, "MoveForward(distance as Double)", 0},
    {Fn(Object3D_Roll), nullptr, "Roll(radians as Double)", 0},
    {Fn(Object3D_Pitch), nullptr, "Pitch(radians as Double)", 0},
    {Fn(Object3D_Yaw), nullptr, "Yaw(radians as Double)", 0},
    {Fn(Object3D_AddShapeFromString), nullptr, "AddShapeFromString(data as String)", 0},
    {Fn(Object3D_AddShapeFromFile), nullptr, "AddShapeFromFile(file as FolderItem)", 0},
    {Fn(Object3D_AddShapeFromHandle), nullptr, "AddShapeFromHandle(TQ3Object as Integer)", 0},
    {Fn(Object3D_GetShapeHandle), nullptr, "GetShapeHandle(index as Integer) as Integer", 0},
    {Fn(Object3D_Clone), nullptr, "Clone() as Object3D", 0},
    {Fn(Object3D_ComputeBounds), nullptr, "ComputeBounds(type as Integer) as Bounds3D", 0},
    {Fn(Object3D_UpdateBounds), nullptr, "UpdateBounds", 0},
    {Fn(Object3D_ObjectToWorldTransform), nullptr, "ObjectToWorldTransform(pt as Vector3D) as Vector3D", 0},
    {Fn(Object3D_WorldToObjectTransform), nullptr, "WorldToObjectTransform(pt as Vector3D) as Vector3D", 0},
};
} // namespace

ClassDefinition Object3DClass = {
    kRecordVersion,
    "Object3D",
    nullptr,
    44,
    0,
    Fn(Object3D_Construct),
    Fn(Object3D_Destruct),
    properties,
    sizeof properties / sizeof properties[0],
    methods,
    sizeof methods / sizeof methods[0],
    {},
};

TQ3Point3D PositionOf(const Object3DData &data) {
  const Vector3DData *p = positionBlock(data);
  return p ? TQ3Point3D{p->X, p->Y, p->Z} : TQ3Point3D{0, 0, 0};
}

TQ3Quaternion OrientationOf(const Object3DData &data) {
  const QuaternionData *q = orientationBlock(data);
  return q ? TQ3Quaternion{q->W, q->X, q->Y, q->Z} : TQ3Quaternion{1, 0, 0, 0};
}

void TranslateBy(Object3DData &data, const TQ3Vector3D &v) {
  if (Vector3DData *p = positionBlock(data)) p->X += v.x, p->Y += v.y, p->Z += v.z;
}

void SetPosition(Object3DData &data, const TQ3Point3D &point) {
  if (Vector3DData *p = positionBlock(data)) p->X = point.x, p->Y = point.y, p->Z = point.z;
}

void RotatePoint(const Object3DData &data, TQ3Point3D &point) {
  const TQ3Quaternion q = OrientationOf(data);
  Q3Point3D_TransformQuaternion(&point, &q, &point);
}

void RotateVector(const Object3DData &data, TQ3Vector3D &vector) {
  const TQ3Quaternion q = OrientationOf(data);
  Q3Vector3D_TransformQuaternion(&vector, &q, &vector);
}

void LocalToWorld(const Object3DData &data, TQ3Point3D &point) {
  if (data.Scale != 1.0f) point.x *= data.Scale, point.y *= data.Scale, point.z *= data.Scale;
  const TQ3Quaternion q = OrientationOf(data);
  TQ3Vector3D v{point.x, point.y, point.z};
  Q3Vector3D_TransformQuaternion(&v, &q, &v);
  const TQ3Point3D p = PositionOf(data);
  point = {v.x + p.x, v.y + p.y, v.z + p.z};
}

void WorldToLocal(const Object3DData &data, TQ3Point3D &point) {
  const TQ3Point3D p = PositionOf(data);
  TQ3Vector3D v{point.x - p.x, point.y - p.y, point.z - p.z};
  const TQ3Quaternion q = OrientationOf(data);
  TQ3Quaternion inverse;
  Q3Quaternion_Invert(&q, &inverse);
  Q3Vector3D_TransformQuaternion(&v, &inverse, &v);
  point = {v.x, v.y, v.z};
  if (data.Scale != 1.0f && data.Scale != 0.0f) {
    const float f = static_cast<float>(1.0 / data.Scale);
    point.x *= f, point.y *= f, point.z *= f;
  }
}

void RotateAboutAxis(HostObject instance, const TQ3Vector3D &axis, double radians) {
  QuaternionData *orientation = orientationBlock(*Object3DOf(instance));
  if (!orientation) return;
  TQ3Quaternion r;
  Q3Quaternion_SetRotateAboutAxis(&r, &axis, static_cast<float>(radians));
  TQ3Quaternion *q = AsQ3Quaternion(*orientation);
  Q3Quaternion_Multiply(q, &r, q);
  Q3Quaternion_Normalize(q, q);
}

} // namespace du3v
