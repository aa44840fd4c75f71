// PickPass.cpp: window-point picking. Triangles are intersected with the
// pick ray in world space (in double); points and lines are measured in
// window pixels, where the tolerances are given. Each submitted geometry
// gives at most one hit: its nearest.
#include "PickPass.h"

#include "Camera.h"
#include "DrawContext.h"
#include "Pick.h"

#include <algorithm>
#include <cmath>
#include <new>

namespace q3 {

namespace {
using raster::M4;
using raster::V3;
using raster::V4;

struct Candidate {
  bool found = false;
  double distance = 0;
  V3 point{};
  bool hasNormal = false;
  V3 normal{};
  bool hasUV = false;
  TQ3Param2D uv{};
};

class PickPass : public LoopPass {
public:
  PickPass(View &view, Pick &pick) : view_(view), pick_(Ref<Pick>::share(&pick)) {}

  bool open() override {
    pick_->clearHits();
    const PixelArea area = view_.drawContext()->area();
    if (area.empty()) {
      postError(kQ3ErrorBadDrawContext);
      return false;
    }
    width_ = area.width, height_ = area.height;
    const Camera &camera = *view_.camera();
    worldToFrustum_ = camera.worldToFrustum();
    M4 frustumToWorld;
    if (!raster::invert(worldToFrustum_, frustumToWorld)) {
      postError(kQ3ErrorNonInvertibleMatrix);
      return false;
    }
    eye_ = camera.location();
    const TQ3WindowPointPickData &d = pick_->data();
    windowX_ = double(d.point.x) + 0.5;
    windowY_ = double(d.point.y) + 0.5;
    const double fx = windowX_ / width_ * 2.0 - 1.0, fy = 1.0 - windowY_ / height_ * 2.0;
    near_ = frustumToWorld.point({fx, fy, 0.0});
    far_ = frustumToWorld.point({fx, fy, -1.0});
    failed_ = false;
    return true;
  }

  void geometry(const Object &object, const Mesh &mesh, const DrawState &state) override {
    try {
      Candidate best;
      const M4 &m = state.localToWorld;
      world_.resize(mesh.vertices.size());
      for (size_t i = 0; i < mesh.vertices.size(); ++i) world_[i] = m.point(raster::toV3(mesh.vertices[i].point));
      for (const MeshTriangle &t : mesh.triangles) triangle(mesh, t, state, best);
      for (const MeshLine &l : mesh.lines) line(mesh, l, best);
      for (uint32_t p : mesh.points) point(mesh, p, best);
      if (best.found) record(object, state, best);
    } catch (const std::bad_alloc &) {
      failed_ = true;
    }
  }

  bool close() override {
    if (failed_) {
      postError(kQ3ErrorOutOfMemory);
      return false;
    }
    pick_->finish();
    return true;
  }

private:
  void offer(Candidate &best, const Candidate &c) const {
    if (!best.found || c.distance < best.distance) best = c;
  }

  void triangle(const Mesh &mesh, const MeshTriangle &t, const DrawState &state, Candidate &best) const {
    const size_t n = world_.size();
    if (t.vertex[0] >= n || t.vertex[1] >= n || t.vertex[2] >= n) return;
    const V3 &a = world_[t.vertex[0]], &b = world_[t.vertex[1]], &c = world_[t.vertex[2]];
    const V3 e1 = b - a, e2 = c - a;
    V3 normal = raster::cross(e1, e2);
    if (state.orientation == kQ3OrientationStyleClockwise) normal = -normal;
    if (state.backfacing == kQ3BackfacingStyleRemove && raster::dot(normal, eye_ - a) <= 0.0) return;
    // Moller-Trumbore over the segment near -> far (t in 0..1).
    const V3 dir = far_ - near_;
    const V3 p = raster::cross(dir, e2);
    const double det = raster::dot(e1, p);
    if (det == 0.0 || !std::isfinite(det)) return;
    const double inv = 1.0 / det;
    const V3 s = near_ - a;
    const double u = raster::dot(s, p) * inv;
    if (u < 0.0 || u > 1.0) return;
    const V3 q = raster::cross(s, e1);
    const double v = raster::dot(dir, q) * inv;
    if (v < 0.0 || u + v > 1.0) return;
    const double along = raster::dot(e2, q) * inv;
    if (along < 0.0 || along > 1.0) return;
    Candidate cand;
    cand.found = true;
    cand.point = near_ + dir * along;
    cand.distance = raster::length(cand.point - eye_);
    cand.hasNormal = true;
    cand.normal = raster::normalized(normal);
    const MeshVertex &va = mesh.vertices[t.vertex[0]], &vb = mesh.vertices[t.vertex[1]],
                     &vc = mesh.vertices[t.vertex[2]];
    if (va.attributes.has(AttributeValues::kUV) && vb.attributes.has(AttributeValues::kUV) &&
        vc.attributes.has(AttributeValues::kUV)) {
      const double w = 1.0 - u - v;
      cand.hasUV = true;
      cand.uv = {float(w * va.attributes.uv.u + u * vb.attributes.uv.u + v * vc.attributes.uv.u),
                 float(w * va.attributes.uv.v + u * vb.attributes.uv.v + v * vc.attributes.uv.v)};
    }
    offer(best, cand);
  }

  // Window position of a clip-space point in front of the camera.
  void toWindow(const V4 &c, double &x, double &y) const {
    x = (c.x / c.w + 1.0) * 0.5 * width_;
    y = (1.0 - c.y / c.w) * 0.5 * height_;
  }

  static bool inDepthRange(const V4 &c) { return c.z <= 0.0 && c.z + c.w >= 0.0 && c.w > 0.0; }

  void point(const Mesh &, uint32_t index, Candidate &best) const {
    if (index >= world_.size()) return;
    const V3 &p = world_[index];
    const V4 c = worldToFrustum_.apply(p);
    if (!inDepthRange(c)) return;
    double x, y;
    toWindow(c, x, y);
    const double dx = x - windowX_, dy = y - windowY_;
    const double tol = pick_->data().vertexTolerance;
    if (dx * dx + dy * dy > tol * tol) return;
    Candidate cand;
    cand.found = true;
    cand.point = p;
    cand.distance = raster::length(p - eye_);
    offer(best, cand);
  }

  void line(const Mesh &, const MeshLine &l, Candidate &best) const {
    if (l.vertex[0] >= world_.size() || l.vertex[1] >= world_.size()) return;
    const V3 &A = world_[l.vertex[0]], &B = world_[l.vertex[1]];
    V4 ca = worldToFrustum_.apply(A), cb = worldToFrustum_.apply(B);
    // Keep the part between the hither and yon planes.
    double t0 = 0.0, t1 = 1.0;
    const double near0 = -ca.z, near1 = -cb.z, far0 = ca.z + ca.w, far1 = cb.z + cb.w;
    const double planes[2][2] = {{near0, near1}, {far0, far1}};
    for (const auto &pl : planes) {
      if (pl[0] < 0.0 && pl[1] < 0.0) return;
      if (pl[0] < 0.0) t0 = std::max(t0, pl[0] / (pl[0] - pl[1]));
      if (pl[1] < 0.0) t1 = std::min(t1, pl[0] / (pl[0] - pl[1]));
    }
    if (t0 > t1) return;
    auto lerp4 = [](const V4 &a, const V4 &b, double t) {
      return V4{a.x + (b.x - a.x) * t, a.y + (b.y - a.y) * t, a.z + (b.z - a.z) * t, a.w + (b.w - a.w) * t};
    };
    const V4 p0 = lerp4(ca, cb, t0), p1 = lerp4(ca, cb, t1);
    if (p0.w <= 0.0 || p1.w <= 0.0) return;
    double x0, y0, x1, y1;
    toWindow(p0, x0, y0);
    toWindow(p1, x1, y1);
    const double dx = x1 - x0, dy = y1 - y0, len2 = dx * dx + dy * dy;
    double s = len2 > 0.0 ? ((windowX_ - x0) * dx + (windowY_ - y0) * dy) / len2 : 0.0;
    s = std::clamp(s, 0.0, 1.0);
    const double ex = x0 + s * dx - windowX_, ey = y0 + s * dy - windowY_;
    const double tol = pick_->data().edgeTolerance;
    if (ex * ex + ey * ey > tol * tol) return;
    // From the window parameter back to the segment (perspective-correct).
    const double denom = (1.0 - s) * p1.w + s * p0.w;
    const double along = denom > 0.0 ? s * p0.w / denom : s;
    const double t = t0 + (t1 - t0) * along;
    Candidate cand;
    cand.found = true;
    cand.point = A + (B - A) * t;
    cand.distance = raster::length(cand.point - eye_);
    offer(best, cand);
  }

  void record(const Object &object, const DrawState &state, const Candidate &c) {
    PickHit hit;
    TQ3PickDetail available = kQ3PickDetailMaskPickID | kQ3PickDetailMaskObject | kQ3PickDetailMaskLocalToWorldMatrix |
                              kQ3PickDetailMaskXYZ | kQ3PickDetailMaskDistance;
    if (c.hasNormal) available |= kQ3PickDetailMaskNormal;
    if (c.hasUV) available |= kQ3PickDetailMaskUV;
    hit.valid = available & pick_->data().data.mask;
    hit.pickID = state.pickID;
    // A hit keeps its object alive for as long as the hit list holds it.
    hit.object = Ref<Object>::share(const_cast<Object *>(&object));
    hit.localToWorld = state.localToWorld.toFloat();
    hit.xyz = raster::toPoint(c.point);
    hit.distance = float(c.distance);
    hit.normal = raster::toVector(c.normal);
    hit.uv = c.uv;
    pick_->addHit(std::move(hit));
  }

  View &view_;
  Ref<Pick> pick_;
  int width_ = 0, height_ = 0;
  M4 worldToFrustum_{};
  V3 eye_{}, near_{}, far_{};
  double windowX_ = 0, windowY_ = 0;
  bool failed_ = false;
  std::vector<V3> world_;
};
} // namespace

std::unique_ptr<LoopPass> makePickPass(View &view, Pick &pick) {
  try {
    return std::make_unique<PickPass>(view, pick);
  } catch (const std::bad_alloc &) {
    postError(kQ3ErrorOutOfMemory);
    return nullptr;
  }
}

} // namespace q3
