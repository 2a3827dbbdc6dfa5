// The test programs' main: the code under test runs on the headless
// backend unless a test installs another.
#include <gtest/gtest.h>

#include "platform/headless/headless_backend.h"

int main(int argc, char** argv) {
  testing::InitGoogleTest(&argc, argv);
  pellora::SetDefaultBackend(&pellora::HeadlessBackend::CreateDefault);
  return RUN_ALL_TESTS();
}
