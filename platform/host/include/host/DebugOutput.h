// DebugOutput.h: captures what the process writes with OutputDebugStringA.
//
//   host::DebugOutput capture;          // starts capturing
//   ... code that writes diagnostics ...
//   capture.text()                      // everything written since, in order
//
// One capture is active at a time (a second one is refused with an exception).
// On Linux it hooks the Win32 layer; on Windows it catches the debug-print
// exception that OutputDebugStringA raises, before any debugger would.
#pragma once

#include <string>

namespace host {

class DebugOutput {
public:
  DebugOutput();
  ~DebugOutput();
  DebugOutput(const DebugOutput &) = delete;
  DebugOutput &operator=(const DebugOutput &) = delete;

  const std::string &text() const { return text_; }
  void clear() { text_.clear(); }

  // Called for each text written; public only for the platform hook.
  void append(const char *text) { text_ += text; }

private:
  std::string text_;
  void *hook_ = nullptr;
};

} // namespace host
