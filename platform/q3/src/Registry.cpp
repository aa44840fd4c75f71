// Registry.cpp: live objects by token, and in creation order for close().
#include "Registry.h"

#include "Object.h"

#include <cstdint>
#include <new>
#include <unordered_map>

namespace {
struct Table {
  std::unordered_map<TQ3Uns32, q3::Object *> byToken;
  q3::Object *oldest = nullptr;
  q3::Object *newest = nullptr;
};

// Created at the first Q3Initialize, freed at the final Q3Exit: no global
// constructor or destructor runs at load or unload.
Table *table = nullptr;
bool closing = false;
// Kept across Q3Exit so that tokens are never reused.
TQ3Uns32 lastSerial = 0;

// A bijection of 32-bit values: consecutive serials give scattered tokens,
// so neighbouring objects do not have neighbouring references.
TQ3Uns32 scramble(TQ3Uns32 x) {
  x ^= x >> 16;
  x *= 0x7FEB352Du;
  x ^= x >> 15;
  x *= 0x846CA68Bu;
  x ^= x >> 16;
  return x;
}

constexpr TQ3Uns32 kLowestToken = 0x10000;

TQ3Uns32 newToken() {
  for (;;) {
    const TQ3Uns32 token = scramble(++lastSerial);
    // After 2^32 creations serials wrap; skip tokens still in use then.
    if (token >= kLowestToken && !table->byToken.contains(token)) return token;
  }
}

TQ3Uns32 tokenOf(TQ3Object ref) {
  const std::uintptr_t bits = reinterpret_cast<std::uintptr_t>(ref);
  return bits > UINT32_MAX ? 0 : static_cast<TQ3Uns32>(bits);
}
} // namespace

namespace q3::registry {

bool open() {
  table = new (std::nothrow) Table;
  return table != nullptr;
}

void close() {
  closing = true;
  Object *obj = table->oldest;
  while (obj) {
    Object *next = obj->nextLive_;
    delete obj;
    obj = next;
  }
  delete table;
  table = nullptr;
  closing = false;
}

bool isClosing() { return closing; }

bool add(Object *obj) {
  const TQ3Uns32 token = newToken();
  try {
    table->byToken.emplace(token, obj);
  } catch (const std::bad_alloc &) {
    return false;
  }
  obj->token_ = token;
  obj->prevLive_ = table->newest;
  obj->nextLive_ = nullptr;
  if (table->newest)
    table->newest->nextLive_ = obj;
  else
    table->oldest = obj;
  table->newest = obj;
  return true;
}

void destroy(Object *obj) {
  table->byToken.erase(obj->token_);
  if (obj->prevLive_)
    obj->prevLive_->nextLive_ = obj->nextLive_;
  else
    table->oldest = obj->nextLive_;
  if (obj->nextLive_)
    obj->nextLive_->prevLive_ = obj->prevLive_;
  else
    table->newest = obj->prevLive_;
  delete obj;
}

Object *find(TQ3Object ref) {
  if (!table) return nullptr;
  const TQ3Uns32 token = tokenOf(ref);
  if (token < kLowestToken) return nullptr;
  const auto it = table->byToken.find(token);
  return it == table->byToken.end() ? nullptr : it->second;
}

TQ3Object handleOf(const Object *obj) { return reinterpret_cast<TQ3Object>(static_cast<std::uintptr_t>(obj->token_)); }

TQ3Uns32 liveCount() { return table ? static_cast<TQ3Uns32>(table->byToken.size()) : 0; }

} // namespace q3::registry
