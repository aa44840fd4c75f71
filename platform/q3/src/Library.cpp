// Library.cpp: Q3IsInitialized, Q3Initialize, Q3Exit.
//
// Initialisation nests: a count of Q3Initialize calls not yet balanced by
// Q3Exit. The first Q3Initialize opens the object registry; the Q3Exit that
// brings the count back to zero closes it, destroying every object still
// alive. The count is a plain global set at load time, so nothing runs
// before the host's first call.
#include "Library.h"
#include "Errors.h"
#include "Registry.h"

#include <cstdint>

namespace {
TQ3Uns32 initCount = 0;
} // namespace

namespace q3 {
bool isInitialized() { return initCount > 0; }

bool requireInitialized() {
  if (initCount > 0) return true;
  postError(kQ3ErrorNotInitialized);
  return false;
}
} // namespace q3

Q3_EXTERN_API_C(TQ3Boolean) Q3IsInitialized(void) { return initCount > 0 ? kQ3True : kQ3False; }

Q3_EXTERN_API_C(TQ3Status) Q3Initialize(void) {
  if (initCount == UINT32_MAX) {
    q3::postError(kQ3ErrorValueExceedsMaximumSize);
    return kQ3Failure;
  }
  if (initCount == 0 && !q3::registry::open()) {
    q3::postError(kQ3ErrorOutOfMemory);
    return kQ3Failure;
  }
  ++initCount;
  return kQ3Success;
}

Q3_EXTERN_API_C(TQ3Status) Q3Exit(void) {
  if (!q3::requireInitialized()) return kQ3Failure;
  if (--initCount == 0) q3::registry::close();
  return kQ3Success;
}
