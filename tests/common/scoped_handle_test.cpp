// The handle owner every platform file uses: each handle closed exactly once, "none" never,
// and a handle moved or given up closed by its new owner only.
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

TEST(ScopedHandle, AMoveOrAReleaseHandsTheHandleOnUnclosed) {
  closed.clear();
  {
    ScopedHandle<FakeCloser> first(4), second(5), third(6);
    ScopedHandle<FakeCloser> moved(std::move(first));
    EXPECT_EQ(moved.get(), 4);
    EXPECT_FALSE(first.valid());
    second = std::move(moved);  // the 5 it held closes at once
    EXPECT_EQ(closed, (std::vector<int>{5}));
    EXPECT_EQ(second.get(), 4);
    EXPECT_FALSE(moved.valid());
    ScopedHandle<FakeCloser>& same = second;
    second = std::move(same);  // a move onto itself keeps it
    EXPECT_EQ(second.get(), 4);
    EXPECT_EQ(second.release(), 4);  // the caller's to close now
    EXPECT_FALSE(second.valid());
    EXPECT_EQ(second.release(), -1);
    third = ScopedHandle<FakeCloser>();  // an empty one moved in closes what was held
    EXPECT_EQ(closed, (std::vector<int>{5, 6}));
  }
  EXPECT_EQ(closed, (std::vector<int>{5, 6}));  // nothing left to close: 4 was given up
}

}  // namespace
}  // namespace quorvex
