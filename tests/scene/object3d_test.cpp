#include "scene_support.h"

#include "Q3.h"

#include <cmath>

namespace {
constexpr double kPi = 3.14159265358979323846;
}

TEST_F(Scene, NewObjectDefaults) {
  Ref o = h.New("Object3D");
  EXPECT_EQ(o.get("Scale").asDouble(), 1.0);
  EXPECT_EQ(o.get("Shape").asInteger(), 0);
  EXPECT_TRUE(o.get("Visible").asBoolean());
  EXPECT_FALSE(o.get("NullShader").asBoolean());
  EXPECT_FALSE(o.get("RenderBackFaces").asBoolean());
  EXPECT_FALSE(o.get("Bounds").asObject());
  EXPECT_VEC_NEAR(position(o), 0, 0, 0, 0);
  EXPECT_EQ(orientation(o), (std::array<double, 4>{1, 0, 0, 0}));
  // Every live object holds the 3D library.
  EXPECT_TRUE(Q3IsInitialized());
}

TEST_F(Scene, LibraryLivesWithTheObjects) {
  {
    Ref a = h.New("Object3D"), b = h.New("Group3D");
    EXPECT_TRUE(Q3IsInitialized());
  }
  EXPECT_FALSE(Q3IsInitialized());
}

TEST_F(Scene, ScaleIsStoredInSinglePrecision) {
  Ref o = h.New("Object3D");
  o.set("Scale", 0.1);
  EXPECT_EQ(o.get("Scale").asDouble(), static_cast<double>(0.1f));
}

TEST_F(Scene, ShapeIndexWithoutShapesClampsToMinusOne) {
  Ref o = h.New("Object3D");
  const struct { int set, stored; } cases[] = {{0, -1}, {7, -1}, {-5, 0}};
  for (const auto &c : cases) {
    o.set("Shape", c.set);
    EXPECT_EQ(o.get("Shape").asInteger(), c.stored) << c.set;
  }
}

TEST_F(Scene, MoveForwardFollowsOrientation) {
  Ref o = h.New("Object3D");
  o.call("MoveForward", 2.5);
  EXPECT_VEC_NEAR(position(o), 0, 0, 2.5, 0);
  o.call("Yaw", kPi / 2); // local +Z turns to world +X
  o.call("MoveForward", 1.0);
  EXPECT_VEC_NEAR(position(o), 1, 0, 2.5, 1e-6);
  o.call("Pitch", -kPi / 2); // local +Z (now +X) turns about local +X... to world +Y
  o.call("MoveForward", 1.0);
  EXPECT_VEC_NEAR(position(o), 1, 1, 2.5, 1e-6);
}

TEST_F(Scene, TurnsStayNormalised) {
  Ref o = h.New("Object3D");
  for (int i = 0; i < 1000; ++i) {
    o.call("Roll", 0.013);
    o.call("Pitch", 0.007);
    o.call("Yaw", -0.011);
  }
  auto q = orientation(o);
  EXPECT_NEAR(q[0] * q[0] + q[1] * q[1] + q[2] * q[2] + q[3] * q[3], 1.0, 1e-5);
}

TEST_F(Scene, ConversionsRoundTrip) {
  Ref o = h.New("Object3D");
  setPosition(o, {1, -2, 3});
  o.call("Yaw", 0.7);
  o.call("Roll", -0.3);
  for (double scale : {2.5, 1.0, 0.25}) {
    o.set("Scale", scale);
    Ref p = h.New("Vector3D", 0.5, 4.0, -1.5);
    Ref world = o.call("ObjectToWorldTransform", p).asObject();
    Ref back = o.call("WorldToObjectTransform", world).asObject();
    SCOPED_TRACE(scale);
    EXPECT_VEC_NEAR(vec(back), 0.5, 4.0, -1.5, 1e-5);
    EXPECT_VEC_NEAR(vec(p), 0.5, 4.0, -1.5, 0); // the argument is left alone
  }
  // Scale 0 collapses to the position; the way back leaves the scaling out.
  o.set("Scale", 0.0);
  Ref p = h.New("Vector3D", 3.0, 3.0, 3.0);
  EXPECT_VEC_NEAR(vec(o.call("ObjectToWorldTransform", p).asObject()), 1, -2, 3, 1e-6);
  EXPECT_FALSE(o.call("ObjectToWorldTransform", nullptr).asObject());
  EXPECT_FALSE(o.call("WorldToObjectTransform", nullptr).asObject());
}

TEST_F(Scene, NilPlacementReadsAsOriginAndIdentity) {
  Ref o = h.New("Object3D");
  o.set("Position", nullptr);
  o.set("Orientation", nullptr);
  o.call("MoveForward", 1.0);
  o.call("Yaw", 1.0);
  o.set("Scale", 2.0);
  Ref p = h.New("Vector3D", 1.0, 2.0, 3.0);
  EXPECT_VEC_NEAR(vec(o.call("ObjectToWorldTransform", p).asObject()), 2, 4, 6, 0);
  EXPECT_VEC_NEAR(vec(o.call("WorldToObjectTransform", p).asObject()), 0.5, 1, 1.5, 0);
  Ref g = h.New("Group3D");
  g.call("Append", o);
  setPosition(g, {1, 1, 1});
  g.set("Orientation", nullptr);
  g.call("Update");
}

TEST_F(Scene, ScriptAssignedPlacementIsShared) {
  Ref o = h.New("Object3D");
  Ref q = h.New("Quaternion");
  o.set("Orientation", q);
  o.call("Yaw", kPi);
  // The turn accumulates in the instance the script holds.
  EXPECT_NEAR(std::fabs(q.get("Y").asDouble()), 1.0, 1e-6);
}

TEST_F(Scene, CloneHasDefaultPlacementAndOwnClass) {
  Ref o = h.New("Object3D");
  setPosition(o, {4, 5, 6});
  o.set("Scale", 3.0);
  o.set("Visible", false);
  Ref c = o.call("Clone").asObject();
  EXPECT_EQ(c.className(), "Object3D");
  EXPECT_VEC_NEAR(position(c), 0, 0, 0, 0);
  EXPECT_EQ(c.get("Scale").asDouble(), 1.0);
  EXPECT_TRUE(c.get("Visible").asBoolean());
  EXPECT_EQ(c.references(), 1);

  Ref g = h.New("Group3D");
  g.call("Append", o);
  Ref gc = g.call("Clone").asObject();
  EXPECT_EQ(gc.className(), "Group3D");
  EXPECT_EQ(gc.call("Count").asInteger(), 0);
}
