// The single-instance lock and the executable's location, as the Windows program uses them.
#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "app/executable_location_win32.h"
#include "app/single_instance_win32.h"

namespace quorvex {
namespace {

TEST(SingleInstanceLock, ASecondHolderInTheSessionIsRefusedUntilTheFirstGoes) {
  auto first = std::make_unique<SingleInstanceLock>();
  ASSERT_TRUE(first->Acquire());
  EXPECT_TRUE(first->Acquire());  // asking again keeps what it holds
  {
    SingleInstanceLock second;
    EXPECT_FALSE(second.Acquire());
  }
  first.reset();
  SingleInstanceLock third;
  EXPECT_TRUE(third.Acquire());
}

TEST(SingleInstanceLock, LivesInTheSessionNamespace) {
  // Global\ would make one user's program block another's on the same machine.
  EXPECT_EQ(std::wstring(kSingleInstanceLockName).rfind(L"Local\\", 0), 0u);
}

TEST(ExecutableLocation, FolderWithoutTrailingBackslashAndNameWithoutExtension) {
  const ExecutableLocation deep = SplitModulePath(u"C:\\Games\\RWR\\Quorvex & Co\\quorvex.exe");
  EXPECT_EQ(deep.folder, u"C:\\Games\\RWR\\Quorvex & Co");
  EXPECT_EQ(deep.name, u"quorvex");
  const ExecutableLocation root = SplitModulePath(u"D:\\quorvex.v2.exe");
  EXPECT_EQ(root.folder, u"D:\\");  // the root keeps its backslash
  EXPECT_EQ(root.name, u"quorvex.v2");
  const ExecutableLocation share = SplitModulePath(u"\\\\server\\share\\qv.exe");
  EXPECT_EQ(share.folder, u"\\\\server\\share");
  EXPECT_EQ(share.name, u"qv");
}

TEST(ExecutableLocation, TheRunningTestIsFound) {
  const ExecutableLocation running = RunningExecutable();
  EXPECT_EQ(running.name, u"quorvex_integration_tests");
  EXPECT_FALSE(running.folder.empty());
  EXPECT_NE(running.folder.back(), u'\\');
}

}  // namespace
}  // namespace quorvex
