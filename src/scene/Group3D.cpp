// The Group3D script class.
#include "scene/Group3D.h"

#include "math/Quaternion.h"
#include "math/Vector3D.h"
#include "plugin/Registration.h"

#include <cmath>
#include <unordered_set>
#include <vector>

namespace du3v {

Group3DData *Group3DOf(HostObject object) {
  const Object3DData *data = Object3DOf(object);
  return data && data->IsGroup ? static_cast<Group3DData *>(ClassData(object, Group3DClass)) : nullptr;
}

namespace {
extern "C" void Group3D_Construct(HostObject instance) {
  Group3DData &group = *static_cast<Group3DData *>(ClassData(instance, Group3DClass));
  group.children.increment = 16;
  group.lastPosition[0] = group.lastPosition[1] = group.lastPosition[2] = 0;
  group.lastOrientation[0] = 1;
  group.lastOrientation[1] = group.lastOrientation[2] = group.lastOrientation[3] = 0;
  Object3DOf(instance)->IsGroup = 1;
}

extern "C" void Group3D_Destruct(HostObject instance) {
  Group3DData &group = *static_cast<Group3DData *>(ClassData(instance, Group3DClass));
  for (uint32_t i = 0; i < group.children.Count(); ++i) KIVOUnlockObject(group.children[i]);
  group.children.Clear();
}

// True when `candidate` is `group` or holds it somewhere below. Walked with
// a list instead of recursion: a script may nest groups arbitrarily deep, and
// shared subgroups are visited once.
bool Contains(HostObject candidate, HostObject group) {
  std::vector<HostObject> pending{candidate};
  std::unordered_set<HostObject> seen;
  while (!pending.empty()) {
    HostObject next = pending.back();
    pending.pop_back();
    if (next == group) return true;
    const Group3DData *g = Group3DOf(next);
    if (!g || !seen.insert(next).second) continue;
    for (uint32_t i = 0; i < g->children.Count(); ++i)
      if (g->children[i]) pending.push_back(g->children[i]);
  }
  return false;
}

extern "C" int32_t Group3D_Count(HostObject instance) {
  return static_cast<int32_t>(Group3DOf(instance)->children.Count());
}

bool InRange(const Group3DData &group, int32_t index) {
  return index >= 0 && static_cast<uint32_t>(index) < group.children.Count();
}

extern "C" HostObject Group3D_Item(HostObject instance, int32_t index) {
  const Group3DData &group = *Group3DOf(instance);
  if (!InRange(group, index)) return nullptr;
  HostObject child = group.children[index];
  KIVOLockObject(child);
  return child;
}

extern "C" void Group3D_SetItem(HostObject instance, int32_t index, HostObject value) {
  Group3DData &group = *Group3DOf(instance);
  if (!InRange(group, index) || (value && Contains(value, instance))) return;
  // The new value is locked before the old one goes: assigning a child to
  // its own slot must not free it when the group holds its only reference.
  HostObject old = group.children[index];
  group.children[index] = value;
  KIVOLockObject(value);
  KIVOUnlockObject(old);
}

extern "C" void Group3D_Append(HostObject instance, HostObject child) {
  Group3DData &group = *Group3DOf(instance);
  if (child && Contains(child, instance)) return;
  if (group.children.Append(child)) KIVOLockObject(child);
}

extern "C" void Group3D_RemoveIndex(HostObject instance, int32_t index) {
  Group3DData &group = *Group3DOf(instance);
  if (!InRange(group, index)) return;
  HostObject child = group.children[index];
  group.children.RemoveAt(index);
  KIVOUnlockObject(child);
}

extern "C" void Group3D_RemoveObject(HostObject instance, HostObject child) {
  if (Group3DOf(instance)->children.RemoveValue(child)) KIVOUnlockObject(child);
}

extern "C" void Group3D_Update(HostObject instance) { GroupUpdate(instance); }

MethodDefinition methods[] = {
    {Fn(Group3D_Count), nullptr, "Count() as Integer", 0},
    {Fn(Group3D_Item), Fn(Group3D_SetItem), "Item(idx as Integer) as Object3D", 0},
    {Fn(Group3D_Append), nullptr, "Append(obj as Object3D)", 0},
    {Fn(Group3D_RemoveIndex), nullptr, "Remove(idx as Integer)", 0},
    {Fn(Group3D_RemoveObject), nullptr, "Remove(obj as Object3D)", 0},
    {Fn(Group3D_Update), nullptr, "Update", 0},
};

bool Differs(float a, float b) { return !(a == b); } // NaN counts as different
} // namespace

ClassDefinition Group3DClass = {
    kRecordVersion,
    "Group3D",
    "Object3D",
    44,
    0,
    Fn(Group3D_Construct),
    Fn(Group3D_Destruct),
    nullptr,
    0,
    methods,
    sizeof methods / sizeof methods[0],
    {},
};

void GroupUpdate(HostObject instance) {
  Group3DData *group = Group3DOf(instance);
  if (!group) return;
  const Object3DData &self = *Object3DOf(instance);
  const TQ3Point3D P = PositionOf(self);
  if (Differs(P.x, group->lastPosition[0]) || Differs(P.y, group->lastPosition[1]) ||
      Differs(P.z, group->lastPosition[2])) {
    const TQ3Point3D last{group->lastPosition[0], group->lastPosition[1], group->lastPosition[2]};
    TQ3Vector3D V;
    Q3Point3D_Subtract(&P, &last, &V);
    for (uint32_t i = 0; i < group->children.Count(); ++i)
      if (HostObject child = group->children[i]) TranslateBy(*Object3DOf(child), V);
    group->lastPosition[0] = P.x, group->lastPosition[1] = P.y, group->lastPosition[2] = P.z;
  }
  const TQ3Quaternion Q = OrientationOf(self);
  const TQ3Quaternion last{group->lastOrientation[0], group->lastOrientation[1], group->lastOrientation[2],
                           group->lastOrientation[3]};
  if (Q.w == last.w && Q.x == last.x && Q.y == last.y && Q.z == last.z) return;
  TQ3Quaternion I, R;
  Q3Quaternion_Invert(&last, &I);
  Q3Quaternion_Multiply(&I, &Q, &R);
  Q3Quaternion_Normalize(&R, &R);
  for (uint32_t i = 0; i < group->children.Count(); ++i) {
    HostObject child = group->children[i];
    if (!child) continue;
    Object3DData &data = *Object3DOf(child);
    if (QuaternionData *q = QuaternionOf(data.Orientation)) {
      TQ3Quaternion *orientation = AsQ3Quaternion(*q);
      Q3Quaternion_Multiply(orientation, &R, orientation);
    }
    if (Vector3DData *p = Vector3DOf(data.Position)) {
      TQ3Point3D *position = AsQ3Point(*p);
      TQ3Vector3D offset;
      Q3Point3D_Subtract(position, &P, &offset);
      TQ3Point3D turned{offset.x, offset.y, offset.z};
      Q3Point3D_TransformQuaternion(&turned, &R, &turned);
      const TQ3Vector3D back{turned.x, turned.y, turned.z};
      Q3Point3D_Vector3D_Add(&P, &back, position);
    }
  }
  group->lastOrientation[0] = Q.w, group->lastOrientation[1] = Q.x, group->lastOrientation[2] = Q.y,
  group->lastOrientation[3] = Q.z;
}

} // namespace du3v
