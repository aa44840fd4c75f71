// Mesh.cpp: merging attribute values between levels.
#include "Mesh.h"

namespace q3 {

void AttributeValues::overlay(const AttributeValues &over) {
  if (over.has(kDiffuse)) diffuse = over.diffuse;
  if (over.has(kSpecular)) specular = over.specular;
  if (over.has(kSpecularControl)) specularControl = over.specularControl;
  if (over.has(kTransparency)) transparency = over.transparency;
  if (over.has(kAmbientCoefficient)) ambientCoefficient = over.ambientCoefficient;
  if (over.has(kNormal)) normal = over.normal;
  if (over.has(kUV)) uv = over.uv;
  if (over.has(kTexture)) texture = over.texture;
  mask |= over.mask;
}

} // namespace q3
