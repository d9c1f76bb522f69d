// The history's folder on Windows: wide paths, names handed on as UTF-8.
#include <windows.h>

#include <string>

#include "common/scoped_handle.h"
#include "common/wide_win32.h"
#include "history/history_folder.h"

namespace quorvex {

namespace {

struct FileCloser {
  static HANDLE None() { return INVALID_HANDLE_VALUE; }
  static void Close(HANDLE file) { CloseHandle(file); }
};
using FileHandle = ScopedHandle<FileCloser>;

struct FindCloser {
  static HANDLE None() { return INVALID_HANDLE_VALUE; }
  static void Close(HANDLE search) { FindClose(search); }
};

class Win32HistoryFolder : public HistoryFolder {
 public:
  explicit Win32HistoryFolder(const Text& path) : path_(path) {}

  std::vector<std::string> FileNames() override {
    std::vector<std::string> names;
    WIN32_FIND_DATAW found{};
    const ScopedHandle<FindCloser> search(FindFirstFileW(Wide(JoinPath(path_, u"*")).c_str(), &found));
    if (!search.valid()) return names;
    do {
      const DWORD notFiles = FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_REPARSE_POINT | FILE_ATTRIBUTE_DEVICE;
      if ((found.dwFileAttributes & notFiles) == 0) {
        const std::wstring name = found.cFileName;
        names.push_back(ToUtf8(Text(name.begin(), name.end())));
      }
    } while (FindNextFileW(search.get(), &found));
    return names;
  }

  std::optional<std::string> Read(const std::string& name, int64_t maxBytes) override {
    const Text path = Path(name);
    if (CountsAsMissing(path)) return std::nullopt;
    return ReadFileBytes(path, maxBytes);
  }

  std::optional<char> LastByte(const std::string& name) override {
    const FileHandle file(CreateFileW(Wide(Path(name)).c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE,
                                      nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
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

  // FILE_APPEND_DATA alone: every write goes to the end, as O_APPEND does.
  void Append(const std::string& name, std::string_view bytes) override {
    const Text path = Path(name);
    const FileHandle file(CreateFileW(Wide(path).c_str(), FILE_APPEND_DATA, FILE_SHARE_READ, nullptr, OPEN_ALWAYS,
                                      FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file.valid()) Fail("cannot open", path);
    DWORD put = 0;
    if (!WriteFile(file.get(), bytes.data(), static_cast<DWORD>(bytes.size()), &put, nullptr) || put != bytes.size())
      Fail("cannot write", path);
  }

  void Remove(const std::string& name) override { DeleteFileW(Wide(Path(name)).c_str()); }

 private:
  Text Path(const std::string& name) const { return JoinPath(path_, FromUtf8(name)); }

  [[noreturn]] static void Fail(const std::string& what, const Text& path) {
    throw FileError(what + " " + ToUtf8(path) + " (error " + std::to_string(GetLastError()) + ")");
  }

  Text path_;
};

}  // namespace

std::unique_ptr<HistoryFolder> MakeHistoryFolder(const Text& path) { return std::make_unique<Win32HistoryFolder>(path); }

}  // namespace quorvex
