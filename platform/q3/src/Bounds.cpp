// Bounds.cpp: bounding passes. Vertices are transformed in double; the box
// is rounded outwards to floats, and the sphere comes from the library's
// minimal-sphere routine over the transformed points.
#include "Bounds.h"

#include "Q3Math.h"

#include <cmath>
#include <new>

namespace q3 {

namespace {
float down(double v) {
  float f = float(v);
  if (double(f) > v) f = std::nextafter(f, -HUGE_VALF);
  return f;
}
float up(double v) {
  float f = float(v);
  if (double(f) < v) f = std::nextafter(f, HUGE_VALF);
  return f;
}

class BoundsPass : public LoopPass {
public:
  BoundsPass(View &view, bool sphere) : view_(view), sphere_(sphere) {}

  bool open() override {
    points_.clear();
    any_ = false;
    return true;
  }

  void geometry(const Object &, const Mesh &mesh, const DrawState &state) override {
    const raster::M4 &m = state.localToWorld;
    if (sphere_) {
      try {
        points_.reserve(points_.size() + mesh.vertices.size());
      } catch (const std::bad_alloc &) {
        failed_ = true;
        return;
      }
    }
    for (const MeshVertex &v : mesh.vertices) {
      const raster::V3 p = m.point(raster::toV3(v.point));
      if (!std::isfinite(p.x) || !std::isfinite(p.y) || !std::isfinite(p.z)) continue;
      if (sphere_) {
        points_.push_back(raster::toPoint(p));
      } else if (!any_) {
        min_ = max_ = p;
        any_ = true;
      } else {
        min_ = {std::fmin(min_.x, p.x), std::fmin(min_.y, p.y), std::fmin(min_.z, p.z)};
        max_ = {std::fmax(max_.x, p.x), std::fmax(max_.y, p.y), std::fmax(max_.z, p.z)};
      }
    }
  }

  bool close() override {
    if (failed_) {
      postError(kQ3ErrorOutOfMemory);
      failed_ = false;
      return false;
    }
    if (sphere_) {
      TQ3BoundingSphere s{{0, 0, 0}, 0.0f, kQ3True};
      if (!points_.empty() &&
          !Q3BoundingSphere_SetFromPoints3D(&s, points_.data(), TQ3Uns32(points_.size()), sizeof(TQ3Point3D)))
        return false;
      view_.setBoundsResult(s);
    } else {
      TQ3BoundingBox b{{0, 0, 0}, {0, 0, 0}, kQ3True};
      if (any_) b = {{down(min_.x), down(min_.y), down(min_.z)}, {up(max_.x), up(max_.y), up(max_.z)}, kQ3False};
      view_.setBoundsResult(b);
    }
    return true;
  }

private:
  View &view_;
  bool sphere_;
  bool any_ = false, failed_ = false;
  raster::V3 min_{}, max_{};
  std::vector<TQ3Point3D> points_;
};
} // namespace

std::unique_ptr<LoopPass> makeBoundsPass(View &view, bool sphere) {
  try {
    return std::make_unique<BoundsPass>(view, sphere);
  } catch (const std::bad_alloc &) {
    postError(kQ3ErrorOutOfMemory);
    return nullptr;
  }
}

} // namespace q3
