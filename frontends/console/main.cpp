// quorvex-console: Form1 with a text front end. Events go to stdout, commands come from
// stdin; see docs/console.md.
#include <cstdlib>
#include <filesystem>
#include <iostream>
#include <memory>
#include <string>
#include <vector>

#include "app/executable_location.h"
#include "app/form1.h"
#include "app/single_instance.h"
#include "frontends/console/clock.h"
#include "frontends/console/desktop.h"
#include "frontends/console/input.h"
#include "frontends/console/json_output.h"
#include "frontends/console/launcher.h"
#include "frontends/console/numbered_icons.h"
#include "frontends/console/options.h"
#include "frontends/console/readable_output.h"
#include "frontends/console/session.h"
#include "frontends/console/tray_shell.h"
#include "notify/command_process.h"
#include "notify/command_runner.h"
#include "ping/ping.h"
#include "servers/http_request.h"
#include "settings/registry.h"

namespace quorvex {
namespace {

// The executable's folder, as on Windows, unless the program is installed under /usr (the
// package's /usr/bin), which is not the user's to write in, root or not: then the folder the
// Qt tray keeps its settings in, $XDG_CONFIG_HOME/quorvex.
Text DefaultHome() {
  const Text beside = RunningExecutable().folder;
  if (beside.rfind(u"/usr/", 0) != 0) return beside;
  const char* config = std::getenv("XDG_CONFIG_HOME");
  const char* home = std::getenv("HOME");
  std::filesystem::path base;
  if (config != nullptr && *config != 0) {
    base = config;
  } else if (home != nullptr && *home != 0) {
    base = std::filesystem::path(home) / ".config";
  } else {
    throw std::runtime_error("installed under /usr, and neither XDG_CONFIG_HOME nor HOME says where to keep files");
  }
  const std::filesystem::path folder = std::filesystem::absolute(base / "quorvex").lexically_normal();
  std::filesystem::create_directories(folder);
  return FromUtf8(folder.string());
}

// The home folder as an absolute path, as an executable's folder always is: the Run value
// and start.bat name it.
Text HomeFolder(const ConsoleOptions& options) {
  if (!options.home) return DefaultHome();
  const std::filesystem::path home = std::filesystem::absolute(*options.home).lexically_normal();
  if (!std::filesystem::is_directory(home)) throw UsageError("--home: no folder " + *options.home);
  std::string text = home.string();
  if (text.size() > 1 && text.back() == '/') text.pop_back();
  return FromUtf8(text);
}

std::unique_ptr<ConsoleOutput> MakeOutput(bool readable, const ConsoleIcons& icons, const ConsoleClock& clock) {
  if (readable) return std::make_unique<ReadableOutput>(std::cout, icons, clock);
  return std::make_unique<JsonOutput>(std::cout, icons);
}

int RunConsole(const ConsoleOptions& options) {
  const Text home = HomeFolder(options);
  const Form1Config config{FromUtf8(options.master.value_or(QUORVEX_MASTER_HOST)),
                           FromUtf8(options.latestVersion.value_or(QUORVEX_LATEST_VERSION_URL)),
                           home,
                           u"quorvex-console",
                           options.master.has_value(),
                           options.latestVersion.has_value(),
                           u"\n"};

  const ConsoleIcons icons;
  ConsoleClock clock(options.virtualTime, options.wallClockStart);
  const std::unique_ptr<ConsoleOutput> output = MakeOutput(options.readable, icons, clock);
  const std::unique_ptr<SingleInstanceLock> lock = MakeSingleInstanceLock(home, config.exeName);
  ConsoleDesktop desktop(*output, clock, *lock, icons);
  ConsoleTrayShell trayShell(*output);
  ConsoleLauncher launcher(*output);
  const std::unique_ptr<Registry> registry = MakeRegistry(home);
  const std::unique_ptr<HttpRequest> httpRequest = MakeHttpRequest();
  const std::unique_ptr<Pinger> pinger = MakeSystemPinger();
  // From here on a signal is held for the event loop instead of ending the process unsaved.
  const std::unique_ptr<ConsoleInput> input = MakeStdinInput();

  // Outlives the form: going, it ends a notifyCommand still running, so Exit never waits.
  CommandRunner notifier(MakeSystemCommandStarter());
  const std::unique_ptr<GameCheck> gameCheck = MakeGameCheck();
  ConsoleNumberedIcons numberedIcons;
  Form1 form({desktop, trayShell, *registry, *httpRequest, *pinger, launcher, notifier, MakeHistoryFolder,
              MakeFeaturesWith(&numberedIcons, gameCheck.get())},
             config);
  ConsoleSession session(form, desktop, *input, *output);
  desktop.Attach(session);
  return session.Run();
}

}  // namespace
}  // namespace quorvex

int main(int argc, char** argv) {
  using namespace quorvex;
  std::ios::sync_with_stdio(false);
  try {
    const ConsoleOptions options = ParseConsoleOptions(std::vector<std::string>(argv + 1, argv + argc), {});
    if (options.help) {
      std::cout << kConsoleUsage;
      return 0;
    }
    if (options.checkMasterOnly) return 0;
    return RunConsole(options);
  } catch (const BadOptionValue& error) {
    std::cerr << "quorvex-console: " << error.what() << "\n";
    return 2;
  } catch (const UsageError& error) {
    std::cerr << "quorvex-console: " << error.what() << "\n" << kConsoleUsage;
    return 2;
  } catch (const std::exception& error) {
    std::cerr << "quorvex-console: " << error.what() << "\n";
    return 1;  // a service that could not even be made: nothing shown, nothing saved
  }
}
