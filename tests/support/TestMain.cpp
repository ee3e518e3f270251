// Test programs start the real platform (Qt on its offscreen platform) with
// a settings folder and a component registry of their own, then run their
// tests.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>

#include "platform/Application.h"

int main(int argc, char** argv) {
  if (const char* tmp = std::getenv("KELVORA_TEST_TMP")) {
    std::filesystem::create_directories(tmp);
    setenv("XDG_CONFIG_HOME", tmp, 1);
    setenv("XDG_DATA_HOME", tmp, 1);
    // Not the machine's: a package installed here must not change the tests.
    setenv("XDG_DATA_DIRS", (std::filesystem::path(tmp) / "machine").c_str(), 1);
  }
  if (!std::getenv("QT_QPA_PLATFORM")) setenv("QT_QPA_PLATFORM", "offscreen", 1);
  platform::Application app(argc, argv, "Kelvora");
  testing::InitGoogleMock(&argc, argv);
  return RUN_ALL_TESTS();
}
