// HostImpl.h: the reference host's inner records, shared by its modules.
//
// Every object the host hands to the plugin (instance, control, string,
// picture, folder item, graphics context) is a block of memory laid out as
// the plugin may read it, plus an entry in one registry keyed by the block's
// address. A pointer the plugin passes back is looked up there before use,
// so a dead or foreign pointer becomes a recorded fault, never a crash.
#pragma once

#include "Declaration.h"
#include "Thunk.h"
#include "host/Host.h"

#include <unordered_map>

namespace host {

// Word indexes (0-based) of the definition records.
namespace rec {
constexpr int kClassWords = 21, kControlWords = 23, kPropertyWords = 10, kMethodWords = 4, kOldMethodWords = 3,
              kEventWords = 2, kBehaviourWords = 27;
// ClassDefinition
constexpr int cVersion = 0, cName = 1, cSuper = 2, cSize = 3, cHostWord = 4, cConstructor = 5, cDestructor = 6,
              cProperties = 7, cPropertyCount = 8, cMethods = 9, cMethodCount = 10, cFirstSpare = 11;
// ControlDefinition
constexpr int kVersion = 0, kName = 1, kSize = 2, kFlags = 3, kIcon = 4, kIconPressed = 5, kWidth = 6, kHeight = 7,
              kProperties = 8, kPropertyCount = 9, kMethods = 10, kMethodCount = 11, kEvents = 12, kEventCount = 13,
              kBehaviour = 14, kHostWord = 15, kFirstSpare = 16;
// ControlBehaviour slots (1-based in the documentation)
constexpr int bInit = 0, bRedraw = 2, bMouseDown = 3, bMouseDrag = 4, bMouseUp = 5, bOpen = 9, bClose = 10,
              bDrawInto = 12;
constexpr uint32_t kHostReads = 0xFFFFFFFFu; // getter/setter word: the host accesses the field itself
} // namespace rec

struct Property {
  std::string group, name, type;
  uint32_t flags = 0, getter = 0, setter = 0, param = 0;
  const ClassInfo *owner = nullptr;
};

struct Method {
  Declaration decl;
  uint32_t function = 0, setter = 0;
  const ClassInfo *owner = nullptr;
};

struct Event {
  Declaration decl;
  int slot = 0; // the host word written into the record
};

struct ClassInfo {
  std::string name;
  const ClassInfo *super = nullptr;
  bool builtIn = false;
  bool control = false;
  const uint32_t *record = nullptr;
  uint32_t blockOffset = 0, blockSize = 0, instanceSize = 0;
  uint32_t constructor = 0, destructor = 0;
  const uint32_t *behaviour = nullptr;
  std::vector<Property> properties;
  std::vector<Method> methods;
  std::vector<Event> events;
  bool isA(const std::string &other) const {
    for (const ClassInfo *c = this; c; c = c->super)
      if (sameName(c->name, other)) return true;
    return false;
  }
};

enum class Kind { Instance, String, Picture, FolderItem, Graphics };

struct Picture {
  HGLOBAL dib = nullptr;
  int width = 0, height = 0, depth = 0;
  int descriptionLocks = 0;
};

struct Entry {
  Kind kind;
  int refs = 1;
  bool dying = false;
  const ClassInfo *cls = nullptr; // instances and controls
  std::vector<uint8_t> memory;    // what the plugin sees
  Picture picture;
  std::string path;                                    // folder items
  HDC dc = nullptr;                                    // graphics
  HBITMAP surface = nullptr, previousBitmap = nullptr; // off-screen graphics own these
  Control *control = nullptr;
};

// Size of the host's own header in front of an instance's data blocks.
constexpr uint32_t kInstanceHeader = 16;
// A string record: the byte length is the word at byte 12, the bytes follow.
constexpr uint32_t kStringHeader = 16;

struct Host::Impl {
  void *library = nullptr;
  std::map<std::string, std::unique_ptr<ClassInfo>> classes; // by lower-case name
  std::vector<std::string> order;
  std::unordered_map<uintptr_t, std::unique_ptr<Entry>> objects;
  std::vector<Event *> eventSlots; // slot n at index n - 1
  std::map<std::pair<void *, int>, std::function<Value(const std::vector<Value> &)>> handlers;
  void *pendingException = nullptr;
  std::vector<std::unique_ptr<uint32_t[]>> keep;
};

// Registry helpers.
Entry *findEntry(Host &h, const void *object);
void *newObject(Host &h, Kind kind, size_t bytes, const ClassInfo *cls = nullptr);
void lockObject(Host &h, const void *object, const char *who);
void unlockObject(Host &h, const void *object, const char *who);
void *newInstance(Host &h, const ClassInfo *cls, bool runDefaultConstructor);
void *newString(Host &h, const std::string &bytes);
void *newPictureFromDib(Host &h, const std::vector<uint8_t> &packedDib, int width, int height, int depth);
const ClassInfo *findClass(const Host &h, const std::string &name);
std::string readCString(const void *address, size_t limit = 4096);

// Services and trampolines.
void *resolveService(const char *name);
uintptr_t eventTrampoline(const Event &event);

// Calls a behaviour slot of a control; words after the control.
CallResult callBehaviour(Host &h, const Control &control, int slot, Returns kind, std::vector<uint32_t> words);

inline uint32_t word(const void *p) { return static_cast<uint32_t>(reinterpret_cast<uintptr_t>(p)); }
template <class T = void> T *pointer(uint32_t w) { return reinterpret_cast<T *>(static_cast<uintptr_t>(w)); }

} // namespace host
