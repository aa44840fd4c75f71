// q3_bench: rendering, picking and bounding speed of the 3D library on fixed
// scenes, so results compare with other renderers measured on the same
// scenes. Camera at the origin looking along -z, field of view 50 degrees,
// ambient light 0.3 and a directional light 0.9 travelling along
// (-0.18, -0.8, -0.22), back faces removed, vertex interpolation.
//
// Usage: q3_bench [repetitions [case]]   (default 15 repetitions, every
// case; the median is printed)
// One line per case: name, milliseconds per operation (median), triangles
// per second.
#include "Q3.h"

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <functional>
#include <vector>

namespace {

constexpr double kPi = 3.14159265358979323846;

struct Frame {
  int width, height;
  std::vector<uint8_t> pixels;
  TQ3DrawContextObject dc;
  Frame(int w, int h) : width(w), height(h), pixels(size_t(w) * h * 4) {
    TQ3PixmapDrawContextData d{};
    d.drawContextData.clearImageMethod = kQ3ClearMethodWithColor;
    d.drawContextData.clearImageColor = {1, 0.78f, 0.78f, 1};
    d.pixmap = {pixels.data(),     uint32_t(w),  uint32_t(h),    uint32_t(w) * 4, 32,
                kQ3PixelTypeRGB32, kQ3EndianBig, kQ3EndianLittle};
    dc = Q3PixmapDrawContext_New(&d);
  }
  ~Frame() { Q3Object_Dispose(dc); }
};

TQ3ViewObject makeView(const Frame &frame, TQ3ObjectType renderer) {
  TQ3ViewObject view = Q3View_New();
  TQ3ViewAngleAspectCameraData c{};
  c.cameraData.placement = {{0, 0, 0}, {0, 0, -1}, {0, 1, 0}};
  c.cameraData.range = {0.1f, 100.0f};
  c.cameraData.viewPort = {{-1, 1}, 2, 2};
  c.fov = float(50.0 * kPi / 180.0);
  c.aspectRatioXToY = float(frame.width) / float(frame.height);
  TQ3CameraObject camera = Q3ViewAngleAspectCamera_New(&c);
  Q3View_SetCamera(view, camera);
  Q3Object_Dispose(camera);
  Q3View_SetDrawContext(view, frame.dc);
  Q3View_SetRendererByType(view, renderer);
  TQ3GroupObject lights = Q3LightGroup_New();
  TQ3LightData ambient{kQ3True, 0.3f, {1, 1, 1}};
  TQ3Vector3D direction{-0.18f, -0.8f, -0.22f};
  Q3Vector3D_Normalize(&direction, &direction);
  TQ3DirectionalLightData flood{{kQ3True, 0.9f, {1, 1, 1}}, kQ3False, direction};
  TQ3LightObject a = Q3AmbientLight_New(&ambient), f = Q3DirectionalLight_New(&flood);
  Q3Group_AddObject(lights, a);
  Q3Group_AddObject(lights, f);
  Q3Object_Dispose(a);
  Q3Object_Dispose(f);
  Q3View_SetLightGroup(view, lights);
  Q3Object_Dispose(lights);
  return view;
}

TQ3GeometryObject sphere(int rings, int segments) {
  std::vector<TQ3Point3D> points;
  std::vector<TQ3Vector3D> normals;
  for (int r = 0; r <= rings; ++r)
    for (int s = 0; s <= segments; ++s) {
      const double th = kPi * r / rings, ph = 2 * kPi * s / segments;
      const TQ3Vector3D n{float(std::sin(th) * std::cos(ph)), float(std::cos(th)), float(-std::sin(th) * std::sin(ph))};
      points.push_back({n.x, n.y, n.z - 3.0f});
      normals.push_back(n);
    }
  std::vector<TQ3TriMeshTriangleData> triangles;
  for (int r = 0; r < rings; ++r)
    for (int s = 0; s < segments; ++s) {
      const TQ3Uns32 a = r * (segments + 1) + s, b = a + 1, c = a + segments + 1, d = c + 1;
      triangles.push_back({{a, c, b}});
      triangles.push_back({{b, c, d}});
    }
  TQ3TriMeshAttributeData vertexAttrs{kQ3AttributeTypeNormal, normals.data(), nullptr};
  TQ3TriMeshData d{};
  d.numTriangles = TQ3Uns32(triangles.size());
  d.triangles = triangles.data();
  d.numPoints = TQ3Uns32(points.size());
  d.points = points.data();
  d.numVertexAttributeTypes = 1;
  d.vertexAttributeTypes = &vertexAttrs;
  d.bBox.isEmpty = kQ3True;
  return Q3TriMesh_New(&d);
}

// A unit cube centred on the origin: 24 vertices with face normals and UVs.
TQ3GeometryObject cube() {
  std::vector<TQ3Point3D> points;
  std::vector<TQ3Vector3D> normals;
  std::vector<TQ3Param2D> uvs;
  std::vector<TQ3TriMeshTriangleData> triangles;
  for (int axis = 0; axis < 3; ++axis)
    for (int sign = -1; sign <= 1; sign += 2) {
      const int u = (axis + 1) % 3, v = (axis + 2) % 3;
      const TQ3Uns32 base = TQ3Uns32(points.size());
      for (int k = 0; k < 4; ++k) {
        float p[3] = {0, 0, 0};
        p[axis] = 0.5f * sign;
        p[u] = (k == 1 || k == 2) ? 0.5f : -0.5f;
        p[v] = (k >= 2) ? 0.5f : -0.5f;
        points.push_back({p[0], p[1], p[2]});
        float n[3] = {0, 0, 0};
        n[axis] = float(sign);
        normals.push_back({n[0], n[1], n[2]});
        uvs.push_back({(k == 1 || k == 2) ? 1.0f : 0.0f, k >= 2 ? 1.0f : 0.0f});
      }
      // Counter-clockwise seen from outside.
      if (sign > 0) {
        triangles.push_back({{base, base + 1, base + 2}});
        triangles.push_back({{base, base + 2, base + 3}});
      } else {
        triangles.push_back({{base, base + 2, base + 1}});
        triangles.push_back({{base, base + 3, base + 2}});
      }
    }
  TQ3TriMeshAttributeData vertexAttrs[2] = {{kQ3AttributeTypeNormal, normals.data(), nullptr},
                                            {kQ3AttributeTypeShadingUV, uvs.data(), nullptr}};
  TQ3TriMeshData d{};
  d.numTriangles = TQ3Uns32(triangles.size());
  d.triangles = triangles.data();
  d.numPoints = TQ3Uns32(points.size());
  d.points = points.data();
  d.numVertexAttributeTypes = 2;
  d.vertexAttributeTypes = vertexAttrs;
  d.bBox.isEmpty = kQ3True;
  return Q3TriMesh_New(&d);
}

TQ3ShaderObject checker() {
  std::vector<uint8_t> texels(64 * 64 * 4);
  for (int y = 0; y < 64; ++y)
    for (int x = 0; x < 64; ++x) {
      const uint8_t c = ((x / 8 + y / 8) & 1) ? 230 : 40;
      uint8_t *p = &texels[size_t(y * 64 + x) * 4];
      p[0] = 255, p[1] = c, p[2] = c, p[3] = 255 - c;
    }
  TQ3StorageObject storage = Q3MemoryStorage_New(texels.data(), TQ3Uns32(texels.size()));
  TQ3StoragePixmap pixmap{storage, 64, 64, 256, 32, kQ3PixelTypeRGB32, kQ3EndianBig, kQ3EndianBig};
  TQ3TextureObject texture = Q3PixmapTexture_New(&pixmap);
  TQ3ShaderObject shader = Q3TextureShader_New(texture);
  Q3Object_Dispose(texture);
  Q3Object_Dispose(storage);
  return shader;
}

TQ3Quaternion turn(double degrees) {
  TQ3Vector3D axis{0.3f, 1.0f, 0.2f};
  Q3Vector3D_Normalize(&axis, &axis);
  TQ3Quaternion q;
  Q3Quaternion_SetRotateAboutAxis(&q, &axis, float(degrees * kPi / 180.0));
  return q;
}

template <typename F> TQ3ViewStatus renderFrame(TQ3ViewObject view, F submit) {
  Q3View_StartRendering(view);
  TQ3ViewStatus status;
  do {
    Q3BackfacingStyle_Submit(kQ3BackfacingStyleRemove, view);
    Q3InterpolationStyle_Submit(kQ3InterpolationStyleVertex, view);
    submit();
    status = Q3View_EndRendering(view);
  } while (status == kQ3ViewStatusRetraverse);
  return status;
}

template <typename F> TQ3Uns32 pickAt(TQ3ViewObject view, float x, float y, F submit) {
  const TQ3WindowPointPickData d{
      {kQ3PickSortNearToFar, kQ3PickDetailMaskPickID | kQ3PickDetailMaskXYZ, 1}, {x, y}, 2.0f, 2.0f};
  TQ3PickObject pick = Q3WindowPointPick_New(&d);
  Q3View_StartPicking(view, pick);
  do {
    Q3BackfacingStyle_Submit(kQ3BackfacingStyleRemove, view);
    submit();
  } while (Q3View_EndPicking(view) == kQ3ViewStatusRetraverse);
  TQ3Uns32 hits = 0;
  Q3Pick_GetNumHits(pick, &hits);
  Q3Object_Dispose(pick);
  return hits;
}

const char *only = nullptr;

void report(const char *name, int repetitions, double triangles, const std::function<void()> &op) {
  if (only && std::strcmp(only, name) != 0) return;
  op(); // warm-up: caches and allocations
  std::vector<double> ms;
  for (int i = 0; i < repetitions; ++i) {
    const auto t0 = std::chrono::steady_clock::now();
    op();
    const auto t1 = std::chrono::steady_clock::now();
    ms.push_back(std::chrono::duration<double, std::milli>(t1 - t0).count());
  }
  std::sort(ms.begin(), ms.end());
  const double median = ms[ms.size() / 2];
  std::printf("%-16s %10.3f ms/op %14.0f triangles/s\n", name, median, triangles / (median / 1000.0));
}

} // namespace

int main(int argc, char **argv) {
  const int repetitions = argc > 1 ? std::max(1, std::atoi(argv[1])) : 15;
  if (argc > 2) only = argv[2];
  if (Q3Initialize() != kQ3Success) return 1;
  {
    // mesh: UV sphere, 223 rings x 223 segments, radius 1, 3 units ahead.
    Frame frame(512, 512);
    TQ3ViewObject lit = makeView(frame, kQ3RendererTypeInteractive);
    TQ3ViewObject wire = makeView(frame, kQ3RendererTypeWireFrame);
    TQ3GeometryObject ball = sphere(223, 223);
    const double tris = 223.0 * 223.0 * 2.0;
    report("mesh", repetitions, tris, [&] { renderFrame(lit, [&] { Q3Object_Submit(ball, lit); }); });
    report("mesh-wireframe", repetitions, tris, [&] { renderFrame(wire, [&] { Q3Object_Submit(ball, wire); }); });
    report("mesh-pick", repetitions, tris, [&] {
      if (pickAt(lit, 256, 256, [&] { Q3Object_Submit(ball, lit); }) != 1) std::puts("mesh pick missed");
    });
    TQ3ViewObject bounds = Q3View_New();
    report("mesh-box", repetitions, tris, [&] {
      TQ3BoundingBox box;
      Q3View_StartBoundingBox(bounds, kQ3ComputeBoundsExact);
      Q3Object_Submit(ball, bounds);
      Q3View_EndBoundingBox(bounds, &box);
    });
    report("mesh-sphere", repetitions, tris, [&] {
      TQ3BoundingSphere s;
      Q3View_StartBoundingSphere(bounds, kQ3ComputeBoundsExact);
      Q3Object_Submit(ball, bounds);
      Q3View_EndBoundingSphere(bounds, &s);
    });
    for (TQ3Object o : {lit, wire, ball, bounds}) Q3Object_Dispose(o);
  }
  TQ3GeometryObject box = cube();
  TQ3ShaderObject texture = checker();
  {
    // cube: one textured cube, turned 30 degrees, 3 units away.
    Frame frame(256, 256);
    TQ3ViewObject view = makeView(frame, kQ3RendererTypeInteractive);
    const TQ3Quaternion q = turn(30);
    const TQ3Vector3D at{0, 0, -3};
    report("cube", repetitions * 20, 12, [&] {
      renderFrame(view, [&] {
        Q3Shader_Submit(texture, view);
        Q3TranslateTransform_Submit(&at, view);
        Q3QuaternionTransform_Submit(&q, view);
        Q3Object_Submit(box, view);
      });
    });
    Q3Object_Dispose(view);
  }
  {
    // objects: 1000 cubes scaled 0.06 on a 40 x 25 grid 0.08 apart.
    Frame frame(512, 512);
    TQ3ViewObject view = makeView(frame, kQ3RendererTypeInteractive);
    std::vector<TQ3Quaternion> turns;
    std::vector<TQ3Vector3D> places;
    for (int i = 0; i < 1000; ++i) {
      turns.push_back(turn(7.0 * i));
      places.push_back({float((i % 40) - 19.5) * 0.08f, float((i / 40) - 12) * 0.08f, -3.0f});
    }
    const TQ3Vector3D small{0.06f, 0.06f, 0.06f};
    auto submitAll = [&] {
      Q3Shader_Submit(texture, view);
      for (int i = 0; i < 1000; ++i) {
        Q3PickIDStyle_Submit(TQ3Uns32(i + 1), view);
        Q3Push_Submit(view);
        Q3TranslateTransform_Submit(&places[size_t(i)], view);
        Q3QuaternionTransform_Submit(&turns[size_t(i)], view);
        Q3ScaleTransform_Submit(&small, view);
        Q3Object_Submit(box, view);
        Q3Pop_Submit(view);
      }
    };
    report("objects", repetitions, 12000, [&] { renderFrame(view, submitAll); });
    report("objects-pick", repetitions, 12000, [&] {
      if (pickAt(view, 256, 256, submitAll) != 1) std::puts("objects pick missed");
    });
    Q3Object_Dispose(view);
  }
  Q3Object_Dispose(box);
  Q3Object_Dispose(texture);
  Q3Exit();
  return 0;
}
