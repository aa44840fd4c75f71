// Registration.h: the plugin's entry point and the records it registers.
//
// KIVOPluginMain (the library's only export) stores the host's resolver,
// announces plugin interface version 7 and, unless the host is older than
// 4.5, registers Light3D, Vector3D, Bounds3D, Quaternion, Object3D, Group3D
// and then the control Zu3ROzuvu, in that order. Each class module defines
// its record; the records live as long as the library.
#pragma once

#include "plugin/HostServices.h"
#include "plugin/Records.h"

namespace du3v {

constexpr int kPluginInterfaceVersion = 7;
constexpr double kOldestHost = 4.5;          // below it nothing is registered
constexpr double kFourWordMethodsHost = 5.9; // below it method records are three words

extern ClassDefinition Light3DClass;
extern ClassDefinition Vector3DClass;
extern ClassDefinition Bounds3DClass;
extern ClassDefinition QuaternionClass;
extern ClassDefinition Object3DClass;
extern ClassDefinition Group3DClass;
extern ControlDefinition View3DControl;

// Registration as KIVOPluginMain runs it (exposed for tests of the order).
void RegisterAllRecords();

// For hosts below 5.9: replaces a record's four-word method list by a new
// three-word copy (function, setter, declaration); the count stays. The copy
// is never freed. Nothing happens for newer hosts.
void ConvertMethodsForOldHosts(const void *&methods, uint32_t count);

} // namespace du3v

extern "C" void KIVOPluginMain(du3v::HostResolverFunction resolver);
