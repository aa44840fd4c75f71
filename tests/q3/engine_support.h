// engine_support.h: shared fixtures of the engine tests: a session, small
// trimeshes, a pixmap canvas, and a view with camera, renderer and lights.
#pragma once

#include "core_support.h"

#include <cmath>
#include <cstring>
#include <vector>

namespace engine {

inline TQ3Point3D P(float x, float y, float z) { return {x, y, z}; }

// A trimesh from points and triangles, with optional per-vertex normals,
// UVs and diffuse colours and a geometry-level attribute set.
struct MeshRecipe {
  std::vector<TQ3Point3D> points;
  std::vector<TQ3TriMeshTriangleData> triangles;
  std::vector<TQ3Vector3D> normals;
  std::vector<TQ3Param2D> uvs;
  std::vector<TQ3ColorRGB> diffuse;
  TQ3AttributeSet attributes = nullptr;
};

inline TQ3GeometryObject makeTriMesh(MeshRecipe &recipe) {
  std::vector<TQ3TriMeshAttributeData> vertexAttrs;
  if (!recipe.normals.empty()) vertexAttrs.push_back({kQ3AttributeTypeNormal, recipe.normals.data(), nullptr});
  if (!recipe.uvs.empty()) vertexAttrs.push_back({kQ3AttributeTypeShadingUV, recipe.uvs.data(), nullptr});
  if (!recipe.diffuse.empty()) vertexAttrs.push_back({kQ3AttributeTypeDiffuseColor, recipe.diffuse.data(), nullptr});
  TQ3TriMeshData d{};
  d.triMeshAttributeSet = recipe.attributes;
  d.numTriangles = TQ3Uns32(recipe.triangles.size());
  d.triangles = recipe.triangles.data();
  d.numPoints = TQ3Uns32(recipe.points.size());
  d.points = recipe.points.data();
  d.numVertexAttributeTypes = TQ3Uns32(vertexAttrs.size());
  d.vertexAttributeTypes = vertexAttrs.empty() ? nullptr : vertexAttrs.data();
  d.bBox.isEmpty = kQ3True;
  return Q3TriMesh_New(&d);
}

// An axis-aligned square in the plane z, centred on (cx, cy), counter-
// clockwise seen from +z (or clockwise with ccw false), normals +z (or the
// given sign), UVs from (0,0) at the bottom left to (1,1) at the top right.
inline MeshRecipe square(float cx, float cy, float z, float half, bool ccw = true, float normalZ = 1.0f) {
  MeshRecipe s;
  s.points = {P(cx - half, cy - half, z), P(cx + half, cy - half, z), P(cx + half, cy + half, z),
              P(cx - half, cy + half, z)};
  if (ccw)
    s.triangles = {{{0, 1, 2}}, {{0, 2, 3}}};
  else
    s.triangles = {{{0, 2, 1}}, {{0, 3, 2}}};
  s.normals.assign(4, TQ3Vector3D{0, 0, normalZ});
  s.uvs = {{0, 0}, {1, 0}, {1, 1}, {0, 1}};
  return s;
}

inline TQ3AttributeSet colourSet(TQ3ColorRGB diffuse) {
  TQ3AttributeSet set = Q3AttributeSet_New();
  Q3AttributeSet_Add(set, kQ3AttributeTypeDiffuseColor, &diffuse);
  return set;
}

// Pixels of a pixmap draw context, read back as 0xRRGGBB.
struct Canvas {
  int width, height;
  TQ3PixelType type;
  TQ3Endian order;
  uint32_t rowBytes;
  std::vector<uint8_t> bytes;
  TQ3DrawContextObject dc = nullptr;

  Canvas(int w, int h, TQ3ColorARGB clear = {0, 0, 0, 0}, TQ3PixelType t = kQ3PixelTypeRGB32,
         TQ3Endian o = kQ3EndianBig, uint32_t extraRowBytes = 0)
      : width(w), height(h), type(t), order(o) {
    const uint32_t bpp = t == kQ3PixelTypeRGB24 ? 3 : (t == kQ3PixelTypeRGB32 || t == kQ3PixelTypeARGB32) ? 4 : 2;
    rowBytes = uint32_t(w) * bpp + extraRowBytes;
    bytes.assign(size_t(rowBytes) * h, 0xEE);
    TQ3PixmapDrawContextData d{};
    d.drawContextData.clearImageMethod = kQ3ClearMethodWithColor;
    d.drawContextData.clearImageColor = clear;
    d.drawContextData.paneState = kQ3False;
    d.drawContextData.doubleBufferState = kQ3False;
    d.pixmap = {bytes.data(), uint32_t(w), uint32_t(h), rowBytes, bpp * 8, t, kQ3EndianBig, o};
    dc = Q3PixmapDrawContext_New(&d);
  }
  // 0xRRGGBB of an RGB32 big-endian canvas.
  uint32_t rgb(int x, int y) const {
    const uint8_t *p = &bytes[size_t(y) * rowBytes + size_t(x) * 4];
    return uint32_t(p[1]) << 16 | uint32_t(p[2]) << 8 | p[3];
  }
  uint32_t red(int x, int y) const { return rgb(x, y) >> 16; }
};

inline uint32_t channel(double c) { return uint32_t(std::min(1.0, std::max(0.0, c)) * 255.0 + 0.5); }
inline uint32_t grey(double c) { return channel(c) * 0x010101u; }
inline uint32_t rgbOf(double r, double g, double b) { return channel(r) << 16 | channel(g) << 8 | channel(b); }

// Camera on +z looking at the origin; the square of half-size `half` at
// z = 0 fills the view exactly when fov is 2 atan(half / distance).
inline TQ3CameraObject camera(float distance = 5.0f, float fov = 1.5707963f, float aspect = 1.0f, float hither = 1.0f,
                              float yon = 100.0f) {
  TQ3ViewAngleAspectCameraData d{};
  d.cameraData.placement = {P(0, 0, distance), P(0, 0, 0), {0, 1, 0}};
  d.cameraData.range = {hither, yon};
  d.cameraData.viewPort = {{-1, 1}, 2, 2};
  d.fov = fov;
  d.aspectRatioXToY = aspect;
  return Q3ViewAngleAspectCamera_New(&d);
}

// A view drawing into `canvas` with the given renderer and an optional
// light group (owned by the view afterwards).
inline TQ3ViewObject viewFor(const Canvas &canvas, TQ3ObjectType renderer = kQ3RendererTypeInteractive,
                             TQ3GroupObject lights = nullptr, TQ3CameraObject cam = nullptr) {
  TQ3ViewObject view = Q3View_New();
  if (!cam) cam = camera();
  Q3View_SetCamera(view, cam);
  Q3Object_Dispose(cam);
  Q3View_SetDrawContext(view, canvas.dc);
  Q3View_SetRendererByType(view, renderer);
  if (lights) {
    Q3View_SetLightGroup(view, lights);
    Q3Object_Dispose(lights);
  }
  return view;
}

inline TQ3GroupObject lightGroup(float ambient, float directional, TQ3Vector3D direction = {0, 0, -1}) {
  TQ3GroupObject group = Q3LightGroup_New();
  TQ3LightData a{kQ3True, ambient, {1, 1, 1}};
  TQ3LightObject amb = Q3AmbientLight_New(&a);
  Q3Group_AddObject(group, amb);
  Q3Object_Dispose(amb);
  if (directional > 0) {
    TQ3DirectionalLightData d{{kQ3True, directional, {1, 1, 1}}, kQ3False, direction};
    TQ3LightObject dir = Q3DirectionalLight_New(&d);
    Q3Group_AddObject(group, dir);
    Q3Object_Dispose(dir);
  }
  return group;
}

// Renders one frame: `submit` is called once per pass.
template <typename F> TQ3ViewStatus render(TQ3ViewObject view, F submit) {
  if (Q3View_StartRendering(view) != kQ3Success) return kQ3ViewStatusError;
  TQ3ViewStatus status;
  int passes = 0;
  do {
    submit();
    status = Q3View_EndRendering(view);
  } while (status == kQ3ViewStatusRetraverse && ++passes < 100);
  return status;
}

} // namespace engine
