// Matrices: rotation directions and order, inversion (and refusing singular
// matrices), determinants, and results that alias their operands.
#include "math_support.h"

#include <cfloat>
#include <functional>
#include <limits>
#include <vector>

using namespace mathtest;

namespace {

TQ3Point3D apply(const TQ3Matrix4x4 &m, TQ3Point3D p) {
  Q3Point3D_Transform(&p, &m, &p);
  return p;
}

TQ3Matrix4x4 product(const TQ3Matrix4x4 &a, const TQ3Matrix4x4 &b) {
  TQ3Matrix4x4 r;
  Q3Matrix4x4_Multiply(&a, &b, &r);
  return r;
}

// A positive angle turns counter-clockwise seen from the axis's tip: about x,
// y goes to z; about y, z goes to x; about z, x goes to y.
struct Turn {
  const char *axisName;
  TQ3Vector3D axis;
  TQ3Point3D from, to;
} const kQuarterTurns[] = {
    {"x", {1, 0, 0}, {0, 1, 0}, {0, 0, 1}},
    {"y", {0, 1, 0}, {0, 0, 1}, {1, 0, 0}},
    {"z", {0, 0, 1}, {1, 0, 0}, {0, 1, 0}},
};

TEST(MathMatrix, PositiveAnglesTurnCounterClockwiseAboutEveryAxis) {
  const TQ3Point3D origin{0, 0, 0};
  for (const Turn &t : kQuarterTurns) {
    TQ3Matrix4x4 byName, byAxis;
    if (t.axis.x != 0) Q3Matrix4x4_SetRotate_X(&byName, kHalfPi);
    if (t.axis.y != 0) Q3Matrix4x4_SetRotate_Y(&byName, kHalfPi);
    if (t.axis.z != 0) Q3Matrix4x4_SetRotate_Z(&byName, kHalfPi);
    Q3Matrix4x4_SetRotateAboutAxis(&byAxis, &origin, &t.axis, kHalfPi);
    EXPECT_TRUE(near3(apply(byName, t.from), t.to, 1e-7)) << "SetRotate_" << t.axisName;
    EXPECT_TRUE(near3(apply(byAxis, t.from), t.to, 1e-7)) << "SetRotateAboutAxis " << t.axisName;
    const TQ3Point3D angles{t.axis.x * kHalfPi, t.axis.y * kHalfPi, t.axis.z * kHalfPi};
    Q3Matrix4x4_SetRotate_XYZ(&byName, angles.x, angles.y, angles.z);
    EXPECT_TRUE(near3(apply(byName, t.from), t.to, 1e-7)) << "SetRotate_XYZ " << t.axisName;
  }
}

TEST(MathMatrix, RotateXYZTurnsAboutXThenYThenZ) {
  TQ3Matrix4x4 xyz, x, y, z;
  Q3Matrix4x4_SetRotate_XYZ(&xyz, kHalfPi, kHalfPi, 0);
  // x first takes (0, 1, 0) to (0, 0, 1), which y then takes to (1, 0, 0);
  // the other order would end at (0, 0, 1).
  EXPECT_TRUE(near3(apply(xyz, {0, 1, 0}), 1, 0, 0, 1e-7));

  const float ax = 0.4f, ay = -1.2f, az = 2.5f;
  Q3Matrix4x4_SetRotate_X(&x, ax);
  Q3Matrix4x4_SetRotate_Y(&y, ay);
  Q3Matrix4x4_SetRotate_Z(&z, az);
  Q3Matrix4x4_SetRotate_XYZ(&xyz, ax, ay, az);
  EXPECT_TRUE(nearMatrix(xyz, product(product(x, y), z), 1e-6));
}

TEST(MathMatrix, RotationsAboutPointsAndAxesKeepTheirCentreFixed) {
  const TQ3Point3D centre{1, 0, 0};
  const TQ3Vector3D zAxis{0, 0, 1};
  TQ3Matrix4x4 m;
  Q3Matrix4x4_SetRotateAboutAxis(&m, &centre, &zAxis, kHalfPi);
  EXPECT_TRUE(near3(apply(m, {2, 0, 0}), 1, 1, 0, 1e-6));
  EXPECT_TRUE(near3(apply(m, centre), centre, 1e-7));

  Q3Matrix4x4_SetRotateAboutPoint(&m, &centre, 0, 0, kHalfPi);
  EXPECT_TRUE(near3(apply(m, {2, 0, 5}), 1, 1, 5, 1e-6));
  EXPECT_TRUE(near3(apply(m, centre), centre, 1e-7));

  // An oblique axis: a third of a turn about (1, 1, 1) cycles the axes.
  const float s = 1.0f / std::sqrt(3.0f);
  const TQ3Vector3D diagonal{s, s, s};
  const TQ3Point3D origin{0, 0, 0};
  Q3Matrix4x4_SetRotateAboutAxis(&m, &origin, &diagonal, 2.0f * kPi / 3.0f);
  EXPECT_TRUE(near3(apply(m, {1, 0, 0}), 0, 1, 0, 1e-6));
  EXPECT_TRUE(near3(apply(m, {0, 1, 0}), 0, 0, 1, 1e-6));
}

TEST(MathMatrix, VectorToVectorTakesTheFirstDirectionToTheSecond) {
  const struct {
    TQ3Vector3D from, to;
  } cases[] = {
      {{1, 0, 0}, {0, 1, 0}},  {{0, 0, 5}, {3, 0, 0}},   {{1, 2, 3}, {1, 2, 3}},    {{1, 0, 0}, {-1, 0, 0}},
      {{0, 2, 0}, {0, -1, 0}}, {{1, 1, 0}, {-2, -2, 0}}, {{1, 2, 3}, {-1, -2, -3}}, {{1, 1, 1}, {-1, 1, 0}},
  };
  for (const auto &c : cases) {
    TQ3Matrix4x4 m;
    EXPECT_EQ(Q3Matrix4x4_SetRotateVectorToVector(&m, &c.from, &c.to), &m);
    TQ3Vector3D turned, want;
    Q3Vector3D_Transform(&c.from, &m, &turned);
    Q3Vector3D_Normalize(&turned, &turned);
    Q3Vector3D_Normalize(&c.to, &want);
    EXPECT_TRUE(near3(turned, want, 1e-6)) << "(" << c.from.x << ", " << c.from.y << ", " << c.from.z << ") to ("
                                           << c.to.x << ", " << c.to.y << ", " << c.to.z << ")";
    EXPECT_NEAR(Q3Matrix4x4_Determinant(&m), 1.0, 1e-6) << "a rotation, not a reflection";
  }
  // A zero vector has no direction: no turn.
  const TQ3Vector3D zero{0, 0, 0}, x{1, 0, 0};
  TQ3Matrix4x4 m;
  Q3Matrix4x4_SetRotateVectorToVector(&m, &zero, &x);
  EXPECT_TRUE(nearMatrix(m, identity4(), 0));
}

std::vector<TQ3Matrix4x4> invertibleMatrices() {
  std::vector<TQ3Matrix4x4> ms;
  TQ3Matrix4x4 r, s, t;
  Q3Matrix4x4_SetRotate_XYZ(&r, 0.3f, 1.2f, -2.0f);
  Q3Matrix4x4_SetScale(&s, 2, 0.5f, -3);
  Q3Matrix4x4_SetTranslate(&t, 10, -20, 5);
  ms.push_back(product(product(s, r), t));
  // A perspective-like matrix with a projective column.
  ms.push_back({{{1.5f, 0, 0, 0}, {0, 2, 0, 0}, {0, 0, -1.2f, -1}, {0, 0, -2.2f, 0}}});
  // Dense and unstructured.
  ms.push_back({{{2, -1, 0, 3}, {1, 4, -2, 0.5f}, {0, 3, 5, -1}, {-2, 0, 1, 6}}});
  // Needs row exchanges: a zero on the diagonal.
  ms.push_back({{{0, 1, 0, 0}, {0, 0, 1, 0}, {1, 0, 0, 0}, {0, 0, 0, 1}}});
  // Widely scaled axes are no reason to refuse the inverse.
  Q3Matrix4x4_SetScale(&s, 1e-10f, 1, 1e10f);
  ms.push_back(s);
  return ms;
}

TEST(MathMatrix, InverseTimesMatrixIsIdentity) {
  const TQ3Matrix4x4 id = identity4();
  for (const TQ3Matrix4x4 &m : invertibleMatrices()) {
    clearErrors();
    TQ3Matrix4x4 inv;
    ASSERT_EQ(Q3Matrix4x4_Invert(&m, &inv), &inv);
    EXPECT_EQ(takeError(), kQ3ErrorNone);
    EXPECT_TRUE(nearMatrix(product(m, inv), id, 1e-5));
    EXPECT_TRUE(nearMatrix(product(inv, m), id, 1e-5));
    TQ3Matrix4x4 self = m;
    Q3Matrix4x4_Invert(&self, &self);
    EXPECT_TRUE(sameBits(self, inv)) << "inverted in place";
  }
  TQ3Matrix4x4 s, inv;
  Q3Matrix4x4_SetScale(&s, 1e-10f, 1, 1e10f);
  Q3Matrix4x4_Invert(&s, &inv);
  EXPECT_FLOAT_EQ(inv.value[0][0], 1e10f);
  EXPECT_FLOAT_EQ(inv.value[2][2], 1e-10f);

  const TQ3Matrix3x3 m3{{{2, -1, 0}, {1, 4, -2}, {0, 3, 5}}};
  TQ3Matrix3x3 inv3, id3, p3;
  Q3Matrix3x3_SetIdentity(&id3);
  ASSERT_EQ(Q3Matrix3x3_Invert(&m3, &inv3), &inv3);
  Q3Matrix3x3_Multiply(&m3, &inv3, &p3);
  EXPECT_TRUE(nearMatrix(p3, id3, 1e-6));
}

TEST(MathMatrix, SingularMatricesAreRefusedAndTheResultKept) {
  const float nan = std::numeric_limits<float>::quiet_NaN();
  const TQ3Matrix4x4 singular[] = {
      {{{1, 2, 3, 4}, {2, 4, 6, 8}, {0, 1, 0, 0}, {0, 0, 0, 1}}},      // two proportional rows
      {{{1, 2, 3, 0}, {4, 5, 6, 0}, {7, 8, 9, 0}, {0, 0, 0, 1}}},      // rank 2 upper block
      {{{0, 0, 0, 0}, {0, 0, 0, 0}, {0, 0, 0, 0}, {0, 0, 0, 0}}},      // zero
      {{{1, 0, 0, 0}, {0, 1, 0, 0}, {0, 0, 0, 0}, {0, 0, 0, 1}}},      // flattens z
      {{{1, 0, 0, 0}, {0, nan, 0, 0}, {0, 0, 1, 0}, {0, 0, 0, 1}}},    // not a number
      {{{1e-39f, 0, 0, 0}, {0, 1, 0, 0}, {0, 0, 1, 0}, {0, 0, 0, 1}}}, // inverse beyond float range
  };
  for (const TQ3Matrix4x4 &m : singular) {
    clearErrors();
    TQ3Matrix4x4 result;
    Q3Matrix4x4_SetRotate_X(&result, 0.5f);
    const TQ3Matrix4x4 before = result;
    EXPECT_EQ(Q3Matrix4x4_Invert(&m, &result), nullptr);
    EXPECT_EQ(takeError(), kQ3ErrorNonInvertibleMatrix);
    EXPECT_TRUE(sameBits(result, before));
    EXPECT_FALSE(hasNaN(result));
  }
  const TQ3Matrix3x3 flat{{{1, 2, 3}, {2, 4, 6}, {1, 1, 1}}};
  TQ3Matrix3x3 r3;
  Q3Matrix3x3_SetIdentity(&r3);
  clearErrors();
  EXPECT_EQ(Q3Matrix3x3_Invert(&flat, &r3), nullptr);
  EXPECT_EQ(takeError(), kQ3ErrorNonInvertibleMatrix);
  EXPECT_EQ(r3.value[1][1], 1.0f);
}

TEST(MathMatrix, Determinants) {
  TQ3Matrix4x4 m;
  EXPECT_EQ(Q3Matrix4x4_Determinant(Q3Matrix4x4_SetIdentity(&m)), 1.0f);
  EXPECT_FLOAT_EQ(Q3Matrix4x4_Determinant(Q3Matrix4x4_SetScale(&m, 2, 3, 4)), 24.0f);
  EXPECT_NEAR(Q3Matrix4x4_Determinant(Q3Matrix4x4_SetRotate_XYZ(&m, 1, 2, 3)), 1.0f, 1e-6);
  Q3Matrix4x4_SetTranslate(&m, 4, 5, 6);
  EXPECT_FLOAT_EQ(Q3Matrix4x4_Determinant(&m), 1.0f);
  const TQ3Matrix4x4 swap{{{0, 1, 0, 0}, {1, 0, 0, 0}, {0, 0, 1, 0}, {0, 0, 0, 1}}};
  EXPECT_EQ(Q3Matrix4x4_Determinant(&swap), -1.0f);
  const TQ3Matrix4x4 dense{{{2, -1, 0, 3}, {1, 4, -2, 0.5f}, {0, 3, 5, -1}, {-2, 0, 1, 6}}};
  EXPECT_FLOAT_EQ(Q3Matrix4x4_Determinant(&dense), 502.0f);
  const TQ3Matrix3x3 m3{{{2, -1, 0}, {1, 4, -2}, {0, 3, 5}}}, flat{{{1, 2, 3}, {4, 5, 6}, {7, 8, 9}}};
  EXPECT_FLOAT_EQ(Q3Matrix3x3_Determinant(&m3), 57.0f);
  EXPECT_EQ(Q3Matrix3x3_Determinant(&flat), 0.0f);
}

TEST(MathMatrix, AdjointIsDeterminantTimesInverse) {
  const TQ3Matrix3x3 m{{{2, -1, 0}, {1, 4, -2}, {0, 3, 5}}};
  TQ3Matrix3x3 adj, p;
  EXPECT_EQ(Q3Matrix3x3_Adjoint(&m, &adj), &adj);
  Q3Matrix3x3_Multiply(&m, &adj, &p);
  for (int i = 0; i < 3; ++i)
    for (int j = 0; j < 3; ++j) EXPECT_FLOAT_EQ(p.value[i][j], i == j ? 57.0f : 0.0f) << i << j;
  TQ3Matrix3x3 self = m;
  Q3Matrix3x3_Adjoint(&self, &self);
  EXPECT_TRUE(sameBits(self, adj));
}

TEST(MathMatrix, ProductsAndTransposesMayOverwriteAnOperand) {
  TQ3Matrix4x4 a{{{2, -1, 0, 3}, {1, 4, -2, 0.5f}, {0, 3, 5, -1}, {-2, 0, 1, 6}}}, b;
  Q3Matrix4x4_SetRotate_XYZ(&b, 0.5f, 0.25f, -1.0f);
  b.value[3][1] = 7;
  const TQ3Matrix4x4 ab = product(a, b), aa = product(a, a);
  TQ3Matrix4x4 r = a;
  Q3Matrix4x4_Multiply(&r, &b, &r);
  EXPECT_TRUE(sameBits(r, ab)) << "result as first operand";
  r = b;
  Q3Matrix4x4_Multiply(&a, &r, &r);
  EXPECT_TRUE(sameBits(r, ab)) << "result as second operand";
  r = a;
  Q3Matrix4x4_Multiply(&r, &r, &r);
  EXPECT_TRUE(sameBits(r, aa)) << "squared in place";

  TQ3Matrix4x4 t;
  Q3Matrix4x4_Transpose(&a, &t);
  EXPECT_EQ(t.value[0][3], -2.0f);
  EXPECT_EQ(t.value[3][0], 3.0f);
  r = a;
  Q3Matrix4x4_Transpose(&r, &r);
  EXPECT_TRUE(sameBits(r, t));

  TQ3Matrix3x3 m3{{{1, 2, 3}, {4, 5, 6}, {7, 8, 9}}}, t3, p3;
  Q3Matrix3x3_Transpose(&m3, &t3);
  Q3Matrix3x3_Multiply(&m3, &t3, &p3);
  Q3Matrix3x3_Transpose(&m3, &m3);
  EXPECT_TRUE(sameBits(m3, t3));
  EXPECT_EQ(p3.value[0][0], 14.0f);
  EXPECT_EQ(p3.value[0][2], 50.0f);
  Q3Matrix3x3_Transpose(&m3, &m3);
  Q3Matrix3x3_Multiply(&m3, &t3, &m3);
  EXPECT_TRUE(sameBits(m3, p3));
}

TEST(MathMatrix, NullArgumentsPostAnError) {
  clearErrors();
  TQ3Matrix4x4 m = identity4();
  EXPECT_EQ(Q3Matrix4x4_Invert(nullptr, &m), nullptr);
  EXPECT_EQ(takeError(), kQ3ErrorNULLParameter);
  EXPECT_EQ(Q3Matrix4x4_Multiply(&m, nullptr, &m), nullptr);
  EXPECT_EQ(takeError(), kQ3ErrorNULLParameter);
  EXPECT_EQ(Q3Matrix4x4_SetRotateAboutAxis(&m, nullptr, nullptr, 1), nullptr);
  EXPECT_EQ(takeError(), kQ3ErrorNULLParameter);
  EXPECT_EQ(Q3Matrix4x4_Determinant(nullptr), 0.0f);
  EXPECT_EQ(takeError(), kQ3ErrorNULLParameter);
  EXPECT_TRUE(nearMatrix(m, identity4(), 0));
}

} // namespace
