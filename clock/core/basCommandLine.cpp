// The command line: parsing, the answers that need no windows, and the
// settings request.
#include "clock/core/basCommandLine.h"

#include <memory>

#include "clock/core/Program.h"
#include "clock/core/ProgramVersion.h"
#include "clock/core/basMain.h"
#include "htmlview/Quillet.h"
#include "platform/Application.h"
#include "platform/Services.h"
#include "platform/Timer.h"

namespace basCommandLine {
namespace {

constexpr const char* kUsage = "使い方: Kelvora [--settings | --quit | --version | --help]\n";

constexpr const char* kHelp =
    "使い方: Kelvora [オプション]\n"
    "時報付きのデスクトップ時計 Kelvora を起動します。すでに動いているときは、\n"
    "その最小化されたウィンドウを元に戻して終わります。\n"
    "\n"
    "  --settings  動いている Kelvora の設定画面を開きます\n"
    "              (動いていなければ起動して開きます)\n"
    "  --quit      動いている Kelvora を終了させ、設定が保存されて\n"
    "              終わるまで待ちます\n"
    "  --version   Kelvora と Quillet の版を表示します\n"
    "  --help      この説明を表示します\n"
    "\n"
    "終了コード: 0 成功、1 失敗 (--quit で動いている Kelvora がないときなど)、\n"
    "2 不明なオプション。\n";

std::string VersionText() {
  std::string text = std::string(ProgramVersion::ProductName) + " " + std::to_string(ProgramVersion::Major) + "." +
                     std::to_string(ProgramVersion::Minor) + "." + std::to_string(ProgramVersion::Revision) + "\n";
  // The component the help window would use, as registered.
  try {
    const auto info = Quillet::CreateclsDLLInfo();
    text += "Quillet " + std::to_string(info->Major()) + "." + std::to_string(info->Minor()) + "." +
            std::to_string(info->Revision()) + " (" + info->Path() + ")\n";
  } catch (const std::exception& error) {
    text += std::string("Quillet: 使えません (") + error.what() + ")\n";
  }
  return text;
}

int Quit(std::string& out, std::string& err) {
  using Reply = platform::Application::InstanceReply;
  switch (platform::Application::AskRunningCopy(ProgramVersion::Title, platform::Application::InstanceRequest::Quit)) {
    case Reply::Done:
      out += "Kelvora を終了しました。\n";
      return kExitOk;
    case Reply::NotRunning:
      err += "Kelvora: 動いている Kelvora はありません。\n";
      return kExitFailed;
    case Reply::Unsupported:
      err += "Kelvora: 動いている Kelvora はこの要求に対応していません。\n";
      return kExitFailed;
    case Reply::NoFolder:
      err += "Kelvora: 安全な実行時フォルダーがないため、動いている Kelvora に届きません。\n";
      return kExitFailed;
    case Reply::NoAnswer:
      break;
  }
  err += "Kelvora: 動いている Kelvora が応答しないか、時間内に終わりませんでした。\n";
  return kExitFailed;
}

}  // namespace

Command Parse(const std::vector<std::string>& arguments) {
  if (arguments.empty()) return {};
  if (arguments.size() > 1) return {Action::Usage, arguments[1]};
  const std::string& a = arguments[0];
  if (a == "--help" || a == "-h") return {Action::Help, {}};
  if (a == "--version" || a == "-V") return {Action::Version, {}};
  if (a == "--quit") return {Action::Quit, {}};
  if (a == "--settings") return {Action::Settings, {}};
  return {Action::Usage, a};
}

int RunWithoutWindows(const Command& command, std::string& out, std::string& err) {
  switch (command.What) {
    case Action::Help:
      out += kHelp;
      return kExitOk;
    case Action::Version:
      out += VersionText();
      return kExitOk;
    case Action::Quit:
      return Quit(out, err);
    case Action::Start:
    case Action::Settings:
    case Action::Usage:
      break;
  }
  err += "Kelvora: 不明な引数 '" + command.Unknown + "' です。\n";
  err += kUsage;
  return kExitUsage;
}

std::unique_ptr<platform::ITimer> PrepareStart(Program& program, const Command& command) {
  program.App().SetOpenSettingsHandler([&program] {
    basMain::OpenSettingsDialog(program);
    basMain::FocusSettingsDialog(program);
  });
  if (command.What != Action::Settings) return nullptr;
  // Opened from the event loop, once the start routine has made the windows.
  std::unique_ptr<platform::ITimer> timer = platform::Controls().CreateTimer();
  platform::ITimer* once = timer.get();
  timer->Timer = [once, &program] {
    once->SetEnabled(false);
    if (program.SetUp() && !basMain::mblnSetUpOpen) basMain::OpenSettingsDialog(program);
  };
  timer->SetInterval(1);
  timer->SetEnabled(true);
  return timer;
}

}  // namespace basCommandLine
