// Bounds3D through the host, as scripts use it.
#include "math_support.h"

#include <limits>
#include <optional>
#include <vector>

using namespace mathtest;

namespace {
// Byte offsets in the Bounds3D block.
constexpr int kType = 0, kBoxMin = 4, kBoxMax = 16, kBoxEmpty = 28, kOrigin = 32, kRadius = 44, kSphereEmpty = 48;

uint32_t Word(const Ref &bounds, int offset) {
  uint32_t w;
  std::memcpy(&w, bounds.block("Bounds3D") + offset, 4);
  return w;
}
Xyz PointAt(const Ref &bounds, int offset) {
  Xyz p;
  std::memcpy(&p, bounds.block("Bounds3D") + offset, sizeof p);
  return p;
}

class Bounds3DTest : public MathTest {
protected:
  Ref Sphere(double x, double y, double z, double radius) { return h.New("Bounds3D", Vec(x, y, z), radius); }
  Ref Box(Xyz lo, Xyz hi) { return h.New("Bounds3D", Vec(lo.x, lo.y, lo.z), Vec(hi.x, hi.y, hi.z)); }
  Xyz Read(const Ref &bounds, const char *property) {
    Ref v = bounds.get(property).asObject();
    EXPECT_TRUE(v) << property;
    return v ? VectorOf(v) : Xyz{-999, -999, -999};
  }
};
} // namespace

TEST_F(Bounds3DTest, NewBoundsReadsZero) {
  Ref b = h.New("Bounds3D");
  EXPECT_EQ(b.get("Type").asInteger(), 0);
  EXPECT_EQ(Read(b, "Center"), (Xyz{0, 0, 0}));
  EXPECT_EQ(b.get("Radius").asDouble(), 0.0);
  EXPECT_EQ(Read(b, "Minimum"), (Xyz{0, 0, 0}));
  EXPECT_EQ(Read(b, "Maximum"), (Xyz{0, 0, 0}));
}

TEST_F(Bounds3DTest, SphereDerivesItsBoxAndKeepsIt) {
  Ref b = Sphere(1, 2, 3, 2);
  EXPECT_EQ(b.get("Type").asInteger(), 1);
  EXPECT_EQ(Word(b, kBoxEmpty), 1u);
  EXPECT_EQ(Read(b, "Center"), (Xyz{1, 2, 3}));
  EXPECT_EQ(b.get("Radius").asDouble(), 2.0);
  EXPECT_EQ(Read(b, "Minimum"), (Xyz{-1, 0, 1}));
  EXPECT_EQ(Read(b, "Maximum"), (Xyz{3, 4, 5}));
  EXPECT_EQ(Word(b, kBoxEmpty), 0u);
  EXPECT_EQ(PointAt(b, kBoxMin), (Xyz{-1, 0, 1}));
  EXPECT_EQ(PointAt(b, kBoxMax), (Xyz{3, 4, 5}));

  EXPECT_EQ(Sphere(0, 0, 0, 0.1).get("Radius").asDouble(), static_cast<double>(F(0.1)));
}

TEST_F(Bounds3DTest, BoxDerivesItsSphereAndKeepsIt) {
  Ref b = Box({0, 0, 0}, {2, 2, 2});
  EXPECT_EQ(b.get("Type").asInteger(), 2);
  EXPECT_EQ(Word(b, kSphereEmpty), 1u);
  EXPECT_EQ(Read(b, "Minimum"), (Xyz{0, 0, 0}));
  EXPECT_EQ(Read(b, "Maximum"), (Xyz{2, 2, 2}));
  EXPECT_EQ(Read(b, "Center"), (Xyz{1, 1, 1}));
  EXPECT_EQ(b.get("Radius").asDouble(), static_cast<double>(F(std::sqrt(3.0))));
  EXPECT_EQ(Word(b, kSphereEmpty), 0u);
  EXPECT_EQ(PointAt(b, kOrigin), (Xyz{1, 1, 1}));

  // Corners are kept in the order given.
  Ref reversed = Box({2, 2, 2}, {0, 0, 0});
  EXPECT_EQ(Read(reversed, "Minimum"), (Xyz{2, 2, 2}));
  EXPECT_EQ(Read(reversed, "Maximum"), (Xyz{0, 0, 0}));
}

TEST_F(Bounds3DTest, ConstructorsWithNilChangeNothing) {
  Ref v = Vec(1, 1, 1), nil;
  for (const auto &args : std::vector<std::vector<Value>>{{nil, 1.0}, {nil, v}, {v, nil}, {nil, nil}}) {
    Ref b = h.New("Bounds3D", args);
    EXPECT_EQ(b.get("Type").asInteger(), 0);
    EXPECT_EQ(Word(b, kBoxEmpty), 0u);
    EXPECT_EQ(Word(b, kSphereEmpty), 0u);
  }
}

// With Type set to 2 the box is taken as it stands, without a derivation.
TEST_F(Bounds3DTest, TypeSetByTheScriptChoosesThePart) {
  Ref b = Sphere(1, 2, 3, 2);
  b.set("Type", 2);
  EXPECT_EQ(Word(b, kType), 2u);
  EXPECT_EQ(Read(b, "Minimum"), (Xyz{0, 0, 0}));
  EXPECT_EQ(Read(b, "Maximum"), (Xyz{0, 0, 0}));
  EXPECT_EQ(Read(b, "Center"), (Xyz{1, 2, 3}));
}

// Each read gives a vector of its own; the vectors outlive the bounds they
// came from, and every reference goes back (checked after each test).
TEST_F(Bounds3DTest, GettersHandOutFreshVectors) {
  std::vector<Ref> kept;
  {
    Ref b = Sphere(1, 2, 3, 2);
    for (int i = 0; i < 3; ++i)
      for (const char *property : {"Center", "Minimum", "Maximum"}) kept.push_back(b.get(property).asObject());
    for (const Ref &v : kept) EXPECT_EQ(v.references(), 1);
    kept[0].set("X", 9.0);
    EXPECT_EQ(Read(b, "Center"), (Xyz{1, 2, 3}));
    EXPECT_NE(kept[0], kept[3]);
  }
  EXPECT_EQ(h.counts().instances, 9);
  EXPECT_EQ(VectorOf(kept[0]), (Xyz{9, 2, 3}));
  EXPECT_EQ(VectorOf(kept.back()), (Xyz{3, 4, 5}));
}

TEST_F(Bounds3DTest, ContainsPoint) {
  const float nan = std::numeric_limits<float>::quiet_NaN();
  Ref unitSphere = Sphere(0, 0, 0, 1), box = Box({0, 0, 0}, {2, 2, 2}), none = h.New("Bounds3D");
  // A sphere built and then declared a box has an empty box: it holds nothing,
  // not even the origin its zeroed corners meet at.
  Ref emptyBox = Sphere(5, 5, 5, 1);
  emptyBox.set("Type", 2);
  const struct {
    const char *what;
    const Ref &bounds;
    Xyz point;
    bool inside;
  } cases[] = {
      {"sphere surface", unitSphere, {1, 0, 0}, false},
      {"inside the sphere", unitSphere, {0.5f, 0, 0}, true},
      {"sphere, not a number", unitSphere, {nan, 0, 0}, false},
      {"box face", box, {2, 1, 1}, true},
      {"box corner", box, {0, 0, 0}, true},
      {"beyond the box face", box, {2.001f, 1, 1}, false},
      {"box, not a number", box, {1, nan, 1}, false},
      {"Type 0", none, {0, 0, 0}, false},
      {"empty box", emptyBox, {0, 0, 0}, false},
  };
  for (const auto &c : cases)
    EXPECT_EQ(c.bounds.call("ContainsPoint", Vec(c.point.x, c.point.y, c.point.z)).asBoolean(), c.inside) << c.what;
  EXPECT_FALSE(box.call("ContainsPoint", Ref()).asBoolean());
}

TEST_F(Bounds3DTest, Intersects) {
  Ref unitAtOrigin = Sphere(0, 0, 0, 1);
  Ref box = Box({0, 0, 0}, {1, 1, 1}), touchingBox = Box({1, 0, 0}, {2, 1, 1}),
      apartBox = Box({1.001f, 0, 0}, {2, 1, 1});
  Ref bigBox = Box({0, 0, 0}, {2, 2, 2});
  Ref emptyBox = Sphere(5, 5, 5, 1), emptyNearOrigin = Sphere(0.5, 0, 0, 1);
  emptyBox.set("Type", 2);
  emptyNearOrigin.set("Type", 2);
  const struct {
    const char *what;
    Ref a, b;
    bool expected;
  } cases[] = {
      {"touching boxes", box, touchingBox, true},
      {"boxes a hair apart", box, apartBox, false},
      {"a box and itself", box, box, true},
      {"touching spheres", unitAtOrigin, Sphere(2, 0, 0, 1), false},
      {"spheres 1.99 apart", unitAtOrigin, Sphere(1.99, 0, 0, 1), true},
      // Overlapping by half a radius: the radii's sum, not their squares', is the reach.
      {"spheres 1.5 apart", unitAtOrigin, Sphere(1.5, 0, 0, 1), true},
      {"spheres 2.1 apart", unitAtOrigin, Sphere(0, 0, 2.1, 1), false},
      {"box and a sphere beside it", bigBox, Sphere(3.5, 1, 1, 1), false},
      {"box and a sphere over its face", bigBox, Sphere(2.5, 1, 1, 1), true},
      {"sphere over a box's corner", Sphere(2.4, 2.4, 2.4, 1), bigBox, true},
      {"sphere beyond a box's corner", Sphere(2.7, 2.7, 2.7, 1), bigBox, false},
      // Past the spheres' check, the box around the sphere stands for it.
      {"sphere whose box reaches a box's edge", Sphere(2.9, 2.9, 1, 1), bigBox, true},
      {"Type 0", h.New("Bounds3D"), h.New("Bounds3D"), false},
      {"Type 0 and a box", h.New("Bounds3D"), bigBox, false},
      {"empty box and a box at the origin", emptyBox, bigBox, false},
      {"sphere and an empty box", Sphere(0, 0, 0, 1), emptyNearOrigin, false},
  };
  for (const auto &c : cases) {
    EXPECT_EQ(c.a.call("Intersects", c.b).asBoolean(), c.expected) << c.what;
    EXPECT_EQ(c.b.call("Intersects", c.a).asBoolean(), c.expected) << c.what << ", other way round";
  }
  EXPECT_FALSE(box.call("Intersects", Ref()).asBoolean());
}

// The line methods use the sphere (derived for a box): the entry point of
// the line from pt1 towards pt2, anywhere on the line for LineIntersection,
// only between the two points for LineSegmentIntersection.
TEST_F(Bounds3DTest, LineIntersections) {
  Ref unitSphere = Sphere(0, 0, 0, 1);
  const std::optional<Xyz> none;
  const struct {
    const char *what;
    Xyz p1, p2;
    std::optional<Xyz> line, segment;
  } cases[] = {
      {"through the middle", {-5, 0, 0}, {5, 0, 0}, Xyz{-1, 0, 0}, Xyz{-1, 0, 0}},
      {"from the other side", {0, 0, 5}, {0, 0, -5}, Xyz{0, 0, 1}, Xyz{0, 0, 1}},
      {"short of the sphere (t = 2)", {-5, 0, 0}, {-3, 0, 0}, Xyz{-1, 0, 0}, none},
      {"ending on the surface (t = 1)", {-3, 0, 0}, {-1, 0, 0}, Xyz{-1, 0, 0}, Xyz{-1, 0, 0}},
      {"starting on the surface (t = 0)", {-1, 0, 0}, {1, 0, 0}, Xyz{-1, 0, 0}, Xyz{-1, 0, 0}},
      {"starting inside (t = -0.2)", {0, 0, 0}, {5, 0, 0}, Xyz{-1, 0, 0}, none},
      {"grazing", {-5, 1, 0}, {5, 1, 0}, Xyz{0, 1, 0}, Xyz{0, 1, 0}},
      {"missing by a radius", {-5, 2, 0}, {5, 2, 0}, none, none},
      // Two equal points give no line, hence no point on it.
      {"coincident points outside", {2, 0, 0}, {2, 0, 0}, none, none},
      {"coincident points inside", {0.5f, 0, 0}, {0.5f, 0, 0}, none, none},
  };
  for (const auto &c : cases) {
    Ref p1 = Vec(c.p1.x, c.p1.y, c.p1.z), p2 = Vec(c.p2.x, c.p2.y, c.p2.z);
    for (const auto &[method, expected] :
         {std::pair{"LineIntersection", c.line}, {"LineSegmentIntersection", c.segment}}) {
      Ref r = unitSphere.call(method, p1, p2).asObject();
      EXPECT_EQ(bool(r), expected.has_value()) << c.what << ": " << method;
      if (r && expected) {
        const Xyz point = VectorOf(r);
        EXPECT_NEAR(point.x, expected->x, 1e-6) << c.what << ": " << method;
        EXPECT_NEAR(point.y, expected->y, 1e-6) << c.what << ": " << method;
        EXPECT_NEAR(point.z, expected->z, 1e-6) << c.what << ": " << method;
        EXPECT_EQ(r.references(), 1);
      }
    }
  }
  // t is rounded to single precision before the point is formed: 0.4 gives
  // the float just above 0.4, and the point lands a rounding short of -1.
  Ref hit = unitSphere.call("LineIntersection", Vec(-5, 0, 0), Vec(5, 0, 0)).asObject();
  ASSERT_TRUE(hit);
  EXPECT_EQ(VectorOf(hit), (Xyz{F(-5.0 + 10.0 * F(0.4)), 0, 0}));
  EXPECT_NE(VectorOf(hit).x, -1.0f);

  Ref p = Vec(1, 1, 1), nil;
  for (const char *method : {"LineIntersection", "LineSegmentIntersection"}) {
    EXPECT_FALSE(unitSphere.call(method, nil, p).asObject()) << method;
    EXPECT_FALSE(unitSphere.call(method, p, nil).asObject()) << method;
  }
}

TEST_F(Bounds3DTest, LinesMeetABoxsCircumscribedSphere) {
  Ref box = Box({-1, -1, -1}, {1, 1, 1});
  Ref hit = box.call("LineIntersection", Vec(-5, 0, 0), Vec(5, 0, 0)).asObject();
  ASSERT_TRUE(hit);
  const Xyz point = VectorOf(hit);
  EXPECT_NEAR(point.x, -std::sqrt(3.0), 1e-6);
  EXPECT_EQ(point.y, 0.0f);
  EXPECT_EQ(point.z, 0.0f);
  // The sphere stays in the record.
  EXPECT_EQ(Word(box, kSphereEmpty), 0u);
  EXPECT_EQ(PointAt(box, kOrigin), (Xyz{0, 0, 0}));
  float radius;
  std::memcpy(&radius, box.block("Bounds3D") + kRadius, 4);
  EXPECT_EQ(radius, F(std::sqrt(3.0)));
  EXPECT_EQ(box.get("Type").asInteger(), 2);

  // Both parts empty, as the bounds of an object without geometry: there is no
  // sphere to derive, not even a point at the origin.
  Ref empty = Sphere(0, 0, 0, 1);
  empty.set("Type", 2);
  empty.block("Bounds3D")[kSphereEmpty] = 1;
  EXPECT_FALSE(empty.call("LineIntersection", Vec(-5, 0, 0), Vec(5, 0, 0)).asObject());
}

TEST(Bounds3DHost, MissingInstanceServicesGiveNil) {
  host::Config config;
  config.withheld = {"CreateInstance"};
  host::Host h(config);
  h.load();
  {
    Ref b = h.New("Bounds3D", h.New("Vector3D", 0.0, 0.0, 0.0), 1.0);
    EXPECT_FALSE(b.get("Center").asObject());
    EXPECT_FALSE(b.get("Minimum").asObject());
    EXPECT_EQ(b.get("Radius").asDouble(), 1.0);
    Ref p1 = h.New("Vector3D", -5.0, 0.0, 0.0), p2 = h.New("Vector3D", 5.0, 0.0, 0.0);
    EXPECT_FALSE(b.call("LineIntersection", p1, p2).asObject());
    EXPECT_FALSE(b.call("LineSegmentIntersection", p1, p2).asObject());
  }
  EXPECT_EQ(h.counts(), host::Counts{});
  EXPECT_TRUE(h.faults().empty()) << Lines(h.faults());
}
