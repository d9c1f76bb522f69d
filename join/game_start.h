// Joining a server: the checks a join must pass and the choice of how the game starts.
#pragma once
#include "common/text.h"
#include "join/launcher.h"
#include "servers/server_table.h"

namespace quorvex {

// Where a join looks for Steam and writes start.bat.
struct JoinPlaces {
  Text steamExePath;   // from the registry at start-up; empty when Steam is not installed
  Text programFolder;  // start.bat is written here
};

// Starts the game on `server` and returns "", or returns the message to show the player when
// the server cannot be joined or the game could not be started.
Text JoinServer(Launcher& launcher, const JoinPlaces& places, const ServerRecord& server);

// The record of a server known by the name, address and port texts of one <server> element
// of a list reply (a balloon's, a Players line's), read as the table reads those fields: a
// port that is no port stays unwritten, and JoinServer refuses the record as it refuses a
// line whose port the reply did not give.
ServerRecord RecordToJoin(const Text& name, const Text& address, const Text& port);

}  // namespace quorvex
