// Host.h: the reference host. It loads a plugin library the way the scripting
// host does and lets C++ code act as a script against it.
//
//   host::Host h;                                  // version 9.0, running program
//   h.load();                                      // du3v plugin from the exe's folder
//   host::Ref v = h.New("Vector3D", 1.0, 2.0, 3.0); // constructor overload by types
//   double x = v.get("X").asDouble();
//   v.set("X", 2.5);
//   host::Ref w = v.call("Plus", v).asObject();    // overload chosen by argument types
//   v.assign("Length", {}, 3.0);                   // assignment form of a method
//   EXPECT_EQ(h.counts().instances, 2);
//
// Strictness: every script-side call is checked against the registered
// declaration first; a mismatch throws host::CallError showing the
// declaration and the call side by side. Misuse of a host service by the
// plugin (unlocking a dead object, a bad record, ...) is recorded as a fault
// (faults()) and never crashes the host. An exception raised by the plugin
// (RuntimeRaiseException) is thrown as host::ScriptException when the plugin
// function returns.
//
// References: New and every object a method or a property getter function
// returns carry one reference for the script. A host-direct object property
// holds one reference: writing it locks the new value and unlocks the old,
// and the instance's end (after its destructors) releases what it still
// holds. Objects handed to the plugin as arguments are borrowed.
//
// One Host is active at a time (the plugin resolves services through a plain
// function pointer); constructing a second one throws.
#pragma once

#include <windows.h>

#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <set>
#include <stdexcept>
#include <string>
#include <vector>

namespace host {

class Host;
struct Instance;
struct ClassInfo;

// Thrown when a script-side call does not fit what the plugin registered.
struct CallError : std::runtime_error {
  using std::runtime_error::runtime_error;
};

// Thrown when the plugin raised an exception in the script.
struct ScriptException : std::runtime_error {
  std::string className;
  explicit ScriptException(const std::string &cls) : std::runtime_error("script exception " + cls), className(cls) {}
};

// A script variable holding an object (instance, control, picture) or nil.
// Copies take a reference; destruction drops it.
class Ref {
public:
  Ref() = default;
  Ref(const Ref &other);
  Ref(Ref &&other) noexcept;
  Ref &operator=(Ref other) noexcept;
  ~Ref();

  // Takes over one reference the caller already owns.
  static Ref adopt(Host *host, void *object);
  // Takes a new reference.
  static Ref share(Host *host, void *object);

  void *get() const { return object_; }
  explicit operator bool() const { return object_ != nullptr; }
  bool operator==(const Ref &o) const { return object_ == o.object_; }
  std::string className() const;

  // Script-side members; see Host for the rules.
  struct Value get(const std::string &property) const;
  void set(const std::string &property, const struct Value &value) const;
  struct Value call(const std::string &method, const std::vector<struct Value> &args = {}) const;
  template <class... A> struct Value call(const std::string &method, const A &...args) const;
  void assign(const std::string &method, const std::vector<struct Value> &args, const struct Value &value) const;

  // The plugin's data block of class `cls` inside this instance (for tests
  // that look at record layouts).
  uint8_t *block(const std::string &cls) const;
  int32_t references() const;

private:
  Host *host_ = nullptr;
  void *object_ = nullptr;
};

enum class Type { Nothing, Integer, Double, Boolean, Color, String, Object };

struct Color {
  uint32_t rgb;
};

// A script value. Strings are std::string (any bytes); objects are Refs.
struct Value {
  Type type = Type::Nothing;
  int32_t i = 0;
  double d = 0;
  bool b = false;
  uint32_t color = 0;
  std::string s;
  Ref object;

  Value() = default;
  Value(int v) : type(Type::Integer), i(v) {}
  Value(double v) : type(Type::Double), d(v) {}
  Value(bool v) : type(Type::Boolean), b(v) {}
  Value(Color c) : type(Type::Color), color(c.rgb) {}
  Value(const char *v) : type(Type::String), s(v) {}
  Value(std::string v) : type(Type::String), s(std::move(v)) {}
  Value(Ref r) : type(Type::Object), object(std::move(r)) {}
  Value(std::nullptr_t) : type(Type::Object) {}

  int32_t asInteger() const;
  double asDouble() const;
  bool asBoolean() const;
  uint32_t asColor() const;
  const std::string &asString() const;
  Ref asObject() const;
  std::string describe() const;
};

template <class... A> Value Ref::call(const std::string &method, const A &...args) const {
  return call(method, std::vector<Value>{Value(args)...});
}

// Live objects the host counts so tests can assert that nothing leaked.
struct Counts {
  int instances = 0; // script instances and controls
  int strings = 0;
  int pictures = 0;
  int folderItems = 0;
  int graphics = 0;
  bool operator==(const Counts &) const = default;
};

struct Config {
  double version = 9.0;           // what KIVOGetZKVersion answers
  bool runtime = true;            // KIVOinRuntime: running program (true) or design environment
  std::set<std::string> withheld; // entry points the resolver does not serve
};

class Window;
class Graphics;

// A control placed on a window: bounds in window coordinates.
class Control {
public:
  Ref ref;
  Window *window = nullptr;
  RECT bounds{};

  void redraw();                      // the host's redraw (Redraw callback)
  void resize(int width, int height); // new bounds, then a redraw
  void moveTo(int left, int top);
  bool mouseDown(int x, int y); // window coordinates
  void mouseDrag(int x, int y);
  void mouseUp(int x, int y);
  void drawInto(Graphics &graphics); // DrawIntoGraphics callback
  bool invalidated = false;          // set by KIVOInvalidateControl
};

// A top-level window whose client area is a pixel surface.
class Window {
public:
  Window(Host &host, int width, int height);
  ~Window();
  Window(const Window &) = delete;
  Window &operator=(const Window &) = delete;

  // Places a control: constructs it (InitControl), sets its bounds and opens
  // it (OpenControl). The window keeps it until close() or its own end.
  Control &place(const std::string &controlClass, int left, int top, int width, int height);
  void close(Control &control); // CloseControl, then the window lets it go
  void redraw();                // every control
  COLORREF pixel(int x, int y) const;
  void fill(COLORREF color);
  HWND hwnd() const { return hwnd_; }
  int width() const { return width_; }
  int height() const { return height_; }
  // The control under a window point, or null.
  Control *controlAt(int x, int y);
  bool mouseDown(int x, int y); // to the control under the point
  const std::vector<std::unique_ptr<Control>> &controls() const { return controls_; }

private:
  Host &host_;
  HWND hwnd_ = nullptr;
  int width_, height_;
  std::vector<std::unique_ptr<Control>> controls_;
};

// An off-screen graphics context (memory DC with a 32-bit surface).
class Graphics {
public:
  Graphics(Host &host, int width, int height);
  ~Graphics();
  Graphics(const Graphics &) = delete;
  Graphics &operator=(const Graphics &) = delete;
  void *handle() const { return record_; } // the HostGraphics handed to the plugin
  HDC dc() const;
  COLORREF pixel(int x, int y) const { return GetPixel(dc(), x, y); }
  void fill(COLORREF color);

private:
  Host &host_;
  void *record_;
};

// Pixels of a picture, read back from its packed DIB: 0xRRGGBB, top row first.
struct PictureImage {
  int width = 0, height = 0, depth = 0;
  std::vector<uint32_t> pixels;
  uint32_t at(int x, int y) const { return pixels[static_cast<size_t>(y) * width + x]; }
};

class Host {
public:
  explicit Host(Config config = {});
  ~Host();
  Host(const Host &) = delete;
  Host &operator=(const Host &) = delete;

  // Loads the plugin by file name and calls KIVOPluginMain. The default is
  // the du3v plugin next to the running executable.
  void load(const std::string &path = "");
  static std::string defaultPluginPath();
  // Runs an entry point linked into this program, for tests of a plugin's
  // insides; everything else is as with load().
  using PluginMain = void (*)(void *(*)(const char *));
  void attach(PluginMain main);

  Config &config() { return config_; }

  // Script-side API.
  Ref New(const std::string &cls, const std::vector<Value> &args = {});
  template <class... A> Ref New(const std::string &cls, const A &...args) {
    return New(cls, std::vector<Value>{Value(args)...});
  }
  Ref newString(const std::string &bytes);
  Ref newFolderItem(const std::string &path);
  // Pictures: 0xRRGGBB pixels, top row first; depth 24 or 32 (or 8 with a
  // 256-entry grey palette, pixel = index).
  Ref newPicture(int width, int height, const std::vector<uint32_t> &pixels, int depth = 32);
  PictureImage readPicture(const Ref &picture) const;
  // Installs a script handler for an event of a control; the handler gets
  // the event's arguments and returns its declared result (Nothing if none).
  void setHandler(const Control &control, const std::string &event,
                  std::function<Value(const std::vector<Value> &)> handler);

  // What the plugin registered.
  bool hasClass(const std::string &name) const;
  std::vector<std::string> registrationOrder() const;
  const ClassInfo *classInfo(const std::string &name) const;
  // Raw record addresses as registered (for layout tests).
  const uint32_t *record(const std::string &name) const;
  int announcedVersion() const { return announcedVersion_; }
  // The method records as this host read them: {function, setter, declaration}.
  struct MethodRecord {
    uint32_t function, setter;
    std::string declaration;
  };
  std::vector<MethodRecord> methodRecords(const std::string &cls) const;

  Counts counts() const;
  const std::vector<std::string> &faults() const { return faults_; }
  void clearFaults() { faults_.clear(); }
  // Entry points the plugin asked for, in order, with repeats.
  const std::vector<std::string> &lookups() const { return lookups_; }

  // ---- the rest serves the implementation ----
  static Host *active();
  void fault(const std::string &what);
  Value callMember(void *object, const std::string &name, const std::vector<Value> &args, const Value *assigned);
  Value getProperty(void *object, const std::string &name);
  void setProperty(void *object, const std::string &name, const Value &value);
  Config config_;
  std::vector<std::string> faults_;
  std::vector<std::string> lookups_;
  int announcedVersion_ = 0;
  struct Impl;
  std::unique_ptr<Impl> impl_;
};

} // namespace host
