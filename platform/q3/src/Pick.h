// Pick.h: window-point picks and their hit lists.
//
// Contract: a Pick holds its description and the hits of the last picking
// pass that used it. PickPass (PickPass.h) adds hits with addHit() and calls
// finish() when the pass closes, which sorts them as the pick asks (stable,
// so equal distances keep submission order) and keeps numHitsToReturn of
// them. Each hit's valid mask is what the pick asked for and the hit has.
#pragma once

#include "Object.h"
#include "Q3View.h"

#include <vector>

namespace q3 {

struct PickHit {
  TQ3PickDetail valid = 0;
  TQ3Uns32 pickID = 0;
  Ref<Object> object;
  TQ3Matrix4x4 localToWorld{};
  TQ3Point3D xyz{};
  float distance = 0;
  TQ3Vector3D normal{};
  TQ3Param2D uv{};
};

class Pick : public Object {
public:
  explicit Pick(const TQ3WindowPointPickData &d) : Object(type::WindowPointPick), data_(d) {}

  const TQ3WindowPointPickData &data() const { return data_; }
  void setData(const TQ3WindowPointPickData &d) { data_ = d; }
  static bool validData(const TQ3WindowPointPickData &d);

  const std::vector<PickHit> &hits() const { return hits_; }
  void clearHits() { hits_.clear(); }
  void addHit(PickHit &&hit);
  void finish();

private:
  TQ3WindowPointPickData data_;
  std::vector<PickHit> hits_;
};

} // namespace q3
