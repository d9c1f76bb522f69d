// What only POSIX has: a FIFO must not hang a read, a dangling link is something, and a lock
// file may fail to be made. (Both end-to-end tests start a second instance against a lock.)
#include <sys/stat.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "app/single_instance.h"
#include "common/files.h"

namespace quorvex {
namespace {

TEST(FilesPosix, AFifoOrADanglingLinkIsThereButCannotBeReadAndNoLockFileIsNoFreeLock) {
  const auto folder = std::filesystem::temp_directory_path() / ("quorvex-files-" + std::to_string(::getpid()));
  std::filesystem::create_directories(folder / "held.lock");
  ASSERT_EQ(::mkfifo((folder / "fifo").c_str(), 0644), 0);
  std::filesystem::create_symlink(folder / "nowhere", folder / "link");
  for (const char* name : {"fifo", "link"}) {
    const Text path = FromUtf8((folder / name).string());
    EXPECT_FALSE(CountsAsMissing(path)) << name;
    EXPECT_THROW(ReadFileBytes(path, 100), FileError) << name;
  }
  // A folder where the lock file goes, or no folder at all: an error, never "free".
  EXPECT_THROW(MakeSingleInstanceLock(FromUtf8(folder.string()), u"held")->Acquire(), std::runtime_error);
  EXPECT_THROW(MakeSingleInstanceLock(FromUtf8((folder / "none").string()), u"x")->Acquire(), std::runtime_error);
  std::filesystem::remove_all(folder);
}

}  // namespace
}  // namespace quorvex
