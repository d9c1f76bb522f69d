#include "frontends/qt/launcher.h"

#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QStandardPaths>

namespace quorvex {

namespace {

QString ToQString(const Text& text) { return QString::fromStdU16String(text); }

bool OnPath(const QString& command) { return !QStandardPaths::findExecutable(command).isEmpty(); }

// Desktop entries are a few kilobytes; a larger file is none.
constexpr qint64 kLongestDesktopEntry = 256 * 1024;

bool IsSteamLinkHandler(const QString& path) {
  QFile file(path);
  if (!file.open(QIODevice::ReadOnly) || file.size() > kLongestDesktopEntry) return false;
  return OpensSteamLinks(QString::fromUtf8(file.readAll()).toStdU16String());
}

}  // namespace

SteamPlaces DesktopSteamPlaces() {
  const QString dataHome = QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation);
  return {{qEnvironmentVariable("FLATPAK_USER_DIR", dataHome + "/flatpak"),
           qEnvironmentVariable("FLATPAK_SYSTEM_DIR", "/var/lib/flatpak")},
          "/snap/bin",
          QStandardPaths::standardLocations(QStandardPaths::ApplicationsLocation)};
}

// Looks no further than the first way found: the join takes that one.
std::optional<FoundSteam> QtLauncher::FindSteam() {
  FoundSteam found;
  if ((found.command = OnPath("steam"))) return found;
  if ((found.flatpak = OnPath("flatpak") && FlatpakInstalled())) return found;
  if ((found.snap = OnPath("snap") && SnapInstalled())) return found;
  found.linkHandler = OnPath("xdg-open") && LinkHandlerInstalled();
  return found;
}

// "current" names the branch `flatpak run` starts and "active" its deployed files; an
// uninstall removes both.
bool QtLauncher::FlatpakInstalled() const {
  for (const QString& installation : places_.flatpakInstallations)
    if (QFileInfo::exists(installation + "/app/" + ToQString(kSteamFlatpakId) + "/current/active")) return true;
  return false;
}

// snapd links /snap/bin/NAME to snap for each installed Snap's command.
bool QtLauncher::SnapInstalled() const { return QFileInfo::exists(places_.snapCommands + "/steam"); }

// Without one, xdg-open would hand the link to a web browser, or to nothing at all.
bool QtLauncher::LinkHandlerInstalled() const {
  for (const QString& folder : places_.applicationFolders) {
    QDirIterator entries(folder, {"*.desktop"}, QDir::Files, QDirIterator::Subdirectories);
    while (entries.hasNext())
      if (IsSteamLinkHandler(entries.next())) return true;
  }
  return false;
}

void QtLauncher::StartProgram(const ProgramStart& start) {
  const QString program = QStandardPaths::findExecutable(ToQString(start.program));
  if (program.isEmpty()) throw LaunchError(ToUtf8(start.program) + " is no longer on the PATH.");
  QStringList arguments;
  for (const Text& argument : start.arguments) arguments << ToQString(argument);
  if (!QProcess::startDetached(program, arguments)) throw LaunchError(ToUtf8(start.program) + " could not be started.");
}

}  // namespace quorvex
