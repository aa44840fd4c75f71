#include "scene_support.h"

#include "Q3.h"

#include <fstream>
#include <iterator>

namespace {
const char *kTriangle = "3DMetafile ( 1 6 Normal nil> )\nTriangle ( 0 0 0  1 0 0  0 1 0 )\n";

std::string readFile(const std::string &path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), {});
}

const std::string kBinaryScene = std::string(DU3V_TEST_DATA) + "/scene-be.3dmf";

int shapeCount(const Ref &o) {
  // The count the host can see: the last index GetShapeHandle accepts, plus one.
  for (int i = 0;; ++i) {
    try {
      int32_t h = o.call("GetShapeHandle", i).asInteger();
      Q3Object_Dispose(reinterpret_cast<TQ3Object>(static_cast<uintptr_t>(static_cast<uint32_t>(h))));
    } catch (const host::ScriptException &) {
      return i;
    }
  }
}

TQ3Object handle(const Ref &o, int index) {
  return reinterpret_cast<TQ3Object>(
      static_cast<uintptr_t>(static_cast<uint32_t>(o.call("GetShapeHandle", index).asInteger())));
}

TQ3Uns32 groupSize(TQ3Object group) {
  TQ3Uns32 n = 0;
  Q3Group_CountObjects(group, &n);
  return n;
}
} // namespace

// Every q3 object a test makes is gone when its script objects are: counted
// while a keeper object holds the library open.
struct LiveObjects {
  Ref keeper;
  TQ3Uns32 before;
  explicit LiveObjects(host::Host &h) : keeper(h.New("Object3D")), before(Q3Object_CountLive()) {}
  ~LiveObjects() { EXPECT_EQ(Q3Object_CountLive(), before); }
};

TEST_F(Scene, ShapesFromStrings) {
  LiveObjects live(h);
  Ref o = h.New("Object3D");
  o.call("AddShapeFromString", kTriangle);
  o.call("AddShapeFromString", "");                  // an empty group, still a shape
  const std::string binary = readFile(kBinaryScene); // zero bytes inside
  ASSERT_GT(binary.size(), 100u);
  ASSERT_NE(binary.find('\0'), std::string::npos);
  o.call("AddShapeFromString", binary);
  EXPECT_EQ(shapeCount(o), 3);
  EXPECT_EQ(o.get("Shape").asInteger(), 0);
  TQ3Object first = handle(o, 0), empty = handle(o, 1), scene = handle(o, 2);
  EXPECT_TRUE(Q3Object_IsType(first, kQ3GroupTypeDisplay));
  EXPECT_EQ(groupSize(first), 1u);
  EXPECT_EQ(groupSize(empty), 0u);
  EXPECT_GE(groupSize(scene), 1u); // the file holds one display group around everything
  for (TQ3Object s : {first, empty, scene}) Q3Object_Dispose(s);
  o = Ref();
}

TEST_F(Scene, ShapesFromFiles) {
  LiveObjects live(h);
  Ref o = h.New("Object3D");
  o.call("AddShapeFromFile", h.newFolderItem(kBinaryScene));
  EXPECT_EQ(shapeCount(o), 1);
  { std::ofstream("scene_empty.3dmf"); }
  o.call("AddShapeFromFile", h.newFolderItem("scene_empty.3dmf"));
  o.call("AddShapeFromFile", h.newFolderItem("scene_missing.3dmf"));
  o.call("AddShapeFromFile", h.newFolderItem("."));
  EXPECT_EQ(shapeCount(o), 1); // missing, empty or unreadable files add nothing
  std::remove("scene_empty.3dmf");
  // Same contents from a string and from the file: the same group.
  Ref s = h.New("Object3D");
  s.call("AddShapeFromString", readFile(kBinaryScene));
  TQ3Object a = handle(o, 0), b = handle(s, 0);
  EXPECT_EQ(groupSize(a), groupSize(b));
  Q3Object_Dispose(a);
  Q3Object_Dispose(b);
  o = Ref();
  s = Ref();
}

TEST_F(Scene, ShapeHandlesAndTheirBounds) {
  LiveObjects live(h);
  Ref o = h.New("Object3D");
  o.call("AddShapeFromString", kTriangle);
  o.call("AddShapeFromString", kTriangle);
  for (int bad : {-1, 2}) EXPECT_THROW(o.call("GetShapeHandle", bad), host::ScriptException) << bad;
  TQ3Object last = handle(o, 1);
  TQ3Uns32 before = Q3Shared_GetReferenceCount(last);
  // Another object draws the same shape object.
  Ref other = h.New("Object3D");
  other.call("AddShapeFromHandle", static_cast<int32_t>(reinterpret_cast<uintptr_t>(last)));
  EXPECT_EQ(Q3Shared_GetReferenceCount(last), before + 1);
  TQ3Object shared = handle(other, 0);
  EXPECT_EQ(shared, last);
  Q3Object_Dispose(shared);
  // Handles q3 does not know add nothing.
  for (int32_t bad : {0, 12345, -1}) other.call("AddShapeFromHandle", bad);
  TQ3Object dead = Q3DisplayGroup_New();
  Q3Object_Dispose(dead);
  other.call("AddShapeFromHandle", static_cast<int32_t>(reinterpret_cast<uintptr_t>(dead)));
  EXPECT_EQ(shapeCount(other), 1);
  other = Ref();
  EXPECT_EQ(Q3Shared_GetReferenceCount(last), before);
  Q3Object_Dispose(last);
  Q3Error_Get(nullptr); // the refused handles posted errors
  o = Ref();
}

TEST_F(Scene, ShapeIndexClampsToTheList) {
  Ref o = h.New("Object3D");
  for (int i = 0; i < 3; ++i) o.call("AddShapeFromString", kTriangle);
  const struct { int set, stored; } cases[] = {{7, 2}, {-5, 0}, {1, 1}, {3, 2}};
  for (const auto &c : cases) {
    o.set("Shape", c.set);
    EXPECT_EQ(o.get("Shape").asInteger(), c.stored) << c.set;
  }
}

TEST_F(Scene, CloneSharesShapes) {
  LiveObjects live(h);
  Ref o = h.New("Object3D");
  o.call("AddShapeFromString", kTriangle);
  o.call("AddShapeFromString", kTriangle);
  TQ3Object first = handle(o, 0);
  const TQ3Uns32 before = Q3Shared_GetReferenceCount(first);
  Ref c = o.call("Clone").asObject();
  EXPECT_EQ(Q3Shared_GetReferenceCount(first), before + 1);
  EXPECT_EQ(shapeCount(c), 2);
  o = Ref(); // the source goes; the clone's shapes stay
  EXPECT_EQ(Q3Shared_GetReferenceCount(first), before);
  TQ3Object again = handle(c, 0);
  EXPECT_EQ(again, first);
  Q3Object_Dispose(again);
  Q3Object_Dispose(first);
  c = Ref();
}
