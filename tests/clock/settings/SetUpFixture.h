#pragma once
// The settings dialog on the real (offscreen) platform with the clock window
// it works on, settings at their defaults from an empty store, an empty
// component registry, and doubles for message boxes, common dialogs, the
// clipboard and starting programs.
#include <gtest/gtest.h>

#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "clock/core/Program.h"
#include "clock/core/SettingsStore.h"
#include "clock/core/basMain.h"
#include "clock/core/frmMain.h"
#include "clock/settings/frmSetUp.h"
#include "platform/Application.h"
#include "platform/com/ComRegistry.h"
#include "platform/Services.h"
#include "platform/fake/FakeClock.h"
#include "platform/fake/MemoryClipboard.h"
#include "platform/fake/MemorySettingsStore.h"
#include "platform/fake/RecordingMessageBox.h"
#include "platform/fake/RecordingProcessStarter.h"
#include "platform/fake/ScriptedCommonDialogs.h"

namespace setuptest {

struct SetUpFixture : testing::Test {
  SetUpFixture() {
    // Nothing registered: the dialog's component check starts afresh.
    std::filesystem::remove(platform::com::ComponentRegistryPath());
    SettingsStore::LoadSettings();  // the defaults, from the empty store
    // No component dialogue at load unless a test asks for one.
    SettingsStore::NoTestDllReg = true;
    basMain::mstrSetUpTitle = "時計の設定メニュー  ";
    basMain::mblnSetUpOpen = false;
    basMain::mblnSpeakerReady = false;
    clock = &program.MakeClock();
    clock->Form_Load();
  }
  ~SetUpFixture() override {
    program.ReleaseWindows();
    basMain::gfncTimeSignalText = nullptr;
  }

  // Creates and loads the dialog as start-up does, with its pages as its
  // first opening makes them.
  frmSetUp& Load() {
    dialog = &program.MakeSetUp();
    dialog->Form_Load();
    dialog->CheckComponents();
    dialog->LoadPages();
    return *dialog;
  }
  // The user picks the time-signal page (Alt+S).
  void ShowTimeSignalPage() { dialog->Command1(7).SetValue(true); }
  // The user clicks a box.
  void Click(int16_t index) {
    platform::ICheckBox& box = dialog->Check1(index);
    box.SetValue(box.Value() == platform::vbChecked ? platform::vbUnchecked : platform::vbChecked);
  }
  std::vector<std::string> Prompts() const {
    std::vector<std::string> out;
    for (const auto& call : messages.Calls) {
      EXPECT_EQ(call.Title, "Kelvora");
      out.push_back(call.Prompt + "|" + std::to_string(call.Style));
    }
    return out;
  }
  std::vector<std::string> SystemMenuTexts() const {
    std::vector<std::string> out;
    for (const platform::MenuItem& item : platform::SystemMenuItems(dialog->Form().hWnd())) {
      out.push_back(item.IsSeparator() ? "-" : item.Text);
    }
    return out;
  }

  platform::MemorySettingsStore store;
  platform::FakeClock time{platform::DateTime{2026, 12, 7, 9, 5, 3, 0}};
  platform::RecordingMessageBox messages;
  platform::ScriptedCommonDialogs dialogs;
  platform::MemoryClipboard clipboard;
  platform::RecordingProcessStarter programs;
  Program program{platform::Application::Current()};
  frmMain* clock = nullptr;
  frmSetUp* dialog = nullptr;
};

}  // namespace setuptest
