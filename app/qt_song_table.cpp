#include "app/qt_song_table.h"

namespace gedan {

QtSongTable::QtSongTable(SongTableModel* model) : model_(model) {}

void QtSongTable::Detach() {
  calls_.Close();
  model_ = nullptr;
}

template <typename Work>
void QtSongTable::WithModel(Work work) const {
  calls_.Run([&] {
    if (model_ != nullptr) work(*model_);
  });
}

void QtSongTable::DeleteAllItems() {
  WithModel([](SongTableModel& model) { model.Clear(); });
}

int QtSongTable::InsertItem() {
  int row = -1;
  WithModel([&](SongTableModel& model) { row = model.AppendRow(); });
  return row;
}

void QtSongTable::SetItemText(int row, int column, const Text& text) {
  WithModel([&](SongTableModel& model) { model.SetText(row, column, text); });
}

Text QtSongTable::GetItemText(int row, int column) const {
  Text text;
  WithModel([&](SongTableModel& model) { text = model.GetText(row, column); });
  return text;
}

int QtSongTable::GetItemCount() const {
  int count = 0;
  WithModel([&](SongTableModel& model) { count = model.Count(); });
  return count;
}

int QtSongTable::GetCheckState(int row) const {
  int state = -1;
  WithModel([&](SongTableModel& model) { state = model.CheckState(row); });
  return state;
}

void QtSongTable::SetCheckState(int row, int state) {
  WithModel([&](SongTableModel& model) { model.SetCheckState(row, state); });
}

}  // namespace gedan
