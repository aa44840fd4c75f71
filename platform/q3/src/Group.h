// Group.h: groups, and how any drawable object enters a view.
//
// Group keeps its members in order, each with a reference of its own, and
// names entries by positions: opaque serial numbers that are looked up, so a
// stale position is refused, never followed.
// - For the engine: objects() lists the members in order (the engine walks
//   a light group's lights this way); state() is the display group state
//   (Q3Group.h masks). submit() does what a display group does in a pass
//   (see Q3Group.h); light and info groups submit nothing.
// - submitObject() submits any drawable object (a shape or an attribute
//   set); Q3Object_Submit and groups share it.
// - accepts() answers whether an object may join this kind of group;
//   contains() finds an object anywhere below, to refuse cycles.
#pragma once

#include "Object.h"
#include "Q3Group.h"

#include <cstddef>
#include <cstdint>
#include <list>
#include <unordered_map>
#include <vector>

namespace q3 {

class SubmitTarget;

// Submits a shape or an attribute set; other objects submit nothing.
void submitObject(const Object &object, SubmitTarget &target);

class Group : public Shape {
public:
  explicit Group(const TypeInfo &leaf) : Shape(leaf) {}

  bool isDisplayGroup() const { return isType(kQ3GroupTypeDisplay); }
  bool accepts(const Object &object) const;
  bool contains(const Object &object) const;

  // Adds a reference of the group's own; returns the new position (0 when
  // memory runs out, after posting the error).
  uint32_t add(Object &object);
  std::vector<Object *> objects() const;
  size_t count() const { return items_.size(); }

  // Positions: 0 means none. Unknown positions give nullptr / false.
  uint32_t first() const { return items_.empty() ? 0 : items_.front().position; }
  uint32_t last() const { return items_.empty() ? 0 : items_.back().position; }
  bool has(uint32_t position) const { return index_.count(position) != 0; }
  uint32_t next(uint32_t position) const;
  uint32_t previous(uint32_t position) const;
  Object *objectAt(uint32_t position) const;
  void replace(uint32_t position, Object &object);
  // Removes the entry; its reference goes to the caller.
  Ref<Object> remove(uint32_t position);
  void clear();

  TQ3DisplayGroupState state() const { return state_; }
  void setState(TQ3DisplayGroupState state) {
    state_ = state;
    edited();
  }

  void submit(SubmitTarget &target) const override;

private:
  struct Item {
    uint32_t position;
    Ref<Object> object;
  };
  using List = std::list<Item>;
  List::iterator insertionPoint(const Object &object);

  List items_;
  std::unordered_map<uint32_t, List::iterator> index_;
  uint32_t nextPosition_ = 1;
  TQ3DisplayGroupState state_ = kQ3DisplayGroupStateMaskIsDrawn | kQ3DisplayGroupStateMaskUseBoundingBox |
                                kQ3DisplayGroupStateMaskUseBoundingSphere | kQ3DisplayGroupStateMaskIsPicked |
                                kQ3DisplayGroupStateMaskIsWritten;
};

} // namespace q3
