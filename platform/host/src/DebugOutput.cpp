#include "host/DebugOutput.h"

#include <windows.h>

#include <stdexcept>

namespace host {
namespace {
DebugOutput *active = nullptr;

#ifdef _WIN32
LONG CALLBACK catchDebugPrint(EXCEPTION_POINTERS *e) {
  const EXCEPTION_RECORD *r = e->ExceptionRecord;
  if (r->ExceptionCode != DBG_PRINTEXCEPTION_C || !active || r->NumberParameters < 2) return EXCEPTION_CONTINUE_SEARCH;
  active->append(reinterpret_cast<const char *>(r->ExceptionInformation[1]));
  return EXCEPTION_CONTINUE_EXECUTION;
}
#else
void hook(const char *text, void *context) { static_cast<DebugOutput *>(context)->append(text); }
#endif
} // namespace

DebugOutput::DebugOutput() {
  if (active) throw std::logic_error("DebugOutput: a capture is already active");
  active = this;
#ifdef _WIN32
  hook_ = AddVectoredExceptionHandler(1, catchDebugPrint);
#else
  W32_SetDebugOutputHook(hook, this);
#endif
}

DebugOutput::~DebugOutput() {
#ifdef _WIN32
  RemoveVectoredExceptionHandler(hook_);
#else
  W32_SetDebugOutputHook(nullptr, nullptr);
#endif
  active = nullptr;
}

} // namespace host
