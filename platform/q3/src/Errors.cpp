// Errors.cpp: the error record behind Q3Error_Get.
//
// Owns two plain globals: the latest error and the oldest one posted since
// the caller last read. Both survive Q3Initialize and Q3Exit, so the
// kQ3ErrorNotInitialized posted by a call made too early or too late can
// still be read. Reading clears both.
#include "Errors.h"

namespace {
TQ3Error latestError = kQ3ErrorNone;
TQ3Error oldestUnreadError = kQ3ErrorNone;
} // namespace

namespace q3 {
void postError(TQ3Error code) {
  if (code == kQ3ErrorNone) return;
  if (oldestUnreadError == kQ3ErrorNone) oldestUnreadError = code;
  latestError = code;
}
} // namespace q3

Q3_EXTERN_API_C(TQ3Error) Q3Error_Get(TQ3Error *firstError) {
  const TQ3Error latest = latestError;
  if (firstError) *firstError = oldestUnreadError;
  latestError = kQ3ErrorNone;
  oldestUnreadError = kQ3ErrorNone;
  return latest;
}
