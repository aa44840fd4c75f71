#include "Scene.h"

#include "DemoScene.h"
#include "Q3.h"
#include "host/Host.h"

#include <algorithm>
#include <chrono>
#include <cmath>
#include <fstream>
#include <memory>

namespace du3v_tool {

long trianglesIn(TQ3Object object, int depth);

namespace {
using host::Color;
using host::Ref;

constexpr double kPi = 3.14159265358979323846;
// Models are scaled to this radius so that the control's Integer hither and
// yon (5 and 5000 by default) frame them whatever their own units.
constexpr double kSceneRadius = 100.0;

struct Stage {
  host::Host host;
  std::unique_ptr<host::Window> window;
  host::Control *control = nullptr;

  Stage(int width, int height) {
    host.load();
    window = std::make_unique<host::Window>(host, width, height);
    control = &window->place("Zu3ROzuvu", 0, 0, width, height);
  }
  ~Stage() { window.reset(); }
  Ref objects() const { return control->ref.get("Objects").asObject(); }
};

void setVector(const Ref &v, double x, double y, double z) {
  v.set("X", x);
  v.set("Y", y);
  v.set("Z", z);
}

// Points the camera at `centre` from `distance`, turned by yaw about the
// vertical and pitched down by pitch (degrees).
void aimCamera(host::Host &h, const host::Control &control, double yaw, double pitch, double distance) {
  Ref camera = control.ref.get("Camera").asObject();
  camera.set("Orientation", h.New("Quaternion"));
  camera.call("Yaw", kPi + yaw * kPi / 180); // a new camera looks along +Z; turn it to face -Z first
  camera.call("Pitch", pitch * kPi / 180);
  Ref ahead = camera.call("ObjectToWorldTransform", h.New("Vector3D", 0.0, 0.0, 1.0)).asObject();
  // The camera stands at the origin while aiming: ahead is its view direction.
  const double ax = ahead.get("X").asDouble(), ay = ahead.get("Y").asDouble(), az = ahead.get("Z").asDouble();
  setVector(camera.get("Position").asObject(), -ax * distance, -ay * distance, -az * distance);
  // The flood light comes over the viewer's left shoulder, from above: the
  // faces turned to the camera are lit, with some shape to them.
  Ref right = camera.call("ObjectToWorldTransform", h.New("Vector3D", 1.0, 0.0, 0.0)).asObject();
  const double rx = right.get("X").asDouble() + ax * distance, rz = right.get("Z").asDouble() + az * distance;
  Ref flood = h.New("Vector3D", ax + 0.5 * rx, ay - 0.7, az + 0.5 * rz);
  control.ref.set("FloodDirection", flood);
}

// Objects and triangles drawn: each visible object's current shape, groups
// walked through.
void countScene(const Ref &object, RenderReport &report, int depth = 0) {
  if (!object || depth > 64 || !object.get("Visible").asBoolean()) return;
  if (object.className() == "Group3D") {
    const int n = object.call("Count").asInteger();
    for (int i = 0; i < n; ++i) countScene(object.call("Item", i).asObject(), report, depth + 1);
    return;
  }
  const int shape = object.get("Shape").asInteger();
  if (shape < 0) return;
  try {
    const int32_t handle = object.call("GetShapeHandle", shape).asInteger();
    TQ3Object q3shape = reinterpret_cast<TQ3Object>(static_cast<uintptr_t>(static_cast<uint32_t>(handle)));
    report.triangles += trianglesIn(q3shape, 0);
    Q3Object_Dispose(q3shape);
    ++report.objects;
  } catch (const host::ScriptException &) {
    // no shape at that index: nothing drawn
  }
}

double medianOf(std::vector<double> v) {
  std::sort(v.begin(), v.end());
  return v.empty() ? 0 : v[v.size() / 2];
}

RenderReport takePictures(Stage &stage, int frames) {
  RenderReport report;
  std::vector<double> times;
  Ref picture;
  for (int i = 0; i < frames; ++i) {
    const auto start = std::chrono::steady_clock::now();
    picture = stage.control->ref.call("GetPicture").asObject();
    times.push_back(std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count());
  }
  if (!picture) {
    report.error = "the plugin made no picture";
    return report;
  }
  host::PictureImage image = stage.host.readPicture(picture);
  report.picture = Picture{image.width, image.height, image.pixels};
  report.medianMs = medianOf(times);
  countScene(stage.objects(), report);
  return report;
}
} // namespace

namespace {
std::string kindName(TQ3ObjectType type) {
  static const struct {
    TQ3ObjectType type;
    const char *name;
  } names[] = {{kQ3GeometryTypeTriMesh, "TriMesh"},
               {kQ3GeometryTypeTriangle, "Triangle"},
               {kQ3GeometryTypePolygon, "Polygon"},
               {kQ3GeometryTypeGeneralPolygon, "GeneralPolygon"},
               {kQ3GeometryTypeBox, "Box"},
               {kQ3GeometryTypeMesh, "Mesh"},
               {kQ3GeometryTypeTriGrid, "TriGrid"},
               {kQ3GeometryTypePolyhedron, "Polyhedron"},
               {kQ3GeometryTypeEllipsoid, "Ellipsoid"},
               {kQ3GeometryTypeCylinder, "Cylinder"},
               {kQ3GeometryTypeCone, "Cone"},
               {kQ3GeometryTypeDisk, "Disk"},
               {kQ3GeometryTypeTorus, "Torus"},
               {kQ3GeometryTypeEllipse, "Ellipse"},
               {kQ3GeometryTypeLine, "Line"},
               {kQ3GeometryTypePolyLine, "PolyLine"},
               {kQ3GeometryTypePoint, "Point"},
               {kQ3GroupTypeDisplay, "DisplayGroup"},
               {kQ3DisplayGroupTypeOrdered, "OrderedDisplayGroup"},
               {kQ3GroupTypeLight, "LightGroup"},
               {kQ3GroupTypeInfo, "InfoGroup"},
               {kQ3SetTypeAttribute, "AttributeSet"}};
  for (const auto &n : names)
    if (n.type == type) return n.name;
  std::string code;
  for (int shift = 24; shift >= 0; shift -= 8) {
    const char c = static_cast<char>((static_cast<uint32_t>(type) >> shift) & 0xFF);
    code += (c >= 32 && c < 127) ? c : '?';
  }
  return "'" + code + "'";
}

} // namespace

// Triangles below an object: geometries count their tessellation, groups
// their members (to a sane depth).
long trianglesIn(TQ3Object object, int depth) {
  if (!object || depth > 64) return 0;
  if (Q3Object_IsType(object, kQ3ShapeTypeGeometry)) {
    TQ3GeometryMeshInfo info{};
    return Q3Geometry_GetMeshInfo(object, &info) == kQ3Success ? static_cast<long>(info.numTriangles) : 0;
  }
  if (!Q3Object_IsType(object, kQ3ShapeTypeGroup)) return 0;
  long total = 0;
  TQ3GroupPosition position = nullptr;
  for (Q3Group_GetFirstPosition(object, &position); position; Q3Group_GetNextPosition(object, &position)) {
    TQ3Object member = nullptr;
    if (Q3Group_GetPositionObject(object, position, &member) != kQ3Success) continue;
    total += trianglesIn(member, depth + 1);
    Q3Object_Dispose(member);
  }
  return total;
}

namespace {
std::string unreadable(const std::string &path) {
  std::ifstream probe(path, std::ios::binary);
  if (!probe) return "cannot open " + path;
  if (probe.peek() == std::ifstream::traits_type::eof()) return path + " is empty";
  return "";
}
} // namespace

InfoReport InfoModel(const Options &o) {
  InfoReport report;
  report.error = unreadable(o.model);
  if (!report.error.empty()) return report;
  host::Host h;
  h.load();
  Ref model = h.New("Object3D");
  model.call("AddShapeFromFile", h.newFolderItem(o.model));
  const int32_t handle = model.call("GetShapeHandle", 0).asInteger();
  TQ3GroupObject group = reinterpret_cast<TQ3GroupObject>(static_cast<uintptr_t>(static_cast<uint32_t>(handle)));
  TQ3GroupPosition position = nullptr;
  for (Q3Group_GetFirstPosition(group, &position); position; Q3Group_GetNextPosition(group, &position)) {
    TQ3Object member = nullptr;
    if (Q3Group_GetPositionObject(group, position, &member) != kQ3Success) continue;
    const std::string kind = kindName(Q3Object_GetLeafType(member));
    auto it = std::find_if(report.kinds.begin(), report.kinds.end(), [&](auto &k) { return k.first == kind; });
    if (it == report.kinds.end())
      report.kinds.emplace_back(kind, 1);
    else
      ++it->second;
    Q3Object_Dispose(member);
  }
  report.triangles = trianglesIn(group, 0);
  Q3Object_Dispose(group);
  if (report.kinds.empty()) report.error = o.model + " holds no 3DMF objects";
  Ref box = model.call("ComputeBounds", 2).asObject();
  if (box && report.triangles > 0) {
    Ref lo = box.get("Minimum").asObject(), hi = box.get("Maximum").asObject();
    report.hasBounds = true;
    report.min[0] = lo.get("X").asDouble(), report.min[1] = lo.get("Y").asDouble(),
    report.min[2] = lo.get("Z").asDouble();
    report.max[0] = hi.get("X").asDouble(), report.max[1] = hi.get("Y").asDouble(),
    report.max[2] = hi.get("Z").asDouble();
  }
  return report;
}

RenderReport RenderModel(const Options &o) {
  const std::string problem = unreadable(o.model);
  if (!problem.empty()) return RenderReport{problem, {}, 0, 0};
  Stage stage(o.width, o.height);
  Ref model = stage.host.New("Object3D");
  model.call("AddShapeFromFile", stage.host.newFolderItem(o.model));
  Ref sphere = model.call("ComputeBounds", 1).asObject();
  const double radius = sphere ? sphere.get("Radius").asDouble() : 0;
  if (!sphere || !(radius > 0) || !std::isfinite(radius))
    return RenderReport{o.model + " holds no drawable geometry", {}, 0, 0};
  Ref centre = sphere.get("Center").asObject();
  // Scale about the model's centre and put that centre at the origin.
  const double scale = kSceneRadius / radius;
  model.set("Scale", scale);
  setVector(model.get("Position").asObject(), -centre.get("X").asDouble() * scale, -centre.get("Y").asDouble() * scale,
            -centre.get("Z").asDouble() * scale);
  stage.objects().call("Append", model);

  Ref view = stage.control->ref;
  const double fov = 50 * kPi / 180;
  const double distance = o.distance ? *o.distance * scale : kSceneRadius / std::sin(fov / 2) * 1.05;
  aimCamera(stage.host, *stage.control, o.yaw.value_or(30), o.pitch.value_or(20), distance);
  // Clip just around the model, so that fog spans its depth.
  view.set("Hither", std::max(1, static_cast<int>(distance - 2 * kSceneRadius)));
  view.set("Yon", static_cast<int>(distance + 2 * kSceneRadius));
  view.set("SkyColor", Color{o.sky});
  view.set("Wireframe", o.wireframe);
  if (o.fog) {
    view.set("FogStart", std::max(1, static_cast<int>(distance - kSceneRadius)));
    view.set("FogVisible", true);
  }
  stage.control->redraw(); // the first redraw makes the view
  return takePictures(stage, o.frames);
}

RenderReport RenderDemo(const Options &o) {
  Stage stage(o.width, o.height);
  BuildDemoScene(stage.host, stage.objects());
  aimCamera(stage.host, *stage.control, 0, 15, 9);
  stage.control->redraw();
  return takePictures(stage, o.frames);
}

} // namespace du3v_tool
