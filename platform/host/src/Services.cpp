// The host services the plugin reaches through the resolver, and the
// reading of its definition records. Each service checks what it is handed
// and records a fault instead of trusting a bad pointer.
#include "HostImpl.h"

#include <cstdarg>
#include <cstring>

namespace host {

namespace {
Host &H() { return *Host::active(); }

Entry *expect(const void *object, Kind kind, const char *service) {
  Entry *e = object ? findEntry(H(), object) : nullptr;
  if (!object) return nullptr;
  if (!e || e->kind != kind) {
    H().fault(std::string(service) + ": argument is not a live " +
              (kind == Kind::Instance     ? "instance"
               : kind == Kind::String     ? "string"
               : kind == Kind::Picture    ? "picture"
               : kind == Kind::FolderItem ? "folder item"
                                          : "graphics context"));
    return nullptr;
  }
  return e;
}

std::string lowerName(const std::string &s) {
  std::string out = s;
  for (char &c : out) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return out;
}

// ---- records -------------------------------------------------------------------

void readProperties(Host &h, ClassInfo &c, uint32_t address, uint32_t count) {
  if (count && !address) return h.fault(c.name + ": property count without a property array");
  if (count > 256) return h.fault(c.name + ": absurd property count");
  const uint32_t *p = pointer<const uint32_t>(address);
  for (uint32_t i = 0; i < count; ++i, p += rec::kPropertyWords) {
    Property prop;
    prop.group = readCString(pointer(p[0]));
    prop.name = readCString(pointer(p[1]));
    prop.type = readCString(pointer(p[2]));
    prop.flags = p[3];
    prop.getter = p[4];
    prop.setter = p[5];
    prop.param = p[6];
    const std::string where = c.name + "." + prop.name;
    if (prop.name.empty() || prop.type.empty())
      h.fault(c.name + ": property " + std::to_string(i) + " lacks a name or type");
    if (prop.flags != 0 && prop.flags != 2) h.fault(where + ": flags " + std::to_string(prop.flags));
    if (p[7] || p[8] || p[9]) h.fault(where + ": spare words are not 0");
    if (!prop.getter) h.fault(where + ": no getter");
    if (prop.getter == rec::kHostReads || prop.setter == rec::kHostReads) {
      const uint32_t width = sameName(prop.type, "Boolean") ? 1 : sameName(prop.type, "Double") ? 8 : 4;
      if (prop.param + width > c.blockSize)
        h.fault(where + ": offset " + std::to_string(prop.param) + " outside the block");
    }
    c.properties.push_back(prop);
  }
}

void readMethods(Host &h, ClassInfo &c, uint32_t address, uint32_t count) {
  if (count && !address) return h.fault(c.name + ": method count without a method array");
  if (count > 256) return h.fault(c.name + ": absurd method count");
  // Hosts below 5.9 read the older three-word method records.
  const int words = h.config_.version >= 5.9 ? rec::kMethodWords : rec::kOldMethodWords;
  const uint32_t *m = pointer<const uint32_t>(address);
  for (uint32_t i = 0; i < count; ++i, m += words) {
    Method method;
    std::string text = readCString(pointer(m[2]));
    auto decl = parseDeclaration(text);
    if (!decl) {
      h.fault(c.name + ": method " + std::to_string(i) + " has no valid declaration: \"" + text + "\"");
      continue;
    }
    method.decl = *decl;
    method.function = m[0];
    method.setter = m[1];
    if (!method.function) h.fault(c.name + "." + text + ": no function");
    if (words == rec::kMethodWords && m[3]) h.fault(c.name + "." + text + ": fourth word is not 0");
    c.methods.push_back(method);
  }
}

void finishClass(Host &h, std::unique_ptr<ClassInfo> c) {
  for (Property &p : c->properties) p.owner = c.get();
  for (Method &m : c->methods) m.owner = c.get();
  h.impl_->order.push_back(c->name);
  h.impl_->classes[lowerName(c->name)] = std::move(c);
}

void svcRegisterClass(uint32_t *r) {
  Host &h = H();
  if (!r) return h.fault("PluginRegisterClass: null record");
  auto c = std::make_unique<ClassInfo>();
  c->name = readCString(pointer(r[rec::cName]));
  c->record = r;
  if (r[rec::cVersion] != 7) h.fault(c->name + ": record version " + std::to_string(r[rec::cVersion]));
  if (c->name.empty()) return h.fault("PluginRegisterClass: record without a name");
  if (findClass(h, c->name)) return h.fault(c->name + ": registered twice");
  if (r[rec::cSuper]) {
    std::string super = readCString(pointer(r[rec::cSuper]));
    c->super = findClass(h, super);
    if (!c->super || c->super->control) return h.fault(c->name + ": superclass " + super + " is not registered");
  }
  for (int i = rec::cFirstSpare; i < rec::kClassWords; ++i)
    if (r[i]) h.fault(c->name + ": spare word " + std::to_string(i + 1) + " is not 0");
  if (r[rec::cHostWord]) h.fault(c->name + ": host word is not 0 in the record");
  c->blockSize = r[rec::cSize];
  c->blockOffset = c->super ? c->super->instanceSize : kInstanceHeader;
  c->instanceSize = c->blockOffset + ((c->blockSize + 3) & ~3u);
  c->constructor = r[rec::cConstructor];
  c->destructor = r[rec::cDestructor];
  r[rec::cHostWord] = c->blockOffset;
  readProperties(h, *c, r[rec::cProperties], r[rec::cPropertyCount]);
  readMethods(h, *c, r[rec::cMethods], r[rec::cMethodCount]);
  finishClass(h, std::move(c));
}

void svcRegisterControl(uint32_t *r) {
  Host &h = H();
  if (!r) return h.fault("PluginRegisterControl: null record");
  auto c = std::make_unique<ClassInfo>();
  c->control = true;
  c->name = readCString(pointer(r[rec::kName]));
  c->record = r;
  if (r[rec::kVersion] != 7) h.fault(c->name + ": record version " + std::to_string(r[rec::kVersion]));
  if (c->name.empty()) return h.fault("PluginRegisterControl: record without a name");
  if (findClass(h, c->name)) return h.fault(c->name + ": registered twice");
  for (int i = rec::kFirstSpare; i < rec::kControlWords; ++i)
    if (r[i]) h.fault(c->name + ": spare word " + std::to_string(i + 1) + " is not 0");
  if (r[rec::kHostWord]) h.fault(c->name + ": host word is not 0 in the record");
  if (!r[rec::kBehaviour]) h.fault(c->name + ": no behaviour table");
  c->blockSize = r[rec::kSize];
  c->blockOffset = kInstanceHeader;
  c->instanceSize = kInstanceHeader + ((c->blockSize + 3) & ~3u);
  c->behaviour = pointer<const uint32_t>(r[rec::kBehaviour]);
  r[rec::kHostWord] = c->blockOffset;
  readProperties(h, *c, r[rec::kProperties], r[rec::kPropertyCount]);
  readMethods(h, *c, r[rec::kMethods], r[rec::kMethodCount]);
  const uint32_t events = r[rec::kEventCount];
  if (events && !r[rec::kEvents])
    h.fault(c->name + ": event count without an event array");
  else if (events > 64)
    h.fault(c->name + ": absurd event count");
  else {
    uint32_t *e = pointer<uint32_t>(r[rec::kEvents]);
    for (uint32_t i = 0; i < events; ++i, e += rec::kEventWords) {
      std::string text = readCString(pointer(e[0]));
      auto decl = parseDeclaration(text);
      if (!decl) {
        h.fault(c->name + ": event " + std::to_string(i) + " has no valid declaration: \"" + text + "\"");
        continue;
      }
      if (e[1]) h.fault(c->name + "." + text + ": event host word is not 0 in the record");
      Event ev;
      ev.decl = *decl;
      c->events.push_back(ev);
    }
  }
  // Slots are handed out once the events sit in their final vector.
  for (Event &ev : c->events) {
    h.impl_->eventSlots.push_back(&ev);
    ev.slot = static_cast<int>(h.impl_->eventSlots.size());
  }
  uint32_t *e = pointer<uint32_t>(r[rec::kEvents]);
  for (size_t i = 0; e && i < c->events.size() && i < events; ++i) e[i * rec::kEventWords + 1] = c->events[i].slot;
  finishClass(h, std::move(c));
}

// ---- objects -----------------------------------------------------------------------

void svcRegisterPluginVersion(int32_t version) { H().announcedVersion_ = version; }
double svcGetVersion() { return H().config_.version; }
bool svcInRuntime() { return H().config_.runtime; }

void *svcNewInstance(const char *name) {
  const ClassInfo *c = findClass(H(), readCString(name));
  if (!c || c->control) return nullptr;
  return newInstance(H(), c, true);
}

void *svcNewOfSameClass(void *instance) {
  Entry *e = expect(instance, Kind::Instance, "PluginNewOfSameClass");
  if (!e || e->cls->control) return nullptr;
  return newInstance(H(), e->cls, true);
}

void *svcObjectType(const char *name) {
  const ClassInfo *c = findClass(H(), readCString(name));
  return c && !c->control ? const_cast<ClassInfo *>(c) : nullptr;
}

void *svcCreateInstance(void *type) {
  for (auto &entry : H().impl_->classes)
    if (entry.second.get() == type && !entry.second->control) return newInstance(H(), entry.second.get(), true);
  if (type) H().fault("CreateInstance: not a class reference");
  return nullptr;
}

void svcLock(void *object) { lockObject(H(), object, "KIVOLockObject"); }
void svcUnlock(void *object) { unlockObject(H(), object, "KIVOUnlockObject"); }

void svcRaise(void *exception) {
  Entry *e = expect(exception, Kind::Instance, "RuntimeRaiseException");
  if (!e) return;
  if (!e->cls->isA("RuntimeException"))
    return H().fault("RuntimeRaiseException: " + e->cls->name + " is not an exception");
  if (H().impl_->pendingException) {
    H().fault("RuntimeRaiseException: an exception is already pending");
    unlockObject(H(), H().impl_->pendingException, "RuntimeRaiseException");
  }
  lockObject(H(), exception, "RuntimeRaiseException");
  H().impl_->pendingException = exception;
}

const char *svcStringGetCString(void *s) {
  Entry *e = expect(s, Kind::String, "StringGetCString");
  return e ? reinterpret_cast<const char *>(e->memory.data() + kStringHeader) : nullptr;
}

void svcUnlockString(void *s) {
  if (s && !expect(s, Kind::String, "KIVOUnlockString")) return;
  unlockObject(H(), s, "KIVOUnlockString");
}

void *svcPathFromFolderItem(void *f) {
  Entry *e = expect(f, Kind::FolderItem, "KIVOpathFromFolderItem");
  return e ? newString(H(), e->path) : nullptr;
}

// ---- pictures, graphics, controls ------------------------------------------------------

void svcLockPictureDescription(void *picture, uint32_t *description) {
  if (!description) return H().fault("lockPictureDescription: null description");
  std::memset(description, 0, 24);
  Entry *e = expect(picture, Kind::Picture, "lockPictureDescription");
  if (!e) return;
  ++e->picture.descriptionLocks;
  description[0] = 1; // a packed device-independent bitmap
  description[1] = word(e->picture.dib);
  description[2] = static_cast<uint32_t>(e->picture.width);
  description[3] = static_cast<uint32_t>(e->picture.height);
  description[4] = static_cast<uint32_t>(e->picture.depth);
}

void svcUnlockPictureDescription(void *picture) {
  Entry *e = expect(picture, Kind::Picture, "unlockPictureDescription");
  if (!e) return;
  if (e->picture.descriptionLocks <= 0) return H().fault("unlockPictureDescription: description not locked");
  --e->picture.descriptionLocks;
}

void *svcBuildPictureFromBuffer(int32_t width, int32_t height, int32_t format, const uint8_t *buffer,
                                int32_t rowBytes) {
  if (format != 2 || width <= 0 || height <= 0 || width > 32767 || height > 32767 || !buffer || rowBytes < width * 3) {
    H().fault("KIVOBuildPictureFromBuffer: bad arguments " + std::to_string(width) + "x" + std::to_string(height) +
              " format " + std::to_string(format) + " row bytes " + std::to_string(rowBytes));
    return nullptr;
  }
  // Format 2: 24-bit pixels, top row first, each stored blue, green, red.
  const uint32_t stride = ((static_cast<uint32_t>(width) * 24 + 31) / 32) * 4;
  std::vector<uint8_t> dib(40 + static_cast<size_t>(stride) * height, 0);
  BITMAPINFOHEADER header{};
  header.biSize = 40;
  header.biWidth = width;
  header.biHeight = height;
  header.biPlanes = 1;
  header.biBitCount = 24;
  header.biSizeImage = stride * static_cast<uint32_t>(height);
  std::memcpy(dib.data(), &header, 40);
  for (int32_t y = 0; y < height; ++y)
    std::memcpy(&dib[40 + static_cast<size_t>(height - 1 - y) * stride], buffer + static_cast<size_t>(y) * rowBytes,
                static_cast<size_t>(width) * 3);
  return newPictureFromDib(H(), dib, width, height, 24);
}

void svcDrawPicture(HDC dc, void *picture, const int16_t *rect, int32_t flags) {
  Entry *e = expect(picture, Kind::Picture, "drawPicturePrimitive");
  if (!e) return;
  if (!rect) return H().fault("drawPicturePrimitive: null rectangle");
  if (flags != 0) H().fault("drawPicturePrimitive: last argument is not 0");
  auto *dib = static_cast<uint8_t *>(GlobalLock(e->picture.dib));
  if (!dib) return H().fault("drawPicturePrimitive: picture memory cannot be locked");
  const auto *info = reinterpret_cast<const BITMAPINFO *>(dib);
  const size_t palette = info->bmiHeader.biBitCount <= 8 ? 256 * 4 : 0;
  StretchDIBits(dc, rect[1], rect[0], rect[3] - rect[1], rect[2] - rect[0], 0, 0, e->picture.width, e->picture.height,
                dib + 40 + palette, info, DIB_RGB_COLORS, SRCCOPY);
  GlobalUnlock(e->picture.dib);
}

Control *controlOf(void *control, const char *service) {
  Entry *e = expect(control, Kind::Instance, service);
  if (e && !e->control) H().fault(std::string(service) + ": instance is not a placed control");
  return e ? e->control : nullptr;
}

void svcGetControlBounds(void *control, int16_t *rect) {
  if (!rect) return H().fault("GetControlBounds: null rectangle");
  std::memset(rect, 0, 8);
  Control *c = controlOf(control, "GetControlBounds");
  if (!c) return;
  rect[0] = static_cast<int16_t>(c->bounds.top);
  rect[1] = static_cast<int16_t>(c->bounds.left);
  rect[2] = static_cast<int16_t>(c->bounds.bottom);
  rect[3] = static_cast<int16_t>(c->bounds.right);
}

HWND svcGetControlHandle(void *control) {
  Control *c = controlOf(control, "KIVOGetControlHandle");
  return c && c->window ? c->window->hwnd() : nullptr;
}

HDC svcGraphicsDC(void *graphics) {
  Entry *e = expect(graphics, Kind::Graphics, "KIVOGraphicsDC");
  return e ? e->dc : nullptr;
}

void svcInvalidateControl(void *control) {
  if (Control *c = controlOf(control, "KIVOInvalidateControl")) c->invalidated = true;
}

void *svcGetEventInstance(void *control, uint32_t slot) {
  Entry *e = expect(control, Kind::Instance, "GetEventInstance");
  if (!e) return nullptr;
  const auto &slots = H().impl_->eventSlots;
  if (slot == 0 || slot > slots.size()) {
    H().fault("GetEventInstance: " + std::to_string(slot) + " names no registered event");
    return nullptr;
  }
  const Event &ev = *slots[slot - 1];
  bool own = false;
  for (const Event &mine : e->cls->events) own = own || &mine == &ev;
  if (!own) {
    H().fault("GetEventInstance: event " + ev.decl.name + " is not one of " + e->cls->name);
    return nullptr;
  }
  if (!H().impl_->handlers.count({control, ev.slot})) return nullptr;
  return reinterpret_cast<void *>(eventTrampoline(ev));
}

// ---- event trampolines -------------------------------------------------------------------

// The plugin calls a handler with the control and the event's declared
// arguments (C convention); the trampoline of each event slot reads exactly
// those arguments and runs the script's handler.
Value runEvent(int slot, void *control, va_list ap) {
  Host &h = H();
  const Event &ev = *h.impl_->eventSlots[static_cast<size_t>(slot) - 1];
  std::vector<Value> args;
  for (const Parameter &p : ev.decl.params) {
    if (sameName(p.type, "Double"))
      args.emplace_back(va_arg(ap, double));
    else {
      uint32_t w = va_arg(ap, uint32_t);
      if (sameName(p.type, "Integer"))
        args.emplace_back(static_cast<int32_t>(w));
      else if (sameName(p.type, "Boolean"))
        args.emplace_back(w != 0);
      else if (sameName(p.type, "Color"))
        args.emplace_back(Color{w});
      else
        args.emplace_back(Ref::share(&h, pointer(w)));
    }
  }
  auto it = h.impl_->handlers.find({control, slot});
  if (it == h.impl_->handlers.end()) {
    h.fault("event handler called after it was removed");
    return {};
  }
  return it->second(args);
}

template <int Slot> uint32_t wordTrampoline(void *control, ...) {
  va_list ap;
  va_start(ap, control);
  Value r = runEvent(Slot, control, ap);
  va_end(ap);
  if (r.type == Type::Boolean) return r.b ? 1 : 0;
  if (r.type == Type::Integer) return static_cast<uint32_t>(r.i);
  if (r.type == Type::Color) return r.color;
  return 0;
}

template <int Slot> double doubleTrampoline(void *control, ...) {
  va_list ap;
  va_start(ap, control);
  Value r = runEvent(Slot, control, ap);
  va_end(ap);
  return r.type == Type::Double ? r.d : r.type == Type::Integer ? r.i : 0.0;
}

constexpr int kSlots = 64;
template <size_t... I> uintptr_t trampolineFor(int slot, bool real, std::index_sequence<I...>) {
  static const uintptr_t words[] = {reinterpret_cast<uintptr_t>(&wordTrampoline<static_cast<int>(I) + 1>)...};
  static const uintptr_t doubles[] = {reinterpret_cast<uintptr_t>(&doubleTrampoline<static_cast<int>(I) + 1>)...};
  return real ? doubles[slot - 1] : words[slot - 1];
}

struct Service {
  const char *name;
  void *function;
};

template <class F> void *fn(F *f) { return reinterpret_cast<void *>(f); }

const Service services[] = {
    {"RegisterPluginVersion", fn(svcRegisterPluginVersion)},
    {"PluginRegisterClass", fn(svcRegisterClass)},
    {"PluginRegisterControl", fn(svcRegisterControl)},
    {"KIVOGetZKVersion", fn(svcGetVersion)},
    {"KIVOinRuntime", fn(svcInRuntime)},
    {"PluginNewInstance", fn(svcNewInstance)},
    {"PluginNewOfSameClass", fn(svcNewOfSameClass)},
    {"pluginObjectType", fn(svcObjectType)},
    {"CreateInstance", fn(svcCreateInstance)},
    {"KIVOLockObject", fn(svcLock)},
    {"KIVOUnlockObject", fn(svcUnlock)},
    {"RuntimeRaiseException", fn(svcRaise)},
    {"StringGetCString", fn(svcStringGetCString)},
    {"KIVOpathFromFolderItem", fn(svcPathFromFolderItem)},
    {"KIVOUnlockString", fn(svcUnlockString)},
    {"lockPictureDescription", fn(svcLockPictureDescription)},
    {"unlockPictureDescription", fn(svcUnlockPictureDescription)},
    {"KIVOBuildPictureFromBuffer", fn(svcBuildPictureFromBuffer)},
    {"drawPicturePrimitive", fn(svcDrawPicture)},
    {"GetControlBounds", fn(svcGetControlBounds)},
    {"KIVOGetControlHandle", fn(svcGetControlHandle)},
    {"KIVOGraphicsDC", fn(svcGraphicsDC)},
    {"KIVOInvalidateControl", fn(svcInvalidateControl)},
    {"GetEventInstance", fn(svcGetEventInstance)},
};
} // namespace

uintptr_t eventTrampoline(const Event &event) {
  if (event.slot < 1 || event.slot > kSlots) {
    H().fault("more events than the host has trampolines");
    return 0;
  }
  return trampolineFor(event.slot, sameName(event.decl.result, "Double"), std::make_index_sequence<kSlots>{});
}

void *resolveService(const char *name) {
  Host *h = Host::active();
  if (!h || !name) return nullptr;
  std::string n(name);
  h->lookups_.push_back(n);
  if (h->config_.withheld.count(n)) return nullptr;
  for (const Service &s : services)
    if (n == s.name) return s.function;
  return nullptr;
}

} // namespace host
