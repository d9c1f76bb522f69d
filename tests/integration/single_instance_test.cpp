// The single-instance lock and the running executable, on the platform the test runs on.
#include <gtest/gtest.h>

#include <filesystem>
#include <memory>

#include "app/executable_location.h"
#include "app/single_instance.h"

namespace quorvex {
namespace {

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
