// Stands in for the game: records the command line it was started with in args.txt
// beside itself, then ends.
#include "tests/standins/command_tail_win32.h"

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
  return quorvex::WriteBesideExecutable(L"args.txt", quorvex::CommandTail()) ? 0 : 1;
}
