// View-angle-aspect cameras: their matrices in the frustum convention
// (x, y from -1 to 1, z from 0 at hither to -1 at yon) and their checks.
#include "engine_support.h"

using namespace engine;

namespace {

class EngineCamera : public Q3Session {};

TQ3Point3D through(const TQ3Matrix4x4 &m, TQ3Point3D p) {
  TQ3Point3D r;
  Q3Point3D_Transform(&p, &m, &r);
  return r;
}

void expectPoint(TQ3Point3D got, TQ3Point3D want, const char *what) {
  EXPECT_NEAR(got.x, want.x, 1e-5) << what;
  EXPECT_NEAR(got.y, want.y, 1e-5) << what;
  EXPECT_NEAR(got.z, want.z, 1e-5) << what;
}

TEST_F(EngineCamera, FrustumEdgesMapToTheUnitBox) {
  // Camera at (1, 2, 10) looking down -z; hither 2, yon 20; fov 60 degrees
  // across the smaller side. tan 30 = 0.57735.
  const float t = 0.57735027f;
  struct Case {
    float aspect;
    float halfX, halfY; // half extents of the view at distance 1
  } cases[] = {{2.0f, 2 * t, t}, {0.5f, t, 2 * t}, {1.0f, t, t}};
  for (const Case &c : cases) {
    SCOPED_TRACE(c.aspect);
    TQ3ViewAngleAspectCameraData d{};
    d.cameraData.placement = {P(1, 2, 10), P(1, 2, 0), {0, 1, 0}};
    d.cameraData.range = {2, 20};
    d.cameraData.viewPort = {{-1, 1}, 2, 2};
    d.fov = 1.0471976f;
    d.aspectRatioXToY = c.aspect;
    TQ3CameraObject cam = Q3ViewAngleAspectCamera_New(&d);
    ASSERT_NE(cam, nullptr);
    TQ3Matrix4x4 m;
    ASSERT_EQ(Q3Camera_GetWorldToFrustum(cam, &m), kQ3Success);
    expectPoint(through(m, P(1, 2, 8)), P(0, 0, 0), "hither centre");
    expectPoint(through(m, P(1, 2, -10)), P(0, 0, -1), "yon centre");
    expectPoint(through(m, P(1 + 4 * c.halfX, 2 + 4 * c.halfY, 6)), P(1, 1, through(m, P(1, 2, 6)).z),
                "top right at distance 4");
    expectPoint(through(m, P(1 - 20 * c.halfX, 2 - 20 * c.halfY, -10)), P(-1, -1, -1), "bottom left at yon");

    // World-to-frustum is world-to-view then view-to-frustum.
    TQ3Matrix4x4 toView, toFrustum, product;
    Q3Camera_GetWorldToView(cam, &toView);
    Q3Camera_GetViewToFrustum(cam, &toFrustum);
    Q3Matrix4x4_Multiply(&toView, &toFrustum, &product);
    for (int i = 0; i < 4; ++i)
      for (int j = 0; j < 4; ++j) EXPECT_NEAR(product.value[i][j], m.value[i][j], 1e-5);
    expectPoint(through(toView, P(1, 2, 7)), P(0, 0, -3), "view space");
    Q3Object_Dispose(cam);
  }
}

TEST_F(EngineCamera, UpVectorIsOrthonormalisedAndDegeneratePlacementsStayFinite) {
  struct Case {
    TQ3CameraPlacement placement;
    const char *what;
  } cases[] = {
      {{P(0, 0, 0), P(0, 0, -5), {0, 3, 3}}, "slanted up"},
      {{P(0, 0, 0), P(0, 0, -5), {0, 0, 1}}, "up along the view"},
      {{P(0, 0, 0), P(0, 0, 0), {0, 1, 0}}, "looking at itself"},
      {{P(0, 0, 0), P(0, -5, 0), {0, 1, 0}}, "looking straight down"},
  };
  for (const Case &c : cases) {
    SCOPED_TRACE(c.what);
    TQ3ViewAngleAspectCameraData d{};
    d.cameraData.placement = c.placement;
    d.cameraData.range = {1, 10};
    d.cameraData.viewPort = {{-1, 1}, 2, 2};
    d.fov = 1.0f;
    d.aspectRatioXToY = 1.0f;
    TQ3CameraObject cam = Q3ViewAngleAspectCamera_New(&d);
    ASSERT_NE(cam, nullptr);
    TQ3Matrix4x4 m;
    ASSERT_EQ(Q3Camera_GetWorldToView(cam, &m), kQ3Success);
    // Rows of the rotation part are orthonormal and the matrix is finite.
    for (int i = 0; i < 3; ++i)
      for (int j = 0; j < 3; ++j) {
        const double dotij = double(m.value[0][i]) * m.value[0][j] + double(m.value[1][i]) * m.value[1][j] +
                             double(m.value[2][i]) * m.value[2][j];
        EXPECT_NEAR(dotij, i == j ? 1.0 : 0.0, 1e-6) << i << j;
      }
    Q3Object_Dispose(cam);
  }
  // The slanted up vector still yields +y up for a camera looking down -z.
  TQ3ViewAngleAspectCameraData d{};
  d.cameraData.placement = cases[0].placement;
  d.cameraData.range = {1, 10};
  d.cameraData.viewPort = {{-1, 1}, 2, 2};
  d.fov = 1.0f;
  d.aspectRatioXToY = 1.0f;
  TQ3CameraObject cam = Q3ViewAngleAspectCamera_New(&d);
  TQ3Matrix4x4 m;
  Q3Camera_GetWorldToView(cam, &m);
  expectPoint(through(m, P(0, 1, 0)), P(0, 1, 0), "up stays up");
  Q3Object_Dispose(cam);
}

TEST_F(EngineCamera, UnusableValuesAreRefusedAndTheOldOnesKept) {
  TQ3CameraObject cam = camera(5.0f, 1.0f, 1.5f, 1.0f, 100.0f);
  const TQ3CameraRange ranges[] = {{0, 10}, {-1, 10}, {5, 5}, {5, 2}, {NAN, 10}};
  for (const TQ3CameraRange &r : ranges) {
    EXPECT_EQ(Q3Camera_SetRange(cam, &r), kQ3Failure);
    EXPECT_EQ(takeOnlyError(), kQ3ErrorInvalidCameraValues);
  }
  for (float fov : {0.0f, -1.0f, 3.2f, INFINITY}) {
    EXPECT_EQ(Q3ViewAngleAspectCamera_SetFOV(cam, fov), kQ3Failure);
    EXPECT_EQ(takeOnlyError(), kQ3ErrorInvalidCameraValues);
  }
  // A control of zero height would hand over an infinite or NaN ratio.
  for (float aspect : {0.0f, -2.0f, INFINITY, NAN}) {
    EXPECT_EQ(Q3ViewAngleAspectCamera_SetAspectRatio(cam, aspect), kQ3Failure);
    EXPECT_EQ(takeOnlyError(), kQ3ErrorInvalidCameraValues);
  }
  TQ3ViewAngleAspectCameraData d;
  ASSERT_EQ(Q3ViewAngleAspectCamera_GetData(cam, &d), kQ3Success);
  EXPECT_EQ(d.cameraData.range.hither, 1.0f);
  EXPECT_EQ(d.cameraData.range.yon, 100.0f);
  EXPECT_EQ(d.fov, 1.0f);
  EXPECT_EQ(d.aspectRatioXToY, 1.5f);

  // Valid changes land and mark the camera edited.
  const TQ3Uns32 before = Q3Shared_GetEditIndex(cam);
  EXPECT_EQ(Q3ViewAngleAspectCamera_SetAspectRatio(cam, 2.0f), kQ3Success);
  float aspect = 0;
  Q3ViewAngleAspectCamera_GetAspectRatio(cam, &aspect);
  EXPECT_EQ(aspect, 2.0f);
  EXPECT_GT(Q3Shared_GetEditIndex(cam), before);
  const TQ3CameraPlacement placement{P(1, 2, 3), P(4, 5, 6), {0, 0, 1}};
  EXPECT_EQ(Q3Camera_SetPlacement(cam, &placement), kQ3Success);
  TQ3CameraPlacement back;
  Q3Camera_GetPlacement(cam, &back);
  EXPECT_EQ(std::memcmp(&back, &placement, sizeof back), 0);
  EXPECT_EQ(Q3Camera_GetType(cam), kQ3CameraTypeViewAngleAspect);
  Q3Object_Dispose(cam);
}

} // namespace
