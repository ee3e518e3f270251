// Test programs start the real platform (Qt on its offscreen platform) with
// folders of their own, then run their tests.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cstdlib>

#include "platform/Application.h"
#include "support/TestFolders.h"

int main(int argc, char** argv) {
  kvtest::UseTestFolders();
  if (!std::getenv("QT_QPA_PLATFORM")) setenv("QT_QPA_PLATFORM", "offscreen", 1);
  platform::Application app(argc, argv, "Kelvora");
  testing::InitGoogleMock(&argc, argv);
  return RUN_ALL_TESTS();
}
