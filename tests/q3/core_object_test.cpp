// The object model: reference counting, type chains, edit indices and the
// refusal of references that are not live objects of the right kind.
#include "core_support.h"

#include <cstdlib>
#include <cstring>

namespace {

using Q3Objects = Q3Session;

// Calls that take one object reference, each with how it answers a view.
struct Call {
  const char *name;
  bool (*failed)(TQ3Object);
  bool refusesView; // wants a shared object, a shape or an illumination shader
};
const Call calls[] = {
    {"Dispose", [](TQ3Object o) { return Q3Object_Dispose(o) == kQ3Failure; }, false},
    {"GetType", [](TQ3Object o) { return Q3Object_GetType(o) == kQ3ObjectTypeInvalid; }, false},
    {"GetLeafType", [](TQ3Object o) { return Q3Object_GetLeafType(o) == kQ3ObjectTypeInvalid; }, false},
    {"IsType", [](TQ3Object o) { return Q3Object_IsType(o, kQ3ObjectTypeShared) == kQ3False; }, false},
    {"IsDrawable", [](TQ3Object o) { return Q3Object_IsDrawable(o) == kQ3False; }, false},
    {"GetReference", [](TQ3Object o) { return Q3Shared_GetReference(o) == nullptr; }, true},
    {"GetReferenceCount", [](TQ3Object o) { return Q3Shared_GetReferenceCount(o) == 0; }, true},
    {"Edited", [](TQ3Object o) { return Q3Shared_Edited(o) == kQ3Failure; }, true},
    {"Shape_GetType", [](TQ3Object o) { return Q3Shape_GetType(o) == kQ3ObjectTypeInvalid; }, true},
    {"IlluminationShader_GetType", [](TQ3Object o) { return Q3IlluminationShader_GetType(o) == kQ3ObjectTypeInvalid; },
     true},
};

TEST_F(Q3Objects, SharedObjectGoesWithItsLastReference) {
  TQ3ShaderObject shader = Q3PhongIllumination_New();
  ASSERT_NE(shader, nullptr);
  EXPECT_EQ(Q3Shared_GetReferenceCount(shader), 1u);

  EXPECT_EQ(Q3Shared_GetReference(shader), shader);
  EXPECT_EQ(Q3Shared_GetReference(shader), shader);
  EXPECT_EQ(Q3Shared_GetReferenceCount(shader), 3u);

  EXPECT_EQ(Q3Object_Dispose(shader), kQ3Success);
  EXPECT_EQ(Q3Object_Dispose(shader), kQ3Success);
  EXPECT_EQ(Q3Shared_GetReferenceCount(shader), 1u);
  EXPECT_EQ(Q3Object_GetLeafType(shader), kQ3IlluminationTypePhong);
  EXPECT_EQ(Q3Error_Get(nullptr), kQ3ErrorNone);

  // The last reference ends it; every later use is refused, not dereferenced
  // (the sanitizer build would report a read of freed memory).
  EXPECT_EQ(Q3Object_Dispose(shader), kQ3Success);
  EXPECT_EQ(Q3Object_GetLeafType(shader), kQ3ObjectTypeInvalid);
  EXPECT_EQ(takeOnlyError(), kQ3ErrorInvalidObject);
  EXPECT_EQ(Q3Shared_GetReference(shader), nullptr);
  EXPECT_EQ(takeOnlyError(), kQ3ErrorInvalidObject);
  EXPECT_EQ(Q3Object_Dispose(shader), kQ3Failure);
  EXPECT_EQ(takeOnlyError(), kQ3ErrorInvalidObject);
}

// The allocator hands freed memory straight back to an object of the same
// size; the disposed reference must still not reach the newcomer.
TEST_F(Q3Objects, DisposedReferenceNeverReachesALaterObject) {
  for (int i = 0; i < 20; ++i) {
    TQ3ShaderObject old = Q3NULLIllumination_New();
    ASSERT_EQ(Q3Object_Dispose(old), kQ3Success);
    TQ3ShaderObject fresh = Q3NULLIllumination_New();
    ASSERT_NE(fresh, old);
    EXPECT_EQ(Q3Object_Dispose(old), kQ3Failure);
    EXPECT_EQ(takeOnlyError(), kQ3ErrorInvalidObject);
    EXPECT_EQ(Q3Shared_GetReferenceCount(fresh), 1u) << "the failed dispose reached the new object";
    Q3Object_Dispose(fresh);
  }
}

TEST_F(Q3Objects, ViewIsNotSharedAndGoesAtItsDispose) {
  TQ3ViewObject view = Q3View_New();
  ASSERT_NE(view, nullptr);
  EXPECT_EQ(Q3Shared_GetReference(view), nullptr);
  EXPECT_EQ(takeOnlyError(), kQ3ErrorInvalidObjectType);
  EXPECT_EQ(Q3Shared_GetReferenceCount(view), 0u);
  EXPECT_EQ(takeOnlyError(), kQ3ErrorInvalidObjectType);

  EXPECT_EQ(Q3Object_Dispose(view), kQ3Success);
  EXPECT_EQ(Q3Object_GetType(view), kQ3ObjectTypeInvalid);
  EXPECT_EQ(takeOnlyError(), kQ3ErrorInvalidObject);
}

struct TypeCase {
  const char *name;
  TQ3Object (*make)();
  TQ3ObjectType kind, shared, shape, leaf;
  bool drawable;
};

TEST_F(Q3Objects, TypeQueriesFollowTheTypeChain) {
  const TypeCase cases[] = {
      {"Phong", Q3PhongIllumination_New, kQ3ObjectTypeShared, kQ3SharedTypeShape, kQ3ShapeTypeShader,
       kQ3IlluminationTypePhong, true},
      {"Lambert", Q3LambertIllumination_New, kQ3ObjectTypeShared, kQ3SharedTypeShape, kQ3ShapeTypeShader,
       kQ3IlluminationTypeLambert, true},
      {"NULL", Q3NULLIllumination_New, kQ3ObjectTypeShared, kQ3SharedTypeShape, kQ3ShapeTypeShader,
       kQ3IlluminationTypeNULL, true},
      {"view", Q3View_New, kQ3ObjectTypeView, kQ3ObjectTypeInvalid, kQ3ObjectTypeInvalid, kQ3ObjectTypeView, false},
  };
  for (const TypeCase &c : cases) {
    SCOPED_TRACE(c.name);
    TQ3Object obj = c.make();
    ASSERT_NE(obj, nullptr);
    EXPECT_EQ(Q3Object_GetType(obj), c.kind);
    EXPECT_EQ(Q3Object_GetLeafType(obj), c.leaf);
    EXPECT_EQ(Q3Object_IsDrawable(obj), c.drawable ? kQ3True : kQ3False);
    EXPECT_EQ(Q3Object_IsType(obj, c.kind), kQ3True);
    EXPECT_EQ(Q3Object_IsType(obj, c.leaf), kQ3True);
    // Types off the chain, including the invalid type, answer false quietly.
    EXPECT_EQ(Q3Object_IsType(obj, kQ3ObjectTypeInvalid), kQ3False);
    EXPECT_EQ(Q3Object_IsType(obj, kQ3ObjectTypePick), kQ3False);
    EXPECT_EQ(Q3Object_IsType(obj, kQ3GeometryTypeTriMesh), kQ3False);
    EXPECT_EQ(Q3Object_IsType(obj, Q3_OBJECT_TYPE('z', 'z', 'z', 'z')), kQ3False);
    EXPECT_EQ(Q3Error_Get(nullptr), kQ3ErrorNone);

    if (c.shared != kQ3ObjectTypeInvalid) {
      EXPECT_EQ(Q3Shared_GetType(obj), c.shared);
      EXPECT_EQ(Q3Shape_GetType(obj), c.shape);
      EXPECT_EQ(Q3Shader_GetType(obj), kQ3ShaderTypeIllumination);
      EXPECT_EQ(Q3IlluminationShader_GetType(obj), c.leaf);
      EXPECT_EQ(Q3Object_IsType(obj, kQ3SharedTypeShape), kQ3True);
      EXPECT_EQ(Q3Object_IsType(obj, kQ3ShaderTypeIllumination), kQ3True);
      EXPECT_EQ(Q3Error_Get(nullptr), kQ3ErrorNone);
    } else {
      EXPECT_EQ(Q3Shared_GetType(obj), kQ3ObjectTypeInvalid);
      EXPECT_EQ(takeOnlyError(), kQ3ErrorInvalidObjectType);
      EXPECT_EQ(Q3Shape_GetType(obj), kQ3ObjectTypeInvalid);
      EXPECT_EQ(takeOnlyError(), kQ3ErrorInvalidObjectType);
    }
    EXPECT_EQ(Q3Object_Dispose(obj), kQ3Success);
  }
}

TEST_F(Q3Objects, EditIndexGrowsWithEveryChangeAndIsNeverShared) {
  TQ3ShaderObject a = Q3PhongIllumination_New();
  TQ3ShaderObject b = Q3PhongIllumination_New();
  const TQ3Uns32 a0 = Q3Shared_GetEditIndex(a), b0 = Q3Shared_GetEditIndex(b);
  EXPECT_NE(a0, 0u);
  EXPECT_NE(a0, b0);

  EXPECT_EQ(Q3Shared_GetEditIndex(a), a0) << "reading is not a change";
  EXPECT_EQ(Q3Shared_Edited(a), kQ3Success);
  const TQ3Uns32 a1 = Q3Shared_GetEditIndex(a);
  EXPECT_GT(a1, a0);
  EXPECT_GT(a1, b0);
  EXPECT_EQ(Q3Shared_GetEditIndex(b), b0) << "editing one object changed another";
  // A new reference is not a change either.
  Q3Shared_GetReference(a);
  Q3Object_Dispose(a);
  EXPECT_EQ(Q3Shared_GetEditIndex(a), a1);
  EXPECT_EQ(Q3Error_Get(nullptr), kQ3ErrorNone);

  TQ3ViewObject view = Q3View_New();
  EXPECT_EQ(Q3Shared_Edited(view), kQ3Failure);
  EXPECT_EQ(takeOnlyError(), kQ3ErrorInvalidObjectType);
  EXPECT_EQ(Q3Shared_GetEditIndex(view), 0u);
  EXPECT_EQ(takeOnlyError(), kQ3ErrorInvalidObjectType);
  Q3Object_Dispose(view);
  Q3Object_Dispose(a);
  Q3Object_Dispose(b);
}

// Integers a script might pass as references. None is a live object; every
// call must refuse it with one error and never read through it.
TEST_F(Q3Objects, GarbageReferencesAreRefusedByEveryCall) {
  int onStack[8] = {};
  void *onHeap = std::malloc(64);
  ASSERT_NE(onHeap, nullptr);
  std::memset(onHeap, 0xFF, 64);
  TQ3ShaderObject live = Q3PhongIllumination_New();
  TQ3ShaderObject disposed = Q3LambertIllumination_New();
  Q3Object_Dispose(disposed);
  const std::uintptr_t liveBits = reinterpret_cast<std::uintptr_t>(live);

  struct Garbage {
    const char *name;
    TQ3Object ref;
    TQ3Error expected;
  };
  const Garbage garbage[] = {
      {"zero", nullptr, kQ3ErrorNULLParameter},
      {"one", fakeReference(1), kQ3ErrorInvalidObject},
      {"small integer", fakeReference(42), kQ3ErrorInvalidObject},
      {"largest small integer", fakeReference(0xFFFF), kQ3ErrorInvalidObject},
      {"minus one", fakeReference(0xFFFFFFFFu), kQ3ErrorInvalidObject},
      {"stack address", reinterpret_cast<TQ3Object>(onStack), kQ3ErrorInvalidObject},
      {"heap block", reinterpret_cast<TQ3Object>(onHeap), kQ3ErrorInvalidObject},
      {"next to a live reference", fakeReference(liveBits + 1), kQ3ErrorInvalidObject},
      {"disposed object", disposed, kQ3ErrorInvalidObject},
  };
  for (const Garbage &g : garbage) {
    for (const Call &call : calls) {
      EXPECT_TRUE(call.failed(g.ref)) << call.name << " accepted " << g.name;
      EXPECT_EQ(takeOnlyError(), g.expected) << call.name << " with " << g.name;
    }
  }
  // The heap block was not written to, and the live object was not touched.
  for (int i = 0; i < 64; ++i) ASSERT_EQ(static_cast<unsigned char *>(onHeap)[i], 0xFF);
  EXPECT_EQ(Q3Shared_GetReferenceCount(live), 1u);
  std::free(onHeap);
  Q3Object_Dispose(live);
}

// A live object of the wrong kind is refused with its own error.
TEST_F(Q3Objects, WrongKindOfObjectIsRefused) {
  TQ3ViewObject view = Q3View_New();
  for (const Call &call : calls) {
    if (!call.refusesView) continue;
    EXPECT_TRUE(call.failed(view)) << call.name << " accepted a view";
    EXPECT_EQ(takeOnlyError(), kQ3ErrorInvalidObjectType) << call.name;
  }
  EXPECT_EQ(Q3Object_GetType(view), kQ3ObjectTypeView) << "a refused call harmed the view";
  EXPECT_EQ(Q3Object_Dispose(view), kQ3Success);
}

} // namespace
