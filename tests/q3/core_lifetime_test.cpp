// Library lifetime: nesting of Q3Initialize / Q3Exit, calls refused while q3
// is down, and what the final Q3Exit does to objects still alive.
#include "core_support.h"

#include <functional>
#include <set>
#include <vector>

namespace {

struct DownCall {
  const char *name;
  std::function<bool()> failed; // makes the call, answers whether it failed
};

// Every kind of call taking or making an object, with a reference that was
// live before q3 went down.
std::vector<DownCall> callsWhileDown(TQ3Object former) {
  return {
      {"Q3Object_Dispose", [=] { return Q3Object_Dispose(former) == kQ3Failure; }},
      {"Q3Object_GetType", [=] { return Q3Object_GetType(former) == kQ3ObjectTypeInvalid; }},
      {"Q3Object_IsType", [=] { return Q3Object_IsType(former, kQ3ObjectTypeShared) == kQ3False; }},
      {"Q3Shared_GetReference", [=] { return Q3Shared_GetReference(former) == nullptr; }},
      {"Q3Shared_Edited", [=] { return Q3Shared_Edited(former) == kQ3Failure; }},
      {"Q3Object_Dispose(NULL)", [] { return Q3Object_Dispose(nullptr) == kQ3Failure; }},
      {"Q3PhongIllumination_New", [] { return Q3PhongIllumination_New() == nullptr; }},
      {"Q3View_New", [] { return Q3View_New() == nullptr; }},
      {"Q3Exit", [] { return Q3Exit() == kQ3Failure; }},
  };
}

TEST(Q3Lifetime, InitialisationNestsAndOnlyTheBalancingExitShutsDown) {
  ASSERT_EQ(Q3IsInitialized(), kQ3False);
  ASSERT_EQ(Q3Initialize(), kQ3Success);
  ASSERT_EQ(Q3Initialize(), kQ3Success);
  TQ3ShaderObject shader = Q3PhongIllumination_New();
  ASSERT_NE(shader, nullptr);

  // The inner Exit leaves the library and its objects alone.
  EXPECT_EQ(Q3Exit(), kQ3Success);
  EXPECT_EQ(Q3IsInitialized(), kQ3True);
  EXPECT_EQ(Q3Object_GetLeafType(shader), kQ3IlluminationTypePhong);

  EXPECT_EQ(Q3Exit(), kQ3Success);
  EXPECT_EQ(Q3IsInitialized(), kQ3False);
  EXPECT_EQ(Q3Error_Get(nullptr), kQ3ErrorNone);

  // One Exit too many is refused, and Q3IsInitialized never posts.
  EXPECT_EQ(Q3Exit(), kQ3Failure);
  EXPECT_EQ(takeOnlyError(), kQ3ErrorNotInitialized);
  EXPECT_EQ(Q3IsInitialized(), kQ3False);
  EXPECT_EQ(Q3Error_Get(nullptr), kQ3ErrorNone);
}

TEST(Q3Lifetime, CallsBeforeInitialiseAndAfterFinalExitAreRefused) {
  ASSERT_EQ(Q3IsInitialized(), kQ3False);
  for (const DownCall &call : callsWhileDown(fakeReference(0x12345678))) {
    EXPECT_TRUE(call.failed()) << "before init: " << call.name;
    EXPECT_EQ(takeOnlyError(), kQ3ErrorNotInitialized) << "before init: " << call.name;
  }

  ASSERT_EQ(Q3Initialize(), kQ3Success);
  TQ3ShaderObject shader = Q3PhongIllumination_New();
  ASSERT_NE(shader, nullptr);
  ASSERT_EQ(Q3Exit(), kQ3Success);
  for (const DownCall &call : callsWhileDown(shader)) {
    EXPECT_TRUE(call.failed()) << "after exit: " << call.name;
    EXPECT_EQ(takeOnlyError(), kQ3ErrorNotInitialized) << "after exit: " << call.name;
  }
  EXPECT_EQ(Q3IsInitialized(), kQ3False);
}

// Objects alive at the final Exit are destroyed (the sanitizer build checks
// that none leaks); their references stay dead after the next Initialize,
// and new objects never get one of them back.
TEST(Q3Lifetime, FinalExitEndsLiveObjectsAndTheirReferencesStayDead) {
  ASSERT_EQ(Q3Initialize(), kQ3Success);
  std::vector<TQ3Object> before;
  for (int i = 0; i < 50; ++i) {
    before.push_back(Q3LambertIllumination_New());
    before.push_back(Q3View_New());
  }
  // Extra references do not keep an object past the final Exit.
  Q3Shared_GetReference(before[0]);
  Q3Shared_GetReference(before[0]);
  ASSERT_EQ(Q3Error_Get(nullptr), kQ3ErrorNone);
  ASSERT_EQ(Q3Exit(), kQ3Success);

  ASSERT_EQ(Q3Initialize(), kQ3Success);
  std::set<TQ3Object> after;
  for (int i = 0; i < 50; ++i) {
    after.insert(Q3LambertIllumination_New());
    after.insert(Q3View_New());
  }
  for (TQ3Object old : before) {
    EXPECT_EQ(after.count(old), 0u) << "reference reused";
    EXPECT_EQ(Q3Object_GetType(old), kQ3ObjectTypeInvalid);
    EXPECT_EQ(takeOnlyError(), kQ3ErrorInvalidObject);
  }
  EXPECT_EQ(Q3Exit(), kQ3Success);
}

TEST(Q3Lifetime, ErrorsPostedWhileDownAreReadableAfterInitialise) {
  ASSERT_EQ(Q3IsInitialized(), kQ3False);
  EXPECT_EQ(Q3View_New(), nullptr);
  ASSERT_EQ(Q3Initialize(), kQ3Success);
  EXPECT_EQ(takeOnlyError(), kQ3ErrorNotInitialized);
  EXPECT_EQ(Q3Exit(), kQ3Success);
}

} // namespace
