#include "join/game_start.h"

#include "common/files.h"
#include "common/numbers.h"
#include "join/join.h"

namespace quorvex {

namespace {

// Through the running Steam client when there is one we can start, else through start.bat.
void StartGame(Launcher& launcher, const JoinPlaces& places, const ServerRecord& server) {
  if (launcher.FindWindowByTitle(u"Steam") && !places.steamExePath.empty()) {
    launcher.StartHidden(SteamCommandLine(places.steamExePath, server));
    return;
  }
  const Text batchPath = JoinPath(places.programFolder, u"start.bat");
  launcher.WriteBatchFile(batchPath, StartBatchText(places.programFolder, batchPath, server));
  try {
    launcher.StartHidden(StartBatchCommand(batchPath));
  } catch (const LaunchError&) {
    RemoveFileQuietly(batchPath);  // a batch file nothing will run must not stay behind
    throw;
  }
}

// On Linux, through the first Steam found; or the message that names every way looked for.
Text StartThroughFoundSteam(Launcher& launcher, const FoundSteam& found, const ServerRecord& server) {
  const std::optional<ProgramStart> start = SteamJoinStart(found, server);
  if (!start) return SteamNotFoundMessage();
  launcher.StartProgram(*start);
  return u"";
}

}  // namespace

Text JoinServer(Launcher& launcher, const JoinPlaces& places, const ServerRecord& server) {
  if (!IsCompleteInLatestList(server)) return u"This server's entry is incomplete in the latest list.";
  // The address and port come from the network and go into a command line.
  if (!IsJoinable(server)) return u"This server's address cannot be joined.";
  try {
    if (const std::optional<FoundSteam> found = launcher.FindSteam())
      return StartThroughFoundSteam(launcher, *found, server);
    StartGame(launcher, places, server);
  } catch (const LaunchError& error) {
    return u"The game could not be started: " + FromUtf8(error.what());
  }
  return u"";
}

ServerRecord RecordToJoin(const Text& name, const Text& address, const Text& port) {
  ServerRecord record;
  SetServerField(name, u"name", record);
  SetServerField(address, u"address", record);
  try {
    SetServerField(port, u"port", record);
  } catch (const ConversionError&) {
    // Left unwritten, as the list's own reading leaves it.
  }
  return record;
}

}  // namespace quorvex
