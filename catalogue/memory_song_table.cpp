#include "catalogue/memory_song_table.h"

namespace gedan {

bool MemorySongTable::HasCell(int row, int column) const {
  return row >= 0 && row < GetItemCount() && column >= 0 && column < kSongColumnCount;
}

void MemorySongTable::DeleteAllItems() {
  rows_.clear();
}

int MemorySongTable::InsertItem() {
  rows_.emplace_back();
  return GetItemCount() - 1;
}

void MemorySongTable::SetItemText(int row, int column, const Text& text) {
  if (HasCell(row, column)) rows_[row].cells[column] = text;
}

Text MemorySongTable::GetItemText(int row, int column) const {
  return HasCell(row, column) ? rows_[row].cells[column] : Text();
}

int MemorySongTable::GetItemCount() const {
  return static_cast<int>(rows_.size());
}

int MemorySongTable::GetCheckState(int row) const {
  if (!HasCell(row, 0)) return -1;
  return rows_[row].checked ? 1 : 0;
}

void MemorySongTable::SetCheckState(int row, int state) {
  if (HasCell(row, 0)) rows_[row].checked = state != 0;
}

}  // namespace gedan
