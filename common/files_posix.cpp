// File operations on POSIX: UTF-8 paths, hidden means a leading dot is not special here.
#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

#include "common/files.h"

namespace quorvex {

namespace {

[[noreturn]] void Fail(const std::string& what, const std::string& path) {
  throw FileError(what + " " + path + ": " + std::strerror(errno));
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
  const int fd = ::open(name.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
  if (fd < 0) Fail("cannot open", name);
  struct stat info {};
  if (::fstat(fd, &info) != 0 || !S_ISREG(info.st_mode)) {
    ::close(fd);
    throw FileError("not a regular file: " + name);
  }
  std::string bytes;
  char buffer[4096];
  for (;;) {
    const ssize_t got = ::read(fd, buffer, sizeof buffer);
    if (got < 0 && errno == EINTR) continue;
    if (got < 0) {
      const int saved = errno;
      ::close(fd);
      errno = saved;
      Fail("cannot read", name);
    }
    if (got == 0) break;
    bytes.append(buffer, static_cast<size_t>(got));
    if (static_cast<int64_t>(bytes.size()) > maxBytes) {
      ::close(fd);
      throw FileError("file too large: " + name);
    }
  }
  ::close(fd);
  return bytes;
}

void ReplaceFileBytes(const Text& path, const std::string& bytes) {
  const std::string name = ToUtf8(path);
  const std::string temporary = name + ".new";
  const int fd = ::open(temporary.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
  if (fd < 0) Fail("cannot create", temporary);
  if (!WriteAll(fd, bytes)) {
    const int saved = errno;
    ::close(fd);
    ::unlink(temporary.c_str());
    errno = saved;
    Fail("cannot write", temporary);
  }
  if (::fsync(fd) != 0 || ::close(fd) != 0) {
    const int saved = errno;
    ::unlink(temporary.c_str());
    errno = saved;
    Fail("cannot flush", temporary);
  }
  if (::rename(temporary.c_str(), name.c_str()) != 0) {
    const int saved = errno;
    ::unlink(temporary.c_str());
    errno = saved;
    Fail("cannot replace", name);
  }
}

void RemoveFileQuietly(const Text& path) { ::unlink(ToUtf8(path).c_str()); }

void AppendFileBytes(const Text& path, std::string_view bytes) {
  const std::string name = ToUtf8(path);
  // O_NONBLOCK: a FIFO of that name fails at once instead of waiting for a reader.
  const int fd = ::open(name.c_str(), O_WRONLY | O_APPEND | O_CREAT | O_CLOEXEC | O_NONBLOCK, 0644);
  if (fd < 0) Fail("cannot open", name);
  if (!WriteAll(fd, bytes)) {
    const int saved = errno;
    ::close(fd);
    errno = saved;
    Fail("cannot write", name);
  }
  if (::close(fd) != 0) Fail("cannot write", name);
}

std::optional<char> LastFileByte(const Text& path) {
  const int fd = ::open(ToUtf8(path).c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
  if (fd < 0) return std::nullopt;
  struct stat info {};
  char last = 0;
  const bool found = ::fstat(fd, &info) == 0 && S_ISREG(info.st_mode) && info.st_size > 0 &&
                     ::pread(fd, &last, 1, info.st_size - 1) == 1;
  ::close(fd);
  return found ? std::optional<char>(last) : std::nullopt;
}

std::vector<Text> RegularFileNames(const Text& folder) {
  std::vector<Text> names;
  DIR* listing = ::opendir(ToUtf8(folder).c_str());
  if (listing == nullptr) return names;
  while (const dirent* entry = ::readdir(listing)) {
    const Text name = FromUtf8(entry->d_name);
    struct stat info {};
    if (::lstat(ToUtf8(JoinPath(folder, name)).c_str(), &info) == 0 && S_ISREG(info.st_mode)) names.push_back(name);
  }
  ::closedir(listing);
  return names;
}

}  // namespace quorvex
