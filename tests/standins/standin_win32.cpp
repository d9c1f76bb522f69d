// Stands in for the game (built as rwr_game.exe) and the Steam client (steam_standin.exe). Started with
// arguments, as a join starts either, it writes them as given, blanks kept, to NAME.args beside itself
// (NAME.exe) and ends; started without, as the running Steam client, it keeps a hidden window "Steam".
#include <windows.h>

#include <cstdio>
#include <cwchar>

namespace {

// The command line after the program's own name, quoted or not.
const wchar_t* CommandTail() {
  const wchar_t* line = GetCommandLineW();
  if (*line != L'"') return line + wcscspn(line, L" \t");
  const wchar_t* quote = wcschr(line + 1, L'"');
  return quote == nullptr ? line + wcslen(line) : quote + 1;
}

bool RecordBesideExecutable(const wchar_t* arguments) {
  wchar_t path[MAX_PATH + 2];  // room for ".args" in place of ".exe"
  const DWORD length = GetModuleFileNameW(nullptr, path, MAX_PATH);
  if (length < 4 || length >= MAX_PATH) return false;
  wcscpy(path + length - 4, L".args");
  FILE* file = _wfopen(path, L"wb");  // the arguments of a join are ASCII
  return file != nullptr && fprintf(file, "%ls", arguments) >= 0 && fclose(file) == 0;
}

}  // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int) {
  const wchar_t* arguments = CommandTail();
  if (arguments[wcsspn(arguments, L" \t")] != L'\0') return RecordBesideExecutable(arguments) ? 0 : 1;
  // Never shown: FindWindowW finds hidden top-level windows too.
  if (!CreateWindowW(L"STATIC", L"Steam", 0, 0, 0, 9, 9, nullptr, nullptr, instance, nullptr)) return 1;
  MSG message;
  while (GetMessageW(&message, nullptr, 0, 0) > 0) DispatchMessageW(&message);
  return 0;
}
