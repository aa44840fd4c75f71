// View.cpp: views: their parts, loops and the state stack of a pass, and the
// Q3View_* calls.
#include "View.h"

#include "Bounds.h"
#include "Camera.h"
#include "DrawContext.h"
#include "Pick.h"
#include "PickPass.h"
#include "Renderer.h"
#include "RendererPass.h"

#include <algorithm>
#include <new>

namespace q3 {

void overlayAttributes(AttributeValues &base, const AttributeValues &over) {
  using A = AttributeValues;
  if (over.has(A::kDiffuse)) base.diffuse = over.diffuse;
  if (over.has(A::kSpecular)) base.specular = over.specular;
  if (over.has(A::kTransparency)) base.transparency = over.transparency;
  if (over.has(A::kSpecularControl)) base.specularControl = over.specularControl;
  if (over.has(A::kAmbientCoefficient)) base.ambientCoefficient = over.ambientCoefficient;
  if (over.has(A::kNormal)) base.normal = over.normal;
  if (over.has(A::kUV)) base.uv = over.uv;
  if (over.has(A::kTexture)) base.texture = over.texture;
  base.mask |= over.mask;
}

View::~View() = default;

bool View::changeAllowed() {
  if (!passOpen_) return true;
  postError(kQ3ErrorViewIsStarted);
  return false;
}

bool View::setCamera(Camera *c) {
  if (!changeAllowed()) return false;
  camera_ = Ref<Camera>::share(c);
  return true;
}
bool View::setRenderer(Renderer *r) {
  if (!changeAllowed()) return false;
  renderer_ = Ref<Renderer>::share(r);
  return true;
}
bool View::setDrawContext(DrawContext *d) {
  if (!changeAllowed()) return false;
  drawContext_ = Ref<DrawContext>::share(d);
  return true;
}
bool View::setLightGroup(Shape *g) {
  if (!changeAllowed()) return false;
  lightGroup_ = Ref<Shape>::share(g);
  return true;
}

// A change to any of these during a pass makes the pass's result stale.
// Edit indices come from one rising counter, so the largest one moves
// whenever any of them changes.
TQ3Uns32 View::watchedEdits() const {
  TQ3Uns32 e = 0;
  if (camera_) e = std::max(e, camera_->editIndex());
  if (renderer_) e = std::max(e, renderer_->editIndex());
  if (drawContext_) e = std::max(e, drawContext_->editIndex());
  return e;
}

void View::abandon() {
  pass_.reset();
  loop_ = Loop::None;
  passOpen_ = false;
  passFailed_ = false;
  stack_.assign(1, DrawState{});
}

bool View::beginLoop(Loop which, std::unique_ptr<LoopPass> pass) {
  loop_ = which;
  pass_ = std::move(pass);
  cancelled_ = false;
  passesEnded_ = 0;
  if (!openPass()) {
    abandon();
    return false;
  }
  return true;
}

bool View::openPass() {
  try {
    stack_.assign(1, DrawState{});
  } catch (const std::bad_alloc &) {
    postError(kQ3ErrorOutOfMemory);
    return false;
  }
  editsAtOpen_ = watchedEdits();
  passOpen_ = true;
  passFailed_ = !pass_->open();
  return !passFailed_;
}

bool View::startRendering() {
  if (!changeAllowed()) return false;
  abandon(); // a loop left waiting for retraversal
  if (!camera_) return postError(kQ3ErrorCameraNotSet), false;
  if (!renderer_) return postError(kQ3ErrorRendererNotSet), false;
  if (!drawContext_) return postError(kQ3ErrorDrawContextNotSet), false;
  std::unique_ptr<LoopPass> pass = makeRendererPass(*this);
  if (!pass) return false;
  return beginLoop(Loop::Rendering, std::move(pass));
}

bool View::startPicking(Pick &pick) {
  if (!changeAllowed()) return false;
  abandon();
  if (!camera_) return postError(kQ3ErrorCameraNotSet), false;
  if (!drawContext_) return postError(kQ3ErrorDrawContextNotSet), false;
  std::unique_ptr<LoopPass> pass = makePickPass(*this, pick);
  if (!pass) return false;
  return beginLoop(Loop::Picking, std::move(pass));
}

bool View::startBounds(Loop which) {
  if (!changeAllowed()) return false;
  abandon();
  std::unique_ptr<LoopPass> pass = makeBoundsPass(*this, which == Loop::BoundingSphere);
  if (!pass) return false;
  return beginLoop(which, std::move(pass));
}

bool View::readyForSubmit() {
  if (loop_ == Loop::None) {
    postError(kQ3ErrorViewNotStarted);
    return false;
  }
  if (!passOpen_ && !openPass()) return false;
  return true;
}

TQ3ViewStatus View::end(Loop which) {
  if (loop_ == Loop::None || loop_ != which) {
    postError(kQ3ErrorViewNotStarted);
    return kQ3ViewStatusError;
  }
  if (!passOpen_ && !openPass()) {
    abandon();
    return kQ3ViewStatusError;
  }
  if (cancelled_) {
    cancelled_ = false;
    abandon();
    return kQ3ViewStatusCancelled;
  }
  if (passFailed_) {
    abandon();
    return kQ3ViewStatusError;
  }
  const bool stale = watchedEdits() != editsAtOpen_;
  const bool delivered = pass_->close();
  passOpen_ = false;
  ++passesEnded_;
  bool again = stale;
  if (retraverseRequests_ > 0) {
    again = true;
    if (retraverseRequests_ != 0xFFFFFFFFu) --retraverseRequests_;
  }
  if (!delivered) {
    abandon();
    return kQ3ViewStatusError;
  }
  if (again) return kQ3ViewStatusRetraverse;
  abandon();
  return kQ3ViewStatusDone;
}

void View::push() {
  try {
    stack_.push_back(stack_.back());
  } catch (const std::bad_alloc &) {
    postError(kQ3ErrorOutOfMemory);
    passFailed_ = true;
  }
}

void View::pop() {
  if (stack_.size() > 1) stack_.pop_back();
}

void View::transformBy(const raster::M4 &localToParent) {
  current().localToWorld = localToParent * current().localToWorld;
}

void View::transform(const TQ3Matrix4x4 &localToParent) { transformBy(raster::M4::of(localToParent)); }

void View::resetTransform() { current().localToWorld = raster::M4::identity(); }

void View::surfaceTexture(std::shared_ptr<const TextureImage> texture) {
  AttributeValues &a = current().attributes;
  a.texture = std::move(texture);
  if (a.texture)
    a.mask |= AttributeValues::kTexture;
  else
    a.mask &= ~uint32_t(AttributeValues::kTexture);
}

void View::attributes(const AttributeValues &values) { overlayAttributes(current().attributes, values); }

void View::geometry(const Object &object, const Mesh &mesh) {
  if (passOpen_ && !passFailed_ && pass_) pass_->geometry(object, mesh, current());
}

SubmitTarget::Pass View::pass() const {
  switch (loop_) {
  case Loop::Picking: return SubmitTarget::Pass::Pick;
  case Loop::BoundingBox:
  case Loop::BoundingSphere: return SubmitTarget::Pass::Bounds;
  default: return SubmitTarget::Pass::Render;
  }
}

} // namespace q3

namespace {
q3::View *view(TQ3ViewObject ref) { return q3::validate<q3::View>(ref); }

// Hands out a new reference to `obj` (NULL when there is none).
template <class T> TQ3Status giveReference(TQ3ViewObject ref, TQ3Object *out, T *(q3::View::*part)() const) {
  const q3::View *v = view(ref);
  if (!v || !q3::requirePointer(out)) return kQ3Failure;
  T *obj = (v->*part)();
  if (obj) obj->retain();
  *out = q3::handleOf(obj);
  return kQ3Success;
}
} // namespace

Q3_EXTERN_API_C(TQ3ViewObject) Q3View_New(void) { return q3::handleOf(q3::create<q3::View>()); }

Q3_EXTERN_API_C(TQ3Status) Q3View_SetCamera(TQ3ViewObject v, TQ3CameraObject camera) {
  q3::View *vw = view(v);
  if (!vw) return kQ3Failure;
  q3::Camera *c = q3::validate<q3::Camera>(camera);
  return c && vw->setCamera(c) ? kQ3Success : kQ3Failure;
}

Q3_EXTERN_API_C(TQ3Status) Q3View_GetCamera(TQ3ViewObject v, TQ3CameraObject *camera) {
  return giveReference(v, camera, &q3::View::camera);
}

Q3_EXTERN_API_C(TQ3Status) Q3View_SetLightGroup(TQ3ViewObject v, TQ3GroupObject lightGroup) {
  q3::View *vw = view(v);
  if (!vw) return kQ3Failure;
  if (!lightGroup) return vw->setLightGroup(nullptr) ? kQ3Success : kQ3Failure;
  q3::Shape *g = q3::validate<q3::Shape>(lightGroup, kQ3GroupTypeLight);
  return g && vw->setLightGroup(g) ? kQ3Success : kQ3Failure;
}

Q3_EXTERN_API_C(TQ3Status) Q3View_GetLightGroup(TQ3ViewObject v, TQ3GroupObject *lightGroup) {
  return giveReference(v, lightGroup, &q3::View::lightGroup);
}

Q3_EXTERN_API_C(TQ3Status) Q3View_SetRenderer(TQ3ViewObject v, TQ3RendererObject renderer) {
  q3::View *vw = view(v);
  if (!vw) return kQ3Failure;
  q3::Renderer *r = q3::validate<q3::Renderer>(renderer);
  return r && vw->setRenderer(r) ? kQ3Success : kQ3Failure;
}

Q3_EXTERN_API_C(TQ3Status) Q3View_SetRendererByType(TQ3ViewObject v, TQ3ObjectType theType) {
  q3::View *vw = view(v);
  if (!vw) return kQ3Failure;
  TQ3RendererObject r = Q3Renderer_NewFromType(theType);
  if (!r) return kQ3Failure;
  const TQ3Status status = Q3View_SetRenderer(v, r);
  Q3Object_Dispose(r);
  return status;
}

Q3_EXTERN_API_C(TQ3Status) Q3View_GetRenderer(TQ3ViewObject v, TQ3RendererObject *renderer) {
  return giveReference(v, renderer, &q3::View::renderer);
}

Q3_EXTERN_API_C(TQ3Status) Q3View_SetDrawContext(TQ3ViewObject v, TQ3DrawContextObject drawContext) {
  q3::View *vw = view(v);
  if (!vw) return kQ3Failure;
  q3::DrawContext *d = q3::validate<q3::DrawContext>(drawContext);
  return d && vw->setDrawContext(d) ? kQ3Success : kQ3Failure;
}

Q3_EXTERN_API_C(TQ3Status) Q3View_GetDrawContext(TQ3ViewObject v, TQ3DrawContextObject *drawContext) {
  return giveReference(v, drawContext, &q3::View::drawContext);
}

Q3_EXTERN_API_C(TQ3Status) Q3View_StartRendering(TQ3ViewObject v) {
  q3::View *vw = view(v);
  return vw && vw->startRendering() ? kQ3Success : kQ3Failure;
}

Q3_EXTERN_API_C(TQ3ViewStatus) Q3View_EndRendering(TQ3ViewObject v) {
  q3::View *vw = view(v);
  return vw ? vw->end(q3::View::Loop::Rendering) : kQ3ViewStatusError;
}

Q3_EXTERN_API_C(TQ3Status) Q3View_StartPicking(TQ3ViewObject v, TQ3PickObject pick) {
  q3::View *vw = view(v);
  if (!vw) return kQ3Failure;
  q3::Pick *p = q3::validate<q3::Pick>(pick);
  return p && vw->startPicking(*p) ? kQ3Success : kQ3Failure;
}

Q3_EXTERN_API_C(TQ3ViewStatus) Q3View_EndPicking(TQ3ViewObject v) {
  q3::View *vw = view(v);
  return vw ? vw->end(q3::View::Loop::Picking) : kQ3ViewStatusError;
}

namespace {
bool validComputeBounds(const TQ3ComputeBounds &c) {
  if (q3::rawEnum(c) <= kQ3ComputeBoundsApproximate) return true;
  q3::postError(kQ3ErrorInvalidParameter);
  return false;
}
} // namespace

Q3_EXTERN_API_C(TQ3Status) Q3View_StartBoundingBox(TQ3ViewObject v, TQ3ComputeBounds computeBounds) {
  q3::View *vw = view(v);
  return vw && validComputeBounds(computeBounds) && vw->startBounds(q3::View::Loop::BoundingBox) ? kQ3Success
                                                                                                 : kQ3Failure;
}

Q3_EXTERN_API_C(TQ3ViewStatus) Q3View_EndBoundingBox(TQ3ViewObject v, TQ3BoundingBox *result) {
  q3::View *vw = view(v);
  if (!vw) return kQ3ViewStatusError;
  // The loop ends (or goes on) either way; a missing result is still an error.
  const TQ3ViewStatus status = vw->end(q3::View::Loop::BoundingBox);
  if (!q3::requirePointer(result)) return kQ3ViewStatusError;
  if (status == kQ3ViewStatusDone || status == kQ3ViewStatusRetraverse) *result = vw->boxResult();
  return status;
}

Q3_EXTERN_API_C(TQ3Status) Q3View_StartBoundingSphere(TQ3ViewObject v, TQ3ComputeBounds computeBounds) {
  q3::View *vw = view(v);
  return vw && validComputeBounds(computeBounds) && vw->startBounds(q3::View::Loop::BoundingSphere) ? kQ3Success
                                                                                                    : kQ3Failure;
}

Q3_EXTERN_API_C(TQ3ViewStatus) Q3View_EndBoundingSphere(TQ3ViewObject v, TQ3BoundingSphere *result) {
  q3::View *vw = view(v);
  if (!vw) return kQ3ViewStatusError;
  // The loop ends (or goes on) either way; a missing result is still an error.
  const TQ3ViewStatus status = vw->end(q3::View::Loop::BoundingSphere);
  if (!q3::requirePointer(result)) return kQ3ViewStatusError;
  if (status == kQ3ViewStatusDone || status == kQ3ViewStatusRetraverse) *result = vw->sphereResult();
  return status;
}

Q3_EXTERN_API_C(TQ3Status) Q3View_Cancel(TQ3ViewObject v) {
  q3::View *vw = view(v);
  if (!vw) return kQ3Failure;
  vw->cancel();
  return kQ3Success;
}

Q3_EXTERN_API_C(TQ3Status) Q3View_GetPassCount(TQ3ViewObject v, TQ3Uns32 *passes) {
  q3::View *vw = view(v);
  if (!vw || !q3::requirePointer(passes)) return kQ3Failure;
  *passes = vw->passesEnded();
  return kQ3Success;
}

Q3_EXTERN_API_C(TQ3Status) Q3View_RequestRetraverse(TQ3ViewObject v, TQ3Uns32 passes) {
  q3::View *vw = view(v);
  if (!vw) return kQ3Failure;
  vw->requestRetraverse(passes);
  return kQ3Success;
}
