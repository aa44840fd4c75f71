// Version.cpp: Q3GetVersion, which answers at any time, initialised or not.
#include "Q3Base.h"

Q3_EXTERN_API_C(TQ3Status) Q3GetVersion(TQ3Uns32 *majorRevision, TQ3Uns32 *minorRevision) {
  if (!majorRevision || !minorRevision) return kQ3Failure;
  *majorRevision = 1;
  *minorRevision = 6;
  return kQ3Success;
}
