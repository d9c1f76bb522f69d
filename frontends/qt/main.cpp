// quorvex: Form1 in the Linux desktop's notification area through Qt.
#include <QApplication>
#include <QCommandLineParser>
#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>
#include <QSystemTrayIcon>

#include <exception>
#include <iostream>
#include <memory>
#include <optional>

#include "app/executable_location.h"
#include "app/feature_list.h"
#include "app/form1.h"
#include "app/single_instance.h"
#include "common/files.h"
#include "frontends/master_option.h"
#include "frontends/qt/autostart_registry.h"
#include "frontends/qt/desktop.h"
#include "frontends/qt/dispatch.h"
#include "frontends/qt/launcher.h"
#include "frontends/qt/menu_export.h"
#include "frontends/qt/popup_menu.h"
#include "frontends/qt/sound.h"
#include "frontends/qt/stop_signals.h"
#include "frontends/qt/tray_shell.h"
#include "notify/command_process.h"
#include "notify/command_runner.h"
#include "ping/ping.h"
#include "servers/http_request.h"
#include "settings/registry.h"

namespace quorvex {
namespace {

Text ToText(const QString& text) { return text.toStdU16String(); }

// The executable's folder is not writable once installed, so Quorvex.ini, the registry
// store and the lock live in $XDG_CONFIG_HOME/quorvex (~/.config/quorvex), and the Run
// value is $XDG_CONFIG_HOME/autostart/quorvex.desktop.
QString ConfigFolder(const QString& chosen) {
  return chosen.isEmpty() ? QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation) : chosen;
}

Text ProgramFolder(const QString& configFolder) {
  const QString folder = configFolder + "/quorvex";
  if (!QDir().mkpath(folder)) throw std::runtime_error("cannot make the folder " + folder.toStdString());
  return ToText(QFileInfo(folder).absoluteFilePath());
}

// Both sizes of one drawing, so the notification area picks the one it shows.
QList<QImage> TrayIcon(const QString& name) {
  return {QImage(":/" + name + "-16.png"), QImage(":/" + name + "-32.png")};
}

struct TrayOptions {
  std::optional<Text> masterHost, latestVersionUrl;  // else the build's or Quorvex.ini's
  QString configFolder;                               // empty: the desktop's ($XDG_CONFIG_HOME)
};

TrayOptions ParseOptions(const QApplication& app) {
  QCommandLineParser parser;
  parser.setApplicationDescription("Watches the game's server list from the notification area.");
  parser.addHelpOption();
  const QCommandLineOption master("master", "the master server list's host[:port]", "HOST[:PORT]");
  const QCommandLineOption latest("latest-version", "the URL of latest_version.txt", "URL");
  const QCommandLineOption config("config", "keep the settings and the autostart entry in DIR instead of "
                                  "$XDG_CONFIG_HOME", "DIR");
  parser.addOption(master);
  parser.addOption(latest);
  parser.addOption(config);
  parser.process(app);  // --help and unknown options end the program here
  TrayOptions options;
  if (parser.isSet(master)) options.masterHost = ToText(parser.value(master));
  if (parser.isSet(latest)) options.latestVersionUrl = ToText(parser.value(latest));
  options.configFolder = parser.value(config);
  return options;
}

int RunTray(const TrayOptions& options) {
  const QString configFolder = ConfigFolder(options.configFolder);
  const Text folder = ProgramFolder(configFolder);
  Form1Config config{options.masterHost.value_or(FromUtf8(QUORVEX_MASTER_HOST)),
                     options.latestVersionUrl.value_or(FromUtf8(QUORVEX_LATEST_VERSION_URL)), folder, u"quorvex"};
  config.masterHostGiven = options.masterHost.has_value();
  config.latestVersionUrlGiven = options.latestVersionUrl.has_value();
  config.lineBreak = u"\n";
  const ExecutableLocation executable = RunningExecutable();

  const std::unique_ptr<SingleInstanceLock> lock = MakeSingleInstanceLock(folder, config.exeName);
  // Beside the executable in a build, in ../share/quorvex once installed.
  SoundPlayer sound({executable.folder, JoinPath(executable.folder, u"../share/quorvex")});
  QtDesktop desktop(*lock, sound);
  TrayIcons icons(TrayIcon("quorvex"), TrayIcon("quorvex_alert"));
  QtTrayShell trayShell(icons);
  const std::unique_ptr<Registry> store = MakeRegistry(folder);
  const Text autostartEntry = ToText(QFileInfo(configFolder + "/autostart/quorvex.desktop").absoluteFilePath());
  AutostartRegistry registry(*store, autostartEntry, ToText(QCoreApplication::applicationFilePath()));
  const std::unique_ptr<HttpRequest> httpRequest = MakeHttpRequest();
  const std::unique_ptr<Pinger> pinger = MakeSystemPinger();
  QtLauncher launcher;
  // Outlives the form: going, it ends a notifyCommand still running, so Exit never waits.
  CommandRunner notifier(MakeSystemCommandStarter());
  const std::unique_ptr<GameCheck> gameCheck = MakeGameCheck();
  Form1 form({desktop, trayShell, registry, *httpRequest, *pinger, launcher, notifier, MakeHistoryFolder,
              MakeFeaturesWith(&icons, gameCheck.get())},
             config);

  PopupMenu popup(form);
  trayShell.SetContextMenu(popup.Menu());
  desktop.Attach(form, popup.Menu());
  const MenuExport exported(form, trayShell);
  // An XEmbed tray has opened the menu by now, and a StatusNotifierItem host that reads the
  // menu over D-Bus shows it itself; a host that only reports the right button gets it here.
  trayShell.OnContextMenu([&] { Dispatch("Form_MouseMove", [&] { form.Form_MouseMove(kRightButtonDown); }); });
  // A click on a notification, however old, joins the server it was about.
  trayShell.OnBalloonClick([&] { return form.BalloonServer(); }, [&](const ServerRecord& server) {
    Dispatch("BalloonClick", [&] { form.BalloonClick(server); });
  });
  const StopSignals stopSignals([&] { Dispatch("menExit_Click", [&] { form.menExit_Click(); }); });
  // However the event loop ends (the session ending, say), the settings are saved once.
  QObject::connect(qApp, &QCoreApplication::aboutToQuit, &popup.Menu(),
                   [&] { Dispatch("Form_Unload", [&] { form.Form_Unload(); }); });

  // A start-up that fails before its skippable steps leaves no usable program.
  if (!Dispatch("Form_Load", [&] { form.Form_Load(); })) return 1;
  if (desktop.Ended()) return 0;  // another instance runs: the box has been shown
  return QApplication::exec();
}

}  // namespace
}  // namespace quorvex

int main(int argc, char** argv) {
  using namespace quorvex;
  QApplication app(argc, argv);
  QApplication::setApplicationName("quorvex");
  QApplication::setQuitOnLastWindowClosed(false);  // closing a message box must not end the program
  const TrayOptions options = ParseOptions(app);
  if (const auto error = options.masterHost ? MasterOptionError(ToUtf8(*options.masterHost)) : std::nullopt) {
    std::cerr << "quorvex: " << *error << "\n";
    return 2;  // nothing read or written
  }
  if (!QSystemTrayIcon::isSystemTrayAvailable()) {
    std::cerr << "quorvex: this desktop has no notification area to show the icon in. On GNOME the "
                 "package gnome-shell-extension-appindicator adds one; quorvex-console runs the same "
                 "program as text.\n";
    return 1;  // nothing read or written
  }
  try {
    return RunTray(options);
  } catch (const std::exception& error) {
    std::cerr << "quorvex: " << error.what() << "\n";
    return 1;  // a service that could not even be made: nothing shown, nothing saved
  }
}
