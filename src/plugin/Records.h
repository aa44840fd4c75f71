// Records.h: the definition records the plugin hands to the host.
//
// Every record is an array of 32-bit words (pointers are 32-bit on both
// targets) in the library's writable static data: the host keeps the record
// addresses and writes its host words into them, so records are never moved
// or freed. Sizes are pinned below; a class module defines its record and its
// member tables next to the functions they name.
#pragma once

#include <cstddef>
#include <cstdint>

namespace du3v {

// Any function named in a record, stored as a word. kHostAccess in a
// property's getter or setter word tells the host to read or write the field
// itself at the parameter offset.
using RecordFunction = const void *;
template <class F> inline RecordFunction Fn(F *function) { return reinterpret_cast<RecordFunction>(function); }
inline RecordFunction HostAccess() { return reinterpret_cast<RecordFunction>(~uintptr_t{0}); }

constexpr uint32_t kRecordVersion = 7;

struct PropertyDefinition {
  const char *group; // design-environment label, or null
  const char *name;
  const char *type; // "Integer", "Double", "Boolean", "Color" or a class name
  uint32_t flags;   // 0 or 2
  RecordFunction getter;
  RecordFunction setter; // 0: read-only
  uint32_t param;
  uint32_t spare[3];
};

struct MethodDefinition {
  RecordFunction function;
  RecordFunction setter; // assignment form, or 0
  const char *declaration;
  uint32_t spare;
};

// The method record of hosts below version 5.9.
struct OldMethodDefinition {
  RecordFunction function;
  RecordFunction setter;
  const char *declaration;
};

struct EventDefinition {
  const char *declaration;
  uint32_t hostWord; // written by the host; names the event to GetEventInstance
};

struct ClassDefinition {
  uint32_t version;
  const char *name;
  const char *superName;
  uint32_t dataSize;
  uint32_t hostWord; // written by the host: offset of this class's block in an instance
  RecordFunction constructor;
  RecordFunction destructor;
  const PropertyDefinition *properties;
  uint32_t propertyCount;
  const void *methods; // MethodDefinition[], or OldMethodDefinition[] after conversion
  uint32_t methodCount;
  uint32_t spare[10];
};

// Slots of the control behaviour table (0-based here, 1-based in the
// host's documentation).
enum BehaviourSlot {
  kInitControlSlot = 0,
  kRedrawSlot = 2,
  kMouseDownSlot = 3,
  kMouseDragSlot = 4,
  kMouseUpSlot = 5,
  kOpenControlSlot = 9,
  kCloseControlSlot = 10,
  kDrawIntoGraphicsSlot = 12,
};

struct ControlBehaviour {
  RecordFunction slots[27];
};

struct ControlDefinition {
  uint32_t version;
  const char *name;
  uint32_t dataSize;
  uint32_t flags;
  uint32_t iconPicture;
  uint32_t iconPressedPicture;
  uint32_t defaultWidth;
  uint32_t defaultHeight;
  const PropertyDefinition *properties;
  uint32_t propertyCount;
  const void *methods;
  uint32_t methodCount;
  EventDefinition *events;
  uint32_t eventCount;
  const ControlBehaviour *behaviour;
  uint32_t hostWord; // written by the host: offset of the control's block
  uint32_t spare[7];
};

static_assert(sizeof(void *) == 4, "the records hold 32-bit pointers");
static_assert(sizeof(ClassDefinition) == 21 * 4, "ClassDefinition is 21 words");
static_assert(sizeof(ControlDefinition) == 23 * 4, "ControlDefinition is 23 words");
static_assert(sizeof(PropertyDefinition) == 10 * 4, "PropertyDefinition is 10 words");
static_assert(sizeof(MethodDefinition) == 4 * 4, "MethodDefinition is 4 words");
static_assert(sizeof(OldMethodDefinition) == 3 * 4, "the old MethodDefinition is 3 words");
static_assert(sizeof(EventDefinition) == 2 * 4, "EventDefinition is 2 words");
static_assert(sizeof(ControlBehaviour) == 27 * 4, "ControlBehaviour is 27 words");
static_assert(offsetof(ClassDefinition, hostWord) == 4 * 4 && offsetof(ClassDefinition, methods) == 9 * 4,
              "host word is word 5, the method list word 10");
static_assert(offsetof(ControlDefinition, methods) == 10 * 4 && offsetof(ControlDefinition, hostWord) == 15 * 4,
              "method list is word 11, the host word word 16");

// The plugin's data block inside a script instance or control: the
// instance's address plus the host word of the given definition.
inline void *ClassData(void *instance, const ClassDefinition &definition) {
  return static_cast<uint8_t *>(instance) + definition.hostWord;
}
inline void *ControlData(void *control, const ControlDefinition &definition) {
  return static_cast<uint8_t *>(control) + definition.hostWord;
}

} // namespace du3v
