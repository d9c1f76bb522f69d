// File operations on Windows: wide paths, hidden and system files count as missing.
#include <windows.h>

#include <string>

#include "common/files.h"
#include "common/kernel_handle_win32.h"
#include "common/wide_win32.h"

namespace quorvex {

namespace {

[[noreturn]] void Fail(const std::string& what, const Text& path) {
  throw FileError(what + " " + ToUtf8(path) + " (error " + std::to_string(GetLastError()) + ")");
}

struct FindCloser {
  static HANDLE None() { return INVALID_HANDLE_VALUE; }
  static void Close(HANDLE search) { FindClose(search); }
};

}  // namespace

Text JoinPath(const Text& folder, const Text& name) {
  if (folder.empty() || folder.back() == u'\\') return folder + name;
  return folder + u"\\" + name;
}

bool VisibleFileExists(const Text& path) {
  const DWORD attributes = GetFileAttributesW(Wide(path).c_str());
  if (attributes == INVALID_FILE_ATTRIBUTES) return false;
  return (attributes & (FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM)) == 0;
}

bool CountsAsMissing(const Text& path) {
  const DWORD attributes = GetFileAttributesW(Wide(path).c_str());
  if (attributes == INVALID_FILE_ATTRIBUTES) {
    const DWORD error = GetLastError();
    return error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND;
  }
  const bool hidden = (attributes & (FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM)) != 0;
  return hidden && (attributes & FILE_ATTRIBUTE_DIRECTORY) == 0;
}

std::string ReadFileBytes(const Text& path, int64_t maxBytes) {
  const FileHandle file(CreateFileW(Wide(path).c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                                   FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!file.valid()) Fail("cannot open", path);
  std::string bytes;
  char buffer[4096];
  for (;;) {
    DWORD got = 0;
    if (!ReadFile(file.get(), buffer, sizeof buffer, &got, nullptr)) Fail("cannot read", path);
    if (got == 0) break;
    bytes.append(buffer, got);
    if (static_cast<int64_t>(bytes.size()) > maxBytes) throw FileError("file too large: " + ToUtf8(path));
  }
  return bytes;
}

void ReplaceFileBytes(const Text& path, const std::string& bytes) {
  const Text temporary = path + u".new";
  {
    FileHandle file(CreateFileW(Wide(temporary).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file.valid()) Fail("cannot create", temporary);
    DWORD put = 0;
    if (!WriteFile(file.get(), bytes.data(), static_cast<DWORD>(bytes.size()), &put, nullptr) ||
        put != bytes.size() || !FlushFileBuffers(file.get())) {
      file.Reset();  // closed before the half-written file is deleted
      DeleteFileW(Wide(temporary).c_str());
      Fail("cannot write", temporary);
    }
  }
  if (!MoveFileExW(Wide(temporary).c_str(), Wide(path).c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
    DeleteFileW(Wide(temporary).c_str());
    Fail("cannot replace", path);
  }
}

void RemoveFileQuietly(const Text& path) { DeleteFileW(Wide(path).c_str()); }

// FILE_APPEND_DATA alone: every write goes to the end, as O_APPEND does.
void AppendFileBytes(const Text& path, std::string_view bytes) {
  const FileHandle file(CreateFileW(Wide(path).c_str(), FILE_APPEND_DATA, FILE_SHARE_READ, nullptr, OPEN_ALWAYS,
                                    FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!file.valid()) Fail("cannot open", path);
  DWORD put = 0;
  if (!WriteFile(file.get(), bytes.data(), static_cast<DWORD>(bytes.size()), &put, nullptr) || put != bytes.size())
    Fail("cannot write", path);
}

std::optional<char> LastFileByte(const Text& path) {
  const FileHandle file(CreateFileW(Wide(path).c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                    OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
  LARGE_INTEGER size{};
  if (!file.valid() || !GetFileSizeEx(file.get(), &size) || size.QuadPart <= 0) return std::nullopt;
  LARGE_INTEGER last{};
  last.QuadPart = size.QuadPart - 1;
  char byte = 0;
  DWORD got = 0;
  if (!SetFilePointerEx(file.get(), last, nullptr, FILE_BEGIN) || !ReadFile(file.get(), &byte, 1, &got, nullptr) ||
      got != 1)
    return std::nullopt;
  return byte;
}

std::vector<Text> RegularFileNames(const Text& folder) {
  std::vector<Text> names;
  WIN32_FIND_DATAW found{};
  const ScopedHandle<FindCloser> search(FindFirstFileW(Wide(JoinPath(folder, u"*")).c_str(), &found));
  if (!search.valid()) return names;
  do {
    const DWORD notFiles = FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_REPARSE_POINT | FILE_ATTRIBUTE_DEVICE;
    if ((found.dwFileAttributes & notFiles) == 0) names.emplace_back(found.cFileName, found.cFileName + wcslen(found.cFileName));
  } while (FindNextFileW(search.get(), &found));
  return names;
}

}  // namespace quorvex
