#include <gtest/gtest.h>

#include <cstdlib>
#include <utility>
#include <vector>

#include "host/DebugOutput.h"
#include "util/SimpleVector.h"

namespace {

using List = SimpleVector<uint32_t>;

// The list's elements, slot 0 first.
std::vector<uint32_t> contents(const List &list) {
  return std::vector<uint32_t>(list.items, list.items + list.Count());
}

// A list with the given increment and exact capacity holding 1 .. count.
void fill(List &list, uint32_t increment, uint32_t capacity, uint32_t count) {
  list.Construct();
  list.increment = increment;
  ASSERT_TRUE(list.Resize(capacity));
  for (uint32_t i = 1; i <= count; ++i) ASSERT_TRUE(list.Append(i));
  ASSERT_EQ(list.capacity, capacity) << "filling must not grow the list";
}

} // namespace

TEST(SimpleVector, ZeroFilledMemoryIsAnEmptyList) {
  // As the host hands it over: raw zero-filled memory, no constructor run.
  void *block = std::calloc(1, sizeof(List));
  auto *list = static_cast<List *>(block);
  EXPECT_EQ(list->Count(), 0u);
  EXPECT_FALSE(list->RemoveValue(7));
  EXPECT_TRUE(list->Append(7));
  EXPECT_EQ(contents(*list), std::vector<uint32_t>{7});
  list->Destroy();
  EXPECT_EQ(list->items, nullptr);
  list->Destroy(); // a second destroy finds nothing to release
  std::free(block);
}

TEST(SimpleVector, GrowthSteps) {
  struct Case {
    const char *list;
    uint32_t increment;
    // (count after the append, new capacity) at every append that grew the list
    std::vector<std::pair<uint32_t, uint32_t>> growth;
  };
  const Case cases[] = {
      {"children", 16, {{1, 16}, {17, 32}, {33, 48}}},
      {"shapes (doubling)", 0, {{1, 16}, {17, 32}, {33, 64}, {65, 128}}},
      {"lights (step never below 16)", 8, {{1, 16}, {17, 32}, {33, 48}}},
      {"increment 1", 1, {{1, 16}, {17, 32}}},
      {"increment 40", 40, {{1, 40}, {41, 80}}},
  };
  for (const Case &c : cases) {
    List list{};
    list.increment = c.increment;
    std::vector<std::pair<uint32_t, uint32_t>> seen;
    const uint32_t appends = c.growth.back().first;
    for (uint32_t i = 0; i < appends; ++i) {
      const uint32_t before = list.capacity;
      ASSERT_TRUE(list.Append(1000 + i));
      if (list.capacity != before) seen.emplace_back(list.Count(), list.capacity);
    }
    EXPECT_EQ(seen, c.growth) << c.list;
    EXPECT_EQ(list.increment, c.increment) << c.list;
    for (uint32_t i = 0; i < appends; ++i) ASSERT_EQ(list[i], 1000 + i) << c.list << ": moved on growth";
    list.Destroy();
  }
}

TEST(SimpleVector, ShrinkAfterRemoval) {
  struct Case {
    const char *list;
    uint32_t increment, capacity, count;
    // (count after a removal, capacity expected then), in removal order
    std::vector<std::pair<uint32_t, uint32_t>> checks;
  };
  const Case cases[] = {
      {"children keep 48 down to 16, 15 leaves 33 free", 16, 48, 48, {{17, 48}, {16, 48}, {15, 16}}},
      {"shapes: 43 free > 42 at 21", 0, 64, 64, {{22, 64}, {21, 32}}},
      {"shapes: 22 free > 20 at 10", 0, 32, 32, {{11, 32}, {10, 16}}},
      {"lights shrink to multiples of 8", 8, 24, 24, {{8, 24}, {7, 8}}},
      {"lights from 48 to 32", 8, 48, 48, {{32, 48}, {31, 32}}},
      {"children: the only element", 16, 16, 1, {{0, 16}}},
      {"shapes: the only element", 0, 16, 1, {{0, 16}}},
  };
  for (const Case &c : cases) {
    List list;
    fill(list, c.increment, c.capacity, c.count);
    uint32_t removed = 0;
    for (const auto &[count, capacity] : c.checks) {
      while (list.Count() > count) {
        list.RemoveAt(0);
        ++removed;
      }
      EXPECT_EQ(list.capacity, capacity) << c.list << " at count " << count;
    }
    // Removing from the front moved every later element down, through each resize.
    std::vector<uint32_t> expected;
    for (uint32_t v = removed + 1; v <= c.count; ++v) expected.push_back(v);
    EXPECT_EQ(contents(list), expected) << c.list;
    EXPECT_EQ(list.increment, c.increment) << c.list;
    list.Destroy();
  }
}

TEST(SimpleVector, RemoveAtMovesLaterSlotsDown) {
  List list;
  fill(list, 16, 16, 5);
  list.RemoveAt(2);
  EXPECT_EQ(contents(list), (std::vector<uint32_t>{1, 2, 4, 5}));
  list.RemoveAt(3);
  EXPECT_EQ(contents(list), (std::vector<uint32_t>{1, 2, 4}));
  list.RemoveAt(3); // past the count: ignored
  EXPECT_EQ(contents(list), (std::vector<uint32_t>{1, 2, 4}));
  list.Destroy();
}

TEST(SimpleVector, RemoveValueTakesTheLastMatchOnly) {
  List list{};
  for (uint32_t v : {5u, 9u, 5u, 7u}) list.Append(v);
  EXPECT_TRUE(list.RemoveValue(5));
  EXPECT_EQ(contents(list), (std::vector<uint32_t>{5, 9, 7}));
  EXPECT_FALSE(list.RemoveValue(42));
  EXPECT_EQ(contents(list), (std::vector<uint32_t>{5, 9, 7}));
  EXPECT_TRUE(list.RemoveValue(5));
  EXPECT_FALSE(list.RemoveValue(5));
  EXPECT_EQ(contents(list), (std::vector<uint32_t>{9, 7}));
  list.Destroy();
}

TEST(SimpleVector, SubscriptPastCountRaisesItWithoutAllocating) {
  List list{};
  list.Append(10);
  uint32_t *array = list.items;
  list[1] = 11;
  EXPECT_EQ(list.Count(), 2u);
  list[5] = 15;
  EXPECT_EQ(list.Count(), 6u);
  EXPECT_EQ(list.items, array);
  EXPECT_EQ(list.capacity, 16u);
  // Skipped slots read as null handles.
  EXPECT_EQ(contents(list), (std::vector<uint32_t>{10, 11, 0, 0, 0, 15}));
  list[0] = 20; // below the count: the count stays
  EXPECT_EQ(list.Count(), 6u);
  EXPECT_EQ(list[0], 20u);
  list.Destroy();
}

TEST(SimpleVector, ResizeSetsTheCapacityExactly) {
  List list;
  fill(list, 0, 16, 10);
  uint32_t *array = list.items;
  EXPECT_TRUE(list.Resize(16));
  EXPECT_EQ(list.items, array) << "same capacity: the array stays";

  EXPECT_TRUE(list.Resize(40));
  EXPECT_EQ(list.capacity, 40u);
  EXPECT_EQ(contents(list), (std::vector<uint32_t>{1, 2, 3, 4, 5, 6, 7, 8, 9, 10}));

  EXPECT_TRUE(list.Resize(4)); // below the count: the tail goes
  EXPECT_EQ(list.capacity, 4u);
  EXPECT_EQ(contents(list), (std::vector<uint32_t>{1, 2, 3, 4}));

  EXPECT_TRUE(list.Resize(0));
  EXPECT_EQ(list.Count(), 0u);
  EXPECT_TRUE(list.Append(3));
  EXPECT_EQ(list.capacity, 16u);
  list.Destroy();
}

TEST(SimpleVector, ClearKeepsTheIncrement) {
  List list;
  fill(list, 8, 16, 3);
  list.Clear();
  EXPECT_EQ(list.items, nullptr);
  EXPECT_EQ(list.Count(), 0u);
  EXPECT_EQ(list.capacity, 0u);
  EXPECT_EQ(list.increment, 8u);
}

TEST(SimpleVector, AssignCopiesIntoItsOwnArray) {
  List source;
  fill(source, 16, 32, 3);
  List copy;
  fill(copy, 0, 16, 5); // its old array is released
  copy.Assign(source);
  EXPECT_EQ(copy.increment, 16u);
  EXPECT_EQ(copy.capacity, 32u);
  EXPECT_EQ(contents(copy), (std::vector<uint32_t>{1, 2, 3}));
  EXPECT_NE(copy.items, source.items);
  copy[0] = 99;
  EXPECT_EQ(source[0], 1u);

  copy.Assign(copy); // onto itself: unchanged, nothing freed early
  EXPECT_EQ(contents(copy), (std::vector<uint32_t>{99, 2, 3}));

  // Copying an empty list without storage gives a zero-length array: the
  // Object3D constructor sets its shape list up this way.
  List empty{};
  host::DebugOutput capture;
  copy.Assign(empty);
  EXPECT_NE(copy.items, nullptr);
  EXPECT_EQ(copy.capacity, 0u);
  EXPECT_EQ(copy.Count(), 0u);
  EXPECT_EQ(capture.text(), "");
  EXPECT_TRUE(copy.Append(4));
  EXPECT_EQ(copy.capacity, 16u);

  copy.Destroy();
  source.Destroy();
}

TEST(SimpleVector, AssignThatCannotAllocateReportsAndLeavesTheListEmpty) {
  // A source claiming more slots than a 32-bit process can hold.
  List huge{};
  huge.increment = 8;
  huge.capacity = 0x3FFFFFFF;
  List list;
  fill(list, 0, 16, 2);
  host::DebugOutput capture;
  list.Assign(huge);
  EXPECT_EQ(capture.text(), "DU3V Assertion Failure in SimpleVector:186\n");
  EXPECT_EQ(list.items, nullptr);
  EXPECT_EQ(list.Count(), 0u);
  EXPECT_EQ(list.capacity, 0u);
  EXPECT_EQ(list.increment, 8u);
  EXPECT_TRUE(list.Append(1)); // still a usable list
  list.Destroy();
}

TEST(SimpleVector, FailedGrowthLeavesTheListIntact) {
  // Arrays larger than any object of a 32-bit process (2 GiB and up); from
  // 0x40000000 slots the byte count does not even fit in 32 bits.
  for (uint32_t slots : {0x20000000u, 0x3FFFFFFFu, 0x40000000u, 0x40000001u, 0xFFFFFFF0u}) {
    List list;
    fill(list, 0, 16, 3);
    uint32_t *array = list.items;
    EXPECT_FALSE(list.Resize(slots)) << slots;
    EXPECT_EQ(list.items, array) << slots;
    EXPECT_EQ(list.capacity, 16u) << slots;
    EXPECT_EQ(contents(list), (std::vector<uint32_t>{1, 2, 3})) << slots;
    list.Destroy();

    // A full list whose growth step cannot be allocated: no write anywhere.
    List full{};
    full.increment = slots;
    EXPECT_FALSE(full.Append(1)) << slots;
    EXPECT_EQ(full.items, nullptr) << slots;
    EXPECT_EQ(full.Count(), 0u) << slots;
    EXPECT_EQ(full.capacity, 0u) << slots;
  }
}

TEST(SimpleVector, HoldsPointerHandles) {
  int a = 0, b = 0;
  SimpleVector<int *> list{};
  list.Append(&a);
  list.Append(&b);
  list.Append(&a);
  EXPECT_TRUE(list.RemoveValue(&a));
  ASSERT_EQ(list.Count(), 2u);
  EXPECT_EQ(list[0], &a);
  EXPECT_EQ(list[1], &b);
  list.Destroy();
}
