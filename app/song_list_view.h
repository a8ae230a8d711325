#pragma once

// The song table's view: a report-style list (full-row single selection kept visible without
// focus, no grid, no sorting, no editing) with the seven columns at their widths and headers that
// report clicks.

#include <QTableView>

#include "app/song_table_model.h"

namespace gedan {

class SongListView : public QTableView {
  Q_OBJECT

 public:
  explicit SongListView(SongTableModel* model, QWidget* parent = nullptr);

 signals:
  // Once per click on a column header, with the 0-based column index.
  void HeaderClicked(int column);
};

}  // namespace gedan
