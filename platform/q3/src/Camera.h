// Camera.h: the view-angle-aspect camera and its matrices.
//
// Contract: worldToView() maps world points into camera space (the camera
// at the origin looking along -z, +y up); viewToFrustum() maps camera space
// into frustum space (x, y from -1 to 1, z from 0 at hither to -1 at yon,
// projective: divide by w, which is the depth -z). The field of view spans
// the smaller dimension of the view. Setters validate their values, so a
// Camera always holds a usable frame and range.
#pragma once

#include "Object.h"
#include "Q3View.h"
#include "RasterMath.h"

namespace q3 {

class Camera : public Shape {
public:
  explicit Camera(const TQ3ViewAngleAspectCameraData &data) : Shape(type::ViewAngleAspectCamera), data_(data) {}

  const TQ3ViewAngleAspectCameraData &data() const { return data_; }
  void setData(const TQ3ViewAngleAspectCameraData &data) {
    data_ = data;
    edited();
  }

  raster::M4 worldToView() const;
  raster::M4 viewToFrustum() const;
  raster::M4 worldToFrustum() const { return worldToView() * viewToFrustum(); }
  raster::V3 location() const { return raster::toV3(data_.cameraData.placement.cameraLocation); }

  // Whether the values can make a projection (posts kQ3ErrorInvalidCameraValues
  // when not).
  static bool validRange(const TQ3CameraRange &range);
  static bool validViewPort(const TQ3CameraViewPort &port);
  static bool validFOV(float fov);
  static bool validAspect(float aspect);
  static bool validData(const TQ3ViewAngleAspectCameraData &data);

private:
  TQ3ViewAngleAspectCameraData data_;
};

} // namespace q3
