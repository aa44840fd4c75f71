// Shading.h: materials, the lighting models and fog.
//
// Contract: materialOf() resolves a surface point's material from attribute
// levels (the view's state first, then geometry, face, vertex: later levels
// win) over the library's defaults. shade() lights it in world space and
// returns two colours: `mul` multiplies the surface colour (the diffuse
// colour, or the texel when textured) and `add` is added after (the
// specular part), so textures can be applied per pixel after lighting per
// vertex. fogFactor() gives how much of the surface survives (1 = no fog).
#pragma once

#include "Lighting.h"
#include "Mesh.h"
#include "Q3Style.h"

namespace q3 {

struct Material {
  float diffuse[3] = {0.5f, 0.5f, 0.5f};
  float specular[3] = {0.5f, 0.5f, 0.5f};
  float transparency[3] = {1.0f, 1.0f, 1.0f};
  float specularControl = 4.0f;
  float ambientCoefficient = 1.0f;
  bool opaque() const { return transparency[0] >= 1.0f && transparency[1] >= 1.0f && transparency[2] >= 1.0f; }
};

void applyAttributes(Material &m, const AttributeValues &a);

struct LitTerms {
  float mul[3];
  float add[3];
};

LitTerms shade(const LightRig &rig, TQ3ObjectType model, const Material &m, raster::V3 position, raster::V3 normal,
               bool textured);

// Fog at depth d along the view axis, or 1 when the style is off.
float fogFactor(const TQ3FogStyleData &fog, double d);

} // namespace q3
