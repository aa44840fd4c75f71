// The Vector3D script class: a point or direction, three single-precision
// floats. Members that make a new vector hand the caller the one reference
// creation gave it.
#include "math/Vector3D.h"

#include "math/Numerics.h"
#include "plugin/Registration.h"

#include <cstdint>

namespace du3v {

namespace {
// Asked for once; a missing answer is asked for again next time.
HostClassRef vector3DType = nullptr;

double SumOfSquares(const Vector3DData &v) {
  const double x = v.X, y = v.Y, z = v.Z;
  return x * x + y * y + z * z;
}

void ScaleBy(Vector3DData &v, float factor) {
  v.X = Single(static_cast<double>(v.X) * factor);
  v.Y = Single(static_cast<double>(v.Y) * factor);
  v.Z = Single(static_cast<double>(v.Z) * factor);
}

void ScaleToLength(Vector3DData &v, double target) {
  if (auto factor = ScaleToLengthFactor(SingleLength(SumOfSquares(v)), target)) ScaleBy(v, *factor);
}

// A new vector holding `value`, or nil when none can be made.
HostObject NewVector3DHolding(const Vector3DData &value) {
  HostObject result = NewVector3D();
  if (Vector3DData *data = Vector3DOf(result)) *data = value;
  return result;
}

// The field at a property's byte offset (0, 4 or 8); X for anything else.
float &FieldAt(Vector3DData &v, uint32_t offset) {
  switch (offset) {
  case offsetof(Vector3DData, Y): return v.Y;
  case offsetof(Vector3DData, Z): return v.Z;
  default: return v.X;
  }
}
} // namespace

HostObject NewVector3D() {
  if (!vector3DType) vector3DType = pluginObjectType("Vector3D");
  return CreateInstance(vector3DType);
}

extern "C" {

double Vector3D_GetField(HostObject self, uint32_t offset) { return FieldAt(*Vector3DOf(self), offset); }

void Vector3D_SetField(HostObject self, uint32_t offset, double value) {
  FieldAt(*Vector3DOf(self), offset) = Single(value);
}

void Vector3D_Construct(HostObject self) { *Vector3DOf(self) = {0.0f, 0.0f, 0.0f}; }

void Vector3D_ConstructXYZ(HostObject self, double x, double y, double z) {
  *Vector3DOf(self) = {Single(x), Single(y), Single(z)};
}

// Also the method Copy: a nil source gives (0, 0, 0).
void Vector3D_Copy(HostObject self, HostObject vector) {
  const Vector3DData *source = Vector3DOf(vector);
  *Vector3DOf(self) = source ? *source : Vector3DData{0.0f, 0.0f, 0.0f};
}

double Vector3D_Length(HostObject self) { return SingleLength(SumOfSquares(*Vector3DOf(self))); }

void Vector3D_SetLength(HostObject self, double length) { ScaleToLength(*Vector3DOf(self), length); }

double Vector3D_LenSquared(HostObject self) { return SumOfSquares(*Vector3DOf(self)); }

// A negative value has no root: its not-a-number target leaves the vector as
// it is rather than making every component not-a-number.
void Vector3D_SetLenSquared(HostObject self, double lengthSquared) {
  ScaleToLength(*Vector3DOf(self), std::sqrt(lengthSquared));
}

void Vector3D_Normalize(HostObject self) { ScaleToLength(*Vector3DOf(self), 1.0); }

HostObject Vector3D_Cross(HostObject self, HostObject vector) {
  HostObject result = NewVector3D();
  Vector3DData *r = Vector3DOf(result);
  const Vector3DData *v = Vector3DOf(vector);
  if (r && v) {
    const Vector3DData &s = *Vector3DOf(self);
    const double x = s.X, y = s.Y, z = s.Z, vx = v->X, vy = v->Y, vz = v->Z;
    *r = {Single(y * vz - z * vy), Single(z * vx - x * vz), Single(x * vy - y * vx)};
  }
  return result;
}

double Vector3D_Dot(HostObject self, HostObject vector) {
  const Vector3DData *v = Vector3DOf(vector);
  if (!v) return 0.0;
  const Vector3DData &s = *Vector3DOf(self);
  return static_cast<double>(s.X) * v->X + static_cast<double>(s.Y) * v->Y + static_cast<double>(s.Z) * v->Z;
}

HostObject Vector3D_Plus(HostObject self, HostObject vector) {
  const Vector3DData &s = *Vector3DOf(self);
  const Vector3DData *v = Vector3DOf(vector);
  if (!v) return NewVector3DHolding(s);
  return NewVector3DHolding({Single(static_cast<double>(s.X) + v->X), Single(static_cast<double>(s.Y) + v->Y),
                             Single(static_cast<double>(s.Z) + v->Z)});
}

HostObject Vector3D_Minus(HostObject self, HostObject vector) {
  const Vector3DData &s = *Vector3DOf(self);
  const Vector3DData *v = Vector3DOf(vector);
  if (!v) return NewVector3DHolding(s);
  return NewVector3DHolding({Single(static_cast<double>(s.X) - v->X), Single(static_cast<double>(s.Y) - v->Y),
                             Single(static_cast<double>(s.Z) - v->Z)});
}

HostObject Vector3D_Times(HostObject self, double scalar) {
  Vector3DData product = *Vector3DOf(self);
  ScaleBy(product, Single(scalar));
  return NewVector3DHolding(product);
}

void Vector3D_Add(HostObject self, HostObject vector) {
  const Vector3DData *v = Vector3DOf(vector);
  if (!v) return;
  Vector3DData &s = *Vector3DOf(self);
  s = {Single(static_cast<double>(s.X) + v->X), Single(static_cast<double>(s.Y) + v->Y),
       Single(static_cast<double>(s.Z) + v->Z)};
}

void Vector3D_Subtract(HostObject self, HostObject vector) {
  const Vector3DData *v = Vector3DOf(vector);
  if (!v) return;
  Vector3DData &s = *Vector3DOf(self);
  s = {Single(static_cast<double>(s.X) - v->X), Single(static_cast<double>(s.Y) - v->Y),
       Single(static_cast<double>(s.Z) - v->Z)};
}

void Vector3D_MultiplyBy(HostObject self, double scalar) { ScaleBy(*Vector3DOf(self), Single(scalar)); }

} // extern "C"

namespace {
PropertyDefinition vector3DProperties[] = {
    {nullptr, "Z", "Double", 0, Fn(Vector3D_GetField), Fn(Vector3D_SetField), offsetof(Vector3DData, Z), {}},
    {nullptr, "Y", "Double", 0, Fn(Vector3D_GetField), Fn(Vector3D_SetField), offsetof(Vector3DData, Y), {}},
    {nullptr, "X", "Double", 0, Fn(Vector3D_GetField), Fn(Vector3D_SetField), offsetof(Vector3DData, X), {}},
};

MethodDefinition vector3DMethods[] = {
    {Fn(Vector3D_Construct), nullptr, "Vector3D()", 0},
    {Fn(Vector3D_ConstructXYZ), nullptr, "Vector3D(x As Double, y as Double, z As Double)", 0},
    {Fn(Vector3D_Copy), nullptr, "Vector3D(vector As Vector3D)", 0},
    {Fn(Vector3D_Copy), nullptr, "Copy(vector As Vector3D)", 0},
    {Fn(Vector3D_Length), Fn(Vector3D_SetLength), "Length() as Double", 0},
    {Fn(Vector3D_LenSquared), Fn(Vector3D_SetLenSquared), "LenSquared() as Double", 0},
    {Fn(Vector3D_Normalize), nullptr, "Normalize()", 0},
    {Fn(Vector3D_Cross), nullptr, "Cross(vector as Vector3D) as Vector3D", 0},
    {Fn(Vector3D_Dot), nullptr, "Dot(vector as Vector3D) as Double", 0},
    {Fn(Vector3D_Plus), nullptr, "Plus(vector as Vector3D) as Vector3D", 0},
    {Fn(Vector3D_Minus), nullptr, "Minus(vector as Vector3D) as Vector3D", 0},
    {Fn(Vector3D_Times), nullptr, "Times(scalar as Double) as Vector3D", 0},
    {Fn(Vector3D_Add), nullptr, "Add(vector as Vector3D)", 0},
    {Fn(Vector3D_Subtract), nullptr, "Subtract(vector as Vector3D)", 0},
    {Fn(Vector3D_MultiplyBy), nullptr, "MultiplyBy(scalar as Double)", 0},
};
} // namespace

ClassDefinition Vector3DClass = {
    kRecordVersion,
    "Vector3D",
    nullptr,
    sizeof(Vector3DData),
    0,
    nullptr,
    nullptr,
    vector3DProperties,
    sizeof vector3DProperties / sizeof vector3DProperties[0],
    vector3DMethods,
    sizeof vector3DMethods / sizeof vector3DMethods[0],
    {},
};

} // namespace du3v
