#include <gtest/gtest.h>

#include "host/DebugOutput.h"
#include "util/Zu3ZOdoz.h"

namespace {

// Every case starts and ends with no plugin users and q3 down. q3's
// initialisation nests, so an extra Q3Initialize by the plugin would leave q3
// up after the last release and show here.
struct QuesaUsers : ::testing::Test {
  void SetUp() override {
    ASSERT_EQ(QuesaUserCount(), 0u);
    ASSERT_EQ(Q3IsInitialized(), kQ3False);
    Q3Error_Get(nullptr);
  }
  void TearDown() override {
    EXPECT_EQ(QuesaUserCount(), 0u);
    EXPECT_EQ(Q3IsInitialized(), kQ3False);
    EXPECT_EQ(Zu3ZOdoz::NullIlluminationShader, nullptr);
    EXPECT_EQ(Zu3ZOdoz::BoundingView, nullptr);
    // Leave a clean state behind even when a case failed.
    while (QuesaUserCount() != 0) ReleaseQuesa();
    while (Q3IsInitialized() == kQ3True) Q3Exit();
    Q3Error_Get(nullptr);
  }
};

} // namespace

TEST_F(QuesaUsers, TwoUsersInitialiseOnceAndExitOnce) {
  host::DebugOutput capture;
  AcquireQuesa();
  EXPECT_EQ(Q3IsInitialized(), kQ3True);
  AcquireQuesa();
  EXPECT_EQ(QuesaUserCount(), 2u);

  ReleaseQuesa();
  EXPECT_EQ(QuesaUserCount(), 1u);
  EXPECT_EQ(Q3IsInitialized(), kQ3True) << "one user is left";
  ReleaseQuesa();
  EXPECT_EQ(Q3IsInitialized(), kQ3False);

  EXPECT_EQ(Q3Error_Get(nullptr), kQ3ErrorNone);
  EXPECT_EQ(capture.text(), "");
}

TEST_F(QuesaUsers, LibraryInitialisedElsewhereIsStillShutDownByTheLastUser) {
  ASSERT_EQ(Q3Initialize(), kQ3Success);
  AcquireQuesa();
  AcquireQuesa();
  EXPECT_EQ(QuesaUserCount(), 2u);
  ReleaseQuesa();
  EXPECT_EQ(Q3IsInitialized(), kQ3True);
  ReleaseQuesa();
  EXPECT_EQ(Q3IsInitialized(), kQ3False) << "had Acquire initialised again, one Q3Exit would not end it";
  EXPECT_EQ(Q3Error_Get(nullptr), kQ3ErrorNone);
}

TEST_F(QuesaUsers, ReleaseWithoutUsersChangesNothing) {
  ReleaseQuesa(); // q3 down: no Q3Exit, which would post an error
  EXPECT_EQ(QuesaUserCount(), 0u);
  EXPECT_EQ(Q3Error_Get(nullptr), kQ3ErrorNone);

  ASSERT_EQ(Q3Initialize(), kQ3Success);
  ReleaseQuesa(); // q3 up for someone else: left up
  EXPECT_EQ(Q3IsInitialized(), kQ3True);
  EXPECT_EQ(QuesaUserCount(), 0u);
  Q3Exit();
}

TEST_F(QuesaUsers, LastReleaseDisposesTheSharedObjects) {
  // Someone else holds q3 twice, so the plugin's Q3Exit leaves it up and the
  // fate of the shared objects can be read afterwards.
  ASSERT_EQ(Q3Initialize(), kQ3Success);
  ASSERT_EQ(Q3Initialize(), kQ3Success);
  AcquireQuesa();
  TQ3ShaderObject shader = Q3NULLIllumination_New();
  TQ3ViewObject view = Q3View_New();
  ASSERT_NE(shader, nullptr);
  ASSERT_NE(view, nullptr);
  // A reference of the test's own shows the plugin gave back exactly one.
  ASSERT_EQ(Q3Shared_GetReference(shader), shader);
  Zu3ZOdoz::NullIlluminationShader = shader;
  Zu3ZOdoz::BoundingView = view;

  AcquireQuesa();
  ReleaseQuesa();
  EXPECT_EQ(Zu3ZOdoz::NullIlluminationShader, shader) << "kept while a user is left";
  EXPECT_EQ(Zu3ZOdoz::BoundingView, view);

  ReleaseQuesa();
  EXPECT_EQ(Zu3ZOdoz::NullIlluminationShader, nullptr);
  EXPECT_EQ(Zu3ZOdoz::BoundingView, nullptr);
  EXPECT_EQ(Q3Error_Get(nullptr), kQ3ErrorNone);
  EXPECT_EQ(Q3Shared_GetReferenceCount(shader), 1u);
  EXPECT_EQ(Q3Object_Dispose(view), kQ3Failure) << "the view is gone";
  EXPECT_EQ(Q3Error_Get(nullptr), kQ3ErrorInvalidObject);
  EXPECT_EQ(Q3IsInitialized(), kQ3True);

  Q3Object_Dispose(shader);
  Q3Exit();
}

TEST_F(QuesaUsers, SharedObjectsAreMadeAnewAfterARestart) {
  AcquireQuesa();
  Zu3ZOdoz::NullIlluminationShader = Q3NULLIllumination_New();
  Zu3ZOdoz::BoundingView = Q3View_New();
  ReleaseQuesa();
  EXPECT_EQ(Q3Error_Get(nullptr), kQ3ErrorNone) << "disposed before Q3Exit, while still valid";

  // The next user starts q3 again and finds no stale objects to submit.
  AcquireQuesa();
  EXPECT_EQ(Q3IsInitialized(), kQ3True);
  EXPECT_EQ(Zu3ZOdoz::NullIlluminationShader, nullptr);
  EXPECT_EQ(Zu3ZOdoz::BoundingView, nullptr);
  ReleaseQuesa();
}
