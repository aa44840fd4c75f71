// Diagnostics.h: the plugin's two debugger-output diagnostics and the list of
// every place in the plugin that reports one.
//
// Contract
//   - Diagnostics go to the debugger output only (OutputDebugStringA) and never
//     stop the program: the caller carries on with whatever value it has.
//   - Each message is one line ending in "\n", formatted into a 1024-byte local
//     buffer (longer text is cut, never overflowed):
//       CheckQuesa:      "Quesa Error: <latest q3 error code> in <source>:<line>\n"
//       ReportAssertion: "DU3V Assertion Failure in <source>:<line>\n"
//   - CheckQuesa prints nothing for kQ3Success; for any other status it reads
//     the latest error with Q3Error_Get(NULL), which also clears q3's pending
//     errors.
//   - The source name and line of every diagnostic are fixed: they are listed
//     once, below, in namespace DiagnosticSite. Report through those constants
//     rather than typing a name or line number at the call site. A site's type
//     says which diagnostic it belongs to, so passing a CheckQuesa site to
//     ReportAssertion (or the reverse) does not compile.
//
// Usage
//   #include "util/Diagnostics.h"
//   CheckQuesa(Q3View_SetCamera(view, camera), DiagnosticSite::ViewSetCameraAtCreation);
//   if (!view) ReportAssertion(DiagnosticSite::ViewNewGaveNoView);
#pragma once

#include "Q3.h"

// Where a CheckQuesa diagnostic is reported from.
struct QuesaCheckSite {
  const char *source;
  int line;
};

// Where a ReportAssertion diagnostic is reported from.
struct AssertionSite {
  const char *source;
  int line;
};

// Writes "Quesa Error: ..." when status is not kQ3Success.
void CheckQuesa(TQ3Status status, const char *source, int line);
void CheckQuesa(TQ3Status status, QuesaCheckSite site);

// Writes "DU3V Assertion Failure in ..." and returns.
void ReportAssertion(const char *source, int line);
void ReportAssertion(AssertionSite site);

// Every diagnostic of the plugin. The names and lines are what the debugger
// output shows and what users and tests match, so they never change.
namespace DiagnosticSite {

inline constexpr const char *kZu3ZOdoz = "Zu3ZOdoz";
inline constexpr const char *kSimpleVector = "SimpleVector";
inline constexpr const char *kView3D = "View3D";

// Q3Initialize in AcquireQuesa fails.
inline constexpr QuesaCheckSite QuesaInitialize{kZu3ZOdoz, 119};
// The array allocation of a SimpleVector copy (Assign) fails.
inline constexpr AssertionSite SimpleVectorCopyAllocation{kSimpleVector, 186};

// View3D: the draw context rebuilt for a new size is set on the view.
inline constexpr QuesaCheckSite ViewSetDrawContextAfterResize{kView3D, 418};
// View3D: the view has no camera when the new aspect ratio is to be set.
inline constexpr AssertionSite ViewHasNoCameraForAspect{kView3D, 422};
// View3D: Q3Camera_SetPlacement in camera placement.
inline constexpr QuesaCheckSite CameraSetPlacement{kView3D, 455};
// View3D: Q3View_StartRendering.
inline constexpr QuesaCheckSite ViewStartRendering{kView3D, 661};
// View3D: Q3DisplayGroup_Submit of the debug cube.
inline constexpr QuesaCheckSite DebugCubeSubmit{kView3D, 688};
// View3D: Q3View_New gives no view.
inline constexpr AssertionSite ViewNewGaveNoView{kView3D, 839};
// View3D: the window gives no device context.
inline constexpr AssertionSite WindowGaveNoDeviceContext{kView3D, 870};
// View3D: Q3Win32DCDrawContext_New gives no draw context.
inline constexpr AssertionSite DrawContextNewGaveNone{kView3D, 873};
// View3D: Q3ViewAngleAspectCamera_New gives no camera.
inline constexpr AssertionSite CameraNewGaveNone{kView3D, 919};
// View3D: Q3Renderer_NewFromType gives no renderer.
inline constexpr AssertionSite RendererNewGaveNone{kView3D, 929};
// View3D: Q3View_SetDrawContext at view creation.
inline constexpr QuesaCheckSite ViewSetDrawContextAtCreation{kView3D, 932};
// View3D: Q3View_SetCamera at view creation.
inline constexpr QuesaCheckSite ViewSetCameraAtCreation{kView3D, 933};
// View3D: Q3View_SetRenderer at view creation.
inline constexpr QuesaCheckSite ViewSetRendererAtCreation{kView3D, 934};
// View3D: Q3PhongIllumination_New gives no shader.
inline constexpr AssertionSite PhongIlluminationNewGaveNone{kView3D, 973};
// View3D: PluginNewInstance("Group3D") gives no objects group at open.
inline constexpr AssertionSite ObjectsGroupNewGaveNone{kView3D, 1008};
// View3D: Q3View_SetRenderer after Wireframe changes.
inline constexpr QuesaCheckSite ViewSetRendererAfterWireframe{kView3D, 1397};

} // namespace DiagnosticSite
