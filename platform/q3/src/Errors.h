// Errors.h: how q3's own code posts an error for Q3Error_Get.
#pragma once

#include "Q3Core.h"

namespace q3 {
// Records code as the latest error (and as the oldest unreported one when
// none is pending). Every failing public call posts exactly one.
void postError(TQ3Error code);
} // namespace q3
