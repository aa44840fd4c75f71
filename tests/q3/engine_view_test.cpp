// Views: their parts, the loops and the submit calls' checks.
#include "engine_support.h"

using namespace engine;

namespace {

class EngineView : public Q3Session {};

struct SubmitCall {
  const char *name;
  TQ3Status (*call)(TQ3ViewObject);
};

const TQ3Vector3D kOne{1, 1, 1};
const TQ3Quaternion kIdentity{1, 0, 0, 0};
const TQ3FogStyleData kFog{kQ3On, kQ3FogModeLinear, 1, 10, 1, {1, 1, 1, 1}};
const TQ3Matrix4x4 kMatrix{{{1, 0, 0, 0}, {0, 1, 0, 0}, {0, 0, 1, 0}, {0, 0, 0, 1}}};

const SubmitCall submitCalls[] = {
    {"Push", [](TQ3ViewObject v) { return Q3Push_Submit(v); }},
    {"Translate", [](TQ3ViewObject v) { return Q3TranslateTransform_Submit(&kOne, v); }},
    {"Scale", [](TQ3ViewObject v) { return Q3ScaleTransform_Submit(&kOne, v); }},
    {"Quaternion", [](TQ3ViewObject v) { return Q3QuaternionTransform_Submit(&kIdentity, v); }},
    {"Matrix", [](TQ3ViewObject v) { return Q3MatrixTransform_Submit(&kMatrix, v); }},
    {"Backfacing", [](TQ3ViewObject v) { return Q3BackfacingStyle_Submit(kQ3BackfacingStyleFlip, v); }},
    {"Interpolation", [](TQ3ViewObject v) { return Q3InterpolationStyle_Submit(kQ3InterpolationStyleNone, v); }},
    {"Fill", [](TQ3ViewObject v) { return Q3FillStyle_Submit(kQ3FillStyleEdges, v); }},
    {"Fog", [](TQ3ViewObject v) { return Q3FogStyle_Submit(&kFog, v); }},
    {"PickID", [](TQ3ViewObject v) { return Q3PickIDStyle_Submit(7, v); }},
};

TEST_F(EngineView, SubmitsOutsideALoopFailAndInsideSucceed) {
  TQ3ViewObject view = Q3View_New();
  TQ3ShaderObject shader = Q3PhongIllumination_New();
  for (const SubmitCall &c : submitCalls) {
    EXPECT_EQ(c.call(view), kQ3Failure) << c.name;
    EXPECT_EQ(takeOnlyError(), kQ3ErrorViewNotStarted) << c.name;
  }
  EXPECT_EQ(Q3Shader_Submit(shader, view), kQ3Failure);
  EXPECT_EQ(takeOnlyError(), kQ3ErrorViewNotStarted);
  EXPECT_EQ(Q3Pop_Submit(view), kQ3Failure);
  EXPECT_EQ(takeOnlyError(), kQ3ErrorViewNotStarted);

  ASSERT_EQ(Q3View_StartBoundingBox(view, kQ3ComputeBoundsExact), kQ3Success);
  for (const SubmitCall &c : submitCalls) EXPECT_EQ(c.call(view), kQ3Success) << c.name;
  EXPECT_EQ(Q3Shader_Submit(shader, view), kQ3Success);
  TQ3BoundingBox box;
  EXPECT_EQ(Q3View_EndBoundingBox(view, &box), kQ3ViewStatusDone);
  EXPECT_EQ(Q3Error_Get(nullptr), kQ3ErrorNone);

  // A dead view is refused, not followed.
  Q3Object_Dispose(view);
  for (const SubmitCall &c : submitCalls) {
    EXPECT_EQ(c.call(view), kQ3Failure) << c.name;
    EXPECT_EQ(takeOnlyError(), kQ3ErrorInvalidObject) << c.name;
  }
  Q3Object_Dispose(shader);
}

TEST_F(EngineView, SubmitArgumentsAreChecked) {
  TQ3ViewObject view = Q3View_New();
  ASSERT_EQ(Q3View_StartBoundingBox(view, kQ3ComputeBoundsExact), kQ3Success);
  const TQ3Vector3D nan{NAN, 0, 0};
  EXPECT_EQ(Q3TranslateTransform_Submit(nullptr, view), kQ3Failure);
  EXPECT_EQ(takeOnlyError(), kQ3ErrorNULLParameter);
  EXPECT_EQ(Q3ScaleTransform_Submit(&nan, view), kQ3Failure);
  EXPECT_EQ(takeOnlyError(), kQ3ErrorInvalidParameter);
  EXPECT_EQ(Q3BackfacingStyle_Submit(TQ3BackfacingStyle(7), view), kQ3Failure);
  EXPECT_EQ(takeOnlyError(), kQ3ErrorInvalidParameter);
  // Pops never go below the pass's own state.
  EXPECT_EQ(Q3Push_Submit(view), kQ3Success);
  EXPECT_EQ(Q3Pop_Submit(view), kQ3Success);
  EXPECT_EQ(Q3Pop_Submit(view), kQ3Failure);
  EXPECT_EQ(takeOnlyError(), kQ3ErrorNothingToPop);
  // Only drawable objects are submitted.
  TQ3PickObject notDrawable = Q3View_New();
  EXPECT_EQ(Q3Object_Submit(notDrawable, view), kQ3Failure);
  EXPECT_EQ(takeOnlyError(), kQ3ErrorInvalidObjectType);
  TQ3BoundingBox box;
  EXPECT_EQ(Q3View_EndBoundingBox(view, &box), kQ3ViewStatusDone);
  Q3Object_Dispose(notDrawable);
  Q3Object_Dispose(view);
}

TEST_F(EngineView, LoopsNeedTheirPartsAndMatchingEnds) {
  Canvas canvas(2, 2);
  TQ3ViewObject view = Q3View_New();
  EXPECT_EQ(Q3View_StartRendering(view), kQ3Failure);
  EXPECT_EQ(takeOnlyError(), kQ3ErrorCameraNotSet);
  TQ3CameraObject cam = camera();
  Q3View_SetCamera(view, cam);
  EXPECT_EQ(Q3View_StartRendering(view), kQ3Failure);
  EXPECT_EQ(takeOnlyError(), kQ3ErrorRendererNotSet);
  Q3View_SetRendererByType(view, kQ3RendererTypeInteractive);
  EXPECT_EQ(Q3View_StartRendering(view), kQ3Failure);
  EXPECT_EQ(takeOnlyError(), kQ3ErrorDrawContextNotSet);
  EXPECT_EQ(Q3View_EndRendering(view), kQ3ViewStatusError);
  EXPECT_EQ(takeOnlyError(), kQ3ErrorViewNotStarted);

  Q3View_SetDrawContext(view, canvas.dc);
  ASSERT_EQ(Q3View_StartRendering(view), kQ3Success);
  // One loop at a time; parts stay while a pass is open.
  EXPECT_EQ(Q3View_StartBoundingBox(view, kQ3ComputeBoundsExact), kQ3Failure);
  EXPECT_EQ(takeOnlyError(), kQ3ErrorViewIsStarted);
  EXPECT_EQ(Q3View_SetCamera(view, cam), kQ3Failure);
  EXPECT_EQ(takeOnlyError(), kQ3ErrorViewIsStarted);
  EXPECT_EQ(Q3View_EndPicking(view), kQ3ViewStatusError);
  EXPECT_EQ(takeOnlyError(), kQ3ErrorViewNotStarted);
  EXPECT_EQ(Q3View_EndRendering(view), kQ3ViewStatusDone);
  EXPECT_EQ(Q3Error_Get(nullptr), kQ3ErrorNone);

  // Cancelled loops answer so and draw nothing.
  canvas.bytes.assign(canvas.bytes.size(), 0x11);
  ASSERT_EQ(Q3View_StartRendering(view), kQ3Success);
  Q3View_Cancel(view);
  EXPECT_EQ(Q3View_EndRendering(view), kQ3ViewStatusCancelled);
  EXPECT_EQ(canvas.bytes[1], 0x11);
  Q3Object_Dispose(cam);
  Q3Object_Dispose(view);
  Q3Object_Dispose(canvas.dc);
}

TEST_F(EngineView, GettersHandOutReferencesAndTheViewKeepsItsOwn) {
  Canvas canvas(2, 2);
  TQ3ViewObject view = Q3View_New();
  TQ3CameraObject cam = camera();
  TQ3GroupObject lights = Q3LightGroup_New();
  TQ3RendererObject renderer = Q3Renderer_NewFromType(kQ3RendererTypeWireFrame);
  Q3View_SetCamera(view, cam);
  Q3View_SetLightGroup(view, lights);
  Q3View_SetRenderer(view, renderer);
  Q3View_SetDrawContext(view, canvas.dc);
  struct Part {
    TQ3Object mine;
    TQ3Status (*get)(TQ3ViewObject, TQ3Object *);
  } parts[] = {{cam, Q3View_GetCamera},
               {lights, Q3View_GetLightGroup},
               {renderer, Q3View_GetRenderer},
               {canvas.dc, Q3View_GetDrawContext}};
  for (const Part &p : parts) {
    EXPECT_EQ(Q3Shared_GetReferenceCount(p.mine), 2u);
    TQ3Object got = nullptr;
    ASSERT_EQ(p.get(view, &got), kQ3Success);
    EXPECT_EQ(got, p.mine);
    EXPECT_EQ(Q3Shared_GetReferenceCount(p.mine), 3u);
    Q3Object_Dispose(got);
    Q3Object_Dispose(p.mine);
  }
  // The view's references keep the parts alive; the view's end frees them.
  TQ3Object got = nullptr;
  ASSERT_EQ(Q3View_GetCamera(view, &got), kQ3Success);
  EXPECT_EQ(Q3Object_GetLeafType(got), kQ3CameraTypeViewAngleAspect);
  Q3Object_Dispose(got);
  Q3Object_Dispose(view);
  EXPECT_EQ(Q3Object_GetLeafType(cam), kQ3ObjectTypeInvalid);
  EXPECT_EQ(takeOnlyError(), kQ3ErrorInvalidObject);

  // A view without a light group hands out none; the wrong group kind is refused.
  TQ3ViewObject bare = Q3View_New();
  ASSERT_EQ(Q3View_GetLightGroup(bare, &got), kQ3Success);
  EXPECT_EQ(got, nullptr);
  TQ3GroupObject display = Q3DisplayGroup_New();
  EXPECT_EQ(Q3View_SetLightGroup(bare, display), kQ3Failure);
  EXPECT_EQ(takeOnlyError(), kQ3ErrorInvalidObjectType);
  Q3Object_Dispose(display);
  Q3Object_Dispose(bare);
}

TEST_F(EngineView, RetraversalIsAskedForUntilSatisfied) {
  TQ3ViewObject view = Q3View_New();
  // Three extra passes asked for: four passes in all.
  Q3View_RequestRetraverse(view, 3);
  ASSERT_EQ(Q3View_StartBoundingSphere(view, kQ3ComputeBoundsExact), kQ3Success);
  TQ3BoundingSphere sphere;
  int passes = 0;
  TQ3ViewStatus status;
  do {
    ++passes;
    status = Q3View_EndBoundingSphere(view, &sphere);
  } while (status == kQ3ViewStatusRetraverse);
  EXPECT_EQ(status, kQ3ViewStatusDone);
  EXPECT_EQ(passes, 4);

  // Always asking: a caller that gives up after 100 passes can start again.
  Q3View_RequestRetraverse(view, 0xFFFFFFFFu);
  ASSERT_EQ(Q3View_StartBoundingSphere(view, kQ3ComputeBoundsExact), kQ3Success);
  passes = 0;
  do {
    ++passes;
    status = Q3View_EndBoundingSphere(view, &sphere);
  } while (status == kQ3ViewStatusRetraverse && passes < 100);
  EXPECT_EQ(passes, 100);
  EXPECT_EQ(status, kQ3ViewStatusRetraverse);
  Q3View_RequestRetraverse(view, 0);
  EXPECT_EQ(Q3View_StartBoundingBox(view, kQ3ComputeBoundsExact), kQ3Success);
  TQ3BoundingBox box;
  EXPECT_EQ(Q3View_EndBoundingBox(view, &box), kQ3ViewStatusDone);
  Q3Object_Dispose(view);
}

TEST_F(EngineView, ACameraChangedDuringAPassAsksForAnotherPass) {
  Canvas canvas(2, 2);
  TQ3CameraObject cam = camera();
  TQ3ViewObject view = viewFor(canvas, kQ3RendererTypeInteractive, nullptr, Q3Shared_GetReference(cam));
  ASSERT_EQ(Q3View_StartRendering(view), kQ3Success);
  const TQ3CameraRange range{2, 50};
  Q3Camera_SetRange(cam, &range);
  EXPECT_EQ(Q3View_EndRendering(view), kQ3ViewStatusRetraverse);
  EXPECT_EQ(Q3View_EndRendering(view), kQ3ViewStatusDone);
  Q3Object_Dispose(cam);
  Q3Object_Dispose(view);
  Q3Object_Dispose(canvas.dc);
}

TEST_F(EngineView, PushAndPopScopeTransformsAndStyles) {
  // Bounds show the transform in effect: the pushed translation is gone
  // after the pop, and transforms act on geometry last-submitted-first.
  TQ3ViewObject view = Q3View_New();
  MeshRecipe recipe;
  recipe.points = {P(1, 0, 0)};
  TQ3GeometryObject point = makeTriMesh(recipe);
  ASSERT_NE(point, nullptr);
  const TQ3Vector3D up{0, 10, 0}, twice{2, 2, 2};
  ASSERT_EQ(Q3View_StartBoundingBox(view, kQ3ComputeBoundsExact), kQ3Success);
  Q3Push_Submit(view);
  Q3TranslateTransform_Submit(&up, view);
  Q3ScaleTransform_Submit(&twice, view);
  Q3Object_Submit(point, view); // (1,0,0) scaled, then moved: (2, 10, 0)
  Q3Pop_Submit(view);
  Q3Object_Submit(point, view); // untouched: (1, 0, 0)
  TQ3BoundingBox box;
  ASSERT_EQ(Q3View_EndBoundingBox(view, &box), kQ3ViewStatusDone);
  EXPECT_EQ(box.isEmpty, kQ3False);
  EXPECT_FLOAT_EQ(box.min.x, 1);
  EXPECT_FLOAT_EQ(box.max.x, 2);
  EXPECT_FLOAT_EQ(box.min.y, 0);
  EXPECT_FLOAT_EQ(box.max.y, 10);
  Q3Object_Dispose(point);
  Q3Object_Dispose(view);
}

} // namespace
