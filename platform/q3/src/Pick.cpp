// Pick.cpp: window-point picks, their hit lists and the Q3Pick_* calls.
#include "Pick.h"

#include "RasterMath.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <new>

namespace q3 {

bool Pick::validData(const TQ3WindowPointPickData &d) {
  const bool ok = rawEnum(d.data.sort) <= kQ3PickSortFarToNear && std::isfinite(d.point.x) &&
                  std::isfinite(d.point.y) && std::isfinite(d.vertexTolerance) && std::isfinite(d.edgeTolerance) &&
                  d.vertexTolerance >= 0.0f && d.edgeTolerance >= 0.0f;
  if (!ok) postError(kQ3ErrorInvalidParameter);
  return ok;
}

void Pick::addHit(PickHit &&hit) { hits_.push_back(std::move(hit)); }

void Pick::finish() {
  const TQ3PickSort sort = data_.data.sort;
  if (sort == kQ3PickSortNearToFar)
    std::stable_sort(hits_.begin(), hits_.end(),
                     [](const PickHit &a, const PickHit &b) { return a.distance < b.distance; });
  else if (sort == kQ3PickSortFarToNear)
    std::stable_sort(hits_.begin(), hits_.end(),
                     [](const PickHit &a, const PickHit &b) { return a.distance > b.distance; });
  const TQ3Uns32 keep = data_.data.numHitsToReturn;
  if (keep != kQ3ReturnAllHits && hits_.size() > keep) hits_.resize(keep);
}

} // namespace q3

namespace {
q3::Pick *pickOf(TQ3PickObject ref) { return q3::validate<q3::Pick>(ref); }

const q3::PickHit *hitAt(const q3::Pick &pick, TQ3Uns32 index) {
  if (index < pick.hits().size()) return &pick.hits()[index];
  q3::postError(kQ3ErrorParameterOutOfRange);
  return nullptr;
}
} // namespace

Q3_EXTERN_API_C(TQ3PickObject) Q3WindowPointPick_New(const TQ3WindowPointPickData *data) {
  if (!q3::requireInitialized() || !q3::requirePointer(data) || !q3::Pick::validData(*data)) return nullptr;
  return q3::handleOf(q3::create<q3::Pick>(*data));
}

Q3_EXTERN_API_C(TQ3Status) Q3WindowPointPick_GetData(TQ3PickObject pick, TQ3WindowPointPickData *data) {
  const q3::Pick *p = pickOf(pick);
  if (!p || !q3::requirePointer(data)) return kQ3Failure;
  *data = p->data();
  return kQ3Success;
}

Q3_EXTERN_API_C(TQ3Status) Q3WindowPointPick_SetData(TQ3PickObject pick, const TQ3WindowPointPickData *data) {
  q3::Pick *p = pickOf(pick);
  if (!p || !q3::requirePointer(data) || !q3::Pick::validData(*data)) return kQ3Failure;
  p->setData(*data);
  return kQ3Success;
}

Q3_EXTERN_API_C(TQ3Status) Q3WindowPointPick_GetPoint(TQ3PickObject pick, TQ3Point2D *point) {
  const q3::Pick *p = pickOf(pick);
  if (!p || !q3::requirePointer(point)) return kQ3Failure;
  *point = p->data().point;
  return kQ3Success;
}

Q3_EXTERN_API_C(TQ3Status) Q3WindowPointPick_SetPoint(TQ3PickObject pick, const TQ3Point2D *point) {
  q3::Pick *p = pickOf(pick);
  if (!p || !q3::requirePointer(point)) return kQ3Failure;
  TQ3WindowPointPickData d = p->data();
  d.point = *point;
  if (!q3::Pick::validData(d)) return kQ3Failure;
  p->setData(d);
  return kQ3Success;
}

Q3_EXTERN_API_C(TQ3ObjectType) Q3Pick_GetType(TQ3PickObject pick) {
  const q3::Pick *p = pickOf(pick);
  return p ? p->leafType() : kQ3ObjectTypeInvalid;
}

Q3_EXTERN_API_C(TQ3Status) Q3Pick_GetData(TQ3PickObject pick, TQ3PickData *data) {
  const q3::Pick *p = pickOf(pick);
  if (!p || !q3::requirePointer(data)) return kQ3Failure;
  *data = p->data().data;
  return kQ3Success;
}

Q3_EXTERN_API_C(TQ3Status) Q3Pick_SetData(TQ3PickObject pick, const TQ3PickData *data) {
  q3::Pick *p = pickOf(pick);
  if (!p || !q3::requirePointer(data)) return kQ3Failure;
  TQ3WindowPointPickData d = p->data();
  d.data = *data;
  if (!q3::Pick::validData(d)) return kQ3Failure;
  p->setData(d);
  return kQ3Success;
}

Q3_EXTERN_API_C(TQ3Status) Q3Pick_GetNumHits(TQ3PickObject pick, TQ3Uns32 *numHits) {
  const q3::Pick *p = pickOf(pick);
  if (!p || !q3::requirePointer(numHits)) return kQ3Failure;
  *numHits = TQ3Uns32(p->hits().size());
  return kQ3Success;
}

Q3_EXTERN_API_C(TQ3Status) Q3Pick_EmptyHitList(TQ3PickObject pick) {
  q3::Pick *p = pickOf(pick);
  if (!p) return kQ3Failure;
  p->clearHits();
  return kQ3Success;
}

Q3_EXTERN_API_C(TQ3Status) Q3Pick_GetPickDetailValidMask(TQ3PickObject pick, TQ3Uns32 index, TQ3PickDetail *mask) {
  const q3::Pick *p = pickOf(pick);
  if (!p || !q3::requirePointer(mask)) return kQ3Failure;
  const q3::PickHit *hit = hitAt(*p, index);
  if (!hit) return kQ3Failure;
  *mask = hit->valid;
  return kQ3Success;
}

Q3_EXTERN_API_C(TQ3Status)
Q3Pick_GetPickDetailData(TQ3PickObject pick, TQ3Uns32 index, TQ3PickDetail pickDetail, void *detailData) {
  const q3::Pick *p = pickOf(pick);
  if (!p || !q3::requirePointer(detailData)) return kQ3Failure;
  const q3::PickHit *hit = hitAt(*p, index);
  if (!hit) return kQ3Failure;
  // Exactly one detail, and one this hit has.
  if (pickDetail == 0 || (pickDetail & (pickDetail - 1)) != 0 || !(hit->valid & pickDetail)) {
    q3::postError(kQ3ErrorInvalidParameter);
    return kQ3Failure;
  }
  switch (pickDetail) {
  case kQ3PickDetailMaskPickID: std::memcpy(detailData, &hit->pickID, sizeof hit->pickID); break;
  case kQ3PickDetailMaskObject: {
    q3::Object *obj = hit->object.get();
    obj->retain();
    const TQ3Object ref = obj->handle();
    std::memcpy(detailData, &ref, sizeof ref);
    break;
  }
  case kQ3PickDetailMaskLocalToWorldMatrix:
    std::memcpy(detailData, &hit->localToWorld, sizeof hit->localToWorld);
    break;
  case kQ3PickDetailMaskXYZ: std::memcpy(detailData, &hit->xyz, sizeof hit->xyz); break;
  case kQ3PickDetailMaskDistance: std::memcpy(detailData, &hit->distance, sizeof hit->distance); break;
  case kQ3PickDetailMaskNormal: std::memcpy(detailData, &hit->normal, sizeof hit->normal); break;
  case kQ3PickDetailMaskUV: std::memcpy(detailData, &hit->uv, sizeof hit->uv); break;
  default: q3::postError(kQ3ErrorInvalidParameter); return kQ3Failure;
  }
  return kQ3Success;
}
