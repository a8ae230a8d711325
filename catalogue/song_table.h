#pragma once

// The seven-column song table the catalogue fills and the download reads and reports into. Rows
// and columns are numbered from 0; a check state is 1 (checked) or 0 (unchecked).
//
// The desktop program implements it over its Qt model (calls from other threads are carried out on
// the GUI thread while the caller waits); the terminal front end and the tests use MemorySongTable.

#include "text/value.h"

namespace gedan {

enum SongColumn : int {
  kColumnIndex = 0,
  kColumnName = 1,
  kColumnHash = 2,
  kColumnAlbumId = 3,
  kColumnUrl = 4,
  kColumnProgress = 5,
  kColumnStatus = 6,
  kSongColumnCount = 7,
};

class SongTable {
 public:
  virtual ~SongTable() = default;
  virtual void DeleteAllItems() = 0;
  // Appends an unchecked row of empty cells and returns its index; -1 when the table takes no more
  // rows because the window showing it is gone, which ends a fill.
  virtual int InsertItem() = 0;
  virtual void SetItemText(int row, int column, const Text& text) = 0;
  // Empty for an empty cell or a missing row or column.
  virtual Text GetItemText(int row, int column) const = 0;
  virtual int GetItemCount() const = 0;
  // 1 checked, 0 unchecked, -1 for a missing row.
  virtual int GetCheckState(int row) const = 0;
  virtual void SetCheckState(int row, int state) = 0;
};

}  // namespace gedan
