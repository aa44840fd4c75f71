// Transform.h: transform and style objects.
//
// A Transform keeps its matrix (row vectors, p x M) computed when made;
// submit() multiplies it into the view's transform, or resets it for a
// reset transform. A Style keeps one style value and submit() sets it in
// the view. The reader and the public _New calls make both.
#pragma once

#include "Object.h"
#include "Q3Transform.h"

namespace q3 {

class Transform : public Shape {
public:
  Transform(const TypeInfo &leaf, const TQ3Matrix4x4 &matrix) : Shape(leaf), matrix_(matrix) {}
  const TQ3Matrix4x4 &matrix() const { return matrix_; }
  void submit(SubmitTarget &target) const override;

private:
  TQ3Matrix4x4 matrix_;
};

class Style : public Shape {
public:
  // `value` is the style's enum or pick ID; fog styles use `fog`.
  Style(const TypeInfo &leaf, uint32_t value) : Shape(leaf), value_(value) {}
  Style(const TQ3FogStyleData &fog) : Shape(type::FogStyle), fog_(fog) {}
  uint32_t value() const { return value_; }
  const TQ3FogStyleData &fog() const { return fog_; }
  void submit(SubmitTarget &target) const override;

private:
  uint32_t value_ = 0;
  TQ3FogStyleData fog_{};
};

// Matrices of the transform kinds, shared by the public calls and the reader.
TQ3Matrix4x4 rotateMatrix(TQ3Axis axis, float radians);
TQ3Matrix4x4 rotateAboutPointMatrix(TQ3Axis axis, float radians, const TQ3Point3D &about);

} // namespace q3
