// Run-time errors that escape an event handler or a start step are shown by
// the error reporter; the program goes on.
#include <gtest/gtest.h>

#include <chrono>
#include <stdexcept>
#include <vector>

#include "platform/Application.h"
#include "platform/RuntimeError.h"
#include "platform/Services.h"

using namespace platform;

namespace {

struct ErrorGuardTest : testing::Test {
  void SetUp() override {
    old = Application::SetErrorReporter([this](const std::exception& e) {
      const auto* runtime = dynamic_cast<const RuntimeError*>(&e);
      reported.push_back(runtime ? runtime->Number() : 0);
    });
  }
  void TearDown() override { Application::SetErrorReporter(std::move(old)); }
  Application::ErrorReporter old;
  std::vector<int32_t> reported;
};

TEST_F(ErrorGuardTest, AnErrorEscapingAnEventHandlerIsReportedAndTheEventEnds) {
  auto form = Controls().CreateForm(FormStyle{"frmGuard", "", vbSizable, false, false});
  form->Move(0, 0, 200 * 15, 100 * 15);
  form->Show();
  int resized = 0;
  form->Events.Resize = [&] {
    ++resized;
    RaiseError(errOverflow);
  };
  form->Move(0, 0, 300 * 15, 120 * 15);
  EXPECT_EQ(resized, 1);
  EXPECT_EQ(reported, std::vector<int32_t>{errOverflow});
  form->Events.Resize = nullptr;
  form->Move(0, 0, 320 * 15, 120 * 15);
  EXPECT_EQ(form->Width(), 320 * 15);
}

TEST_F(ErrorGuardTest, TimerHandlersAreGuardedToo) {
  auto timer = Controls().CreateTimer();
  int ticks = 0;
  timer->Timer = [&] {
    if (++ticks == 1) throw std::runtime_error("disk full");
  };
  timer->SetInterval(1);
  timer->SetEnabled(true);
  // Bounded wait for two ticks; the first one fails.
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(10);
  while (ticks < 2 && std::chrono::steady_clock::now() < deadline) Application::DoEvents();
  timer->SetEnabled(false);
  EXPECT_GE(ticks, 2);
  EXPECT_EQ(reported, std::vector<int32_t>{0});
}

TEST_F(ErrorGuardTest, AStartStepThatFailsIsReportedAndProgrammingErrorsAreNot) {
  EXPECT_TRUE(Application::Guard([] {}));
  EXPECT_FALSE(Application::Guard([] { RaiseError(errInvalidCall); }));
  EXPECT_EQ(reported, std::vector<int32_t>{errInvalidCall});
  EXPECT_THROW(Application::Guard([] { throw std::logic_error("wrong kind of object"); }), std::logic_error);
  // A report that fails itself does not escape either.
  Application::SetErrorReporter([](const std::exception&) { throw std::runtime_error("no display"); });
  EXPECT_FALSE(Application::Guard([] { RaiseError(errOverflow); }));
}

}  // namespace
