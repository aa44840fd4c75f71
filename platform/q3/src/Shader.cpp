// Shader.cpp: making illumination shaders and asking a shader its kind.
#include "Shader.h"

#include "Submit.h"

void q3::IlluminationShader::submit(SubmitTarget &target) const { target.illumination(leafType()); }

namespace {
TQ3ShaderObject newIllumination(const q3::TypeInfo &leaf) {
  return q3::handleOf(q3::create<q3::IlluminationShader>(leaf));
}
} // namespace

Q3_EXTERN_API_C(TQ3ShaderObject) Q3NULLIllumination_New(void) { return newIllumination(q3::type::NullIllumination); }

Q3_EXTERN_API_C(TQ3ShaderObject) Q3LambertIllumination_New(void) {
  return newIllumination(q3::type::LambertIllumination);
}

Q3_EXTERN_API_C(TQ3ShaderObject) Q3PhongIllumination_New(void) { return newIllumination(q3::type::PhongIllumination); }

Q3_EXTERN_API_C(TQ3ObjectType) Q3Shader_GetType(TQ3ShaderObject shader) {
  const q3::Shader *obj = q3::validate<q3::Shader>(shader);
  return obj ? q3::typeBelow(obj->typeInfo(), q3::type::Shader) : kQ3ObjectTypeInvalid;
}

Q3_EXTERN_API_C(TQ3ObjectType) Q3IlluminationShader_GetType(TQ3ShaderObject shader) {
  const q3::IlluminationShader *obj = q3::validate<q3::IlluminationShader>(shader);
  return obj ? obj->leafType() : kQ3ObjectTypeInvalid;
}
