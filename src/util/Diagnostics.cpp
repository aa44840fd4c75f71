#include "util/Diagnostics.h"

#include <windows.h>

#include <cstdio>

namespace {
// Formatting a null pointer with %s is undefined; name it instead.
const char *printable(const char *source) { return source ? source : "(null)"; }
} // namespace

void CheckQuesa(TQ3Status status, const char *source, int line) {
  if (status == kQ3Success) return;
  char message[1024];
  std::snprintf(message, sizeof message, "Quesa Error: %d in %s:%d\n", static_cast<int>(Q3Error_Get(nullptr)),
                printable(source), line);
  OutputDebugStringA(message);
}

void CheckQuesa(TQ3Status status, QuesaCheckSite site) { CheckQuesa(status, site.source, site.line); }

void ReportAssertion(const char *source, int line) {
  char message[1024];
  std::snprintf(message, sizeof message, "DU3V Assertion Failure in %s:%d\n", printable(source), line);
  OutputDebugStringA(message);
}

void ReportAssertion(AssertionSite site) { ReportAssertion(site.source, site.line); }
