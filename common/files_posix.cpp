// File operations on POSIX: UTF-8 paths, hidden means a leading dot is not special here.
#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

#include "common/descriptor_posix.h"
#include "common/files.h"

namespace quorvex {

namespace {

[[noreturn]] void Fail(const std::string& what, const std::string& path) {
  throw FileError(what + " " + path + ": " + std::strerror(errno));
}

// Fail for the file being written: it is closed and removed first, the error that came
// before both told.
[[noreturn]] void FailRemoving(Descriptor& file, const std::string& temporary, const std::string& what,
                               const std::string& path) {
  const int error = errno;
  file.Reset();
  ::unlink(temporary.c_str());
  errno = error;
  Fail(what, path);
}

// Writes all of `bytes`, again after an interrupted or partial write; false with errno set
// when a write fails.
bool WriteAll(int fd, std::string_view bytes) {
  size_t written = 0;
  while (written < bytes.size()) {
    const ssize_t put = ::write(fd, bytes.data() + written, bytes.size() - written);
    if (put < 0 && errno == EINTR) continue;
    if (put <= 0) return false;
    written += static_cast<size_t>(put);
  }
  return true;
}

struct DirectoryCloser {
  static DIR* None() { return nullptr; }
  static void Close(DIR* listing) { ::closedir(listing); }
};

}  // namespace

Text JoinPath(const Text& folder, const Text& name) {
  if (folder.empty() || folder.back() == u'/') return folder + name;
  return folder + u"/" + name;
}

bool VisibleFileExists(const Text& path) {
  struct stat info {};
  return ::stat(ToUtf8(path).c_str(), &info) == 0 && S_ISREG(info.st_mode);
}

bool CountsAsMissing(const Text& path) {
  struct stat info {};
  return ::lstat(ToUtf8(path).c_str(), &info) != 0 && (errno == ENOENT || errno == ENOTDIR);
}

std::string ReadFileBytes(const Text& path, int64_t maxBytes) {
  const std::string name = ToUtf8(path);
  // Without O_NONBLOCK opening a FIFO would wait for a writer that never comes.
  const Descriptor file(::open(name.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK));
  if (!file.valid()) Fail("cannot open", name);
  struct stat info {};
  if (::fstat(file.get(), &info) != 0 || !S_ISREG(info.st_mode)) throw FileError("not a regular file: " + name);
  std::string bytes;
  char buffer[4096];
  for (;;) {
    const ssize_t got = ::read(file.get(), buffer, sizeof buffer);
    if (got < 0 && errno == EINTR) continue;
    if (got < 0) Fail("cannot read", name);
    if (got == 0) break;
    bytes.append(buffer, static_cast<size_t>(got));
    if (static_cast<int64_t>(bytes.size()) > maxBytes) throw FileError("file too large: " + name);
  }
  return bytes;
}

void ReplaceFileBytes(const Text& path, const std::string& bytes) {
  const std::string name = ToUtf8(path);
  const std::string temporary = name + ".new";
  Descriptor file(::open(temporary.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644));
  if (!file.valid()) Fail("cannot create", temporary);
  if (!WriteAll(file.get(), bytes)) FailRemoving(file, temporary, "cannot write", temporary);
  // A write may only fail when the file is closed (a full disk over NFS): that close is checked.
  if (::fsync(file.get()) != 0 || ::close(file.release()) != 0) {
    FailRemoving(file, temporary, "cannot flush", temporary);
  }
  if (::rename(temporary.c_str(), name.c_str()) != 0) FailRemoving(file, temporary, "cannot replace", name);
}

void RemoveFileQuietly(const Text& path) { ::unlink(ToUtf8(path).c_str()); }

void AppendFileBytes(const Text& path, std::string_view bytes) {
  const std::string name = ToUtf8(path);
  // O_NONBLOCK: a FIFO of that name fails at once instead of waiting for a reader.
  Descriptor file(::open(name.c_str(), O_WRONLY | O_APPEND | O_CREAT | O_CLOEXEC | O_NONBLOCK, 0644));
  if (!file.valid()) Fail("cannot open", name);
  if (!WriteAll(file.get(), bytes)) Fail("cannot write", name);
  // A write may only fail when the file is closed: that close is checked.
  if (::close(file.release()) != 0) Fail("cannot write", name);
}

std::optional<char> LastFileByte(const Text& path) {
  const Descriptor file(::open(ToUtf8(path).c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK));
  if (!file.valid()) return std::nullopt;
  struct stat info {};
  char last = 0;
  const bool found = ::fstat(file.get(), &info) == 0 && S_ISREG(info.st_mode) && info.st_size > 0 &&
                     ::pread(file.get(), &last, 1, info.st_size - 1) == 1;
  return found ? std::optional<char>(last) : std::nullopt;
}

std::vector<Text> RegularFileNames(const Text& folder) {
  std::vector<Text> names;
  const ScopedHandle<DirectoryCloser> listing(::opendir(ToUtf8(folder).c_str()));
  if (!listing.valid()) return names;
  while (const dirent* entry = ::readdir(listing.get())) {
    const Text name = FromUtf8(entry->d_name);
    struct stat info {};
    if (::lstat(ToUtf8(JoinPath(folder, name)).c_str(), &info) == 0 && S_ISREG(info.st_mode)) names.push_back(name);
  }
  return names;
}

}  // namespace quorvex
