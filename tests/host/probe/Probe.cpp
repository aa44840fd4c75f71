// A plugin made to exercise the reference host: one class, a subclass and a
// control whose members cover every kind of value, signature and service
// the host must carry. Built as its own shared library and loaded by name.
#include <windows.h>

#include <cstdint>
#include <cstring>
#include <string>

#include "plugin/Records.h"

using namespace du3v;

namespace {
typedef void *Obj;
void *(*resolver)(const char *) = nullptr;
template <class F> F service(const char *name) { return reinterpret_cast<F>(resolver(name)); }

std::string journal; // what constructors and destructors did, in order

struct ProbeData {
  int32_t count;   // 0
  uint8_t real[8]; // 4: a Double the host reads in place (not 8-aligned)
  uint32_t color;  // 12
  uint8_t flag;    // 16
  uint8_t pad[3];
  Obj other;           // 20
  float scale;         // 24
  int32_t constructed; // 28
  int32_t level;       // 32
  int32_t items[4];    // 36
};
static_assert(offsetof(ProbeData, color) == 12 && offsetof(ProbeData, other) == 20, "probe layout");

extern ClassDefinition ProbeClass, SubProbeClass;
extern ControlDefinition ProbeControlDef;

ProbeData *data(Obj o) { return static_cast<ProbeData *>(ClassData(o, ProbeClass)); }
int32_t *subData(Obj o) { return static_cast<int32_t *>(ClassData(o, SubProbeClass)); }

void probeConstruct(Obj o) { data(o)->constructed = 1, journal += "Probe+"; }
void probeDestruct(Obj o) { journal += "Probe-"; }
void subConstruct(Obj o) { subData(o)[0] = data(o)->constructed + 1, journal += "Sub+"; }
void subDestruct(Obj o) { journal += "Sub-"; }

double getScale(Obj o, uint32_t param) {
  float f;
  std::memcpy(&f, reinterpret_cast<uint8_t *>(data(o)) + param, 4);
  return f;
}
void setScale(Obj o, uint32_t param, double v) {
  float f = static_cast<float>(v);
  std::memcpy(reinterpret_cast<uint8_t *>(data(o)) + param, &f, 4);
}

void ctorDefault(Obj o) { journal += "Probe()"; }
void ctorCount(Obj o, int32_t n) { data(o)->count = n; }
void ctorRealOther(Obj o, double x, Obj other) {
  std::memcpy(data(o)->real, &x, 8);
  service<void (*)(Obj)>("KIVOLockObject")(other);
  data(o)->other = other;
}
double sum(Obj, int32_t a, double b, int32_t c) { return a + b + c; }
int32_t twice(Obj, Obj s) {
  uint32_t length = 0;
  if (s) std::memcpy(&length, static_cast<uint8_t *>(s) + 12, 4);
  const char *text = service<const char *(*)(Obj)>("StringGetCString")(s);
  return static_cast<int32_t>(length * 2 + (text && text[0] == 'Z' ? 1000 : 0));
}
Obj echo(Obj, Obj other) {
  service<void (*)(Obj)>("KIVOLockObject")(other);
  return other;
}
bool isPositive(Obj, int32_t n) { return n > 0; }
int32_t pickInteger(Obj, int32_t) { return 1; }
int32_t pickDouble(Obj, double) { return 2; }
int32_t level(Obj o) { return data(o)->level; }
void setLevel(Obj o, int32_t v) { data(o)->level = v; }
int32_t item(Obj o, int32_t i) { return i >= 0 && i < 4 ? data(o)->items[i] : -1; }
void setItem(Obj o, int32_t i, int32_t v) {
  if (i >= 0 && i < 4) data(o)->items[i] = v;
}
void fail(Obj) {
  Obj e = service<Obj (*)(const char *)>("PluginNewInstance")("OutOfBoundsException");
  service<void (*)(Obj)>("RuntimeRaiseException")(e);
  service<void (*)(Obj)>("KIVOUnlockObject")(e);
}
uint32_t shade(Obj) { return 0x123456; }
Obj picture(Obj, int32_t w, int32_t h) {
  // Format 2: top row first, blue, green, red; pixel (x, y) = (x*10, y*20, 99).
  std::string buffer(static_cast<size_t>(w) * h * 3 + 3, '\0');
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x) {
      char *p = &buffer[(static_cast<size_t>(y) * w + x) * 3];
      p[0] = 99, p[1] = static_cast<char>(y * 20), p[2] = static_cast<char>(x * 10);
    }
  return service<Obj (*)(int32_t, int32_t, int32_t, const void *, int32_t)>("KIVOBuildPictureFromBuffer")(
      w, h, 2, buffer.data(), w * 3);
}
int32_t pictureWidth(Obj, Obj p) {
  uint32_t d[6] = {9, 9, 9, 9, 9, 9};
  service<void (*)(Obj, uint32_t *)>("lockPictureDescription")(p, d);
  service<void (*)(Obj)>("unlockPictureDescription")(p);
  return static_cast<int32_t>(d[2] * 1000 + d[3]);
}
int32_t pathLength(Obj, Obj f) {
  Obj s = service<Obj (*)(Obj)>("KIVOpathFromFolderItem")(f);
  uint32_t length = 0;
  if (s) std::memcpy(&length, static_cast<uint8_t *>(s) + 12, 4);
  service<void (*)(Obj)>("KIVOUnlockString")(s);
  return static_cast<int32_t>(length);
}
void leak(Obj o) { service<void (*)(Obj)>("KIVOLockObject")(o); }
void badUnlock(Obj) { service<void (*)(Obj)>("KIVOUnlockObject")(reinterpret_cast<Obj>(uintptr_t{0x1234})); }
Obj sameClass(Obj o) { return service<Obj (*)(Obj)>("PluginNewOfSameClass")(o); }
Obj byType(Obj) {
  void *type = service<void *(*)(const char *)>("pluginObjectType")("SubProbe");
  return service<Obj (*)(void *)>("CreateInstance")(type);
}
int32_t extra(Obj o) { return subData(o)[0]; }

PropertyDefinition probeProperties[] = {
    {nullptr, "Count", "Integer", 0, HostAccess(), HostAccess(), 0, {}},
    {nullptr, "Real", "Double", 0, HostAccess(), HostAccess(), 4, {}},
    {"Initial State", "Tint", "Color", 0, HostAccess(), HostAccess(), 12, {}},
    {nullptr, "Flag", "Boolean", 0, HostAccess(), HostAccess(), 16, {}},
    {nullptr, "Other", "Probe", 0, HostAccess(), HostAccess(), 20, {}},
    {nullptr, "Scale", "Double", 0, Fn(getScale), Fn(setScale), 24, {}},
    {nullptr, "Constructed", "Integer", 0, HostAccess(), nullptr, 28, {}},
};

MethodDefinition probeMethods[] = {
    {Fn(ctorDefault), nullptr, "Probe()", 0},
    {Fn(ctorCount), nullptr, "Probe(n as Integer)", 0},
    {Fn(ctorRealOther), nullptr, "Probe(x As Double, other as Probe)", 0},
    {Fn(sum), nullptr, "Sum(a as Integer, b as Double, c as Integer) as Double", 0},
    {Fn(twice), nullptr, "Twice(s as String) as Integer", 0},
    {Fn(echo), nullptr, "Echo(o as Probe) as Probe", 0},
    {Fn(isPositive), nullptr, "IsPositive(n as Integer) As Boolean", 0},
    {Fn(pickInteger), nullptr, "Pick(n as Integer) as Integer", 0},
    {Fn(pickDouble), nullptr, "Pick(d as Double) as Integer", 0},
    {Fn(level), Fn(setLevel), "Level() as Integer", 0},
    {Fn(item), Fn(setItem), "Item(i as Integer) as Integer", 0},
    {Fn(fail), nullptr, "Fail", 0},
    {Fn(shade), nullptr, "Shade as Color", 0},
    {Fn(picture), nullptr, "MakePicture(w as Integer, h as Integer) as Picture", 0},
    {Fn(pictureWidth), nullptr, "Size(p as Picture) as Integer", 0},
    {Fn(pathLength), nullptr, "PathLength(f as FolderItem) as Integer", 0},
    {Fn(leak), nullptr, "Leak", 0},
    {Fn(badUnlock), nullptr, "BadUnlock", 0},
    {Fn(sameClass), nullptr, "SameClass() as Probe", 0},
    {Fn(byType), nullptr, "ByType() as Probe", 0},
};

PropertyDefinition subProperties[] = {
    {nullptr, "Extra", "Integer", 0, HostAccess(), HostAccess(), 0, {}},
};
MethodDefinition subMethods[] = {
    {Fn(extra), nullptr, "ExtraValue() as Integer", 0},
};

// ---- the control -----------------------------------------------------------------
struct ControlState {
  int32_t inits, opens, closes, redraws;
  uint32_t color;
  int32_t scaled;
};
ControlState *state(Obj c) { return static_cast<ControlState *>(ControlData(c, ProbeControlDef)); }

EventDefinition events[] = {
    {"MouseDown(X As Integer, Y As Integer) As Boolean", 0},
    {"MouseDrag(X As Integer, Y As Integer)", 0},
    {"Scaled(f As Double) As Double", 0},
};

struct Bounds {
  int16_t top, left, bottom, right;
};
Bounds bounds(Obj c) {
  Bounds b{};
  service<void (*)(Obj, Bounds *)>("GetControlBounds")(c, &b);
  return b;
}
void paint(HDC dc, RECT r, uint32_t rgb) {
  HBRUSH brush = CreateSolidBrush(RGB(rgb >> 16, (rgb >> 8) & 255, rgb & 255));
  FillRect(dc, &r, brush);
  DeleteObject(brush);
}

void initControl(Obj c) { state(c)->inits++, state(c)->color = 0x00FF00; }
void openControl(Obj c) { state(c)->opens++; }
void closeControl(Obj c) { state(c)->closes++; }
void redraw(Obj c, Obj g) {
  state(c)->redraws++;
  Bounds b = bounds(c);
  HDC dc = service<HDC (*)(Obj)>("KIVOGraphicsDC")(g);
  // The graphics context is the window's: the control's bounds are in its coordinates.
  if (service<HWND (*)(Obj)>("KIVOGetControlHandle")(c))
    paint(dc, RECT{b.left, b.top, b.right, b.bottom}, state(c)->color);
}
void drawInto(Obj c, Obj g) {
  HDC dc = service<HDC (*)(Obj)>("KIVOGraphicsDC")(g);
  paint(dc, RECT{0, 0, 4, 4}, 0xFF0000);
}
bool mouseDown(Obj c, int32_t x, int32_t y) {
  auto handler = service<void *(*)(Obj, uint32_t)>("GetEventInstance")(c, events[0].hostWord);
  if (!handler) return false;
  Bounds b = bounds(c);
  return reinterpret_cast<bool (*)(Obj, int32_t, int32_t)>(handler)(c, x - b.left, y - b.top);
}
void mouseDrag(Obj c, int32_t x, int32_t y) {
  if (auto handler = service<void *(*)(Obj, uint32_t)>("GetEventInstance")(c, events[1].hostWord))
    reinterpret_cast<void (*)(Obj, int32_t, int32_t)>(handler)(c, x, y);
}
void mouseUp(Obj c, int32_t x, int32_t y) {
  if (auto handler = service<void *(*)(Obj, uint32_t)>("GetEventInstance")(c, events[2].hostWord))
    state(c)->scaled = static_cast<int32_t>(100 * reinterpret_cast<double (*)(Obj, double)>(handler)(c, x * 0.5));
}

PropertyDefinition controlProperties[] = {
    {"Initial State", "Color", "Color", 0, HostAccess(), HostAccess(), 16, {}},
    {"Runtime State", "Scaled", "Integer", 2, HostAccess(), nullptr, 20, {}},
    {nullptr, "Redraws", "Integer", 0, HostAccess(), nullptr, 12, {}},
};

ControlBehaviour behaviour = {{Fn(initControl), nullptr, Fn(redraw), Fn(mouseDown), Fn(mouseDrag), Fn(mouseUp), nullptr,
                               nullptr, nullptr, Fn(openControl), Fn(closeControl), nullptr, Fn(drawInto)}};

ClassDefinition ProbeClass = {kRecordVersion,    "Probe",         nullptr, sizeof(ProbeData), 0,  Fn(probeConstruct),
                              Fn(probeDestruct), probeProperties, 7,       probeMethods,      20, {}};
ClassDefinition SubProbeClass = {kRecordVersion,  "SubProbe",    "Probe", 8,          0, Fn(subConstruct),
                                 Fn(subDestruct), subProperties, 1,       subMethods, 1, {}};
ControlDefinition ProbeControlDef = {kRecordVersion,
                                     "ProbeControl",
                                     sizeof(ControlState),
                                     8,
                                     128,
                                     129,
                                     64,
                                     32,
                                     controlProperties,
                                     3,
                                     nullptr,
                                     0,
                                     events,
                                     3,
                                     &behaviour,
                                     0,
                                     {}};
} // namespace

extern "C"
#ifdef _WIN32
    __declspec(dllexport)
#else
    __attribute__((visibility("default")))
#endif
        void KIVOPluginMain(void *(*r)(const char *)) {
  resolver = r;
  if (auto registerClass = service<void (*)(ClassDefinition *)>("PluginRegisterClass")) {
    registerClass(&ProbeClass);
    registerClass(&SubProbeClass);
  }
  if (auto registerControl = service<void (*)(ControlDefinition *)>("PluginRegisterControl"))
    registerControl(&ProbeControlDef);
}

// Lets tests read the constructor and destructor order.
extern "C"
#ifdef _WIN32
    __declspec(dllexport)
#else
    __attribute__((visibility("default")))
#endif
        const char *ProbeJournal() {
  return journal.c_str();
}
