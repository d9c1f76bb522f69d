// What is at a path that is no regular file: a FIFO must not hang a read, a dangling link
// is something, not nothing.
#include <sys/stat.h>

#include <gtest/gtest.h>

#include <filesystem>

#include "common/files.h"

namespace quorvex {
namespace {

TEST(FilesPosix, AFifoOrADanglingLinkIsThereButCannotBeRead) {
  const std::filesystem::path folder = std::filesystem::temp_directory_path() / "quorvex-files-posix";
  std::filesystem::remove_all(folder);
  std::filesystem::create_directories(folder);
  ASSERT_EQ(::mkfifo((folder / "fifo").c_str(), 0644), 0);
  std::filesystem::create_symlink(folder / "nowhere", folder / "link");
  for (const char* name : {"fifo", "link"}) {
    const Text path = FromUtf8((folder / name).string());
    EXPECT_FALSE(CountsAsMissing(path)) << name;
    EXPECT_THROW(ReadFileBytes(path, 100), FileError) << name;
  }
  EXPECT_TRUE(CountsAsMissing(FromUtf8((folder / "none").string())));
  std::filesystem::remove_all(folder);
}

}  // namespace
}  // namespace quorvex
