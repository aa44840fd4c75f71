// Zu3ZOdoz.h: the plugin's shared utilities, and the lifetime of the 3D
// library (q3) as seen by the plugin.
//
// Including this header gives the whole util layer: diagnostics
// (Diagnostics.h), byte order (ByteOrder.h), memory blocks (MemoryBlock.h)
// and the growable list (SimpleVector.h).
//
// Contract of the lifetime pair
//   - The plugin counts its users of q3: every live Object3D (a Group3D counts
//     once, through its Object3D part) and every control opened at run time.
//     Each user calls AcquireQuesa once when it starts and ReleaseQuesa once
//     when it goes.
//   - q3 is initialised exactly while the count is above zero. The first
//     AcquireQuesa calls Q3Initialize unless q3 already answers
//     Q3IsInitialized (whoever initialised it); a failure is reported as
//     "Quesa Error: ... in Zu3ZOdoz:119" and the user is counted anyway.
//   - The ReleaseQuesa that brings the count to zero disposes the shared
//     objects below (the shader, then the view), resets them to none and calls
//     Q3Exit, whoever initialised q3. A ReleaseQuesa at zero does nothing.
//   - No other code calls Q3Initialize, Q3IsInitialized or Q3Exit, and every
//     other q3 call is made while at least one user is counted.
//
// The shared q3 objects are owned here but made by object submission on first
// need: set them only while a user is counted, and never dispose them
// elsewhere. They live in namespace Zu3ZOdoz so that the name BoundingView
// stays free for the function that makes the view on demand.
//
// Usage
//   #include "util/Zu3ZOdoz.h"
//   AcquireQuesa();                         // in the Object3D constructor
//   if (!Zu3ZOdoz::NullIlluminationShader) Zu3ZOdoz::NullIlluminationShader = Q3NULLIllumination_New();
//   ReleaseQuesa();                         // in the Object3D destructor
//
// Everything runs on the host's thread; nothing here locks.
#pragma once

#include "Q3.h"
#include "util/ByteOrder.h"
#include "util/Diagnostics.h"
#include "util/MemoryBlock.h"
#include "util/SimpleVector.h"

#include <cstdint>

namespace Zu3ZOdoz {
// The NULL illumination shader submitted for objects with NullShader set;
// none (nullptr) until first needed.
extern TQ3ShaderObject NullIlluminationShader;
// The private view of the bounding loops; none (nullptr) until first needed.
extern TQ3ViewObject BoundingView;
} // namespace Zu3ZOdoz

void AcquireQuesa();
void ReleaseQuesa();

// The number of users currently counted (QuesaUsers).
uint32_t QuesaUserCount();
