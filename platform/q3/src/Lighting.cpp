// Lighting.cpp: reading a light group into world-space lights.
#include "Lighting.h"

#include "Group.h"
#include "Light.h"

#include <new>

namespace q3 {

namespace {
void addLight(const Light &light, LightRig &rig) {
  const TQ3LightData &d = light.lightData();
  if (!d.isOn) return;
  const double r = double(d.color.r) * d.brightness, g = double(d.color.g) * d.brightness,
               b = double(d.color.b) * d.brightness;
  if (light.isType(kQ3LightTypeAmbient)) {
    rig.ambient[0] += r;
    rig.ambient[1] += g;
    rig.ambient[2] += b;
    return;
  }
  WorldLight w;
  w.r = r, w.g = g, w.b = b;
  if (const auto *dir = dynamic_cast<const DirectionalLight *>(&light)) {
    w.directional = true;
    w.towardLight = -raster::normalized(raster::toV3(dir->data().direction));
  } else if (const auto *point = dynamic_cast<const PointLight *>(&light)) {
    w.directional = false;
    w.location = raster::toV3(point->data().location);
    w.attenuation = point->data().attenuation;
  } else {
    return;
  }
  rig.lights.push_back(w);
}
} // namespace

bool gatherLights(const Shape *lightGroup, raster::V3 eye, LightRig &rig) {
  rig = LightRig{};
  rig.eye = eye;
  const auto *group = dynamic_cast<const Group *>(lightGroup);
  if (!group) return true;
  try {
    for (const Object *member : group->objects())
      if (const auto *light = dynamic_cast<const Light *>(member)) addLight(*light, rig);
  } catch (const std::bad_alloc &) {
    postError(kQ3ErrorOutOfMemory);
    return false;
  }
  return true;
}

} // namespace q3
