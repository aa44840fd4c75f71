// Bounds.h: the bounding-box and bounding-sphere passes.
//
// Contract: the pass collects the world-space position of every vertex of
// every submitted geometry; at close it stores the exact box (rounded
// outwards) or the minimal enclosing sphere in the view. An empty
// submission gives an empty result with zeroed fields.
#pragma once

#include "View.h"

namespace q3 {
std::unique_ptr<LoopPass> makeBoundsPass(View &view, bool sphere);
} // namespace q3
