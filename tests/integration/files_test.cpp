// The platform's file operations on a real folder.
#include "common/files.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <random>
#include <string>

namespace quorvex {
namespace {

class FilesTest : public ::testing::Test {
 protected:
  void SetUp() override {
    folder_ = std::filesystem::temp_directory_path() / ("quorvex-files-" + std::to_string(std::random_device{}()));
    std::filesystem::create_directories(folder_);
  }
  void TearDown() override { std::filesystem::remove_all(folder_); }
  Text Path(const char* name) const { return JoinPath(FromUtf8(folder_.string()), FromUtf8(name)); }
  std::filesystem::path folder_;
};

TEST_F(FilesTest, ReplaceWritesExactBytesAndLeavesNoTemporary) {
  const Text path = Path("a.ini");
  ReplaceFileBytes(path, "one\r\n");
  ReplaceFileBytes(path, "two\r\n");
  EXPECT_TRUE(VisibleFileExists(path));
  EXPECT_EQ(ReadFileBytes(path, 100), "two\r\n");
  EXPECT_FALSE(VisibleFileExists(path + u".new"));
}

TEST_F(FilesTest, ReadingRefusesAFileOverTheLimit) {
  const Text path = Path("big");
  ReplaceFileBytes(path, std::string(101, 'x'));
  EXPECT_THROW(ReadFileBytes(path, 100), FileError);
  EXPECT_EQ(ReadFileBytes(path, 101).size(), 101u);
}

TEST_F(FilesTest, MissingFilesAndFoldersAreNotFiles) {
  EXPECT_FALSE(VisibleFileExists(Path("none")));
  EXPECT_THROW(ReadFileBytes(Path("none"), 10), FileError);
  EXPECT_FALSE(VisibleFileExists(JoinPath(Path(""), u"")));
  RemoveFileQuietly(Path("none"));  // no error for a missing file
}

TEST_F(FilesTest, AFailedReplaceKeepsTheOldFile) {
  const Text path = Path("keep.ini");
  ReplaceFileBytes(path, "old");
  const Text inMissingFolder = JoinPath(Path("no-such-folder"), u"x.ini");
  EXPECT_THROW(ReplaceFileBytes(inMissingFolder, "new"), FileError);
  EXPECT_EQ(ReadFileBytes(path, 10), "old");
}

}  // namespace
}  // namespace quorvex
