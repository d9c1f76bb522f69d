// What only POSIX has: a FIFO must not hang a read, a dangling link is something, and a lock
// file may fail to be made. (Both end-to-end tests start a second instance against a lock.)
// Whichever way a read, a write or a lock ends, it leaves no descriptor open.
#include <sys/stat.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <utility>

#include "app/single_instance.h"
#include "common/files.h"
#include "support/open_descriptors_posix.h"

namespace quorvex {
namespace {

using testing::OpenDescriptors;

TEST(FilesPosix, AFifoOrADanglingLinkIsThereButCannotBeReadAndNoLockFileIsNoFreeLock) {
  const auto folder = std::filesystem::temp_directory_path() / ("quorvex-files-" + std::to_string(::getpid()));
  std::filesystem::create_directories(folder / "held.lock");
  const auto openBefore = OpenDescriptors();
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
  EXPECT_EQ(OpenDescriptors(), openBefore);
  std::filesystem::remove_all(folder);
}

TEST(FilesPosix, EveryWayAReadAWriteOrALockEndsClosesWhatItOpened) {
  const auto folder = std::filesystem::temp_directory_path() / ("quorvex-closed-" + std::to_string(::getpid()));
  std::filesystem::create_directories(folder / "folder" / "in it");
  std::filesystem::create_directories(folder / "made.new");
  // The file written first goes where these lead: /dev/full refuses the bytes, /dev/null
  // takes them but cannot be flushed. Only the links are removed.
  std::filesystem::create_symlink("/dev/full", folder / "full.new");
  std::filesystem::create_symlink("/dev/null", folder / "null.new");
  const auto at = [&](const char* name) { return FromUtf8((folder / name).string()); };
  const auto openBefore = OpenDescriptors();
  ReplaceFileBytes(at("file"), std::string(200, 'x'));
  EXPECT_EQ(ReadFileBytes(at("file"), 200).size(), 200u);
  EXPECT_THROW(ReadFileBytes(at("file"), 199), FileError);  // too large
  const std::pair<const char*, std::string> failedWrites[] = {
      {"made", "cannot create"}, {"full", "cannot write"}, {"null", "cannot flush"}, {"folder", "cannot replace"}};
  for (const auto& [name, error] : failedWrites) {
    try {
      ReplaceFileBytes(at(name), "x");
      ADD_FAILURE() << name << " was written";
    } catch (const FileError& failed) {
      EXPECT_EQ(std::string(failed.what()).rfind(error, 0), 0u) << failed.what();
    }
  }
  EXPECT_FALSE(std::filesystem::exists(folder / "full.new") || std::filesystem::exists(folder / "null.new") ||
               std::filesystem::exists(folder / "folder.new"));
  {
    const auto held = MakeSingleInstanceLock(FromUtf8(folder.string()), u"lock");
    ASSERT_TRUE(held->Acquire());
    EXPECT_FALSE(MakeSingleInstanceLock(FromUtf8(folder.string()), u"lock")->Acquire());  // held: refused
    EXPECT_EQ(OpenDescriptors(), openBefore + 1);  // the held lock alone
  }
  EXPECT_EQ(OpenDescriptors(), openBefore);
  std::filesystem::remove_all(folder);
}

}  // namespace
}  // namespace quorvex
