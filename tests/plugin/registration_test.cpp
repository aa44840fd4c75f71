// The plugin's entry point and registration, seen from the host.
#include <gtest/gtest.h>

#include "host/Host.h"
#include "plugin/HostServices.h"
#include "plugin/Registration.h"

#include <algorithm>
#include <cstring>

using host::Counts;
using host::Ref;

namespace {
const std::vector<std::string> kAllRecords = {"Light3D",  "Vector3D", "Bounds3D", "Quaternion",
                                              "Object3D", "Group3D",  "Zu3ROzuvu"};

std::string text(uint32_t word) {
  return word ? reinterpret_cast<const char *>(static_cast<uintptr_t>(word)) : "(null)";
}

long lookupsOf(const host::Host &h, const std::string &name) {
  return std::count(h.lookups().begin(), h.lookups().end(), name);
}

std::string lines(const std::vector<std::string> &v) {
  std::string out;
  for (auto &s : v) out += s + "\n";
  return out;
}
} // namespace

TEST(Registration, VersionThresholds) {
  const struct {
    double version;
    bool withholdVersion;
    bool registers;
  } cases[] = {{9.0, false, true},   {5.9, false, true},  {5.8, false, true}, {4.5, false, true},
               {4.49, false, false}, {0.0, false, false}, {9.0, true, false}};
  for (const auto &c : cases) {
    host::Config config;
    config.version = c.version;
    if (c.withholdVersion) config.withheld = {"KIVOGetZKVersion"};
    host::Host h(config);
    h.load();
    EXPECT_EQ(h.announcedVersion(), 7) << c.version;
    EXPECT_EQ(h.registrationOrder(), c.registers ? kAllRecords : std::vector<std::string>{})
        << c.version << (c.withholdVersion ? " without KIVOGetZKVersion" : "");
    EXPECT_TRUE(h.faults().empty()) << lines(h.faults());
  }
}

TEST(Registration, RecordsAsTheHostReadsThem) {
  host::Host h;
  h.load();
  ASSERT_TRUE(h.faults().empty()) << lines(h.faults());
  const struct {
    const char *name, *super;
    uint32_t size, hostWord;
  } classes[] = {{"Light3D", nullptr, 60, 16},    {"Vector3D", nullptr, 12, 16}, {"Bounds3D", nullptr, 52, 16},
                 {"Quaternion", nullptr, 16, 16}, {"Object3D", nullptr, 44, 16}, {"Group3D", "Object3D", 44, 60}};
  for (const auto &c : classes) {
    const uint32_t *r = h.record(c.name);
    ASSERT_NE(r, nullptr) << c.name;
    EXPECT_EQ(r[0], 7u) << c.name;
    EXPECT_EQ(text(r[1]), c.name);
    EXPECT_EQ(text(r[2]), c.super ? c.super : "(null)") << c.name;
    EXPECT_EQ(r[3], c.size) << c.name;
    EXPECT_EQ(r[4], c.hostWord) << c.name; // written by the host
    for (int i = 11; i < 21; ++i) EXPECT_EQ(r[i], 0u) << c.name << " word " << i + 1;
  }
  const uint32_t *control = h.record("Zu3ROzuvu");
  ASSERT_NE(control, nullptr);
  const uint32_t expected[] = {7, 0, 440, 8, 128, 129, 256, 256};
  for (int i : {0, 2, 3, 4, 5, 6, 7}) EXPECT_EQ(control[i], expected[i]) << "control word " << i + 1;
  EXPECT_EQ(text(control[1]), "Zu3ROzuvu");
  EXPECT_NE(control[14], 0u); // behaviour table
  EXPECT_EQ(control[15], 16u);
  for (int i = 16; i < 23; ++i) EXPECT_EQ(control[i], 0u) << "control word " << i + 1;
}

TEST(Registration, OldHostsGetThreeWordMethodCopies) {
  // Light3D has no methods: below 5.9 it still gets an (empty) copy.
  for (double version : {5.8, 5.9}) {
    host::Config config;
    config.version = version;
    host::Host h(config);
    h.load();
    const uint32_t *light = h.record("Light3D");
    ASSERT_NE(light, nullptr);
    EXPECT_EQ(light[10], 0u);
    EXPECT_EQ(light[9] != 0, version < 5.9) << version;
    // Whatever methods a class has, the host reads the same declarations.
    for (const auto &name : kAllRecords)
      for (const auto &m : h.methodRecords(name)) EXPECT_NE(m.function, 0u) << name << " " << m.declaration;
    EXPECT_TRUE(h.faults().empty()) << version << "\n" << lines(h.faults());
  }
}

TEST(Registration, MissingServices) {
  {
    host::Config config;
    config.withheld = {"RegisterPluginVersion"};
    host::Host h(config);
    h.load();
    EXPECT_EQ(h.announcedVersion(), 0);
    EXPECT_EQ(h.registrationOrder(), kAllRecords);
  }
  {
    host::Config config;
    config.withheld = {"PluginRegisterClass"};
    host::Host h(config);
    h.load();
    EXPECT_EQ(h.registrationOrder(), std::vector<std::string>{"Zu3ROzuvu"});
    // A missing service is asked for again on every use.
    EXPECT_EQ(lookupsOf(h, "PluginRegisterClass"), 6);
  }
  {
    host::Config config;
    config.withheld = {"PluginRegisterControl"};
    host::Host h(config);
    h.load();
    EXPECT_EQ(h.registrationOrder(), std::vector<std::string>(kAllRecords.begin(), kAllRecords.end() - 1));
    EXPECT_EQ(lookupsOf(h, "KIVOGetZKVersion"), 1); // found once, then cached
  }
}

TEST(Registration, MethodCopyKeepsFunctionSetterAndDeclaration) {
  {
    host::Host h;
    h.attach(&KIVOPluginMain); // the plugin's code linked into this test learns the resolver
  }
  // An old host, without registering again: registration would convert the
  // linked-in records for good, and later tests read them as a new host.
  host::Config config;
  config.version = 5.8;
  host::Host h(config);
  int a, b, c;
  du3v::MethodDefinition methods[] = {{&a, &b, "First(x as Integer)", 0}, {&c, nullptr, "Second as Double", 0}};
  const void *list = methods;
  du3v::ConvertMethodsForOldHosts(list, 2);
  ASSERT_NE(list, static_cast<const void *>(methods));
  const auto *copy = static_cast<const du3v::OldMethodDefinition *>(list);
  EXPECT_EQ(copy[0].function, &a);
  EXPECT_EQ(copy[0].setter, &b);
  EXPECT_STREQ(copy[0].declaration, "First(x as Integer)");
  EXPECT_EQ(copy[1].function, &c);
  EXPECT_EQ(copy[1].setter, nullptr);
  EXPECT_STREQ(copy[1].declaration, "Second as Double");
}

TEST(HostFunction, ResolvedOnFirstUseAndCachedOnlyWhenFound) {
  {
    host::Config config;
    config.withheld = {"KIVOinRuntime"};
    host::Host h(config);
    h.attach(&KIVOPluginMain);
    const long before = lookupsOf(h, "KIVOinRuntime");
    EXPECT_FALSE(du3v::KIVOinRuntime());
    EXPECT_FALSE(du3v::KIVOinRuntime());
    EXPECT_EQ(lookupsOf(h, "KIVOinRuntime") - before, 2);
    EXPECT_EQ(du3v::PluginNewInstance("Vector3D") != nullptr, true);
    // CreateInstance of a null class reference asks the host nothing.
    const long creates = lookupsOf(h, "CreateInstance");
    EXPECT_EQ(du3v::CreateInstance(nullptr), nullptr);
    EXPECT_EQ(lookupsOf(h, "CreateInstance"), creates);
  }
  {
    host::Host h; // a new host: the same cached entry serves it
    h.attach(&KIVOPluginMain);
    EXPECT_TRUE(du3v::KIVOinRuntime());
    EXPECT_TRUE(du3v::KIVOinRuntime());
    EXPECT_LE(lookupsOf(h, "KIVOinRuntime"), 1);
  }
}

TEST(ClassData, GroupInstanceHoldsTwoBlocks) {
  host::Host h;
  h.attach(&KIVOPluginMain);
  {
    Ref group = h.New("Group3D");
    void *instance = group.get();
    auto *object3D = static_cast<uint8_t *>(du3v::ClassData(instance, du3v::Object3DClass));
    auto *group3D = static_cast<uint8_t *>(du3v::ClassData(instance, du3v::Group3DClass));
    EXPECT_EQ(group3D - object3D, 44);
    EXPECT_EQ(object3D, group.block("Object3D"));
    EXPECT_EQ(group3D, group.block("Group3D"));
  }
  EXPECT_EQ(h.counts(), Counts{});
}
