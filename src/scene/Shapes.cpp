#include "scene/Shapes.h"

#include "Q3.h"
#include "scene/Object3D.h"

#include <windows.h>

#include <cstdlib>

namespace du3v {

void AddShapeFrom3DMF(HostObject instance, const void *bytes, uint32_t length) {
  Object3DData &data = *Object3DOf(instance);
  TQ3GroupObject group = Q3DisplayGroup_New();
  TQ3FileObject file = Q3File_New();
  TQ3StorageObject storage =
      Q3MemoryStorage_NewBuffer(static_cast<unsigned char *>(const_cast<void *>(bytes)), length, length);
  Q3File_SetStorage(file, storage);
  Q3Object_Dispose(storage);
  TQ3FileMode mode = 0;
  Q3File_OpenRead(file, &mode);
  // The reader advances on every call; the bound only guards against a file
  // that would stop short of its end without saying so.
  for (uint64_t reads = 0; !Q3File_IsEndOfFile(file) && reads <= uint64_t{length} + 16; ++reads) {
    TQ3Object object = Q3File_ReadObject(file);
    if (!object) continue;
    Q3Group_AddObject(group, object);
    Q3Object_Dispose(object);
  }
  if (group && !data.ShapeList.Append(group)) Q3Object_Dispose(group);
  Q3File_Close(file);
  Q3Object_Dispose(file);
}

void Object3D_AddShapeFromString(HostObject instance, HostString data) {
  const uint32_t length = HostStringLength(data);
  const char *bytes = StringGetCString(data);
  AddShapeFrom3DMF(instance, bytes ? bytes : "", bytes ? length : 0);
}

void Object3D_AddShapeFromFile(HostObject instance, HostFolderItem file) {
  HostString path = KIVOpathFromFolderItem(file);
  const char *name = StringGetCString(path);
  HANDLE handle = name ? CreateFileA(name, GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                                     FILE_ATTRIBUTE_NORMAL | 0x08000000 /* FILE_FLAG_SEQUENTIAL_SCAN */, nullptr)
                       : INVALID_HANDLE_VALUE;
  KIVOUnlockString(path);
  if (handle == INVALID_HANDLE_VALUE) return;
  const int32_t size = static_cast<int32_t>(GetFileSize(handle, nullptr));
  void *buffer = size > 0 ? std::malloc(static_cast<size_t>(size)) : nullptr;
  DWORD read = 0;
  // Only bytes that were really read reach the reader.
  if (buffer && !ReadFile(handle, buffer, static_cast<DWORD>(size), &read, nullptr)) read = 0;
  CloseHandle(handle);
  if (read > 0) AddShapeFrom3DMF(instance, buffer, read);
  std::free(buffer);
}

void Object3D_AddShapeFromHandle(HostObject instance, int32_t handle) {
  // q3 refuses a zero, dead or unshared reference; nothing is added then.
  TQ3Object shape =
      Q3Shared_GetReference(reinterpret_cast<TQ3Object>(static_cast<uintptr_t>(static_cast<uint32_t>(handle))));
  if (!shape) return;
  if (!Object3DOf(instance)->ShapeList.Append(shape)) Q3Object_Dispose(shape);
}

int32_t Object3D_GetShapeHandle(HostObject instance, int32_t index) {
  const Object3DData &data = *Object3DOf(instance);
  if (index < 0 || static_cast<uint32_t>(index) >= data.ShapeList.Count()) {
    HostObject exception = PluginNewInstance("OutOfBoundsException");
    RuntimeRaiseException(exception);
    KIVOUnlockObject(exception);
    return 0;
  }
  TQ3Object shape = data.ShapeList[static_cast<uint32_t>(index)];
  Q3Shared_GetReference(shape);
  return static_cast<int32_t>(reinterpret_cast<uintptr_t>(shape));
}

} // namespace du3v
