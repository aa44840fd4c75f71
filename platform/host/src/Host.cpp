// The reference host's core: the registry of live objects, classes, script
// values, and the checked calls into the plugin.
#include "HostImpl.h"

#include <algorithm>
#include <cctype>
#include <cstring>
#include <sstream>

#ifdef _WIN32
#include <windows.h>
#else
#include <dlfcn.h>
#include <unistd.h>
#endif

namespace host {

namespace {
Host *activeHost = nullptr;

std::string lower(std::string s) {
  for (char &c : s) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return s;
}

bool isScalarType(const std::string &t) {
  return sameName(t, "Integer") || sameName(t, "Double") || sameName(t, "Boolean") || sameName(t, "Color") ||
         sameName(t, "String");
}

Returns returnsFor(const std::string &type) {
  if (type.empty()) return Returns::Nothing;
  if (sameName(type, "Double")) return Returns::Double;
  if (sameName(type, "Boolean")) return Returns::Boolean;
  return Returns::Word;
}
} // namespace

// ---- values ------------------------------------------------------------------

static CallError wrongValue(const Value &v, const char *wanted) {
  return CallError(std::string("value is ") + v.describe() + ", not " + wanted);
}
int32_t Value::asInteger() const {
  if (type != Type::Integer) throw wrongValue(*this, "Integer");
  return i;
}
double Value::asDouble() const {
  if (type == Type::Integer) return i;
  if (type != Type::Double) throw wrongValue(*this, "Double");
  return d;
}
bool Value::asBoolean() const {
  if (type != Type::Boolean) throw wrongValue(*this, "Boolean");
  return b;
}
uint32_t Value::asColor() const {
  if (type != Type::Color) throw wrongValue(*this, "Color");
  return color;
}
const std::string &Value::asString() const {
  if (type != Type::String) throw wrongValue(*this, "String");
  return s;
}
Ref Value::asObject() const {
  if (type != Type::Object) throw wrongValue(*this, "an object");
  return object;
}
std::string Value::describe() const {
  std::ostringstream out;
  switch (type) {
  case Type::Nothing: out << "nothing"; break;
  case Type::Integer: out << "Integer " << i; break;
  case Type::Double: out << "Double " << d; break;
  case Type::Boolean: out << "Boolean " << (b ? "true" : "false"); break;
  case Type::Color: out << "Color &h" << std::hex << color; break;
  case Type::String: out << "String (" << s.size() << " bytes)"; break;
  case Type::Object: out << (object ? object.className() : std::string("nil")); break;
  }
  return out.str();
}

// ---- references ----------------------------------------------------------------

Ref::Ref(const Ref &o) : host_(o.host_), object_(o.object_) {
  if (object_ && host_ == Host::active()) lockObject(*host_, object_, "script");
}
Ref::Ref(Ref &&o) noexcept : host_(o.host_), object_(o.object_) { o.object_ = nullptr; }
Ref &Ref::operator=(Ref o) noexcept {
  std::swap(host_, o.host_);
  std::swap(object_, o.object_);
  return *this;
}
Ref::~Ref() {
  // A reference outliving its host has nothing left to release.
  if (object_ && host_ == Host::active()) unlockObject(*host_, object_, "script");
}
Ref Ref::adopt(Host *h, void *object) {
  Ref r;
  r.host_ = h;
  r.object_ = object;
  return r;
}
Ref Ref::share(Host *h, void *object) {
  if (object) lockObject(*h, object, "script");
  return adopt(h, object);
}
std::string Ref::className() const {
  if (!object_) return "nil";
  Entry *e = findEntry(*host_, object_);
  if (!e) return "(dead object)";
  switch (e->kind) {
  case Kind::Instance: return e->cls->name;
  case Kind::String: return "String";
  case Kind::Picture: return "Picture";
  case Kind::FolderItem: return "FolderItem";
  case Kind::Graphics: return "Graphics";
  }
  return "?";
}
Value Ref::get(const std::string &property) const { return host_->getProperty(object_, property); }
void Ref::set(const std::string &property, const Value &value) const { host_->setProperty(object_, property, value); }
Value Ref::call(const std::string &method, const std::vector<Value> &args) const {
  return host_->callMember(object_, method, args, nullptr);
}
void Ref::assign(const std::string &method, const std::vector<Value> &args, const Value &value) const {
  host_->callMember(object_, method, args, &value);
}
uint8_t *Ref::block(const std::string &cls) const {
  Entry *e = findEntry(*host_, object_);
  const ClassInfo *c = findClass(*host_, cls);
  if (!e || e->kind != Kind::Instance || !c || !e->cls->isA(c->name))
    throw CallError("no " + cls + " block in " + className());
  return e->memory.data() + c->blockOffset;
}
int32_t Ref::references() const {
  Entry *e = object_ ? findEntry(*host_, object_) : nullptr;
  return e ? e->refs : 0;
}

// ---- registry ----------------------------------------------------------------

Entry *findEntry(Host &h, const void *object) {
  auto it = h.impl_->objects.find(reinterpret_cast<uintptr_t>(object));
  return it == h.impl_->objects.end() ? nullptr : it->second.get();
}

void *newObject(Host &h, Kind kind, size_t bytes, const ClassInfo *cls) {
  auto e = std::make_unique<Entry>();
  e->kind = kind;
  e->cls = cls;
  e->memory.assign(std::max<size_t>(bytes, 4), 0);
  void *address = e->memory.data();
  h.impl_->objects[reinterpret_cast<uintptr_t>(address)] = std::move(e);
  return address;
}

const ClassInfo *findClass(const Host &h, const std::string &name) {
  auto it = h.impl_->classes.find(lower(name));
  return it == h.impl_->classes.end() ? nullptr : it->second.get();
}

std::string readCString(const void *address, size_t limit) {
  if (!address) return {};
  const char *p = static_cast<const char *>(address);
  return std::string(p, strnlen(p, limit));
}

static std::vector<const ClassInfo *> chainOf(const ClassInfo *cls) {
  std::vector<const ClassInfo *> chain;
  for (const ClassInfo *c = cls; c; c = c->super) chain.insert(chain.begin(), c);
  return chain;
}

static void destroy(Host &h, void *object, Entry &e) {
  e.dying = true;
  if (e.kind == Kind::Instance) {
    auto chain = chainOf(e.cls);
    // Destructors run most-derived first.
    for (auto it = chain.rbegin(); it != chain.rend(); ++it)
      if ((*it)->destructor) callPlugin((*it)->destructor, Returns::Nothing, {word(object)});
    // Then the host lets go of the object fields it wrote itself.
    for (const ClassInfo *c : chain)
      for (const Property &p : c->properties)
        if (!isScalarType(p.type) && p.setter == rec::kHostReads) {
          uint32_t *field = reinterpret_cast<uint32_t *>(e.memory.data() + c->blockOffset + p.param);
          void *held = pointer(*field);
          *field = 0;
          if (held) unlockObject(h, held, "instance end");
        }
  } else if (e.kind == Kind::Picture) {
    if (e.picture.descriptionLocks)
      h.fault("picture freed while its description is locked (" + std::to_string(e.picture.descriptionLocks) +
              " locks)");
    GlobalFree(e.picture.dib);
  } else if (e.kind == Kind::Graphics) {
    // The graphics context does not own its device context.
  }
  h.impl_->objects.erase(reinterpret_cast<uintptr_t>(object));
}

void lockObject(Host &h, const void *object, const char *who) {
  if (!object) return;
  Entry *e = findEntry(h, object);
  if (!e) return h.fault(std::string(who) + ": lock of an unknown object");
  ++e->refs;
}

void unlockObject(Host &h, const void *object, const char *who) {
  if (!object) return;
  Entry *e = findEntry(h, object);
  if (!e) return h.fault(std::string(who) + ": unlock of an unknown or dead object");
  if (e->refs <= 0) return h.fault(std::string(who) + ": unlock of an object without references");
  if (--e->refs == 0 && !e->dying) destroy(h, const_cast<void *>(object), *e);
}

void *newString(Host &h, const std::string &bytes) {
  auto *s = static_cast<uint8_t *>(newObject(h, Kind::String, kStringHeader + bytes.size() + 1));
  const uint32_t length = static_cast<uint32_t>(bytes.size());
  std::memcpy(s + 12, &length, 4);
  if (!bytes.empty()) std::memcpy(s + kStringHeader, bytes.data(), bytes.size());
  return s;
}

static const Method *zeroArgConstructor(const ClassInfo *cls) {
  for (const Method &m : cls->methods)
    if (sameName(m.decl.name, cls->name) && m.decl.params.empty()) return &m;
  return nullptr;
}

void *newInstance(Host &h, const ClassInfo *cls, bool runDefaultConstructor) {
  void *object = newObject(h, Kind::Instance, cls->instanceSize, cls);
  // Constructors run base first.
  for (const ClassInfo *c : chainOf(cls))
    if (c->constructor) callPlugin(c->constructor, Returns::Nothing, {word(object)});
  if (runDefaultConstructor)
    if (const Method *m = zeroArgConstructor(cls)) callPlugin(m->function, Returns::Nothing, {word(object)});
  return object;
}

// ---- the host ----------------------------------------------------------------

Host::Host(Config config) : config_(std::move(config)), impl_(std::make_unique<Impl>()) {
  if (activeHost) throw std::logic_error("another host is active");
  activeHost = this;
  for (const char *name : {"RuntimeException", "OutOfBoundsException", "NilObjectException"}) {
    auto c = std::make_unique<ClassInfo>();
    c->name = name;
    c->builtIn = true;
    c->super = std::string(name) == "RuntimeException" ? nullptr : impl_->classes["runtimeexception"].get();
    c->instanceSize = kInstanceHeader;
    impl_->classes[lower(name)] = std::move(c);
  }
}

Host::~Host() {
  // Objects still alive are leaks the tests report through counts(); their
  // memory goes without running plugin code, which is about to be unloaded.
  impl_->objects.clear();
  if (impl_->library) {
#ifdef _WIN32
    FreeLibrary(static_cast<HMODULE>(impl_->library));
#else
    dlclose(impl_->library);
#endif
  }
  activeHost = nullptr;
}

Host *Host::active() { return activeHost; }

void Host::fault(const std::string &what) { faults_.push_back(what); }

std::string Host::defaultPluginPath() {
#ifdef _WIN32
  char path[MAX_PATH];
  DWORD n = GetModuleFileNameA(nullptr, path, MAX_PATH);
  std::string exe(path, n);
  return exe.substr(0, exe.find_last_of("\\/") + 1) + "du3v.dll";
#else
  char path[4096];
  ssize_t n = readlink("/proc/self/exe", path, sizeof path);
  std::string exe(path, n > 0 ? static_cast<size_t>(n) : 0);
  return exe.substr(0, exe.find_last_of('/') + 1) + "libdu3v.so";
#endif
}

void Host::load(const std::string &path) {
  const std::string file = path.empty() ? defaultPluginPath() : path;
  using Main = void (*)(void *(*)(const char *));
  Main main = nullptr;
#ifdef _WIN32
  HMODULE lib = LoadLibraryA(file.c_str());
  if (!lib) throw std::runtime_error("cannot load " + file);
  impl_->library = lib;
  main = reinterpret_cast<Main>(reinterpret_cast<void *>(GetProcAddress(lib, "KIVOPluginMain")));
#else
  void *lib = dlopen(file.c_str(), RTLD_NOW | RTLD_LOCAL);
  if (!lib) throw std::runtime_error("cannot load " + file + ": " + dlerror());
  impl_->library = lib;
  main = reinterpret_cast<Main>(dlsym(lib, "KIVOPluginMain"));
#endif
  if (!main) throw std::runtime_error(file + " has no KIVOPluginMain");
  main(&resolveService);
}

void Host::attach(PluginMain main) { main(&resolveService); }

Counts Host::counts() const {
  Counts c;
  for (auto &entry : impl_->objects) switch (entry.second->kind) {
    case Kind::Instance: ++c.instances; break;
    case Kind::String: ++c.strings; break;
    case Kind::Picture: ++c.pictures; break;
    case Kind::FolderItem: ++c.folderItems; break;
    case Kind::Graphics: ++c.graphics; break;
    }
  return c;
}

bool Host::hasClass(const std::string &name) const {
  const ClassInfo *c = findClass(*this, name);
  return c && !c->builtIn;
}
std::vector<std::string> Host::registrationOrder() const { return impl_->order; }
const ClassInfo *Host::classInfo(const std::string &name) const { return findClass(*this, name); }
const uint32_t *Host::record(const std::string &name) const {
  const ClassInfo *c = findClass(*this, name);
  return c ? c->record : nullptr;
}
std::vector<Host::MethodRecord> Host::methodRecords(const std::string &cls) const {
  std::vector<MethodRecord> out;
  if (const ClassInfo *c = findClass(*this, cls))
    for (const Method &m : c->methods) out.push_back({m.function, m.setter, m.decl.text});
  return out;
}

Ref Host::newString(const std::string &bytes) { return Ref::adopt(this, host::newString(*this, bytes)); }

Ref Host::newFolderItem(const std::string &path) {
  void *f = newObject(*this, Kind::FolderItem, 16);
  findEntry(*this, f)->path = path;
  return Ref::adopt(this, f);
}

// ---- checked calls -------------------------------------------------------------

namespace {
// How well a value fits a declared type: 2 exactly, 1 with a widening, 0 not.
int fits(Host &h, const std::string &type, const Value &v) {
  if (sameName(type, "Integer")) return v.type == Type::Integer ? 2 : 0;
  if (sameName(type, "Double")) return v.type == Type::Double ? 2 : v.type == Type::Integer ? 1 : 0;
  if (sameName(type, "Boolean")) return v.type == Type::Boolean ? 2 : 0;
  if (sameName(type, "Color")) return v.type == Type::Color ? 2 : v.type == Type::Integer ? 1 : 0;
  if (sameName(type, "String")) return v.type == Type::String ? 2 : 0;
  if (v.type != Type::Object) return 0;
  if (!v.object) return 2; // nil fits any object type
  Entry *e = findEntry(h, v.object.get());
  if (!e) return 0;
  if (sameName(type, "Picture")) return e->kind == Kind::Picture ? 2 : 0;
  if (sameName(type, "FolderItem")) return e->kind == Kind::FolderItem ? 2 : 0;
  if (sameName(type, "Graphics")) return e->kind == Kind::Graphics ? 2 : 0;
  if (sameName(type, "Object")) return 2;
  return e->kind == Kind::Instance && e->cls->isA(type) ? 2 : 0;
}

// Appends the words of one argument. Strings become host strings held for
// the call (released in `temporaries`).
void encode(Host &h, const std::string &type, const Value &v, std::vector<uint32_t> &words,
            std::vector<Ref> &temporaries) {
  if (sameName(type, "Double")) {
    double d = v.asDouble();
    uint32_t w[2];
    std::memcpy(w, &d, 8);
    words.push_back(w[0]);
    words.push_back(w[1]);
  } else if (sameName(type, "Integer")) {
    words.push_back(static_cast<uint32_t>(v.i));
  } else if (sameName(type, "Boolean")) {
    words.push_back(v.b ? 1u : 0u);
  } else if (sameName(type, "Color")) {
    words.push_back(v.type == Type::Integer ? static_cast<uint32_t>(v.i) : v.color);
  } else if (sameName(type, "String")) {
    temporaries.push_back(h.newString(v.s));
    words.push_back(word(temporaries.back().get()));
  } else {
    words.push_back(word(v.object.get()));
  }
}

Value decode(Host &h, const std::string &type, const CallResult &r) {
  if (type.empty()) return {};
  if (sameName(type, "Integer")) return Value(static_cast<int32_t>(r.word));
  if (sameName(type, "Double")) return Value(r.real);
  if (sameName(type, "Boolean")) return Value(r.boolean);
  if (sameName(type, "Color")) return Value(Color{r.word});
  if (sameName(type, "String")) {
    Ref s = Ref::adopt(&h, pointer(r.word));
    Entry *e = s ? findEntry(h, s.get()) : nullptr;
    if (s && (!e || e->kind != Kind::String)) {
      h.fault("a String result is not a host string");
      return Value(std::string());
    }
    if (!s) return Value(std::string());
    uint32_t length;
    std::memcpy(&length, e->memory.data() + 12, 4);
    return Value(std::string(reinterpret_cast<char *>(e->memory.data() + kStringHeader), length));
  }
  // Object results come with one reference for the caller.
  void *object = pointer(r.word);
  if (object) {
    Entry *e = findEntry(h, object);
    if (!e) {
      h.fault("method returned an unknown object for " + type);
      return Value(nullptr);
    }
    if (e->kind == Kind::Instance && !e->cls->isA(type) && !sameName(type, "Object"))
      h.fault("method returned a " + e->cls->name + " for " + type);
  }
  return Value(Ref::adopt(&h, object));
}

std::string callText(const std::string &name, const std::vector<Value> &args, const Value *assigned) {
  std::string text = name + "(";
  for (size_t i = 0; i < args.size(); ++i) text += (i ? ", " : "") + args[i].describe();
  text += ")";
  if (assigned) text += " = " + assigned->describe();
  return text;
}

void raisePending(Host &h) {
  if (!h.impl_->pendingException) return;
  Ref exception = Ref::adopt(&h, h.impl_->pendingException);
  h.impl_->pendingException = nullptr;
  throw ScriptException(exception.className());
}
} // namespace

Value Host::callMember(void *object, const std::string &name, const std::vector<Value> &args, const Value *assigned) {
  Entry *e = findEntry(*this, object);
  if (!object) throw CallError("call of " + name + " on nil");
  if (!e || e->kind != Kind::Instance) throw CallError("call of " + name + " on something that is not an instance");
  std::vector<const Method *> candidates;
  for (const ClassInfo *c = e->cls; c; c = c->super)
    for (const Method &m : c->methods)
      if (sameName(m.decl.name, name) && !sameName(m.decl.name, c->name)) candidates.push_back(&m);
  const Method *best = nullptr;
  int bestScore = 0;
  for (const Method *m : candidates) {
    if (m->decl.params.size() != args.size()) continue;
    if (assigned && (!m->setter || m->decl.result.empty())) continue;
    int score = 1;
    for (size_t i = 0; i < args.size() && score; ++i) {
      int f = fits(*this, m->decl.params[i].type, args[i]);
      score = f ? score + f : 0;
    }
    if (score && assigned) {
      int f = fits(*this, m->decl.result, *assigned);
      score = f ? score + f : 0;
    }
    if (score > bestScore) best = m, bestScore = score;
  }
  if (!best) {
    std::string message =
        e->cls->name + ": no declaration fits the call\n  call:        " + callText(name, args, assigned) + "\n";
    if (candidates.empty()) message += "  declared:    (no method " + name + ")\n";
    for (const Method *m : candidates)
      message += "  declaration: " + m->decl.text + (m->setter ? "  (assignable)" : "") + "\n";
    throw CallError(message);
  }
  std::vector<uint32_t> words{word(object)};
  std::vector<Ref> temporaries;
  for (size_t i = 0; i < args.size(); ++i) encode(*this, best->decl.params[i].type, args[i], words, temporaries);
  if (assigned) {
    encode(*this, best->decl.result, *assigned, words, temporaries);
    callPlugin(best->setter, Returns::Nothing, words);
    raisePending(*this);
    return {};
  }
  CallResult r = callPlugin(best->function, returnsFor(best->decl.result), words);
  Value result = decode(*this, best->decl.result, r);
  raisePending(*this);
  return result;
}

static const Property *findProperty(const ClassInfo *cls, const std::string &name) {
  for (const ClassInfo *c = cls; c; c = c->super)
    for (const Property &p : c->properties)
      if (sameName(p.name, name)) return &p;
  return nullptr;
}

static std::string propertyList(const ClassInfo *cls) {
  std::string list;
  for (const ClassInfo *c = cls; c; c = c->super)
    for (const Property &p : c->properties) list += "  " + p.name + " as " + p.type + "\n";
  return list.empty() ? "  (none)\n" : list;
}

Value Host::getProperty(void *object, const std::string &name) {
  Entry *e = findEntry(*this, object);
  if (!object || !e || e->kind != Kind::Instance) throw CallError("property " + name + " of nil or a non-instance");
  const Property *p = findProperty(e->cls, name);
  if (!p) throw CallError(e->cls->name + " has no property " + name + "; it has:\n" + propertyList(e->cls));
  uint8_t *block = e->memory.data() + p->owner->blockOffset;
  if (p->getter == rec::kHostReads) {
    if (p->param + (sameName(p->type, "Double") ? 8 : 4) > p->owner->blockSize &&
        !(sameName(p->type, "Boolean") && p->param < p->owner->blockSize))
      throw CallError(name + ": its offset lies outside the data block");
    uint8_t *field = block + p->param;
    if (sameName(p->type, "Boolean")) return Value(*field != 0);
    uint32_t w;
    std::memcpy(&w, field, 4);
    if (sameName(p->type, "Integer")) return Value(static_cast<int32_t>(w));
    if (sameName(p->type, "Color")) return Value(Color{w});
    if (sameName(p->type, "Double")) {
      double d;
      std::memcpy(&d, field, 8);
      return Value(d);
    }
    return Value(Ref::share(this, pointer(w)));
  }
  if (!p->getter) throw CallError(name + " cannot be read");
  CallResult r = callPlugin(p->getter, returnsFor(p->type), {word(object), p->param});
  // An object a getter returns carries one reference for the caller, as a
  // method's result does.
  Value v = decode(*this, p->type, r);
  raisePending(*this);
  return v;
}

void Host::setProperty(void *object, const std::string &name, const Value &value) {
  Entry *e = findEntry(*this, object);
  if (!object || !e || e->kind != Kind::Instance) throw CallError("property " + name + " of nil or a non-instance");
  const Property *p = findProperty(e->cls, name);
  if (!p) throw CallError(e->cls->name + " has no property " + name + "; it has:\n" + propertyList(e->cls));
  if (!p->setter) throw CallError(e->cls->name + "." + name + " is read-only");
  if (!fits(*this, p->type, value))
    throw CallError(e->cls->name + "." + name + " is declared as " + p->type + "; assigned " + value.describe());
  uint8_t *field = e->memory.data() + p->owner->blockOffset + p->param;
  if (p->setter == rec::kHostReads) {
    if (sameName(p->type, "Boolean")) {
      *field = value.b ? 1 : 0;
    } else if (sameName(p->type, "Double")) {
      double d = value.asDouble();
      std::memcpy(field, &d, 8);
    } else if (isScalarType(p->type)) {
      uint32_t w =
          sameName(p->type, "Color") && value.type == Type::Color ? value.color : static_cast<uint32_t>(value.i);
      std::memcpy(field, &w, 4);
    } else {
      // The field holds a reference: take the new one, drop the old one.
      uint32_t old;
      std::memcpy(&old, field, 4);
      lockObject(*this, value.object.get(), "property write");
      uint32_t w = word(value.object.get());
      std::memcpy(field, &w, 4);
      unlockObject(*this, pointer(old), "property write");
    }
    return;
  }
  std::vector<uint32_t> words{word(object), p->param};
  std::vector<Ref> temporaries;
  encode(*this, p->type, value, words, temporaries);
  callPlugin(p->setter, Returns::Nothing, words);
  raisePending(*this);
}

Ref Host::New(const std::string &name, const std::vector<Value> &args) {
  const ClassInfo *cls = findClass(*this, name);
  if (!cls || cls->control) throw CallError("no class " + name + " to create");
  std::vector<const Method *> constructors;
  for (const Method &m : cls->methods)
    if (sameName(m.decl.name, cls->name)) constructors.push_back(&m);
  const Method *best = nullptr;
  int bestScore = 0;
  for (const Method *m : constructors) {
    if (m->decl.params.size() != args.size()) continue;
    int score = 1;
    for (size_t i = 0; i < args.size() && score; ++i) {
      int f = fits(*this, m->decl.params[i].type, args[i]);
      score = f ? score + f : 0;
    }
    if (score > bestScore) best = m, bestScore = score;
  }
  if (!best && !args.empty()) {
    std::string message =
        "New " + name + ": no constructor fits\n  call:        " + callText(name, args, nullptr) + "\n";
    for (const Method *m : constructors) message += "  declaration: " + m->decl.text + "\n";
    throw CallError(message);
  }
  Ref object = Ref::adopt(this, newInstance(*this, cls, false));
  if (best) {
    std::vector<uint32_t> words{word(object.get())};
    std::vector<Ref> temporaries;
    for (size_t i = 0; i < args.size(); ++i) encode(*this, best->decl.params[i].type, args[i], words, temporaries);
    callPlugin(best->function, Returns::Nothing, words);
    raisePending(*this);
  }
  return object;
}

void Host::setHandler(const Control &control, const std::string &event,
                      std::function<Value(const std::vector<Value> &)> handler) {
  Entry *e = findEntry(*this, control.ref.get());
  if (!e) throw CallError("handler for a control that is gone");
  for (const Event &ev : e->cls->events)
    if (sameName(ev.decl.name, event)) {
      impl_->handlers[{control.ref.get(), ev.slot}] = std::move(handler);
      return;
    }
  throw CallError(e->cls->name + " has no event " + event);
}

} // namespace host
