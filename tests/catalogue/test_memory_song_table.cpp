#include <gtest/gtest.h>

#include "catalogue/memory_song_table.h"

namespace gedan {
namespace {

TEST(MemorySongTable, RowsAreAppendedUncheckedAndEmpty) {
  MemorySongTable table;
  EXPECT_EQ(table.InsertItem(), 0);
  EXPECT_EQ(table.InsertItem(), 1);
  EXPECT_EQ(table.GetItemCount(), 2);
  EXPECT_EQ(table.GetCheckState(1), 0);
  for (int column = 0; column < kSongColumnCount; ++column) {
    EXPECT_EQ(table.GetItemText(1, column), "");
  }
  table.SetItemText(1, kColumnStatus, "\xCF\xC2\xD4\xD8");
  table.SetCheckState(1, 1);
  EXPECT_EQ(table.GetItemText(1, kColumnStatus), "\xCF\xC2\xD4\xD8");
  EXPECT_EQ(table.GetCheckState(1), 1);
  EXPECT_EQ(table.GetCheckState(0), 0);
  table.SetCheckState(1, 0);
  EXPECT_EQ(table.GetCheckState(1), 0);

  table.DeleteAllItems();
  EXPECT_EQ(table.GetItemCount(), 0);
  EXPECT_EQ(table.InsertItem(), 0);
}

TEST(MemorySongTable, MissingCellsReadEmptyAndIgnoreWrites) {
  MemorySongTable table;
  table.InsertItem();
  for (auto [row, column] : {std::pair{-1, 0}, {1, 0}, {0, -1}, {0, kSongColumnCount}}) {
    table.SetItemText(row, column, "x");
    EXPECT_EQ(table.GetItemText(row, column), "") << row << "," << column;
  }
  EXPECT_EQ(table.GetCheckState(-1), -1);
  EXPECT_EQ(table.GetCheckState(1), -1);
  table.SetCheckState(1, 1);
  EXPECT_EQ(table.GetItemCount(), 1);
}

}  // namespace
}  // namespace gedan
