// Group.cpp: groups and their public calls.
#include "Group.h"

#include "Attribute.h"
#include "Submit.h"

namespace q3 {

void submitObject(const Object &object, SubmitTarget &target) {
  if (const auto *shape = dynamic_cast<const Shape *>(&object))
    shape->submit(target);
  else if (const auto *set = dynamic_cast<const AttributeSet *>(&object))
    set->submit(target);
}

namespace {
// Submit order of an ordered display group.
int rank(const Object &o) {
  if (o.isType(kQ3ShapeTypeTransform)) return 0;
  if (o.isType(kQ3ShapeTypeStyle)) return 1;
  if (o.isType(kQ3SetTypeAttribute)) return 2;
  if (o.isType(kQ3ShapeTypeShader)) return 3;
  if (o.isType(kQ3ShapeTypeGeometry)) return 4;
  if (o.isType(kQ3ShapeTypeGroup)) return 5;
  return 6;
}

// Groups nested deeper than this are not submitted: a guard against a stack
// overflow, far beyond what a scene needs.
constexpr int kMaxSubmitDepth = 256;
int submitDepth = 0;
} // namespace

bool Group::accepts(const Object &object) const {
  if (isType(kQ3GroupTypeDisplay)) return object.isDrawable();
  if (isType(kQ3GroupTypeLight)) return object.isType(kQ3ShapeTypeLight);
  return object.isType(kQ3ObjectTypeShared); // info and plain groups
}

bool Group::contains(const Object &object) const {
  // Iterative: a programmatically built chain of groups may be very deep.
  std::vector<const Group *> pending{this};
  while (!pending.empty()) {
    const Group *g = pending.back();
    pending.pop_back();
    for (const Item &item : g->items_) {
      if (item.object.get() == &object) return true;
      if (const auto *inner = dynamic_cast<const Group *>(item.object.get())) pending.push_back(inner);
    }
  }
  return false;
}

Group::List::iterator Group::insertionPoint(const Object &object) {
  if (!isType(kQ3DisplayGroupTypeOrdered)) return items_.end();
  const int r = rank(object);
  auto it = items_.end();
  while (it != items_.begin() && rank(*std::prev(it)->object.get()) > r) --it;
  return it;
}

uint32_t Group::add(Object &object) {
  try {
    const uint32_t position = nextPosition_;
    auto it = items_.insert(insertionPoint(object), Item{position, Ref<Object>::share(&object)});
    try {
      index_.emplace(position, it);
    } catch (...) {
      items_.erase(it);
      throw;
    }
    ++nextPosition_;
    edited();
    return position;
  } catch (const std::bad_alloc &) {
    postError(kQ3ErrorOutOfMemory);
    return 0;
  }
}

std::vector<Object *> Group::objects() const {
  std::vector<Object *> out;
  out.reserve(items_.size());
  for (const Item &item : items_) out.push_back(item.object.get());
  return out;
}

uint32_t Group::next(uint32_t position) const {
  auto found = index_.find(position);
  if (found == index_.end()) return 0;
  auto it = std::next(found->second);
  return it == items_.end() ? 0 : it->position;
}

uint32_t Group::previous(uint32_t position) const {
  auto found = index_.find(position);
  if (found == index_.end() || found->second == items_.begin()) return 0;
  return std::prev(found->second)->position;
}

Object *Group::objectAt(uint32_t position) const {
  auto found = index_.find(position);
  return found == index_.end() ? nullptr : found->second->object.get();
}

void Group::replace(uint32_t position, Object &object) {
  auto found = index_.find(position);
  if (found == index_.end()) return;
  List::iterator it = found->second;
  it->object = Ref<Object>::share(&object);
  if (isType(kQ3DisplayGroupTypeOrdered)) {
    // Keep the kind order; splicing keeps every position valid.
    List held;
    held.splice(held.begin(), items_, it);
    items_.splice(insertionPoint(*it->object.get()), held, it);
  }
  edited();
}

Ref<Object> Group::remove(uint32_t position) {
  auto found = index_.find(position);
  if (found == index_.end()) return {};
  Ref<Object> out = std::move(found->second->object);
  items_.erase(found->second);
  index_.erase(found);
  edited();
  return out;
}

void Group::clear() {
  List old;
  old.swap(items_);
  index_.clear();
  edited();
  // `old` releases the members after the group is consistent again.
}

void Group::submit(SubmitTarget &target) const {
  if (!isType(kQ3GroupTypeDisplay) && leafType() != kQ3ShapeTypeGroup) return;
  const bool drawn = (state_ & kQ3DisplayGroupStateMaskIsDrawn) != 0;
  const bool picked = (state_ & kQ3DisplayGroupStateMaskIsPicked) != 0;
  if (!drawn || (target.pass() == SubmitTarget::Pass::Pick && !picked)) return;
  if (submitDepth >= kMaxSubmitDepth) {
    postError(kQ3ErrorInvalidObjectForGroup);
    return;
  }
  const bool isInline = (state_ & kQ3DisplayGroupStateMaskIsInline) != 0;
  ++submitDepth;
  if (!isInline) target.push();
  for (const Item &item : items_) submitObject(*item.object.get(), target);
  if (!isInline) target.pop();
  --submitDepth;
}

} // namespace q3

namespace {
TQ3GroupPosition toPosition(uint32_t p) { return reinterpret_cast<TQ3GroupPosition>(static_cast<uintptr_t>(p)); }
uint32_t fromPosition(TQ3GroupPosition p) { return static_cast<uint32_t>(reinterpret_cast<uintptr_t>(p)); }

TQ3GroupObject newGroup(const q3::TypeInfo &leaf) { return q3::handleOf(q3::create<q3::Group>(leaf)); }

// The group and a position of it, or nullptr after posting the error.
q3::Group *groupWithPosition(TQ3GroupObject group, TQ3GroupPosition position) {
  q3::Group *g = q3::validate<q3::Group>(group);
  if (!g) return nullptr;
  if (!g->has(fromPosition(position))) {
    q3::postError(kQ3ErrorInvalidPositionForGroup);
    return nullptr;
  }
  return g;
}

// An object the group may take: the right kind, and not the group itself or
// one that contains it.
q3::Object *memberFor(q3::Group &g, TQ3Object object) {
  q3::Object *o = q3::validate<q3::Object>(object);
  if (!o) return nullptr;
  const auto *asGroup = dynamic_cast<const q3::Group *>(o);
  if (!g.accepts(*o) || o == &g || (asGroup && asGroup->contains(g))) {
    q3::postError(kQ3ErrorInvalidObjectForGroup);
    return nullptr;
  }
  return o;
}

TQ3Status stepPosition(TQ3GroupObject group, TQ3GroupPosition *position, bool forward) {
  const q3::Group *g = q3::validate<q3::Group>(group);
  if (!g || !q3::requirePointer(position)) return kQ3Failure;
  if (!g->has(fromPosition(*position))) {
    q3::postError(kQ3ErrorInvalidPositionForGroup);
    return kQ3Failure;
  }
  const uint32_t p = fromPosition(*position);
  *position = toPosition(forward ? g->next(p) : g->previous(p));
  return kQ3Success;
}
} // namespace

Q3_EXTERN_API_C(TQ3GroupObject) Q3Group_New(void) { return newGroup(q3::type::Group); }
Q3_EXTERN_API_C(TQ3GroupObject) Q3DisplayGroup_New(void) { return newGroup(q3::type::DisplayGroup); }
Q3_EXTERN_API_C(TQ3GroupObject) Q3OrderedDisplayGroup_New(void) { return newGroup(q3::type::OrderedDisplayGroup); }
Q3_EXTERN_API_C(TQ3GroupObject) Q3LightGroup_New(void) { return newGroup(q3::type::LightGroup); }
Q3_EXTERN_API_C(TQ3GroupObject) Q3InfoGroup_New(void) { return newGroup(q3::type::InfoGroup); }

Q3_EXTERN_API_C(TQ3ObjectType) Q3Group_GetType(TQ3GroupObject group) {
  const q3::Group *g = q3::validate<q3::Group>(group);
  if (!g) return kQ3ObjectTypeInvalid;
  const TQ3ObjectType below = q3::typeBelow(g->typeInfo(), q3::type::Group);
  return below == kQ3ObjectTypeInvalid ? kQ3ShapeTypeGroup : below;
}

Q3_EXTERN_API_C(TQ3GroupPosition) Q3Group_AddObject(TQ3GroupObject group, TQ3Object object) {
  q3::Group *g = q3::validate<q3::Group>(group);
  if (!g) return nullptr;
  q3::Object *o = memberFor(*g, object);
  return o ? toPosition(g->add(*o)) : nullptr;
}

Q3_EXTERN_API_C(TQ3Status) Q3Group_GetFirstPosition(TQ3GroupObject group, TQ3GroupPosition *position) {
  const q3::Group *g = q3::validate<q3::Group>(group);
  if (!g || !q3::requirePointer(position)) return kQ3Failure;
  *position = toPosition(g->first());
  return kQ3Success;
}

Q3_EXTERN_API_C(TQ3Status) Q3Group_GetLastPosition(TQ3GroupObject group, TQ3GroupPosition *position) {
  const q3::Group *g = q3::validate<q3::Group>(group);
  if (!g || !q3::requirePointer(position)) return kQ3Failure;
  *position = toPosition(g->last());
  return kQ3Success;
}

Q3_EXTERN_API_C(TQ3Status) Q3Group_GetNextPosition(TQ3GroupObject group, TQ3GroupPosition *position) {
  return stepPosition(group, position, true);
}

Q3_EXTERN_API_C(TQ3Status) Q3Group_GetPreviousPosition(TQ3GroupObject group, TQ3GroupPosition *position) {
  return stepPosition(group, position, false);
}

Q3_EXTERN_API_C(TQ3Status)
Q3Group_GetPositionObject(TQ3GroupObject group, TQ3GroupPosition position, TQ3Object *object) {
  const q3::Group *g = groupWithPosition(group, position);
  if (!g || !q3::requirePointer(object)) return kQ3Failure;
  q3::Object *o = g->objectAt(fromPosition(position));
  o->retain();
  *object = o->handle();
  return kQ3Success;
}

Q3_EXTERN_API_C(TQ3Status)
Q3Group_SetPositionObject(TQ3GroupObject group, TQ3GroupPosition position, TQ3Object object) {
  q3::Group *g = groupWithPosition(group, position);
  if (!g) return kQ3Failure;
  q3::Object *o = memberFor(*g, object);
  if (!o) return kQ3Failure;
  g->replace(fromPosition(position), *o);
  return kQ3Success;
}

Q3_EXTERN_API_C(TQ3Object) Q3Group_RemovePosition(TQ3GroupObject group, TQ3GroupPosition position) {
  q3::Group *g = groupWithPosition(group, position);
  if (!g) return nullptr;
  return q3::handleOf(g->remove(fromPosition(position)).detach());
}

Q3_EXTERN_API_C(TQ3Status) Q3Group_CountObjects(TQ3GroupObject group, TQ3Uns32 *nObjects) {
  const q3::Group *g = q3::validate<q3::Group>(group);
  if (!g || !q3::requirePointer(nObjects)) return kQ3Failure;
  *nObjects = TQ3Uns32(g->count());
  return kQ3Success;
}

Q3_EXTERN_API_C(TQ3Status) Q3Group_EmptyObjects(TQ3GroupObject group) {
  q3::Group *g = q3::validate<q3::Group>(group);
  if (!g) return kQ3Failure;
  g->clear();
  return kQ3Success;
}

Q3_EXTERN_API_C(TQ3Status) Q3DisplayGroup_GetState(TQ3GroupObject group, TQ3DisplayGroupState *state) {
  const q3::Group *g = q3::validate<q3::Group>(group, kQ3GroupTypeDisplay);
  if (!g || !q3::requirePointer(state)) return kQ3Failure;
  *state = g->state();
  return kQ3Success;
}

Q3_EXTERN_API_C(TQ3Status) Q3DisplayGroup_SetState(TQ3GroupObject group, TQ3DisplayGroupState state) {
  q3::Group *g = q3::validate<q3::Group>(group, kQ3GroupTypeDisplay);
  if (!g) return kQ3Failure;
  g->setState(state);
  return kQ3Success;
}
