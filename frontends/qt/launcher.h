// Joining a server on Linux: looks on the PATH and in the file system for Steam (the steam
// command, Valve's Flatpak, the Snap, a desktop entry that opens steam:// links) and starts
// the program join/steam_on_linux.h chooses for what it found.
#pragma once
#include <QString>
#include <QStringList>

#include "join/launcher.h"

namespace quorvex {

// Where installed Flatpaks, Snaps and desktop entries are.
struct SteamPlaces {
  QStringList flatpakInstallations;  // each holds app/ID/current/active once ID is installed
  QString snapCommands;              // a Snap's commands, /snap/bin/NAME
  QStringList applicationFolders;    // the desktop entries, searched with their subfolders
};

// This desktop's: the user's and the system's Flatpak installations (where flatpak itself
// looks: $FLATPAK_USER_DIR or $XDG_DATA_HOME/flatpak, $FLATPAK_SYSTEM_DIR or /var/lib/flatpak),
// /snap/bin, and the applications folders of $XDG_DATA_HOME and $XDG_DATA_DIRS.
SteamPlaces DesktopSteamPlaces();

class QtLauncher : public Launcher {
 public:
  explicit QtLauncher(SteamPlaces places = DesktopSteamPlaces()) : places_(std::move(places)) {}

  // There is no Steam window and no start.bat here: FindSteam and StartProgram are the way.
  bool FindWindowByTitle(const Text&) override { return false; }
  void WriteBatchFile(const Text&, const Text&) override { throw LaunchError("no batch files on Linux"); }
  void StartHidden(const Text&) override { throw LaunchError("no command lines on Linux"); }
  // Asks only the PATH and the file system, on every click (Steam may have been installed
  // since): a join runs on the menu's thread, and `flatpak info` or `snap list` would hold
  // it while they load their installations or ask snapd.
  std::optional<FoundSteam> FindSteam() override;
  // Starts the program found on the PATH, detached and without a shell.
  void StartProgram(const ProgramStart& start) override;

 private:
  bool FlatpakInstalled() const;
  bool SnapInstalled() const;
  bool LinkHandlerInstalled() const;

  SteamPlaces places_;
};

}  // namespace quorvex
