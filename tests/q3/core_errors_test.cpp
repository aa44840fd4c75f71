// The error record: the latest error, the oldest unread one, cleared by reading.
#include "core_support.h"

namespace {

using Q3Errors = Q3Session;

TEST_F(Q3Errors, LatestAndOldestUnreadAreBothReportedThenCleared) {
  TQ3ViewObject view = Q3View_New();
  ASSERT_NE(view, nullptr);

  EXPECT_EQ(Q3Object_Dispose(nullptr), kQ3Failure);                    // kQ3ErrorNULLParameter
  EXPECT_EQ(Q3Object_GetType(fakeReference(1)), kQ3ObjectTypeInvalid); // kQ3ErrorInvalidObject
  EXPECT_EQ(Q3Shared_GetReference(view), nullptr);                     // kQ3ErrorInvalidObjectType

  TQ3Error first = kQ3ErrorNone;
  EXPECT_EQ(Q3Error_Get(&first), kQ3ErrorInvalidObjectType);
  EXPECT_EQ(first, kQ3ErrorNULLParameter);

  first = kQ3ErrorInvalidData;
  EXPECT_EQ(Q3Error_Get(&first), kQ3ErrorNone);
  EXPECT_EQ(first, kQ3ErrorNone);
  Q3Object_Dispose(view);
}

TEST_F(Q3Errors, ReadingWithoutFirstErrorAlsoClearsTheOldest) {
  Q3Object_Dispose(nullptr);
  Q3Object_Dispose(fakeReference(2));
  EXPECT_EQ(Q3Error_Get(nullptr), kQ3ErrorInvalidObject);

  Q3Shape_GetType(nullptr);
  TQ3Error first = kQ3ErrorNone;
  EXPECT_EQ(Q3Error_Get(&first), kQ3ErrorNULLParameter);
  EXPECT_EQ(first, kQ3ErrorNULLParameter) << "an error read before must not come back as the oldest";
}

TEST_F(Q3Errors, SuccessfulCallsLeaveAPendingErrorInPlace) {
  Q3Object_Dispose(nullptr);
  TQ3ShaderObject shader = Q3NULLIllumination_New();
  ASSERT_NE(shader, nullptr);
  EXPECT_EQ(Q3Object_Dispose(shader), kQ3Success);
  EXPECT_EQ(takeOnlyError(), kQ3ErrorNULLParameter);
}

} // namespace
