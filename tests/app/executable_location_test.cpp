// Splitting the executable's path into the folder and the name the program uses.
#include <gtest/gtest.h>

#include "app/executable_location.h"

namespace quorvex {
namespace {

TEST(ExecutableLocation, FolderWithoutTrailingSeparatorAndNameWithoutExtension) {
  const struct { Text path, folder, name; } cases[] = {
      {u"C:\\Games\\RWR\\Quorvex & Co\\quorvex.exe", u"C:\\Games\\RWR\\Quorvex & Co", u"quorvex"},
      {u"D:\\quorvex.v2.exe", u"D:\\", u"quorvex.v2"},  // a drive's root keeps its backslash
      {u"\\\\server\\share\\qv.exe", u"\\\\server\\share", u"qv"},
      {u"/usr/bin/quorvex-console", u"/usr/bin", u"quorvex-console"},
      {u"/quorvex", u"/", u"quorvex"},  // so is the POSIX root
  };
  for (const auto& c : cases) {
    const ExecutableLocation split = SplitExecutablePath(c.path);
    EXPECT_EQ(split.folder, c.folder) << ToUtf8(c.path);
    EXPECT_EQ(split.name, c.name) << ToUtf8(c.path);
  }
}

}  // namespace
}  // namespace quorvex
