// Quaternions: "a, then b" products, true inverses, rotation directions,
// conversion to and from matrices, interpolation and the zero quaternion.
#include "math_support.h"

#include <cmath>
#include <functional>
#include <vector>

using namespace mathtest;

namespace {

TQ3Quaternion q(float w, float x, float y, float z) { return {w, x, y, z}; }

TQ3Quaternion aboutAxis(TQ3Vector3D axis, float angle) {
  TQ3Quaternion r;
  Q3Vector3D_Normalize(&axis, &axis);
  Q3Quaternion_SetRotateAboutAxis(&r, &axis, angle);
  return r;
}

TQ3Vector3D turn(const TQ3Quaternion &rotation, TQ3Vector3D v) {
  Q3Vector3D_TransformQuaternion(&v, &rotation, &v);
  return v;
}

TQ3Quaternion times(const TQ3Quaternion &a, const TQ3Quaternion &b) {
  TQ3Quaternion r;
  Q3Quaternion_Multiply(&a, &b, &r);
  return r;
}

double angleBetween(const TQ3Quaternion &a, const TQ3Quaternion &b) {
  const double d = std::fabs(double(a.w) * b.w + double(a.x) * b.x + double(a.y) * b.y + double(a.z) * b.z);
  return 2.0 * std::acos(std::fmin(1.0, d));
}

TEST(MathQuaternion, MultiplyIsFirstOperandThenSecond) {
  // The Hamilton product b a of a = {1, 2, 3, 4} and b = {5, 6, 7, 8}; a b
  // would be {-60, 12, 30, 24}.
  const TQ3Quaternion a = q(1, 2, 3, 4), b = q(5, 6, 7, 8);
  TQ3Quaternion r;
  EXPECT_EQ(Q3Quaternion_Multiply(&a, &b, &r), &r);
  EXPECT_TRUE(nearQ(r, -60, 20, 14, 32, 0));

  // As rotations: a quarter turn about x, then one about z.
  TQ3Quaternion rx, rz;
  Q3Quaternion_SetRotate_X(&rx, kHalfPi);
  Q3Quaternion_SetRotate_Z(&rz, kHalfPi);
  const TQ3Vector3D v{0, 1, 0};
  EXPECT_TRUE(near3(turn(times(rx, rz), v), turn(rz, turn(rx, v)), 1e-6));
  EXPECT_TRUE(near3(turn(times(rx, rz), v), 0, 0, 1, 1e-6));
  EXPECT_TRUE(near3(turn(times(rz, rx), v), -1, 0, 0, 1e-6));
}

TEST(MathQuaternion, PositiveAnglesTurnCounterClockwise) {
  const struct {
    const char *name;
    std::function<void(TQ3Quaternion *, float)> set;
    TQ3Vector3D axis, from, to;
  } cases[] = {
      {"X", Q3Quaternion_SetRotate_X, {1, 0, 0}, {0, 1, 0}, {0, 0, 1}},
      {"Y", Q3Quaternion_SetRotate_Y, {0, 1, 0}, {0, 0, 1}, {1, 0, 0}},
      {"Z", Q3Quaternion_SetRotate_Z, {0, 0, 1}, {1, 0, 0}, {0, 1, 0}},
  };
  for (const auto &c : cases) {
    TQ3Quaternion named, byAxis, xyz;
    c.set(&named, kHalfPi);
    Q3Quaternion_SetRotateAboutAxis(&byAxis, &c.axis, kHalfPi);
    Q3Quaternion_SetRotate_XYZ(&xyz, c.axis.x * kHalfPi, c.axis.y * kHalfPi, c.axis.z * kHalfPi);
    EXPECT_TRUE(near3(turn(named, c.from), c.to, 1e-6)) << c.name;
    EXPECT_TRUE(near3(turn(byAxis, c.from), c.to, 1e-6)) << c.name;
    EXPECT_TRUE(near3(turn(xyz, c.from), c.to, 1e-6)) << c.name;
    TQ3Point3D p{c.from.x, c.from.y, c.from.z};
    Q3Point3D_TransformQuaternion(&p, &named, &p);
    EXPECT_TRUE(near3(p, c.to, 1e-6)) << c.name;
  }
  // A third of a turn about (1, 1, 1) cycles the axes.
  EXPECT_TRUE(near3(turn(aboutAxis({1, 1, 1}, 2 * kPi / 3), {1, 0, 0}), 0, 1, 0, 1e-6));
}

TEST(MathQuaternion, RotateXYZMatchesTheMatrixOfTheSameAngles) {
  const float angles[][3] = {{0.3f, -1.1f, 2.0f}, {kHalfPi, kHalfPi, 0}, {-2.5f, 0.1f, 3.0f}};
  for (const auto &a : angles) {
    TQ3Quaternion rq;
    TQ3Matrix4x4 fromQuaternion, direct;
    Q3Quaternion_SetRotate_XYZ(&rq, a[0], a[1], a[2]);
    Q3Matrix4x4_SetQuaternion(&fromQuaternion, &rq);
    Q3Matrix4x4_SetRotate_XYZ(&direct, a[0], a[1], a[2]);
    EXPECT_TRUE(nearMatrix(fromQuaternion, direct, 1e-6)) << a[0] << " " << a[1] << " " << a[2];
  }
}

TEST(MathQuaternion, InvertIsTheTrueInverse) {
  TQ3Quaternion r;
  const TQ3Quaternion a = q(1, 2, 3, 4);
  EXPECT_EQ(Q3Quaternion_Invert(&a, &r), &r);
  EXPECT_TRUE(nearQ(r, 1.0 / 30, -2.0 / 30, -3.0 / 30, -4.0 / 30, 1e-8));
  EXPECT_TRUE(nearQ(times(a, r), 1, 0, 0, 0, 1e-6));
  EXPECT_TRUE(nearQ(times(r, a), 1, 0, 0, 0, 1e-6));
  const TQ3Quaternion two = q(2, 0, 0, 0);
  Q3Quaternion_Invert(&two, &r);
  EXPECT_TRUE(nearQ(r, 0.5, 0, 0, 0, 0));
  // The inverse undoes the rotation.
  const TQ3Quaternion turnIt = aboutAxis({1, -2, 0.5f}, 1.3f);
  Q3Quaternion_Invert(&turnIt, &r);
  EXPECT_TRUE(near3(turn(r, turn(turnIt, {3, -1, 2})), 3, -1, 2, 1e-5));
}

TEST(MathQuaternion, NonUnitQuaternionsRotateWithoutScaling) {
  TQ3Quaternion rz;
  Q3Quaternion_SetRotate_Z(&rz, kHalfPi);
  const TQ3Quaternion scaled = q(3 * rz.w, 3 * rz.x, 3 * rz.y, 3 * rz.z);
  EXPECT_TRUE(near3(turn(scaled, {2, 0, 0}), 0, 2, 0, 1e-6));
  TQ3Matrix4x4 m, unit;
  Q3Matrix4x4_SetQuaternion(&m, &scaled);
  Q3Matrix4x4_SetQuaternion(&unit, &rz);
  EXPECT_TRUE(nearMatrix(m, unit, 1e-6));
}

TEST(MathQuaternion, ZeroStaysZeroAndRotatesNothing) {
  const TQ3Quaternion zero = q(0, 0, 0, 0);
  const TQ3Quaternion unit = aboutAxis({0, 1, 0}, 0.7f);
  TQ3Quaternion r;
  Q3Quaternion_Normalize(&zero, &r);
  EXPECT_TRUE(nearQ(r, 0, 0, 0, 0, 0));
  Q3Quaternion_Invert(&zero, &r);
  EXPECT_TRUE(nearQ(r, 0, 0, 0, 0, 0));
  EXPECT_TRUE(near3(turn(zero, {1, 2, 3}), 1, 2, 3, 0));
  TQ3Matrix4x4 m;
  Q3Matrix4x4_SetQuaternion(&m, &zero);
  EXPECT_TRUE(nearMatrix(m, identity4(), 0));
  // Blends that cancel out, or start from zero, give no NaN.
  const TQ3Quaternion opposite = q(-unit.w, -unit.x, -unit.y, -unit.z);
  Q3Quaternion_InterpolateFast(&unit, &opposite, 0.5f, &r);
  EXPECT_FALSE(hasNaN(r));
  EXPECT_TRUE(nearQ(r, 0, 0, 0, 0, 1e-7));
  for (float t : {0.25f, 0.5f, 0.75f}) {
    Q3Quaternion_InterpolateLinear(&zero, &unit, t, &r);
    EXPECT_FALSE(hasNaN(r)) << t;
    Q3Quaternion_InterpolateLinear(&zero, &zero, t, &r);
    EXPECT_TRUE(nearQ(r, 0, 0, 0, 0, 0)) << t;
  }
  // A zero axis gives no turn.
  const TQ3Vector3D noAxis{0, 0, 0};
  Q3Quaternion_SetRotateAboutAxis(&r, &noAxis, 1.0f);
  EXPECT_TRUE(near3(turn(r, {1, 2, 3}), 1, 2, 3, 1e-6));
}

TEST(MathQuaternion, NormalizeGivesUnitLength) {
  const TQ3Quaternion cases[] = {q(2, 0, 0, 0), q(1, 2, 3, 4), q(1e-30f, 0, 1e-30f, 0), q(3e38f, 3e38f, 0, 0)};
  const TQ3Quaternion want[] = {q(1, 0, 0, 0), q(0.18257419f, 0.36514837f, 0.54772256f, 0.73029674f),
                                q(0.70710678f, 0, 0.70710678f, 0), q(0.70710678f, 0.70710678f, 0, 0)};
  for (int i = 0; i < 4; ++i) {
    TQ3Quaternion r = cases[i];
    Q3Quaternion_Normalize(&r, &r);
    EXPECT_TRUE(nearQ(r, want[i], 1e-7)) << i;
  }
}

TEST(MathQuaternion, MatrixRoundTrips) {
  std::vector<TQ3Quaternion> rotations = {
      q(1, 0, 0, 0),
      aboutAxis({1, 0, 0}, kPi), // w = 0: the trace is -1, the hardest case
      aboutAxis({0, 1, 0}, kPi),
      aboutAxis({0, 0, 1}, kPi),
      aboutAxis({1, 1, 0}, 3.1f),
      aboutAxis({-1, 2, 3}, 0.5f),
      aboutAxis({2, -1, 0.5f}, 2.9f),
      aboutAxis({0.2f, 0.3f, -1}, -2.0f),
  };
  for (const TQ3Quaternion &rq : rotations) {
    TQ3Matrix4x4 m, again;
    TQ3Quaternion back;
    Q3Matrix4x4_SetQuaternion(&m, &rq);
    EXPECT_EQ(Q3Quaternion_SetMatrix(&back, &m), &back);
    EXPECT_TRUE(sameRotation(back, rq, 2e-6));
    EXPECT_GE(back.w, 0.0f);
    Q3Matrix4x4_SetQuaternion(&again, &back);
    EXPECT_TRUE(nearMatrix(again, m, 2e-6));
    // The matrix turns points exactly as the quaternion does.
    TQ3Point3D p{1.5f, -2, 0.25f};
    const TQ3Vector3D byQuaternion = turn(rq, {p.x, p.y, p.z});
    Q3Point3D_Transform(&p, &m, &p);
    EXPECT_TRUE(near3(p, byQuaternion, 1e-5));
  }
  // A scaled, translated rotation still reads as its rotation.
  TQ3Matrix4x4 r, s;
  const TQ3Quaternion rq = aboutAxis({1, 2, 2}, 1.0f);
  Q3Matrix4x4_SetQuaternion(&r, &rq);
  Q3Matrix4x4_SetScale(&s, 4, 4, 4);
  Q3Matrix4x4_Multiply(&s, &r, &r);
  r.value[3][0] = 9;
  TQ3Quaternion back;
  Q3Quaternion_SetMatrix(&back, &r);
  EXPECT_TRUE(sameRotation(back, rq, 2e-6));
}

TEST(MathQuaternion, VectorToVector) {
  const struct {
    TQ3Vector3D from, to;
  } cases[] = {
      {{1, 0, 0}, {0, 1, 0}},    {{0, 0, 5}, {3, 0, 0}},       {{1, 0, 0}, {-1, 0, 0}},
      {{1, 2, 3}, {-2, -4, -6}}, {{1, 1, 1}, {1, 1, 1.0001f}},
  };
  for (const auto &c : cases) {
    TQ3Quaternion r;
    EXPECT_EQ(Q3Quaternion_SetRotateVectorToVector(&r, &c.from, &c.to), &r);
    TQ3Vector3D turned = turn(r, c.from), want;
    Q3Vector3D_Normalize(&turned, &turned);
    Q3Vector3D_Normalize(&c.to, &want);
    EXPECT_TRUE(near3(turned, want, 1e-6));
    EXPECT_NEAR(r.w * r.w + r.x * r.x + r.y * r.y + r.z * r.z, 1.0, 1e-6);
  }
  // The shortest turn: a quarter turn about the axis both are perpendicular to.
  const TQ3Vector3D x{1, 0, 0}, y{0, 1, 0};
  TQ3Quaternion r, rz;
  Q3Quaternion_SetRotateVectorToVector(&r, &x, &y);
  Q3Quaternion_SetRotate_Z(&rz, kHalfPi);
  EXPECT_TRUE(nearQ(r, rz, 1e-7));
}

TEST(MathQuaternion, MatchReflectionNegatesOnlyOnANegativeDot) {
  const TQ3Quaternion q2 = q(0.5f, 0.5f, 0.5f, 0.5f);
  const struct {
    TQ3Quaternion q1;
    bool negated;
  } cases[] = {
      {q(1, 0, 0, 0), false},
      {q(-1, 0, 0, 0), true},
      {q(0.5f, -0.5f, 0.5f, -0.5f), false}, // dot 0
      {q(-0.1f, -0.2f, 0.3f, -0.1f), true},
  };
  for (const auto &c : cases) {
    TQ3Quaternion r;
    EXPECT_EQ(Q3Quaternion_MatchReflection(&c.q1, &q2, &r), &r);
    const float s = c.negated ? -1.0f : 1.0f;
    EXPECT_TRUE(nearQ(r, s * c.q1.w, s * c.q1.x, s * c.q1.y, s * c.q1.z, 0));
    TQ3Quaternion self = c.q1;
    Q3Quaternion_MatchReflection(&self, &q2, &self);
    EXPECT_TRUE(sameBits(self, r));
  }
}

TEST(MathQuaternion, LinearInterpolationKeepsConstantAngularSpeed) {
  TQ3Quaternion from, to, r;
  Q3Quaternion_SetIdentity(&from);
  Q3Quaternion_SetRotate_Z(&to, kPi);
  for (float t : {0.1f, 0.25f, 0.5f, 0.8f}) {
    Q3Quaternion_InterpolateLinear(&from, &to, t, &r);
    TQ3Quaternion want;
    Q3Quaternion_SetRotate_Z(&want, t * kPi);
    EXPECT_TRUE(nearQ(r, want, 1e-6)) << t;
  }
  // The normalised blend is a different curve: a quarter of the way it has
  // turned 2 atan(1/3), not pi/4.
  Q3Quaternion_InterpolateFast(&from, &to, 0.25f, &r);
  EXPECT_NEAR(angleBetween(r, from), 2 * std::atan(1.0 / 3.0), 1e-6);
  EXPECT_NEAR(r.w * r.w + r.z * r.z, 1.0, 1e-6);

  // The spherical path between rotations with a negative dot product goes the
  // long way as given; matched first, it goes the short way.
  const TQ3Quaternion a = aboutAxis({0, 1, 0}, 0.2f), bFar = aboutAxis({0, 1, 0}, 2 * kPi - 0.2f);
  TQ3Quaternion matched;
  Q3Quaternion_InterpolateLinear(&a, &bFar, 0.5f, &r);
  EXPECT_NEAR(angleBetween(r, a), kPi - 0.2, 1e-5);
  Q3Quaternion_MatchReflection(&a, &bFar, &matched);
  Q3Quaternion_InterpolateLinear(&matched, &bFar, 0.5f, &r);
  EXPECT_NEAR(angleBetween(r, a), 0.2, 1e-5);
  EXPECT_TRUE(sameRotation(r, q(1, 0, 0, 0), 1e-6));

  // Exactly opposite quaternions: a unit result on some great circle.
  const TQ3Quaternion minusA = q(-a.w, -a.x, -a.y, -a.z);
  Q3Quaternion_InterpolateLinear(&a, &minusA, 0.5f, &r);
  EXPECT_NEAR(r.w * r.w + r.x * r.x + r.y * r.y + r.z * r.z, 1.0, 1e-6);
  EXPECT_NEAR(Q3Quaternion_Dot(&r, &a), 0.0, 1e-6);
}

TEST(MathQuaternion, InterpolationEndsAreTheOperandsExactly) {
  const TQ3Quaternion a = aboutAxis({1, 2, 3}, 0.9f), b = q(0.1f, 0.2f, -0.3f, 0.4f); // b is not unit
  for (auto interpolate : {Q3Quaternion_InterpolateLinear, Q3Quaternion_InterpolateFast}) {
    TQ3Quaternion r;
    EXPECT_EQ(interpolate(&a, &b, 0.0f, &r), &r);
    EXPECT_TRUE(sameBits(r, a));
    interpolate(&a, &b, 1.0f, &r);
    EXPECT_TRUE(sameBits(r, b));
    r = a;
    interpolate(&r, &b, 0.5f, &r);
    TQ3Quaternion separate;
    interpolate(&a, &b, 0.5f, &separate);
    EXPECT_TRUE(sameBits(r, separate)) << "result as first operand";
    r = b;
    interpolate(&a, &r, 0.5f, &r);
    EXPECT_TRUE(sameBits(r, separate)) << "result as second operand";
  }
}

TEST(MathQuaternion, InPlaceCallsEqualSeparateOnes) {
  const TQ3Quaternion a = aboutAxis({1, -1, 2}, 0.8f), b = aboutAxis({0, 3, 1}, -2.1f);
  const struct {
    const char *name;
    std::function<TQ3Quaternion *(const TQ3Quaternion *, const TQ3Quaternion *, TQ3Quaternion *)> call;
  } calls[] = {
      {"Multiply", Q3Quaternion_Multiply},
      {"MatchReflection", Q3Quaternion_MatchReflection},
      {"Normalize",
       [](const TQ3Quaternion *x, const TQ3Quaternion *, TQ3Quaternion *r) { return Q3Quaternion_Normalize(x, r); }},
      {"Invert",
       [](const TQ3Quaternion *x, const TQ3Quaternion *, TQ3Quaternion *r) { return Q3Quaternion_Invert(x, r); }},
      {"Copy", [](const TQ3Quaternion *x, const TQ3Quaternion *, TQ3Quaternion *r) { return Q3Quaternion_Copy(x, r); }},
  };
  for (const auto &c : calls) {
    TQ3Quaternion separate, r = a;
    c.call(&a, &b, &separate);
    c.call(&r, &b, &r);
    EXPECT_TRUE(sameBits(r, separate)) << c.name << " into its first operand";
    r = b;
    c.call(&a, &r, &r);
    EXPECT_TRUE(sameBits(r, separate)) << c.name << " into its second operand";
  }
  TQ3Vector3D v{1, 2, 3}, vs;
  Q3Vector3D_TransformQuaternion(&v, &a, &vs);
  Q3Vector3D_TransformQuaternion(&v, &a, &v);
  EXPECT_TRUE(sameBits(v, vs));
}

TEST(MathQuaternion, IdentityAndDot) {
  TQ3Quaternion r{5, 5, 5, 5};
  EXPECT_EQ(Q3Quaternion_IsIdentity(Q3Quaternion_SetIdentity(&r)), kQ3True);
  const TQ3Quaternion almost = q(1, 1e-7f, 0, 0), a = q(1, 2, 3, 4), b = q(5, 6, 7, 8);
  EXPECT_EQ(Q3Quaternion_IsIdentity(&almost), kQ3False);
  EXPECT_EQ(Q3Quaternion_Dot(&a, &b), 70.0f);
  clearErrors();
  EXPECT_EQ(Q3Quaternion_IsIdentity(nullptr), kQ3False);
  EXPECT_EQ(takeError(), kQ3ErrorNULLParameter);
  EXPECT_EQ(Q3Quaternion_Multiply(&a, nullptr, &r), nullptr);
  EXPECT_EQ(takeError(), kQ3ErrorNULLParameter);
  EXPECT_EQ(Q3Quaternion_InterpolateLinear(&a, &b, 0.5f, nullptr), nullptr);
  EXPECT_EQ(takeError(), kQ3ErrorNULLParameter);
  EXPECT_EQ(Q3Vector3D_TransformQuaternion(nullptr, &a, nullptr), nullptr);
  EXPECT_EQ(takeError(), kQ3ErrorNULLParameter);
}

} // namespace
