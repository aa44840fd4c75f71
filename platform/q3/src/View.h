// View.h: views, their loops and the state submitted into them.
//
// Contract: a View holds its camera, renderer, draw context and light group
// (a reference each) and runs one loop at a time: rendering, picking,
// bounding box or bounding sphere. A loop is a series of passes; a pass
// opens at the start call (or, after an end call answered Retraverse, at
// the first submit or end call that follows) and closes at the end call.
// Inside a pass the View is the SubmitTarget: it keeps the DrawState stack
// (transform, styles, illumination, attributes) and hands every geometry,
// with the state in effect, to the loop's LoopPass (RendererPass.h, PickPass.h,
// Bounds.h). Nothing reaches a LoopPass outside an open pass.
#pragma once

#include "Camera.h"
#include "DrawContext.h"
#include "Mesh.h"
#include "Object.h"
#include "Q3View.h"
#include "RasterMath.h"
#include "Renderer.h"
#include "Submit.h"

#include <memory>
#include <vector>

namespace q3 {

class Pick;

// What acts on geometry at one point of a pass.
struct DrawState {
  raster::M4 localToWorld = raster::M4::identity();
  TQ3BackfacingStyle backfacing = kQ3BackfacingStyleBoth;
  TQ3InterpolationStyle interpolation = kQ3InterpolationStyleVertex;
  TQ3FillStyle fill = kQ3FillStyleFilled;
  TQ3OrientationStyle orientation = kQ3OrientationStyleCounterClockwise;
  TQ3FogStyleData fog{kQ3Off, kQ3FogModeLinear, 1.0f, 1000.0f, 1.0f, {1, 1, 1, 1}};
  uint32_t pickID = 0;
  TQ3ObjectType illumination = kQ3IlluminationTypeLambert;
  AttributeValues attributes; // the view's attribute state, texture included
};

// The loop-specific work of a pass.
class LoopPass {
public:
  virtual ~LoopPass() = default;
  // Prepares a pass; false (error posted) when it cannot run.
  virtual bool open() = 0;
  virtual void geometry(const Object &object, const Mesh &mesh, const DrawState &state) = 0;
  // Finishes the pass and delivers its results; false (error posted) when
  // delivery failed.
  virtual bool close() = 0;
};

class View : public Object, public SubmitTarget {
public:
  enum class Loop { None, Rendering, Picking, BoundingBox, BoundingSphere };

  View() : Object(type::View) {}
  ~View() override;

  Camera *camera() const { return camera_.get(); }
  Renderer *renderer() const { return renderer_.get(); }
  DrawContext *drawContext() const { return drawContext_.get(); }
  Shape *lightGroup() const { return lightGroup_.get(); }
  // Setters refuse (kQ3ErrorViewIsStarted) while a pass is open.
  bool setCamera(Camera *c);
  bool setRenderer(Renderer *r);
  bool setDrawContext(DrawContext *d);
  bool setLightGroup(Shape *g);

  bool startRendering();
  bool startPicking(Pick &pick);
  bool startBounds(Loop which);
  // Closes the pass of `which`; the result for the caller.
  TQ3ViewStatus end(Loop which);
  // The sphere or box of the last closed bounding pass.
  const TQ3BoundingBox &boxResult() const { return box_; }
  const TQ3BoundingSphere &sphereResult() const { return sphere_; }
  void setBoundsResult(const TQ3BoundingBox &b) { box_ = b; }
  void setBoundsResult(const TQ3BoundingSphere &s) { sphere_ = s; }

  void cancel() { cancelled_ = true; }
  void requestRetraverse(TQ3Uns32 passes) { retraverseRequests_ = passes; }
  // Passes ended in the latest loop, for tests of callers' pass limits.
  TQ3Uns32 passesEnded() const { return passesEnded_; }

  // Whether submits may go in now; opens the next pass of a loop waiting for
  // retraversal. Posts kQ3ErrorViewNotStarted outside a loop.
  bool readyForSubmit();
  bool canPop() const { return stack_.size() > 1; }
  // A transform in double precision (the immediate-mode submit calls).
  void transformBy(const raster::M4 &localToParent);

  // SubmitTarget
  void push() override;
  void pop() override;
  void transform(const TQ3Matrix4x4 &localToParent) override;
  void resetTransform() override;
  void backfacing(TQ3BackfacingStyle style) override { current().backfacing = style; }
  void interpolation(TQ3InterpolationStyle style) override { current().interpolation = style; }
  void fill(TQ3FillStyle style) override { current().fill = style; }
  void orientation(TQ3OrientationStyle style) override { current().orientation = style; }
  void fog(const TQ3FogStyleData &fog) override { current().fog = fog; }
  void pickID(uint32_t id) override { current().pickID = id; }
  void illumination(TQ3ObjectType model) override { current().illumination = model; }
  void surfaceTexture(std::shared_ptr<const TextureImage> texture) override;
  void attributes(const AttributeValues &values) override;
  void geometry(const Object &object, const Mesh &mesh) override;
  SubmitTarget::Pass pass() const override;

private:
  DrawState &current() { return stack_.back(); }
  bool changeAllowed();
  bool beginLoop(Loop which, std::unique_ptr<LoopPass> pass);
  bool openPass();
  void abandon();
  TQ3Uns32 watchedEdits() const;

  Ref<Camera> camera_;
  Ref<Renderer> renderer_;
  Ref<DrawContext> drawContext_;
  Ref<Shape> lightGroup_;

  Loop loop_ = Loop::None;
  bool passOpen_ = false;
  bool passFailed_ = false;
  bool cancelled_ = false;
  TQ3Uns32 retraverseRequests_ = 0;
  TQ3Uns32 passesEnded_ = 0;
  TQ3Uns32 editsAtOpen_ = 0;
  std::unique_ptr<LoopPass> pass_;
  std::vector<DrawState> stack_{DrawState{}};
  TQ3BoundingBox box_{{0, 0, 0}, {0, 0, 0}, kQ3True};
  TQ3BoundingSphere sphere_{{0, 0, 0}, 0.0f, kQ3True};
};

// Overlays every value `over` has onto `base` (lower levels win).
void overlayAttributes(AttributeValues &base, const AttributeValues &over);

} // namespace q3
