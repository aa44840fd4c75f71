// Quaternion through the host, as scripts use it. Rotation arithmetic comes
// from q3; these tests pin which operation each member uses and in which
// order, not q3's own numerics.
#include "math_support.h"

#include <vector>

using namespace mathtest;

namespace {
const double kQuarterTurn = 1.5707963267948966;

void ExpectNear(const Xyz &actual, const Xyz &expected, const char *what) {
  EXPECT_NEAR(actual.x, expected.x, 1e-6) << what << " " << actual;
  EXPECT_NEAR(actual.y, expected.y, 1e-6) << what << " " << actual;
  EXPECT_NEAR(actual.z, expected.z, 1e-6) << what << " " << actual;
}
} // namespace

TEST_F(MathTest, QuaternionStartsAsTheIdentityAndItsPropertiesAreItsFields) {
  Ref q = h.New("Quaternion");
  EXPECT_EQ(QuaternionOf(q), (Wxyz{1, 0, 0, 0}));
  EXPECT_EQ(q.get("W").asDouble(), 1.0);
  q.set("W", 0.1);
  q.set("X", -1.0);
  q.set("Y", 2.0);
  q.set("Z", 3.0);
  EXPECT_EQ(QuaternionOf(q), (Wxyz{F(0.1), -1, 2, 3}));
  EXPECT_EQ(q.get("W").asDouble(), static_cast<double>(F(0.1)));
  EXPECT_EQ(q.get("Z").asDouble(), 3.0);
}

TEST_F(MathTest, QuaternionNormalize) {
  const struct {
    Wxyz start, expected;
  } cases[] = {
      {{0, 0, 0, 0}, {0, 0, 0, 0}},
      {{2, 0, 0, 0}, {1, 0, 0, 0}},
      {{1, 1, 1, 1}, {0.5f, 0.5f, 0.5f, 0.5f}},
      {{0, 0, -3, 0}, {0, 0, -1, 0}},
      // Single-precision length exactly 1 although the squares sum to just
      // above 1: nothing changes.
      {{0.6f, 0.8f, 0, 0}, {0.6f, 0.8f, 0, 0}},
      // A squared length beyond single precision is kept, not zeroed.
      {{1e20f, 0, 0, 0}, {1e20f, 0, 0, 0}},
  };
  for (const auto &c : cases) {
    Ref q = Quat(c.start.w, c.start.x, c.start.y, c.start.z);
    q.call("Normalize");
    EXPECT_EQ(QuaternionOf(q), c.expected) << c.start;
  }
}

TEST_F(MathTest, QuaternionSetRotateAboutAxisNormalisesTheAxis) {
  Ref unit = h.New("Quaternion"), scaled = h.New("Quaternion");
  unit.call("SetRotateAboutAxis", 0.0, 0.0, 1.0, kQuarterTurn);
  scaled.call("SetRotateAboutAxis", 0.0, 0.0, 5.0, kQuarterTurn);
  EXPECT_EQ(QuaternionOf(scaled), QuaternionOf(unit));
  const Wxyz q = QuaternionOf(unit);
  EXPECT_NEAR(q.w, std::sqrt(0.5), 1e-7);
  EXPECT_NEAR(q.z, std::sqrt(0.5), 1e-7);
  // Counter-clockwise about z: x turns towards y.
  Ref turned = unit.call("Transform", Vec(1, 0, 0)).asObject();
  ExpectNear(VectorOf(turned), {0, 1, 0}, "x about z");
}

// Times and MultiplyBy compose "self, then the argument".
TEST_F(MathTest, QuaternionProductsTurnBySelfFirst) {
  Ref aboutX = h.New("Quaternion"), aboutZ = h.New("Quaternion");
  aboutX.call("SetRotateAboutAxis", 1.0, 0.0, 0.0, kQuarterTurn);
  aboutZ.call("SetRotateAboutAxis", 0.0, 0.0, 1.0, kQuarterTurn);
  Ref y = Vec(0, 1, 0);

  Ref xThenZ = aboutX.call("Times", aboutZ).asObject();
  ASSERT_TRUE(xThenZ);
  EXPECT_EQ(xThenZ.references(), 1);
  ExpectNear(VectorOf(xThenZ.call("Transform", y).asObject()), {0, 0, 1}, "x then z");
  Ref zThenX = aboutZ.call("Times", aboutX).asObject();
  ExpectNear(VectorOf(zThenX.call("Transform", y).asObject()), {-1, 0, 0}, "z then x");

  const Wxyz before = QuaternionOf(aboutX);
  aboutX.call("MultiplyBy", aboutZ);
  EXPECT_EQ(QuaternionOf(aboutX), QuaternionOf(xThenZ));
  aboutX.call("MultiplyBy", aboutX); // self as both operands
  EXPECT_NE(QuaternionOf(aboutX), before);
}

TEST_F(MathTest, QuaternionInverseAndInvert) {
  Ref q = h.New("Quaternion");
  q.call("SetRotateAboutAxis", 1.0, 2.0, 3.0, 0.7);
  const Wxyz original = QuaternionOf(q);
  Ref inverse = q.call("Inverse").asObject();
  ASSERT_TRUE(inverse);
  EXPECT_EQ(inverse.references(), 1);
  EXPECT_EQ(QuaternionOf(q), original);
  Ref v = Vec(0.3, -2, 5);
  Ref back = inverse.call("Transform", q.call("Transform", v).asObject()).asObject();
  ExpectNear(VectorOf(back), VectorOf(v), "undone");

  q.call("Invert");
  EXPECT_EQ(QuaternionOf(q), QuaternionOf(inverse));
}

TEST_F(MathTest, QuaternionSetBetween) {
  Ref identity = h.New("Quaternion");
  Ref quarter = h.New("Quaternion");
  quarter.call("SetRotateAboutAxis", 0.0, 0.0, 1.0, kQuarterTurn);
  const Wxyz q = QuaternionOf(quarter);
  // The identity's negation: the same rotation on the far side.
  Ref negated = Quat(-1, 0, 0, 0);
  Ref nil;

  const struct {
    const char *what;
    const Ref &from, &to;
    double position;
    Wxyz expected;
  } cases[] = {
      {"start", identity, quarter, 0.0, {1, 0, 0, 0}},
      {"end", identity, quarter, 1.0, q},
      {"start, matched to the end's side", negated, quarter, 0.0, {1, -0.0f, -0.0f, -0.0f}},
      {"end from the far side", negated, quarter, 1.0, q},
  };
  for (const auto &c : cases) {
    Ref r = Quat(0.5f, 0.5f, 0.5f, 0.5f);
    r.call("SetBetween", c.from, c.to, c.position);
    EXPECT_EQ(QuaternionOf(r), c.expected) << c.what;
  }

  Ref half = h.New("Quaternion");
  half.call("SetBetween", negated, quarter, 0.5);
  const Wxyz eighth = QuaternionOf(half);
  EXPECT_NEAR(eighth.w, std::cos(kQuarterTurn / 4), 1e-6);
  EXPECT_NEAR(eighth.z, std::sin(kQuarterTurn / 4), 1e-6);

  for (const auto &[from, to] : {std::pair<Ref, Ref>{nil, quarter}, {identity, nil}, {nil, nil}}) {
    Ref r = Quat(0.5f, 0.5f, 0.5f, 0.5f);
    r.call("SetBetween", from, to, 0.5);
    EXPECT_EQ(QuaternionOf(r), (Wxyz{0.5f, 0.5f, 0.5f, 0.5f}));
  }
}

TEST_F(MathTest, QuaternionNilArguments) {
  Ref q = Quat(0.5f, -0.5f, 0.5f, -0.5f);
  Ref nil;
  Ref copy = q.call("Times", nil).asObject();
  ASSERT_TRUE(copy);
  EXPECT_NE(copy, q);
  EXPECT_EQ(copy.references(), 1);
  EXPECT_EQ(QuaternionOf(copy), QuaternionOf(q));

  q.call("MultiplyBy", nil);
  EXPECT_EQ(QuaternionOf(q), (Wxyz{0.5f, -0.5f, 0.5f, -0.5f}));

  Ref zero = q.call("Transform", nil).asObject();
  ASSERT_TRUE(zero);
  EXPECT_EQ(zero.references(), 1);
  EXPECT_EQ(VectorOf(zero), (Xyz{0, 0, 0}));
}

TEST(QuaternionHost, MissingInstanceServicesGiveNil) {
  for (const char *withheld : {"pluginObjectType", "CreateInstance"}) {
    host::Config config;
    config.withheld = {withheld};
    host::Host h(config);
    h.load();
    {
      Ref q = h.New("Quaternion");
      Ref v = h.New("Vector3D", 1.0, 0.0, 0.0);
      EXPECT_FALSE(q.call("Inverse").asObject()) << withheld;
      EXPECT_FALSE(q.call("Times", q).asObject()) << withheld;
      EXPECT_FALSE(q.call("Transform", v).asObject()) << withheld;
      EXPECT_EQ(QuaternionOf(q), (Wxyz{1, 0, 0, 0}));
    }
    EXPECT_EQ(h.counts(), host::Counts{}) << withheld;
    EXPECT_TRUE(h.faults().empty()) << Lines(h.faults());
  }
}
