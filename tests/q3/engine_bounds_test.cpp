// Bounding loops: exact world-space boxes and minimal spheres.
#include "engine_support.h"

using namespace engine;

namespace {

class EngineBounds : public Q3Session {};

MeshRecipe cube(float half) {
  MeshRecipe s;
  for (int i = 0; i < 8; ++i) s.points.push_back(P(i & 1 ? half : -half, i & 2 ? half : -half, i & 4 ? half : -half));
  s.triangles = {{{0, 1, 3}}, {{4, 7, 5}}};
  return s;
}

template <typename F> TQ3BoundingBox boxOf(TQ3ViewObject view, F submit) {
  TQ3BoundingBox box{};
  EXPECT_EQ(Q3View_StartBoundingBox(view, kQ3ComputeBoundsExact), kQ3Success);
  submit();
  EXPECT_EQ(Q3View_EndBoundingBox(view, &box), kQ3ViewStatusDone);
  return box;
}

template <typename F> TQ3BoundingSphere sphereOf(TQ3ViewObject view, F submit) {
  TQ3BoundingSphere s{};
  EXPECT_EQ(Q3View_StartBoundingSphere(view, kQ3ComputeBoundsApproximate), kQ3Success);
  submit();
  EXPECT_EQ(Q3View_EndBoundingSphere(view, &s), kQ3ViewStatusDone);
  return s;
}

TEST_F(EngineBounds, BoxOfTransformedGeometry) {
  TQ3ViewObject view = Q3View_New();
  MeshRecipe recipe = cube(1);
  TQ3GeometryObject c = makeTriMesh(recipe);
  const TQ3Vector3D move{10, 0, -4}, stretch{2, 3, 1};
  // 45 degrees about z: the unit cube's corners reach sqrt(2) in x and y.
  const TQ3Quaternion turn{0.92387953f, 0, 0, 0.38268343f};
  struct Case {
    const char *what;
    bool rotate;
    TQ3Point3D min, max;
  } cases[] = {
      {"scaled then moved", false, P(8, -3, -5), P(12, 3, -3)},
      {"stretched, turned, moved", true, P(10 - 3.5355339f, -3.5355339f, -5), P(10 + 3.5355339f, 3.5355339f, -3)}};
  for (const Case &k : cases) {
    SCOPED_TRACE(k.what);
    const TQ3BoundingBox box = boxOf(view, [&] {
      Q3TranslateTransform_Submit(&move, view);
      if (k.rotate) Q3QuaternionTransform_Submit(&turn, view);
      Q3ScaleTransform_Submit(&stretch, view);
      Q3Object_Submit(c, view);
    });
    EXPECT_EQ(box.isEmpty, kQ3False);
    EXPECT_NEAR(box.min.x, k.min.x, 1e-5);
    EXPECT_NEAR(box.min.y, k.min.y, 1e-5);
    EXPECT_NEAR(box.min.z, k.min.z, 1e-5);
    EXPECT_NEAR(box.max.x, k.max.x, 1e-5);
    EXPECT_NEAR(box.max.y, k.max.y, 1e-5);
    EXPECT_NEAR(box.max.z, k.max.z, 1e-5);
  }
  Q3Object_Dispose(c);
  Q3Object_Dispose(view);
}

TEST_F(EngineBounds, SphereIsTheMinimalOne) {
  TQ3ViewObject view = Q3View_New();
  // A cube's corners: centre and radius sqrt(3) x half. A thin triangle
  // whose minimal sphere is the one on its long side, far smaller than a
  // sphere about the centroid of its points.
  MeshRecipe recipe = cube(2);
  TQ3GeometryObject c = makeTriMesh(recipe);
  MeshRecipe thin;
  thin.points = {P(0, 0, 0), P(4, 0, 0), P(2, 0.2f, 0), P(2.1f, 0.1f, 0), P(1, 0.05f, 0)};
  thin.triangles = {{{0, 1, 2}}};
  TQ3GeometryObject t = makeTriMesh(thin);
  const TQ3Vector3D move{1, 2, 3};
  TQ3BoundingSphere s = sphereOf(view, [&] {
    Q3TranslateTransform_Submit(&move, view);
    Q3Object_Submit(c, view);
  });
  EXPECT_EQ(s.isEmpty, kQ3False);
  EXPECT_NEAR(s.origin.x, 1, 1e-5);
  EXPECT_NEAR(s.origin.y, 2, 1e-5);
  EXPECT_NEAR(s.origin.z, 3, 1e-5);
  EXPECT_NEAR(s.radius, 2 * std::sqrt(3.0f), 1e-5);
  EXPECT_GE(s.radius, 2 * std::sqrt(3.0f) - 1e-6f);

  s = sphereOf(view, [&] { Q3Object_Submit(t, view); });
  EXPECT_NEAR(s.origin.x, 2, 1e-5);
  EXPECT_NEAR(s.origin.y, 0, 1e-5);
  EXPECT_NEAR(s.radius, 2, 1e-5);
  Q3Object_Dispose(c);
  Q3Object_Dispose(t);
  Q3Object_Dispose(view);
}

TEST_F(EngineBounds, EmptySubmissionGivesAnEmptyZeroedResult) {
  TQ3ViewObject view = Q3View_New();
  const TQ3BoundingBox box = boxOf(view, [] {});
  EXPECT_EQ(box.isEmpty, kQ3True);
  EXPECT_EQ(box.min.x, 0.0f);
  EXPECT_EQ(box.max.z, 0.0f);
  const TQ3BoundingSphere s = sphereOf(view, [] {});
  EXPECT_EQ(s.isEmpty, kQ3True);
  EXPECT_EQ(s.radius, 0.0f);
  EXPECT_EQ(s.origin.y, 0.0f);
  Q3Object_Dispose(view);
}

TEST_F(EngineBounds, ResultIsWrittenOnEveryEndCallOfARetraversingLoop) {
  TQ3ViewObject view = Q3View_New();
  MeshRecipe recipe = cube(1);
  TQ3GeometryObject c = makeTriMesh(recipe);
  Q3View_RequestRetraverse(view, 0xFFFFFFFFu);
  ASSERT_EQ(Q3View_StartBoundingBox(view, kQ3ComputeBoundsExact), kQ3Success);
  int passes = 0;
  TQ3BoundingBox box{};
  while (passes < 100) {
    ++passes;
    Q3Object_Submit(c, view);
    if (Q3View_EndBoundingBox(view, &box) != kQ3ViewStatusRetraverse) break;
  }
  EXPECT_EQ(passes, 100);
  // Each pass starts afresh: one cube, not a hundred accumulated.
  EXPECT_EQ(box.isEmpty, kQ3False);
  EXPECT_EQ(box.max.x, 1.0f);
  Q3Object_Dispose(c);
  Q3Object_Dispose(view);
}

} // namespace
