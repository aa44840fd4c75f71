// The Quaternion script class: a rotation, four single-precision floats. All
// rotation arithmetic but Normalize is q3's; self is always q3's first
// operand and the last argument receives the result.
#include "math/Quaternion.h"

#include "Q3Math.h"
#include "math/Numerics.h"
#include "math/Vector3D.h"
#include "plugin/Registration.h"

#include <cstdint>

namespace du3v {

namespace {
// Asked for once; a missing answer is asked for again next time.
HostClassRef quaternionType = nullptr;

// The field at a property's byte offset (0, 4, 8 or 12); W for anything else.
float &FieldAt(QuaternionData &q, uint32_t offset) {
  switch (offset) {
  case offsetof(QuaternionData, X): return q.X;
  case offsetof(QuaternionData, Y): return q.Y;
  case offsetof(QuaternionData, Z): return q.Z;
  default: return q.W;
  }
}

TQ3Quaternion *Q3Of(HostObject quaternion) { return AsQ3Quaternion(*QuaternionOf(quaternion)); }
} // namespace

HostObject NewQuaternion() {
  if (!quaternionType) quaternionType = pluginObjectType("Quaternion");
  return CreateInstance(quaternionType);
}

extern "C" {

void Quaternion_Construct(HostObject self) { QuaternionOf(self)->W = 1.0f; }

double Quaternion_GetField(HostObject self, uint32_t offset) { return FieldAt(*QuaternionOf(self), offset); }

void Quaternion_SetField(HostObject self, uint32_t offset, double value) {
  FieldAt(*QuaternionOf(self), offset) = Single(value);
}

void Quaternion_Normalize(HostObject self) {
  QuaternionData &q = *QuaternionOf(self);
  const double w = q.W, x = q.X, y = q.Y, z = q.Z;
  if (auto factor = ScaleToLengthFactor(SingleLength(x * x + w * w + y * y + z * z), 1.0)) {
    q.W = Single(w * *factor);
    q.X = Single(x * *factor);
    q.Y = Single(y * *factor);
    q.Z = Single(z * *factor);
  }
}

void Quaternion_Invert(HostObject self) { Q3Quaternion_Invert(Q3Of(self), Q3Of(self)); }

HostObject Quaternion_Inverse(HostObject self) {
  HostObject result = NewQuaternion();
  if (result) Q3Quaternion_Invert(Q3Of(self), Q3Of(result));
  return result;
}

HostObject Quaternion_Times(HostObject self, HostObject quat) {
  HostObject result = NewQuaternion();
  if (!result) return nullptr;
  if (quat)
    Q3Quaternion_Multiply(Q3Of(self), Q3Of(quat), Q3Of(result));
  else
    *QuaternionOf(result) = *QuaternionOf(self);
  return result;
}

void Quaternion_MultiplyBy(HostObject self, HostObject quat) {
  if (quat) Q3Quaternion_Multiply(Q3Of(self), Q3Of(quat), Q3Of(self));
}

void Quaternion_SetRotateAboutAxis(HostObject self, double axisX, double axisY, double axisZ, double radians) {
  TQ3Vector3D axis{Single(axisX), Single(axisY), Single(axisZ)};
  Q3Vector3D_Normalize(&axis, &axis);
  Q3Quaternion_SetRotateAboutAxis(Q3Of(self), &axis, Single(radians));
}

// Matching quat1 to quat2's side first makes the blend take the shorter way.
void Quaternion_SetBetween(HostObject self, HostObject quat1, HostObject quat2, double position) {
  if (!quat1 || !quat2) return;
  TQ3Quaternion matched;
  Q3Quaternion_MatchReflection(Q3Of(quat1), Q3Of(quat2), &matched);
  Q3Quaternion_InterpolateLinear(&matched, Q3Of(quat2), Single(position), Q3Of(self));
}

HostObject Quaternion_Transform(HostObject self, HostObject vec) {
  HostObject result = NewVector3D();
  if (result && vec)
    Q3Vector3D_TransformQuaternion(AsQ3Vector(*Vector3DOf(vec)), Q3Of(self), AsQ3Vector(*Vector3DOf(result)));
  return result;
}

} // extern "C"

namespace {
PropertyDefinition quaternionProperties[] = {
    {nullptr, "Z", "Double", 0, Fn(Quaternion_GetField), Fn(Quaternion_SetField), offsetof(QuaternionData, Z), {}},
    {nullptr, "Y", "Double", 0, Fn(Quaternion_GetField), Fn(Quaternion_SetField), offsetof(QuaternionData, Y), {}},
    {nullptr, "X", "Double", 0, Fn(Quaternion_GetField), Fn(Quaternion_SetField), offsetof(QuaternionData, X), {}},
    {nullptr, "W", "Double", 0, Fn(Quaternion_GetField), Fn(Quaternion_SetField), offsetof(QuaternionData, W), {}},
};

MethodDefinition quaternionMethods[] = {
    {Fn(Quaternion_Normalize), nullptr, "Normalize()", 0},
    {Fn(Quaternion_Invert), nullptr, "Invert()", 0},
    {Fn(Quaternion_Inverse), nullptr, "Inverse() as Quaternion", 0},
    {Fn(Quaternion_Times), nullptr, "Times(quat as Quaternion) as Quaternion", 0},
    {Fn(Quaternion_MultiplyBy), nullptr, "MultiplyBy(quat as Quaternion)", 0},
    {Fn(Quaternion_SetRotateAboutAxis), nullptr,
     "SetRotateAboutAxis(axisX as Double, axisY as Double, axisZ as Double, radians as Double)", 0},
    {Fn(Quaternion_SetBetween), nullptr, "SetBetween(quat1 as Quaternion, quat2 as Quaternion, position as Double)", 0},
    {Fn(Quaternion_Transform), nullptr, "Transform(vec as Vector3D) as Vector3D", 0},
};
} // namespace

ClassDefinition QuaternionClass = {
    kRecordVersion,
    "Quaternion",
    nullptr,
    sizeof(QuaternionData),
    0,
    Fn(Quaternion_Construct),
    nullptr,
    quaternionProperties,
    sizeof quaternionProperties / sizeof quaternionProperties[0],
    quaternionMethods,
    sizeof quaternionMethods / sizeof quaternionMethods[0],
    {},
};

} // namespace du3v
