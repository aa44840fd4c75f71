// Thunk.h: calls into plugin functions whose signature is known only at run
// time, from a registered declaration.
//
// Every function crossing the host boundary uses the C calling convention on
// 32-bit x86: arguments are pushed as 4-byte words (a Double takes two), the
// caller cleans the stack, results come back in EAX (words), AL (Boolean) or
// ST(0) (Double). A structure of N words passed by value is laid out on the
// stack exactly like N word arguments, so one call through a function
// pointer taking Words<N> reproduces any argument list.
#pragma once

#include <cstdint>
#include <cstring>
#include <stdexcept>
#include <utility>
#include <vector>

namespace host {

enum class Returns { Nothing, Word, Boolean, Double };

struct CallResult {
  uint32_t word = 0;
  bool boolean = false;
  double real = 0;
};

namespace thunk {
template <size_t N> struct Words { uint32_t w[N]; };

template <size_t N> CallResult callWith(uintptr_t fn, Returns kind, const uint32_t *words) {
  CallResult r;
  if constexpr (N == 0) {
    switch (kind) {
    case Returns::Nothing: reinterpret_cast<void (*)()>(fn)(); break;
    case Returns::Word: r.word = reinterpret_cast<uint32_t (*)()>(fn)(); break;
    case Returns::Boolean: r.boolean = reinterpret_cast<bool (*)()>(fn)(); break;
    case Returns::Double: r.real = reinterpret_cast<double (*)()>(fn)(); break;
    }
  } else {
    Words<N> args;
    std::memcpy(args.w, words, sizeof args.w);
    switch (kind) {
    case Returns::Nothing: reinterpret_cast<void (*)(Words<N>)>(fn)(args); break;
    case Returns::Word: r.word = reinterpret_cast<uint32_t (*)(Words<N>)>(fn)(args); break;
    case Returns::Boolean: r.boolean = reinterpret_cast<bool (*)(Words<N>)>(fn)(args); break;
    case Returns::Double: r.real = reinterpret_cast<double (*)(Words<N>)>(fn)(args); break;
    }
  }
  return r;
}

constexpr size_t kMaxWords = 24;

template <size_t... I>
CallResult dispatch(uintptr_t fn, Returns kind, const std::vector<uint32_t> &words, std::index_sequence<I...>) {
  using Caller = CallResult (*)(uintptr_t, Returns, const uint32_t *);
  static constexpr Caller callers[] = {&callWith<I>...};
  return callers[words.size()](fn, kind, words.data());
}
} // namespace thunk

inline CallResult callPlugin(uintptr_t fn, Returns kind, const std::vector<uint32_t> &words) {
  if (words.size() > thunk::kMaxWords) throw std::length_error("too many argument words for a plugin call");
  return thunk::dispatch(fn, kind, words, std::make_index_sequence<thunk::kMaxWords + 1>{});
}

} // namespace host
