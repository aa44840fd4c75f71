// Shapes.h: an Object3D's shapes from 3DMF data, files and q3 handles.
//
// Contract
//   - Every successful add appends exactly one q3 reference to the object's
//     ShapeList, which owns it until the object ends.
//   - 3DMF bytes are read in place by q3 and not kept.
//   - A handle that q3 does not know as a live shared object adds nothing.
#pragma once

#include "plugin/HostServices.h"

#include <cstdint>

namespace du3v {

// Reads one display group from the bytes and appends it, whatever was read.
void AddShapeFrom3DMF(HostObject instance, const void *bytes, uint32_t length);

// The script methods, as registered (C linkage, as every function a record names).
extern "C" void Object3D_AddShapeFromString(HostObject instance, HostString data);
extern "C" void Object3D_AddShapeFromFile(HostObject instance, HostFolderItem file);
extern "C" void Object3D_AddShapeFromHandle(HostObject instance, int32_t handle);
extern "C" int32_t Object3D_GetShapeHandle(HostObject instance, int32_t index);

} // namespace du3v
