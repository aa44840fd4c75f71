// Window-point picks: nearest hits with their details, misses, points and
// lines within tolerance, and window points measured from the pane.
#include "engine_support.h"

#include <string>

using namespace engine;

namespace {

class EnginePick : public Q3Session {};

// One object read from 3DMF text (points and lines come from files).
TQ3Object readObject(const std::string &text) {
  TQ3StorageObject storage =
      Q3MemoryStorage_New(reinterpret_cast<const unsigned char *>(text.data()), TQ3Uns32(text.size()));
  TQ3FileObject file = Q3File_New();
  Q3File_SetStorage(file, storage);
  Q3Object_Dispose(storage);
  TQ3FileMode mode = 0;
  Q3File_OpenRead(file, &mode);
  TQ3Object object = Q3File_ReadObject(file);
  Q3File_Close(file);
  Q3Object_Dispose(file);
  return object;
}

TQ3PickObject windowPick(float x, float y, TQ3PickDetail mask, TQ3Uns32 hits = 0,
                         TQ3PickSort sort = kQ3PickSortNearToFar, float tolerance = 2.0f) {
  const TQ3WindowPointPickData d{{sort, mask, hits}, {x, y}, tolerance, tolerance};
  return Q3WindowPointPick_New(&d);
}

// Runs one picking loop over the submissions of `submit`.
template <typename F> TQ3Uns32 pickWith(TQ3ViewObject view, TQ3PickObject pick, F submit) {
  EXPECT_EQ(Q3View_StartPicking(view, pick), kQ3Success);
  TQ3ViewStatus status;
  do {
    submit();
    status = Q3View_EndPicking(view);
  } while (status == kQ3ViewStatusRetraverse);
  EXPECT_EQ(status, kQ3ViewStatusDone);
  TQ3Uns32 n = 0;
  EXPECT_EQ(Q3Pick_GetNumHits(pick, &n), kQ3Success);
  return n;
}

struct TwoSquares {
  // 9 x 9 pixels; the camera 5 units up the z axis sees 10 x 10 units at z 0,
  // and pixel (4, 4) has its centre on the axis.
  Canvas canvas{9, 9};
  TQ3ViewObject view = viewFor(canvas);
  MeshRecipe nearSpec = square(0, 0, 1, 1), farSpec = square(0, 0, 0, 1);
  TQ3GeometryObject nearSq = makeTriMesh(nearSpec), farSq = makeTriMesh(farSpec);
  void submit() const {
    Q3PickIDStyle_Submit(2, view);
    Q3Object_Submit(farSq, view);
    Q3PickIDStyle_Submit(1, view);
    Q3Object_Submit(nearSq, view);
  }
  ~TwoSquares() {
    for (TQ3Object o : {nearSq, farSq, view, canvas.dc}) Q3Object_Dispose(o);
  }
};

TEST_F(EnginePick, NearestOfTwoOverlappingObjectsComesFirstWithItsDetails) {
  TwoSquares scene;
  const TQ3PickDetail all = kQ3PickDetailMaskPickID | kQ3PickDetailMaskObject | kQ3PickDetailMaskXYZ |
                            kQ3PickDetailMaskDistance | kQ3PickDetailMaskLocalToWorldMatrix | kQ3PickDetailMaskNormal |
                            kQ3PickDetailMaskUV;
  TQ3PickObject pick = windowPick(4, 4, all);
  ASSERT_EQ(pickWith(scene.view, pick, [&] { scene.submit(); }), 2u);

  TQ3PickDetail valid = 0;
  ASSERT_EQ(Q3Pick_GetPickDetailValidMask(pick, 0, &valid), kQ3Success);
  EXPECT_EQ(valid, all);
  TQ3Uns32 id = 0;
  Q3Pick_GetPickDetailData(pick, 0, kQ3PickDetailMaskPickID, &id);
  EXPECT_EQ(id, 1u);
  TQ3Point3D xyz;
  Q3Pick_GetPickDetailData(pick, 0, kQ3PickDetailMaskXYZ, &xyz);
  EXPECT_NEAR(xyz.x, 0, 1e-5);
  EXPECT_NEAR(xyz.y, 0, 1e-5);
  EXPECT_NEAR(xyz.z, 1, 1e-5);
  float distance = 0;
  Q3Pick_GetPickDetailData(pick, 0, kQ3PickDetailMaskDistance, &distance);
  EXPECT_NEAR(distance, 4.0f, 1e-5);
  TQ3Vector3D normal;
  Q3Pick_GetPickDetailData(pick, 0, kQ3PickDetailMaskNormal, &normal);
  EXPECT_NEAR(normal.z, 1.0f, 1e-6);
  TQ3Param2D uv;
  Q3Pick_GetPickDetailData(pick, 0, kQ3PickDetailMaskUV, &uv);
  EXPECT_NEAR(uv.u, 0.5f, 1e-5);
  EXPECT_NEAR(uv.v, 0.5f, 1e-5);
  // The object detail is a reference of the caller's own.
  TQ3Object object = nullptr;
  const TQ3Uns32 before = Q3Shared_GetReferenceCount(scene.nearSq);
  Q3Pick_GetPickDetailData(pick, 0, kQ3PickDetailMaskObject, &object);
  EXPECT_EQ(object, scene.nearSq);
  EXPECT_EQ(Q3Shared_GetReferenceCount(scene.nearSq), before + 1);
  Q3Object_Dispose(object);

  Q3Pick_GetPickDetailData(pick, 1, kQ3PickDetailMaskPickID, &id);
  EXPECT_EQ(id, 2u);
  Q3Pick_GetPickDetailData(pick, 1, kQ3PickDetailMaskDistance, &distance);
  EXPECT_NEAR(distance, 5.0f, 1e-5);

  // Asking past the list or for two details at once fails cleanly.
  EXPECT_EQ(Q3Pick_GetPickDetailValidMask(pick, 2, &valid), kQ3Failure);
  EXPECT_EQ(takeOnlyError(), kQ3ErrorParameterOutOfRange);
  EXPECT_EQ(Q3Pick_GetPickDetailData(pick, 0, kQ3PickDetailMaskPickID | kQ3PickDetailMaskXYZ, &xyz), kQ3Failure);
  EXPECT_EQ(takeOnlyError(), kQ3ErrorInvalidParameter);

  EXPECT_EQ(Q3Pick_EmptyHitList(pick), kQ3Success);
  TQ3Uns32 n = 9;
  Q3Pick_GetNumHits(pick, &n);
  EXPECT_EQ(n, 0u);
  Q3Object_Dispose(pick);
}

TEST_F(EnginePick, SortAndHitCountFollowThePick) {
  TwoSquares scene;
  struct Case {
    TQ3PickSort sort;
    TQ3Uns32 keep;
    std::vector<TQ3Uns32> ids;
  } cases[] = {{kQ3PickSortNearToFar, 1, {1}}, {kQ3PickSortFarToNear, 0, {2, 1}}, {kQ3PickSortNone, 0, {2, 1}}};
  for (const Case &c : cases) {
    TQ3PickObject pick = windowPick(4, 4, kQ3PickDetailMaskPickID, c.keep, c.sort);
    ASSERT_EQ(pickWith(scene.view, pick, [&] { scene.submit(); }), c.ids.size());
    for (TQ3Uns32 i = 0; i < c.ids.size(); ++i) {
      TQ3Uns32 id = 0;
      Q3Pick_GetPickDetailData(pick, i, kQ3PickDetailMaskPickID, &id);
      EXPECT_EQ(id, c.ids[i]) << "sort " << c.sort << " hit " << i;
    }
    // Only what was asked for is valid.
    TQ3PickDetail valid = 0;
    Q3Pick_GetPickDetailValidMask(pick, 0, &valid);
    EXPECT_EQ(valid, kQ3PickDetailMaskPickID);
    Q3Object_Dispose(pick);
  }
}

TEST_F(EnginePick, MissesBackFacesAndInvisibleGeometryGiveNoHit) {
  TwoSquares scene;
  TQ3PickObject pick = windowPick(0, 0, kQ3PickDetailMaskPickID);
  EXPECT_EQ(pickWith(scene.view, pick, [&] { scene.submit(); }), 0u);
  Q3Object_Dispose(pick);

  // A square facing away is skipped under Remove and hit under Both.
  MeshRecipe away = square(0, 0, 0, 1, false, -1);
  TQ3GeometryObject back = makeTriMesh(away);
  for (TQ3BackfacingStyle style : {kQ3BackfacingStyleRemove, kQ3BackfacingStyleBoth}) {
    pick = windowPick(4, 4, kQ3PickDetailMaskPickID);
    const TQ3Uns32 n = pickWith(scene.view, pick, [&] {
      Q3BackfacingStyle_Submit(style, scene.view);
      Q3Object_Submit(back, scene.view);
    });
    EXPECT_EQ(n, style == kQ3BackfacingStyleRemove ? 0u : 1u) << style;
    Q3Object_Dispose(pick);
  }
  Q3Object_Dispose(back);
}

TEST_F(EnginePick, TheHitPointAndMatrixFollowTheTransform) {
  TwoSquares scene;
  TQ3PickObject pick = windowPick(6, 4, kQ3PickDetailMaskXYZ | kQ3PickDetailMaskLocalToWorldMatrix, 1);
  const TQ3Vector3D right{2, 0, 0};
  ASSERT_EQ(pickWith(scene.view, pick,
                     [&] {
                       Q3TranslateTransform_Submit(&right, scene.view);
                       Q3Object_Submit(scene.farSq, scene.view);
                     }),
            1u);
  // Pixel 6's centre is 2 pixels = 2.222 units right of the axis at z 0.
  TQ3Point3D xyz;
  Q3Pick_GetPickDetailData(pick, 0, kQ3PickDetailMaskXYZ, &xyz);
  EXPECT_NEAR(xyz.x, 20.0f / 9.0f, 1e-5);
  EXPECT_NEAR(xyz.z, 0.0f, 1e-5);
  TQ3Matrix4x4 m;
  Q3Pick_GetPickDetailData(pick, 0, kQ3PickDetailMaskLocalToWorldMatrix, &m);
  EXPECT_EQ(m.value[3][0], 2.0f);
  Q3Object_Dispose(pick);
}

TEST_F(EnginePick, PointsAndLinesHitWithinTheirTolerance) {
  Canvas canvas(9, 9);
  TQ3ViewObject view = viewFor(canvas);
  // One pixel is 10/9 units at z 0. The point sits on pixel (6, 4)'s
  // centre; the line runs vertically through pixel column 2's centre.
  TQ3Object point = readObject("3DMetafile ( 1 6 Normal nil> )\nPoint ( 2.2222222 0 0 )\n");
  TQ3Object line = readObject("3DMetafile ( 1 6 Normal nil> )\nLine ( -2.2222222 -3 0 -2.2222222 3 0 )\n");
  ASSERT_NE(point, nullptr);
  ASSERT_NE(line, nullptr);
  struct Case {
    float x, y, tolerance;
    TQ3Uns32 hits;
    float hitX, hitY;
  } cases[] = {
      {6, 4, 0.5f, 1, 2.2222222f, 0},           // on the point
      {7, 5, 1.5f, 1, 2.2222222f, 0},           // 1.41 pixels away, tolerance 1.5
      {7, 5, 1.0f, 0, 0, 0},                    // same, tolerance 1
      {3, 3, 1.1f, 1, -2.2222222f, 1.1111111f}, // one pixel beside the line
      {4, 4, 1.5f, 0, 0, 0},                    // two pixels from the line
  };
  for (const Case &c : cases) {
    SCOPED_TRACE(testing::Message() << c.x << "," << c.y << " tolerance " << c.tolerance);
    TQ3PickObject pick = windowPick(c.x, c.y, kQ3PickDetailMaskXYZ, 0, kQ3PickSortNearToFar, c.tolerance);
    ASSERT_EQ(pickWith(view, pick,
                       [&] {
                         Q3Object_Submit(point, view);
                         Q3Object_Submit(line, view);
                       }),
              c.hits);
    if (c.hits) {
      TQ3Point3D xyz;
      Q3Pick_GetPickDetailData(pick, 0, kQ3PickDetailMaskXYZ, &xyz);
      EXPECT_NEAR(xyz.x, c.hitX, 1e-4);
      EXPECT_NEAR(xyz.y, c.hitY, 1e-4);
    }
    Q3Object_Dispose(pick);
  }
  for (TQ3Object o : {point, line, view, canvas.dc}) Q3Object_Dispose(o);
}

TEST_F(EnginePick, WindowPointsCountFromThePaneCorner) {
  // A 9 x 9 pane at (20, 10) of a bigger pixmap: pane pixel (4, 4) is the
  // view's centre, wherever the pane lies.
  Canvas canvas(40, 30, {1, 1, 0, 0});
  TQ3DrawContextData d;
  Q3DrawContext_GetData(canvas.dc, &d);
  d.pane = {{20, 10}, {29, 19}};
  d.paneState = kQ3True;
  Q3DrawContext_SetData(canvas.dc, &d);
  TQ3ViewObject view = viewFor(canvas);
  MeshRecipe recipe = square(0, 0, 0, 0.5f);
  TQ3GeometryObject centre = makeTriMesh(recipe);
  for (float x : {4.0f, 24.0f}) {
    TQ3PickObject pick = windowPick(x, 4, kQ3PickDetailMaskPickID);
    EXPECT_EQ(pickWith(view, pick, [&] { Q3Object_Submit(centre, view); }), x == 4.0f ? 1u : 0u) << x;
    Q3Object_Dispose(pick);
  }
  // And the rendering lands in the pane.
  Q3Object_Dispose(view);
  view = viewFor(canvas);
  render(view, [&] { Q3Object_Submit(centre, view); });
  EXPECT_EQ(canvas.rgb(20, 10), 0xFF0000u);
  EXPECT_EQ(canvas.rgb(24, 14), 0x000000u);              // the square, unlit
  EXPECT_EQ(canvas.bytes[(10 * 40 + 19) * 4 + 1], 0xEE); // outside the pane: untouched
  EXPECT_EQ(canvas.bytes[(19 * 40 + 20) * 4 + 1], 0xEE);
  for (TQ3Object o : {centre, view, canvas.dc}) Q3Object_Dispose(o);
}

TEST_F(EnginePick, PicksNeedAViewWithCameraAndDrawContext) {
  TQ3ViewObject view = Q3View_New();
  TQ3PickObject pick = windowPick(0, 0, kQ3PickDetailMaskPickID);
  EXPECT_EQ(Q3View_StartPicking(view, pick), kQ3Failure);
  EXPECT_EQ(takeOnlyError(), kQ3ErrorCameraNotSet);
  const TQ3WindowPointPickData bad{{kQ3PickSortNone, 0, 0}, {0, 0}, -1, 2};
  EXPECT_EQ(Q3WindowPointPick_New(&bad), nullptr);
  EXPECT_EQ(takeOnlyError(), kQ3ErrorInvalidParameter);
  Q3Object_Dispose(pick);
  Q3Object_Dispose(view);
}

} // namespace
