#pragma once

// The rows of the song table as a Qt model: seven text columns, a check box on column 0 of every
// row, the column titles. GUI thread only; other threads go through QtSongTable.
//
// Texts are kept as the core's internal text (returned unchanged by GetText()) and, converted once
// when written, as the QString the view paints, so painting converts nothing.
//
// Appended rows count at once for the table operations (Count(), GetText(), ...), but reach the
// view in batches, at most every kPublishIntervalMs: a fill that lets events through after each
// row then repaints the view a few dozen times a second instead of once per row.

#include <QAbstractTableModel>
#include <QString>
#include <QTimer>
#include <array>
#include <vector>

#include "catalogue/song_table.h"
#include "text/value.h"

namespace gedan {

class SongTableModel : public QAbstractTableModel {
  Q_OBJECT

 public:
  static constexpr int kPublishIntervalMs = 40;

  explicit SongTableModel(QObject* parent = nullptr);

  static QString ColumnTitle(int column);
  static int ColumnWidth(int column);

  void Clear();
  // Appends an unchecked row of empty cells; returns its index.
  int AppendRow();
  // Missing rows and columns are ignored (Set) or read as empty / -1 (Get).
  void SetText(int row, int column, const Text& text);
  Text GetText(int row, int column) const;
  int Count() const { return static_cast<int>(rows_.size()); }
  int CheckState(int row) const;
  void SetCheckState(int row, int state);
  // Shows the view every row appended so far now rather than at the next batch.
  void PublishRows();

  int rowCount(const QModelIndex& parent = QModelIndex()) const override;
  int columnCount(const QModelIndex& parent = QModelIndex()) const override;
  QVariant data(const QModelIndex& index, int role) const override;
  bool setData(const QModelIndex& index, const QVariant& value, int role) override;
  Qt::ItemFlags flags(const QModelIndex& index) const override;
  QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

 signals:
  // The user toggled a row's box (not raised for SetCheckState). Nothing handles it yet.
  void CheckToggled(int row, int state);

 private:
  struct Row {
    std::array<Text, kSongColumnCount> texts;
    std::array<QString, kSongColumnCount> shown;
    bool checked = false;
  };
  bool HasCell(int row, int column) const;
  bool IsPublished(int row) const { return row < published_; }

  std::vector<Row> rows_;
  int published_ = 0;  // rows the view knows of: the first published_ of rows_
  QTimer publishTimer_;
};

}  // namespace gedan
