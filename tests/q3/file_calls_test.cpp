// Storage, file and group calls: reference rules, positions, and the
// answers a reading loop depends on.
#include "core_support.h"
#include "reader_support.h"

namespace {
using namespace mf;
using FileCalls = Q3Session;

TEST_F(FileCalls, FileHoldsItsOwnReferenceToTheStorage) {
  std::vector<uint8_t> bytes = Binary().file({obj("Point", "pnt ", point(1, 2, 3))});
  TQ3StorageObject storage = Q3MemoryStorage_NewBuffer(bytes.data(), TQ3Uns32(bytes.size()), TQ3Uns32(bytes.size()));
  TQ3FileObject file = Q3File_New();
  ASSERT_EQ(Q3File_SetStorage(file, storage), kQ3Success);
  EXPECT_EQ(Q3Shared_GetReferenceCount(storage), 2u);
  Q3Object_Dispose(storage);
  TQ3FileMode mode = 99;
  ASSERT_EQ(Q3File_OpenRead(file, &mode), kQ3Success);
  EXPECT_EQ(mode, kQ3FileModeNormal);
  // An open file refuses a new storage and a second open.
  EXPECT_EQ(Q3File_SetStorage(file, nullptr), kQ3Failure);
  EXPECT_EQ(takeOnlyError(), kQ3ErrorFileIsOpen);
  EXPECT_EQ(Q3File_OpenRead(file, nullptr), kQ3Failure);
  EXPECT_EQ(takeOnlyError(), kQ3ErrorFileAlreadyOpen);
  EXPECT_EQ(Q3File_IsEndOfFile(file), kQ3False);
  TQ3Object point = Q3File_ReadObject(file);
  ASSERT_NE(point, nullptr);
  EXPECT_EQ(Q3Shared_GetReferenceCount(point), 1u);
  EXPECT_EQ(Q3File_IsEndOfFile(file), kQ3True);
  EXPECT_EQ(Q3File_ReadObject(file), nullptr);
  EXPECT_EQ(Q3File_Close(file), kQ3Success);
  EXPECT_EQ(Q3File_Close(file), kQ3Failure);
  EXPECT_EQ(takeOnlyError(), kQ3ErrorFileNotOpen);
  Q3Object_Dispose(point);
  Q3Object_Dispose(file);
}

// The plugin never checks the open's status: a file that failed to open
// must still end the loop at once.
TEST_F(FileCalls, AFileThatDidNotOpenIsAtItsEnd) {
  struct Case {
    const char *name;
    std::vector<uint8_t> bytes;
    bool storage;
    TQ3Error error;
  };
  const Case cases[] = {
      {"no storage", {}, false, kQ3ErrorNoStorageSetForFile},
      {"empty", {}, true, kQ3ErrorInvalidMetafile},
      {"not 3DMF", {'h', 'e', 'l', 'l', 'o'}, true, kQ3ErrorInvalidMetafile},
      {"header cut short", {'3', 'D', 'M', 'F', 0, 0, 0, 16, 0, 1}, true, kQ3ErrorInvalidMetafile},
      {"header size too small", {'3', 'D', 'M', 'F', 0, 0, 0, 4, 0, 1, 0, 6}, true, kQ3ErrorInvalidMetafile},
  };
  for (const Case &c : cases) {
    SCOPED_TRACE(c.name);
    TQ3FileObject file = Q3File_New();
    if (c.storage) {
      TQ3StorageObject s = Q3MemoryStorage_New(c.bytes.data(), TQ3Uns32(c.bytes.size()));
      Q3File_SetStorage(file, s);
      Q3Object_Dispose(s);
    }
    EXPECT_EQ(Q3File_OpenRead(file, nullptr), kQ3Failure);
    EXPECT_EQ(takeOnlyError(), c.error);
    EXPECT_EQ(Q3File_IsEndOfFile(file), kQ3True);
    EXPECT_EQ(Q3File_ReadObject(file), nullptr);
    EXPECT_EQ(takeOnlyError(), kQ3ErrorFileNotOpen);
    Q3Object_Dispose(file);
  }
  EXPECT_EQ(Q3File_IsEndOfFile(nullptr), kQ3True);
  Q3Error_Get(nullptr);
}

TEST_F(FileCalls, MemoryStorageCopiesOrReadsInPlace) {
  unsigned char bytes[4] = {1, 2, 3, 4};
  TQ3StorageObject copy = Q3MemoryStorage_New(bytes, 4);
  TQ3StorageObject inPlace = Q3MemoryStorage_NewBuffer(bytes, 3, 4);
  bytes[0] = 9;
  unsigned char out[8];
  TQ3Uns32 n = 0;
  ASSERT_EQ(Q3Storage_GetData(copy, 0, 8, out, &n), kQ3Success);
  EXPECT_EQ(n, 4u);
  EXPECT_EQ(out[0], 1);
  ASSERT_EQ(Q3Storage_GetData(inPlace, 0, 8, out, &n), kQ3Success);
  EXPECT_EQ(n, 3u);
  EXPECT_EQ(out[0], 9);
  EXPECT_EQ(Q3MemoryStorage_NewBuffer(bytes, 5, 4), nullptr);
  EXPECT_EQ(takeOnlyError(), kQ3ErrorParameterOutOfRange);
  EXPECT_EQ(Q3MemoryStorage_New(nullptr, 4), nullptr);
  EXPECT_EQ(takeOnlyError(), kQ3ErrorNULLParameter);
  Q3Object_Dispose(copy);
  Q3Object_Dispose(inPlace);
}

TQ3Object newPoint() {
  TQ3Point3D p{0, 0, 0};
  TQ3TriMeshData d{};
  d.numPoints = 1;
  d.points = &p;
  return Q3TriMesh_New(&d);
}

TEST_F(FileCalls, GroupPositionsHandOutAndTakeBackReferences) {
  TQ3GroupObject group = Q3DisplayGroup_New();
  TQ3Object a = newPoint(), b = newPoint();
  TQ3GroupPosition pa = Q3Group_AddObject(group, a);
  TQ3GroupPosition pb = Q3Group_AddObject(group, b);
  ASSERT_NE(pa, nullptr);
  EXPECT_EQ(Q3Shared_GetReferenceCount(a), 2u);

  TQ3Object got = nullptr;
  ASSERT_EQ(Q3Group_GetPositionObject(group, pb, &got), kQ3Success);
  EXPECT_EQ(got, b);
  EXPECT_EQ(Q3Shared_GetReferenceCount(b), 3u);
  Q3Object_Dispose(got);

  TQ3GroupPosition pos = nullptr;
  Q3Group_GetFirstPosition(group, &pos);
  EXPECT_EQ(pos, pa);
  Q3Group_GetNextPosition(group, &pos);
  EXPECT_EQ(pos, pb);
  Q3Group_GetNextPosition(group, &pos);
  EXPECT_EQ(pos, nullptr);

  ASSERT_EQ(Q3Group_SetPositionObject(group, pa, b), kQ3Success);
  EXPECT_EQ(Q3Shared_GetReferenceCount(a), 1u);
  EXPECT_EQ(Q3Shared_GetReferenceCount(b), 3u);

  TQ3Object removed = Q3Group_RemovePosition(group, pa);
  EXPECT_EQ(removed, b);
  Q3Object_Dispose(removed);
  // A removed position is dead, not followed.
  EXPECT_EQ(Q3Group_GetPositionObject(group, pa, &got), kQ3Failure);
  EXPECT_EQ(takeOnlyError(), kQ3ErrorInvalidPositionForGroup);
  EXPECT_EQ(Q3Group_GetNextPosition(group, &pa), kQ3Failure);
  EXPECT_EQ(takeOnlyError(), kQ3ErrorInvalidPositionForGroup);

  TQ3Uns32 n = 0;
  Q3Group_CountObjects(group, &n);
  EXPECT_EQ(n, 1u);
  Q3Group_EmptyObjects(group);
  Q3Group_CountObjects(group, &n);
  EXPECT_EQ(n, 0u);
  EXPECT_EQ(Q3Shared_GetReferenceCount(b), 1u);
  for (TQ3Object o : {group, a, b}) Q3Object_Dispose(o);
}

TEST_F(FileCalls, GroupsRefuseCyclesAndWrongKinds) {
  TQ3GroupObject outer = Q3DisplayGroup_New(), inner = Q3DisplayGroup_New(), lights = Q3LightGroup_New();
  TQ3StorageObject storage = Q3MemoryStorage_New(nullptr, 0);
  ASSERT_NE(Q3Group_AddObject(outer, inner), nullptr);
  struct Case {
    TQ3GroupObject group;
    TQ3Object object;
    TQ3Error error;
  };
  const Case cases[] = {
      {outer, outer, kQ3ErrorInvalidObjectForGroup},   {inner, outer, kQ3ErrorInvalidObjectForGroup},
      {outer, storage, kQ3ErrorInvalidObjectForGroup}, {lights, inner, kQ3ErrorInvalidObjectForGroup},
      {outer, nullptr, kQ3ErrorNULLParameter},
  };
  for (const Case &c : cases) {
    EXPECT_EQ(Q3Group_AddObject(c.group, c.object), nullptr);
    EXPECT_EQ(takeOnlyError(), c.error);
  }
  for (TQ3Object o : {outer, inner, lights, storage}) Q3Object_Dispose(o);
}

TEST_F(FileCalls, OrderedGroupsSortByKind) {
  TQ3GroupObject group = Q3OrderedDisplayGroup_New();
  TQ3Vector3D v{1, 1, 1};
  TQ3Object geometry = newPoint(), shader = Q3PhongIllumination_New(), set = Q3AttributeSet_New(),
            style = Q3FillStyle_New(kQ3FillStyleEdges), transform = Q3TranslateTransform_New(&v),
            inner = Q3DisplayGroup_New();
  for (TQ3Object o : {inner, geometry, shader, set, style, transform}) Q3Group_AddObject(group, o);
  const TQ3Object expected[] = {transform, style, set, shader, geometry, inner};
  TQ3GroupPosition pos = nullptr;
  Q3Group_GetFirstPosition(group, &pos);
  for (TQ3Object e : expected) {
    TQ3Object got = nullptr;
    Q3Group_GetPositionObject(group, pos, &got);
    EXPECT_EQ(got, e);
    Q3Object_Dispose(got);
    Q3Group_GetNextPosition(group, &pos);
  }
  for (TQ3Object o : {group, geometry, shader, set, style, transform, inner}) Q3Object_Dispose(o);
}

TEST_F(FileCalls, TriMeshRefusesBadIndicesAndCopiesItsData) {
  TQ3Point3D points[3] = {{0, 0, 0}, {1, 0, 0}, {0, 1, 0}};
  TQ3TriMeshTriangleData tri = {{0, 1, 3}};
  TQ3TriMeshData d{};
  d.numPoints = 3;
  d.points = points;
  d.numTriangles = 1;
  d.triangles = &tri;
  EXPECT_EQ(Q3TriMesh_New(&d), nullptr);
  EXPECT_EQ(takeOnlyError(), kQ3ErrorInvalidParameter);
  tri.pointIndices[2] = 2;
  TQ3GeometryObject mesh = Q3TriMesh_New(&d);
  ASSERT_NE(mesh, nullptr);
  points[0].x = 5; // the mesh keeps its own copy
  TQ3TriMeshData out;
  ASSERT_EQ(Q3TriMesh_GetData(mesh, &out), kQ3Success);
  EXPECT_FLOAT_EQ(out.points[0].x, 0.0f);
  EXPECT_EQ(out.triangles[0].pointIndices[2], 2u);
  Q3TriMesh_EmptyData(&out);
  EXPECT_EQ(out.points, nullptr);
  Q3Object_Dispose(mesh);
}

} // namespace
