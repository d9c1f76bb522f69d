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

TEST(ScopedHandle, ClosesWhatItHoldsOnceAndNeverTheNoneValue) {
  closed.clear();
  {
    const ScopedHandle<FakeCloser> none, failed(-1);
    ScopedHandle<FakeCloser> handle(0), early(3);  // 0 is a handle like any other: only None() holds nothing
    EXPECT_FALSE(none.valid() || failed.valid());
    handle.Reset(7);  // the old one closes at once, the new one when the scope ends
    early.Reset();    // closed early, so not again at the end
    EXPECT_EQ(closed, (std::vector<int>{0, 3}));
    EXPECT_EQ(handle.get(), 7);
  }
  EXPECT_EQ(closed, (std::vector<int>{0, 3, 7}));
}

}  // namespace
}  // namespace quorvex
