// DrawContext.cpp: what every draw context shares (data, frame setup) and
// the Q3DrawContext_* calls.
#include "DrawContext.h"

#include <algorithm>
#include <cmath>
#include <new>

namespace q3 {

namespace {
uint32_t channel(float c) {
  if (!(c > 0.0f)) return 0;
  if (c >= 1.0f) return 255;
  return uint32_t(c * 255.0f + 0.5f);
}
} // namespace

bool DrawContext::validData(const TQ3DrawContextData &d) {
  const bool ok = rawEnum(d.clearImageMethod) <= kQ3ClearMethodWithColor && std::isfinite(d.pane.min.x) &&
                  std::isfinite(d.pane.min.y) && std::isfinite(d.pane.max.x) && std::isfinite(d.pane.max.y);
  if (!ok) postError(kQ3ErrorInvalidParameter);
  return ok;
}

bool DrawContext::setData(const TQ3DrawContextData &d) {
  if (!validData(d)) return false;
  data_ = d;
  edited();
  return true;
}

bool DrawContext::beginFrame() {
  const PixelArea a = area();
  if (a.empty()) {
    postError(kQ3ErrorBadDrawContext);
    return false;
  }
  const size_t n = size_t(a.width) * size_t(a.height);
  try {
    frame_.argb.resize(n);
    frame_.depth.resize(n);
  } catch (const std::bad_alloc &) {
    postError(kQ3ErrorOutOfMemory);
    frame_ = Frame{};
    return false;
  }
  frame_.width = a.width;
  frame_.height = a.height;
  std::fill(frame_.depth.begin(), frame_.depth.end(), Frame::kCleared);
  if (data_.clearImageMethod == kQ3ClearMethodWithColor) {
    const TQ3ColorARGB &c = data_.clearImageColor;
    const uint32_t argb = channel(c.a) << 24 | channel(c.r) << 16 | channel(c.g) << 8 | channel(c.b);
    std::fill(frame_.argb.begin(), frame_.argb.end(), argb);
  } else {
    loadBackground();
  }
  return true;
}

// Pane edges to whole pixels, kept far from integer overflow.
int paneEdge(float v) {
  const double r = std::floor(double(v) + 0.5);
  return int(std::clamp(r, -16777216.0, 16777216.0));
}

} // namespace q3

namespace {
q3::DrawContext *context(TQ3DrawContextObject ref) { return q3::validate<q3::DrawContext>(ref); }

template <typename T, typename Apply> TQ3Status change(TQ3DrawContextObject ref, const T *value, Apply apply) {
  q3::DrawContext *dc = context(ref);
  if (!dc || !q3::requirePointer(value)) return kQ3Failure;
  TQ3DrawContextData d = dc->data();
  apply(d, *value);
  return dc->setData(d) ? kQ3Success : kQ3Failure;
}

template <typename T, typename Read> TQ3Status read(TQ3DrawContextObject ref, T *out, Read r) {
  const q3::DrawContext *dc = context(ref);
  if (!dc || !q3::requirePointer(out)) return kQ3Failure;
  *out = r(dc->data());
  return kQ3Success;
}
using Data = TQ3DrawContextData;
} // namespace

Q3_EXTERN_API_C(TQ3ObjectType) Q3DrawContext_GetType(TQ3DrawContextObject drawContext) {
  const q3::DrawContext *dc = context(drawContext);
  return dc ? q3::typeBelow(dc->typeInfo(), q3::type::DrawContext) : kQ3ObjectTypeInvalid;
}

Q3_EXTERN_API_C(TQ3Status) Q3DrawContext_SetData(TQ3DrawContextObject context, const TQ3DrawContextData *contextData) {
  return change(context, contextData, [](Data &d, const Data &v) { d = v; });
}

Q3_EXTERN_API_C(TQ3Status) Q3DrawContext_GetData(TQ3DrawContextObject context, TQ3DrawContextData *contextData) {
  return read(context, contextData, [](const Data &d) { return d; });
}

Q3_EXTERN_API_C(TQ3Status) Q3DrawContext_SetClearImageColor(TQ3DrawContextObject context, const TQ3ColorARGB *color) {
  return change(context, color, [](Data &d, const TQ3ColorARGB &v) { d.clearImageColor = v; });
}

Q3_EXTERN_API_C(TQ3Status) Q3DrawContext_GetClearImageColor(TQ3DrawContextObject context, TQ3ColorARGB *color) {
  return read(context, color, [](const Data &d) { return d.clearImageColor; });
}

Q3_EXTERN_API_C(TQ3Status)
Q3DrawContext_SetClearImageMethod(TQ3DrawContextObject context, TQ3DrawContextClearImageMethod method) {
  return change(context, &method, [](Data &d, TQ3DrawContextClearImageMethod v) { d.clearImageMethod = v; });
}

Q3_EXTERN_API_C(TQ3Status)
Q3DrawContext_GetClearImageMethod(TQ3DrawContextObject context, TQ3DrawContextClearImageMethod *method) {
  return read(context, method, [](const Data &d) { return d.clearImageMethod; });
}

Q3_EXTERN_API_C(TQ3Status) Q3DrawContext_SetPane(TQ3DrawContextObject context, const TQ3Area *pane) {
  return change(context, pane, [](Data &d, const TQ3Area &v) { d.pane = v; });
}

Q3_EXTERN_API_C(TQ3Status) Q3DrawContext_GetPane(TQ3DrawContextObject context, TQ3Area *pane) {
  return read(context, pane, [](const Data &d) { return d.pane; });
}

Q3_EXTERN_API_C(TQ3Status) Q3DrawContext_SetPaneState(TQ3DrawContextObject context, TQ3Boolean state) {
  return change(context, &state, [](Data &d, TQ3Boolean v) { d.paneState = v; });
}

Q3_EXTERN_API_C(TQ3Status) Q3DrawContext_GetPaneState(TQ3DrawContextObject context, TQ3Boolean *state) {
  return read(context, state, [](const Data &d) { return d.paneState; });
}

Q3_EXTERN_API_C(TQ3Status) Q3DrawContext_SetDoubleBufferState(TQ3DrawContextObject context, TQ3Boolean state) {
  return change(context, &state, [](Data &d, TQ3Boolean v) { d.doubleBufferState = v; });
}

Q3_EXTERN_API_C(TQ3Status) Q3DrawContext_GetDoubleBufferState(TQ3DrawContextObject context, TQ3Boolean *state) {
  return read(context, state, [](const Data &d) { return d.doubleBufferState; });
}
