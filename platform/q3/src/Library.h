// Library.h: whether q3 is initialised, for q3's own code.
//
// The nesting count behind Q3Initialize / Q3Exit lives in Library.cpp. Every
// public call that takes or makes an object checks requireInitialized()
// first (create() and validate() in Object.h already do).
#pragma once

namespace q3 {
bool isInitialized();
// True when initialised; otherwise posts kQ3ErrorNotInitialized.
bool requireInitialized();
} // namespace q3
