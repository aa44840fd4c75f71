// The Zu3ROzuvu control in a real window, through the reference host.
#include <gtest/gtest.h>

#include "Q3.h"
#include "host/Host.h"

#include <cmath>
#include <cstring>
#include <memory>

using host::Color;
using host::Counts;
using host::Ref;
using host::Value;

namespace {
// A red square of side 2 in the object's XY plane, facing +Z.
const char *kRedSquare = "3DMetafile ( 1 6 Normal nil> )\n"
                         "Container (\n"
                         "  TriMesh ( 2 0 0 0 4 0\n"
                         "    0 1 2  0 2 3\n"
                         "    -1 -1 0  1 -1 0  1 1 0  -1 1 0\n"
                         "    -1 -1 0  1 1 0 False )\n"
                         "  Container ( AttributeSet ( ) DiffuseColor ( 1 0 0 ) )\n"
                         ")\n";

constexpr COLORREF kSky = RGB(200, 200, 255);

class View : public ::testing::Test {
protected:
  std::unique_ptr<host::Host> h;
  std::unique_ptr<host::Window> window;
  host::Control *control = nullptr;

  void start(bool runtime, int width = 120, int height = 80) {
    host::Config config;
    config.runtime = runtime;
    h = std::make_unique<host::Host>(config);
    h->load();
    window = std::make_unique<host::Window>(*h, 200, 150);
    control = &window->place("Zu3ROzuvu", 20, 10, width, height);
  }
  void TearDown() override {
    window.reset();
    if (!h) return;
    EXPECT_EQ(h->counts(), Counts{});
    for (const auto &f : h->faults()) ADD_FAILURE() << "host fault: " << f;
    EXPECT_FALSE(Q3IsInitialized());
  }
  Ref square(double z) {
    Ref o = h->New("Object3D");
    o.call("AddShapeFromString", kRedSquare);
    Ref p = o.get("Position").asObject();
    p.set("Z", z);
    return o;
  }
  Ref objects() { return control->ref.get("Objects").asObject(); }
};

// The square is red; lit by the ambient light alone it is a dark red.
bool isRed(uint32_t rgb) { return (rgb >> 16) > 50 && ((rgb >> 8) & 255) < 20 && (rgb & 255) < 20; }
} // namespace

TEST_F(View, DesignTimeDrawsThePlaceholder) {
  start(false);
  control->redraw();
  const struct {
    int x, y;
    COLORREF color;
  } probes[] = {{20, 10, RGB(0, 0, 0)}, {139, 89, RGB(0, 0, 0)},      {80, 10, RGB(0, 0, 0)},       {21, 11, kSky},
                {138, 88, kSky},        {19, 10, RGB(255, 255, 255)}, {140, 50, RGB(255, 255, 255)}};
  for (const auto &p : probes) EXPECT_EQ(window->pixel(p.x, p.y), p.color) << p.x << "," << p.y;
  control->ref.set("FogVisible", true); // a direct property, nothing to do with q3
  EXPECT_FALSE(Q3IsInitialized());
  EXPECT_FALSE(control->ref.call("GetPicture").asObject());
}

TEST_F(View, FirstRedrawCreatesTheViewAndDrawsTheSky) {
  start(true);
  EXPECT_TRUE(Q3IsInitialized());
  EXPECT_FALSE(control->ref.call("GetPicture").asObject()); // no view yet
  control->ref.call("Update");                              // nothing to update yet
  control->redraw();
  EXPECT_EQ(window->pixel(80, 50), kSky);
  EXPECT_EQ(window->pixel(19, 50), RGB(255, 255, 255));
  Ref picture = control->ref.call("GetPicture").asObject();
  ASSERT_TRUE(picture);
  host::PictureImage image = h->readPicture(picture);
  EXPECT_EQ(image.width, 120);
  EXPECT_EQ(image.height, 80);
  EXPECT_EQ(image.at(0, 0), 0xC8C8FFu);
  EXPECT_EQ(image.at(119, 79), 0xC8C8FFu);
}

TEST_F(View, PictureSizes) {
  start(true);
  control->redraw();
  const struct {
    int w, h, depth, expectW, expectH;
  } cases[] = {{100, 0, 8, 100, 80}, {-5, 0, 32, 120, 80}, {33, 17, 24, 33, 17}};
  for (const auto &c : cases) {
    Ref picture = control->ref.call("GetPicture", c.w, c.h, c.depth).asObject();
    ASSERT_TRUE(picture) << c.w;
    host::PictureImage image = h->readPicture(picture);
    EXPECT_EQ(image.width, c.expectW);
    EXPECT_EQ(image.height, c.expectH);
  }
  EXPECT_FALSE(control->ref.call("GetPicture", 40000, 10, 24).asObject());
}

TEST_F(View, ZeroHeightControlNeitherDividesNorDraws) {
  start(true, 50, 0);
  control->redraw();
  EXPECT_FALSE(control->ref.call("GetPicture").asObject());
  EXPECT_TRUE(control->ref.call("GetPicture", 10, 10, 24).asObject());
}

TEST_F(View, SceneInNestedGroupsRendersInWindowAndPictures) {
  start(true);
  Ref inner = h->New("Group3D");
  inner.call("Append", square(-6));
  Ref outer = h->New("Group3D");
  outer.call("Append", inner);
  objects().call("Append", outer);
  Ref right = square(-6);
  right.get("Position").asObject().set("X", 3.0);
  objects().call("Append", right);
  control->redraw();
  // The default camera stands at the origin looking along -Z.
  const COLORREF centre = window->pixel(80, 50);
  EXPECT_TRUE(isRed(uint32_t(GetRValue(centre)) << 16 | uint32_t(GetGValue(centre)) << 8 | GetBValue(centre)))
      << std::hex << centre;
  EXPECT_EQ(window->pixel(22, 12), kSky);
  host::PictureImage image = h->readPicture(control->ref.call("GetPicture").asObject());
  EXPECT_TRUE(isRed(image.at(60, 40))) << std::hex << image.at(60, 40);
  EXPECT_EQ(image.at(1, 1), 0xC8C8FFu);
  EXPECT_TRUE(isRed(image.at(103, 40))) << std::hex << image.at(103, 40); // the second square
  EXPECT_EQ(image.at(85, 40), 0xC8C8FFu);                                 // sky between them
  // Turning the group away hides the square; Update redraws without the host.
  inner.get("Position").asObject().set("X", 100.0);
  control->ref.call("Update");
  EXPECT_EQ(window->pixel(80, 50), kSky);
}

namespace {
// q3 objects the control keeps, read from its data block.
TQ3Object blockObject(const host::Control &c, int offset) {
  uint32_t word;
  std::memcpy(&word, c.ref.block("Zu3ROzuvu") + offset, 4);
  return reinterpret_cast<TQ3Object>(static_cast<uintptr_t>(word));
}
constexpr int kDrawContextAt = 60, kQuesaCameraAt = 68;
} // namespace

TEST_F(View, RedrawsRebuildOnlyWhatChanged) {
  start(true);
  control->redraw();
  TQ3Object drawContext = blockObject(*control, kDrawContextAt);
  TQ3Object camera = blockObject(*control, kQuesaCameraAt);
  ASSERT_TRUE(drawContext && camera);
  const TQ3Uns32 placed = Q3Shared_GetEditIndex(camera);
  control->redraw();
  control->redraw();
  EXPECT_EQ(blockObject(*control, kDrawContextAt), drawContext); // same size: same draw context
  EXPECT_EQ(Q3Shared_GetEditIndex(camera), placed);              // camera unchanged: not placed again
  // Only the w component of the orientation changes: placed again.
  control->ref.get("Camera").asObject().get("Orientation").asObject().set("W", 0.5);
  control->redraw();
  EXPECT_NE(Q3Shared_GetEditIndex(camera), placed);
  control->resize(121, 80);
  EXPECT_NE(blockObject(*control, kDrawContextAt), drawContext);
  float aspect = 0;
  Q3ViewAngleAspectCamera_GetAspectRatio(camera, &aspect);
  EXPECT_FLOAT_EQ(aspect, 121.0f / 80.0f);
}

TEST_F(View, ResizedControlDrawsAtItsNewSize) {
  start(true);
  objects().call("Append", square(-6));
  control->redraw();
  control->resize(60, 60);
  EXPECT_TRUE(window->pixel(50, 40) != kSky);
  host::PictureImage image = h->readPicture(control->ref.call("GetPicture").asObject());
  EXPECT_EQ(image.width, 60);
  EXPECT_EQ(image.height, 60);
}

TEST_F(View, BackgroundFollowsTheCamera) {
  start(true);
  Ref background = h->New("Object3D");
  control->ref.set("Background", background);
  Ref camera = control->ref.get("Camera").asObject();
  Ref position = camera.get("Position").asObject();
  position.set("X", 1.0);
  position.set("Y", 2.0);
  position.set("Z", 3.0);
  control->redraw();
  Ref at = background.get("Position").asObject();
  EXPECT_EQ(at.get("X").asDouble(), 1.0);
  EXPECT_EQ(at.get("Y").asDouble(), 2.0);
  EXPECT_EQ(at.get("Z").asDouble(), 3.0);
  // A nil camera at run time is replaced by a new one at the origin.
  control->ref.set("Camera", nullptr);
  control->redraw();
  EXPECT_TRUE(control->ref.get("Camera").asObject());
}

TEST_F(View, ComputeAndUpdateBounds) {
  start(true);
  Ref o = square(-6);
  const struct {
    int type;
    bool boxEmpty, sphereEmpty;
  } types[] = {{1, true, false}, {2, false, true}, {3, false, false}};
  for (const auto &t : types) {
    Ref b = o.call("ComputeBounds", t.type).asObject();
    ASSERT_TRUE(b) << t.type;
    EXPECT_EQ(b.get("Type").asInteger(), t.type);
  }
  Ref box = o.call("ComputeBounds", 2).asObject();
  Ref min = box.get("Minimum").asObject(), max = box.get("Maximum").asObject();
  EXPECT_NEAR(min.get("X").asDouble(), -1, 1e-5);
  EXPECT_NEAR(max.get("Y").asDouble(), 1, 1e-5);
  EXPECT_NEAR(max.get("Z").asDouble(), -6, 1e-5);
  o.set("Scale", 2.0);
  Ref scaled = o.call("ComputeBounds", 2).asObject();
  EXPECT_NEAR(scaled.get("Minimum").asObject().get("X").asDouble(), -2, 1e-5);
  Ref sphere = o.call("ComputeBounds", 1).asObject();
  EXPECT_NEAR(sphere.get("Radius").asDouble(), 2 * std::sqrt(2.0), 1e-4);
  // Invisible: a Bounds3D of the type with nothing computed.
  o.set("Visible", false);
  Ref none = o.call("ComputeBounds", 2).asObject();
  EXPECT_EQ(none.get("Maximum").asObject().get("Z").asDouble(), 0.0);
  o.set("Visible", true);
  // No current shape: nil.
  Ref empty = h->New("Object3D");
  empty.set("Shape", 0);
  EXPECT_FALSE(empty.call("ComputeBounds", 2).asObject());
  // UpdateBounds walks a group and refreshes what each Bounds holds.
  Ref g = h->New("Group3D");
  g.call("Append", o);
  o.set("Bounds", h->New("Bounds3D"));
  o.get("Bounds").asObject().set("Type", 2);
  g.set("Bounds", h->New("Bounds3D"));
  g.get("Bounds").asObject().set("Type", 2);
  g.get("Position").asObject().set("Y", 10.0);
  g.call("UpdateBounds");
  EXPECT_NEAR(o.get("Bounds").asObject().get("Maximum").asObject().get("Y").asDouble(), 12, 1e-5);
  EXPECT_NEAR(g.get("Bounds").asObject().get("Minimum").asObject().get("Y").asDouble(), 8, 1e-5);
}

TEST_F(View, EndlessRetraversalStopsAtTheLimit) {
  start(true);
  control->redraw();
  uint32_t word;
  std::memcpy(&word, control->ref.block("Zu3ROzuvu") + 56, 4); // QuesaView
  TQ3ViewObject view = reinterpret_cast<TQ3ViewObject>(static_cast<uintptr_t>(word));
  const struct { TQ3Uns32 requested, passes; } cases[] = {{0xFFFFFFFFu, 100}, {150, 100}, {99, 100}, {3, 4}, {0, 1}};
  for (const auto &c : cases) {
    ASSERT_EQ(Q3View_RequestRetraverse(view, c.requested), kQ3Success);
    control->ref.call("Update"); // ends after at most 100 passes instead of looping forever
    TQ3Uns32 passes = 0;
    Q3View_GetPassCount(view, &passes);
    EXPECT_EQ(passes, c.passes) << c.requested;
  }
  Q3View_RequestRetraverse(view, 0);
}

TEST_F(View, ClosingReleasesEverything) {
  start(true);
  objects().call("Append", square(-6));
  control->ref.set("Background", h->New("Object3D"));
  control->redraw();
  host::Control &never = window->place("Zu3ROzuvu", 0, 100, 20, 20); // never redrawn
  window->close(*control);
  window->close(never);
  control = nullptr;
  EXPECT_EQ(h->counts(), Counts{});
  EXPECT_FALSE(Q3IsInitialized());
}
