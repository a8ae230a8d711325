#pragma once

// A SongTable held in memory, for the terminal front end and the tests: the same operations and
// numbering as the window's table, without a window.
//
//   MemorySongTable table;
//   int row = table.InsertItem();              // 0
//   table.SetItemText(row, kColumnName, name);
//   table.GetCheckState(5);                    // -1: no such row

#include <array>
#include <vector>

#include "catalogue/song_table.h"

namespace gedan {

class MemorySongTable : public SongTable {
 public:
  void DeleteAllItems() override;
  int InsertItem() override;
  void SetItemText(int row, int column, const Text& text) override;
  Text GetItemText(int row, int column) const override;
  int GetItemCount() const override;
  int GetCheckState(int row) const override;
  void SetCheckState(int row, int state) override;

 private:
  struct Row {
    std::array<Text, kSongColumnCount> cells;
    bool checked = false;
  };
  bool HasCell(int row, int column) const;

  std::vector<Row> rows_;
};

}  // namespace gedan
