#include "frontends/qt/launcher.h"

#include <QProcess>
#include <QStandardPaths>
#include <QStringList>

namespace quorvex {

bool QtLauncher::StartThroughSteamCommand(const std::vector<Text>& arguments) {
  const QString steam = QStandardPaths::findExecutable(QStringLiteral("steam"));
  if (steam.isEmpty()) throw LaunchError("Steam was not found (no steam command on the PATH).");
  QStringList argumentList;
  for (const Text& argument : arguments) argumentList << QString::fromStdU16String(argument);
  if (!QProcess::startDetached(steam, argumentList)) throw LaunchError("Steam could not be started.");
  return true;
}

}  // namespace quorvex
