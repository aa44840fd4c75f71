// SimpleVector.h: the plugin's growable list of 32-bit handles (q3 object
// references, host object references).
//
// Contract
//   - The record is four 32-bit words, in this order: increment, items (heap
//     array of capacity slots, or null), count (slots in use: 0 .. count-1),
//     capacity. It lives inside data blocks the host allocates, zero-fills and
//     frees without running constructors or destructors, so an all-zero record
//     is a valid empty list and the owner calls Construct/Destroy (or Clear)
//     itself. The record cannot be copied by assignment; Assign copies.
//   - The list never takes or drops references on its elements; the owner
//     locks, unlocks or disposes them. Elements compare by handle identity.
//   - increment is set once by the owner. Growth (Append on a full list) adds
//     max(16, increment), or max(16, capacity) when increment is 0 (so an
//     increment-0 list doubles: 16, 32, 64, ...). After every removal the list
//     shrinks, when more than 2 x increment slots are free (increment 0: more
//     than 2 x count), to the smallest multiple of the increment (of 16) above
//     count. All of this is unsigned 32-bit arithmetic.
//   - Indexes: RemoveAt takes an index below Count() (others are ignored); the
//     subscript takes an index below capacity and, at or past Count(), raises
//     the count to index + 1 first without allocating. Slots between the old
//     count and index read as zero.
//   - Allocation: Append and Resize answer false and leave the list untouched
//     when the array cannot be allocated (or would exceed PTRDIFF_MAX bytes,
//     the largest object there can be); they never write through a null
//     array. A failed Assign reports
//     "DU3V Assertion Failure in SimpleVector:186" and leaves the list empty
//     without storage (keeping the copied increment).
//   - Only on the host's thread; nothing locks.
//
// Usage
//   #include "util/SimpleVector.h"
//   SimpleVector<HostObject> children;          // zero-filled in a data block
//   children.Construct();
//   children.increment = 16;
//   children.Append(child);
//   for (uint32_t i = 0; i < children.Count(); ++i) use(children[i]);
//   children.RemoveValue(child);
//   children.Destroy();
#pragma once

#include "util/Diagnostics.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <type_traits>

template <typename T> struct SimpleVector {
  static_assert(sizeof(T) == 4, "every list stores one 32-bit handle per slot");
  static_assert(std::is_trivially_copyable_v<T>, "slots are moved as raw bytes");

  uint32_t increment;
  T *items;
  uint32_t count;
  uint32_t capacity;

  // Trivial, so the record can live in zero-filled host memory; `{}` gives an
  // empty list. Copying would share the array, hence Assign instead.
  SimpleVector() = default;
  SimpleVector(const SimpleVector &) = delete;
  SimpleVector &operator=(const SimpleVector &) = delete;

  // All four fields zero: an empty list without storage.
  void Construct() {
    increment = 0;
    items = nullptr;
    count = 0;
    capacity = 0;
  }

  // Releases the array (not the elements); the record is then an empty list
  // again, so a second Destroy is harmless.
  void Destroy() { Clear(); }

  // Copy of other, with an array of other's capacity (a zero-length array when
  // that is 0). Assigning a list to itself changes nothing.
  void Assign(const SimpleVector &other) {
    if (&other == this) return;
    std::free(items);
    increment = other.increment;
    count = other.count;
    capacity = other.capacity;
    items = allocate(capacity);
    if (!items) {
      ReportAssertion(DiagnosticSite::SimpleVectorCopyAllocation);
      count = 0;
      capacity = 0;
      return;
    }
    if (count) std::memcpy(items, other.items, count * sizeof(T));
    zeroSlots(count, capacity);
  }

  uint32_t Count() const { return count; }

  // Slot index for reading or writing; index must be below capacity.
  T &operator[](uint32_t index) {
    if (index >= count) count = index + 1;
    return items[index];
  }
  // Reading only; index must be below Count().
  const T &operator[](uint32_t index) const { return items[index]; }

  // Stores value in slot Count(), growing a full list first. False (and the
  // list unchanged) when the array could not grow.
  bool Append(T value) {
    while (count >= capacity) {
      uint32_t step = increment ? increment : capacity;
      if (step < 16) step = 16;
      if (step > UINT32_MAX - capacity || !Resize(capacity + step)) return false;
    }
    items[count++] = value;
    return true;
  }

  // Sets the capacity to exactly n slots, keeping the first min(count, n)
  // elements and lowering count to n when it was above. False (and the list
  // unchanged) when the new array could not be allocated.
  bool Resize(uint32_t n) {
    if (n == capacity) return true;
    T *array = allocate(n);
    if (!array) return false;
    const uint32_t kept = items ? (count < n ? count : n) : 0;
    if (items) {
      if (kept) std::memcpy(array, items, kept * sizeof(T));
      std::free(items);
    }
    items = array;
    capacity = n;
    if (count > n) count = n;
    zeroSlots(kept, n);
    return true;
  }

  // Removes slot index, moving the later slots down, then shrinks.
  void RemoveAt(uint32_t index) {
    if (index >= count) return;
    std::memmove(items + index, items + index + 1, (count - index - 1) * sizeof(T));
    --count;
    shrinkAfterRemoval();
  }

  // Removes the last slot holding value; whether one was found.
  bool RemoveValue(T value) {
    for (uint32_t i = count; i-- > 0;) {
      if (items[i] == value) {
        RemoveAt(i);
        return true;
      }
    }
    return false;
  }

  // Releases the array; count and capacity become 0, increment stays.
  void Clear() {
    std::free(items);
    items = nullptr;
    count = 0;
    capacity = 0;
  }

private:
  // An array of n slots, or null. Never null for n of 0 when memory is there
  // (malloc(0) may answer null). Null without asking the heap when the array
  // would be larger than any object can be (PTRDIFF_MAX bytes).
  static T *allocate(uint32_t n) {
    if (n > PTRDIFF_MAX / sizeof(T)) return nullptr;
    return static_cast<T *>(std::malloc(n ? n * sizeof(T) : 1));
  }

  // Unused slots hold zero, so reading a slot the subscript skipped over gives
  // a null handle rather than whatever the heap held.
  void zeroSlots(uint32_t from, uint32_t to) {
    if (from < to) std::memset(static_cast<void *>(items + from), 0, (to - from) * sizeof(T));
  }

  void shrinkAfterRemoval() {
    const uint32_t unused = capacity - count;
    if (increment != 0) {
      if (unused > uint32_t(2) * increment) Resize((count / increment + 1) * increment);
    } else if (unused > uint32_t(2) * count) {
      Resize((count / 16 + 1) * 16);
    }
  }
};

static_assert(sizeof(SimpleVector<uint32_t>) == 16, "four 32-bit words");
static_assert(offsetof(SimpleVector<uint32_t>, increment) == 0 && offsetof(SimpleVector<uint32_t>, items) == 4 &&
                  offsetof(SimpleVector<uint32_t>, count) == 8 && offsetof(SimpleVector<uint32_t>, capacity) == 12,
              "increment, items, count, capacity");
static_assert(sizeof(SimpleVector<void *>) == 16, "pointers are 32-bit on both targets");
static_assert(std::is_standard_layout_v<SimpleVector<uint32_t>> &&
                  std::is_trivially_default_constructible_v<SimpleVector<uint32_t>> &&
                  std::is_trivially_destructible_v<SimpleVector<uint32_t>>,
              "a plain record that zero-filled host memory holds as an empty list");
