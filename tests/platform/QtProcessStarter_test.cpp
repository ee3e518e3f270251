#include "platform/qt/QtProcessStarter.h"

#include <gtest/gtest.h>

using platform::ProgramCommand;

namespace {

TEST(QtProcessStarter, TheFirstInstalledProgramOfTheListIsStarted) {
  platform::qt::QtProcessStarter starter;
  EXPECT_TRUE(starter.StartFirstInstalled({{"kelvora-no-such-tool", {}}, {"true", {"--version; rm -rf x"}}}));
  // Nothing installed, an empty name, a path that is not a program.
  EXPECT_FALSE(starter.StartFirstInstalled({{"kelvora-no-such-tool", {}}, {"", {}}, {"/etc/hostname", {}}}));
  EXPECT_FALSE(starter.StartFirstInstalled({}));
}

}  // namespace
