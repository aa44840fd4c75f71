// Points and vectors through matrices: row vectors on the left, translation in
// the fourth row, division by w, and the strided array forms.
#include "math_support.h"

#include <vector>

using namespace mathtest;

namespace {

// Maps (x, y, z) to (x, y, z) with w = z: a projective matrix.
TQ3Matrix4x4 wIsZ() {
  TQ3Matrix4x4 m = identity4();
  m.value[2][3] = 1;
  m.value[3][3] = 0;
  return m;
}

TEST(MathTransform, TranslationMovesPointsButNotVectors) {
  TQ3Matrix4x4 m;
  Q3Matrix4x4_SetTranslate(&m, 10, 20, 30);
  EXPECT_EQ(m.value[3][0], 10.0f) << "translation lives in the fourth row";
  const TQ3Point3D p{1, 2, 3};
  TQ3Point3D rp;
  EXPECT_EQ(Q3Point3D_Transform(&p, &m, &rp), &rp);
  EXPECT_TRUE(near3(rp, 11, 22, 33, 0));
  const TQ3Vector3D v{1, 2, 3};
  TQ3Vector3D rv;
  EXPECT_EQ(Q3Vector3D_Transform(&v, &m, &rv), &rv);
  EXPECT_TRUE(near3(rv, 1, 2, 3, 0));
}

TEST(MathTransform, PointsAreDividedByWUnlessItIsZeroOrOne) {
  const TQ3Matrix4x4 m = wIsZ();
  struct Case {
    TQ3Point3D in, want;
  } cases[] = {
      {{2, 4, 2}, {1, 2, 1}},       // w = 2
      {{3, 6, 1}, {3, 6, 1}},       // w = 1
      {{3, 6, 0}, {3, 6, 0}},       // w = 0: no division, no infinities
      {{1, 2, -0.5f}, {-2, -4, 1}}, // w < 0
  };
  for (const Case &c : cases) {
    TQ3Point3D r;
    Q3Point3D_Transform(&c.in, &m, &r);
    EXPECT_TRUE(near3(r, c.want, 0)) << "z " << c.in.z;
  }
  // Vectors ignore the projective column as well as translation.
  const TQ3Vector3D v{2, 4, 2};
  TQ3Vector3D rv;
  Q3Vector3D_Transform(&v, &m, &rv);
  EXPECT_TRUE(near3(rv, 2, 4, 2, 0));
  // The 4D form keeps w.
  const TQ3RationalPoint4D h{2, 4, 2, 1};
  TQ3RationalPoint4D rh;
  Q3RationalPoint4D_Transform(&h, &m, &rh);
  EXPECT_TRUE(near3(rh, 2, 4, 2, 0));
  EXPECT_EQ(rh.w, 2.0f);
}

TEST(MathTransform, ProductAppliesItsFirstMatrixFirst) {
  TQ3Matrix4x4 translate, scale, both;
  Q3Matrix4x4_SetTranslate(&translate, 1, 0, 0);
  Q3Matrix4x4_SetScale(&scale, 2, 2, 2);
  EXPECT_EQ(Q3Matrix4x4_Multiply(&translate, &scale, &both), &both);
  const TQ3Point3D p{1, 0, 0};
  TQ3Point3D r;
  Q3Point3D_Transform(&p, &both, &r);
  EXPECT_TRUE(near3(r, 4, 0, 0, 0)) << "translate then scale";
  Q3Matrix4x4_Multiply(&scale, &translate, &both);
  Q3Point3D_Transform(&p, &both, &r);
  EXPECT_TRUE(near3(r, 3, 0, 0, 0)) << "scale then translate";
}

TEST(MathTransform, ResultMayBeTheOperand) {
  TQ3Matrix4x4 m;
  Q3Matrix4x4_SetRotate_XYZ(&m, 0.3f, -0.7f, 1.1f);
  m.value[3][0] = 5, m.value[0][3] = 0.1f;
  TQ3Point3D p{1, 2, 3}, separate;
  Q3Point3D_Transform(&p, &m, &separate);
  Q3Point3D_Transform(&p, &m, &p);
  EXPECT_TRUE(sameBits(p, separate));
  TQ3Vector3D v{1, 2, 3}, vs;
  Q3Vector3D_Transform(&v, &m, &vs);
  Q3Vector3D_Transform(&v, &m, &v);
  EXPECT_TRUE(sameBits(v, vs));
  TQ3RationalPoint4D h{1, 2, 3, 0.5f}, hs;
  Q3RationalPoint4D_Transform(&h, &m, &hs);
  Q3RationalPoint4D_Transform(&h, &m, &h);
  EXPECT_TRUE(sameBits(h, hs));
}

TEST(MathTransform, TwoDimensionalPointsUseTheThirdRow) {
  TQ3Matrix3x3 m;
  Q3Matrix3x3_SetTranslate(&m, 5, -1);
  const TQ3Point2D p{1, 1};
  TQ3Point2D r;
  Q3Point2D_Transform(&p, &m, &r);
  EXPECT_FLOAT_EQ(r.x, 6);
  EXPECT_FLOAT_EQ(r.y, 0);
  const TQ3Vector2D v{1, 1};
  TQ3Vector2D rv;
  Q3Vector2D_Transform(&v, &m, &rv);
  EXPECT_FLOAT_EQ(rv.x, 1);
  EXPECT_FLOAT_EQ(rv.y, 1);

  // A positive quarter turn about (1, 1) carries (2, 1) to (1, 2).
  const TQ3Point2D centre{1, 1}, q{2, 1};
  Q3Matrix3x3_SetRotateAboutPoint(&m, &centre, kHalfPi);
  Q3Point2D_Transform(&q, &m, &r);
  EXPECT_NEAR(r.x, 1, 1e-6);
  EXPECT_NEAR(r.y, 2, 1e-6);
  const TQ3Param2D uv{2, 1};
  TQ3Param2D ruv;
  Q3Param2D_Transform(&uv, &m, &ruv);
  EXPECT_NEAR(ruv.u, 1, 1e-6);
  EXPECT_NEAR(ruv.v, 2, 1e-6);

  Q3Matrix3x3_SetScale(&m, 2, 3);
  m.value[0][2] = 1; // w = x + 1
  Q3Point2D_Transform(&q, &m, &r);
  EXPECT_FLOAT_EQ(r.x, 4.0f / 3.0f);
  EXPECT_FLOAT_EQ(r.y, 1.0f);
}

// A padded point record: arrays of these have a stride larger than the point.
struct PaddedPoint {
  TQ3Point3D p;
  float tag;
};

TEST(MathTransform, ArraysHonourStridesAndOverlap) {
  TQ3Matrix4x4 m = wIsZ();
  m.value[3][0] = 1; // x + 1 before the division
  const std::vector<TQ3Point3D> points = {{1, 2, 2}, {3, 4, 1}, {5, 6, 4}, {-1, 0, 0}};
  std::vector<TQ3Point3D> want(points.size());
  for (size_t i = 0; i < points.size(); ++i) Q3Point3D_Transform(&points[i], &m, &want[i]);

  // Padded input, packed output; the padding is left alone.
  std::vector<PaddedPoint> padded;
  for (const TQ3Point3D &p : points) padded.push_back({p, 99});
  std::vector<TQ3Point3D> out(points.size());
  EXPECT_EQ(Q3Point3D_To3DTransformArray(&padded[0].p, &m, out.data(), 4, sizeof(PaddedPoint), sizeof(TQ3Point3D)),
            kQ3Success);
  for (size_t i = 0; i < points.size(); ++i) EXPECT_TRUE(sameBits(out[i], want[i])) << i;

  // In place, padded.
  EXPECT_EQ(Q3Point3D_To3DTransformArray(&padded[0].p, &m, &padded[0].p, 4, sizeof(PaddedPoint), sizeof(PaddedPoint)),
            kQ3Success);
  for (size_t i = 0; i < points.size(); ++i) {
    EXPECT_TRUE(sameBits(padded[i].p, want[i])) << i;
    EXPECT_EQ(padded[i].tag, 99) << i;
  }

  // Packed input expanded into padded output over the same memory: written
  // forwards without care, the output would overrun points not yet read.
  std::vector<PaddedPoint> buffer(points.size());
  std::memcpy(buffer.data(), points.data(), points.size() * sizeof(TQ3Point3D));
  auto *packed = reinterpret_cast<TQ3Point3D *>(buffer.data());
  EXPECT_EQ(Q3Point3D_To3DTransformArray(packed, &m, &buffer[0].p, 4, sizeof(TQ3Point3D), sizeof(PaddedPoint)),
            kQ3Success);
  for (size_t i = 0; i < points.size(); ++i) EXPECT_TRUE(sameBits(buffer[i].p, want[i])) << i;

  // The 4D form keeps w undivided.
  std::vector<TQ3RationalPoint4D> out4(points.size());
  EXPECT_EQ(
      Q3Point3D_To4DTransformArray(points.data(), &m, out4.data(), 4, sizeof(TQ3Point3D), sizeof(TQ3RationalPoint4D)),
      kQ3Success);
  EXPECT_EQ(out4[0].w, 2.0f);
  EXPECT_EQ(out4[0].x, 2.0f);
  EXPECT_EQ(Q3RationalPoint4D_To4DTransformArray(out4.data(), &m, out4.data(), 4, sizeof(TQ3RationalPoint4D),
                                                 sizeof(TQ3RationalPoint4D)),
            kQ3Success);
  EXPECT_EQ(out4[0].x, 2.0f + 2.0f) << "translation scales with w";
  EXPECT_EQ(out4[0].w, 2.0f);
}

TEST(MathTransform, ArraysRejectStridesShorterThanTheirElements) {
  clearErrors();
  const TQ3Matrix4x4 m = identity4();
  TQ3Point3D pts[2] = {{1, 2, 3}, {4, 5, 6}};
  const TQ3Point3D keep[2] = {pts[0], pts[1]};
  EXPECT_EQ(Q3Point3D_To3DTransformArray(pts, &m, pts, 2, 8, sizeof(TQ3Point3D)), kQ3Failure);
  EXPECT_EQ(takeError(), kQ3ErrorParameterOutOfRange);
  TQ3RationalPoint4D out[2];
  EXPECT_EQ(Q3Point3D_To4DTransformArray(pts, &m, out, 2, sizeof(TQ3Point3D), sizeof(TQ3Point3D)), kQ3Failure);
  EXPECT_EQ(takeError(), kQ3ErrorParameterOutOfRange);
  EXPECT_TRUE(sameBits(pts, keep));
  EXPECT_EQ(Q3Point3D_To3DTransformArray(nullptr, &m, pts, 2, 12, 12), kQ3Failure);
  EXPECT_EQ(takeError(), kQ3ErrorNULLParameter);
  EXPECT_EQ(Q3Point3D_To3DTransformArray(nullptr, &m, nullptr, 0, 12, 12), kQ3Success) << "nothing to do";
}

} // namespace
