// The platform's files, the single-instance lock and the running executable, for real.
#include <gtest/gtest.h>

#include <filesystem>
#include <random>
#include <string>

#include "app/executable_location.h"
#include "app/single_instance.h"
#include "common/files.h"

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

TEST_F(FilesTest, ReplaceWritesExactBytesOrKeepsTheOldFile) {
  const Text path = Path("a.ini");
  ReplaceFileBytes(path, "one\r\n");
  ReplaceFileBytes(path, "two\r\n");
  EXPECT_EQ(ReadFileBytes(path, 100), "two\r\n");
  EXPECT_FALSE(VisibleFileExists(path + u".new"));  // no temporary left
  EXPECT_THROW(ReplaceFileBytes(JoinPath(Path("no-such-folder"), u"x.ini"), "new"), FileError);
  std::filesystem::create_directory(folder_ / "a.ini.new");  // where the new file would go
  EXPECT_THROW(ReplaceFileBytes(path, "three"), FileError);
  EXPECT_EQ(ReadFileBytes(path, 100), "two\r\n");
}

TEST_F(FilesTest, ReadingRefusesWhatIsMissingOrOverTheLimit) {
  ReplaceFileBytes(Path("big"), std::string(101, 'x'));
  EXPECT_THROW(ReadFileBytes(Path("big"), 100), FileError);
  EXPECT_EQ(ReadFileBytes(Path("big"), 101).size(), 101u);
  EXPECT_FALSE(VisibleFileExists(Path("none")));
  EXPECT_THROW(ReadFileBytes(Path("none"), 10), FileError);
  EXPECT_FALSE(VisibleFileExists(JoinPath(Path(""), u"")));  // a folder is no file
  RemoveFileQuietly(Path("none"));                            // no error for a missing file
  RemoveFileQuietly(Path("big"));
  EXPECT_FALSE(VisibleFileExists(Path("big")));
}

TEST(SingleInstanceLock, ASecondHolderIsRefusedUntilTheFirstGoes) {
  const Text folder = FromUtf8(std::filesystem::temp_directory_path().string());
  auto first = MakeSingleInstanceLock(folder, u"quorvex-lock-test");
  ASSERT_TRUE(first->Acquire());
  EXPECT_TRUE(first->Acquire());  // asking again keeps what it holds
  EXPECT_FALSE(MakeSingleInstanceLock(folder, u"quorvex-lock-test")->Acquire());
  first.reset();
  EXPECT_TRUE(MakeSingleInstanceLock(folder, u"quorvex-lock-test")->Acquire());
}

#ifndef _WIN32  // the Windows lock is a mutex, not a file
TEST(SingleInstanceLock, ALockFileThatCannotBeMadeIsAnErrorNotAFreeLock) {
  const std::filesystem::path folder = std::filesystem::temp_directory_path() / "quorvex-lock-folder";
  std::filesystem::create_directories(folder / "quorvex-lock-test.lock");
  EXPECT_THROW(MakeSingleInstanceLock(FromUtf8(folder.string()), u"quorvex-lock-test")->Acquire(), std::runtime_error);
  EXPECT_THROW(MakeSingleInstanceLock(FromUtf8((folder / "none").string()), u"x")->Acquire(), std::runtime_error);
  std::filesystem::remove_all(folder);
}
#endif

TEST(ExecutableLocation, TheRunningTestIsFound) {
  const ExecutableLocation running = RunningExecutable();
  EXPECT_EQ(running.name, u"quorvex_integration_tests");
  ASSERT_FALSE(running.folder.empty());
  EXPECT_NE(running.folder.back(), u'\\');
  EXPECT_NE(running.folder.back(), u'/');
}

}  // namespace
}  // namespace quorvex
