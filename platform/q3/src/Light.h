// Light.h: ambient, directional and point lights.
//
// Contract: a Light holds its data record as given (directions and colours
// are not normalised or clamped; brightness may exceed 1). Lights draw
// nothing when submitted; views read them from their light group
// (Lighting.h turns them into world-space terms for the renderer).
#pragma once

#include "Object.h"
#include "Q3View.h"

namespace q3 {

class Light : public Shape {
public:
  const TQ3LightData &lightData() const { return light_; }
  void setLightData(const TQ3LightData &d) {
    light_ = d;
    edited();
  }

protected:
  Light(const TypeInfo &leaf, const TQ3LightData &d) : Shape(leaf), light_(d) {}

private:
  TQ3LightData light_;
};

class AmbientLight : public Light {
public:
  explicit AmbientLight(const TQ3LightData &d) : Light(type::AmbientLight, d) {}
};

class DirectionalLight : public Light {
public:
  explicit DirectionalLight(const TQ3DirectionalLightData &d) : Light(type::DirectionalLight, d.lightData), data_(d) {}
  // The full record, with lightData kept in step with the base.
  TQ3DirectionalLightData data() const {
    TQ3DirectionalLightData d = data_;
    d.lightData = lightData();
    return d;
  }
  void setData(const TQ3DirectionalLightData &d) {
    data_ = d;
    setLightData(d.lightData);
  }

private:
  TQ3DirectionalLightData data_;
};

class PointLight : public Light {
public:
  explicit PointLight(const TQ3PointLightData &d) : Light(type::PointLight, d.lightData), data_(d) {}
  TQ3PointLightData data() const {
    TQ3PointLightData d = data_;
    d.lightData = lightData();
    return d;
  }
  void setData(const TQ3PointLightData &d) {
    data_ = d;
    setLightData(d.lightData);
  }

private:
  TQ3PointLightData data_;
};

} // namespace q3
