// Light.cpp: the public calls of lights.
#include "Light.h"

#include "RasterMath.h"

#include <cmath>

namespace {
bool validAttenuation(const TQ3AttenuationType &a) {
  if (q3::rawEnum(a) <= kQ3AttenuationTypeInverseDistanceSquared) return true;
  q3::postError(kQ3ErrorInvalidParameter);
  return false;
}

// Brightness and colour must be numbers; NaN would poison every pixel.
bool validLightData(const TQ3LightData &d) {
  if (std::isfinite(d.brightness) && std::isfinite(d.color.r) && std::isfinite(d.color.g) && std::isfinite(d.color.b))
    return true;
  q3::postError(kQ3ErrorInvalidParameter);
  return false;
}

bool finiteVector(const TQ3Vector3D &v) {
  if (std::isfinite(v.x) && std::isfinite(v.y) && std::isfinite(v.z)) return true;
  q3::postError(kQ3ErrorInvalidParameter);
  return false;
}
bool finitePoint(const TQ3Point3D &v) { return finiteVector({v.x, v.y, v.z}); }

// Read-modify-write of one part of a light of kind L.
template <class L, typename T, typename Apply> TQ3Status change(TQ3LightObject ref, const T *value, Apply apply) {
  L *light = q3::validate<L>(ref);
  if (!light || !q3::requirePointer(value)) return kQ3Failure;
  return apply(*light, *value) ? kQ3Success : kQ3Failure;
}

template <class L, typename T, typename Read> TQ3Status read(TQ3LightObject ref, T *out, Read r) {
  const L *light = q3::validate<L>(ref);
  if (!light || !q3::requirePointer(out)) return kQ3Failure;
  *out = r(*light);
  return kQ3Success;
}
} // namespace

Q3_EXTERN_API_C(TQ3LightObject) Q3AmbientLight_New(const TQ3LightData *lightData) {
  if (!q3::requireInitialized() || !q3::requirePointer(lightData) || !validLightData(*lightData)) return nullptr;
  return q3::handleOf(q3::create<q3::AmbientLight>(*lightData));
}

Q3_EXTERN_API_C(TQ3Status) Q3AmbientLight_GetData(TQ3LightObject light, TQ3LightData *lightData) {
  return read<q3::AmbientLight>(light, lightData, [](const q3::AmbientLight &l) { return l.lightData(); });
}

Q3_EXTERN_API_C(TQ3Status) Q3AmbientLight_SetData(TQ3LightObject light, const TQ3LightData *lightData) {
  return change<q3::AmbientLight>(light, lightData, [](q3::AmbientLight &l, const TQ3LightData &d) {
    if (!validLightData(d)) return false;
    l.setLightData(d);
    return true;
  });
}

Q3_EXTERN_API_C(TQ3LightObject) Q3DirectionalLight_New(const TQ3DirectionalLightData *d) {
  if (!q3::requireInitialized() || !q3::requirePointer(d) || !validLightData(d->lightData) ||
      !finiteVector(d->direction))
    return nullptr;
  return q3::handleOf(q3::create<q3::DirectionalLight>(*d));
}

Q3_EXTERN_API_C(TQ3Status) Q3DirectionalLight_GetData(TQ3LightObject light, TQ3DirectionalLightData *data) {
  return read<q3::DirectionalLight>(light, data, [](const q3::DirectionalLight &l) { return l.data(); });
}

Q3_EXTERN_API_C(TQ3Status) Q3DirectionalLight_SetData(TQ3LightObject light, const TQ3DirectionalLightData *data) {
  return change<q3::DirectionalLight>(light, data, [](q3::DirectionalLight &l, const TQ3DirectionalLightData &d) {
    if (!validLightData(d.lightData) || !finiteVector(d.direction)) return false;
    l.setData(d);
    return true;
  });
}

Q3_EXTERN_API_C(TQ3Status) Q3DirectionalLight_GetDirection(TQ3LightObject light, TQ3Vector3D *direction) {
  return read<q3::DirectionalLight>(light, direction, [](const q3::DirectionalLight &l) { return l.data().direction; });
}

Q3_EXTERN_API_C(TQ3Status) Q3DirectionalLight_SetDirection(TQ3LightObject light, const TQ3Vector3D *direction) {
  return change<q3::DirectionalLight>(light, direction, [](q3::DirectionalLight &l, const TQ3Vector3D &v) {
    if (!finiteVector(v)) return false;
    TQ3DirectionalLightData d = l.data();
    d.direction = v;
    l.setData(d);
    return true;
  });
}

Q3_EXTERN_API_C(TQ3Status) Q3DirectionalLight_GetCastShadowsState(TQ3LightObject light, TQ3Boolean *castsShadows) {
  return read<q3::DirectionalLight>(light, castsShadows,
                                    [](const q3::DirectionalLight &l) { return l.data().castsShadows; });
}

Q3_EXTERN_API_C(TQ3Status) Q3DirectionalLight_SetCastShadowsState(TQ3LightObject light, TQ3Boolean castsShadows) {
  return change<q3::DirectionalLight>(light, &castsShadows, [](q3::DirectionalLight &l, TQ3Boolean v) {
    TQ3DirectionalLightData d = l.data();
    d.castsShadows = v;
    l.setData(d);
    return true;
  });
}

Q3_EXTERN_API_C(TQ3LightObject) Q3PointLight_New(const TQ3PointLightData *d) {
  if (!q3::requireInitialized() || !q3::requirePointer(d) || !validLightData(d->lightData) ||
      !validAttenuation(d->attenuation) || !finitePoint(d->location))
    return nullptr;
  return q3::handleOf(q3::create<q3::PointLight>(*d));
}

Q3_EXTERN_API_C(TQ3Status) Q3PointLight_GetData(TQ3LightObject light, TQ3PointLightData *data) {
  return read<q3::PointLight>(light, data, [](const q3::PointLight &l) { return l.data(); });
}

Q3_EXTERN_API_C(TQ3Status) Q3PointLight_SetData(TQ3LightObject light, const TQ3PointLightData *data) {
  return change<q3::PointLight>(light, data, [](q3::PointLight &l, const TQ3PointLightData &d) {
    if (!validLightData(d.lightData) || !validAttenuation(d.attenuation) || !finitePoint(d.location)) return false;
    l.setData(d);
    return true;
  });
}

Q3_EXTERN_API_C(TQ3Status) Q3PointLight_GetLocation(TQ3LightObject light, TQ3Point3D *location) {
  return read<q3::PointLight>(light, location, [](const q3::PointLight &l) { return l.data().location; });
}

Q3_EXTERN_API_C(TQ3Status) Q3PointLight_SetLocation(TQ3LightObject light, const TQ3Point3D *location) {
  return change<q3::PointLight>(light, location, [](q3::PointLight &l, const TQ3Point3D &v) {
    if (!finitePoint(v)) return false;
    TQ3PointLightData d = l.data();
    d.location = v;
    l.setData(d);
    return true;
  });
}

Q3_EXTERN_API_C(TQ3Status) Q3PointLight_GetAttenuation(TQ3LightObject light, TQ3AttenuationType *attenuation) {
  return read<q3::PointLight>(light, attenuation, [](const q3::PointLight &l) { return l.data().attenuation; });
}

Q3_EXTERN_API_C(TQ3Status) Q3PointLight_SetAttenuation(TQ3LightObject light, TQ3AttenuationType attenuation) {
  return change<q3::PointLight>(light, &attenuation, [](q3::PointLight &l, TQ3AttenuationType v) {
    if (!validAttenuation(v)) return false;
    TQ3PointLightData d = l.data();
    d.attenuation = v;
    l.setData(d);
    return true;
  });
}

Q3_EXTERN_API_C(TQ3Status) Q3PointLight_GetCastShadowsState(TQ3LightObject light, TQ3Boolean *castsShadows) {
  return read<q3::PointLight>(light, castsShadows, [](const q3::PointLight &l) { return l.data().castsShadows; });
}

Q3_EXTERN_API_C(TQ3Status) Q3PointLight_SetCastShadowsState(TQ3LightObject light, TQ3Boolean castsShadows) {
  return change<q3::PointLight>(light, &castsShadows, [](q3::PointLight &l, TQ3Boolean v) {
    TQ3PointLightData d = l.data();
    d.castsShadows = v;
    l.setData(d);
    return true;
  });
}

Q3_EXTERN_API_C(TQ3ObjectType) Q3Light_GetType(TQ3LightObject light) {
  const q3::Light *l = q3::validate<q3::Light>(light);
  return l ? q3::typeBelow(l->typeInfo(), q3::type::Light) : kQ3ObjectTypeInvalid;
}

Q3_EXTERN_API_C(TQ3Status) Q3Light_GetData(TQ3LightObject light, TQ3LightData *lightData) {
  return read<q3::Light>(light, lightData, [](const q3::Light &l) { return l.lightData(); });
}

Q3_EXTERN_API_C(TQ3Status) Q3Light_SetData(TQ3LightObject light, const TQ3LightData *lightData) {
  return change<q3::Light>(light, lightData, [](q3::Light &l, const TQ3LightData &d) {
    if (!validLightData(d)) return false;
    l.setLightData(d);
    return true;
  });
}

Q3_EXTERN_API_C(TQ3Status) Q3Light_GetState(TQ3LightObject light, TQ3Boolean *isOn) {
  return read<q3::Light>(light, isOn, [](const q3::Light &l) { return l.lightData().isOn; });
}

Q3_EXTERN_API_C(TQ3Status) Q3Light_SetState(TQ3LightObject light, TQ3Boolean isOn) {
  return change<q3::Light>(light, &isOn, [](q3::Light &l, TQ3Boolean v) {
    TQ3LightData d = l.lightData();
    d.isOn = v ? kQ3True : kQ3False;
    l.setLightData(d);
    return true;
  });
}

Q3_EXTERN_API_C(TQ3Status) Q3Light_GetBrightness(TQ3LightObject light, float *brightness) {
  return read<q3::Light>(light, brightness, [](const q3::Light &l) { return l.lightData().brightness; });
}

Q3_EXTERN_API_C(TQ3Status) Q3Light_SetBrightness(TQ3LightObject light, float brightness) {
  return change<q3::Light>(light, &brightness, [](q3::Light &l, float v) {
    TQ3LightData d = l.lightData();
    d.brightness = v;
    if (!validLightData(d)) return false;
    l.setLightData(d);
    return true;
  });
}

Q3_EXTERN_API_C(TQ3Status) Q3Light_GetColor(TQ3LightObject light, TQ3ColorRGB *color) {
  return read<q3::Light>(light, color, [](const q3::Light &l) { return l.lightData().color; });
}

Q3_EXTERN_API_C(TQ3Status) Q3Light_SetColor(TQ3LightObject light, const TQ3ColorRGB *color) {
  return change<q3::Light>(light, color, [](q3::Light &l, const TQ3ColorRGB &c) {
    TQ3LightData d = l.lightData();
    d.color = c;
    if (!validLightData(d)) return false;
    l.setLightData(d);
    return true;
  });
}
