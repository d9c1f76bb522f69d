// quorvex.exe: builds the services and Form1, routes the hidden window's messages to it.
#include <windows.h>
#include <shellapi.h>

#include <exception>
#include <memory>
#include <string>

#include "app/executable_location.h"
#include "app/form1.h"
#include "frontends/win32/desktop.h"
#include "frontends/win32/dispatch.h"
#include "frontends/win32/launcher.h"
#include "frontends/win32/numbered_icons.h"
#include "frontends/win32/tray_shell.h"
#include "notify/command_process.h"
#include "notify/command_runner.h"
#include "ping/ping.h"
#include "servers/http_request.h"
#include "settings/registry.h"

namespace quorvex {
namespace {

// What the window procedure reaches: set once Form1 exists, cleared before it goes.
struct RunningProgram {
  Form1* form = nullptr;
  UINT taskbarCreated = 0;  // the shell's broadcast after its notification area was re-created
};
RunningProgram running;

LRESULT CALLBACK WindowProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  Form1* form = running.form;
  if (form == nullptr) return DefWindowProcW(window, message, wParam, lParam);
  if (running.taskbarCreated != 0 && message == running.taskbarCreated) {
    Dispatch("TaskbarCreated", [&] { form->TaskbarCreated(); });
    return 0;
  }
  switch (message) {
    case WM_TIMER:
      if (const auto timer = TimerOfEvent(wParam)) Dispatch("Timer", [&] { form->TimerTick(*timer); });
      return 0;
    case kTrayCallbackMessage:  // the window is never shown: every mouse move is the tray's
      Dispatch("Form_MouseMove", [&] { form->Form_MouseMove(LOWORD(lParam)); });
      return 0;
    case WM_QUERYENDSESSION:  // log-off or shutdown: save now, the process may not get another chance
      Dispatch("Form_Unload", [&] { form->Form_Unload(); });
      return TRUE;
    case WM_ENDSESSION:  // the session ends: end as Exit does, so a wait in progress stops
      if (wParam) Dispatch("menExit_Click", [&] { form->menExit_Click(); });
      return 0;
    case WM_CLOSE:  // asked to close (e.g. taskkill without /f): end as Exit does
      Dispatch("menExit_Click", [&] { form->menExit_Click(); });
      return 0;
    default:
      return DefWindowProcW(window, message, wParam, lParam);
  }
}

// Tests aim the program at a local master server: --master HOST:PORT, --latest-version URL.
// Options win over Quorvex.ini's lines; the Run value of Autostart carries none, so a
// player's choice lives in the file.
void ApplyCommandLine(Form1Config& config) {
  int count = 0;
  LPWSTR* arguments = CommandLineToArgvW(GetCommandLineW(), &count);
  if (arguments == nullptr) return;
  for (int i = 1; i + 1 < count; ++i) {
    const std::wstring option = arguments[i];
    const Text value(arguments[i + 1], arguments[i + 1] + wcslen(arguments[i + 1]));
    if (option == L"--master") {
      config.masterHost = value;
      config.masterHostGiven = true;
      ++i;
    } else if (option == L"--latest-version") {
      config.latestVersionUrl = value;
      config.latestVersionUrlGiven = true;
      ++i;
    }
  }
  LocalFree(arguments);
}

void RunMessageLoop() {
  MSG message;
  while (GetMessageW(&message, nullptr, 0, 0) > 0) {
    TranslateMessage(&message);
    DispatchMessageW(&message);
  }
}

int RunProgram(HINSTANCE instance) {
  const ExecutableLocation executable = RunningExecutable();
  Form1Config config{FromUtf8(QUORVEX_MASTER_HOST), FromUtf8(QUORVEX_LATEST_VERSION_URL), executable.folder,
                     executable.name};
  ApplyCommandLine(config);

  DesktopWin32 desktop(instance, WindowProcedure);
  TrayShellWin32 trayShell;
  const std::unique_ptr<Registry> registry = MakeRegistry(executable.folder);
  const std::unique_ptr<HttpRequest> httpRequest = MakeHttpRequest();
  const std::unique_ptr<Pinger> pinger = MakeSystemPinger();
  LauncherWin32 launcher;
  // Outlives the form: going, it ends a notifyCommand still running, so Exit never waits.
  CommandRunner notifier(MakeSystemCommandStarter());
  const std::unique_ptr<GameCheck> gameCheck = MakeGameCheck();
  NumberedIconsWin32 numberedIcons;  // outlives the form, which shows its icons to the last
  Form1 form({desktop, trayShell, *registry, *httpRequest, *pinger, launcher, notifier, MakeHistoryFolder,
              MakeFeaturesWith(&numberedIcons, gameCheck.get())},
             config);
  desktop.AttachForm(form);

  running.taskbarCreated = RegisterWindowMessageW(L"TaskbarCreated");
  running.form = &form;
  // A start-up that fails before its skippable steps leaves no usable program: end it
  // rather than keep an invisible process that nothing can reach.
  const bool started = Dispatch("Form_Load", [&] { form.Form_Load(); });
  if (started) RunMessageLoop();
  running.form = nullptr;
  return started ? 0 : 1;
}

}  // namespace
}  // namespace quorvex

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int) {
  try {
    return quorvex::RunProgram(instance);
  } catch (const std::exception&) {
    return 1;  // a service that could not even be made: nothing is shown, nothing saved
  }
}
