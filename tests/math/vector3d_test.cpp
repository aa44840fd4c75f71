// Vector3D through the host, as scripts use it.
#include "math_support.h"

#include <limits>
#include <vector>

using namespace mathtest;

namespace {
const double kNaN = std::numeric_limits<double>::quiet_NaN();
const double kInfinity = std::numeric_limits<double>::infinity();
} // namespace

TEST_F(MathTest, Vector3DConstructorsAndCopy) {
  Ref source = Vec(1.5, -2.0, 3.25);
  Ref nil;
  const struct {
    const char *what;
    std::vector<Value> args;
    Xyz expected;
  } cases[] = {
      {"no arguments", {}, {0, 0, 0}},
      {"three Doubles, rounded to single precision", {0.1, -0.2, 1e-3}, {F(0.1), F(-0.2), F(1e-3)}},
      {"three Integers", {1, 2, 3}, {1, 2, 3}},
      {"a vector", {source}, {1.5f, -2.0f, 3.25f}},
      {"nil", {nil}, {0, 0, 0}},
  };
  for (const auto &c : cases) {
    Ref v = h.New("Vector3D", c.args);
    EXPECT_EQ(VectorOf(v), c.expected) << c.what;
  }

  Ref v = Vec(7, 8, 9);
  v.call("Copy", source);
  EXPECT_EQ(VectorOf(v), (Xyz{1.5f, -2.0f, 3.25f}));
  source.set("X", 4.0); // a copy, not a shared block
  EXPECT_EQ(VectorOf(v).x, 1.5f);
  v.call("Copy", nil);
  EXPECT_EQ(VectorOf(v), (Xyz{0, 0, 0}));
}

TEST_F(MathTest, Vector3DPropertiesAreTheirOwnFields) {
  Ref v = h.New("Vector3D");
  v.set("X", 0.1);
  v.set("Y", -2.5);
  v.set("Z", 1e-45); // the smallest single-precision subnormal survives
  EXPECT_EQ(VectorOf(v), (Xyz{F(0.1), -2.5f, F(1e-45)}));
  EXPECT_EQ(v.get("X").asDouble(), static_cast<double>(F(0.1)));
  EXPECT_EQ(v.get("Y").asDouble(), -2.5);
  EXPECT_EQ(v.get("Z").asDouble(), static_cast<double>(F(1e-45)));
}

TEST_F(MathTest, Vector3DLengths) {
  Ref v = Vec(3, 4, 0);
  EXPECT_EQ(v.call("Length").asDouble(), 5.0);
  EXPECT_EQ(v.call("LenSquared").asDouble(), 25.0);

  // LenSquared is the double-precision sum; Length its single-precision root.
  Ref w = Vec(0.1, 0.2, 0.3);
  const double x = F(0.1), y = F(0.2), z = F(0.3);
  const double sum = x * x + y * y + z * z;
  ASSERT_NE(sum, static_cast<double>(F(sum))) << "the fixture needs a sum that single precision cannot hold";
  EXPECT_EQ(w.call("LenSquared").asDouble(), sum);
  EXPECT_EQ(w.call("Length").asDouble(), static_cast<double>(F(std::sqrt(static_cast<double>(F(sum))))));
}

TEST_F(MathTest, Vector3DAssigningLengthAndLenSquared) {
  const struct {
    Xyz start;
    const char *method;
    double value;
    Xyz expected;
  } cases[] = {
      {{3, 4, 0}, "Length", 10, {6, 8, 0}},
      {{3, 4, 0}, "Length", -5, {-3, -4, -0.0f}},
      {{3, 4, 0}, "Length", 0, {0, 0, 0}},
      {{3, 4, 0}, "Length", 5, {3, 4, 0}},
      {{0, 0, 0}, "Length", 5, {0, 0, 0}},
      {{0, 0, 0}, "LenSquared", 4, {0, 0, 0}},
      {{0, 0, 2}, "LenSquared", 25, {0, 0, 5}},
      {{3, 4, 0}, "LenSquared", 100, {6, 8, 0}},
      // Targets with no meaning leave the vector as it is instead of making
      // every component an infinity or not-a-number.
      {{3, 4, 0}, "LenSquared", -1, {3, 4, 0}},
      {{3, 4, 0}, "LenSquared", kNaN, {3, 4, 0}},
      {{3, 4, 0}, "Length", kNaN, {3, 4, 0}},
      {{3, 4, 0}, "Length", kInfinity, {3, 4, 0}},
      {{1, 0, 0}, "Length", 1e300, {1, 0, 0}},
      // A squared length beyond single precision gives no usable length: the
      // vector is kept rather than scaled to zero.
      {{1e20f, 0, 0}, "Length", 1, {1e20f, 0, 0}},
  };
  for (const auto &c : cases) {
    Ref v = Vec(c.start.x, c.start.y, c.start.z);
    v.assign(c.method, {}, c.value);
    EXPECT_EQ(VectorOf(v), c.expected) << c.start << " " << c.method << " = " << c.value;
  }
}

TEST_F(MathTest, Vector3DAssigningLengthItsOwnValueChangesNoBit) {
  for (const Xyz start : {Xyz{0.1f, 0.2f, 0.3f}, Xyz{-7.3f, 1e-3f, 12345.678f}, Xyz{0, 0, 1e-20f}}) {
    Ref v = Vec(start.x, start.y, start.z);
    v.assign("Length", {}, v.call("Length"));
    EXPECT_EQ(VectorOf(v), start);
  }
}

TEST_F(MathTest, Vector3DNormalize) {
  const struct {
    Xyz start, expected;
  } cases[] = {
      {{0, 0, 0}, {0, 0, 0}},
      {{0, 2, 0}, {0, 1, 0}},
      {{3, 4, 0}, {0.6f, 0.8f, 0}},
      {{0, 0, -1}, {0, 0, -1}},
      {{1e20f, 1e20f, 0}, {1e20f, 1e20f, 0}},
  };
  for (const auto &c : cases) {
    Ref v = Vec(c.start.x, c.start.y, c.start.z);
    v.call("Normalize");
    EXPECT_EQ(VectorOf(v), c.expected) << c.start;
  }
  Ref v = Vec(0.1, 0.2, 0.3);
  v.call("Normalize");
  EXPECT_NEAR(v.call("Length").asDouble(), 1.0, 1.2e-7);
}

TEST_F(MathTest, Vector3DArithmeticGivesNewVectorsOwnedByTheCaller) {
  Ref a = Vec(1, 2, 3), b = Vec(4, 5, 6);
  const struct {
    const char *method;
    Value arg;
    Xyz expected;
  } cases[] = {
      {"Cross", b, {-3, 6, -3}},           {"Plus", b, {5, 7, 9}},
      {"Minus", b, {-3, -3, -3}},          {"Times", 2.0, {2, 4, 6}},
      {"Times", -0.5, {-0.5f, -1, -1.5f}},
  };
  for (const auto &c : cases) {
    Ref r = a.call(c.method, c.arg).asObject();
    ASSERT_TRUE(r) << c.method;
    EXPECT_NE(r, a);
    EXPECT_EQ(r.references(), 1) << c.method;
    EXPECT_EQ(VectorOf(r), c.expected) << c.method;
  }
  EXPECT_EQ(VectorOf(a), (Xyz{1, 2, 3}));
  EXPECT_EQ(a.call("Dot", b).asDouble(), 32.0);

  Ref x = Vec(1, 0, 0), y = Vec(0, 1, 0);
  EXPECT_EQ(VectorOf(x.call("Cross", y).asObject()), (Xyz{0, 0, 1}));
  EXPECT_EQ(VectorOf(y.call("Cross", x).asObject()), (Xyz{0, 0, -1}));
}

TEST_F(MathTest, Vector3DInPlaceArithmetic) {
  Ref a = Vec(1, 2, 3), b = Vec(0.5, 0.5, 0.5);
  a.call("Add", b);
  EXPECT_EQ(VectorOf(a), (Xyz{1.5f, 2.5f, 3.5f}));
  a.call("Subtract", b);
  a.call("Subtract", b);
  EXPECT_EQ(VectorOf(a), (Xyz{0.5f, 1.5f, 2.5f}));
  a.call("MultiplyBy", -2.0);
  EXPECT_EQ(VectorOf(a), (Xyz{-1, -3, -5}));
  a.call("Add", a);
  EXPECT_EQ(VectorOf(a), (Xyz{-2, -6, -10}));
  EXPECT_EQ(VectorOf(b), (Xyz{0.5f, 0.5f, 0.5f}));
}

TEST_F(MathTest, Vector3DNilArguments) {
  Ref a = Vec(1, 2, 3);
  Ref nil;
  for (const char *method : {"Plus", "Minus", "Cross"}) {
    Ref r = a.call(method, nil).asObject();
    ASSERT_TRUE(r) << method;
    EXPECT_NE(r, a) << method;
    EXPECT_EQ(r.references(), 1) << method;
    const Xyz expected = std::string(method) == "Cross" ? Xyz{0, 0, 0} : Xyz{1, 2, 3};
    EXPECT_EQ(VectorOf(r), expected) << method;
  }
  EXPECT_EQ(a.call("Dot", nil).asDouble(), 0.0);
  a.call("Add", nil);
  a.call("Subtract", nil);
  EXPECT_EQ(VectorOf(a), (Xyz{1, 2, 3}));
}

// The scalar is rounded to single precision before it scales.
TEST_F(MathTest, Vector3DScalingRoundsTheScalarFirst) {
  const float s = F(0.1);
  for (const float x : {0.05f, 0.16f, 0.2f}) {
    const float expected = F(static_cast<double>(x) * s);
    ASSERT_NE(expected, F(x * 0.1)) << "the fixture must tell the two roundings apart for " << x;
    Ref v = Vec(x, -x, 0);
    EXPECT_EQ(VectorOf(v.call("Times", 0.1).asObject()), (Xyz{expected, -expected, 0})) << x;
    v.call("MultiplyBy", 0.1);
    EXPECT_EQ(VectorOf(v), (Xyz{expected, -expected, 0})) << x;
  }
}

// Without the host's instance services no new vector can be made: the members
// that return one answer nil and nothing else goes wrong.
TEST(Vector3DHost, MissingInstanceServicesGiveNil) {
  for (const char *withheld : {"pluginObjectType", "CreateInstance"}) {
    host::Config config;
    config.withheld = {withheld};
    host::Host h(config);
    h.load();
    {
      Ref a = h.New("Vector3D", 1.0, 2.0, 3.0);
      Ref nil;
      EXPECT_FALSE(a.call("Plus", a).asObject()) << withheld;
      EXPECT_FALSE(a.call("Minus", nil).asObject()) << withheld;
      EXPECT_FALSE(a.call("Cross", a).asObject()) << withheld;
      EXPECT_FALSE(a.call("Times", 2.0).asObject()) << withheld;
      EXPECT_EQ(a.call("Dot", a).asDouble(), 14.0);
    }
    EXPECT_EQ(h.counts(), host::Counts{}) << withheld;
    EXPECT_TRUE(h.faults().empty()) << Lines(h.faults());
  }
}

// Each host the library is loaded into answers for its own class type.
TEST(Vector3DHost, NewVectorsInSuccessiveHosts) {
  for (int run = 0; run < 2; ++run) {
    host::Host h;
    h.load();
    {
      Ref a = h.New("Vector3D", 1.0, 2.0, 3.0);
      Ref sum = a.call("Plus", a).asObject();
      ASSERT_TRUE(sum) << run;
      EXPECT_EQ(sum.className(), "Vector3D");
      EXPECT_EQ(VectorOf(sum), (Xyz{2, 4, 6}));
    }
    EXPECT_EQ(h.counts(), host::Counts{});
    EXPECT_TRUE(h.faults().empty()) << Lines(h.faults());
  }
}
