// Storage.h: memory storages, the byte sources of files.
//
// A Storage answers data()/size() for the valid bytes. MemoryStorage either
// owns a copy of the bytes or reads the caller's buffer in place; readers
// keep a Ref to the storage while they hold pointers into data().
#pragma once

#include "Object.h"

#include <cstdint>
#include <vector>

namespace q3 {

class Storage : public SharedObject {
public:
  virtual const uint8_t *data() const = 0;
  virtual uint32_t size() const = 0;

protected:
  using SharedObject::SharedObject;
};

class MemoryStorage : public Storage {
public:
  // Owns a copy.
  explicit MemoryStorage(std::vector<uint8_t> bytes)
      : Storage(type::MemoryStorage), copy_(std::move(bytes)), bytes_(copy_.data()),
        size_(static_cast<uint32_t>(copy_.size())) {}
  // Reads the caller's bytes in place.
  MemoryStorage(const uint8_t *bytes, uint32_t size) : Storage(type::MemoryStorage), bytes_(bytes), size_(size) {}
  const uint8_t *data() const override { return bytes_; }
  uint32_t size() const override { return size_; }

private:
  std::vector<uint8_t> copy_;
  const uint8_t *bytes_;
  uint32_t size_;
};

} // namespace q3
