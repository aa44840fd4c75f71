#include "scene_support.h"

#include <cmath>

namespace {
Ref child(host::Host &h, Vec at) {
  Ref o = h.New("Object3D");
  setPosition(o, at);
  return o;
}
} // namespace

TEST_F(Scene, GroupListOperations) {
  Ref g = h.New("Group3D");
  EXPECT_EQ(g.call("Count").asInteger(), 0);
  EXPECT_FALSE(g.call("Item", 0).asObject());
  g.call("Remove", -1);
  Ref a = h.New("Object3D"), b = h.New("Object3D");
  g.call("Append", a);
  g.call("Append", nullptr);
  g.call("Append", a);
  EXPECT_EQ(g.call("Count").asInteger(), 3);
  EXPECT_EQ(a.references(), 3);
  EXPECT_FALSE(g.call("Item", 1).asObject());
  EXPECT_EQ(g.call("Item", 2).asObject(), a);
  EXPECT_FALSE(g.call("Item", 3).asObject());
  EXPECT_FALSE(g.call("Item", -1).asObject());
  // The assignment form swaps references; out of range it does nothing.
  g.assign("Item", {0}, b);
  g.assign("Item", {9}, b);
  EXPECT_EQ(a.references(), 2);
  EXPECT_EQ(b.references(), 2);
  // Remove by object drops the later entry only.
  g.assign("Item", {0}, a);
  g.call("Remove", a);
  EXPECT_EQ(g.call("Count").asInteger(), 2);
  EXPECT_EQ(g.call("Item", 0).asObject(), a);
  EXPECT_EQ(a.references(), 2);
  g.call("Remove", b); // not in the group
  EXPECT_EQ(g.call("Count").asInteger(), 2);
  g.call("Remove", 0);
  EXPECT_EQ(a.references(), 1);
}

TEST_F(Scene, UpdateCarriesDisplacement) {
  Ref g = h.New("Group3D");
  Ref a = child(h, {1, 0, 0}), b = child(h, {0, 0, -4});
  g.call("Append", a);
  g.call("Append", b);
  g.call("Append", nullptr);
  g.call("Update"); // nothing changed yet
  EXPECT_VEC_NEAR(position(a), 1, 0, 0, 0);
  setPosition(g, {1, 2, 3});
  g.set("Scale", 5.0); // never reaches the children
  g.call("Update");
  EXPECT_VEC_NEAR(position(a), 2, 2, 3, 0);
  EXPECT_VEC_NEAR(position(b), 1, 2, -1, 0);
  g.call("Update");
  EXPECT_VEC_NEAR(position(a), 2, 2, 3, 0);
  EXPECT_EQ(a.get("Scale").asDouble(), 1.0);
}

TEST_F(Scene, UpdateTurnsChildrenAboutTheGroup) {
  const double s = std::sqrt(0.5);
  {
    Ref g = h.New("Group3D");
    Ref a = child(h, {1, 0, 0});
    g.call("Append", a);
    setOrientation(g, {s, 0, 0, s}); // a quarter turn about z
    g.call("Update");
    EXPECT_VEC_NEAR(position(a), 0, 1, 0, 1e-6);
    auto q = orientation(a);
    EXPECT_NEAR(q[0], s, 1e-6);
    EXPECT_NEAR(q[3], s, 1e-6);
  }
  {
    // Moved and turned in one step: moved along, then swung about the new place.
    Ref g = h.New("Group3D");
    Ref a = child(h, {1, 0, 0});
    g.call("Append", a);
    setPosition(g, {5, 0, 0});
    setOrientation(g, {s, 0, 0, s});
    g.call("Update");
    EXPECT_VEC_NEAR(position(a), 5, 1, 0, 1e-6);
  }
}

TEST_F(Scene, ChildAppearingTwiceMovesTwice) {
  Ref g = h.New("Group3D");
  Ref a = child(h, {0, 0, 0});
  g.call("Append", a);
  g.call("Append", a);
  setPosition(g, {1, 0, 0});
  g.call("Update");
  EXPECT_VEC_NEAR(position(a), 2, 0, 0, 0);
}

TEST_F(Scene, NestedGroupsFollowLevelByLevel) {
  Ref outer = h.New("Group3D"), inner = h.New("Group3D");
  Ref leaf = child(h, {1, 0, 0});
  setPosition(inner, {1, 0, 0});
  inner.call("Update"); // remember where it stands
  inner.call("Append", leaf);
  outer.call("Append", inner);
  setPosition(outer, {0, 3, 0});
  outer.call("Update");
  EXPECT_VEC_NEAR(position(inner), 1, 3, 0, 0);
  EXPECT_VEC_NEAR(position(leaf), 1, 0, 0, 0); // not yet
  inner.call("Update");
  EXPECT_VEC_NEAR(position(leaf), 1, 3, 0, 0);
}

TEST_F(Scene, GroupsRefuseToContainThemselves) {
  Ref a = h.New("Group3D"), b = h.New("Group3D");
  a.call("Append", a);
  EXPECT_EQ(a.call("Count").asInteger(), 0);
  a.call("Append", b);
  b.call("Append", a);
  EXPECT_EQ(b.call("Count").asInteger(), 0);
  b.call("Append", nullptr);
  b.assign("Item", {0}, a);
  EXPECT_FALSE(b.call("Item", 0).asObject());
  EXPECT_EQ(a.references(), 1);
}

TEST_F(Scene, DeepNestingNeitherOverflowsNorHangs) {
  // 5000 groups, each inside the next, a drawable object at the bottom.
  Ref bottom = h.New("Object3D");
  bottom.call("AddShapeFromString", "3DMetafile ( 1 6 Normal nil> )\nTriangle ( 0 0 0  1 0 0  0 1 0 )\n");
  Ref shallow = h.New("Group3D");
  shallow.call("Append", bottom);
  Ref top = shallow;
  for (int i = 0; i < 5000; ++i) {
    Ref g = h.New("Group3D");
    g.call("Append", top);
    top = g;
  }
  // The cycle check still reaches the bottom.
  shallow.call("Append", top);
  EXPECT_EQ(shallow.call("Count").asInteger(), 1);
  // Walks stop at the depth limit: nothing that deep is bounded or drawn.
  top.set("Bounds", h.New("Bounds3D"));
  top.get("Bounds").asObject().set("Type", 2);
  top.call("UpdateBounds");
  EXPECT_EQ(top.get("Bounds").asObject().get("Maximum").asObject().get("X").asDouble(), 0.0);
  // A shallow group is bounded as usual.
  shallow.set("Bounds", h.New("Bounds3D"));
  shallow.get("Bounds").asObject().set("Type", 2);
  shallow.call("UpdateBounds");
  EXPECT_NEAR(shallow.get("Bounds").asObject().get("Maximum").asObject().get("X").asDouble(), 1.0, 1e-5);
  top = Ref();
}
