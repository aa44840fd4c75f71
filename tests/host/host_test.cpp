// The reference host against a plugin made to exercise it.
#include <gtest/gtest.h>

#include "host/Host.h"

#include <cstring>

#ifndef _WIN32
#include <dlfcn.h>
#endif

using host::CallError;
using host::Color;
using host::Counts;
using host::Ref;
using host::Value;

namespace {
std::string probePath() {
  std::string path = host::Host::defaultPluginPath();
#ifdef _WIN32
  return path.substr(0, path.find_last_of("\\/") + 1) + "hostprobe.dll";
#else
  return path.substr(0, path.find_last_of('/') + 1) + "libhostprobe.so";
#endif
}

std::string journal() {
#ifdef _WIN32
  auto read = reinterpret_cast<const char *(*)()>(
      reinterpret_cast<void *>(GetProcAddress(GetModuleHandleA("hostprobe.dll"), "ProbeJournal")));
#else
  void *lib = dlopen(probePath().c_str(), RTLD_NOW | RTLD_NOLOAD);
  auto read = reinterpret_cast<const char *(*)()>(dlsym(lib, "ProbeJournal"));
  dlclose(lib);
#endif
  return read ? read() : "(no journal)";
}

std::string lines(const std::vector<std::string> &v) {
  std::string out;
  for (auto &s : v) out += s + "\n";
  return out;
}

class ProbeHost : public ::testing::Test {
protected:
  host::Host h;
  void SetUp() override { h.load(probePath()); }
  void TearDown() override { EXPECT_TRUE(h.faults().empty()) << lines(h.faults()); }
};
} // namespace

TEST_F(ProbeHost, RegistersRecordsAndWritesHostWords) {
  EXPECT_EQ(h.registrationOrder(), (std::vector<std::string>{"Probe", "SubProbe", "ProbeControl"}));
  // Blocks follow the host's 16-byte header, base class first.
  EXPECT_EQ(h.record("Probe")[4], 16u);
  EXPECT_EQ(h.record("SubProbe")[4], 16u + h.record("Probe")[3]);
  EXPECT_EQ(h.record("ProbeControl")[15], 16u);
}

TEST_F(ProbeHost, ConstructorsBaseFirstDestructorsDerivedFirst) {
  {
    Ref sub = h.New("SubProbe");
    EXPECT_EQ(sub.className(), "SubProbe");
    // The subclass constructor saw the base block already constructed.
    EXPECT_EQ(sub.get("Extra").asInteger(), 2);
    EXPECT_EQ(sub.call("ExtraValue").asInteger(), 2);
    EXPECT_EQ(sub.get("Constructed").asInteger(), 1); // inherited property
  }
  const std::string j = journal();
  EXPECT_NE(j.find("Probe+Sub+Sub-Probe-"), std::string::npos) << j;
  {
    Ref p = h.New("Probe");
    EXPECT_NE(journal().find("Probe+Probe()"), std::string::npos) << journal();
  }
  EXPECT_EQ(h.counts(), Counts{});
}

TEST_F(ProbeHost, PropertiesDirectAndThroughFunctions) {
  {
    Ref p = h.New("Probe");
    p.set("Count", -7);
    p.set("Real", 2.25);
    p.set("Tint", Color{0xC8C8FF});
    p.set("Flag", true);
    p.set("Scale", 0.1);
    EXPECT_EQ(p.get("Count").asInteger(), -7);
    EXPECT_EQ(p.get("Real").asDouble(), 2.25);
    EXPECT_EQ(p.get("Tint").asColor(), 0xC8C8FFu);
    EXPECT_TRUE(p.get("Flag").asBoolean());
    // The setter stores a single-precision float.
    EXPECT_EQ(p.get("Scale").asDouble(), static_cast<double>(0.1f));
    const uint8_t *block = p.block("Probe");
    EXPECT_EQ(block[16], 1);
    int32_t count;
    std::memcpy(&count, block, 4);
    EXPECT_EQ(count, -7);
  }
  EXPECT_EQ(h.counts(), Counts{});
}

TEST_F(ProbeHost, ObjectPropertiesHoldReferences) {
  {
    Ref a = h.New("Probe"), b = h.New("Probe"), holder = h.New("Probe");
    holder.set("Other", a);
    EXPECT_EQ(a.references(), 2);
    holder.set("Other", b); // takes b, lets a go
    EXPECT_EQ(a.references(), 1);
    EXPECT_EQ(b.references(), 2);
    EXPECT_EQ(holder.get("Other").asObject(), b);
    holder.set("Other", nullptr);
    EXPECT_EQ(b.references(), 1);
    holder.set("Other", a);
  } // the holder's end releases what its field holds
  EXPECT_EQ(h.counts(), Counts{});
}

TEST_F(ProbeHost, CallsCarryEveryKindOfValue) {
  {
    Ref p = h.New("Probe");
    EXPECT_EQ(p.call("Sum", 1, 2.5, 3).asDouble(), 6.5);
    EXPECT_EQ(p.call("Sum", 1, 2, 3).asDouble(), 6.0);                  // Integer widens to Double
    EXPECT_EQ(p.call("Twice", std::string("ab\0c", 4)).asInteger(), 8); // byte length at byte 12
    EXPECT_EQ(p.call("Twice", "Zed").asInteger(), 1006);                // NUL-terminated bytes
    EXPECT_TRUE(p.call("IsPositive", 5).asBoolean());
    EXPECT_FALSE(p.call("IsPositive", -1).asBoolean());
    EXPECT_EQ(p.call("Pick", 1).asInteger(), 1); // overloads chosen by type
    EXPECT_EQ(p.call("Pick", 1.0).asInteger(), 2);
    EXPECT_EQ(p.call("shade").asColor(), 0x123456u); // names ignore case
    Ref echoed = p.call("Echo", p).asObject();
    EXPECT_EQ(echoed, p);
    EXPECT_EQ(p.references(), 2);                     // the result carries the caller's reference
    EXPECT_FALSE(p.call("Echo", nullptr).asObject()); // locking nil does nothing
  }
  EXPECT_EQ(h.counts(), Counts{});
}

TEST_F(ProbeHost, AssignmentForms) {
  Ref p = h.New("Probe");
  p.assign("Level", {}, 7);
  EXPECT_EQ(p.call("Level").asInteger(), 7);
  p.assign("Item", {2}, 9);
  EXPECT_EQ(p.call("Item", 2).asInteger(), 9);
  EXPECT_EQ(p.call("Item", 1).asInteger(), 0);
  EXPECT_THROW(p.assign("Sum", {1, 2.0, 3}, 1.0), CallError); // no assignment form
}

TEST_F(ProbeHost, ConstructorOverloads) {
  {
    Ref other = h.New("Probe");
    Ref counted = h.New("Probe", 5);
    EXPECT_EQ(counted.get("Count").asInteger(), 5);
    Ref mixed = h.New("Probe", 2.5, other);
    EXPECT_EQ(mixed.get("Real").asDouble(), 2.5);
    EXPECT_EQ(mixed.get("Other").asObject(), other);
    EXPECT_THROW(h.New("Probe", "text"), CallError);
  }
  EXPECT_EQ(h.counts(), Counts{});
}

TEST_F(ProbeHost, MismatchedCallsAreRefusedWithBothSides) {
  Ref p = h.New("Probe");
  const struct {
    const char *what;
    std::function<void()> call;
    const char *mentions;
  } cases[] = {
      {"too few", [&] { p.call("Sum", 1, 2.0); }, "Sum(a as Integer, b as Double, c as Integer) as Double"},
      {"wrong type", [&] { p.call("IsPositive", 1.5); }, "IsPositive(Double 1.5)"},
      {"object of another class", [&] { p.call("Size", p); }, "Size(p as Picture) as Integer"},
      {"unknown method", [&] { p.call("Nope"); }, "no method Nope"},
      {"unknown property", [&] { p.get("Nope"); }, "has no property Nope"},
      {"read-only property", [&] { p.set("Constructed", 3); }, "read-only"},
      {"property type", [&] { p.set("Count", 1.5); }, "declared as Integer"},
      {"unknown class", [&] { h.New("Nope"); }, "no class Nope"},
  };
  for (const auto &c : cases) {
    try {
      c.call();
      ADD_FAILURE() << c.what << ": accepted";
    } catch (const CallError &e) {
      EXPECT_NE(std::string(e.what()).find(c.mentions), std::string::npos) << c.what << ":\n" << e.what();
    }
  }
}

TEST_F(ProbeHost, ExceptionsReachTheScriptAfterTheCall) {
  Ref p = h.New("Probe");
  try {
    p.call("Fail");
    ADD_FAILURE() << "no exception";
  } catch (const host::ScriptException &e) {
    EXPECT_EQ(e.className, "OutOfBoundsException");
  }
  EXPECT_EQ(h.counts().instances, 1); // the exception is gone
}

TEST_F(ProbeHost, PicturesAndFolderItems) {
  {
    Ref p = h.New("Probe");
    Ref picture = p.call("MakePicture", 3, 2).asObject();
    EXPECT_EQ(h.counts().pictures, 1);
    host::PictureImage image = h.readPicture(picture);
    ASSERT_EQ(image.width, 3);
    ASSERT_EQ(image.height, 2);
    for (int y = 0; y < 2; ++y)
      for (int x = 0; x < 3; ++x) EXPECT_EQ(image.at(x, y), uint32_t(x * 10) << 16 | uint32_t(y * 20) << 8 | 99u);
    EXPECT_EQ(p.call("Size", picture).asInteger(), 3002);
    for (int depth : {8, 24, 32}) {
      std::vector<uint32_t> pixels{0x000010, 0x000020, 0x000030, 0x000040, 0x000050, 0x000060};
      if (depth != 8)
        for (auto &px : pixels) px |= 0xAB0000u | (px << 8);
      Ref made = h.newPicture(3, 2, pixels, depth);
      host::PictureImage back = h.readPicture(made);
      for (int i = 0; i < 6; ++i)
        EXPECT_EQ(back.pixels[i], depth == 8 ? pixels[i] * 0x010101u : pixels[i]) << depth << " " << i;
    }
    Ref file = h.newFolderItem("/data/b.3dmf");
    EXPECT_EQ(p.call("PathLength", file).asInteger(), 12);
    EXPECT_EQ(h.counts().strings, 0);
  }
  EXPECT_EQ(h.counts(), Counts{});
}

TEST_F(ProbeHost, NewInstancesFromThePlugin) {
  {
    Ref sub = h.New("SubProbe");
    Ref same = sub.call("SameClass").asObject();
    EXPECT_EQ(same.className(), "SubProbe");
    EXPECT_EQ(same.get("Extra").asInteger(), 2);
    EXPECT_EQ(same.references(), 1);
    Ref typed = sub.call("ByType").asObject();
    EXPECT_EQ(typed.className(), "SubProbe");
  }
  EXPECT_EQ(h.counts(), Counts{});
}

TEST_F(ProbeHost, LeaksAndFaultsAreReported) {
  {
    Ref p = h.New("Probe");
    p.call("Leak");
    p.call("BadUnlock");
  }
  EXPECT_EQ(h.counts().instances, 1);
  ASSERT_EQ(h.faults().size(), 1u);
  EXPECT_NE(h.faults()[0].find("KIVOUnlockObject"), std::string::npos);
  h.clearFaults();
}

TEST_F(ProbeHost, ControlsDrawIntoTheirWindowAndGraphics) {
  {
    host::Window w(h, 80, 60);
    host::Control &c = w.place("ProbeControl", 10, 20, 30, 15);
    EXPECT_EQ(c.ref.get("Color").asColor(), 0x00FF00u); // set by InitControl
    c.redraw();
    const struct {
      int x, y;
      COLORREF color;
    } probes[] = {{10, 20, RGB(0, 255, 0)},
                  {39, 34, RGB(0, 255, 0)},
                  {40, 34, RGB(255, 255, 255)},
                  {39, 35, RGB(255, 255, 255)},
                  {9, 20, RGB(255, 255, 255)}};
    for (const auto &p : probes) EXPECT_EQ(w.pixel(p.x, p.y), p.color) << p.x << "," << p.y;
    c.ref.set("Color", Color{0x0000FF});
    c.resize(40, 15);
    EXPECT_EQ(w.pixel(49, 20), RGB(0, 0, 255));
    EXPECT_EQ(c.ref.get("Redraws").asInteger(), 2);

    host::Graphics g(h, 8, 8);
    c.drawInto(g);
    EXPECT_EQ(g.pixel(1, 1), RGB(255, 0, 0));
    EXPECT_EQ(g.pixel(5, 5), RGB(255, 255, 255));
  }
  EXPECT_EQ(h.counts(), Counts{});
}

TEST_F(ProbeHost, EventsReachScriptHandlers) {
  {
    host::Window w(h, 100, 100);
    host::Control &c = w.place("ProbeControl", 10, 20, 30, 30);
    host::Control &quiet = w.place("ProbeControl", 60, 60, 10, 10);
    EXPECT_FALSE(c.mouseDown(15, 25)); // no handler yet
    std::vector<Value> got;
    h.setHandler(c, "MouseDown", [&](const std::vector<Value> &args) {
      got = args;
      return Value(true);
    });
    EXPECT_TRUE(w.mouseDown(15, 27));
    ASSERT_EQ(got.size(), 2u);
    EXPECT_EQ(got[0].asInteger(), 5); // relative to the control
    EXPECT_EQ(got[1].asInteger(), 7);
    EXPECT_FALSE(w.mouseDown(65, 65)); // the other control has no handler
    EXPECT_FALSE(w.mouseDown(1, 1));   // no control there
    (void)quiet;
    h.setHandler(c, "Scaled", [&](const std::vector<Value> &args) { return Value(args[0].asDouble() * 3); });
    c.mouseUp(5, 0); // the probe asks Scaled(2.5) and keeps 100 times the answer
    EXPECT_EQ(c.ref.get("Scaled").asInteger(), 750);
    EXPECT_THROW(h.setHandler(c, "Nope", nullptr), CallError);
  }
  EXPECT_EQ(h.counts(), Counts{});
}

TEST(HostConfig, WithheldEntryPointsAreNotServed) {
  host::Config config;
  config.withheld = {"PluginRegisterClass"};
  host::Host h(config);
  h.load(probePath());
  EXPECT_FALSE(h.hasClass("Probe"));
  EXPECT_TRUE(h.hasClass("ProbeControl"));
  EXPECT_THROW(host::Host second, std::logic_error); // one host at a time
}
