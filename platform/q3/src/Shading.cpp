// Shading.cpp: the NULL, Lambert and Phong illumination models and fog.
#include "Shading.h"

#include <algorithm>

namespace q3 {

using raster::V3;

void applyAttributes(Material &m, const AttributeValues &a) {
  using A = AttributeValues;
  if (a.has(A::kDiffuse)) m.diffuse[0] = a.diffuse.r, m.diffuse[1] = a.diffuse.g, m.diffuse[2] = a.diffuse.b;
  if (a.has(A::kSpecular)) m.specular[0] = a.specular.r, m.specular[1] = a.specular.g, m.specular[2] = a.specular.b;
  if (a.has(A::kTransparency))
    m.transparency[0] = a.transparency.r, m.transparency[1] = a.transparency.g, m.transparency[2] = a.transparency.b;
  if (a.has(A::kSpecularControl)) m.specularControl = a.specularControl;
  if (a.has(A::kAmbientCoefficient)) m.ambientCoefficient = a.ambientCoefficient;
}

LitTerms shade(const LightRig &rig, TQ3ObjectType model, const Material &m, V3 position, V3 normal, bool textured) {
  LitTerms out{};
  if (model == kQ3IlluminationTypeNULL) {
    for (int c = 0; c < 3; ++c) out.mul[c] = textured ? 1.0f : m.diffuse[c];
    return out;
  }
  double diffuse[3], specular[3] = {0, 0, 0};
  for (int c = 0; c < 3; ++c) diffuse[c] = m.ambientCoefficient * rig.ambient[c];
  const bool phong = model == kQ3IlluminationTypePhong;
  const V3 toEye = phong ? raster::normalized(rig.eye - position) : V3{0, 0, 0};
  for (const WorldLight &l : rig.lights) {
    V3 toLight = l.towardLight;
    double strength = 1.0;
    if (!l.directional) {
      const V3 d = l.location - position;
      const double dist = raster::length(d);
      toLight = dist > 0.0 ? d * (1.0 / dist) : V3{0, 0, 0};
      // Guarded so a surface at the light's location is bright, not infinite.
      const double guarded = std::max(dist, 1e-4);
      if (l.attenuation == kQ3AttenuationTypeInverseDistance) strength = 1.0 / guarded;
      if (l.attenuation == kQ3AttenuationTypeInverseDistanceSquared) strength = 1.0 / (guarded * guarded);
    }
    const double nDotL = raster::dot(normal, toLight);
    if (nDotL <= 0.0) continue;
    const double lc[3] = {l.r * strength, l.g * strength, l.b * strength};
    for (int c = 0; c < 3; ++c) diffuse[c] += lc[c] * nDotL;
    if (phong) {
      const V3 reflected = normal * (2.0 * nDotL) - toLight;
      const double rDotV = raster::dot(reflected, toEye);
      if (rDotV > 0.0) {
        const double s = raster::detPow(rDotV, m.specularControl);
        for (int c = 0; c < 3; ++c) specular[c] += lc[c] * s;
      }
    }
  }
  for (int c = 0; c < 3; ++c) {
    out.mul[c] = float(textured ? diffuse[c] : diffuse[c] * m.diffuse[c]);
    out.add[c] = float(specular[c] * m.specular[c]);
  }
  return out;
}

float fogFactor(const TQ3FogStyleData &fog, double d) {
  if (fog.state != kQ3On) return 1.0f;
  double f = 1.0;
  switch (fog.mode) {
  case kQ3FogModeLinear:
    f = fog.fogEnd > fog.fogStart ? (fog.fogEnd - d) / (double(fog.fogEnd) - fog.fogStart) : (d < fog.fogEnd ? 1 : 0);
    break;
  case kQ3FogModeExponential: f = raster::detExp(-double(fog.density) * d); break;
  case kQ3FogModeExponentialSquared: {
    const double x = double(fog.density) * d;
    f = raster::detExp(-x * x);
    break;
  }
  default: return 1.0f;
  }
  return float(std::clamp(f, 0.0, 1.0));
}

} // namespace q3
