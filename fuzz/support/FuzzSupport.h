#pragma once
// What every fuzz target shares: the platform started once in a pinned
// environment, a scratch folder for the files a target must write, quiet
// doubles for the message box and the shell, and the way a target reports
// a finding.
#include <cstddef>
#include <cstdint>
#include <initializer_list>
#include <string>
#include <string_view>

#include "platform/RuntimeError.h"
#include "platform/Services.h"
#include "platform/Shell.h"
#include "platform/fake/RecordingMessageBox.h"

namespace fuzz {

// Pins the environment (Qt's offscreen platform, Japanese locale, Tokyo
// time, home, settings, data and runtime folders in the scratch folder, no
// session bus or display of the user's) and starts the platform once.
void StartPlatform();
// Ends the platform started by StartPlatform, with the windows, fonts and
// threads Qt made for it (the replay driver, before the leak check at exit).
void StopPlatform();

// A folder of this process for the files targets write; removed at exit.
const std::string& ScratchDir();
// Writes the bytes to a file of that name in the scratch folder; its path.
std::string WriteScratchFile(const std::string& name, const uint8_t* data, size_t size);

// Stops the run: the input found a fault.
[[noreturn]] void Fail(const std::string& what);
// A run-time error the system defines for bad input is an outcome; any other
// number is a finding.
void ExpectDefinedError(const platform::RuntimeError& error, std::initializer_list<int32_t> numbers);

// True when the text is well-formed UTF-8.
bool IsUtf8(std::string_view text);

// Message boxes and the shell for one input: recorded, never shown or run.
class QuietHost {
 public:
  QuietHost() : mInstallShell(mShell) {}
  platform::RecordingMessageBox Box;

 private:
  class NoShell final : public platform::IShell {
   public:
    bool Open(const std::string&) override { return true; }
  };
  NoShell mShell;
  platform::ScopedService<platform::IShell> mInstallShell;
};

}  // namespace fuzz
