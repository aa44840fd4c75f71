// Lighting.h: the lights of a pass in world space.
//
// Contract: gatherLights() reads the lights of a light group as they are at
// the start of a pass: lights that are off are left out, ambient lights are
// summed into one colour, and each light's colour is scaled by its
// brightness. Directions are unit vectors pointing toward the light.
#pragma once

#include "Object.h"
#include "Q3View.h"
#include "RasterMath.h"

#include <vector>

namespace q3 {

struct WorldLight {
  bool directional = true;
  double r = 0, g = 0, b = 0;
  raster::V3 towardLight{0, 0, 1}; // directional lights
  raster::V3 location{};           // point lights
  TQ3AttenuationType attenuation = kQ3AttenuationTypeNone;
};

struct LightRig {
  double ambient[3] = {0, 0, 0};
  std::vector<WorldLight> lights;
  raster::V3 eye{};
};

// Fails only when memory runs out (error posted).
bool gatherLights(const Shape *lightGroup, raster::V3 eye, LightRig &rig);

} // namespace q3
