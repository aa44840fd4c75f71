// Lights: their data calls and their checks.
#include "engine_support.h"

using namespace engine;

namespace {

class EngineLight : public Q3Session {};

TEST_F(EngineLight, LightPartsRoundTripOnEveryKind) {
  const TQ3LightData base{kQ3True, 0.5f, {1, 0.5f, 0.25f}};
  const TQ3DirectionalLightData dd{base, kQ3True, {0, -2, 0}};
  const TQ3PointLightData pd{base, kQ3False, kQ3AttenuationTypeInverseDistance, P(1, 2, 3)};
  TQ3LightObject lights[] = {Q3AmbientLight_New(&base), Q3DirectionalLight_New(&dd), Q3PointLight_New(&pd)};
  const TQ3ObjectType kinds[] = {kQ3LightTypeAmbient, kQ3LightTypeDirectional, kQ3LightTypePoint};
  for (int i = 0; i < 3; ++i) {
    TQ3LightObject l = lights[i];
    ASSERT_NE(l, nullptr);
    EXPECT_EQ(Q3Light_GetType(l), kinds[i]);
    EXPECT_EQ(Q3Light_SetBrightness(l, 1.5f), kQ3Success); // above 1 is allowed
    EXPECT_EQ(Q3Light_SetState(l, kQ3False), kQ3Success);
    const TQ3ColorRGB green{0, 1, 0};
    EXPECT_EQ(Q3Light_SetColor(l, &green), kQ3Success);
    TQ3LightData got;
    ASSERT_EQ(Q3Light_GetData(l, &got), kQ3Success);
    EXPECT_EQ(got.isOn, kQ3False);
    EXPECT_EQ(got.brightness, 1.5f);
    EXPECT_EQ(got.color.g, 1.0f);
    EXPECT_EQ(Q3Light_SetBrightness(l, NAN), kQ3Failure);
    EXPECT_EQ(takeOnlyError(), kQ3ErrorInvalidParameter);
  }
  // Kind-specific parts, and the common part seen through the kind's record.
  TQ3Vector3D dir;
  Q3DirectionalLight_GetDirection(lights[1], &dir);
  EXPECT_EQ(dir.y, -2.0f); // kept as given, not normalised
  TQ3DirectionalLightData dGot;
  Q3DirectionalLight_GetData(lights[1], &dGot);
  EXPECT_EQ(dGot.lightData.brightness, 1.5f);
  EXPECT_EQ(Q3PointLight_SetAttenuation(lights[2], kQ3AttenuationTypeInverseDistanceSquared), kQ3Success);
  EXPECT_EQ(Q3PointLight_SetAttenuation(lights[2], TQ3AttenuationType(3)), kQ3Failure);
  EXPECT_EQ(takeOnlyError(), kQ3ErrorInvalidParameter);
  TQ3AttenuationType att;
  Q3PointLight_GetAttenuation(lights[2], &att);
  EXPECT_EQ(att, kQ3AttenuationTypeInverseDistanceSquared);
  const TQ3Point3D where = P(-1, 0, 4);
  Q3PointLight_SetLocation(lights[2], &where);
  TQ3PointLightData pGot;
  Q3PointLight_GetData(lights[2], &pGot);
  EXPECT_EQ(pGot.location.z, 4.0f);
  // Kind-specific calls refuse other kinds.
  EXPECT_EQ(Q3PointLight_GetLocation(lights[1], &pGot.location), kQ3Failure);
  EXPECT_EQ(takeOnlyError(), kQ3ErrorInvalidObjectType);
  for (TQ3LightObject l : lights) Q3Object_Dispose(l);
}

TEST_F(EngineLight, LightsThatAreOffOrRemovedStopLighting) {
  Canvas canvas(2, 2);
  TQ3GroupObject group = lightGroup(0.2f, 0.0f);
  TQ3GroupPosition pos = nullptr;
  Q3Group_GetFirstPosition(group, &pos);
  TQ3Object ambient = nullptr;
  Q3Group_GetPositionObject(group, pos, &ambient);
  TQ3ViewObject view = viewFor(canvas, kQ3RendererTypeInteractive, Q3Shared_GetReference(group));
  MeshRecipe recipe = square(0, 0, 0, 5);
  TQ3GeometryObject quad = makeTriMesh(recipe);
  auto frame = [&] {
    render(view, [&] { Q3Object_Submit(quad, view); });
    return canvas.red(0, 0);
  };
  EXPECT_EQ(frame(), channel(0.2 * 0.5));
  Q3Light_SetBrightness(ambient, 1.0f);
  EXPECT_EQ(frame(), channel(0.5));
  Q3Light_SetState(ambient, kQ3False);
  EXPECT_EQ(frame(), 0u);
  Q3Light_SetState(ambient, kQ3True);
  Q3Group_EmptyObjects(group);
  EXPECT_EQ(frame(), 0u);
  for (TQ3Object o : {ambient, group, quad, view, canvas.dc}) Q3Object_Dispose(o);
}

} // namespace
