// reader_fuzz.cpp: feeds arbitrary bytes to q3's 3DMF reader (binary and
// text), reading them the way the plugin does, and walks every object made so
// tessellations and decoded textures are touched too.
#include "Q3.h"

#include <cstddef>
#include <cstdint>
#include <vector>

namespace {
void touch(TQ3Object object, int depth) {
  TQ3GeometryMeshInfo info;
  if (Q3Object_IsType(object, kQ3ShapeTypeGeometry) && Q3Geometry_GetMeshInfo(object, &info) == kQ3Success) {
    for (TQ3Uns32 t = 0; t < info.numTriangles; ++t) {
      TQ3Uns32 v[3], face;
      Q3Geometry_GetMeshTriangle(object, t, v, &face);
      for (TQ3Uns32 k : v)
        if (k >= info.numVertices) __builtin_trap(); // a triangle past the vertices
      if (face >= info.numFaces) __builtin_trap();
    }
  }
  if (depth < 8 && Q3Object_IsType(object, kQ3ShapeTypeGroup)) {
    TQ3GroupPosition pos = nullptr;
    for (Q3Group_GetFirstPosition(object, &pos); pos; Q3Group_GetNextPosition(object, &pos)) {
      TQ3Object member = nullptr;
      if (Q3Group_GetPositionObject(object, pos, &member) == kQ3Success) {
        touch(member, depth + 1);
        Q3Object_Dispose(member);
      }
    }
  }
}
} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
  if (size > 1 << 20) return 0;
  Q3Initialize();
  std::vector<unsigned char> bytes(data, data + size);
  TQ3FileObject file = Q3File_New();
  TQ3StorageObject storage = Q3MemoryStorage_NewBuffer(bytes.data(), TQ3Uns32(size), TQ3Uns32(size));
  Q3File_SetStorage(file, storage);
  Q3Object_Dispose(storage);
  TQ3FileMode mode = 0;
  Q3File_OpenRead(file, &mode);
  size_t reads = 0;
  while (Q3File_IsEndOfFile(file) == kQ3False) {
    if (++reads > size + 16) __builtin_trap(); // the loop must advance
    if (TQ3Object object = Q3File_ReadObject(file)) {
      touch(object, 0);
      Q3Object_Dispose(object);
    }
  }
  if (Q3File_IsOpen(file)) Q3File_Close(file);
  Q3Object_Dispose(file);
  Q3Error_Get(nullptr);
  Q3Exit();
  return 0;
}
