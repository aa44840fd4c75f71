// Points and vectors: arithmetic, lengths, ratios, null arguments and results
// that alias their operands.
#include "math_support.h"

#include <cfloat>
#include <functional>
#include <vector>

using namespace mathtest;

namespace {

struct BinaryCase {
  const char *name;
  std::function<TQ3Vector3D *(const TQ3Vector3D *, const TQ3Vector3D *, TQ3Vector3D *)> call;
  TQ3Vector3D a, b, want;
};

// Each call cast to vector records: points and vectors share their layout.
std::vector<BinaryCase> binaryCases() {
  using V = const TQ3Vector3D *;
  return {
      {"Vector3D_Add", Q3Vector3D_Add, {1, 2, 3}, {4, -5, 6}, {5, -3, 9}},
      {"Vector3D_Subtract", Q3Vector3D_Subtract, {1, 2, 3}, {4, -5, 6}, {-3, 7, -3}},
      {"Vector3D_Cross x y", Q3Vector3D_Cross, {1, 0, 0}, {0, 1, 0}, {0, 0, 1}},
      {"Vector3D_Cross", Q3Vector3D_Cross, {2, 3, 4}, {5, 6, 7}, {-3, 6, -3}},
      {"Point3D_Subtract",
       [](V a, V b, TQ3Vector3D *r) {
         return Q3Point3D_Subtract(reinterpret_cast<const TQ3Point3D *>(a), reinterpret_cast<const TQ3Point3D *>(b), r);
       },
       {1, 2, 3},
       {4, -5, 6},
       {-3, 7, -3}},
      {"Point3D_Vector3D_Add",
       [](V a, V b, TQ3Vector3D *r) {
         return reinterpret_cast<TQ3Vector3D *>(
             Q3Point3D_Vector3D_Add(reinterpret_cast<const TQ3Point3D *>(a), b, reinterpret_cast<TQ3Point3D *>(r)));
       },
       {1, 2, 3},
       {0.5f, 0.25f, -3},
       {1.5f, 2.25f, 0}},
      {"Point3D_Vector3D_Subtract",
       [](V a, V b, TQ3Vector3D *r) {
         return reinterpret_cast<TQ3Vector3D *>(Q3Point3D_Vector3D_Subtract(reinterpret_cast<const TQ3Point3D *>(a), b,
                                                                            reinterpret_cast<TQ3Point3D *>(r)));
       },
       {1, 2, 3},
       {0.5f, 0.25f, -3},
       {0.5f, 1.75f, 6}},
      {"Vector3D_TransformQuaternion by z quarter turn",
       [](V a, V, TQ3Vector3D *r) {
         TQ3Quaternion q;
         Q3Quaternion_SetRotate_Z(&q, kHalfPi);
         return Q3Vector3D_TransformQuaternion(a, &q, r);
       },
       {1, 2, 3},
       {0, 0, 0},
       {-2, 1, 3}},
  };
}

TEST(MathVector, BinaryOperationsGiveHandComputedValues) {
  for (const BinaryCase &c : binaryCases()) {
    TQ3Vector3D r{99, 99, 99};
    EXPECT_EQ(c.call(&c.a, &c.b, &r), &r) << c.name;
    EXPECT_TRUE(near3(r, c.want, 1e-6)) << c.name;
  }
}

TEST(MathVector, ResultMayBeEitherOperand) {
  for (const BinaryCase &c : binaryCases()) {
    TQ3Vector3D separate;
    c.call(&c.a, &c.b, &separate);
    TQ3Vector3D r = c.a;
    EXPECT_EQ(c.call(&r, &c.b, &r), &r) << c.name;
    EXPECT_TRUE(sameBits(r, separate)) << c.name << " with the result as first operand";
    r = c.b;
    c.call(&c.a, &r, &r);
    EXPECT_TRUE(sameBits(r, separate)) << c.name << " with the result as second operand";
  }
}

TEST(MathVector, UnaryOperationsInPlaceAndSeparate) {
  struct Case {
    const char *name;
    std::function<TQ3Vector3D *(const TQ3Vector3D *, TQ3Vector3D *)> call;
    TQ3Vector3D in, want;
  } cases[] = {
      {"Scale",
       [](const TQ3Vector3D *v, TQ3Vector3D *r) { return Q3Vector3D_Scale(v, -2.5f, r); },
       {1, -2, 4},
       {-2.5f, 5, -10}},
      {"Negate", Q3Vector3D_Negate, {1, -2, 0}, {-1, 2, -0.0f}},
      {"Normalize", Q3Vector3D_Normalize, {3, 4, 0}, {0.6f, 0.8f, 0}},
      {"Normalize of zero stays zero", Q3Vector3D_Normalize, {0, 0, 0}, {0, 0, 0}},
      // In single precision the squared length of these underflows to zero or
      // overflows to infinity; the result must still be the unit vector.
      {"Normalize tiny", Q3Vector3D_Normalize, {1e-30f, 0, -1e-30f}, {0.70710678f, 0, -0.70710678f}},
      {"Normalize huge", Q3Vector3D_Normalize, {3e38f, 3e38f, 3e38f}, {0.57735027f, 0.57735027f, 0.57735027f}},
  };
  for (const Case &c : cases) {
    TQ3Vector3D r{7, 7, 7};
    EXPECT_EQ(c.call(&c.in, &r), &r);
    EXPECT_TRUE(near3(r, c.want, 1e-7)) << c.name;
    EXPECT_FALSE(hasNaN(r)) << c.name;
    TQ3Vector3D self = c.in;
    c.call(&self, &self);
    EXPECT_TRUE(sameBits(self, r)) << c.name << " in place";
  }
}

TEST(MathVector, LengthsDotsAndDistances) {
  const TQ3Vector3D v{3, 4, 12}, w{-1, 2, 0.5f};
  EXPECT_FLOAT_EQ(Q3Vector3D_Length(&v), 13.0f);
  EXPECT_FLOAT_EQ(Q3Vector3D_LengthSquared(&v), 169.0f);
  EXPECT_FLOAT_EQ(Q3Vector3D_Dot(&v, &w), 11.0f);
  const TQ3Vector2D a{3, 4}, b{1, -2};
  EXPECT_FLOAT_EQ(Q3Vector2D_Length(&a), 5.0f);
  EXPECT_FLOAT_EQ(Q3Vector2D_Dot(&a, &b), -5.0f);
  EXPECT_FLOAT_EQ(Q3Vector2D_Cross(&a, &b), -10.0f);

  const TQ3Point3D p{1, 2, 3}, q{4, 6, 15};
  EXPECT_FLOAT_EQ(Q3Point3D_Distance(&p, &q), 13.0f);
  EXPECT_FLOAT_EQ(Q3Point3D_DistanceSquared(&p, &q), 169.0f);
  const TQ3Point2D p2{1, 1}, q2{4, 5};
  EXPECT_FLOAT_EQ(Q3Point2D_Distance(&p2, &q2), 5.0f);
  const TQ3Param2D u{0, 0}, u2{0.3f, 0.4f};
  EXPECT_FLOAT_EQ(Q3Param2D_Distance(&u, &u2), 0.5f);

  // Tiny vectors keep their length: their squares are below the float range.
  const TQ3Vector3D tiny{3e-30f, 4e-30f, 0};
  EXPECT_FLOAT_EQ(Q3Vector3D_Length(&tiny), 5e-30f);
}

TEST(MathVector, TriangleNormalFollowsCounterClockwiseOrder) {
  const TQ3Point3D a{0, 0, 0}, b{1, 0, 0}, c{0, 1, 0};
  TQ3Vector3D n;
  EXPECT_EQ(Q3Point3D_CrossProductTri(&a, &b, &c, &n), &n);
  EXPECT_TRUE(near3(n, 0, 0, 1, 0));
  Q3Point3D_CrossProductTri(&a, &c, &b, &n);
  EXPECT_TRUE(near3(n, 0, 0, -1, 0));
}

TEST(MathVector, FrustumCornerTriplesGiveInwardNormals) {
  // The view derives its frustum planes from corner triples in this order; in
  // frustum space every normal must point towards the frustum's centre.
  const TQ3Point3D k[8] = {{-1, 1, 0},  {1, 1, 0},  {1, -1, 0},  {-1, -1, 0},
                           {-1, 1, -1}, {1, 1, -1}, {1, -1, -1}, {-1, -1, -1}};
  const int planes[6][4] = {{0, 1, 2, 1}, {6, 5, 4, 5}, {4, 5, 1, 5}, {7, 3, 2, 3}, {0, 3, 7, 3}, {6, 2, 5, 2}};
  const TQ3Vector3D inward[6] = {{0, 0, -1}, {0, 0, 1}, {0, -1, 0}, {0, 1, 0}, {1, 0, 0}, {-1, 0, 0}};
  for (int i = 0; i < 6; ++i) {
    TQ3Vector3D n;
    Q3Point3D_CrossProductTri(&k[planes[i][0]], &k[planes[i][1]], &k[planes[i][2]], &n);
    Q3Vector3D_Normalize(&n, &n);
    EXPECT_TRUE(near3(n, inward[i], 1e-7)) << "plane " << i;
  }
}

TEST(MathPoint, RelativeRatioMeasuresFromTheFirstPoint) {
  const TQ3Point3D p1{0, 0, 0}, p2{10, -20, 4};
  TQ3Point3D r;
  EXPECT_EQ(Q3Point3D_RRatio(&p1, &p2, 1, 3, &r), &r);
  EXPECT_TRUE(near3(r, 2.5, -5, 1, 1e-6));
  const TQ3Point2D a{2, 2}, b{6, 10};
  TQ3Point2D r2;
  Q3Point2D_RRatio(&a, &b, 3, 1, &r2);
  EXPECT_FLOAT_EQ(r2.x, 5);
  EXPECT_FLOAT_EQ(r2.y, 8);
  const TQ3RationalPoint4D h1{0, 0, 0, 1}, h2{4, 8, 12, 3};
  TQ3RationalPoint4D r4;
  Q3RationalPoint4D_RRatio(&h1, &h2, 1, 1, &r4);
  EXPECT_FLOAT_EQ(r4.x, 2);
  EXPECT_FLOAT_EQ(r4.w, 2);

  // No ratio at all: fail and leave the result alone rather than divide by 0.
  clearErrors();
  r = {7, 7, 7};
  EXPECT_EQ(Q3Point3D_RRatio(&p1, &p2, 1, -1, &r), nullptr);
  EXPECT_EQ(takeError(), kQ3ErrorParameterOutOfRange);
  EXPECT_TRUE(near3(r, 7, 7, 7, 0));
}

TEST(MathPoint, AffineCombinationWeighsEachPoint) {
  const TQ3Point3D pts[3] = {{0, 0, 0}, {4, 0, 0}, {0, 8, 4}};
  const float weights[3] = {0.5f, 0.25f, 0.25f};
  TQ3Point3D r;
  EXPECT_EQ(Q3Point3D_AffineComb(pts, weights, 3, &r), &r);
  EXPECT_TRUE(near3(r, 1, 2, 1, 1e-6));
  const TQ3Param2D uv[2] = {{0, 1}, {1, 0}};
  const float half[2] = {0.5f, 0.5f};
  TQ3Param2D m;
  Q3Param2D_AffineComb(uv, half, 2, &m);
  EXPECT_FLOAT_EQ(m.u, 0.5f);
  EXPECT_FLOAT_EQ(m.v, 0.5f);
}

TEST(MathPoint, DimensionChangesDivideByAWeightOtherThanZeroOrOne) {
  const TQ3Point3D p{1, 2, 3};
  TQ3RationalPoint4D h;
  Q3Point3D_To4D(&p, &h);
  EXPECT_TRUE(near3(h, p, 0));
  EXPECT_EQ(h.w, 1.0f);

  struct Case {
    TQ3RationalPoint4D in;
    TQ3Point3D want;
  } cases[] = {
      {{2, 4, 6, 2}, {1, 2, 3}},
      {{2, 4, 6, 1}, {2, 4, 6}},
      {{2, 4, 6, 0}, {2, 4, 6}}, // a point at infinity keeps its direction, not infinities
      {{2, 4, 6, -0.5f}, {-4, -8, -12}},
  };
  for (const Case &c : cases) {
    TQ3Point3D r;
    Q3RationalPoint4D_To3D(&c.in, &r);
    EXPECT_TRUE(near3(r, c.want, 0)) << "w " << c.in.w;
  }
  const TQ3RationalPoint3D r3{3, 6, 3};
  TQ3Point2D p2;
  Q3RationalPoint3D_To2D(&r3, &p2);
  EXPECT_EQ(p2.x, 1.0f);
  EXPECT_EQ(p2.y, 2.0f);
}

TEST(MathVector, NullArgumentsPostAnErrorAndWriteNothing) {
  clearErrors();
  TQ3Vector3D v{1, 2, 3};
  const TQ3Vector3D keep = v;
  TQ3Point3D p{1, 2, 3};
  EXPECT_EQ(Q3Vector3D_Add(&v, nullptr, &v), nullptr);
  EXPECT_EQ(takeError(), kQ3ErrorNULLParameter);
  EXPECT_EQ(Q3Vector3D_Normalize(nullptr, &v), nullptr);
  EXPECT_EQ(takeError(), kQ3ErrorNULLParameter);
  EXPECT_EQ(Q3Vector3D_Cross(&v, &v, nullptr), nullptr);
  EXPECT_EQ(takeError(), kQ3ErrorNULLParameter);
  EXPECT_EQ(Q3Point3D_Subtract(&p, nullptr, &v), nullptr);
  EXPECT_EQ(takeError(), kQ3ErrorNULLParameter);
  EXPECT_TRUE(sameBits(v, keep));
  EXPECT_EQ(Q3Vector3D_Length(nullptr), 0.0f);
  EXPECT_EQ(takeError(), kQ3ErrorNULLParameter);
  EXPECT_EQ(Q3Point3D_Distance(&p, nullptr), 0.0f);
  EXPECT_EQ(takeError(), kQ3ErrorNULLParameter);
  EXPECT_EQ(Q3Point3D_Set(nullptr, 1, 2, 3), nullptr);
  EXPECT_EQ(takeError(), kQ3ErrorNULLParameter);
  EXPECT_EQ(Q3Point3D_AffineComb(nullptr, nullptr, 2, &p), nullptr);
  EXPECT_EQ(takeError(), kQ3ErrorNULLParameter);
}

TEST(MathVector, AngleHelpersConvertBothWays) {
  EXPECT_FLOAT_EQ(Q3Math_DegreesToRadians(180.0f), kPi);
  EXPECT_FLOAT_EQ(Q3Math_DegreesToRadians(-90), -kHalfPi);
  EXPECT_FLOAT_EQ(Q3Math_RadiansToDegrees(kHalfPi), 90.0f);
}

} // namespace
