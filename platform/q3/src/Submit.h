// Submit.h: how objects enter a view's loop.
//
// A view in a rendering, picking or bounding pass implements SubmitTarget.
// Shapes submit themselves (Shape::submit); the submit calls of the public
// interface (Q3Object_Submit, Q3DisplayGroup_Submit, Q3Push_Submit,
// Q3TranslateTransform_Submit, Q3BackfacingStyle_Submit, ...) reach the same
// target. State set here (transform, styles, shaders, attributes) acts on
// later geometry until the matching pop; transforms compose so that the one
// submitted last acts on the geometry first.
#pragma once

#include "Mesh.h"
#include "Q3Style.h"

namespace q3 {

class Geometry;
class Object;

class SubmitTarget {
public:
  virtual ~SubmitTarget() = default;
  virtual void push() = 0;
  virtual void pop() = 0;
  // Multiplies `localToParent` into the current transform (p x local x current).
  virtual void transform(const TQ3Matrix4x4 &localToParent) = 0;
  virtual void resetTransform() = 0;
  virtual void backfacing(TQ3BackfacingStyle style) = 0;
  virtual void interpolation(TQ3InterpolationStyle style) = 0;
  virtual void fill(TQ3FillStyle style) = 0;
  virtual void orientation(TQ3OrientationStyle style) = 0;
  virtual void fog(const TQ3FogStyleData &fog) = 0;
  virtual void pickID(uint32_t id) = 0;
  // kQ3IlluminationTypePhong, kQ3IlluminationTypeLambert or kQ3IlluminationTypeNULL.
  virtual void illumination(TQ3ObjectType model) = 0;
  // A texture shader; null removes the texture.
  virtual void surfaceTexture(std::shared_ptr<const TextureImage> texture) = 0;
  // An attribute set submitted on its own: overlays the current attributes.
  virtual void attributes(const AttributeValues &values) = 0;
  // A geometry and its tessellation; `object` is what a pick reports.
  virtual void geometry(const Object &object, const Mesh &mesh) = 0;

  // The kind of pass, so display groups can honour their drawn and picked
  // state. Views override it; the default suits a rendering pass.
  enum class Pass { Render, Pick, Bounds };
  virtual Pass pass() const { return Pass::Render; }
};

} // namespace q3
