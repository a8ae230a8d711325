#include <gtest/gtest.h>

#include "text/bytes.h"

namespace gedan {
namespace {

TEST(Bytes, BuildAndCutWithClampedCounts) {
  EXPECT_EQ(ToBytes("a\xD6"), (Bytes{'a', 0xD6}));
  EXPECT_EQ(ToBytes(""), Bytes{});
  EXPECT_EQ(BytesLength(Bytes{1, 0, 2}), 3);

  const Bytes abc{'a', 'b', 'c'};
  EXPECT_EQ(BytesLeft(abc, 2), (Bytes{'a', 'b'}));
  EXPECT_EQ(BytesLeft(abc, 9), abc);
  EXPECT_EQ(BytesLeft(abc, -1), Bytes{});

  EXPECT_EQ(BlankBytes(3), (Bytes{0, 0, 0}));
  EXPECT_EQ(BlankBytes(-1), Bytes{});

  const unsigned char buffer[] = {7, 0, 9};
  EXPECT_EQ(BytesFromPointer(buffer, 3), (Bytes{7, 0, 9}));
  EXPECT_EQ(BytesFromPointer(buffer, 0), Bytes{});
}

}  // namespace
}  // namespace gedan
