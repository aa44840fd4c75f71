#include "plugin/Registration.h"

#include "plugin/HostServices.h"

#include <initializer_list>
#include <new>

namespace du3v {

namespace {
// Hosts below 5.9 read three-word method records. The copies are never
// freed (the host keeps them); they come from this library's own static
// storage while it lasts, so even a leak checker sees nothing lost.
OldMethodDefinition convertedStore[512];
uint32_t convertedUsed = 0;

OldMethodDefinition *allocateOldMethods(uint32_t count) {
  if (count <= sizeof convertedStore / sizeof convertedStore[0] - convertedUsed) {
    OldMethodDefinition *slots = convertedStore + convertedUsed;
    convertedUsed += count;
    return slots;
  }
  return new (std::nothrow) OldMethodDefinition[count];
}

HostFunction registerClassEntry{"PluginRegisterClass", nullptr};
HostFunction registerControlEntry{"PluginRegisterControl", nullptr};
} // namespace

void ConvertMethodsForOldHosts(const void *&methods, uint32_t count) {
  if (KIVOGetZKVersion() >= kFourWordMethodsHost) return;
  OldMethodDefinition *copy = allocateOldMethods(count);
  if (!copy) return;
  const auto *source = static_cast<const MethodDefinition *>(methods);
  for (uint32_t i = 0; i < count; ++i) copy[i] = {source[i].function, source[i].setter, source[i].declaration};
  methods = copy;
}

namespace {

void registerClass(ClassDefinition &definition) {
  auto call = reinterpret_cast<void (*)(ClassDefinition *)>(ResolveHostFunction(registerClassEntry));
  ConvertMethodsForOldHosts(definition.methods, definition.methodCount);
  if (call) call(&definition);
}

void registerControl(ControlDefinition &definition) {
  auto call = reinterpret_cast<void (*)(ControlDefinition *)>(ResolveHostFunction(registerControlEntry));
  ConvertMethodsForOldHosts(definition.methods, definition.methodCount);
  if (call) call(&definition);
}
} // namespace

void RegisterAllRecords() {
  if (KIVOGetZKVersion() < kOldestHost) return;
  // Group3D follows its superclass Object3D.
  for (ClassDefinition *definition :
       {&Light3DClass, &Vector3DClass, &Bounds3DClass, &QuaternionClass, &Object3DClass, &Group3DClass})
    registerClass(*definition);
  registerControl(View3DControl);
}

} // namespace du3v

extern "C" __attribute__((visibility("default"))) void KIVOPluginMain(du3v::HostResolverFunction resolver) {
  du3v::HostResolver = resolver;
  if (resolver)
    if (auto announce = reinterpret_cast<void (*)(int32_t)>(resolver("RegisterPluginVersion")))
      announce(du3v::kPluginInterfaceVersion);
  du3v::RegisterAllRecords();
}
