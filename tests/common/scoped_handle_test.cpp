// The handle owner every platform file uses: each handle closed exactly once, "none" never.
#include "common/scoped_handle.h"

#include <gtest/gtest.h>

#include <vector>

namespace quorvex {
namespace {

std::vector<int> closed;

struct FakeCloser {
  static int None() { return -1; }
  static void Close(int handle) { closed.push_back(handle); }
};
using FakeHandle = ScopedHandle<FakeCloser>;

TEST(ScopedHandle, ClosesWhatItHoldsOnceAndNeverTheNoneValue) {
  closed.clear();
  {
    const FakeHandle none;
    const FakeHandle failed(-1);
    EXPECT_FALSE(none.valid());
    EXPECT_FALSE(failed.valid());
  }
  EXPECT_TRUE(closed.empty());
  {
    FakeHandle handle(0);  // 0 is a handle like any other here: only None() holds nothing
    EXPECT_TRUE(handle.valid());
    handle.Reset(7);  // the old one closes at once, the new one when the scope ends
    EXPECT_EQ(closed, std::vector<int>{0});
    EXPECT_EQ(handle.get(), 7);
  }
  EXPECT_EQ(closed, (std::vector<int>{0, 7}));
  {
    FakeHandle handle(3);
    handle.Reset();  // closed early, so not again at the end
    EXPECT_FALSE(handle.valid());
  }
  EXPECT_EQ(closed, (std::vector<int>{0, 7, 3}));
}

}  // namespace
}  // namespace quorvex
