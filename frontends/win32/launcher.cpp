#include "frontends/win32/launcher.h"

#include <windows.h>

#include "common/files.h"
#include "common/kernel_handle_win32.h"
#include "common/wide_win32.h"

namespace quorvex {

namespace {

[[noreturn]] void Fail(const std::string& what) {
  throw LaunchError(what + " (error " + std::to_string(GetLastError()) + ")");
}

// The first token of a command line: the quoted text, or the text up to the first blank.
Text ProgramOf(const Text& commandLine) {
  if (!commandLine.empty() && commandLine.front() == u'"') {
    const size_t close = commandLine.find(u'"', 1);
    return commandLine.substr(1, close == Text::npos ? Text::npos : close - 1);
  }
  return commandLine.substr(0, commandLine.find(u' '));
}

std::wstring CommandInterpreterPath() {
  wchar_t folder[MAX_PATH];
  const UINT length = GetSystemDirectoryW(folder, MAX_PATH);
  if (length == 0 || length >= MAX_PATH) Fail("cannot find the system folder");
  return std::wstring(folder, length) + L"\\cmd.exe";
}

}  // namespace

std::string ToConsoleCodePage(const Text& text) {
  if (text.empty()) return {};
  const std::wstring wide = Wide(text);
  const UINT codePage = GetOEMCP();
  // UTF-8 holds every character but takes neither the best-fit flag nor the
  // default-character test; invalid UTF-16 is what it can refuse there.
  const bool utf8 = codePage == CP_UTF8;
  const DWORD flags = utf8 ? WC_ERR_INVALID_CHARS : WC_NO_BEST_FIT_CHARS;
  BOOL usedDefault = FALSE;
  BOOL* usedDefaultOut = utf8 ? nullptr : &usedDefault;
  const int length = static_cast<int>(wide.size());
  const int size = WideCharToMultiByte(codePage, flags, wide.data(), length, nullptr, 0, nullptr, usedDefaultOut);
  if (size <= 0 || usedDefault) {
    throw LaunchError("the text cannot be written in the console code page " + std::to_string(codePage));
  }
  std::string bytes(static_cast<size_t>(size), '\0');
  WideCharToMultiByte(codePage, flags, wide.data(), length, bytes.data(), size, nullptr, nullptr);
  return bytes;
}

bool StartsBatchFile(const Text& commandLine) {
  Text program = ProgramOf(commandLine);
  // Windows drops trailing blanks from a file name, and the batch command has one.
  while (!program.empty() && program.back() == u' ') program.pop_back();
  const Text folded = FoldAsciiCase(program);
  return folded.ends_with(u".bat") || folded.ends_with(u".cmd");
}

bool LauncherWin32::FindWindowByTitle(const Text& title) {
  return FindWindowW(nullptr, Wide(title).c_str()) != nullptr;
}

void LauncherWin32::WriteBatchFile(const Text& path, const Text& text) {
  const std::string bytes = ToConsoleCodePage(text);  // refused before anything is written
  try {
    ReplaceFileBytes(path, bytes);
  } catch (const FileError& error) {
    throw LaunchError(error.what());
  }
}

void LauncherWin32::StartHidden(const Text& commandLine) {
  std::wstring application;  // empty: the program is the command line's first token
  std::wstring line = Wide(commandLine);
  if (StartsBatchFile(commandLine)) {
    // cmd.exe drops the outer pair of quotes after /c and runs the rest, quotes intact.
    application = CommandInterpreterPath();
    line = L"cmd.exe /c \"" + line + L"\"";
  }
  STARTUPINFOW startup{};
  startup.cb = sizeof startup;
  startup.dwFlags = STARTF_USESHOWWINDOW;
  startup.wShowWindow = SW_HIDE;
  PROCESS_INFORMATION process{};
  if (!CreateProcessW(application.empty() ? nullptr : application.c_str(), line.data(), nullptr, nullptr, FALSE, 0,
                      nullptr, nullptr, &startup, &process)) {
    Fail("cannot start " + ToUtf8(commandLine));
  }
  // Started, not waited for: the game runs on its own.
  const KernelHandle thread(process.hThread), started(process.hProcess);
}

}  // namespace quorvex
