#include <gtest/gtest.h>

#include <string>

#include "host/DebugOutput.h"
#include "util/Diagnostics.h"

namespace {

// Something that is not a q3 object: q3 must refuse it and post an error.
alignas(16) unsigned char foreignBytes[256];
TQ3Object foreignObject() { return reinterpret_cast<TQ3Object>(foreignBytes); }

// Makes q3 fail for real and returns the error code it posted.
TQ3Error provokeQuesaFailure() {
  EXPECT_EQ(Q3Object_Dispose(foreignObject()), kQ3Failure);
  return Q3Error_Get(nullptr);
}

// q3 initialised for the test's duration, so a call fails for its argument.
struct QuesaInitialised : ::testing::Test {
  void SetUp() override { ASSERT_EQ(Q3Initialize(), kQ3Success); }
  void TearDown() override {
    Q3Exit();
    Q3Error_Get(nullptr);
  }
};

} // namespace

TEST_F(QuesaInitialised, FailedStatusPrintsTheLatestErrorOnOneLine) {
  const TQ3Error code = provokeQuesaFailure();
  ASSERT_NE(code, kQ3ErrorNone);
  const std::string expected = "Quesa Error: " + std::to_string(code) + " in View3D:661\n";

  host::DebugOutput capture;
  provokeQuesaFailure();
  Q3Object_Dispose(foreignObject()); // a second error: the latest one is printed
  CheckQuesa(kQ3Failure, "View3D", 661);
  EXPECT_EQ(capture.text(), expected);
  EXPECT_EQ(Q3Error_Get(nullptr), kQ3ErrorNone) << "the error was read";

  capture.clear();
  Q3Object_Dispose(foreignObject());
  CheckQuesa(kQ3Failure, DiagnosticSite::ViewSetRendererAfterWireframe);
  EXPECT_EQ(capture.text(), "Quesa Error: " + std::to_string(code) + " in View3D:1397\n");
}

TEST_F(QuesaInitialised, SuccessPrintsNothingAndLeavesTheErrorUnread) {
  Q3Object_Dispose(foreignObject());
  host::DebugOutput capture;
  CheckQuesa(kQ3Success, "View3D", 661);
  CheckQuesa(kQ3Success, DiagnosticSite::QuesaInitialize);
  EXPECT_EQ(capture.text(), "");
  EXPECT_NE(Q3Error_Get(nullptr), kQ3ErrorNone);
}

TEST(Diagnostics, AssertionLine) {
  host::DebugOutput capture;
  ReportAssertion("View3D", 839);
  EXPECT_EQ(capture.text(), "DU3V Assertion Failure in View3D:839\n");
  capture.clear();
  ReportAssertion(DiagnosticSite::ObjectsGroupNewGaveNone);
  EXPECT_EQ(capture.text(), "DU3V Assertion Failure in View3D:1008\n");
}

TEST(Diagnostics, OverlongSourceIsCutToTheBuffer) {
  // The messages format into 1024 bytes: longer text is cut, never overflowed.
  const std::string source(3000, 'x');
  host::DebugOutput capture;
  ReportAssertion(source.c_str(), 1);
  EXPECT_EQ(capture.text(), "DU3V Assertion Failure in " + source.substr(0, 1023 - 26));
  capture.clear();
  Q3Object_Dispose(foreignObject());
  CheckQuesa(kQ3Failure, source.c_str(), 1);
  EXPECT_EQ(capture.text().size(), 1023u);
  Q3Error_Get(nullptr);
}
