// Shader.h: shader objects. Shader is the base of every shader kind;
// IlluminationShader carries the lighting model (Phong, Lambert or NULL),
// which its leaf type names. The renderer reads the model with leafType().
#pragma once

#include "Object.h"

namespace q3 {

class Shader : public Shape {
protected:
  using Shape::Shape;
};

class IlluminationShader : public Shader {
public:
  // leaf is one of type::PhongIllumination, LambertIllumination, NullIllumination.
  explicit IlluminationShader(const TypeInfo &leaf) : Shader(leaf) {}
  // Sets the view's lighting model for later geometry.
  void submit(SubmitTarget &target) const override;
};

} // namespace q3
