// Group3D.h: a set of objects that move and turn together.
//
// Contract
//   - A Group3D instance has two blocks: its Object3D block (IsGroup set) and
//     Group3DData (44 bytes). Each children entry holds one host reference
//     (nil entries allowed, the same child possibly several times).
//   - GroupUpdate carries the group's moves and turns since its last update
//     over to its children; submission and bounds call it before walking in.
//   - A group never becomes its own descendant: Append and the Item setter
//     refuse such a child, since every walk through the children would
//     otherwise never end.
#pragma once

#include "scene/Object3D.h"

namespace du3v {

struct Group3DData {
  SimpleVector<HostObject> children;
  float lastPosition[3];
  float lastOrientation[4]; // w, x, y, z
};
static_assert(sizeof(Group3DData) == 44, "the Group3D block is 44 bytes");
static_assert(offsetof(Group3DData, lastPosition) == 16 && offsetof(Group3DData, lastOrientation) == 28,
              "Group3D field offsets");

extern ClassDefinition Group3DClass;

// The Group3D block of an instance whose Object3D block says it is a group;
// nullptr otherwise.
Group3DData *Group3DOf(HostObject object);

void GroupUpdate(HostObject group);

// Walks through nested groups stop at this depth: deeper members are neither
// drawn, picked nor bounded, so a script's deep nesting cannot exhaust the stack.
constexpr int kMaxGroupDepth = 256;

} // namespace du3v
