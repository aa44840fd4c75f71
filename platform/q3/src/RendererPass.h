// RendererPass.h: the rendering pass of a view.
//
// Contract: at open, the pass starts a frame in the view's draw context and
// reads the camera's world-to-frustum matrix and the light group; each
// geometry is transformed, lit, culled by the backfacing style, clipped
// against the frustum and rasterised into the frame (triangles, or edges
// and points by fill style and renderer); transparent triangles wait until
// close, which draws them farthest first and presents the frame.
#pragma once

#include "View.h"

namespace q3 {
std::unique_ptr<LoopPass> makeRendererPass(View &view);
} // namespace q3
