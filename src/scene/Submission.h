// Submission.h: how objects enter q3's submit loops, and their bounds.
//
// Contract
//   - SubmitObject submits an Object3D as a pushed group: translate, rotate,
//     scale, its pick ID (the HostObject itself), the optional NULL shader and
//     back-face flip, then its current shape. A group carries its moves over
//     to its children and submits them, nothing of its own. Nil, invisible
//     and shapeless objects submit nothing.
//   - ComputeBoundsInto fills a Bounds3D in world coordinates through the
//     shared bounding view (at most 100 passes).
//   - The NULL shader and the bounding view are made on first need and
//     disposed by ReleaseQuesa when the library's last user goes.
#pragma once

#include "Q3.h"
#include "plugin/HostServices.h"

namespace du3v {

void SubmitObject(HostObject object, TQ3ViewObject view);
TQ3ViewObject BoundingView();
void ComputeBoundsInto(HostObject object, HostObject bounds);

// The script methods, as registered (C linkage, as every function a record names).
extern "C" HostObject Object3D_ComputeBounds(HostObject instance, int32_t type);
extern "C" void Object3D_UpdateBounds(HostObject instance);

} // namespace du3v
