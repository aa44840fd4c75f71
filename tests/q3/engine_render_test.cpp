// The interactive and wire-frame renderers on small pixmaps, with colours
// worked out by hand from the lighting, fog and blending rules.
#include "engine_support.h"

using namespace engine;

namespace {

class EngineRender : public Q3Session {};

// Submits a geometry and disposes the caller's reference after the frame.
struct Scene {
  std::vector<TQ3Object> objects;
  ~Scene() {
    for (TQ3Object o : objects) Q3Object_Dispose(o);
  }
  TQ3Object add(TQ3Object o) {
    objects.push_back(o);
    return o;
  }
};

TEST_F(EngineRender, ClearColourInEveryPixelTypeAndByteOrder) {
  struct Case {
    TQ3PixelType type;
    TQ3Endian order;
    std::vector<uint8_t> pixel;
  };
  // Clear colour: alpha 1, red 1, green 0.5, blue 0.25 = 255, 128, 64.
  const Case cases[] = {
      {kQ3PixelTypeRGB32, kQ3EndianBig, {0, 255, 128, 64}},
      {kQ3PixelTypeRGB32, kQ3EndianLittle, {64, 128, 255, 0}},
      {kQ3PixelTypeARGB32, kQ3EndianBig, {255, 255, 128, 64}},
      {kQ3PixelTypeARGB32, kQ3EndianLittle, {64, 128, 255, 255}},
      {kQ3PixelTypeRGB24, kQ3EndianLittle, {64, 128, 255}},
      {kQ3PixelTypeRGB24, kQ3EndianBig, {255, 128, 64}},
      {kQ3PixelTypeRGB16, kQ3EndianBig, {0x7E, 0x08}},
      {kQ3PixelTypeRGB16, kQ3EndianLittle, {0x08, 0x7E}},
      {kQ3PixelTypeRGB16_565, kQ3EndianBig, {0xFC, 0x08}},
      {kQ3PixelTypeARGB16, kQ3EndianLittle, {0x08, 0xFE}},
  };
  for (const Case &c : cases) {
    SCOPED_TRACE(testing::Message() << "pixel type " << c.type << " byte order " << c.order);
    Canvas canvas(3, 2, {1.0f, 1.0f, 0.5f, 0.25f}, c.type, c.order, 5);
    ASSERT_NE(canvas.dc, nullptr);
    TQ3ViewObject view = viewFor(canvas);
    EXPECT_EQ(render(view, [] {}), kQ3ViewStatusDone);
    const size_t bpp = c.pixel.size();
    for (int y = 0; y < 2; ++y) {
      for (int x = 0; x < 3; ++x)
        for (size_t b = 0; b < bpp; ++b) EXPECT_EQ(canvas.bytes[y * canvas.rowBytes + x * bpp + b], c.pixel[b]);
      // The padding at the end of each row is never written.
      for (uint32_t b = uint32_t(3 * bpp); b < canvas.rowBytes; ++b)
        EXPECT_EQ(canvas.bytes[y * canvas.rowBytes + b], 0xEE);
    }
    Q3Object_Dispose(view);
    Q3Object_Dispose(canvas.dc);
  }
  EXPECT_EQ(Q3Error_Get(nullptr), kQ3ErrorNone);
}

TEST_F(EngineRender, PixmapsThatCouldBeOverrunAreRefused) {
  std::vector<uint8_t> bytes(64);
  TQ3PixmapDrawContextData d{};
  d.drawContextData.clearImageMethod = kQ3ClearMethodWithColor;
  const TQ3Pixmap bad[] = {
      {bytes.data(), 4, 4, 15, 32, kQ3PixelTypeRGB32, kQ3EndianBig, kQ3EndianBig}, // row shorter than its pixels
      {bytes.data(), 4, 4, 16, 24, kQ3PixelTypeRGB32, kQ3EndianBig, kQ3EndianBig}, // size does not match type
      {nullptr, 4, 4, 16, 32, kQ3PixelTypeRGB32, kQ3EndianBig, kQ3EndianBig},
      {bytes.data(), 0, 4, 16, 32, kQ3PixelTypeRGB32, kQ3EndianBig, kQ3EndianBig},
      {bytes.data(), 4, 4, 16, 32, TQ3PixelType(9), kQ3EndianBig, kQ3EndianBig},
  };
  for (const TQ3Pixmap &p : bad) {
    d.pixmap = p;
    EXPECT_EQ(Q3PixmapDrawContext_New(&d), nullptr);
    EXPECT_EQ(takeOnlyError(), kQ3ErrorInvalidParameter);
  }
}

struct LitCase {
  const char *name;
  TQ3ObjectType model;
  TQ3InterpolationStyle interpolation;
  TQ3Vector3D lightDirection;
  bool lights;
  uint32_t expected;
};

TEST_F(EngineRender, LitSquareColourFromAmbientAndDirectionalLight) {
  // Diffuse (0.8, 0.4, 0.2); ambient 0.3 and a directional light of 0.9.
  // Facing the light: 0.3 + 0.9 = 1.2. At 60 degrees: 0.3 + 0.9 * 0.5 = 0.75.
  // Phong adds specular 0.5 x 0.9 x (R.V)^4; lit per face, every corner
  // sees R.V = 1/sqrt(3), so (R.V)^4 = 1/9.
  const double recipe = 0.5 * 0.9 / 9.0;
  const float s60 = 0.8660254f;
  const LitCase cases[] = {
      {"lambert facing",
       kQ3IlluminationTypeLambert,
       kQ3InterpolationStyleVertex,
       {0, 0, -1},
       true,
       rgbOf(0.96, 0.48, 0.24)},
      {"lambert 60 degrees",
       kQ3IlluminationTypeLambert,
       kQ3InterpolationStyleVertex,
       {0, -s60, -0.5f},
       true,
       rgbOf(0.6, 0.3, 0.15)},
      {"lambert per pixel",
       kQ3IlluminationTypeLambert,
       kQ3InterpolationStylePixel,
       {0, 0, -1},
       true,
       rgbOf(0.96, 0.48, 0.24)},
      {"lambert flat",
       kQ3IlluminationTypeLambert,
       kQ3InterpolationStyleNone,
       {0, 0, -1},
       true,
       rgbOf(0.96, 0.48, 0.24)},
      {"light from behind",
       kQ3IlluminationTypeLambert,
       kQ3InterpolationStyleVertex,
       {0, 0, 1},
       true,
       rgbOf(0.24, 0.12, 0.06)},
      {"no lights", kQ3IlluminationTypeLambert, kQ3InterpolationStyleVertex, {0, 0, -1}, false, 0x000000},
      {"null", kQ3IlluminationTypeNULL, kQ3InterpolationStyleVertex, {0, 0, -1}, true, rgbOf(0.8, 0.4, 0.2)},
      {"phong flat",
       kQ3IlluminationTypePhong,
       kQ3InterpolationStyleNone,
       {0, 0, -1},
       true,
       rgbOf(0.96 + recipe, 0.48 + recipe, 0.24 + recipe)},
  };
  for (const LitCase &c : cases) {
    SCOPED_TRACE(c.name);
    Canvas canvas(8, 8, {1, 0, 0, 1});
    TQ3ViewObject view =
        viewFor(canvas, kQ3RendererTypeInteractive, c.lights ? lightGroup(0.3f, 0.9f, c.lightDirection) : nullptr);
    Scene scene;
    MeshRecipe recipe = square(0, 0, 0, 5);
    recipe.attributes = scene.add(colourSet({0.8f, 0.4f, 0.2f}));
    TQ3GeometryObject quad = scene.add(makeTriMesh(recipe));
    TQ3ShaderObject shader = scene.add(c.model == kQ3IlluminationTypePhong  ? Q3PhongIllumination_New()
                                       : c.model == kQ3IlluminationTypeNULL ? Q3NULLIllumination_New()
                                                                            : Q3LambertIllumination_New());
    ASSERT_EQ(render(view,
                     [&] {
                       Q3InterpolationStyle_Submit(c.interpolation, view);
                       Q3Shader_Submit(shader, view);
                       Q3Object_Submit(quad, view);
                     }),
              kQ3ViewStatusDone);
    for (int y = 0; y < 8; y += 7)
      for (int x = 0; x < 8; x += 7) EXPECT_EQ(canvas.rgb(x, y), c.expected) << x << "," << y;
    Q3Object_Dispose(view);
    Q3Object_Dispose(canvas.dc);
  }
}

TEST_F(EngineRender, PointLightAttenuation) {
  // A point light 2 units in front of the square's centre; the centre pixel
  // sees N.L = 1 (nearly: the pixel centre is a hair off the axis).
  struct Case {
    TQ3AttenuationType attenuation;
    double factor;
  } cases[] = {{kQ3AttenuationTypeNone, 1.0},
               {kQ3AttenuationTypeInverseDistance, 0.5},
               {kQ3AttenuationTypeInverseDistanceSquared, 0.25}};
  for (const Case &c : cases) {
    Canvas canvas(9, 9);
    TQ3GroupObject group = Q3LightGroup_New();
    TQ3PointLightData d{{kQ3True, 1.0f, {1, 1, 1}}, kQ3False, c.attenuation, P(0, 0, 2)};
    TQ3LightObject light = Q3PointLight_New(&d);
    Q3Group_AddObject(group, light);
    Q3Object_Dispose(light);
    TQ3ViewObject view = viewFor(canvas, kQ3RendererTypeInteractive, group);
    MeshRecipe recipe = square(0, 0, 0, 5);
    TQ3GeometryObject quad = makeTriMesh(recipe);
    render(view, [&] {
      Q3InterpolationStyle_Submit(kQ3InterpolationStylePixel, view);
      Q3Object_Submit(quad, view);
    });
    EXPECT_NEAR(double(canvas.red(4, 4)), 0.5 * c.factor * 255.0, 1.0) << c.attenuation;
    Q3Object_Dispose(quad);
    Q3Object_Dispose(view);
    Q3Object_Dispose(canvas.dc);
  }
}

TEST_F(EngineRender, BackfacingRemoveBothAndFlip) {
  // A square wound clockwise as the camera sees it, normals pointing away.
  // Both lights it as given (ambient only: 0.3 x 0.5); Flip turns its
  // normals to the camera (1.2 x 0.5); Remove leaves the clear colour.
  struct Case {
    TQ3BackfacingStyle style;
    bool ccw;
    uint32_t expected;
  } cases[] = {{kQ3BackfacingStyleRemove, false, 0x0000FF},
               {kQ3BackfacingStyleBoth, false, grey(0.15)},
               {kQ3BackfacingStyleFlip, false, grey(0.6)},
               {kQ3BackfacingStyleRemove, true, grey(0.6)}};
  for (const Case &c : cases) {
    SCOPED_TRACE(testing::Message() << "style " << c.style << (c.ccw ? " front" : " back"));
    Canvas canvas(6, 6, {1, 0, 0, 1});
    TQ3ViewObject view = viewFor(canvas, kQ3RendererTypeInteractive, lightGroup(0.3f, 0.9f));
    MeshRecipe recipe = square(0, 0, 0, 5, c.ccw, c.ccw ? 1.0f : -1.0f);
    TQ3GeometryObject quad = makeTriMesh(recipe);
    render(view, [&] {
      Q3BackfacingStyle_Submit(c.style, view);
      Q3Object_Submit(quad, view);
    });
    EXPECT_EQ(canvas.rgb(2, 3), c.expected);
    Q3Object_Dispose(quad);
    Q3Object_Dispose(view);
    Q3Object_Dispose(canvas.dc);
  }
}

TEST_F(EngineRender, FogAtAKnownDistance) {
  // The square lies 5 units down the view axis; red surface, blue fog.
  struct Case {
    TQ3Switch state;
    TQ3FogMode mode;
    float density;
    double factor;
  } cases[] = {{kQ3On, kQ3FogModeLinear, 1.0f, 0.5},
               {kQ3On, kQ3FogModeExponential, 0.1f, std::exp(-0.5)},
               {kQ3On, kQ3FogModeExponentialSquared, 0.1f, std::exp(-0.25)},
               {kQ3Off, kQ3FogModeLinear, 1.0f, 1.0}};
  for (const Case &c : cases) {
    SCOPED_TRACE(testing::Message() << "mode " << c.mode);
    Canvas canvas(4, 4);
    TQ3ViewObject view = viewFor(canvas);
    MeshRecipe recipe = square(0, 0, 0, 5);
    Scene scene;
    recipe.attributes = scene.add(colourSet({1, 0, 0}));
    TQ3GeometryObject quad = scene.add(makeTriMesh(recipe));
    TQ3ShaderObject unlit = scene.add(Q3NULLIllumination_New());
    const TQ3FogStyleData fog{c.state, c.mode, 0.0f, 10.0f, c.density, {1, 0, 0, 1}};
    render(view, [&] {
      Q3FogStyle_Submit(&fog, view);
      Q3Shader_Submit(unlit, view);
      Q3Object_Submit(quad, view);
    });
    EXPECT_EQ(canvas.rgb(1, 2), rgbOf(c.factor, 0, 1 - c.factor));
    Q3Object_Dispose(view);
    Q3Object_Dispose(canvas.dc);
  }
}

TEST_F(EngineRender, WireFrameDrawsUnlitEdgesAndEdgeFillMatchesIt) {
  // A world unit is 1.6 pixels; the square's edges run along the pixel
  // centres 4.5 and 11.5, its diagonal from (4.5, 11.5) to (11.5, 4.5).
  std::vector<uint8_t> images[2];
  for (int pass = 0; pass < 2; ++pass) {
    const bool wire = pass == 0;
    Canvas canvas(16, 16);
    TQ3ViewObject view =
        viewFor(canvas, wire ? kQ3RendererTypeWireFrame : kQ3RendererTypeInteractive, lightGroup(0.3f, 0.9f));
    MeshRecipe recipe = square(0, 0, 0, 2.1875f);
    Scene scene;
    recipe.attributes = scene.add(colourSet({0, 1, 0}));
    TQ3GeometryObject quad = scene.add(makeTriMesh(recipe));
    render(view, [&] {
      if (!wire) Q3FillStyle_Submit(kQ3FillStyleEdges, view);
      Q3Object_Submit(quad, view);
    });
    EXPECT_EQ(canvas.rgb(4, 8), 0x00FF00u) << "left edge";
    EXPECT_EQ(canvas.rgb(8, 4), 0x00FF00u) << "top edge";
    EXPECT_EQ(canvas.rgb(11, 8), 0x00FF00u) << "right edge";
    EXPECT_EQ(canvas.rgb(8, 7), 0x00FF00u) << "diagonal";
    EXPECT_EQ(canvas.rgb(6, 6), 0x000000u) << "inside";
    EXPECT_EQ(canvas.rgb(2, 8), 0x000000u) << "outside";
    images[pass] = canvas.bytes;
    Q3Object_Dispose(view);
    Q3Object_Dispose(canvas.dc);
  }
  EXPECT_EQ(images[0], images[1]);
}

TEST_F(EngineRender, PointFillDrawsTheVertices) {
  Canvas canvas(16, 16);
  TQ3ViewObject view = viewFor(canvas);
  MeshRecipe recipe = square(0, 0, 0, 2.1875f);
  TQ3GeometryObject quad = makeTriMesh(recipe);
  render(view, [&] {
    Q3FillStyle_Submit(kQ3FillStylePoints, view);
    Q3Object_Submit(quad, view);
  });
  // Corners at the centres of pixels (4, 4), (11, 4), (11, 11), (4, 11).
  int lit = 0;
  for (int y = 0; y < 16; ++y)
    for (int x = 0; x < 16; ++x) lit += canvas.rgb(x, y) != 0;
  EXPECT_EQ(canvas.rgb(4, 4), grey(0.5));
  EXPECT_EQ(canvas.rgb(11, 11), grey(0.5));
  EXPECT_EQ(lit, 4);
  Q3Object_Dispose(quad);
  Q3Object_Dispose(view);
  Q3Object_Dispose(canvas.dc);
}

// Shared edges of a mesh are drawn exactly once: half-transparent white over
// black shows every pixel covered twice (brighter) or missed (black).
TEST_F(EngineRender, SharedEdgesCoverEveryPixelOnce) {
  Canvas canvas(23, 17);
  TQ3ViewObject view = viewFor(canvas, kQ3RendererTypeInteractive, nullptr, camera(5.0f, 1.5707963f, 23.0f / 17.0f));
  MeshRecipe recipe;
  const int n = 5;
  // A jittered grid reaching past the view on every side.
  for (int j = 0; j <= n; ++j)
    for (int i = 0; i <= n; ++i) {
      const float jitter = (i > 0 && i < n && j > 0 && j < n) ? 0.37f * float((i * 7 + j * 3) % 5 - 2) : 0.0f;
      recipe.points.push_back(P(-8.0f + 16.0f * i / n + jitter, -6.0f + 12.0f * j / n - jitter * 0.5f, 0));
    }
  for (int j = 0; j < n; ++j)
    for (int i = 0; i < n; ++i) {
      const TQ3Uns32 a = j * (n + 1) + i, b = a + 1, c = a + n + 2, d = a + n + 1;
      recipe.triangles.push_back({{a, b, c}});
      recipe.triangles.push_back({{a, c, d}});
    }
  Scene scene;
  TQ3AttributeSet set = scene.add(colourSet({1, 1, 1}));
  const TQ3ColorRGB half{0.5f, 0.5f, 0.5f};
  Q3AttributeSet_Add(set, kQ3AttributeTypeTransparencyColor, &half);
  recipe.attributes = set;
  TQ3GeometryObject grid = scene.add(makeTriMesh(recipe));
  TQ3ShaderObject unlit = scene.add(Q3NULLIllumination_New());
  render(view, [&] {
    Q3Shader_Submit(unlit, view);
    Q3Object_Submit(grid, view);
  });
  for (int y = 0; y < 17; ++y)
    for (int x = 0; x < 23; ++x) ASSERT_EQ(canvas.rgb(x, y), grey(0.5)) << x << "," << y;
  Q3Object_Dispose(view);
  Q3Object_Dispose(canvas.dc);
}

TEST_F(EngineRender, TexturedSquareShowsItsCornerTexelsAndBlendsAlpha) {
  // 2 x 2 ARGB32 texture, row 0 on top: red, green / blue, half-transparent white.
  const uint8_t texels[] = {255, 255, 0, 0, 255, 0, 255, 0, 255, 0, 0, 255, 128, 255, 255, 255};
  TQ3StorageObject storage = Q3MemoryStorage_New(texels, sizeof texels);
  TQ3StoragePixmap pixmap{storage, 2, 2, 8, 32, kQ3PixelTypeARGB32, kQ3EndianBig, kQ3EndianBig};
  TQ3TextureObject texture = Q3PixmapTexture_New(&pixmap);
  ASSERT_NE(texture, nullptr);
  TQ3ShaderObject shader = Q3TextureShader_New(texture);
  ASSERT_NE(shader, nullptr);
  TQ3ShaderObject unlit = Q3NULLIllumination_New();

  Canvas canvas(8, 8, {1, 0, 0, 0});
  TQ3ViewObject view = viewFor(canvas);
  MeshRecipe recipe = square(0, 0, 0, 5);
  TQ3GeometryObject quad = makeTriMesh(recipe);
  render(view, [&] {
    Q3Shader_Submit(unlit, view);
    Q3Shader_Submit(shader, view);
    Q3Object_Submit(quad, view);
  });
  EXPECT_EQ(canvas.rgb(0, 0), 0xFF0000u);
  EXPECT_EQ(canvas.rgb(7, 0), 0x00FF00u);
  EXPECT_EQ(canvas.rgb(0, 7), 0x0000FFu);
  // White at alpha 128/255 over black.
  EXPECT_EQ(canvas.rgb(7, 7), grey(128.0 / 255.0));

  for (TQ3Object o : {storage, texture, shader, unlit, quad, view, canvas.dc}) Q3Object_Dispose(o);
}

TEST_F(EngineRender, TransparentSurfaceBlendsOverWhatLiesBehindWhateverTheOrder) {
  // An opaque blue square behind a half-transparent red one: the result is
  // the same when the transparent one is submitted first.
  for (bool transparentFirst : {false, true}) {
    Canvas canvas(4, 4);
    TQ3ViewObject view = viewFor(canvas);
    Scene scene;
    MeshRecipe back = square(0, 0, -1, 10), front = square(0, 0, 0, 5);
    back.attributes = scene.add(colourSet({0, 0, 1}));
    TQ3AttributeSet set = scene.add(colourSet({1, 0, 0}));
    const TQ3ColorRGB half{0.5f, 0.5f, 0.5f};
    Q3AttributeSet_Add(set, kQ3AttributeTypeTransparencyColor, &half);
    front.attributes = set;
    TQ3GeometryObject b = scene.add(makeTriMesh(back)), f = scene.add(makeTriMesh(front));
    TQ3ShaderObject unlit = scene.add(Q3NULLIllumination_New());
    render(view, [&] {
      Q3Shader_Submit(unlit, view);
      Q3Object_Submit(transparentFirst ? f : b, view);
      Q3Object_Submit(transparentFirst ? b : f, view);
    });
    EXPECT_EQ(canvas.rgb(2, 2), rgbOf(0.5, 0, 0.5)) << transparentFirst;
    Q3Object_Dispose(view);
    Q3Object_Dispose(canvas.dc);
  }
}

TEST_F(EngineRender, NearerSurfaceHidesFartherOneInEitherOrder) {
  for (bool nearFirst : {false, true}) {
    Canvas canvas(4, 4);
    TQ3ViewObject view = viewFor(canvas);
    Scene scene;
    MeshRecipe nearSq = square(0, 0, 1, 5), farSq = square(0, 0, -1, 10);
    nearSq.attributes = scene.add(colourSet({1, 0, 0}));
    farSq.attributes = scene.add(colourSet({0, 0, 1}));
    TQ3GeometryObject n = scene.add(makeTriMesh(nearSq)), f = scene.add(makeTriMesh(farSq));
    TQ3ShaderObject unlit = scene.add(Q3NULLIllumination_New());
    render(view, [&] {
      Q3Shader_Submit(unlit, view);
      Q3Object_Submit(nearFirst ? n : f, view);
      Q3Object_Submit(nearFirst ? f : n, view);
    });
    EXPECT_EQ(canvas.rgb(2, 2), 0xFF0000u);
    Q3Object_Dispose(view);
    Q3Object_Dispose(canvas.dc);
  }
}

TEST_F(EngineRender, GeometryCrossingTheCameraIsClippedNotWrapped) {
  // A floor from behind the camera to far in front: only the part beyond
  // hither shows, in the lower half of the view; nothing wraps to the top.
  Canvas canvas(8, 8);
  TQ3ViewObject view = viewFor(canvas);
  MeshRecipe recipe;
  recipe.points = {P(-50, -1, 20), P(50, -1, 20), P(50, -1, -50), P(-50, -1, -50)};
  recipe.triangles = {{{0, 1, 2}}, {{0, 2, 3}}};
  Scene scene;
  recipe.attributes = scene.add(colourSet({1, 1, 1}));
  TQ3GeometryObject floor = scene.add(makeTriMesh(recipe));
  TQ3ShaderObject unlit = scene.add(Q3NULLIllumination_New());
  EXPECT_EQ(render(view,
                   [&] {
                     Q3Shader_Submit(unlit, view);
                     Q3Object_Submit(floor, view);
                   }),
            kQ3ViewStatusDone);
  for (int x = 0; x < 8; ++x) {
    EXPECT_EQ(canvas.rgb(x, 7), 0xFFFFFFu) << x;
    EXPECT_EQ(canvas.rgb(x, 2), 0x000000u) << x;
  }
  Q3Object_Dispose(view);
  Q3Object_Dispose(canvas.dc);
}

// The same scene gives the same bytes on every target: a lit, fogged,
// textured, half-transparent scene hashed against a fixed value.
TEST_F(EngineRender, SameBytesOnEveryTarget) {
  Canvas canvas(40, 30, {1, 0.2f, 0.3f, 0.4f});
  TQ3ViewObject view = viewFor(canvas, kQ3RendererTypeInteractive, lightGroup(0.25f, 0.8f, {-0.3f, -0.5f, -0.8f}),
                               camera(6.0f, 0.9f, 4.0f / 3.0f));
  // A faceted ball: rings of vertices with normals.
  MeshRecipe ball;
  const int rings = 9, segments = 13;
  for (int r = 0; r <= rings; ++r)
    for (int s = 0; s <= segments; ++s) {
      const double th = 3.14159265358979 * r / rings, ph = 2 * 3.14159265358979 * s / segments;
      const TQ3Vector3D n{float(std::sin(th) * std::cos(ph)), float(std::cos(th)), float(std::sin(th) * std::sin(ph))};
      ball.points.push_back(P(n.x * 1.5f, n.y * 1.5f, n.z * 1.5f));
      ball.normals.push_back(n);
      ball.uvs.push_back({float(s) / segments, 1.0f - float(r) / rings});
    }
  for (int r = 0; r < rings; ++r)
    for (int s = 0; s < segments; ++s) {
      const TQ3Uns32 a = r * (segments + 1) + s, b = a + 1, c = a + segments + 1, d = c + 1;
      ball.triangles.push_back({{a, c, b}});
      ball.triangles.push_back({{b, c, d}});
    }
  const uint8_t texels[] = {200, 40, 40, 40, 200, 40, 40, 40, 200, 220, 220, 40};
  TQ3StorageObject storage = Q3MemoryStorage_New(texels, sizeof texels);
  TQ3StoragePixmap pixmap{storage, 2, 2, 6, 24, kQ3PixelTypeRGB24, kQ3EndianBig, kQ3EndianBig};
  Scene scene;
  TQ3TextureObject texture = scene.add(Q3PixmapTexture_New(&pixmap));
  TQ3ShaderObject textureShader = scene.add(Q3TextureShader_New(texture));
  TQ3ShaderObject phong = scene.add(Q3PhongIllumination_New());
  TQ3GeometryObject geometry = scene.add(makeTriMesh(ball));
  MeshRecipe veil = square(0.5f, 0, 2, 1.5f);
  TQ3AttributeSet set = scene.add(colourSet({0.9f, 0.9f, 0.2f}));
  const TQ3ColorRGB part{0.4f, 0.6f, 0.5f};
  Q3AttributeSet_Add(set, kQ3AttributeTypeTransparencyColor, &part);
  veil.attributes = set;
  veil.normals.clear();
  TQ3GeometryObject front = scene.add(makeTriMesh(veil));
  const TQ3FogStyleData fog{kQ3On, kQ3FogModeExponential, 0, 0, 0.05f, {1, 0.5f, 0.5f, 0.6f}};
  const TQ3Quaternion turn{0.9238795f, 0.2f, 0.3826834f, 0.0f};
  render(view, [&] {
    Q3Shader_Submit(phong, view);
    Q3FogStyle_Submit(&fog, view);
    Q3BackfacingStyle_Submit(kQ3BackfacingStyleRemove, view);
    Q3Push_Submit(view);
    Q3QuaternionTransform_Submit(&turn, view);
    Q3Shader_Submit(textureShader, view);
    Q3Object_Submit(geometry, view);
    Q3Pop_Submit(view);
    Q3InterpolationStyle_Submit(kQ3InterpolationStylePixel, view);
    Q3Object_Submit(front, view);
  });
  Q3Object_Dispose(storage);
  uint32_t hash = 2166136261u;
  for (int y = 0; y < 30; ++y)
    for (int x = 0; x < 40; ++x) hash = (hash ^ canvas.rgb(x, y)) * 16777619u;
  EXPECT_EQ(hash, 2778146412u);
  Q3Object_Dispose(view);
  Q3Object_Dispose(canvas.dc);
}

} // namespace
